#include "support/TestSupport.h"

#include "engine/LpFrame.h"
#include "engine/NonRadialLp.h"
#include "engine/RadialLp.h"
#include "engine/Technology.h"
#include "engine/TechnologyRows.h"
#include "session/ModelOptions.h"

#include <gtest/gtest.h>

#include "CoinFinite.hpp"

#include <random>

namespace zelvar {
namespace {

// j's row is implied by k's when k uses no more of any input and makes no
// less of any output.
bool dominates(const DataSet &data, int k, int j)
{
    for (int i = 1; i <= data.NumInputs; ++i)
        if (data.InputData(i, k) > data.InputData(i, j))
            return false;
    for (int r = 1; r <= data.NumOutputs; ++r)
        if (data.OutputData(r, k) < data.OutputData(r, j))
            return false;
    return true;
}

bool same(const DataSet &data, int k, int j)
{
    return dominates(data, k, j) && dominates(data, j, k);
}

TEST(TechnologyRows, candidatesAreTheUndominatedDmusWithDuplicatesKeptOnce)
{
    // Small integers on two inputs and two outputs that grow with the inputs:
    // many ties, duplicates and zeros, and many DMUs undominated. DMUs 1, 2
    // and 3 are outside the technology.
    std::mt19937_64 random(5u);
    std::vector<test::Unit> units;
    for (int d = 1; d <= 400; ++d) {
        const auto x1 = static_cast<double>(random() % 7);
        const auto x2 = static_cast<double>(random() % 7);
        units.push_back({{x1, x2}, {x1 + static_cast<double>(random() % 3), x2 + static_cast<double>(random() % 3)}});
    }
    const DataSet data = test::makeData(units);
    SelectionSet tech(400, true);
    for (int d : {1, 2, 3})
        tech.select(d, false);
    const TechnologyRows rows(data, tech);

    ASSERT_EQ(rows.count(), 397);
    std::vector<int> expected;
    for (int j = 4; j <= 400; ++j) {
        bool implied = false;
        for (int k = 4; k <= 400 && !implied; ++k)
            implied = k != j && dominates(data, k, j) && (!same(data, k, j) || k < j);
        if (!implied)
            expected.push_back(j);
    }
    std::vector<int> found;
    for (const std::int32_t row : rows.candidates())
        found.push_back(rows.dmu(row));
    EXPECT_EQ(found, expected);
    EXPECT_GT(found.size(), 20u);
}

TEST(TechnologyRows, rowsHoldMinusTheInputsAndTheOutputsWithTheirRanks)
{
    const DataSet data = test::makeData({{{1, 2}, {3}}, {{4, 5}, {6}}, {{7, 8}, {9}}});
    const TechnologyRows rows(data, test::selection(3, {1, 3}));
    ASSERT_EQ(rows.count(), 2);
    EXPECT_EQ(rows.dmu(1), 3);
    EXPECT_EQ(rows.rowOf(2), -1);
    EXPECT_EQ(rows.rowOf(3), 1);
    EXPECT_EQ(rows.value(1, 0), -7.0);
    EXPECT_EQ(rows.value(1, 1), -8.0);
    EXPECT_EQ(rows.value(1, 2), 9.0);
    // DMU 2, evaluated from outside, would sit after DMU 1 in its LP.
    EXPECT_EQ(rows.rank(2), 1);
    EXPECT_EQ(rows.rank(3), 1);
}

struct FrameCase {
    const char *distance;
    const char *orientation;
    const char *rts;
};

class LpFrames : public ::testing::TestWithParam<FrameCase> {};

// The frame of a DMU is its full LP without the other DMUs' rows: compared
// with the builders' LP of a three-DMU technology.
TEST_P(LpFrames, holdTheObjectiveBoundsOwnRowAndRestrictionsOfTheFullLp)
{
    const FrameCase c = GetParam();
    DataSet data = test::makeData({{{2, 3}, {4, 1}}, {{1, 5}, {2, 2}}, {{3, 0}, {5, 3}}}, {2}, {});
    test::addWeights(data, {{1, -0.5, 0, 0}, {0, 0, 2, -1}});
    ModelOptions options;
    options.Distance = distanceFromCode(c.distance).value();
    options.Orientation = orientationFromCode(c.orientation).value();
    options.ReturnsToScale = returnsFromCode(c.rts).value();
    options.RestrictWeights = true;
    const int d = 2;

    LpFrameBuilder builder(data, options);
    LpFrame frame;
    builder.build(d, frame);

    Technology technology;
    LpProblem lp;
    technology.setupTechnology(d, data, options, SelectionSet(3, true), lp);
    if (options.Distance == ModelDistance::RAD)
        buildRadialLp(d, data, options, technology, lp);
    else
        buildNonRadialLp(d, data, options, technology, lp);

    const int n = lp.LpCols;
    ASSERT_EQ(frame.columns, n);
    // Dense rows of the full LP.
    std::vector<std::vector<double>> row(static_cast<std::size_t>(lp.LpRows) + 1,
                                         std::vector<double>(static_cast<std::size_t>(n), 0.0));
    int e = 0;
    for (int col = 1; col <= n; ++col)
        for (int k = 0; k < lp.ColCount[static_cast<std::size_t>(col)]; ++k) {
            ++e;
            row[static_cast<std::size_t>(lp.RowIndex[static_cast<std::size_t>(e)])][static_cast<std::size_t>(col - 1)] +=
                lp.ColValue[static_cast<std::size_t>(e)];
        }
    for (int col = 0; col < n; ++col) {
        const auto cc = static_cast<std::size_t>(col);
        EXPECT_EQ(frame.objective[cc], lp.Obj[cc + 1]) << col;
        EXPECT_EQ(frame.columnLower[cc], lp.LowerBound[cc + 1] <= -lp.Big ? -COIN_DBL_MAX : lp.LowerBound[cc + 1]);
        EXPECT_EQ(frame.ownRow[cc], row[2][cc]) << col;
        EXPECT_EQ(frame.restrictionRows[cc], row[4][cc]) << col;
        EXPECT_EQ(frame.restrictionRows[static_cast<std::size_t>(n) + cc], row[5][cc]) << col;
    }
    EXPECT_EQ(frame.ownUpper, lp.Rhs[2] + lp.UpperBound[static_cast<std::size_t>(n) + 2]);
    // u0 on the other DMUs' rows.
    if (n > data.NumInputs + data.NumOutputs) {
        EXPECT_EQ(frame.scaleCoefficient, row[1][static_cast<std::size_t>(n - 1)]);
        EXPECT_EQ(frame.scaleCoefficient, row[3][static_cast<std::size_t>(n - 1)]);
    } else {
        EXPECT_EQ(frame.scaleCoefficient, 0.0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Models, LpFrames,
    ::testing::Values(FrameCase{"RAD", "IN", "CRS"}, FrameCase{"RAD", "OUT", "VRS"}, FrameCase{"RAD", "NON", "NDR"},
                      FrameCase{"RAD", "OUT", "NIR"}, FrameCase{"ADD", "NON", "VRS"}, FrameCase{"MAXAV", "IN", "NIR"},
                      FrameCase{"ADD", "OUT", "CRS"}),
    [](const auto &param) {
        return std::string(param.param.distance) + param.param.orientation + param.param.rts;
    });

} // namespace
} // namespace zelvar
