#include "support/TestSupport.h"

#include "engine/RadialLp.h"
#include "engine/Technology.h"
#include "session/ModelOptions.h"

#include <gtest/gtest.h>

#include <tuple>

namespace zelvar {
namespace {

constexpr double Big = 1e30;
using Entry = std::tuple<int, int, double>; // column, row, value

// The stored matrix as (column, row, value) in stored order; checks that the
// column counts add up to LpNonzeros and every row index is a row of the LP.
std::vector<Entry> entries(const LpProblem &lp)
{
    std::vector<Entry> result;
    int e = 0;
    for (int c = 1; c <= lp.LpCols; ++c)
        for (int k = 0; k < lp.ColCount[static_cast<std::size_t>(c)]; ++k) {
            ++e;
            const int row = lp.RowIndex[static_cast<std::size_t>(e)];
            EXPECT_GE(row, 1);
            EXPECT_LE(row, lp.LpRows);
            result.emplace_back(c, row, lp.ColValue[static_cast<std::size_t>(e)]);
        }
    EXPECT_EQ(e, lp.LpNonzeros);
    EXPECT_EQ(lp.RowIndex.size(), static_cast<std::size_t>(lp.LpNonzeros) + 1);
    return result;
}

struct Built {
    Technology technology;
    LpProblem lp;
};

Built build(const DataSet &data, const ModelOptions &options, int d, const SelectionSet &tech)
{
    Built built;
    built.technology.setupTechnology(d, data, options, tech, built.lp);
    buildRadialLp(d, data, options, built.technology, built.lp);
    return built;
}

ModelOptions model(const char *orientation, const char *rts)
{
    ModelOptions options;
    options.Orientation = orientationFromCode(orientation).value();
    options.ReturnsToScale = returnsFromCode(rts).value();
    return options;
}

// Three DMUs, two inputs and one output.
DataSet threeUnits(std::vector<int> ndInputs = {}, std::vector<int> ndOutputs = {})
{
    return test::makeData({{{2, 3}, {1}}, {{4, 1}, {2}}, {{1, 5}, {3}}}, ndInputs, ndOutputs);
}

TEST(RadialLp, inputOrientedConstantReturnsNormalisesTheOwnInputs)
{
    const DataSet data = threeUnits();
    const Built b = build(data, model("IN", "CRS"), 2, SelectionSet(3, true));
    const LpProblem &lp = b.lp;
    EXPECT_EQ(lp.LpCols, 3);
    EXPECT_EQ(lp.LpRows, 3);
    // The own output is dropped from DMU 2's row: 9 values, 8 entries.
    EXPECT_EQ(lp.LpNonzeros, 8);
    const std::vector<Entry> expected{{1, 1, -2}, {1, 2, -4}, {1, 3, -1}, {2, 1, -3}, {2, 2, -1},
                                      {2, 3, -5}, {3, 1, 1},  {3, 3, 3}};
    EXPECT_EQ(entries(lp), expected);
    EXPECT_EQ(lp.Rhs, (std::vector<double>{0, 0, -1, 0}));
    EXPECT_EQ(lp.Obj, (std::vector<double>{0, 0, 0, -2}));
    // Columns, then rows: at-most, the own equality row, at-most.
    EXPECT_EQ(lp.LowerBound, (std::vector<double>{0, 0, 0, 0, -Big, 0, -Big}));
    EXPECT_EQ(lp.UpperBound, (std::vector<double>{0, Big, Big, Big, 0, 0, 0}));
}

TEST(RadialLp, aNonDiscretionaryInputLeavesTheNormalisationAndIsPriced)
{
    const DataSet data = threeUnits({2});
    const Built b = build(data, model("IN", "CRS"), 2, SelectionSet(3, true));
    const LpProblem &lp = b.lp;
    EXPECT_EQ(lp.LpNonzeros, 7); // own output and own ND input dropped
    const std::vector<Entry> expected{{1, 1, -2}, {1, 2, -4}, {1, 3, -1}, {2, 1, -3},
                                      {2, 3, -5}, {3, 1, 1},  {3, 3, 3}};
    EXPECT_EQ(entries(lp), expected);
    EXPECT_EQ(lp.Obj, (std::vector<double>{0, 0, 1, -2}));
}

TEST(RadialLp, outputOrientedNondecreasingReturnsFlipsTheScaleColumn)
{
    const DataSet data = threeUnits();
    const Built b = build(data, model("OUT", "NDR"), 2, SelectionSet(3, true));
    const LpProblem &lp = b.lp;
    EXPECT_EQ(lp.LpCols, 4);
    // Own inputs dropped (2 values), scale column on the two other rows.
    EXPECT_EQ(lp.LpNonzeros, 9 - 2 + 2);
    const std::vector<Entry> expected{{1, 1, -2}, {1, 3, -1}, {2, 1, -3}, {2, 3, -5}, {3, 1, 1},
                                      {3, 2, 2},  {3, 3, 3},  {4, 1, -1}, {4, 3, -1}};
    EXPECT_EQ(entries(lp), expected);
    EXPECT_EQ(lp.Rhs, (std::vector<double>{0, 0, 1, 0}));
    EXPECT_EQ(lp.Obj, (std::vector<double>{0, 4, 1, 0, 1}));
    EXPECT_EQ(lp.LowerBound[4], -Big);
    EXPECT_EQ(lp.UpperBound[4], 0);
    EXPECT_EQ(lp.LowerBound[4 + 2], 0);
    EXPECT_EQ(lp.UpperBound[4 + 2], 0);
}

TEST(RadialLp, nonOrientedRowHoldsOwnInputsAndOutputsTogether)
{
    const DataSet data = threeUnits();
    const Built b = build(data, model("NON", "VRS"), 3, SelectionSet(3, true));
    const LpProblem &lp = b.lp;
    EXPECT_EQ(lp.LpNonzeros, 9 + 2);
    const std::vector<Entry> expected{{1, 1, -2}, {1, 2, -4}, {1, 3, 1}, {2, 1, -3}, {2, 2, -1},
                                      {2, 3, 5},  {3, 1, 1},  {3, 2, 2}, {3, 3, 3},  {4, 1, 1},
                                      {4, 2, 1}};
    EXPECT_EQ(entries(lp), expected);
    EXPECT_EQ(lp.Rhs, (std::vector<double>{0, 0, 0, 1}));
    EXPECT_EQ(lp.Obj, (std::vector<double>{0, 1, 5, -3, -1}));
    EXPECT_EQ(lp.LowerBound[4], -Big);
    EXPECT_EQ(lp.UpperBound[4], Big);
}

struct ScaleCase {
    const char *orientation;
    const char *rts;
    double lower;
    double upper;
    double entry;
    double objective;
};

class RadialScaleColumn : public ::testing::TestWithParam<ScaleCase> {};

TEST_P(RadialScaleColumn, boundsAndSignsFollowReturnsToScaleAndOrientation)
{
    const ScaleCase c = GetParam();
    const Built b = build(threeUnits(), model(c.orientation, c.rts), 1, SelectionSet(3, true));
    const LpProblem &lp = b.lp;
    const int n = lp.LpCols;
    EXPECT_EQ(lp.ColCount[static_cast<std::size_t>(n)], 2); // every row but the own one
    EXPECT_EQ(lp.LowerBound[static_cast<std::size_t>(n)], c.lower);
    EXPECT_EQ(lp.UpperBound[static_cast<std::size_t>(n)], c.upper);
    EXPECT_EQ(lp.Obj[static_cast<std::size_t>(n)], c.objective);
    for (const auto &[column, row, value] : entries(lp))
        if (column == n) {
            EXPECT_NE(row, 1);
            EXPECT_EQ(value, c.entry);
        }
}

INSTANTIATE_TEST_SUITE_P(
    All, RadialScaleColumn,
    ::testing::Values(ScaleCase{"IN", "VRS", -Big, Big, 1, -1}, ScaleCase{"IN", "NDR", 0, Big, 1, -1},
                      ScaleCase{"IN", "NIR", -Big, 0, 1, -1}, ScaleCase{"NON", "NDR", 0, Big, 1, -1},
                      ScaleCase{"NON", "NIR", -Big, 0, 1, -1}, ScaleCase{"OUT", "VRS", -Big, Big, -1, 1},
                      ScaleCase{"OUT", "NDR", -Big, 0, -1, 1}, ScaleCase{"OUT", "NIR", 0, Big, -1, 1}));

TEST(RadialLp, theDataSetIsLeftUnchanged)
{
    const DataSet data = threeUnits({1}, {1});
    const DataSet before = data;
    for (const char *orientation : {"IN", "OUT", "NON"}) {
        build(data, model(orientation, "VRS"), 2, SelectionSet(3, true));
        EXPECT_EQ(data.InputData, before.InputData);
        EXPECT_EQ(data.OutputData, before.OutputData);
    }
}

TEST(RadialLp, zeroValuesStoreNoEntry)
{
    // DMU 1 has a zero second input, DMU 2 (evaluated) a zero first input.
    const DataSet data = test::makeData({{{2, 0}, {1}}, {{0, 3}, {2}}, {{1, 5}, {3}}});
    const Built b = build(data, model("IN", "CRS"), 2, SelectionSet(3, true));
    std::vector<Entry> got = entries(b.lp);
    ASSERT_EQ(got.size(), 6u);
    EXPECT_EQ(got[0], (Entry{1, 1, -2}));
    EXPECT_EQ(got[1], (Entry{1, 3, -1}));
    EXPECT_EQ(got[2], (Entry{2, 2, -3}));
    EXPECT_EQ(got[3], (Entry{2, 3, -5}));
    EXPECT_EQ(got[4], (Entry{3, 1, 1}));
    EXPECT_EQ(got[5], (Entry{3, 3, 3}));
    EXPECT_EQ(b.lp.LpNonzeros, b.technology.MatrixNonzeros - 1);
}

TEST(RadialLp, noDiscretionaryOwnInputLeavesAnEmptyNormalisationRow)
{
    const DataSet data = test::makeData({{{2}, {1}}, {{0}, {2}}, {{1}, {3}}});
    const Built b = build(data, model("IN", "CRS"), 2, SelectionSet(3, true));
    for (const auto &[column, row, value] : entries(b.lp))
        EXPECT_NE(row, 2);
    EXPECT_EQ(b.lp.Rhs[2], -1);
}

TEST(RadialLp, weightRestrictionsFollowTheDmuRowsAsAtLeastRows)
{
    DataSet data = threeUnits();
    // v1 - 2 v2 >= 0 (the u coefficient 0 stores nothing), and an empty row.
    test::addWeights(data, {{1, -2, 0}, {0, 0, 0}});
    ModelOptions options = model("IN", "CRS");
    options.RestrictWeights = true;
    const Built b = build(data, options, 1, SelectionSet(3, true));
    const LpProblem &lp = b.lp;
    EXPECT_EQ(lp.LpRows, 5);
    const std::vector<Entry> expected{{1, 1, -2}, {1, 2, -4}, {1, 3, -1}, {1, 4, 1},
                                      {2, 1, -3}, {2, 2, -1}, {2, 3, -5}, {2, 4, -2},
                                      {3, 2, 2},  {3, 3, 3}};
    EXPECT_EQ(entries(lp), expected);
    const int n = lp.LpCols;
    for (int k = 4; k <= 5; ++k) {
        EXPECT_EQ(lp.LowerBound[static_cast<std::size_t>(n + k)], 0);
        EXPECT_EQ(lp.UpperBound[static_cast<std::size_t>(n + k)], Big);
        EXPECT_EQ(lp.Rhs[static_cast<std::size_t>(k)], 0);
    }
}

TEST(RadialLp, rowsOfATechnologySubsetFollowTechPos)
{
    const DataSet data = test::makeData({{{1}, {1}}, {{2}, {1}}, {{3}, {1}}, {{4}, {1}}, {{5}, {1}}});
    // Technology {1, 3, 5} plus the evaluated DMU 4.
    const Built b = build(data, model("IN", "VRS"), 4, test::selection(5, {1, 3, 4, 5}));
    const std::vector<Entry> expected{{1, 1, -1}, {1, 2, -3}, {1, 3, -4}, {1, 4, -5}, {2, 1, 1},
                                      {2, 2, 1},  {2, 4, 1},  {3, 1, 1},  {3, 2, 1},  {3, 4, 1}};
    EXPECT_EQ(entries(b.lp), expected);
    EXPECT_EQ(b.lp.Rhs[3], -1);
    EXPECT_EQ(b.lp.LowerBound[3 + 3], 0);
    EXPECT_EQ(b.lp.UpperBound[3 + 3], 0);
}

} // namespace
} // namespace zelvar
