// Cost and revenue efficiency against hand-worked cases, the identities that
// tie the three scores together, and the envelopment form solved separately.

#include "support/PriceSupport.h"
#include "support/TestSupport.h"

#include "engine/RunDriver.h"
#include "session/SelectionSet.h"
#include "session/Workspace.h"

#include <gtest/gtest.h>

#include <cmath>

namespace zelvar {
namespace {

using namespace test;

struct PricedRun {
    RunOutcome outcome = RunOutcome::NoData;
    std::vector<PricedRow> rows;
    std::vector<std::string> messages;
};

PricedRun runPriced(const DataSet &data, ModelDistance distance, ModelReturns returns, std::vector<int> eval = {},
                    std::vector<int> tech = {}, LpMethod method = LpMethod::Restricted)
{
    Workspace workspace;
    workspace.data = data;
    workspace.options = pricedOptions(distance, returns);
    workspace.threadCount = 1;
    auto all = [&](std::vector<int> &list) {
        if (list.empty())
            for (int d = 1; d <= data.NumDMU; ++d)
                list.push_back(d);
    };
    all(eval);
    all(tech);
    SelectionSet evalSet = selection(data.NumDMU, eval);
    SelectionSet techSet = selection(data.NumDMU, tech);
    RunDriver driver(workspace);
    driver.setLpMethod(method);
    PricedRows rows;
    RecordingFeedback feedback;
    NoProgress progress;
    PricedRun run;
    run.outcome = driver.RunModel(evalSet, techSet, rows, progress, feedback);
    rows.rows.resize(static_cast<std::size_t>(data.NumDMU) + 1);
    run.rows = rows.rows;
    run.messages = feedback.messages;
    return run;
}

// ---- Hand-worked cases -------------------------------------------------------
//
// Two inputs, one output (or one input, two outputs for revenue). Under
// constant returns the frontier at the evaluated DMU's output level is the
// isoquant through the efficient units, piecewise linear; the cheapest point
// is the vertex where the isocost line w . x = c first touches it, found by
// pricing each vertex. The technical score is where the ray from the origin
// through the DMU crosses the isoquant, and the allocative score is the
// cost of the cheapest vertex over the cost of that crossing point.

struct HandCase {
    const char *name;
    std::vector<Unit> units;
    std::vector<int> ndInputs;
    std::vector<std::vector<double>> prices; // one row for all
    ModelDistance distance;
    ModelReturns returns;
    int d;
    double score;
    double technical;
    double allocative;
    std::vector<double> quantities;
    std::string benchmarks;
};

class HandWorked : public ::testing::TestWithParam<HandCase> {};

TEST_P(HandWorked, ScoresPlanAndQuantities)
{
    const HandCase &c = GetParam();
    DataSet data = makeData(c.units, c.ndInputs);
    addPrices(data, c.prices);
    const PricedRun run = runPriced(data, c.distance, c.returns);
    ASSERT_EQ(run.outcome, RunOutcome::Completed);
    const PricedRow &row = run.rows[static_cast<std::size_t>(c.d)];
    ASSERT_TRUE(row.score && row.technical && row.allocative);
    EXPECT_NEAR(*row.score, c.score, 1e-9);
    EXPECT_NEAR(*row.technical, c.technical, 1e-9);
    EXPECT_NEAR(*row.allocative, c.allocative, 1e-9);
    for (std::size_t k = 0; k < c.quantities.size(); ++k) {
        ASSERT_TRUE(row.quantities[k + 1]);
        EXPECT_NEAR(*row.quantities[k + 1], c.quantities[k], 1e-9) << k + 1;
    }
    EXPECT_EQ(row.benchmarks, c.benchmarks);
    EXPECT_FALSE(row.efficient);
}

// Units A(1,4), B(2,2), C(4,1) produce 1 each; D(3,6) produces 1.
const std::vector<Unit> Isoquant{{{1, 4}, {1}}, {{2, 2}, {1}}, {{4, 1}, {1}}, {{3, 6}, {1}}};

INSTANTIATE_TEST_SUITE_P(
    Cases, HandWorked,
    ::testing::Values(
        // At w = (1, 1) the vertices cost A 5, B 4, C 5: the isocost line
        // x1 + x2 = 4 touches at B. D costs 9; its ray (s, 2s) crosses the
        // segment A-B at (1.5, 3): technical 0.5, which costs 4.5.
        HandCase{"CostAtEqualPrices", Isoquant, {}, {{1, 1, 0}}, ModelDistance::COST, ModelReturns::CRS, 4,
                 4.0 / 9.0, 0.5, 4.0 / 4.5, {2, 2}, " 2 (1.00) "},
        // At w = (3, 1): A 7, B 8, C 13; the line 3 x1 + x2 = 7 touches at A.
        // D costs 15 and its technical point (1.5, 3) costs 7.5.
        HandCase{"CostWhereInput1IsDear", Isoquant, {}, {{3, 1, 9}}, ModelDistance::COST, ModelReturns::CRS, 4,
                 7.0 / 15.0, 0.5, 7.0 / 7.5, {1, 4}, " 1 (1.00) "},
        // Variable returns: at output 2 only E(5,5) and F(2,8) and their
        // mixtures reach it. At w = (1, 2): E 15, F 18. D(4,8) costs 20; its
        // ray (s, 2s) crosses E-F at (10/3, 20/3), technical 5/6, cost 50/3.
        HandCase{"CostUnderVariableReturns",
                 {{{1, 4}, {1}}, {{2, 2}, {1}}, {{5, 5}, {2}}, {{2, 8}, {2}}, {{4, 8}, {2}}},
                 {},
                 {{1, 2, 0}},
                 ModelDistance::COST,
                 ModelReturns::VRS,
                 5,
                 0.75,
                 5.0 / 6.0,
                 0.9,
                 {5, 5},
                 " 3 (1.00) "},
        // Input 2 non-discretionary: D(3,3) may use at most 3 of it. Half A
        // and half B use exactly 3 and 1.5 of input 1, the least that any
        // plan within that budget needs; input 2 shows D's own value.
        HandCase{"CostWithNonDiscretionaryInput",
                 {{{1, 4}, {1}}, {{2, 2}, {1}}, {{4, 1}, {1}}, {{3, 3}, {1}}},
                 {2},
                 {{1, 5, 0}},
                 ModelDistance::COST,
                 ModelReturns::CRS,
                 4,
                 0.5,
                 0.5,
                 1.0,
                 {1.5, 3},
                 " 1 (0.50)  2 (0.50) "},
        // One input of 1, outputs A(1,4), B(3,3), C(4,1), D(1,1.5). At
        // p = (1, 1): A 5, B 6, C 5; D earns 2.5. Its ray (s, 1.5 s) crosses
        // A-B at (2.25, 3.375): phi 2.25, technical 1 / 2.25, revenue 5.625.
        HandCase{"RevenueAtEqualPrices",
                 {{{1}, {1, 4}}, {{1}, {3, 3}}, {{1}, {4, 1}}, {{1}, {1, 1.5}}},
                 {},
                 {{7, 1, 1}},
                 ModelDistance::REV,
                 ModelReturns::CRS,
                 4,
                 2.5 / 6.0,
                 1.0 / 2.25,
                 5.625 / 6.0,
                 {3, 3},
                 " 2 (1.00) "}),
    [](const auto &item) { return std::string(item.param.name); });

TEST(PricedEdges, ZeroObservedCostAndAnInfeasiblePlanLeaveTheirCellsEmpty)
{
    // D's inputs cost nothing at its prices; E (from outside the technology
    // A, B, C, D) needs an output no mixture of them reaches under variable
    // returns.
    DataSet data = makeData({{{1, 4}, {1}}, {{2, 2}, {1}}, {{4, 1}, {1}}, {{3, 6}, {1}}, {{5, 5}, {2}}});
    addPrices(data, {{1, 1, 0}, {1, 1, 0}, {1, 1, 0}, {0, 0, 0}, {1, 1, 0}});
    const PricedRun run = runPriced(data, ModelDistance::COST, ModelReturns::VRS, {}, {1, 2, 3, 4});
    ASSERT_EQ(run.outcome, RunOutcome::Completed);
    const PricedRow &free = run.rows[4];
    EXPECT_FALSE(free.score || free.allocative);
    ASSERT_TRUE(free.technical);
    EXPECT_NEAR(*free.technical, 0.5, 1e-9);
    const PricedRow &outside = run.rows[5];
    EXPECT_TRUE(outside.big && outside.technicalBig);
    EXPECT_FALSE(outside.score || outside.technical || outside.allocative);
    EXPECT_EQ(outside.name, "{X} D5");
    EXPECT_TRUE(outside.benchmarks.empty());
}

// ---- Random data: identities and the envelopment form --------------------------

struct ModelCase {
    ModelDistance distance;
    ModelReturns returns;
};

std::string modelName(const ModelCase &c) { return pricedOptions(c.distance, c.returns).modelName(); }

const ModelCase EveryModel[] = {
    {ModelDistance::COST, ModelReturns::CRS}, {ModelDistance::COST, ModelReturns::VRS},
    {ModelDistance::COST, ModelReturns::NDR}, {ModelDistance::COST, ModelReturns::NIR},
    {ModelDistance::REV, ModelReturns::CRS},  {ModelDistance::REV, ModelReturns::VRS},
    {ModelDistance::REV, ModelReturns::NDR},  {ModelDistance::REV, ModelReturns::NIR},
};

class EveryPricedModel : public ::testing::TestWithParam<ModelCase> {};

// Evaluated: every DMU; technology: the first 30 of 40, so the last ten are
// measured from outside it. The revenue models get prices in cents of
// millions: only relative prices matter, and large ones must not upset the LPs.
TEST_P(EveryPricedModel, AgreesWithTheEnvelopmentFormAndTheRadialScores)
{
    const ModelCase &c = GetParam();
    const bool cost = c.distance == ModelDistance::COST;
    DataSet data = randomPricedData(40, 7);
    for (int k = 1; !cost && k <= data.Prices.rows(); ++k)
        for (int d = 1; d <= data.Prices.cols(); ++d)
            data.Prices(k, d) *= 3.7e6;
    std::vector<int> tech;
    for (int d = 1; d <= 30; ++d)
        tech.push_back(d);
    const PricedRun run = runPriced(data, c.distance, c.returns, {}, tech);
    ASSERT_EQ(run.outcome, RunOutcome::Completed);
    const std::string rts(codeOf(c.returns));
    for (int d = 1; d <= data.NumDMU; ++d) {
        SCOPED_TRACE("DMU " + std::to_string(d));
        const bool inside = d <= 30;
        const PricedRow &row = run.rows[static_cast<std::size_t>(d)];
        const PricedEnvelopment best = solvePricedEnvelopment(data, d, tech, c.distance, c.returns);
        ASSERT_EQ(row.big, !best.optimal);
        if (!best.optimal)
            continue;
        const int m = data.NumInputs;
        double observed = 0.0;
        for (int k = 1; k <= (cost ? m : data.NumOutputs); ++k)
            if (k != 3 || !cost)
                observed += cost ? data.price(k, d) * data.InputData(k, d)
                                 : data.price(m + k, d) * data.OutputData(k, d);
        const double expected = cost ? best.value / observed : observed / best.value;
        ASSERT_TRUE(row.score);
        EXPECT_NEAR(*row.score, inside ? std::min(expected, 1.0) : expected, 1e-8);
        for (std::size_t k = 1; k < best.quantities.size(); ++k)
            EXPECT_NEAR(*row.quantities[k], best.quantities[k], 1e-6 * std::max(1.0, best.quantities[k])) << k;

        // Technical: the radial score against the other technology DMUs,
        // capped at 1 inside the technology (a DMU is part of its own).
        std::vector<int> others;
        for (int j : tech)
            if (j != d)
                others.push_back(j);
        const EnvelopmentResult radial = solveRadialEnvelopment(data, d, others, cost ? "IN" : "OUT", rts);
        if (!radial.optimal) {
            EXPECT_EQ(row.technicalBig, !inside);
            continue;
        }
        const double theta = cost ? radial.value : 1.0 / radial.value;
        ASSERT_TRUE(row.technical && row.allocative);
        EXPECT_NEAR(*row.technical, inside ? std::min(theta, 1.0) : theta, 1e-8);
        EXPECT_NEAR(*row.allocative, *row.score / *row.technical, 1e-9);
        if (inside) {
            EXPECT_LE(*row.score, *row.technical + 1e-12);
            EXPECT_LE(*row.allocative, 1.0);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Models, EveryPricedModel, ::testing::ValuesIn(EveryModel),
                         [](const auto &item) { return modelName(item.param); });

} // namespace
} // namespace zelvar
