#include "support/TestSupport.h"

#include "engine/NonRadialLp.h"
#include "engine/Technology.h"
#include "session/ModelOptions.h"

#include <gtest/gtest.h>

#include <tuple>

namespace zelvar {
namespace {

constexpr double Big = 1e30;
using Entry = std::tuple<int, int, double>;

std::vector<Entry> entries(const LpProblem &lp)
{
    std::vector<Entry> result;
    int e = 0;
    for (int c = 1; c <= lp.LpCols; ++c)
        for (int k = 0; k < lp.ColCount[static_cast<std::size_t>(c)]; ++k) {
            ++e;
            result.emplace_back(c, lp.RowIndex[static_cast<std::size_t>(e)],
                                lp.ColValue[static_cast<std::size_t>(e)]);
        }
    EXPECT_EQ(e, lp.LpNonzeros);
    return result;
}

ModelOptions model(const char *distance, const char *orientation, const char *rts)
{
    ModelOptions options;
    options.Distance = distanceFromCode(distance).value();
    options.Orientation = orientationFromCode(orientation).value();
    options.ReturnsToScale = returnsFromCode(rts).value();
    return options;
}

LpProblem build(const DataSet &data, const ModelOptions &options, int d)
{
    Technology technology;
    LpProblem lp;
    technology.setupTechnology(d, data, options, SelectionSet(data.NumDMU, true), lp);
    buildNonRadialLp(d, data, options, technology, lp);
    return lp;
}

DataSet threeUnits(std::vector<int> ndInputs = {}, std::vector<int> ndOutputs = {})
{
    return test::makeData({{{2, 3}, {1}}, {{4, 1}, {2}}, {{1, 5}, {3}}}, ndInputs, ndOutputs);
}

TEST(NonRadialLp, everyDmuKeepsItsAtMostRowTheOwnOneIncluded)
{
    const LpProblem lp = build(threeUnits(), model("ADD", "NON", "VRS"), 2);
    EXPECT_EQ(lp.LpNonzeros, 9 + 3);
    const std::vector<Entry> expected{{1, 1, -2}, {1, 2, -4}, {1, 3, -1}, {2, 1, -3}, {2, 2, -1},
                                      {2, 3, -5}, {3, 1, 1},  {3, 2, 2},  {3, 3, 3},  {4, 1, 1},
                                      {4, 2, 1},  {4, 3, 1}};
    EXPECT_EQ(entries(lp), expected);
    EXPECT_EQ(lp.Rhs, (std::vector<double>{0, 0, 0, 0}));
    EXPECT_EQ(lp.Obj, (std::vector<double>{0, 4, 1, -2, -1}));
    for (int k = 1; k <= 3; ++k) {
        EXPECT_EQ(lp.LowerBound[static_cast<std::size_t>(4 + k)], -Big);
        EXPECT_EQ(lp.UpperBound[static_cast<std::size_t>(4 + k)], 0);
    }
}

struct AdditiveCase {
    const char *orientation;
    std::vector<double> lower; // v1, v2, u1
};

class AdditiveBounds : public ::testing::TestWithParam<AdditiveCase> {};

TEST_P(AdditiveBounds, onlyTheSlacksTheOrientationActsOnArePriced)
{
    // Input 2 is non-discretionary: its slack never counts.
    const LpProblem lp = build(threeUnits({2}), model("ADD", GetParam().orientation, "CRS"), 1);
    EXPECT_EQ(lp.LowerBound[1], GetParam().lower[0]);
    EXPECT_EQ(lp.LowerBound[2], GetParam().lower[1]);
    EXPECT_EQ(lp.LowerBound[3], GetParam().lower[2]);
    for (int c = 1; c <= 3; ++c)
        EXPECT_EQ(lp.UpperBound[static_cast<std::size_t>(c)], Big);
}

INSTANTIATE_TEST_SUITE_P(Orientations, AdditiveBounds,
                         ::testing::Values(AdditiveCase{"IN", {1, 0, 0}}, AdditiveCase{"OUT", {0, 0, 1}},
                                           AdditiveCase{"NON", {1, 0, 1}}));

TEST(NonRadialLp, maxAverageDividesByAllDiscretionaryNonzeroValues)
{
    // Two inputs and three outputs, all discretionary and nonzero: K = 5.
    const DataSet data = test::makeData({{{2, 4}, {1, 2, 5}}, {{3, 3}, {3, 3, 3}}});
    const LpProblem lp = build(data, model("MAXAV", "IN", "CRS"), 1);
    EXPECT_DOUBLE_EQ(lp.LowerBound[1], 1.0 / (5 * 2));
    EXPECT_DOUBLE_EQ(lp.LowerBound[2], 1.0 / (5 * 4));
    for (int c = 3; c <= 5; ++c)
        EXPECT_EQ(lp.LowerBound[static_cast<std::size_t>(c)], 0);
}

TEST(NonRadialLp, aZeroOwnValueIsNeitherPricedNorCounted)
{
    const DataSet data = test::makeData({{{2, 0}, {4}}, {{3, 3}, {3}}});
    const LpProblem lp = build(data, model("MAXAV", "NON", "CRS"), 1);
    // K = 2: input 1 and the output.
    EXPECT_DOUBLE_EQ(lp.LowerBound[1], 1.0 / (2 * 2));
    EXPECT_EQ(lp.LowerBound[2], 0);
    EXPECT_DOUBLE_EQ(lp.LowerBound[3], 1.0 / (2 * 4));
}

TEST(NonRadialLp, aSingleVariableLpPricesThatVariableAlone)
{
    const DataSet data = threeUnits();
    const ModelOptions options = model("MINAV", "NON", "CRS");
    Technology technology;
    LpProblem lp;
    technology.setupTechnology(2, data, options, SelectionSet(3, true), lp);
    // Only output 1 discretionary: K = 1.
    buildNonRadialLp(2, data, options, technology, {0, 1, 1}, {0, 0}, lp);
    EXPECT_EQ(lp.LowerBound[1], 0);
    EXPECT_EQ(lp.LowerBound[2], 0);
    EXPECT_DOUBLE_EQ(lp.LowerBound[3], 1.0 / 2);
    // The data set's own marks are untouched by the single-variable marks.
    EXPECT_EQ(data.InputNonDisc, (std::vector<std::int16_t>{0, 0, 0}));
}

struct ScaleCase {
    const char *orientation;
    const char *rts;
    double lower;
    double upper;
};

class NonRadialScaleColumn : public ::testing::TestWithParam<ScaleCase> {};

TEST_P(NonRadialScaleColumn, boundsDependOnReturnsToScaleAlone)
{
    const LpProblem lp = build(threeUnits(), model("ADD", GetParam().orientation, GetParam().rts), 2);
    EXPECT_EQ(lp.ColCount[4], 3);
    EXPECT_EQ(lp.Obj[4], -1);
    EXPECT_EQ(lp.LowerBound[4], GetParam().lower);
    EXPECT_EQ(lp.UpperBound[4], GetParam().upper);
}

INSTANTIATE_TEST_SUITE_P(
    All, NonRadialScaleColumn,
    ::testing::Values(ScaleCase{"IN", "VRS", -Big, Big}, ScaleCase{"OUT", "VRS", -Big, Big},
                      ScaleCase{"IN", "NDR", 0, Big}, ScaleCase{"OUT", "NDR", 0, Big},
                      ScaleCase{"IN", "NIR", -Big, 0}, ScaleCase{"OUT", "NIR", -Big, 0}));

TEST(NonRadialLp, weightRestrictionRowsAreAtLeastRows)
{
    DataSet data = threeUnits();
    test::addWeights(data, {{0, 1, -1}});
    ModelOptions options = model("ADD", "NON", "CRS");
    options.RestrictWeights = true;
    const LpProblem lp = build(data, options, 1);
    EXPECT_EQ(lp.LpRows, 4);
    EXPECT_EQ(lp.LpNonzeros, 11);
    const std::vector<Entry> got = entries(lp);
    EXPECT_EQ(got[6], (Entry{2, 4, 1}));
    EXPECT_EQ(got[10], (Entry{3, 4, -1}));
    EXPECT_EQ(lp.LowerBound[3 + 4], 0);
    EXPECT_EQ(lp.UpperBound[3 + 4], Big);
}

} // namespace
} // namespace zelvar
