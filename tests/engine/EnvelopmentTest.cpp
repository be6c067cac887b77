#include "support/TestSupport.h"

#include "engine/RunDriver.h"
#include "session/Workspace.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace zelvar {
namespace {

// Every score the engine reports (from the multiplier form with the own row
// replaced or kept) must equal the optimum of the envelopment form that this
// test builds from the data and solves with CLP on its own.

constexpr int NumDmu = 15;
constexpr double ScoreTolerance = 1e-7;

// Fifteen DMUs with two inputs and two outputs, values 1..9 from a fixed
// seed, a zero in one input or one output of some DMUs, and DMU 15 a
// duplicate of DMU 4.
std::vector<test::Unit> randomUnits()
{
    std::mt19937 generator(20240611u);
    auto value = [&] { return static_cast<double>(generator() % 9 + 1); };
    std::vector<test::Unit> units;
    for (int d = 1; d <= NumDmu - 1; ++d) {
        test::Unit unit{{value(), value()}, {value(), value()}};
        if (generator() % 5 == 0)
            unit.x[generator() % 2] = 0.0;
        if (generator() % 5 == 0)
            unit.y[generator() % 2] = 0.0;
        units.push_back(unit);
    }
    units.push_back(units[3]);
    return units;
}

struct Variant {
    bool nonDiscretionary; // input 2 and output 2 non-discretionary
    bool techSubset;       // DMUs 6 and 11 outside the technology (still evaluated)
    bool restricted;       // weight restrictions v1 >= v2 / 2 and 2 u2 >= u1
};

const std::vector<Variant> variants{{false, false, false}, {true, false, false}, {false, true, false},
                                    {true, true, false},   {false, false, true}};

std::string describe(const Variant &v)
{
    return std::string(v.nonDiscretionary ? "nd " : "") + (v.techSubset ? "subset " : "")
        + (v.restricted ? "restricted" : "");
}

// Runs one model over the random data with every DMU evaluated.
struct RandomRun {
    RandomRun(const Variant &v, const char *distance, const char *orientation, const char *rts)
        : variant(v)
    {
        workspace.data = v.nonDiscretionary ? test::makeData(randomUnits(), {2}, {2})
                                            : test::makeData(randomUnits());
        if (v.restricted) {
            test::addWeights(workspace.data, {{1, -0.5, 0, 0}, {0, 0, -1, 2}});
            workspace.options.RestrictWeights = true;
        }
        workspace.options.Distance = distanceFromCode(distance).value();
        workspace.options.Orientation = orientationFromCode(orientation).value();
        workspace.options.ReturnsToScale = returnsFromCode(rts).value();
        workspace.format.DecIntensities = 8;
        SelectionSet eval(NumDmu, true);
        tech = SelectionSet(NumDmu, true);
        if (v.techSubset) {
            tech.select(6, false);
            tech.select(11, false);
        }
        RunDriver driver(workspace);
        outcome = driver.RunModel(eval, tech, results, progress, feedback);
        store = driver.store();
    }

    // The DMUs d is measured against: the technology plus d itself.
    std::vector<int> reference(int d) const
    {
        std::vector<int> dmus;
        for (int j = 1; j <= NumDmu; ++j)
            if (tech.selected(j) || j == d)
                dmus.push_back(j);
        return dmus;
    }

    const DataSet &data() const { return workspace.data; }
    bool discretionaryInput(int i) const { return data().InputNonDisc[static_cast<std::size_t>(i)] == 0; }
    bool discretionaryOutput(int r) const { return data().OutputNonDisc[static_cast<std::size_t>(r)] == 0; }

