#include "support/TestSupport.h"

#include "engine/RunDriver.h"
#include "session/Workspace.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <tuple>

namespace zelvar {
namespace {

// The restricted LPs must give what the full LP of every DMU gives: the same
// scores and efficiency flags for every model, on data that makes LPs hard
// to tell apart: ties, duplicate DMUs, zeros, non-discretionary variables,
// weight restrictions, DMUs evaluated from outside the technology.

constexpr double ScoreTolerance = 1e-9;

struct DataCase {
    const char *name;
    int dmus;
    bool integer;     // values 1..6: many ties; else log-normal
    bool nd;          // input 3 and output 2 non-discretionary
    bool restricted;  // two weight restrictions
    bool subset;      // every 7th DMU outside the technology (still evaluated)
    unsigned seed;
    bool frontier = false; // outputs follow the inputs closely: most DMUs undominated
    int distinct = 0;      // > 0: only this many distinct DMUs, each repeated many times
    double units = 1.0;    // input 1 in these units (amounts of money), output 1 in their inverse
};

const std::vector<DataCase> dataCases{
    {"integer ties, duplicates, zeros", 160, true, false, false, false, 11u},
    {"log-normal, non-discretionary, technology subset", 200, false, true, false, true, 12u},
    {"integer, restricted weights, non-discretionary", 160, true, true, true, false, 13u},
    {"near a frontier, many undominated DMUs", 260, false, false, false, false, 14u, true},
    {"twelve DMUs repeated many times", 180, true, false, false, true, 15u, false, 12},
    {"amounts in large and small units", 200, false, true, true, false, 16u, true, 0, 1e9},
};

DataSet randomData(const DataCase &c)
{
    std::mt19937_64 random(c.seed);
    std::uniform_int_distribution<int> small(1, 6);
    std::lognormal_distribution<double> size(0.0, 0.7);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::normal_distribution<double> noise(0.0, 0.1);
    std::exponential_distribution<double> inefficiency(8.0);
    auto value = [&] { return c.integer ? static_cast<double>(small(random)) : 10.0 * size(random); };
    std::vector<test::Unit> units;
    for (int d = 1; d <= c.dmus; ++d) {
        if (c.distinct > 0 && d > c.distinct) {
            units.push_back(units[static_cast<std::size_t>(random() % static_cast<unsigned>(c.distinct))]);
            continue;
        }
        if (c.distinct == 0 && d > 10 && unit(random) < 0.08) {
            // A duplicate of an earlier DMU.
            units.push_back(units[static_cast<std::size_t>(random() % units.size())]);
            continue;
        }
        test::Unit unit3{{value(), value(), value()}, {value(), value()}};
        if (c.frontier) {
            const double scale = std::pow(unit3.x[0] * unit3.x[1] * unit3.x[2], 0.3) * std::exp(-inefficiency(random));
            unit3.y = {scale * std::exp(noise(random)), scale * std::exp(noise(random))};
        }
        if (unit(random) < 0.1)
            unit3.x[random() % 3] = 0.0;
        if (unit(random) < 0.1)
            unit3.y[random() % 2] = 0.0;
        unit3.x[0] *= c.units;
        unit3.y[0] /= c.units;
        units.push_back(unit3);
    }
    DataSet data = c.nd ? test::makeData(units, {3}, {2}) : test::makeData(units);
    if (c.restricted)
        // v1 >= v2 / 2 and u1 <= 3 u2, in the units of the data.
        test::addWeights(data, {{1 * c.units, -0.5, 0, 0, 0}, {0, 0, 0, -1 / c.units, 3}});
    return data;
}

struct Model {
    std::string rts;
    std::string distance;
    std::string orientation;
};

// One run of a model over a data case with one of the two methods.
struct ModelRun {
    ModelRun(const DataCase &c, const Model &model, LpMethod method, int threads)
    {
        workspace.data = randomData(c);
        workspace.options.ReturnsToScale = returnsFromCode(model.rts).value();
        workspace.options.Distance = distanceFromCode(model.distance).value();
        workspace.options.Orientation = orientationFromCode(model.orientation).value();
        workspace.options.RestrictWeights = c.restricted;
        workspace.format.DecIntensities = 8;
        workspace.threadCount = threads;
        const int n = workspace.data.NumDMU;
        eval = SelectionSet(n, true);
        tech = SelectionSet(n, true);
        for (int d = 5; d <= n; d += 23)
            eval.select(d, false);
        if (c.subset)
            for (int d = 3; d <= n; d += 7)
                tech.select(d, false);
        RunDriver driver(workspace);
        driver.setLpMethod(method);
        outcome = driver.RunModel(eval, tech, results, progress, feedback);
        store = driver.store();
        statistics = driver.statistics();
    }

