// The books of min-average DMUs; the solver answers each LP by its priced variable.

#include "support/TestSupport.h"

#include "engine/MinAverage.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <tuple>

namespace zelvar {
namespace {

// The answer to the LP of one variable (input i is i, output r is 2 + r).
struct Answer {
    int code = 2;
    double objective = 0.0;
    int referenceRow = 0; // a tight row with this intensity
    double intensity = 0.0;
};

const std::vector<test::Unit> threeDmus{{{2, 4}, {5}}, {{1, 1}, {1}}, {{3, 3}, {3}}};

struct BookCase {
    const char *name;
    const char *model;
    std::vector<test::Unit> units;
    std::vector<int> ndInputs, eval;
    std::map<int, Answer> answers;
    RunOutcome outcome;
    std::vector<int> solved; // the variables of the LPs, in solve order
    int d, variable;         // the DMU whose books are checked, its winning variable (0: none)
    double score;
    const char *benchmarks; // or why there is no score
    std::vector<std::int32_t> references; // of DMUs 1 to 3 at the end
    std::vector<char> flagged;            // efficient at the end
};

const BookCase bookCases[] = {
    {"InputsOnlyDividedByEveryVariable", "CRS_MINAV_IN", threeDmus, {}, {1},
     {{1, {2, 0.6}}, {2, {2, 0.3}}, {3, {2, 0.01}}}, RunOutcome::Completed, {1, 2}, 1, 2, 0.3 / 3, "", {0, 0, 0},
     {0, 0, 0}},
    {"OnATieTheEarlierVariableStays", "CRS_MINAV_IN", threeDmus, {}, {1}, {{1, {2, 0.3}}, {2, {2, 0.3}}},
     RunOutcome::Completed, {1, 2}, 1, 1, 0.1, "", {0, 0, 0}, {0, 0, 0}},
    // Its LP would bound no weight from below, reach 0 and call DMU 1 efficient.
    {"AZeroOwnValueGetsNoLp", "CRS_MINAV_IN", {{{0, 4}, {5}}, {{1, 1}, {1}}, {{3, 3}, {3}}}, {}, {1},
     {{1, {2, 0.0}}, {2, {2, 0.4}}}, RunOutcome::Completed, {2}, 1, 2, 0.4 / 2, "", {0, 0, 0}, {0, 0, 0}},
    {"NonDiscretionaryNeitherCountsNorGetsAnLp", "CRS_MINAV_NON", threeDmus, {2}, {1},
     {{1, {2, 0.5}}, {3, {2, 0.8}}}, RunOutcome::Completed, {1, 3}, 1, 1, 0.5 / 2, "", {0, 0, 0}, {0, 0, 0}},
    // The losing LP's reference keeps the flag it got.
    {"OnlyTheWinningLpsBenchmarksCount", "CRS_MINAV_IN", threeDmus, {}, {1},
     {{1, {2, 0.6, 2, 0.5}}, {2, {2, 0.3, 3, 0.25}}}, RunOutcome::Completed, {1, 2}, 1, 2, 0.1,
     " 3 (0.25000000) ", {0, 0, 1}, {0, 1, 1}},
    {"ReferencesOfEarlierDmusAreKept", "CRS_MINAV_IN", threeDmus, {}, {1, 2},
     {{1, {2, 0.2, 3, 1.0}}, {2, {2, 0.3, 3, 1.0}}}, RunOutcome::Completed, {1, 2, 1, 2}, 2, 1, 0.2 / 3,
     " 3 (1.00000000) ", {0, 0, 2}, {0, 0, 1}},
    {"NoFiniteOptimumIsNoCandidate", "CRS_MINAV_IN", threeDmus, {}, {1}, {{1, {3, std::nan("")}}, {2, {2, 0.3}}},
     RunOutcome::Completed, {1, 2}, 1, 2, 0.1, "", {0, 0, 0}, {0, 0, 0}},
    {"NoSolvedLpLeavesNoScore", "CRS_MINAV_IN", threeDmus, {}, {1, 2}, {{1, {3, 0.0}}, {2, {3, 0.0}}},
     RunOutcome::Completed, {1, 2, 1, 2}, 1, 0, 0.0, MinAvgNoSolution.c_str(), {0, 0, 0}, {0, 0, 0}},
    // Input 1 fails: input 2 is skipped, the output solved (with input 1
    // non-discretionary again), for DMU 1 and DMU 2; the run is incomplete.
    {"AFailureSkipsTheRestOfItsSide", "CRS_MINAV_NON", threeDmus, {}, {1, 2},
     {{1, {2, std::nan("")}}, {2, {2, 0.1}}, {3, {2, 0.6, 2, 1.0}}}, RunOutcome::Incomplete, {1, 3, 1, 3}, 1, 3, 0.2,
     " 2 (1.00000000) ", {0, 1, 0}, {0, 1, 0}},
    {"NoDiscretionaryNonzeroVariable", "CRS_MINAV_NON", {{{2, 4}, {5}}, {{0, 4}, {0}}, {{3, 3}, {3}}}, {2}, {1, 2},
     {{1, {2, 0.2, 3, 1.0}}, {3, {2, 0.4, 3, 1.0}}}, RunOutcome::Completed, {1, 3}, 2, 0, 0.0,
     MinAvgNoVariable.c_str(), {0, 0, 1}, {0, 0, 1}},
    {"NoInputToMeasure", "CRS_MINAV_IN", {{{0, 0}, {5}}, {{1, 1}, {1}}, {{3, 3}, {3}}}, {}, {1}, {},
     RunOutcome::Completed, {}, 1, 0, 0.0, MinAvgNoInput.c_str(), {0, 0, 0}, {0, 0, 0}},
};

class MinAverageBooks : public ::testing::TestWithParam<BookCase> {};

TEST_P(MinAverageBooks, keepTheSmallestOptimumItsBenchmarksAndWhyThereIsNoScore)
{
    const BookCase &c = GetParam();
    test::ModelRun run(test::makeData(c.units, c.ndInputs), c.model);
    run.eval = test::selection(3, c.eval);
    std::vector<int> solved;
    test::ScriptedSolver solver;
    solver.outcome = [&](int, LpProblem &lp) {
        int variable = 0;
        for (int w = 1; w <= 3; ++w)
            if (lp.LowerBound[static_cast<std::size_t>(w)] > 0.0) {
                EXPECT_EQ(variable, 0) << "more than one variable priced";
                variable = w;
            }
        solved.push_back(variable);
        const Answer a = c.answers.count(variable) != 0 ? c.answers.at(variable) : Answer{};
        lp.SolverCode = a.code;
        lp.ObjValue = a.objective;
        std::fill(lp.VarStatus.begin(), lp.VarStatus.end(), 1);
        std::fill(lp.Dual.begin(), lp.Dual.end(), 0.0);
        lp.Primal[1] = variable; // whose solution this is
        if (a.referenceRow > 0) {
            lp.VarStatus[static_cast<std::size_t>(lp.LpCols + a.referenceRow)] = 0;
            lp.Dual[static_cast<std::size_t>(lp.LpCols + a.referenceRow)] = -a.intensity;
        }
    };
    run.driver.setSolver(solver.function());
    EXPECT_EQ(run.run(), c.outcome);
    EXPECT_EQ(solved, c.solved);
    EXPECT_EQ(run.feedback.messages.size(), c.outcome == RunOutcome::Incomplete ? 2u : 0u);
    const auto dd = static_cast<std::size_t>(c.d);
    const test::RowSeen &row = run.results.row(c.d);
    EXPECT_EQ(run.store().MinAvgVariable[dd], c.variable);
    EXPECT_DOUBLE_EQ(row.score, c.score);
    EXPECT_EQ(row.benchmarks, c.benchmarks);
    EXPECT_EQ(std::tuple(row.noScore, row.efficient, row.noFiniteOptimum), std::tuple(c.variable == 0, false, false));
    // The table sees the winning LP's solution, or none.
    EXPECT_EQ(row.primal[1], c.variable);
    EXPECT_EQ(std::vector<std::int32_t>(run.results.referencesAtEnd.begin() + 1, run.results.referencesAtEnd.end()),
              c.references);
    EXPECT_EQ(std::vector<char>(run.results.efficientAtEnd.begin() + 1, run.results.efficientAtEnd.end()), c.flagged);
}

INSTANTIATE_TEST_SUITE_P(ScriptedSolver, MinAverageBooks, ::testing::ValuesIn(bookCases), test::ParamName());

} // namespace
} // namespace zelvar
