#include "data/Feedback.h"
#include "engine/RunDriver.h"
#include "session/Workspace.h"
#include "results/ResultsFile.h"
#include "results/ResultsTable.h"

#include <gtest/gtest.h>

#include <random>

namespace zelvar {
namespace {

// The saved table of an LP run is the same, byte for byte, whether one
// thread or several evaluate the DMUs: even on data full of ties and
// duplicates, where LPs have several optimal solutions and could report
// different benchmarks.

DataSet tiedData(int numDMU)
{
    std::mt19937_64 random(4242u);
    std::uniform_int_distribution<int> small(1, 5);
    DataSet data;
    data.NumDMU = numDMU;
    data.NumInputs = 2;
    data.NumOutputs = 2;
    data.DMUNames.assign(1, "");
    data.InputNames = {"", "{I}Staff", "{I}Cost"};
    data.OutputNames = {"", "{O}Loans", "{O}Deposits"};
    data.InputNonDisc.assign(3, 0);
    data.OutputNonDisc.assign(3, 0);
    data.InputData = Matrix(2, numDMU);
    data.OutputData = Matrix(2, numDMU);
    for (int d = 1; d <= numDMU; ++d) {
        data.DMUNames.push_back("    Branch" + std::to_string(d));
        const int copy = d > 20 && d % 9 == 0 ? d - 7 : 0; // duplicates of earlier DMUs
        for (int i = 1; i <= 2; ++i)
            data.InputData(i, d) = copy ? data.InputData(i, copy) : small(random);
        for (int r = 1; r <= 2; ++r)
            data.OutputData(r, d) = copy ? data.OutputData(r, copy) : small(random) * (d % 13 == 0 ? 0 : 1);
    }
    data.DataFileName = "tied.txt";
    return data;
}

std::string savedTable(const std::string &rts, const std::string &distance, const std::string &orientation,
                       int threads)
{
    Workspace workspace;
    workspace.data = tiedData(420);
    workspace.options.ReturnsToScale = returnsFromCode(rts).value();
    workspace.options.Distance = distanceFromCode(distance).value();
    workspace.options.Orientation = orientationFromCode(orientation).value();
    workspace.format.DecIntensities = 6;
    workspace.format.DecWeights = 6;
    workspace.format.DecSlacks = 6;
    workspace.threadCount = threads;
    // A window of the series: some DMUs evaluated, a technology that is not
    // the same set.
    SelectionSet eval(420, false);
    SelectionSet tech(420, false);
    for (int d = 1; d <= 420; ++d) {
        eval.select(d, d % 5 != 0);
        tech.select(d, d % 7 != 0);
    }
    ResultsTable table(workspace.data, workspace.options, workspace.format);
    RunDriver driver(workspace);
    NoProgress progress;
    struct Silent : Feedback {
        void message(const std::string &) override {}
        bool confirm(const std::string &) override { return true; }
    } feedback;
    EXPECT_EQ(driver.RunModel(eval, tech, table, progress, feedback), RunOutcome::Completed);
    EXPECT_EQ(driver.statistics().threads, threads);
    return savedResultsText(table.grid());
}

struct TableModel {
    const char *rts;
    const char *distance;
    const char *orientation;
};

class ThreadCountTables : public ::testing::TestWithParam<TableModel> {};

TEST_P(ThreadCountTables, theSavedTableIsTheSameForOneTwoAndThreeThreads)
{
    const TableModel m = GetParam();
    const std::string one = savedTable(m.rts, m.distance, m.orientation, 1);
    EXPECT_GT(one.size(), 20000u);
    EXPECT_EQ(savedTable(m.rts, m.distance, m.orientation, 2), one);
    EXPECT_EQ(savedTable(m.rts, m.distance, m.orientation, 3), one);
}

INSTANTIATE_TEST_SUITE_P(LpModels, ThreadCountTables,
                         ::testing::Values(TableModel{"CRS", "RAD", "IN"}, TableModel{"VRS", "RAD", "OUT"},
                                           TableModel{"NIR", "RAD", "NON"}, TableModel{"VRS", "ADD", "NON"},
                                           TableModel{"NDR", "MAXAV", "IN"}, TableModel{"CRS", "MINAV", "NON"}),
                         [](const auto &param) {
                             return std::string(param.param.rts) + param.param.distance + param.param.orientation;
                         });

} // namespace
} // namespace zelvar
