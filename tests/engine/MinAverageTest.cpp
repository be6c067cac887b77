#include "support/TestSupport.h"

#include "engine/RunDriver.h"
#include "session/Workspace.h"

#include <gtest/gtest.h>

#include <limits>
#include <map>

namespace zelvar {
namespace {

using test::Unit;

// What the scripted solver answers for the single-variable LP of one
// variable (input i is i, output r is NumInputs + r).
struct Answer {
    int code = 2;
    double objective = 0.0;
    int referenceRow = 0; // a row with a positive intensity
    double intensity = 0.0;
};

// A min-average run of DMU 1 (and others when selected) whose LPs go to a
// solver answering by the LP's one priced variable.
class MinAverageTest : public ::testing::Test {
protected:
    MinAverageTest()
    {
        workspace.options.Distance = ModelDistance::MINAV;
        solver.outcome = [this](int, LpProblem &lp) {
            const int weights = workspace.data.NumInputs + workspace.data.NumOutputs;
            int variable = 0;
            for (int c = 1; c <= weights; ++c)
                if (lp.LowerBound[static_cast<std::size_t>(c)] > 0.0) {
                    EXPECT_EQ(variable, 0) << "more than one variable priced";
                    variable = c;
                }
            variables.push_back(variable);
            const Answer a = answers[variable];
            lp.SolverCode = a.code;
            lp.ObjValue = a.objective;
            std::fill(lp.VarStatus.begin(), lp.VarStatus.end(), 1);
            std::fill(lp.Dual.begin(), lp.Dual.end(), 0.0);
            lp.Primal[1] = variable; // marks whose solution this is
            if (a.referenceRow > 0) {
                const auto k = static_cast<std::size_t>(lp.LpCols + a.referenceRow);
                lp.VarStatus[k] = 0;
                lp.Dual[k] = -a.intensity;
            }
        };
    }

    void load(const std::vector<Unit> &units, std::vector<int> ndInputs = {})
    {
        workspace.data = test::makeData(units, ndInputs);
        eval = test::selection(workspace.data.NumDMU, {1});
        tech = SelectionSet(workspace.data.NumDMU, true);
    }

    RunOutcome run(const char *orientation)
    {
        workspace.options.Orientation = orientationFromCode(orientation).value();
        driver.setSolver(solver.function());
        return driver.RunModel(eval, tech, results, progress, feedback);
    }

    const ResultStore &store() const { return driver.store(); }

