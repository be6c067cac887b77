// The dominance search tree answers exactly as comparing every pair would,
// in both directions, on sets shaped to stress its boxes.

#include "support/TestSupport.h"

#include "engine/DominanceIndex.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <random>
#include <vector>

namespace zelvar {
namespace {

bool dominates(const DataSet &data, int j, int d)
{
    for (int i = 1; i <= data.NumInputs; ++i)
        if (!(data.InputData(i, j) <= data.InputData(i, d)))
            return false;
    for (int r = 1; r <= data.NumOutputs; ++r)
        if (!(data.OutputData(r, j) >= data.OutputData(r, d)))
            return false;
    return true;
}

// What the tree over `members` must answer for every DMU of the data set.
void expectPairwiseAnswers(const DataSet &data, const std::vector<std::int32_t> &members)
{
    const DominanceIndex index(data, members);
    DominanceIndex::Scratch scratch;
    std::vector<std::int32_t> found;
    for (int d = 1; d <= data.NumDMU; ++d) {
        std::vector<std::int32_t> above;
        std::vector<std::int32_t> below;
        for (std::int32_t j : members) {
            if (j == d)
                continue;
            if (dominates(data, j, d))
                above.push_back(j);
            if (dominates(data, d, j))
                below.push_back(j);
        }
        std::sort(above.begin(), above.end());
        std::sort(below.begin(), below.end());
        index.dominating(d, found, scratch);
        EXPECT_EQ(found, above) << "DMUs dominating " << d;
        index.dominatedBy(d, found, scratch);
        EXPECT_EQ(found, below) << "DMUs dominated by " << d;
    }
}

std::vector<std::int32_t> everyDmu(int n)
{
    std::vector<std::int32_t> all;
    for (int d = 1; d <= n; ++d)
        all.push_back(d);
    return all;
}

TEST(FdhDominanceIndex, manyIdenticalDmusDominateEachOtherButNotThemselves)
{
    // More identical points than a leaf holds: the tree cannot split them.
    std::vector<test::Unit> units(150, test::Unit{{2, 3}, {4}});
    units.push_back({{1, 3}, {4}}); // DMU 151 dominates all the others
    units.push_back({{2, 3}, {3}}); // DMU 152 is dominated by all the others
    const DataSet data = test::makeData(units);
    expectPairwiseAnswers(data, everyDmu(152));

    const DominanceIndex index(data, everyDmu(152));
    DominanceIndex::Scratch scratch;
    std::vector<std::int32_t> found;
    index.dominating(7, found, scratch);
    EXPECT_EQ(found.size(), 150u); // 149 twins and DMU 151
    index.dominatedBy(152, found, scratch);
    EXPECT_TRUE(found.empty());
}

TEST(FdhDominanceIndex, aTreeOverPartOfTheDmusAnswersForDmusOutsideIt)
{
    std::mt19937 random(5);
    std::uniform_int_distribution<int> level(0, 3);
    std::vector<test::Unit> units;
    for (int d = 0; d < 500; ++d)
        units.push_back({{double(level(random)), double(level(random)), double(level(random))},
                         {double(level(random)), double(level(random))}});
    const DataSet data = test::makeData(units);
    std::vector<std::int32_t> odd;
    for (int d = 1; d <= 500; d += 2)
        odd.push_back(d);
    expectPairwiseAnswers(data, odd);
    expectPairwiseAnswers(data, everyDmu(500));
}

TEST(FdhDominanceIndex, spreadsOfVeryDifferentSizeAndInfiniteValues)
{
    // One input in millions, one in thousandths, outputs with infinities:
    // the splits must still separate the points.
    std::mt19937 random(9);
    std::lognormal_distribution<double> size(0.0, 1.0);
    std::bernoulli_distribution rare(0.03);
    const double inf = std::numeric_limits<double>::infinity();
    std::vector<test::Unit> units;
    for (int d = 0; d < 400; ++d)
        units.push_back({{1e6 * size(random), 1e-3 * size(random)},
                         {rare(random) ? inf : size(random), rare(random) ? -inf : size(random)}});
    expectPairwiseAnswers(test::makeData(units), everyDmu(400));
}

TEST(FdhDominanceIndex, anEmptyTreeFindsNothing)
{
    const DataSet data = test::makeData({{{1}, {1}}, {{2}, {2}}});
    const DominanceIndex index(data, {});
    DominanceIndex::Scratch scratch;
    std::vector<std::int32_t> found{99};
    index.dominating(1, found, scratch);
    EXPECT_TRUE(found.empty());
    index.dominatedBy(2, found, scratch);
    EXPECT_TRUE(found.empty());
}

} // namespace
} // namespace zelvar