    // The technology of d's LP: the technology DMUs and d, ascending.
    std::vector<int> lpRows(int d) const
    {
        std::vector<int> rows;
        for (int j = 1; j <= workspace.data.NumDMU; ++j)
            if (tech.selected(j) || j == d)
                rows.push_back(j);
        return rows;
    }

    Workspace workspace;
    SelectionSet eval;
    SelectionSet tech;
    test::RecordingResults results;
    test::RecordingProgress progress;
    test::RecordingFeedback feedback;
    ResultStore store;
    RunStatistics statistics;
    RunOutcome outcome = RunOutcome::NoData;
};

// The intensities of d's reference rows (minus the row duals the table was
// given) reproduce d's projection: for the radial models d's data scaled by
// the score on the side(s) the orientation scales, up to the slacks; for the
// others d's data up to the slacks.
void expectValidIntensities(const ModelRun &run, const test::RowSeen &row, const Model &model)
{
    const DataSet &data = run.workspace.data;
    const int d = row.d;
    const int m = data.NumInputs;
    const int s = data.NumOutputs;
    const int n = m + s + (model.rts == "CRS" ? 0 : 1);
    const std::vector<int> rows = run.lpRows(d);
    const bool radial = model.distance == "RAD";
    const double score = row.score;
    double lambdaSum = 0.0;
    std::vector<double> lambda(static_cast<std::size_t>(data.NumDMU) + 1, 0.0);
    for (std::size_t k = 0; k < rows.size(); ++k) {
        const int j = rows[k];
        if (radial && j == d)
            continue; // the normalisation row, not a DMU
        const double value = -row.dual[static_cast<std::size_t>(n) + k + 1];
        EXPECT_GE(value, -1e-9) << "intensity of DMU " << j;
        lambda[static_cast<std::size_t>(j)] = value;
        lambdaSum += value;
    }
    auto discretionaryInput = [&](int i) { return data.InputNonDisc[static_cast<std::size_t>(i)] == 0; };
    auto discretionaryOutput = [&](int r) { return data.OutputNonDisc[static_cast<std::size_t>(r)] == 0; };
    for (int i = 1; i <= m; ++i) {
        double used = std::fabs(row.dual[static_cast<std::size_t>(i)]);
        for (int j = 1; j <= data.NumDMU; ++j)
            used += lambda[static_cast<std::size_t>(j)] * data.InputData(i, j);
        double target = data.InputData(i, d);
        if (radial && discretionaryInput(i) && model.orientation == "IN")
            target *= score;
        else if (radial && discretionaryInput(i) && model.orientation == "NON")
            target *= 1.0 - score;
        EXPECT_NEAR(used, target, 1e-6 * std::max(1.0, target)) << "input " << i;
    }
    for (int r = 1; r <= s; ++r) {
        double made = -std::fabs(row.dual[static_cast<std::size_t>(m + r)]);
        for (int j = 1; j <= data.NumDMU; ++j)
            made += lambda[static_cast<std::size_t>(j)] * data.OutputData(r, j);
        double target = data.OutputData(r, d);
        if (radial && discretionaryOutput(r) && model.orientation == "OUT")
            target *= score;
        else if (radial && discretionaryOutput(r) && model.orientation == "NON")
            target *= 1.0 + score;
        EXPECT_NEAR(made, target, 1e-6 * std::max(1.0, target)) << "output " << r;
    }
    // Variable returns: the intensities add up to 1.
    if (model.rts == "VRS") {
        EXPECT_NEAR(lambdaSum, 1.0, 1e-6);
    }
}

class RestrictedAgainstFullLp : public ::testing::TestWithParam<std::tuple<std::string, std::string, std::string>> {};

TEST_P(RestrictedAgainstFullLp, scoresAndEfficiencyFlagsAreThoseOfTheFullLp)
{
    const Model model{std::get<0>(GetParam()), std::get<1>(GetParam()), std::get<2>(GetParam())};
    int compared = 0;
    long long lps = 0;
    long long solves = 0;
    for (const DataCase &c : dataCases) {
        // The additive score is a sum of slacks in the data's own units, not
        // a measure free of them; its LPs are solved in those units.
        if (c.units != 1.0 && model.distance == "ADD")
            continue;
        SCOPED_TRACE(c.name);
        const ModelRun full(c, model, LpMethod::FullLp, 1);
        const ModelRun restricted(c, model, LpMethod::Restricted, 2);
        ASSERT_EQ(full.outcome, RunOutcome::Completed);
        ASSERT_EQ(restricted.outcome, RunOutcome::Completed);
        EXPECT_TRUE(restricted.feedback.messages.empty());
        EXPECT_TRUE(restricted.feedback.confirms.empty());
        EXPECT_EQ(restricted.statistics.fullLpFallbacks, 0);
        lps += restricted.statistics.lps;
        solves += restricted.statistics.solves;
        EXPECT_LT(restricted.statistics.maxFinalRows, restricted.statistics.technologyRows);
        ASSERT_EQ(full.results.rows.size(), restricted.results.rows.size());
        for (std::size_t k = 0; k < full.results.rows.size(); ++k) {
            const test::RowSeen &expected = full.results.rows[k];
            const test::RowSeen &actual = restricted.results.rows[k];
            SCOPED_TRACE("DMU " + std::to_string(expected.d));
            ASSERT_EQ(actual.d, expected.d);
            const auto dd = static_cast<std::size_t>(expected.d);
            EXPECT_EQ(actual.noFiniteOptimum, expected.noFiniteOptimum);
            EXPECT_EQ(actual.noScore, expected.noScore);
            EXPECT_NEAR(actual.score, expected.score, ScoreTolerance * std::max(1.0, std::fabs(expected.score)));
            EXPECT_EQ(actual.efficient, expected.efficient);
            EXPECT_EQ(actual.name, expected.name);
            EXPECT_EQ(actual.techSelected, expected.techSelected);
            if (model.distance == "MINAV") {
                EXPECT_NEAR(restricted.store.MinAvgBest[dd], full.store.MinAvgBest[dd],
                            ScoreTolerance * std::max(1.0, std::fabs(full.store.MinAvgBest[dd])));
            }
            ++compared;
            if (!c.restricted && !actual.efficient && !actual.noFiniteOptimum && !actual.noScore
                && model.distance != "MINAV")
                expectValidIntensities(restricted, actual, model);
        }
    }
    EXPECT_GT(compared, 500);
    // Rows were added to the restricted LPs: the comparison is not one of LPs
    // that held every row they needed from the start.
    EXPECT_GT(solves, lps);
}

INSTANTIATE_TEST_SUITE_P(EveryModel, RestrictedAgainstFullLp,
                         ::testing::Combine(::testing::Values("CRS", "VRS", "NDR", "NIR"),
                                            ::testing::Values("RAD", "ADD", "MAXAV", "MINAV"),
                                            ::testing::Values("IN", "OUT", "NON")),
                         [](const auto &param) {
                             return std::get<0>(param.param) + std::get<1>(param.param) + std::get<2>(param.param);
                         });

} // namespace
} // namespace zelvar

