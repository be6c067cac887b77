// An FDH run fills the same table whatever the number of threads that
// evaluate its DMUs: the saved text is compared byte for byte.

#include "data/Feedback.h"
#include "engine/RunDriver.h"
#include "session/Workspace.h"
#include "results/ResultsFile.h"
#include "results/ResultsTable.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace zelvar {
namespace {

class SilentFeedback : public Feedback {
public:
    void message(const std::string &) override {}
    bool confirm(const std::string &) override { return false; }
};

// Records every progress call and asks to stop after `cancelAfter` DMUs.
class StoppingProgress : public ProgressSink {
public:
    void show(int maximum) override { events += "show " + std::to_string(maximum) + "\n"; }
    void setProgress(int value, const std::string &text) override
    {
        done = value;
        events += std::to_string(value) + " " + text + "\n";
    }
    void repaint() override { events += "repaint\n"; }
    bool cancelRequested() const override { return cancelAfter >= 0 && done >= cancelAfter; }
    void close() override { events += "close\n"; }

    std::string events;
    int done = 0;
    int cancelAfter = -1;
};

// 360 DMUs, three inputs and two outputs on a coarse grid (ties in every
// column), with zeros and exact duplicates; about two thirds of the DMUs in
// each set, so that some are evaluated outside the technology.
void prepare(Workspace &workspace, SelectionSet &eval, SelectionSet &tech, const char *orientation)
{
    constexpr int n = 360;
    std::mt19937 random(2026u);
    std::uniform_int_distribution<int> level(0, 5);
    std::bernoulli_distribution duplicate(0.1);
    std::bernoulli_distribution member(0.67);

    DataSet &data = workspace.data;
    data.NumDMU = n;
    data.NumInputs = 3;
    data.NumOutputs = 2;
    data.DMUNames = {""};
    data.InputNames = {"", "{I}a", "{I}b", "{I}c"};
    data.OutputNames = {"", "{O}p", "{O}q"};
    data.InputNonDisc.assign(4, 0);
    data.OutputNonDisc.assign(3, 0);
    data.InputData = Matrix(3, n);
    data.OutputData = Matrix(2, n);
    for (int d = 1; d <= n; ++d) {
        data.DMUNames.push_back("    Branch " + std::to_string(d));
        const int copy = d > 1 && duplicate(random) ? std::uniform_int_distribution<int>(1, d - 1)(random) : 0;
        for (int i = 1; i <= 3; ++i)
            data.InputData(i, d) = copy ? data.InputData(i, copy) : level(random);
        for (int r = 1; r <= 2; ++r)
            data.OutputData(r, d) = copy ? data.OutputData(r, copy) : level(random) * 1.5;
    }
    data.DataFileName = "branches.txt";
    workspace.options.Structure = ModelStructure::FDH;
    workspace.options.Orientation = orientationFromCode(orientation).value();
    eval = SelectionSet(n, false);
    tech = SelectionSet(n, false);
    for (int d = 1; d <= n; ++d) {
        eval.select(d, member(random));
        tech.select(d, member(random));
    }
}

struct Outcome {
    std::string saved;
    std::string progress;
    RunOutcome outcome = RunOutcome::NoData;
};

Outcome runWith(const char *orientation, int threads, int cancelAfter = -1)
{
    Workspace workspace;
    SelectionSet eval;
    SelectionSet tech;
    prepare(workspace, eval, tech, orientation);
    workspace.threadCount = threads;
    ResultsTable table(workspace.data, workspace.options, workspace.format);
    StoppingProgress progress;
    progress.cancelAfter = cancelAfter;
    SilentFeedback feedback;
    RunDriver driver(workspace);
    Outcome run;
    run.outcome = driver.RunModel(eval, tech, table, progress, feedback);
    run.saved = savedResultsText(table.grid());
    run.progress = progress.events;
    return run;
}

class FdhTableAndThreads : public testing::TestWithParam<const char *> {};

TEST_P(FdhTableAndThreads, theSavedTableIsTheSameByteForByteForOneTwoAndThreeThreads)
{
    const Outcome one = runWith(GetParam(), 1);
    ASSERT_EQ(one.outcome, RunOutcome::Completed);
    // The table is not trivially empty: dominating and dominated lists,
    // outside markers and benchmark references are all there.
    EXPECT_NE(one.saved.find("\t  "), std::string::npos);
    EXPECT_NE(one.saved.find("{X} Branch"), std::string::npos);
    for (int threads : {2, 3, 0}) {
        const Outcome many = runWith(GetParam(), threads);
        EXPECT_EQ(many.outcome, RunOutcome::Completed);
        EXPECT_TRUE(many.saved == one.saved) << threads << " threads";
        EXPECT_EQ(many.progress, one.progress) << threads << " threads";
    }
}

TEST_P(FdhTableAndThreads, aCancelStopsAtTheSameDmuWhateverTheNumberOfThreads)
{
    const Outcome one = runWith(GetParam(), 1, 100);
    ASSERT_EQ(one.outcome, RunOutcome::Stopped);
    EXPECT_NE(one.progress.find("\n100 "), std::string::npos);
    EXPECT_EQ(one.progress.find("\n101 "), std::string::npos);
    for (int threads : {2, 3}) {
        const Outcome many = runWith(GetParam(), threads, 100);
        EXPECT_EQ(many.outcome, RunOutcome::Stopped);
        EXPECT_TRUE(many.saved == one.saved) << threads << " threads";
        EXPECT_EQ(many.progress, one.progress) << threads << " threads";
    }
}

INSTANTIATE_TEST_SUITE_P(Orientations, FdhTableAndThreads, testing::Values("IN", "OUT"));

} // namespace
} // namespace zelvar
