#include "support/TestSupport.h"

#include "engine/LpOutcome.h"
#include "engine/RunDriver.h"
#include "session/Workspace.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace zelvar {
namespace {

// What a user sees of a run on several threads is what the one-thread run
// shows: rows, progress, messages and the early stops, in DMU order.

constexpr int NumDmu = 300;

std::vector<test::Unit> frontierUnits()
{
    std::mt19937_64 random(77u);
    std::lognormal_distribution<double> size(0.0, 0.5);
    std::exponential_distribution<double> inefficiency(5.0);
    std::vector<test::Unit> units;
    for (int d = 1; d <= NumDmu; ++d) {
        const double x1 = 10.0 * size(random);
        const double x2 = 10.0 * size(random);
        const double level = std::sqrt(x1 * x2) * std::exp(-inefficiency(random));
        units.push_back({{x1, x2}, {level * size(random), level * size(random)}});
    }
    return units;
}

class RestrictedRun : public ::testing::Test {
protected:
    RunOutcome run(int threads)
    {
        workspace.data = test::makeData(frontierUnits());
        workspace.options.ReturnsToScale = ModelReturns::VRS;
        workspace.threadCount = threads;
        SelectionSet eval(NumDmu, true);
        eval.select(10, false);
        tech = SelectionSet(NumDmu, true);
        tech.select(20, false);
        results = test::RecordingResults();
        progress = test::RecordingProgress{};
        progress.cancelAfter = cancelAfter;
        feedback = test::RecordingFeedback{};
        feedback.confirmAnswer = confirmAnswer;
        RunDriver driver(workspace);
        driver.setOutcomeFilter([this](int d, LpOutcome &outcome) {
            if (d == failingDmu)
                outcome.clear(static_cast<int>(outcome.primal.size()) - 1, 0, 5);
        });
        const RunOutcome outcome = driver.RunModel(eval, tech, results, progress, feedback);
        store = driver.store();
        statistics = driver.statistics();
        return outcome;
    }

    Workspace workspace;
    SelectionSet tech;
    test::RecordingResults results;
    test::RecordingProgress progress;
    test::RecordingFeedback feedback;
    ResultStore store;
    RunStatistics statistics;
    int failingDmu = 0;
    int cancelAfter = -1;
    bool confirmAnswer = true;
};

TEST_F(RestrictedRun, severalThreadsShowTheSameRowsProgressAndFlagsAsOne)
{
    ASSERT_EQ(run(1), RunOutcome::Completed);
    EXPECT_EQ(statistics.threads, 1);
    const auto calls = results.calls;
    const auto events = progress.events;
    const auto rows = results.rows;
    const auto efficient = results.efficientAtEnd;
    const auto references = results.referencesAtEnd;

    ASSERT_EQ(run(3), RunOutcome::Completed);
    EXPECT_EQ(statistics.threads, 3);
    EXPECT_EQ(results.calls, calls);
    EXPECT_EQ(progress.events, events);
    EXPECT_EQ(results.efficientAtEnd, efficient);
    EXPECT_EQ(results.referencesAtEnd, references);
    ASSERT_EQ(results.rows.size(), rows.size());
    for (std::size_t k = 0; k < rows.size(); ++k) {
        EXPECT_EQ(results.rows[k].d, rows[k].d);
        EXPECT_EQ(results.rows[k].score, rows[k].score); // exactly: the same LPs, solved the same way
        EXPECT_EQ(results.rows[k].benchmarks, rows[k].benchmarks);
        EXPECT_EQ(results.rows[k].name, rows[k].name);
        EXPECT_EQ(results.rows[k].techSelected, rows[k].techSelected);
    }
    EXPECT_EQ(results.row(20).name, "{X} D20");
    EXPECT_TRUE(results.row(20).techSelected);
    EXPECT_EQ(results.techAtEnd, tech);
    EXPECT_FALSE(tech.selected(20));
}

TEST_F(RestrictedRun, aFailureAnsweredWithCancelStopsAtItsDmuWhateverTheThreadsSolvedAhead)
{
    failingDmu = 200;
    confirmAnswer = false;
    EXPECT_EQ(run(3), RunOutcome::Stopped);
    ASSERT_EQ(feedback.confirms, std::vector<std::string>{"DMU 200 error code: 5\ntest.txt"});
    EXPECT_TRUE(feedback.messages.empty());
    EXPECT_FALSE(results.hasRow(200));
    EXPECT_TRUE(results.hasRow(199));
    // Rows 1..199 but DMU 10 (not evaluated), then the end of the run.
    ASSERT_EQ(results.calls.size(), 1u + 198u + 3u);
    EXPECT_EQ(results.calls[1], "Showresults 1");
    EXPECT_EQ(results.calls[198], "Showresults 199");
    EXPECT_EQ(results.calls[199], "ShowReferences");
    EXPECT_EQ(progress.events.back(), "close");
    EXPECT_EQ(store.Score[201], 0.0);
}

TEST_F(RestrictedRun, aFailureAnsweredWithOkGoesOnWithTheScoreUnchanged)
{
    failingDmu = 70;
    EXPECT_EQ(run(2), RunOutcome::Incomplete);
    EXPECT_EQ(feedback.confirms, std::vector<std::string>{"DMU 70 error code: 5\ntest.txt"});
    EXPECT_TRUE(results.hasRow(70));
    EXPECT_EQ(results.row(70).score, 0.0);
    EXPECT_TRUE(results.row(70).benchmarks.empty());
    EXPECT_EQ(results.rows.size(), static_cast<std::size_t>(NumDmu - 1));
}

TEST_F(RestrictedRun, cancelStopsAfterTheSameDmuAsWithOneThread)
{
    cancelAfter = 100;
    EXPECT_EQ(run(1), RunOutcome::Stopped);
    const auto events = progress.events;
    const auto calls = results.calls;
    EXPECT_EQ(run(3), RunOutcome::Stopped);
    EXPECT_EQ(progress.events, events);
    EXPECT_EQ(results.calls, calls);
    EXPECT_EQ(results.rows.size(), 100u);
    EXPECT_EQ(results.rows.back().d, 101); // DMU 10 is not evaluated
}

TEST_F(RestrictedRun, theTechnologyOfTheLastDmuIsLeftAsTheFullLpLoopLeavesIt)
{
    workspace.data = test::makeData(frontierUnits());
    SelectionSet eval = test::selection(NumDmu, {3, 5});
    tech = test::selection(NumDmu, {1, 2, 3, 4});
    RunDriver driver(workspace);
    ASSERT_EQ(driver.RunModel(eval, tech, results, progress, feedback), RunOutcome::Completed);
    EXPECT_EQ(driver.technology().TechDmu, (std::vector<std::int32_t>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(driver.technology().TechPos[5], 5);
    EXPECT_EQ(tech, test::selection(NumDmu, {1, 2, 3, 4}));
}

} // namespace
} // namespace zelvar
