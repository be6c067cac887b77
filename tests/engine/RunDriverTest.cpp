// The run driver's walk over the DMUs: rows and progress in DMU order, where a
// solver failure or Cancel stops it (either method, any threads), refusals, marks.

#include "support/TestSupport.h"

#include "engine/LpOutcome.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

namespace zelvar {
namespace {

// DMU d uses d of the input for one of the output.
DataSet ladder(int count)
{
    std::vector<test::Unit> units;
    for (int d = 1; d <= count; ++d)
        units.push_back({{static_cast<double>(d)}, {1.0}});
    return test::makeData(units);
}

constexpr int NaNOptimum = -2; // "optimal" without a number

struct WalkCase {
    const char *name;
    int count;
    std::vector<int> notEvaluated, outside; // of the technology
    std::map<int, int> codes;               // the solver's code for a DMU's LP; optimal if none
    int cancelAfter;
    bool confirmAnswer;
    RunOutcome outcome;
    int lastRow; // the last DMU with a row
    std::vector<std::string> messages, confirms;
    std::vector<std::string> progress; // empty: not checked but for "close" last
};

const WalkCase walkCases[] = {
    {"ThreeDmusInOrder", 3, {}, {}, {}, -1, true, RunOutcome::Completed, 3, {}, {},
     {"show 3", "repaint", "progress 1 33% completed.", "repaint", "progress 2 67% completed.", "repaint",
      "progress 3 100% completed.", "close"}},
    {"ProgressCountsTheEvaluatedAndRepaintsForEvery", 6, {2}, {}, {}, -1, true, RunOutcome::Completed, 6, {}, {},
     {"show 5", "repaint", "progress 1 20% completed.", "repaint", "repaint", "progress 2 40% completed.", "repaint",
      "progress 3 60% completed.", "repaint", "progress 4 80% completed.", "repaint", "progress 5 100% completed.",
      "close"}},
    {"ANaNOptimumStopsAtItsDmu", 5, {}, {2}, {{2, NaNOptimum}}, -1, true, RunOutcome::Stopped, 1,
     {"Solver error for DMU 2. Remove it from the set of DMUs to evaluate, or add the line\n\rSMETHOD1 = 0.\n\r"
      "before END_OPT in the file bpmpd.par and try again.\ntest.txt"},
     {}, {}},
    {"AnotherCodeWithOkGoesOnIncomplete", 3, {}, {}, {{1, 4}}, -1, true, RunOutcome::Incomplete, 3, {},
     {"DMU 1 error code: 4\ntest.txt"}, {}},
    {"NoFiniteOptimumIsSilent", 3, {}, {}, {{2, 3}}, -1, true, RunOutcome::Completed, 3, {}, {}, {}},
    // Several chunks of DMUs, which threads may have solved far beyond the stop.
    {"ALateFailureWithCancel", 300, {10}, {20}, {{200, 7}}, -1, false, RunOutcome::Stopped, 199, {},
     {"DMU 200 error code: 7\ntest.txt"}, {}},
    {"AnEarlyFailureWithOk", 300, {10}, {20}, {{70, 5}}, -1, true, RunOutcome::Incomplete, 300, {},
     {"DMU 70 error code: 5\ntest.txt"}, {}},
    {"TheUsersCancelAfterAHundred", 300, {10}, {20}, {}, 100, true, RunOutcome::Stopped, 101, {}, {}, {}},
};

// threads 0: the full LPs, solved by a script; else the restricted LPs on
// that many threads, their outcomes changed as the script says.
class Walk : public ::testing::TestWithParam<std::tuple<WalkCase, int>> {};

TEST_P(Walk, showsRowsAndProgressInDmuOrderAndStopsWhereTheSolverOrTheUserSays)
{
    const auto &[c, threads] = GetParam();
    test::ModelRun run(ladder(c.count), "CRS_RAD_IN", std::max(threads, 1));
    for (int d : c.notEvaluated)
        run.eval.select(d, false);
    for (int d : c.outside)
        run.tech.select(d, false);
    const SelectionSet tech = run.tech;
    run.progress.cancelAfter = c.cancelAfter;
    run.feedback.confirmAnswer = c.confirmAnswer;
    auto code = [&c = c](int d) { return c.codes.count(d) != 0 ? c.codes.at(d) : 2; };
    std::vector<int> evaluated;
    for (int d = 1; d <= c.count; ++d)
        if (run.eval.selected(d))
            evaluated.push_back(d);
    test::ScriptedSolver solver;
    std::vector<int> lpRows;
    if (threads == 0) {
        solver.outcome = [&](int solve, LpProblem &lp) {
            const int answer = code(evaluated[static_cast<std::size_t>(solve - 1)]);
            lp.SolverCode = answer == NaNOptimum ? 2 : answer;
            lp.ObjValue = answer == NaNOptimum ? std::nan("") : -0.5;
            lpRows.push_back(lp.LpRows);
        };
        run.driver.setSolver(solver.function());
    } else {
        run.driver.setOutcomeFilter([&](int d, LpOutcome &outcome) {
            if (code(d) == NaNOptimum)
                outcome.objective = std::nan("");
            else if (code(d) != 2)
                outcome.clear(static_cast<int>(outcome.primal.size()) - 1, 0, code(d));
        });
    }
    EXPECT_EQ(run.run(), c.outcome);
    std::vector<int> shown(evaluated.begin(), std::upper_bound(evaluated.begin(), evaluated.end(), c.lastRow));
    EXPECT_EQ(run.results.calls, test::RecordingResults::callsFor(shown));
    EXPECT_EQ(std::tie(run.feedback.messages, run.feedback.confirms), std::tie(c.messages, c.confirms));
    EXPECT_EQ(c.progress.empty() ? c.progress : run.progress.events, c.progress);
    EXPECT_EQ(run.progress.events.back(), "close");
    // The technology is back as it was; each LP held it and the evaluated
    // DMU, which is marked when it comes from outside.
    EXPECT_EQ(run.tech, tech);
    for (std::size_t k = 0; k < lpRows.size(); ++k)
        EXPECT_EQ(lpRows[k], tech.selectedCount() + (tech.selected(evaluated[k]) ? 0 : 1)) << "DMU " << evaluated[k];
    for (const test::RowSeen &row : run.results.rows) {
        EXPECT_EQ(std::tuple(row.techSelected, row.noFiniteOptimum, row.name.substr(0, 3)),
                  std::tuple(true, code(row.d) == 3, tech.selected(row.d) ? "   " : "{X}"));
        if (threads == 0 || code(row.d) != 2) { // the scripted score, or none
            EXPECT_EQ(row.score, code(row.d) == 2 ? 0.5 : code(row.d) == 3 ? -1.0 : 0.0) << "DMU " << row.d;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(FullLpAndOneToThreeThreads, Walk,
                         ::testing::Combine(::testing::ValuesIn(walkCases), ::testing::Values(0, 1, 2, 3)),
                         [](const auto &p) {
                             const int threads = std::get<1>(p.param);
                             return std::string(std::get<0>(p.param).name)
                                 + (threads == 0 ? "FullLp" : "Threads" + std::to_string(threads));
                         });

// Inputs 1..count in an order unlike the DMUs' own, for one unit of output:
// under constant returns DMU d scores 1 / scrambledInput(d, count), and the
// DMU with an input of 1 scores 2 (superefficiency: against an input of 2).
double scrambledInput(int d, int count)
{
    return 1.0 + static_cast<double>((static_cast<long long>(d) * 7919) % count); // 7919: prime, not 2 or 5
}

// More evaluated DMUs than the run solves at once in an order of its own:
// each lot is solved in an order of neighbours in space, and its rows are
// shown in DMU order. Cancel is heard while the first lot is being solved.
struct BlockCase {
    const char *name;
    int cancelAfterRepaints;
    RunOutcome outcome;
    std::size_t rows;
};

constexpr int ManyDmus = 1000;
constexpr int LotSize = 256; // four chunks; the last lot is short
const BlockCase blockCases[] = {
    {"EveryRowInDmuOrderWithItsOwnScore", -1, RunOutcome::Completed, ManyDmus - 1},
    {"CancelWhileTheFirstLotIsSolved", 3, RunOutcome::Stopped, 0},
};

class Blocks : public ::testing::TestWithParam<std::tuple<BlockCase, int>> {};

TEST_P(Blocks, showEachDmusOwnRowInDmuOrderAndHearCancel)
{
    const auto &[c, threads] = GetParam();
    std::vector<test::Unit> units;
    for (int d = 1; d <= ManyDmus; ++d)
        units.push_back({{scrambledInput(d, ManyDmus)}, {1.0}});
    test::ModelRun run(test::makeData(units), "CRS_RAD_IN", threads);
    run.driver.setBlockSize(LotSize);
    run.results.keepLp = false;
    run.eval.select(10, false);
    run.tech.select(20, false);
    run.progress.cancelAfterRepaints = c.cancelAfterRepaints;
    EXPECT_EQ(run.run(), c.outcome);
    ASSERT_EQ(run.results.rows.size(), c.rows);
    int previous = 0;
    for (const test::RowSeen &row : run.results.rows) {
        ASSERT_GT(row.d, previous);
        previous = row.d;
        const double input = scrambledInput(row.d, ManyDmus);
        EXPECT_NEAR(row.score, input == 1.0 ? 2.0 : 1.0 / input, 1e-12) << "DMU " << row.d;
    }
    EXPECT_EQ(run.progress.events.back(), "close");
}

INSTANTIATE_TEST_SUITE_P(OneToThreeThreads, Blocks,
                         ::testing::Combine(::testing::ValuesIn(blockCases), ::testing::Values(1, 2, 3)),
                         [](const auto &p) {
                             return std::string(std::get<0>(p.param).name) + "Threads"
                                 + std::to_string(std::get<1>(p.param));
                         });

struct RefusalCase {
    const char *name;
    void (*spoil)(test::ModelRun &);
    const char *message;
};

const RefusalCase refusals[] = {
    {"NoData", [](test::ModelRun &run) { run.workspace.data = DataSet(); }, "Can't run without input output data."},
    {"SelectionsOfAnotherDataSet", [](test::ModelRun &run) { run.eval = SelectionSet(4, true); },
     "The DMU selections do not match the data set of 3 DMUs. Choose the DMUs again."},
    {"NoRestrictionsLoaded", [](test::ModelRun &run) { run.workspace.options.RestrictWeights = true; },
     "Weights cannot be restricted: no weight restrictions are loaded."},
    {"RestrictionsOfAnotherDataSet",
     [](test::ModelRun &run) {
         test::addWeights(run.workspace.data, {{1, -1, 0}}, "other.xls");
         run.workspace.options.RestrictWeights = true;
     },
     "The weight restrictions in other.xls have 3 weight columns, but the data set has 2 inputs and outputs "
     "(1 + 1). Load the weight restrictions of this data set, or run without restricting the weights."},
};

class Refusals : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(Refusals, computeAndShowNothingButTheMessage)
{
    test::ModelRun run(ladder(3));
    GetParam().spoil(run);
    EXPECT_EQ(run.run(), RunOutcome::NoData);
    EXPECT_EQ(run.feedback.messages, std::vector<std::string>{GetParam().message});
    EXPECT_TRUE(run.progress.events.empty() && run.results.calls.empty());
}

INSTANTIATE_TEST_SUITE_P(Runs, Refusals, ::testing::ValuesIn(refusals), test::ParamName());

TEST(RunDriver, aReferenceFlaggedEarlierIsClearedWhenItsOwnLpFindsItInefficient)
{
    // DMU 1's LP names DMU 2 (row 2) as its reference; DMU 2's own LP finds
    // it inefficient (a score of 0.5).
    test::ModelRun run(ladder(3));
    test::ScriptedSolver solver;
    solver.outcome = [](int solve, LpProblem &lp) {
        lp.SolverCode = 2;
        lp.ObjValue = -0.5;
        lp.Dual[static_cast<std::size_t>(lp.LpCols) + 2] = solve == 1 ? -1.0 : 0.0;
        lp.VarStatus[static_cast<std::size_t>(lp.LpCols) + 2] = solve == 1 ? 0 : 1;
    };
    run.driver.setSolver(solver.function());
    run.run();
    EXPECT_EQ(run.results.row(1).benchmarks, " 2 (1.00000000) ");
    EXPECT_FALSE(run.results.efficientAtEnd[2]);
    EXPECT_EQ(run.results.referencesAtEnd[2], 1);
}

TEST(RunDriver, aLaterRunBlanksTheMarksAndStartsFromAFreshStore)
{
    test::ModelRun run(ladder(4)); // DMU 3 scores 1/3 against DMU 1
    run.tech = test::selection(4, {1, 3, 4});
    run.run();
    EXPECT_EQ(run.workspace.data.DMUNames[2], "{X} D2");
    EXPECT_NEAR(run.store().Score[3], 1.0 / 3, 1e-12);
    run.tech = test::selection(4, {1, 2, 3});
    run.eval = test::selection(4, {1, 2, 4});
    run.run();
    EXPECT_EQ(run.workspace.data.DMUNames[2], "    D2");
    EXPECT_EQ(run.workspace.data.DMUNames[4], "{X} D4");
    EXPECT_EQ(run.store().Score[3], 0.0);
}

} // namespace
} // namespace zelvar
