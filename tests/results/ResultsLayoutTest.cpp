#include "RunInputs.h"

#include "results/ResultsFile.h"
#include "results/ResultsTable.h"

#include <gtest/gtest.h>

namespace zelvar {
namespace {

using test::RunInputs;

std::vector<std::string> headerRow(const TextGrid &grid)
{
    std::vector<std::string> headers;
    for (int c = 0; c < grid.cols(); ++c)
        headers.push_back(grid.text(0, c));
    return headers;
}

std::vector<int> widths(const TextGrid &grid)
{
    std::vector<int> result;
    for (int c = 0; c < grid.cols(); ++c)
        result.push_back(grid.columnWidth(c));
    return result;
}

// Two DMUs, one input, one output.
RunInputs oneByOne() { return RunInputs({{1.0}, {2.0}}, {{1.0}, {1.0}}); }

TEST(LpLayout, RadialOneInputOneOutput)
{
    RunInputs run = oneByOne();
    const ResultsTable table(run.data, run.options, run.format);
    const TextGrid &grid = table.grid();
    EXPECT_EQ(headerRow(grid), (std::vector<std::string>{" ", "DMU", "Score", "{I}In1{V}", "{O}Out1{V}",
                                                          "Benchmarks", "{S} {I}In1", "{S} {O}Out1"}));
    EXPECT_EQ(widths(grid), (std::vector<int>{500, 1000, 700, 500, 500, 3000, 500, 500}));
    EXPECT_EQ(grid.rowHeight(0), 1000);
    ASSERT_EQ(grid.rows(), 3);
    EXPECT_EQ(grid.text(1, 0), "1");
    EXPECT_EQ(grid.text(2, 0), "2");
    EXPECT_EQ(table.benchmarksColumn(), 5);
}

TEST(LpLayout, ColumnCountIsTwiceTheVariablesPlusFour)
{
    RunInputs run({{1, 2, 3}}, {{1, 2}});
    const ResultsTable table(run.data, run.options, run.format);
    EXPECT_EQ(table.grid().cols(), 2 * (3 + 2) + 4);
    EXPECT_EQ(table.grid().text(0, 8), "Benchmarks");
    EXPECT_EQ(table.grid().text(0, 13), "{S} {O}Out2");
}

struct SlackHeaderCase {
    const char *distance;
    const char *orientation;
    const char *inputHeader;
    const char *outputHeader;
};

class SlackHeaders : public ::testing::TestWithParam<SlackHeaderCase> {};

TEST_P(SlackHeaders, KindFollowsDistanceAndOrientation)
{
    const SlackHeaderCase &expected = GetParam();
    RunInputs run = oneByOne();
    run.options.Distance = distanceFromCode(expected.distance).value();
    run.options.Orientation = orientationFromCode(expected.orientation).value();
    const ResultsTable table(run.data, run.options, run.format);
    EXPECT_EQ(table.grid().text(0, 6), expected.inputHeader);
    EXPECT_EQ(table.grid().text(0, 7), expected.outputHeader);
}

INSTANTIATE_TEST_SUITE_P(
    AllModels, SlackHeaders,
    ::testing::Values(SlackHeaderCase{"RAD", "NON", "{S} {I}In1", "{S} {O}Out1"},
                      SlackHeaderCase{"ADD", "IN", "{S} {I}In1", "{S} {O}Out1"},
                      SlackHeaderCase{"MAXAV", "IN", "{F} {I}In1", "{S} {O}Out1"},
                      SlackHeaderCase{"MAXAV", "OUT", "{S} {I}In1", "{F} {O}Out1"},
                      SlackHeaderCase{"MAXAV", "NON", "{F} {I}In1", "{F} {O}Out1"},
                      SlackHeaderCase{"MINAV", "IN", "{F/S} {I}In1", "{S} {O}Out1"},
                      SlackHeaderCase{"MINAV", "NON", "{F/S} {I}In1", "{F/S} {O}Out1"}));

TEST(LpLayout, PureWeightsAreMarkedW)
{
    RunInputs run = oneByOne();
    run.format.VirtualWeights = false;
    const ResultsTable table(run.data, run.options, run.format);
    EXPECT_EQ(table.grid().text(0, 3), "{I}In1{W}");
    EXPECT_EQ(table.grid().text(0, 4), "{O}Out1{W}");
}

TEST(LpLayout, WidthsFollowTheDecimals)
{
    RunInputs run = oneByOne();
    run.format.DecScore = 1;
    run.format.DecWeights = 3;
    run.format.DecSlacks = 5;
    const ResultsTable narrow(run.data, run.options, run.format);
    EXPECT_EQ(widths(narrow.grid()), (std::vector<int>{500, 1000, 550, 650, 650, 3000, 950, 950}));

    run.format.DecScore = 8;
    const ResultsTable wide(run.data, run.options, run.format);
    EXPECT_EQ(wide.grid().columnWidth(2), 1600);
}

TEST(LpLayout, NamesHoldingGridSeparatorsStayOneColumnEach)
{
    RunInputs run = oneByOne();
    run.data.InputNames[1] = "{I}Cost|Staff;Rent";
    const ResultsTable table(run.data, run.options, run.format);
    EXPECT_EQ(table.grid().cols(), 8);
    EXPECT_EQ(table.grid().text(0, 3), "{I}Cost|Staff;Rent{V}");
    EXPECT_EQ(table.grid().text(0, 5), "Benchmarks");
}

TEST(LpLayout, LaterChangesOfTheSettingsLeaveTheTableAlone)
{
    RunInputs run = oneByOne();
    const ResultsTable table(run.data, run.options, run.format);
    run.format.VirtualWeights = false;
    run.options.Distance = ModelDistance::MAXAV;
    run.data.InputNames[1] = "{I}Other";
    EXPECT_EQ(table.grid().text(0, 3), "{I}In1{V}");
    EXPECT_EQ(table.grid().text(0, 6), "{S} {I}In1");
}

TEST(LpLayout, ExportedHeaderLineReadsLikeTheTable)
{
    RunInputs run = oneByOne();
    const ResultsTable table(run.data, run.options, run.format);
    EXPECT_EQ(table.grid().blockText(0, 0, 0, 7),
              " \tDMU\tScore\t{I}In1{V}\t{O}Out1{V}\tBenchmarks\t{S} {I}In1\t{S} {O}Out1");
}

TEST(FdhLayout, EightColumnsWhateverTheWeightSettings)
{
    RunInputs run({{1, 2}, {2, 1}, {3, 3}}, {{1}, {1}, {1}});
    run.options.Structure = ModelStructure::FDH;
    run.format.VirtualWeights = false;
    run.format.DecWeights = 7;
    run.format.DecSlacks = 1;
    run.format.DecScore = 3;
    const ResultsTable table(run.data, run.options, run.format);
    const TextGrid &grid = table.grid();
    EXPECT_EQ(headerRow(grid), (std::vector<std::string>{" ", "DMU", "Score", "Benchmarks", "No. Dominated",
                                                          "Dominated", "No. Dominating", "Dominating"}));
    const int dflt = TextGrid::DefaultColumnWidth;
    EXPECT_EQ(widths(grid), (std::vector<int>{500, 1000, 850, dflt, dflt, 3000, dflt, 3000}));
    EXPECT_EQ(grid.rowHeight(0), 1000);
    EXPECT_EQ(grid.rows(), 4);
    EXPECT_EQ(grid.text(3, 0), "3");
    EXPECT_EQ(table.benchmarksColumn(), 3);
}

} // namespace
} // namespace zelvar
