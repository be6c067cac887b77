// The table of a cost or revenue run: its layout on the sample banks, and the
// same text from the restricted LPs on 1 and 3 threads as from the full LPs.

#include "support/PriceSupport.h"
#include "support/TestSupport.h"

#include "engine/RunDriver.h"
#include "results/ResultsFile.h"
#include "results/CellHints.h"
#include "results/ResultsTable.h"
#include "session/DataCommands.h"
#include "session/Workspace.h"

#include <gtest/gtest.h>

namespace zelvar {
namespace {

using namespace test;

std::string row(const TextGrid &grid, int r)
{
    return grid.blockText(r, 0, r, grid.cols() - 1);
}

TEST(PriceTable, LaysOutScoresQuantitiesAndPlanAndMarksTheEfficientUnits)
{
    Workspace workspace;
    RecordingFeedback feedback;
    const std::string examples = ZELVAR_EXAMPLES;
    ASSERT_TRUE(openDataFile(workspace, examples + "/banks.txt", feedback));
    ASSERT_TRUE(openPricesFile(workspace, examples + "/banks-prices.txt", feedback));
    SelectionSet eval(20, true);
    SelectionSet tech(20, true);
    RunDriver driver(workspace);
    NoProgress progress;

    workspace.options = pricedOptions(ModelDistance::COST, ModelReturns::CRS);
    ResultsTable cost(workspace.data, workspace.options, workspace.format);
    ASSERT_EQ(driver.RunModel(eval, tech, cost, progress, feedback), RunOutcome::Completed);
    EXPECT_EQ(row(cost.grid(), 0),
              " \tDMU\tScore\tTechnical\tAllocative\t{*}{I}Staff\t{*}{IN}Floor space\tBenchmarks");
    // Harbour Street: one discretionary input, so cost and technical
    // efficiency coincide; floor space is held at its own value.
    EXPECT_EQ(row(cost.grid(), 1), "1\t    Harbour Street\t94.36%\t94.36%\t100.00%\t13.21\t420.00\t 7 (0.75)  9 (0.06) ");
    EXPECT_EQ(cost.grid().colour(2, 1), TextGrid::Cyan);
    EXPECT_EQ(cost.grid().colour(1, 1), TextGrid::White);

    workspace.options = pricedOptions(ModelDistance::REV, ModelReturns::VRS);
    ResultsTable revenue(workspace.data, workspace.options, workspace.format);
    ASSERT_EQ(driver.RunModel(eval, tech, revenue, progress, feedback), RunOutcome::Completed);
    EXPECT_EQ(row(revenue.grid(), 0),
              " \tDMU\tScore\tTechnical\tAllocative\t{*}{O}Loans\t{*}{O}Deposits\tBenchmarks");
    // Mill Lane is technically efficient but earns 11% less than its best mix.
    EXPECT_EQ(row(revenue.grid(), 3), "3\t    Mill Lane\t89.13%\t100.00%\t89.13%\t8747.62\t10942.86\t 7 (0.10)  10 (0.90) ");
    EXPECT_EQ(revenue.grid().colour(3, 1), TextGrid::White);
    EXPECT_TRUE(feedback.messages.empty());

    // Exports, the summary and the charts read the numbers behind the cells
    // and the run's scores: Score = Technical x Allocative in every row.
    ASSERT_EQ(revenue.scores().evaluated.size(), 20u);
    for (int d = 1; d <= 20; ++d) {
        const auto score = revenue.number(d, 2), technical = revenue.number(d, 3), allocative = revenue.number(d, 4);
        ASSERT_TRUE(score && technical && allocative) << "DMU " << d;
        EXPECT_EQ(score->style, NumberStyle::Percent);
        EXPECT_NEAR(score->value, technical->value * allocative->value, 1e-12) << "DMU " << d;
        EXPECT_EQ(revenue.scores().evaluated[static_cast<std::size_t>(d - 1)].score.value, score->value) << "DMU " << d;
        EXPECT_TRUE(revenue.number(d, 5).has_value()) << "DMU " << d; // a quantity
    }
    // Hints speak of prices, not of the radial table's columns.
    for (const ResultsTable *table : {&cost, &revenue}) {
        const bool isCost = table == &cost;
        EXPECT_EQ(headerHint(*table, 2).rfind(isCost ? "Cost efficiency" : "Revenue efficiency", 0), 0u);
        EXPECT_EQ(headerHint(*table, 4).rfind("Allocative", 0), 0u);
        EXPECT_EQ(headerHint(*table, 5).rfind("{*}", 0), 0u);
        EXPECT_EQ(cellHint(*table, 2, table->benchmarksColumn()).rfind("Benchmarks: the DMUs of the", 0), 0u);
        EXPECT_EQ(cellHint(*table, 1, 2), "");
    }
}

struct ThreadsCase {
    ModelDistance distance;
    ModelReturns returns;
};

class RestrictedPriceTables : public ::testing::TestWithParam<ThreadsCase> {};

std::string savedTable(const ThreadsCase &c, LpMethod method, int threads)
{
    Workspace workspace;
    workspace.data = randomPricedData(400, 3);
    workspace.options = pricedOptions(c.distance, c.returns);
    workspace.format.DecScore = 6;
    workspace.format.DecIntensities = 6;
    workspace.format.DecSlacks = 6;
    workspace.threadCount = threads;
    // Some DMUs evaluated from outside the technology, some technology DMUs
    // not evaluated.
    SelectionSet eval(400, false);
    SelectionSet tech(400, false);
    for (int d = 1; d <= 400; ++d) {
        eval.select(d, d % 5 != 0);
        tech.select(d, d % 7 != 0);
    }
    ResultsTable table(workspace.data, workspace.options, workspace.format);
    RunDriver driver(workspace);
    driver.setLpMethod(method);
    NoProgress progress;
    RecordingFeedback feedback;
    EXPECT_EQ(driver.RunModel(eval, tech, table, progress, feedback), RunOutcome::Completed);
    return savedResultsText(table.grid());
}

TEST_P(RestrictedPriceTables, AreTheFullLpTablesWhateverTheThreads)
{
    const std::string full = savedTable(GetParam(), LpMethod::FullLp, 1);
    EXPECT_EQ(savedTable(GetParam(), LpMethod::Restricted, 1), full);
    EXPECT_EQ(savedTable(GetParam(), LpMethod::Restricted, 3), full);
    EXPECT_NE(full.find("{X}"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Models, RestrictedPriceTables,
                         ::testing::Values(ThreadsCase{ModelDistance::COST, ModelReturns::CRS},
                                           ThreadsCase{ModelDistance::COST, ModelReturns::VRS},
                                           ThreadsCase{ModelDistance::COST, ModelReturns::NIR},
                                           ThreadsCase{ModelDistance::REV, ModelReturns::CRS},
                                           ThreadsCase{ModelDistance::REV, ModelReturns::NDR}),
                         [](const auto &item) {
                             return pricedOptions(item.param.distance, item.param.returns).modelName();
                         });

} // namespace
} // namespace zelvar
