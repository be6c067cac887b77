#include "support/TestSupport.h"

#include "engine/RunDriver.h"
#include "session/Workspace.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace zelvar {
namespace {

using test::Unit;

// A radial run over units whose LPs go to a scripted solver that reports an
// optimum of -0.5 with no reference unless told otherwise.
class RunDriverTest : public ::testing::Test {
protected:
    void load(const std::vector<Unit> &units)
    {
        workspace.data = test::makeData(units);
        eval = SelectionSet(workspace.data.NumDMU, true);
        tech = SelectionSet(workspace.data.NumDMU, true);
    }
    RunOutcome run()
    {
        results = test::RecordingResults();
        progress = test::RecordingProgress{};
        progress.cancelAfter = cancelAfter;
        driver.setSolver(solver.function());
        return driver.RunModel(eval, tech, results, progress, feedback);
    }

    static std::vector<Unit> units(int count)
    {
        std::vector<Unit> result;
        for (int d = 1; d <= count; ++d)
            result.push_back(Unit{{static_cast<double>(d)}, {1.0}});
        return result;
    }

    RunDriverTest()
    {
        solver.outcome = [](int, LpProblem &lp) {
            lp.SolverCode = 2;
            lp.ObjValue = -0.5;
        };
    }

    Workspace workspace;
    RunDriver driver{workspace};
    SelectionSet eval;
    SelectionSet tech;
    test::RecordingResults results;
    test::RecordingProgress progress;
    test::RecordingFeedback feedback;
    test::ScriptedSolver solver;
    int cancelAfter = -1;
};

TEST_F(RunDriverTest, threeDmusShowTheirProgressAndRowsInOrder)
{
    load(units(3));
    EXPECT_EQ(run(), RunOutcome::Completed);
    EXPECT_EQ(solver.solves, 3);
    EXPECT_EQ(progress.events,
              (std::vector<std::string>{"show 3", "repaint", "progress 1 33% completed.", "repaint",
                                        "progress 2 67% completed.", "repaint",
                                        "progress 3 100% completed.", "close"}));
    EXPECT_EQ(results.calls,
              (std::vector<std::string>{"redraw off", "Showresults 1", "Showresults 2", "Showresults 3",
                                        "ShowReferences", "WriteNonevaluated", "redraw on"}));
    EXPECT_TRUE(feedback.messages.empty());
}

TEST_F(RunDriverTest, progressCountsOnlyEvaluatedDmusAndRepaintsForEveryDmu)
{
    load(units(6));
    eval = test::selection(6, {1, 3, 4, 5, 6});
    run();
    EXPECT_EQ(progress.events,
              (std::vector<std::string>{"show 5", "repaint", "progress 1 20% completed.", "repaint",
                                        "repaint", "progress 2 40% completed.", "repaint",
                                        "progress 3 60% completed.", "repaint",
                                        "progress 4 80% completed.", "repaint",
                                        "progress 5 100% completed.", "close"}));
    EXPECT_FALSE(results.hasRow(2));
}

TEST_F(RunDriverTest, aDmuOutsideTheTechnologyJoinsItForItsOwnEvaluationAndIsMarked)
{
    load(units(4));
    tech = test::selection(4, {1, 3, 4});
    run();
    EXPECT_EQ(results.row(2).name, "{X} D2");
    EXPECT_TRUE(results.row(2).techSelected);
    EXPECT_EQ(results.row(1).name, "    D1");
    EXPECT_EQ(workspace.data.DMUNames[2], "{X} D2");
    EXPECT_EQ(tech, test::selection(4, {1, 3, 4}));
    EXPECT_EQ(results.techAtEnd, test::selection(4, {1, 3, 4}));

    // A second run blanks the old marks first.
    tech = test::selection(4, {1, 2, 3});
    run();
    EXPECT_EQ(workspace.data.DMUNames[2], "    D2");
    EXPECT_EQ(workspace.data.DMUNames[4], "{X} D4");
}

TEST_F(RunDriverTest, theTechnologyOfEachDmuIsSetUpWithTheDmuInIt)
{
    load(units(5));
    tech = test::selection(5, {1, 3, 5});
    eval = test::selection(5, {4});
    std::vector<int> rows;
    solver.outcome = [&](int, LpProblem &lp) {
        rows.push_back(lp.LpRows);
        lp.SolverCode = 2;
        lp.ObjValue = -1;
    };
    run();
    EXPECT_EQ(rows, std::vector<int>{4});
    EXPECT_EQ(driver.technology().TechDmu, (std::vector<std::int32_t>{0, 1, 3, 4, 5}));
    EXPECT_EQ(driver.technology().TechPos[4], 3);
}

TEST_F(RunDriverTest, aSolverFailureStopsTheLoopButTheRunEndsProperly)
{
    load(units(5));
    tech = test::selection(5, {1, 3, 4, 5}); // DMU 2 is evaluated outside
    solver.outcome = [](int solve, LpProblem &lp) {
        lp.SolverCode = 2;
        lp.ObjValue = solve == 2 ? std::numeric_limits<double>::quiet_NaN() : -0.5;
    };
    EXPECT_EQ(run(), RunOutcome::Stopped);
    EXPECT_EQ(solver.solves, 2);
    EXPECT_EQ(results.calls, (std::vector<std::string>{"redraw off", "Showresults 1", "ShowReferences",
                                                       "WriteNonevaluated", "redraw on"}));
    EXPECT_EQ(progress.events.back(), "close");
    ASSERT_EQ(feedback.messages.size(), 1u);
    EXPECT_EQ(feedback.messages[0].substr(0, 25), "Solver error for DMU 2. R");
    EXPECT_EQ(tech, test::selection(5, {1, 3, 4, 5}));
    EXPECT_EQ(driver.store().Score[1], 0.5);
    for (std::size_t d = 3; d <= 5; ++d)
        EXPECT_EQ(driver.store().Score[d], 0.0);
}

TEST_F(RunDriverTest, cancelOnAnotherCodeStopsAndOkGoesOn)
{
    load(units(3));
    solver.outcome = [](int solve, LpProblem &lp) {
        lp.SolverCode = solve == 1 ? 4 : 2;
        lp.ObjValue = -0.5;
    };
    feedback.confirmAnswer = true;
    EXPECT_EQ(run(), RunOutcome::Incomplete);
    EXPECT_EQ(feedback.confirms, (std::vector<std::string>{"DMU 1 error code: 4\ntest.txt"}));
    EXPECT_EQ(results.rows.size(), 3u);

    feedback = test::RecordingFeedback();
    feedback.confirmAnswer = false;
    solver.solves = 0;
    EXPECT_EQ(run(), RunOutcome::Stopped);
    EXPECT_TRUE(results.rows.empty());
}

TEST_F(RunDriverTest, noFiniteOptimumIsSilentAndTheRunGoesOn)
{
    load(units(3));
    solver.outcome = [](int solve, LpProblem &lp) {
        lp.SolverCode = solve == 2 ? 3 : 2;
        lp.ObjValue = -0.5;
    };
    EXPECT_EQ(run(), RunOutcome::Completed);
    EXPECT_TRUE(feedback.messages.empty());
    EXPECT_EQ(results.row(2).score, -1.0);
    EXPECT_TRUE(results.row(2).noFiniteOptimum);
    EXPECT_TRUE(results.row(2).efficient);
    EXPECT_FALSE(results.row(1).noFiniteOptimum);
}

TEST_F(RunDriverTest, theProgressWindowsStopRequestEndsTheLoop)
{
    load(units(5));
    cancelAfter = 2;
    EXPECT_EQ(run(), RunOutcome::Stopped);
    EXPECT_EQ(solver.solves, 2);
    EXPECT_EQ(results.calls, (std::vector<std::string>{"redraw off", "Showresults 1", "Showresults 2",
                                                       "ShowReferences", "WriteNonevaluated",
                                                       "redraw on"}));
    EXPECT_EQ(progress.events.back(), "close");
}

TEST_F(RunDriverTest, withoutDataNothingHappensButTheMessage)
{
    EXPECT_EQ(run(), RunOutcome::NoData);
    EXPECT_EQ(feedback.messages, (std::vector<std::string>{"Can't run without input output data."}));
    EXPECT_TRUE(progress.events.empty());
    EXPECT_TRUE(results.calls.empty());
    EXPECT_EQ(solver.solves, 0);

    load(units(2));
    workspace.data.NumOutputs = 0;
    feedback = test::RecordingFeedback();
    EXPECT_EQ(run(), RunOutcome::NoData);
    EXPECT_EQ(feedback.messages, (std::vector<std::string>{"Can't run without input output data."}));
    EXPECT_TRUE(progress.events.empty());
}

TEST_F(RunDriverTest, weightsOfAnotherDataSetAreRefusedWithTheirCounts)
{
    load(units(3));
    test::addWeights(workspace.data, {{1, -1, 0}}, "other.xls");
    workspace.options.RestrictWeights = true;
    EXPECT_EQ(run(), RunOutcome::NoData);
    ASSERT_EQ(feedback.messages.size(), 1u);
    const std::string &text = feedback.messages[0];
    EXPECT_NE(text.find("other.xls"), std::string::npos) << text;
    EXPECT_NE(text.find("3 weight columns"), std::string::npos) << text;
    EXPECT_NE(text.find("2 inputs and outputs"), std::string::npos) << text;
    EXPECT_TRUE(progress.events.empty());
    EXPECT_EQ(solver.solves, 0);

    // Not restricting: the table is ignored and the LPs have the DMU rows only.
    workspace.options.RestrictWeights = false;
    std::vector<int> rows;
    solver.outcome = [&](int, LpProblem &lp) {
        rows.push_back(lp.LpRows);
        lp.SolverCode = 2;
        lp.ObjValue = -1;
    };
    EXPECT_EQ(run(), RunOutcome::Completed);
    EXPECT_EQ(rows, (std::vector<int>{3, 3, 3}));

    // FDH never reads the weights.
    workspace.options.RestrictWeights = true;
    workspace.options.Structure = ModelStructure::FDH;
    EXPECT_EQ(run(), RunOutcome::Completed);
}

TEST_F(RunDriverTest, fittingWeightsAddTheirRows)
{
    load(units(3));
    test::addWeights(workspace.data, {{1, -1}, {2, -1}});
    workspace.options.RestrictWeights = true;
    std::vector<int> rows;
    solver.outcome = [&](int, LpProblem &lp) {
        rows.push_back(lp.LpRows);
        lp.SolverCode = 2;
        lp.ObjValue = -1;
    };
    EXPECT_EQ(run(), RunOutcome::Completed);
    EXPECT_EQ(rows, (std::vector<int>{5, 5, 5}));
}

TEST_F(RunDriverTest, eachRunStartsFromAFreshStore)
{
    load(units(3));
    run();
    EXPECT_EQ(driver.store().Score[3], 0.5);
    eval = test::selection(3, {1});
    run();
    EXPECT_EQ(driver.store().Score[3], 0.0);
    EXPECT_EQ(driver.store().Benchmarks[3], "");
    EXPECT_EQ(driver.store().MinAvgBest, (std::vector<double>{0, 0, 0, 0}));
    EXPECT_EQ(driver.store().MinAvgVariable, (std::vector<std::int32_t>{0, 0, 0, 0}));
}

TEST_F(RunDriverTest, theEfficientFlagIsClearedBeforeEachDmu)
{
    // DMU 1's LP names DMU 2 as its reference (flagging it); DMU 2's own LP
    // then finds it inefficient, which clears the flag.
    load(units(3));
    solver.outcome = [](int solve, LpProblem &lp) {
        lp.SolverCode = 2;
        lp.ObjValue = -0.5;
        const auto n = static_cast<std::size_t>(lp.LpCols);
        if (solve == 1) {
            lp.Dual[n + 2] = -1.0;
            lp.VarStatus[n + 2] = 0;
        }
    };
    run();
    EXPECT_EQ(results.row(1).benchmarks, " 2 (1.00) ");
    EXPECT_FALSE(results.efficientAtEnd[2]);
    EXPECT_EQ(results.referencesAtEnd[2], 1);
}

} // namespace
} // namespace zelvar