    Variant variant;
    Workspace workspace;
    SelectionSet tech;
    test::RecordingResults results;
    test::RecordingProgress progress;
    test::RecordingFeedback feedback;
    ResultStore store;
    RunOutcome outcome = RunOutcome::NoData;
};

struct RadialModel {
    const char *orientation;
    const char *rts;
};

class RadialEnvelopment : public ::testing::TestWithParam<RadialModel> {};

TEST_P(RadialEnvelopment, scoresEqualTheEnvelopmentOptimumAndIntensitiesRebuildTheProjection)
{
    const RadialModel model = GetParam();
    const std::string orientation = model.orientation;
    int finite = 0;
    for (const Variant &variant : variants) {
        SCOPED_TRACE(describe(variant));
        RandomRun run(variant, "RAD", model.orientation, model.rts);
        ASSERT_EQ(run.outcome, RunOutcome::Completed);
        ASSERT_TRUE(run.feedback.messages.empty());
        const DataSet &data = run.data();
        for (int d = 1; d <= NumDmu; ++d) {
            SCOPED_TRACE("DMU " + std::to_string(d));
            const auto dd = static_cast<std::size_t>(d);
            const test::EnvelopmentResult env = test::solveRadialEnvelopment(
                data, d, run.reference(d), orientation, model.rts, variant.restricted);
            const test::RowSeen &row = run.results.row(d);
            ASSERT_EQ(row.noFiniteOptimum, !env.optimal);
            if (!env.optimal)
                continue;
            ++finite;
            const double expected = orientation == "NON" ? env.value : std::fabs(env.value);
            EXPECT_NEAR(run.store.Score[dd], expected, ScoreTolerance);
            if (row.efficient || variant.restricted)
                continue;

            // Projection: the reported intensities times the technology data
            // equal d's data scaled by the score, up to the reported slacks.
            std::vector<double> lambda(static_cast<std::size_t>(NumDmu) + 1, 0.0);
            for (auto [j, value] : test::parseBenchmarks(row.benchmarks))
                lambda[static_cast<std::size_t>(j)] = value;
            const double score = run.store.Score[dd];
            for (int i = 1; i <= data.NumInputs; ++i) {
                double used = std::fabs(row.dual[static_cast<std::size_t>(i)]);
                for (int j = 1; j <= NumDmu; ++j)
                    used += lambda[static_cast<std::size_t>(j)] * data.InputData(i, j);
                double target = data.InputData(i, d);
                if (run.discretionaryInput(i) && orientation == "IN")
                    target *= score;
                else if (run.discretionaryInput(i) && orientation == "NON")
                    target *= 1.0 - score;
                EXPECT_NEAR(used, target, 1e-6) << "input " << i;
            }
            for (int r = 1; r <= data.NumOutputs; ++r) {
                double made = -std::fabs(row.dual[static_cast<std::size_t>(data.NumInputs + r)]);
                for (int j = 1; j <= NumDmu; ++j)
                    made += lambda[static_cast<std::size_t>(j)] * data.OutputData(r, j);
                double target = data.OutputData(r, d);
                if (run.discretionaryOutput(r) && orientation == "OUT")
                    target *= score;
                else if (run.discretionaryOutput(r) && orientation == "NON")
                    target *= 1.0 + score;
                EXPECT_NEAR(made, target, 1e-6) << "output " << r;
            }
        }
    }
    EXPECT_GT(finite, 20); // the comparison is not vacuous
}

INSTANTIATE_TEST_SUITE_P(
    AllModels, RadialEnvelopment,
    ::testing::Values(RadialModel{"IN", "CRS"}, RadialModel{"IN", "VRS"}, RadialModel{"IN", "NDR"},
                      RadialModel{"IN", "NIR"}, RadialModel{"OUT", "CRS"}, RadialModel{"OUT", "VRS"},
                      RadialModel{"OUT", "NDR"}, RadialModel{"OUT", "NIR"}, RadialModel{"NON", "CRS"},
                      RadialModel{"NON", "VRS"}, RadialModel{"NON", "NDR"}, RadialModel{"NON", "NIR"}),
    [](const ::testing::TestParamInfo<RadialModel> &p) {
        return std::string(p.param.orientation) + p.param.rts;
    });

struct SlackModel {
    const char *distance;
    const char *orientation;
    const char *rts;
};

class SlackEnvelopment : public ::testing::TestWithParam<SlackModel> {};

// The prices of the slacks in the envelopment form: additive 1 each on the
// side(s) the orientation acts on; max-average 1 / (K x) with K the number of
// discretionary nonzero values of d.
void slackPrices(const RandomRun &run, int d, const std::string &distance,
                 const std::string &orientation, std::vector<double> &inputPrice,
                 std::vector<double> &outputPrice)
{
    const DataSet &data = run.data();
    int K = 0;
    for (int i = 1; i <= data.NumInputs; ++i)
        K += run.discretionaryInput(i) && data.InputData(i, d) != 0.0 ? 1 : 0;
    for (int r = 1; r <= data.NumOutputs; ++r)
        K += run.discretionaryOutput(r) && data.OutputData(r, d) != 0.0 ? 1 : 0;
    inputPrice.assign(static_cast<std::size_t>(data.NumInputs) + 1, 0.0);
    outputPrice.assign(static_cast<std::size_t>(data.NumOutputs) + 1, 0.0);
    for (int i = 1; i <= data.NumInputs; ++i) {
        const double x = data.InputData(i, d);
        if (run.discretionaryInput(i) && orientation != "OUT")
            inputPrice[static_cast<std::size_t>(i)] =
                distance == "ADD" ? 1.0 : (x != 0.0 ? 1.0 / (K * x) : 0.0);
    }
    for (int r = 1; r <= data.NumOutputs; ++r) {
        const double y = data.OutputData(r, d);
        if (run.discretionaryOutput(r) && orientation != "IN")
            outputPrice[static_cast<std::size_t>(r)] =
                distance == "ADD" ? 1.0 : (y != 0.0 ? 1.0 / (K * y) : 0.0);
    }
}

TEST_P(SlackEnvelopment, scoresEqualTheLargestPricedSlackSum)
{
    const SlackModel model = GetParam();
    for (const Variant &variant : variants) {
        SCOPED_TRACE(describe(variant));
        RandomRun run(variant, model.distance, model.orientation, model.rts);
        ASSERT_EQ(run.outcome, RunOutcome::Completed);
        const DataSet &data = run.data();
        for (int d = 1; d <= NumDmu; ++d) {
            SCOPED_TRACE("DMU " + std::to_string(d));
            std::vector<double> inputPrice;
            std::vector<double> outputPrice;
            slackPrices(run, d, model.distance, model.orientation, inputPrice, outputPrice);
            const test::EnvelopmentResult env = test::solveSlackEnvelopment(
                data, d, run.reference(d), model.rts, inputPrice, outputPrice, variant.restricted);
            ASSERT_TRUE(env.optimal);
            const test::RowSeen &row = run.results.row(d);
            EXPECT_FALSE(row.noFiniteOptimum);
            EXPECT_NEAR(row.score, env.value, ScoreTolerance);
            // Efficient exactly when no priced slack is left.
            EXPECT_EQ(row.efficient, env.value < 1e-9);

            if (variant.techSubset || variant.restricted)
                continue;
            // Projection with every row's intensity, the own row included.
            const int n = static_cast<int>(row.dual.size()) - 1 - NumDmu;
            for (int i = 1; i <= data.NumInputs; ++i) {
                double used = std::fabs(row.dual[static_cast<std::size_t>(i)]);
                for (int j = 1; j <= NumDmu; ++j)
                    used -= row.dual[static_cast<std::size_t>(n + j)] * data.InputData(i, j);
                EXPECT_NEAR(used, data.InputData(i, d), 1e-6) << "input " << i;
            }
            for (int r = 1; r <= data.NumOutputs; ++r) {
                double made = -std::fabs(row.dual[static_cast<std::size_t>(data.NumInputs + r)]);
                for (int j = 1; j <= NumDmu; ++j)
                    made -= row.dual[static_cast<std::size_t>(n + j)] * data.OutputData(r, j);
                EXPECT_NEAR(made, data.OutputData(r, d), 1e-6) << "output " << r;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    AllModels, SlackEnvelopment,
    ::testing::Values(SlackModel{"ADD", "IN", "CRS"}, SlackModel{"ADD", "OUT", "VRS"},
                      SlackModel{"ADD", "NON", "CRS"}, SlackModel{"ADD", "NON", "VRS"},
                      SlackModel{"ADD", "NON", "NDR"}, SlackModel{"ADD", "NON", "NIR"},
                      SlackModel{"MAXAV", "IN", "VRS"}, SlackModel{"MAXAV", "OUT", "CRS"},
                      SlackModel{"MAXAV", "NON", "CRS"}, SlackModel{"MAXAV", "NON", "VRS"},
                      SlackModel{"MAXAV", "NON", "NIR"}),
    [](const ::testing::TestParamInfo<SlackModel> &p) {
        return std::string(p.param.distance) + p.param.orientation + p.param.rts;
    });

class MinAverageEnvelopment : public ::testing::TestWithParam<SlackModel> {};

TEST_P(MinAverageEnvelopment, scoreIsTheSmallestSingleVariableOptimumOverTheVariableCount)
{
    const SlackModel model = GetParam();
    const std::string orientation = model.orientation;
    for (const Variant &variant : variants) {
        SCOPED_TRACE(describe(variant));
        RandomRun run(variant, "MINAV", model.orientation, model.rts);
        ASSERT_EQ(run.outcome, RunOutcome::Completed);
        const DataSet &data = run.data();
        const int m = data.NumInputs;
        for (int d = 1; d <= NumDmu; ++d) {
            SCOPED_TRACE("DMU " + std::to_string(d));
            const auto dd = static_cast<std::size_t>(d);
            int count = 0;
            double best = 1e30;
            int bestVariable = 0;
            for (int c = 1; c <= m + data.NumOutputs; ++c) {
                const bool input = c <= m;
                const double own = input ? data.InputData(c, d) : data.OutputData(c - m, d);
                const bool discretionary = input ? run.discretionaryInput(c) : run.discretionaryOutput(c - m);
                if (!discretionary || own == 0.0)
                    continue;
                ++count;
                if ((input && orientation == "OUT") || (!input && orientation == "IN"))
                    continue;
                // Only this variable's relative slack counts.
                std::vector<double> inputPrice(static_cast<std::size_t>(m) + 1, 0.0);
                std::vector<double> outputPrice(static_cast<std::size_t>(data.NumOutputs) + 1, 0.0);
                (input ? inputPrice[static_cast<std::size_t>(c)]
                       : outputPrice[static_cast<std::size_t>(c - m)]) = 1.0 / own;
                const test::EnvelopmentResult env = test::solveSlackEnvelopment(
                    data, d, run.reference(d), model.rts, inputPrice, outputPrice, variant.restricted);
                ASSERT_TRUE(env.optimal);
                if (env.value < best - 1e-9) {
                    best = env.value;
                    bestVariable = c;
                }
            }
            if (bestVariable == 0) {
                EXPECT_TRUE(run.store.NoScore[dd]);
                continue;
            }
            EXPECT_FALSE(run.store.NoScore[dd]);
            EXPECT_NEAR(run.store.Score[dd], best / count, ScoreTolerance);
            EXPECT_NEAR(run.store.MinAvgBest[dd], best, ScoreTolerance);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(AllModels, MinAverageEnvelopment,
                         ::testing::Values(SlackModel{"MINAV", "IN", "CRS"}, SlackModel{"MINAV", "OUT", "VRS"},
                                           SlackModel{"MINAV", "NON", "CRS"}, SlackModel{"MINAV", "NON", "NDR"}),
                         [](const ::testing::TestParamInfo<SlackModel> &p) {
                             return std::string(p.param.orientation) + p.param.rts;
                         });

} // namespace
} // namespace zelvar