namespace zelvar {
namespace {

// The full LP itself: a DMU on the frontier with slack, whose LP has optimal
// solutions arbitrarily far out along a direction that costs nothing. The
// solver must not stop far out there, where rounding spoils the optimum in
// the seventh digit: the score is the envelopment optimum to rounding and
// the weights stay moderate.
TEST(FullLp, aDmuOnTheFrontierWithSlackGetsItsExactOptimumAndModerateWeights)
{
    const Model model{"VRS", "RAD", "OUT"};
    const ModelRun full(dataCases[0], model, LpMethod::FullLp, 1);
    int checked = 0;
    for (const test::RowSeen &row : full.results.rows) {
        if (row.noFiniteOptimum)
            continue;
        const test::EnvelopmentResult env = test::solveRadialEnvelopment(
            full.workspace.data, row.d, full.lpRows(row.d), model.orientation, model.rts);
        ASSERT_TRUE(env.optimal);
        EXPECT_NEAR(row.score, env.value, 1e-10) << "DMU " << row.d;
        for (int c = 1; c <= 6; ++c)
            EXPECT_LT(std::fabs(row.primal[static_cast<std::size_t>(c)]), 1e6) << "DMU " << row.d;
        ++checked;
    }
    EXPECT_GT(checked, 100);

    // The restricted LPs end on vertices too.
    const ModelRun restricted(dataCases[0], model, LpMethod::Restricted, 2);
    for (const test::RowSeen &row : restricted.results.rows)
        for (int c = 1; c <= 6; ++c)
            EXPECT_LT(std::fabs(row.primal[static_cast<std::size_t>(c)]), 1e6) << "DMU " << row.d;
}

} // namespace
} // namespace zelvar
