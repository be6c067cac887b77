#include "results/ResultsTable.h"
#include "support/ResultsSupport.h"

#include <gtest/gtest.h>

namespace zelvar::test {
namespace {

// Three DMUs with two inputs and one output; the grid's row 0 and column 0.
std::string layout(const char *model, bool virtualWeights, const char *firstInput = "{I}In1")
{
    TableRun run({{{1, 2}, {1}}, {{2, 1}, {1}}, {{3, 3}, {1}}});
    run.data.InputNames[1] = firstInput;
    run.model(model, true);
    run.format.VirtualWeights = virtualWeights;
    const ResultsTable table(run.data, run.options, run.format);
    const TextGrid &grid = table.grid();
    return grid.blockText(0, 0, 0, grid.cols() - 1) + "\n" + grid.blockText(0, 0, grid.rows() - 1, 0);
}

struct LayoutCase {
    const char *model;
    bool virtualWeights;
    const char *headers; // after " |DMU|Score|", "|" between them
};

class ResultsLayout : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(ResultsLayout, hasTheHeadersOfItsModelAndOneRowPerDmu)
{
    const LayoutCase &c = GetParam();
    std::string expected = std::string(" |DMU|Score|") + c.headers + "\n \r1\r2\r3";
    std::replace(expected.begin(), expected.end(), '|', '\t');
    EXPECT_EQ(layout(c.model, c.virtualWeights), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Models, ResultsLayout,
    ::testing::Values(LayoutCase{"CRS_RAD_IN", true, "{I}In1{V}|{I}In2{V}|{O}Out1{V}|Benchmarks|{S} {I}In1|{S} {I}In2|{S} {O}Out1"},
                      LayoutCase{"VRS_RAD_OUT", false, "{I}In1{W}|{I}In2{W}|{O}Out1{W}|Benchmarks|{S} {I}In1|{S} {I}In2|{S} {O}Out1"},
                      LayoutCase{"NIR_RAD_NON", true, "{I}In1{V}|{I}In2{V}|{O}Out1{V}|Benchmarks|{S} {I}In1|{S} {I}In2|{S} {O}Out1"},
                      LayoutCase{"CRS_ADD_IN", true, "{I}In1{V}|{I}In2{V}|{O}Out1{V}|Benchmarks|{S} {I}In1|{S} {I}In2|{S} {O}Out1"},
                      LayoutCase{"NDR_MAXAV_IN", true, "{I}In1{V}|{I}In2{V}|{O}Out1{V}|Benchmarks|{F} {I}In1|{F} {I}In2|{S} {O}Out1"},
                      LayoutCase{"VRS_MAXAV_OUT", true, "{I}In1{V}|{I}In2{V}|{O}Out1{V}|Benchmarks|{S} {I}In1|{S} {I}In2|{F} {O}Out1"},
                      LayoutCase{"CRS_MAXAV_NON", false, "{I}In1{W}|{I}In2{W}|{O}Out1{W}|Benchmarks|{F} {I}In1|{F} {I}In2|{F} {O}Out1"},
                      LayoutCase{"CRS_MINAV_IN", true, "{I}In1{V}|{I}In2{V}|{O}Out1{V}|Benchmarks|{F/S} {I}In1|{F/S} {I}In2|{S} {O}Out1"},
                      LayoutCase{"NIR_MINAV_OUT", true, "{I}In1{V}|{I}In2{V}|{O}Out1{V}|Benchmarks|{S} {I}In1|{S} {I}In2|{F/S} {O}Out1"},
                      LayoutCase{"VRS_MINAV_NON", true, "{I}In1{V}|{I}In2{V}|{O}Out1{V}|Benchmarks|{F/S} {I}In1|{F/S} {I}In2|{F/S} {O}Out1"},
                      LayoutCase{"FDH_RAD_OUT", true, "Benchmarks|No. Dominated|Dominated|No. Dominating|Dominating"}),
    [](const auto &p) { return std::string(p.param.model); });

TEST(ResultsLayout, keepsAColumnNameHoldingTheGridSeparatorsInOneColumn)
{
    EXPECT_EQ(layout("CRS_RAD_IN", true, "{I}a|b;c"), " \tDMU\tScore\t{I}a|b;c{V}\t{I}In2{V}\t{O}Out1{V}\tBenchmarks\t"
                                                    "{S} {I}a|b;c\t{S} {I}In2\t{S} {O}Out1\n \r1\r2\r3");
}

} // namespace
} // namespace zelvar::test
