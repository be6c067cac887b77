#include "support/TestSupport.h"

#include "engine/Technology.h"
#include "session/ModelOptions.h"

#include <gtest/gtest.h>

namespace zelvar {
namespace {

using test::Unit;

DataSet fiveUnits()
{
    return test::makeData({{{1, 2}, {3}}, {{2, 0}, {1}}, {{0, 0}, {4}}, {{5, 1}, {0}}, {{2, 2}, {2}}});
}

TEST(Technology, rowsFollowTheSelectedDmusInAscendingOrder)
{
    const DataSet data = fiveUnits();
    ModelOptions options;
    // The driver has added DMU 4 (evaluated) to the technology {1, 3, 5}.
    const SelectionSet tech = test::selection(5, {1, 3, 4, 5});
    Technology technology;
    LpProblem lp;
    technology.setupTechnology(4, data, options, tech, lp);

    EXPECT_EQ(technology.NumTech, 4);
    EXPECT_EQ(technology.TechDmu, (std::vector<std::int32_t>{0, 1, 3, 4, 5}));
    EXPECT_EQ(technology.TechPos, (std::vector<std::int32_t>{0, 1, 0, 2, 3, 4}));
    EXPECT_EQ(technology.TechPos[4], 3);
    EXPECT_EQ(technology.TechPos[2], 0);
}

TEST(Technology, countsTheNonzeroValuesOfTechnologyDmusOnly)
{
    // Two inputs and one output: (1, 0 | 5) and (2, 3 | 0) give four nonzero values.
    const DataSet data = test::makeData({{{1, 0}, {5}}, {{2, 3}, {0}}, {{7, 7}, {7}}});
    ModelOptions options;
    Technology technology;
    LpProblem lp;
    technology.setupTechnology(1, data, options, test::selection(3, {1, 2}), lp);
    EXPECT_EQ(technology.TechNonzeros, 4);
    EXPECT_EQ(technology.MatrixNonzeros, 4);
}

TEST(Technology, negativeValuesAreStoredEntriesToo)
{
    const DataSet data = test::makeData({{{-1, 0}, {5}}, {{2, 3}, {-0.5}}});
    Technology technology;
    LpProblem lp;
    technology.setupTechnology(1, data, ModelOptions{}, test::selection(2, {1, 2}), lp);
    EXPECT_EQ(technology.TechNonzeros, 5);
}

struct SizeCase {
    const char *rts;
    int cols;
};

class TechnologySizes : public ::testing::TestWithParam<SizeCase> {};

TEST_P(TechnologySizes, aScaleColumnExceptUnderConstantReturns)
{
    const DataSet data = test::makeData({{{1, 2}, {3, 4}}, {{2, 1}, {1, 1}}});
    ModelOptions options;
    options.ReturnsToScale = returnsFromCode(GetParam().rts).value();
    Technology technology;
    LpProblem lp;
    technology.setupTechnology(1, data, options, test::selection(2, {1, 2}), lp);
    EXPECT_EQ(lp.LpCols, GetParam().cols);
    EXPECT_EQ(lp.LpRows, 2);
    const auto all = static_cast<std::size_t>(lp.LpRows + lp.LpCols) + 1;
    EXPECT_EQ(lp.LowerBound.size(), all);
    EXPECT_EQ(lp.UpperBound.size(), all);
    EXPECT_EQ(lp.Primal.size(), all);
    EXPECT_EQ(lp.Dual.size(), all);
    EXPECT_EQ(lp.VarStatus.size(), all);
    EXPECT_EQ(lp.ColCount.size(), static_cast<std::size_t>(lp.LpCols) + 1);
    EXPECT_EQ(lp.Obj.size(), static_cast<std::size_t>(lp.LpCols) + 1);
    EXPECT_EQ(lp.Rhs.size(), static_cast<std::size_t>(lp.LpRows) + 1);
    EXPECT_EQ(lp.RowIndex.size(), static_cast<std::size_t>(technology.MatrixNonzeros) + 1);
}

INSTANTIATE_TEST_SUITE_P(ReturnsToScale, TechnologySizes,
                         ::testing::Values(SizeCase{"CRS", 4}, SizeCase{"VRS", 5}, SizeCase{"NDR", 5},
                                           SizeCase{"NIR", 5}));

// Ten technology DMUs with 35 nonzero values (each DMU: 3 inputs, 1 output,
// the fifth value of every second DMU zero) and 3 restriction rows with 7
// nonzero coefficients.
DataSet tenUnitsWithWeights()
{
    std::vector<Unit> units;
    for (int d = 1; d <= 10; ++d)
        units.push_back(Unit{{1.0, 2.0, static_cast<double>(d % 2)}, {3.0, 0.0}});
    DataSet data = test::makeData(units);
    test::addWeights(data, {{1, -1, 0, 0, 0}, {0, 2, -1, 0, 0}, {0, 0, 1, 1, -3}});
    return data;
}

TEST(Technology, restrictedWeightsAddTheirRowsAndCoefficients)
{
    const DataSet data = tenUnitsWithWeights();
    ASSERT_EQ(data.WeightNonzeros, 7);
    ModelOptions options;
    options.RestrictWeights = true;
    Technology technology;
    LpProblem lp;
    technology.setupTechnology(1, data, options, SelectionSet(10, true), lp);
    EXPECT_EQ(technology.TechNonzeros, 35);
    EXPECT_EQ(lp.LpRows, 13);
    EXPECT_EQ(technology.MatrixNonzeros, 42);
    EXPECT_EQ(lp.RowIndex.size(), 43u); // 42 places from position 1
}

TEST(Technology, weightsLoadedButNotRestrictedAreIgnored)
{
    const DataSet data = tenUnitsWithWeights();
    ModelOptions options;
    options.RestrictWeights = false;
    Technology technology;
    LpProblem lp;
    technology.setupTechnology(1, data, options, SelectionSet(10, true), lp);
    EXPECT_EQ(lp.LpRows, 10);
    EXPECT_EQ(technology.MatrixNonzeros, 35);
    EXPECT_EQ(technology.WeightRows, 0);
}

TEST(Technology, weightsOfAnotherDataSetAreNeverApplied)
{
    DataSet data = test::makeData({{{1}, {1}}, {{2}, {1}}});
    test::addWeights(data, {{1, -1, 0}}); // three weight columns, the data has two
    ModelOptions options;
    options.RestrictWeights = true;
    EXPECT_FALSE(restrictsWeights(data, options));
    Technology technology;
    LpProblem lp;
    technology.setupTechnology(1, data, options, SelectionSet(2, true), lp);
    EXPECT_EQ(lp.LpRows, 2);
    EXPECT_EQ(technology.MatrixNonzeros, 4);
}

} // namespace
} // namespace zelvar
