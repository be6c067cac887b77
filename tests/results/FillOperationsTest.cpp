// The four fill operations on runs made by hand; every expected cell worked out by hand.

#include "engine/FdhLists.h"
#include "results/ResultsTable.h"
#include "support/ResultsSupport.h"

#include <gtest/gtest.h>

namespace zelvar::test {
namespace {

// DMU 2's row right after its solve: inputs 3, 4 and output 1 unless `own` says otherwise,
// the weights v1, v2, u and their reduced costs (the slacks).
struct RowCase {
    const char *name;
    const char *model = "CRS_RAD_IN";
    bool super = false, virtualWeights = false;
    std::vector<double> own{3, 4, 1};
    double score = 0.8;
    bool efficient = false, noFiniteOptimum = false, noScore = false;
    int minAvgVariable = 0;
    double minAvgBest = 0;
    std::vector<double> primal{0.2, 0.1, 0.8}, dual{0, -0.5, 0};
    std::int16_t decScore = 2, decWeights = 2, decSlacks = 2;
    const char *separator = ".";
    const char *row = ""; // score|v1|v2|u|benchmarks|slack or factor 1|2|3, after the name
};

// Weights 0.2 and 0.1 give the virtual input 3 * 0.2 + 4 * 0.1 = 1, 0.8 the
// virtual output 0.8. Without superefficiency a radial table divides the output
// weights by the virtual output (input oriented), the input weights by the
// virtual input (output oriented) or every weight by their sum 1.8.
const RowCase RowCases[] = {
    {.name = "radialInputNormalisesTheOutputWeight", .row = "80.00%|0.20|0.10|1.00||0.00|0.50|0.00"},
    {.name = "virtualWeightsAreWeightTimesValue", .virtualWeights = true, .row = "80.00%|0.60|0.40|1.00||0.00|0.50|0.00"},
    {.name = "eachColumnGroupHasItsDecimals", .decScore = 3, .decWeights = 1, .decSlacks = 4,
     .row = "80.000%|0.2|0.1|1.0||0.0000|0.5000|0.0000"},
    {.name = "theLocalesDecimalSeparator", .separator = ",", .row = "80,00%|0,20|0,10|1,00||0,00|0,50|0,00"},
    // Virtual input 3 * 0.4 + 4 * 0.2 = 2.
    {.name = "radialOutputNormalisesTheInputWeights", .model = "CRS_RAD_OUT", .score = 1.25, .primal = {0.4, 0.2, 1.0},
     .row = "125.00%|0.20|0.10|1.00||0.00|0.50|0.00"},
    {.name = "nonOrientedDividesByBothVirtualSums", .model = "CRS_RAD_NON", .score = 0.2,
     .row = "20.00%|0.11|0.06|0.44||0.00|0.50|0.00"},
    {.name = "efficientInputShowsFullEfficiencyAndNoSlacks", .score = 1.0, .efficient = true,
     .row = "100.00%|0.20|0.10|1.00||||"},
    {.name = "efficientNonOrientedShowsZero", .model = "CRS_RAD_NON", .score = -0.3, .efficient = true,
     .row = "0.00%|0.11|0.06|0.44||||"},
    // No finite optimum: score -1, the weights cleared; the output weight's divisor is 0.
    {.name = "noFiniteOptimumShowsFullEfficiencyWithoutSuperefficiency", .score = -1, .efficient = true,
     .noFiniteOptimum = true, .primal = {0, 0, 0}, .row = "100.00%|0.00|0.00|||||"},
    {.name = "noFiniteOptimumShowsBigWithSuperefficiency", .super = true, .score = -1, .efficient = true,
     .noFiniteOptimum = true, .primal = {0, 0, 0}, .row = "big|0.00|0.00|0.00||||"},
    {.name = "superefficientScoreAndWeightsAsComputed", .super = true, .score = 1.23456, .efficient = true,
     .primal = {0.2, 0.1, 1.5}, .row = "123.46%|0.20|0.10|1.50||||"},
    {.name = "aTrueOptimumOfMinusOneIsAScore", .model = "CRS_RAD_NON", .super = true, .score = -1, .efficient = true,
     .row = "-100.00%|0.20|0.10|0.80||||"},
    {.name = "additiveScoreIsTheSlackSum", .model = "CRS_ADD_NON", .score = 3.25, .primal = {1, 1, 2},
     .dual = {-2, -0.25, -1}, .row = "3.25|1.00|1.00|2.00||2.00|0.25|1.00"},
    // Max-average with output 2: factors 1 - slack / input, 1 + slack / output.
    {.name = "maxAverageOutputFactor", .model = "CRS_MAXAV_OUT", .own = {3, 4, 2}, .score = 0.25,
     .primal = {0.5, 0.25, 0.5}, .dual = {-0.5, 0, -1}, .row = "125.00%|0.50|0.25|0.50||0.50|0.00|150.00%"},
    {.name = "maxAverageNonOrientedFactors", .model = "CRS_MAXAV_NON", .own = {3, 4, 2}, .score = 0.3,
     .primal = {0.5, 0.25, 0.5}, .dual = {-1.5, -1, -0.5}, .row = "30.00%|0.50|0.25|0.50||50.00%|75.00%|125.00%"},
    {.name = "maxAverageZeroValueHasNoFactor", .model = "CRS_MAXAV_NON", .own = {0, 4, 0}, .score = 0.3,
     .primal = {0.5, 0.25, 0.5}, .dual = {-1.5, -1, -0.5}, .row = "30.00%|0.50|0.25|0.50|||75.00%|"},
    // Min-average: the winning output's factor 1 + |best|; score best / 3.
    {.name = "minAverageWinningOutput", .model = "CRS_MINAV_NON", .own = {3, 4, 2}, .score = -0.2 / 3,
     .minAvgVariable = 3, .minAvgBest = -0.2, .primal = {0.5, 0.25, 0.5}, .dual = {-0.1, -0.25, -0.4},
     .row = "-6.67%|0.50|0.25|0.50||0.10|0.25|120.00%"},
    {.name = "noScoreLeavesTheScoreEmpty", .model = "CRS_MINAV_IN", .score = 1e30, .noScore = true,
     .minAvgBest = 1e30, .primal = {0, 0, 0}, .dual = {0, 0, 0}, .row = "|0.00|0.00|0.00||0.00|0.00|0.00"},
    {.name = "noVirtualSumLeavesEveryWeightEmpty", .model = "CRS_RAD_NON", .virtualWeights = true, .score = 0.5,
     .primal = {0, 0, 0}, .row = "50.00%|||||0.00|0.50|0.00"},
};

class Showresults : public ::testing::TestWithParam<RowCase> {};

TEST_P(Showresults, fillsTheRowOfItsDmuOnly)
{
    const RowCase &c = GetParam();
    TableRun run({{{1, 1}, {1}}, {{c.own[0], c.own[1]}, {c.own[2]}}});
    run.model(c.model, c.super);
    run.format = {c.decScore, c.decWeights, 2, c.decSlacks, c.virtualWeights};
    run.separator = c.separator;
    run.store.Score[2] = c.score;
    run.store.Efficient[2] = c.efficient;
    run.store.NoFiniteOptimum[2] = c.noFiniteOptimum;
    run.store.NoScore[2] = c.noScore;
    run.store.MinAvgVariable[2] = c.minAvgVariable;
    run.store.MinAvgBest[2] = c.minAvgBest;
    run.solution(c.primal, c.dual);
    ResultsTable table(run.data, run.options, run.format);
    table.Showresults(2, run.view(), run.lp);
    EXPECT_EQ(rowText(table.grid(), 2), std::string("    D2|") + c.row);
    EXPECT_EQ(rowText(table.grid(), 1), "||||||||");
}

INSTANTIATE_TEST_SUITE_P(Rows, Showresults, ::testing::ValuesIn(RowCases),
                         [](const auto &p) { return std::string(p.param.name); });

// A DMU at the end of a run: its lists, what the engine left for it (FDH:
// the DMUs dominating it while it was evaluated, those it dominates), and
// its row and highlight once ShowReferences and WriteNonevaluated have run.
struct EndRow {
    bool eval, tech, efficient;
    double score;
    int references;
    const char *benchmarks;
    int dominating, dominated;
    const char *dominatingList, *dominatedList, *row;
    bool cyan, noScore = false;
};

struct EndCase {
    const char *name;
    const char *model;
    std::vector<Unit> units;
    std::vector<EndRow> rows;
    const char *separator = ".";
    std::int16_t decScore = 2;
};

const EndCase EndCases[] = {
    // LP rows filled with the weights 1 and 0.5 (over the virtual output 0.5:
    // 1.00) and no slacks. D6 only spans the technology but is D2's
    // benchmark; D7 is in neither list.
    {"lpRun", "CRS_RAD_IN", {{{1}, {1}}, {{2}, {1}}, {{2}, {1}}, {{1}, {1}}, {{3}, {1}}, {{1}, {1}}, {{5}, {1}}},
     {{true, true, true, 1, 2, "", 0, 0, "", "", "    D1|100.00%|1.00|1.00|2||", true},
      {true, true, false, 0.5, 0, " 1 (0.50)  6 (0.50) ", 0, 0, "", "", "    D2|50.00%|1.00|1.00| 1 (0.50)  6 (0.50) |0.00|0.00", false},
      {true, true, false, 0.5, 0, " 1 (1.00) ", 0, 0, "", "", "    D3|50.00%|1.00|1.00| 1 (1.00) |0.00|0.00", false},
      {true, true, true, 1, 0, "", 0, 0, "", "", "    D4|100.00%|1.00|1.00|0||", true},
      {false, true, false, 0, 0, "", 0, 0, "", "", "    D5||||||", false},
      {false, true, true, 0, 1, "", 0, 0, "", "", "    D6||||1||", true},
      {false, false, false, 0, 0, "", 0, 0, "", "", "||||||", false}}},
    // D2 (3, 3 | 3) is dominated by D1 (2, 2 | 3), input factor 2/3, and D4
    // (1, 3 | 3), factor 1: benchmark D1. D6 (0, 0 | 1) has no positive
    // input and is dominated by D3 (0, 0 | 2). The lists come from the data;
    // D4 and D5 only span the technology, so they dominate only evaluated DMUs.
    {"fdhRun", "FDH_RAD_IN", {{{2, 2}, {3}}, {{3, 3}, {3}}, {{0, 0}, {2}}, {{1, 3}, {3}}, {{5, 5}, {0.5}}, {{0, 0}, {1}}},
     {{true, true, true, 1, 1, "", 0, 1, "", "  2", "    D1|100,0%|1|0||1|  2", true},
      {true, true, false, 2.0 / 3, 0, "1", 2, 0, "  1  4", "", "    D2|66,7%|1|2|  1  4|0|", false},
      {true, true, true, 1, 0, "", 0, 1, "", "  6", "    D3|100,0%|0|0||1|  6", true},
      {false, true, false, 0, 0, "", 0, 1, "", "  2", "    D4|||||1|  2", false},
      {false, true, false, 0, 0, "", 0, 0, "", "", "    D5|||||0|", false},
      {true, true, false, 0, 0, "no score: no positive input", 1, 0, "  3", "", "    D6||no score: no positive input|1|  3|0|",
       false, true}},
     ",", 1},
};

class EndOfRun : public ::testing::TestWithParam<EndCase> {};

TEST_P(EndOfRun, showsReferenceCountsBenchmarksDominanceListsAndHighlightsEfficientDmus)
{
    const EndCase &c = GetParam();
    TableRun run(c.units);
    run.model(c.model, false);
    run.format = {c.decScore, 2, 2, 2, false};
    run.separator = c.separator;
    run.solution({1, 0.5}, {0, 0});
    ResultsTable table(run.data, run.options, run.format);
    const int n = run.data.NumDMU;
    for (int d = 1; d <= n; ++d) {
        run.eval.select(d, c.rows[static_cast<std::size_t>(d - 1)].eval);
        run.tech.select(d, c.rows[static_cast<std::size_t>(d - 1)].tech);
    }
    auto lists = std::make_shared<FdhLists>(run.data, run.tech);
    run.store.DominanceLists = lists;
    for (int d = 1; d <= n; ++d) {
        const EndRow &r = c.rows[static_cast<std::size_t>(d - 1)];
        const auto dd = static_cast<std::size_t>(d);
        run.store.Efficient[dd] = r.efficient;
        run.store.Score[dd] = r.score;
        run.store.NoScore[dd] = r.noScore;
        run.store.ReferenceCount[dd] = r.references;
        run.store.Benchmarks[dd] = r.benchmarks;
        run.store.DominatedCount[dd] = r.dominated;
        run.store.DominatingCount = r.dominating;
        if (r.eval)
            lists->addEvaluated(d);
        if (r.eval && run.options.fdh())
            table.ShowFDHresults(d, run.view());
        else if (r.eval)
            table.Showresults(d, run.view(), run.lp);
    }
    lists->finish();
    table.ShowReferences(run.view());
    table.WriteNonevaluated(run.view());
    for (int d = 1; d <= n; ++d) {
        const EndRow &r = c.rows[static_cast<std::size_t>(d - 1)];
        EXPECT_EQ(rowText(table.grid(), d), r.row);
        if (run.options.fdh()) { // the hand-worked lists hold for the data
            EXPECT_EQ(lists->dominating(d) + "|" + lists->dominated(d),
                      std::string(r.dominatingList) + "|" + r.dominatedList);
        }
        for (int col = 0; col < table.grid().cols(); ++col)
            EXPECT_EQ(table.grid().colour(d, col), r.cyan && col > 0 ? TextGrid::Cyan : TextGrid::White) << d << "," << col;
    }
}

INSTANTIATE_TEST_SUITE_P(Runs, EndOfRun, ::testing::ValuesIn(EndCases),
                         [](const auto &p) { return std::string(p.param.name); });

} // namespace
} // namespace zelvar::test