    Workspace workspace;
    RunDriver driver{workspace};
    SelectionSet eval;
    SelectionSet tech;
    test::RecordingResults results;
    test::RecordingProgress progress;
    test::RecordingFeedback feedback;
    test::ScriptedSolver solver;
    std::map<int, Answer> answers;
    std::vector<int> variables;
};

const std::vector<Unit> threeUnits{{{2, 4}, {5}}, {{1, 1}, {1}}, {{3, 3}, {3}}};

TEST_F(MinAverageTest, inputOrientationSolvesOneLpPerInputAndDividesByAllVariables)
{
    load(threeUnits);
    answers[1] = {2, 0.6};
    answers[2] = {2, 0.3};
    answers[3] = {2, 0.01};
    EXPECT_EQ(run("IN"), RunOutcome::Completed);
    EXPECT_EQ(variables, (std::vector<int>{1, 2}));
    EXPECT_DOUBLE_EQ(store().Score[1], 0.3 / 3);
    EXPECT_EQ(store().MinAvgBest[1], 0.3);
    EXPECT_EQ(store().MinAvgVariable[1], 2);
    EXPECT_EQ(results.row(1).primal[1], 2.0); // the table sees the winning LP
}

TEST_F(MinAverageTest, nonOrientedSolvesInputsThenOutputs)
{
    load(threeUnits);
    answers[1] = {2, 0.6};
    answers[2] = {2, 0.3};
    answers[3] = {2, 0.15};
    run("NON");
    EXPECT_EQ(variables, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(store().MinAvgVariable[1], 3);
    EXPECT_DOUBLE_EQ(store().Score[1], 0.05);

    variables.clear();
    run("OUT");
    EXPECT_EQ(variables, (std::vector<int>{3}));
}

TEST_F(MinAverageTest, onATieTheEarlierVariableStays)
{
    load(threeUnits);
    answers[1] = {2, 0.3};
    answers[2] = {2, 0.3};
    run("IN");
    EXPECT_EQ(store().MinAvgVariable[1], 1);
}

TEST_F(MinAverageTest, aVariableWithAZeroOwnValueGetsNoLp)
{
    // Its LP would bound no weight from below, reach 0 and call DMU 1 efficient.
    load({{{0, 4}, {5}}, {{1, 1}, {1}}, {{3, 3}, {3}}});
    answers[1] = {2, 0.0};
    answers[2] = {2, 0.4};
    run("IN");
    EXPECT_EQ(variables, (std::vector<int>{2}));
    EXPECT_DOUBLE_EQ(store().Score[1], 0.4 / 2);
    EXPECT_FALSE(store().Efficient[1]);
}

TEST_F(MinAverageTest, nonDiscretionaryVariablesNeitherCountNorGetAnLp)
{
    load(threeUnits, {2});
    answers[1] = {2, 0.5};
    answers[3] = {2, 0.8};
    run("NON");
    EXPECT_EQ(variables, (std::vector<int>{1, 3}));
    EXPECT_DOUBLE_EQ(store().Score[1], 0.5 / 2);
    EXPECT_EQ(workspace.data.InputNonDisc, (std::vector<std::int16_t>{0, 0, 1}));
}

TEST_F(MinAverageTest, onlyTheWinningLpsBenchmarksAndReferencesRemain)
{
    load(threeUnits);
    answers[1] = {2, 0.6, 2, 0.5};
    answers[2] = {2, 0.3, 3, 0.25};
    run("IN");
    EXPECT_EQ(store().Benchmarks[1], " 3 (0.25) ");
    EXPECT_EQ(store().ReferenceCount[2], 0);
    EXPECT_EQ(store().ReferenceCount[3], 1);
    // The losing LP's reference keeps the flag it got.
    EXPECT_TRUE(store().Efficient[2]);
    EXPECT_EQ(results.row(1).dual[static_cast<std::size_t>(3 + 3)], -0.25);
}

TEST_F(MinAverageTest, referencesOfEarlierDmusAreKept)
{
    load(threeUnits);
    eval = test::selection(3, {1, 2});
    answers[1] = {2, 0.2, 3, 1.0};
    answers[2] = {2, 0.3, 3, 1.0};
    run("IN");
    EXPECT_EQ(store().ReferenceCount[3], 2);
    EXPECT_EQ(store().Benchmarks[2], " 3 (1.00) ");
}

TEST_F(MinAverageTest, anLpWithoutAFiniteOptimumIsNoCandidate)
{
    load(threeUnits);
    answers[1] = {3, std::numeric_limits<double>::quiet_NaN()};
    answers[2] = {2, 0.3};
    run("IN");
    EXPECT_EQ(store().MinAvgVariable[1], 2);
    EXPECT_DOUBLE_EQ(store().Score[1], 0.1);
    EXPECT_FALSE(store().Efficient[1]);
    EXPECT_FALSE(store().NoFiniteOptimum[1]);
}

TEST_F(MinAverageTest, noSolvedLpLeavesTheScoreEmptyWithAReason)
{
    load(threeUnits);
    eval = test::selection(3, {1, 2});
    answers[1] = {3, 0.0};
    answers[2] = {3, 0.0};
    EXPECT_EQ(run("IN"), RunOutcome::Completed);
    const test::RowSeen &row = results.row(1);
    EXPECT_TRUE(row.noScore);
    EXPECT_EQ(row.score, 0.0);
    EXPECT_FALSE(row.efficient);
    EXPECT_FALSE(row.noFiniteOptimum);
    EXPECT_EQ(row.benchmarks, MinAvgNoSolution);
    EXPECT_EQ(store().MinAvgVariable[1], 0);
    EXPECT_EQ(results.calls[1], "Showresults 1");
    EXPECT_TRUE(results.hasRow(2));
}

TEST_F(MinAverageTest, aSolverFailureSkipsTheRemainingInputsButNotTheOutputsNorTheRun)
{
    load(threeUnits);
    eval = test::selection(3, {1, 2});
    answers[1] = {2, std::numeric_limits<double>::quiet_NaN()};
    answers[2] = {2, 0.1};
    answers[3] = {2, 0.6, 2, 1.0};
    // The run goes on, but DMUs were left without the LPs of a variable.
    EXPECT_EQ(run("NON"), RunOutcome::Incomplete);
    // DMU 1: input 1 fails, input 2 skipped, output solved; DMU 2 likewise.
    // The failed input is non-discretionary again in the output's LP (the
    // solver above checks that each LP prices one variable only).
    EXPECT_EQ(variables, (std::vector<int>{1, 3, 1, 3}));
    EXPECT_EQ(feedback.messages.size(), 2u);
    EXPECT_EQ(store().MinAvgVariable[1], 3);
    EXPECT_DOUBLE_EQ(store().Score[1], 0.6 / 3);
    EXPECT_EQ(store().ReferenceCount[2], 1); // from DMU 1's winning LP only
}

TEST_F(MinAverageTest, noDiscretionaryNonzeroVariableGivesNoScoreAndNoReferenceCountedTwice)
{
    // DMU 1 references DMU 3; DMU 2 has nothing to measure.
    load({{{2, 4}, {5}}, {{0, 4}, {0}}, {{3, 3}, {3}}}, {2});
    eval = test::selection(3, {1, 2});
    answers[1] = {2, 0.2, 3, 1.0};
    answers[3] = {2, 0.4, 3, 1.0};
    run("NON");
    EXPECT_EQ(store().ReferenceCount[3], 1);
    const test::RowSeen &row = results.row(2);
    EXPECT_TRUE(row.noScore);
    EXPECT_EQ(row.score, 0.0);
    EXPECT_FALSE(row.efficient);
    EXPECT_EQ(row.benchmarks, MinAvgNoVariable);
    EXPECT_EQ(row.primal, std::vector<double>(row.primal.size(), 0.0));
    EXPECT_EQ(variables, (std::vector<int>{1, 3}));
}

TEST_F(MinAverageTest, anOrientationWithoutItsKindOfVariableGivesNoScore)
{
    load({{{0, 0}, {5}}, {{1, 1}, {1}}, {{3, 3}, {3}}});
    run("IN");
    EXPECT_TRUE(variables.empty());
    EXPECT_TRUE(store().NoScore[1]);
    EXPECT_EQ(store().Benchmarks[1], MinAvgNoInput);

    load({{{1, 0}, {0}}, {{1, 1}, {1}}, {{3, 3}, {3}}});
    run("OUT");
    EXPECT_EQ(store().Benchmarks[1], MinAvgNoOutput);
}

} // namespace
} // namespace zelvar
