#include "RunInputs.h"

#include "results/ResultsTable.h"

#include <gtest/gtest.h>

namespace zelvar {
namespace {

using test::RunInputs;
using test::Row;
using test::rowCells;

// Lays out a table for the run as it stands, fills row d and returns it.
Row filledRow(const RunInputs &run, int d)
{
    ResultsTable table(run.data, run.options, run.format);
    table.Showresults(d, run.view(), run.lp);
    return rowCells(table.grid(), d);
}

// DMU 2 has inputs (3, 4) and output 1; its multiplier LP gave the weights
// v = (0.2, 0.1), u = 0.8 and a slack of 0.5 on the second input. Then the
// virtual input is 3 * 0.2 + 4 * 0.1 = 1 and the virtual output 0.8 = its score.
RunInputs workedRun()
{
    RunInputs run({{1, 1}, {3, 4}}, {{1}, {1}});
    run.options.Distance = ModelDistance::RAD;
    run.options.Orientation = ModelOrientation::IN;
    run.options.Superefficiency = false;
    run.format.VirtualWeights = false;
    run.store.Score[2] = 0.8;
    run.solution({0.2, 0.1, 0.8}, {0.0, -0.5, 0.0});
    return run;
}

TEST(RadialRow, WorkedInputOrientedRow)
{
    const RunInputs run = workedRun();
    // Output weight 0.8 divided by the virtual output 0.8.
    EXPECT_EQ(filledRow(run, 2), (Row{"    Unit2", "80.00%", "0.20", "0.10", "1.00", "", "0.00", "0.50", "0.00"}));
}

TEST(RadialRow, VirtualWeightsAddUpToOneOnEachSide)
{
    RunInputs run = workedRun();
    run.format.VirtualWeights = true;
    // 3 * 0.2, 4 * 0.1, and 1 * 0.8 divided by the virtual output 0.8.
    EXPECT_EQ(filledRow(run, 2), (Row{"    Unit2", "80.00%", "0.60", "0.40", "1.00", "", "0.00", "0.50", "0.00"}));
}

TEST(RadialRow, EachColumnGroupTakesItsOwnDecimals)
{
    RunInputs run = workedRun();
    run.format.DecScore = 3;
    run.format.DecWeights = 1;
    run.format.DecSlacks = 4;
    EXPECT_EQ(filledRow(run, 2),
              (Row{"    Unit2", "80.000%", "0.2", "0.1", "1.0", "", "0.0000", "0.5000", "0.0000"}));
}

TEST(RadialRow, CommaSeparatorOfTheUsersLocale)
{
    RunInputs run = workedRun();
    run.separator = ",";
    EXPECT_EQ(filledRow(run, 2), (Row{"    Unit2", "80,00%", "0,20", "0,10", "1,00", "", "0,00", "0,50", "0,00"}));
}

TEST(RadialRow, OnlyTheRowOfTheDmuIsWritten)
{
    const RunInputs run = workedRun();
    ResultsTable table(run.data, run.options, run.format);
    table.Showresults(2, run.view(), run.lp);
    EXPECT_EQ(rowCells(table.grid(), 1), Row(9, ""));
    EXPECT_EQ(table.grid().text(0, 1), "DMU");
    EXPECT_EQ(table.grid().text(2, 0), "2");
}

TEST(RadialRow, NameCarriesTheMarkOfADmuOutsideItsTechnology)
{
    RunInputs run = workedRun();
    run.data.DMUNames[2] = "{X} Unit2";
    EXPECT_EQ(filledRow(run, 2)[0], "{X} Unit2");
}

TEST(RadialRow, OutputOrientedNormalisesTheInputWeights)
{
    RunInputs run = workedRun();
    run.options.Orientation = ModelOrientation::OUT;
    run.store.Score[2] = 1.25;
    run.solution({0.4, 0.2, 1.0}, {0.0, -0.5, 0.0});
    // Virtual input 3 * 0.4 + 4 * 0.2 = 2.
    EXPECT_EQ(filledRow(run, 2), (Row{"    Unit2", "125.00%", "0.20", "0.10", "1.00", "", "0.00", "0.50", "0.00"}));
}

TEST(RadialRow, NonOrientedDividesEveryWeightByBothVirtualSums)
{
    RunInputs run = workedRun();
    run.options.Orientation = ModelOrientation::NON;
    run.store.Score[2] = 0.2;
    // Virtual input 1, virtual output 0.8: every weight over 1.8.
    EXPECT_EQ(filledRow(run, 2), (Row{"    Unit2", "20.00%", "0.11", "0.06", "0.44", "", "0.00", "0.50", "0.00"}));
}

struct EfficientCase {
    const char *orientation;
    double score;
    const char *shown;
};

class EfficientWithoutSuperefficiency : public ::testing::TestWithParam<EfficientCase> {};

TEST_P(EfficientWithoutSuperefficiency, ShowsFullEfficiencyAndNoSlacks)
{
    RunInputs run = workedRun();
    run.options.Orientation = orientationFromCode(GetParam().orientation).value();
    run.store.Score[2] = GetParam().score;
    run.store.Efficient[2] = 1;
    const Row row = filledRow(run, 2);
    EXPECT_EQ(row[1], GetParam().shown);
    EXPECT_EQ((Row{row[6], row[7], row[8]}), Row(3, ""));
}

INSTANTIATE_TEST_SUITE_P(Orientations, EfficientWithoutSuperefficiency,
                         ::testing::Values(EfficientCase{"IN", 1.0, "100.00%"},
                                           EfficientCase{"IN", 0.97, "100.00%"},
                                           EfficientCase{"OUT", 0.8, "100.00%"},
                                           EfficientCase{"NON", -0.3, "0.00%"}));

TEST(SuperefficientRow, ScoreAsComputedAndWeightsAsReturned)
{
    RunInputs run = workedRun();
    run.options.Superefficiency = true;
    run.store.Score[2] = 1.23456;
    run.store.Efficient[2] = 1;
    run.solution({0.2, 0.1, 1.5}, {-0.3, 0.0, -0.2});
    EXPECT_EQ(filledRow(run, 2), (Row{"    Unit2", "123.46%", "0.20", "0.10", "1.50", "", "", "", ""}));
}

TEST(SuperefficientRow, InefficientDmuShowsItsSlacks)
{
    RunInputs run = workedRun();
    run.options.Superefficiency = true;
    run.format.VirtualWeights = true;
    EXPECT_EQ(filledRow(run, 2), (Row{"    Unit2", "80.00%", "0.60", "0.40", "0.80", "", "0.00", "0.50", "0.00"}));
}

TEST(NoFiniteOptimum, ShowsBigWithSuperefficiency)
{
    RunInputs run = workedRun();
    run.options.Superefficiency = true;
    run.store.Score[2] = -1.0;
    run.store.Efficient[2] = 1;
    run.store.NoFiniteOptimum[2] = 1;
    run.solution({0.0, 0.0, 0.0}, {0.0, 0.0, 0.0});
    EXPECT_EQ(filledRow(run, 2), (Row{"    Unit2", "big", "0.00", "0.00", "0.00", "", "", "", ""}));
}

TEST(NoFiniteOptimum, ShowsFullEfficiencyWithoutSuperefficiency)
{
    RunInputs run = workedRun();
    run.store.Score[2] = -1.0;
    run.store.Efficient[2] = 1;
    run.store.NoFiniteOptimum[2] = 1;
    EXPECT_EQ(filledRow(run, 2)[1], "100.00%");
}

TEST(NoFiniteOptimum, ATrueOptimumOfMinusOneIsAScore)
{
    // Non-oriented radial scores may be negative; -1 is then a real optimum.
    RunInputs run = workedRun();
    run.options.Orientation = ModelOrientation::NON;
    run.options.Superefficiency = true;
    run.store.Score[2] = -1.0;
    run.store.Efficient[2] = 1;
    EXPECT_EQ(filledRow(run, 2)[1], "-100.00%");
}

TEST(AdditiveRow, ScoreWithoutPercentAndWeightsAsReturned)
{
    RunInputs run = workedRun();
    run.options.Distance = ModelDistance::ADD;
    run.options.Orientation = ModelOrientation::NON;
    run.store.Score[2] = 3.25;
    run.solution({1.0, 1.0, 2.0}, {-2.0, -0.25, -1.0});
    EXPECT_EQ(filledRow(run, 2), (Row{"    Unit2", "3.25", "1.00", "1.00", "2.00", "", "2.00", "0.25", "1.00"}));
}

// Max-average and min-average rows: DMU 2 with inputs (3, 4) and output 2.
RunInputs averageRun(const char *distance, const char *orientation)
{
    RunInputs run({{1, 1}, {3, 4}}, {{1}, {2}});
    run.options.Distance = distanceFromCode(distance).value();
    run.options.Orientation = orientationFromCode(orientation).value();
    run.options.Superefficiency = false;
    run.format.VirtualWeights = false;
    return run;
}

TEST(MaxAverageRow, OutputOrientedShowsOutputFactorsAndInputSlacks)
{
    RunInputs run = averageRun("MAXAV", "OUT");
    run.store.Score[2] = 0.25;
    run.solution({0.5, 0.25, 0.5}, {-0.5, 0.0, -1.0});
    // Output factor 1 + 1 / 2.
    EXPECT_EQ(filledRow(run, 2),
              (Row{"    Unit2", "125.00%", "0.50", "0.25", "0.50", "", "0.50", "0.00", "150.00%"}));
}

TEST(MaxAverageRow, InputOrientedShowsInputFactorsAndOutputSlacks)
{
    RunInputs run = averageRun("MAXAV", "IN");
    run.store.Score[2] = 0.25;
    run.solution({0.5, 0.25, 0.5}, {-0.75, 0.0, -0.5});
    // Input factors 1 - 0.75 / 3 and 1 - 0 / 4.
    EXPECT_EQ(filledRow(run, 2),
              (Row{"    Unit2", "75.00%", "0.50", "0.25", "0.50", "", "75.00%", "100.00%", "0.50"}));
}

TEST(MaxAverageRow, NonOrientedShowsFactorsOnBothSides)
{
    RunInputs run = averageRun("MAXAV", "NON");
    run.store.Score[2] = 0.3;
    run.solution({0.5, 0.25, 0.5}, {-1.5, -1.0, -0.5});
    EXPECT_EQ(filledRow(run, 2),
              (Row{"    Unit2", "30.00%", "0.50", "0.25", "0.50", "", "50.00%", "75.00%", "125.00%"}));
}

TEST(MaxAverageRow, ZeroValueLeavesOnlyItsFactorEmpty)
{
    RunInputs run = averageRun("MAXAV", "NON");
    run.data.InputData(1, 2) = 0.0;
    run.data.OutputData(1, 2) = 0.0;
    run.store.Score[2] = 0.3;
    run.solution({0.5, 0.25, 0.5}, {-1.5, -1.0, -0.5});
    EXPECT_EQ(filledRow(run, 2), (Row{"    Unit2", "30.00%", "0.50", "0.25", "0.50", "", "", "75.00%", ""}));
}

TEST(MinAverageRow, WinningOutputShowsItsFactor)
{
    RunInputs run = averageRun("MINAV", "NON");
    run.store.MinAvgVariable[2] = 3; // m + 1: the first output
    run.store.MinAvgBest[2] = -0.2;
    run.store.Score[2] = -0.2 / 3.0;
    run.solution({0.5, 0.25, 0.5}, {-0.1, -0.25, -0.4});
    EXPECT_EQ(filledRow(run, 2),
              (Row{"    Unit2", "-6.67%", "0.50", "0.25", "0.50", "", "0.10", "0.25", "120.00%"}));
}

TEST(MinAverageRow, WinningInputShowsItsFactorAndScoreIsOneMinusTheAverage)
{
    RunInputs run = averageRun("MINAV", "IN");
    run.store.MinAvgVariable[2] = 1;
    run.store.MinAvgBest[2] = 0.3;
    run.store.Score[2] = 0.15; // 0.3 over two discretionary variables
    run.solution({0.5, 0.25, 0.5}, {-0.3, 0.0, -0.5});
    EXPECT_EQ(filledRow(run, 2),
              (Row{"    Unit2", "85.00%", "0.50", "0.25", "0.50", "", "70.00%", "0.00", "0.50"}));
}

TEST(MinAverageRow, NoScoreLeavesTheScoreCellEmptyAndFillsTheRest)
{
    RunInputs run = averageRun("MINAV", "IN");
    run.store.NoScore[2] = 1;
    run.store.MinAvgBest[2] = 1e30;
    run.store.Score[2] = 1e30;
    run.solution({0.0, 0.0, 0.0}, {0.0, 0.0, 0.0});
    EXPECT_EQ(filledRow(run, 2), (Row{"    Unit2", "", "0.00", "0.00", "0.00", "", "0.00", "0.00", "0.00"}));
}

TEST(DivisionByZero, NoVirtualOutputLeavesTheOutputWeightEmpty)
{
    RunInputs run = workedRun();
    run.data.OutputData(1, 2) = 0.0;
    EXPECT_EQ(filledRow(run, 2), (Row{"    Unit2", "80.00%", "0.20", "0.10", "", "", "0.00", "0.50", "0.00"}));
}

TEST(DivisionByZero, NoVirtualInputLeavesTheInputWeightsEmpty)
{
    RunInputs run = workedRun();
    run.options.Orientation = ModelOrientation::OUT;
    run.store.Score[2] = 1.25;
    run.solution({0.0, 0.0, 1.0}, {0.0, -0.5, 0.0});
    EXPECT_EQ(filledRow(run, 2), (Row{"    Unit2", "125.00%", "", "", "1.00", "", "0.00", "0.50", "0.00"}));
}

TEST(DivisionByZero, NoVirtualSumLeavesEveryWeightEmpty)
{
    RunInputs run = workedRun();
    run.options.Orientation = ModelOrientation::NON;
    run.store.Score[2] = 0.5;
    run.format.VirtualWeights = true;
    run.solution({0.0, 0.0, 0.0}, {0.0, -0.5, 0.0});
    EXPECT_EQ(filledRow(run, 2), (Row{"    Unit2", "50.00%", "", "", "", "", "0.00", "0.50", "0.00"}));
}

TEST(OutOfRange, ADmuNumberOutsideTheTableWritesNothing)
{
    const RunInputs run = workedRun();
    ResultsTable table(run.data, run.options, run.format);
    const auto before = table.grid().revision();
    table.Showresults(0, run.view(), run.lp);
    table.Showresults(3, run.view(), run.lp);
    table.ShowFDHresults(-1, run.view());
    EXPECT_EQ(table.grid().revision(), before);
}

TEST(OutOfRange, ShortSolutionVectorsReadAsZero)
{
    RunInputs run = workedRun();
    run.options.Superefficiency = true;
    run.lp = LpProblem{};
    EXPECT_EQ(filledRow(run, 2), (Row{"    Unit2", "80.00%", "0.00", "0.00", "0.00", "", "0.00", "0.00", "0.00"}));
}

} // namespace
} // namespace zelvar
