#include "support/TestSupport.h"

#include "engine/RunDriver.h"
#include "session/Workspace.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace zelvar {
namespace {

// Radial efficiency does not depend on the units of a column: the same data
// with one input or output given in units 10^k times smaller (an amount in
// currency units instead of millions) must give the same scores, flags and
// intensities, the slacks of that column times 10^k and its pure weights
// divided by 10^k. Weight restrictions are written in the data's units, so
// the coefficient of that column's weight is multiplied by 10^k as well.

constexpr int NumDmu = 40;

struct Variant {
    const char *name;
    bool nonDiscretionary; // input 2 and output 2
    bool restricted;       // v1 >= v2 / 2 and 2 u2 >= u1
};

const Variant variants[] = {
    {"plain", false, false},
    {"non-discretionary", true, false},
    {"restricted", false, true},
};

// Values in general position (continuous, no ties), so that every LP has one
// optimal solution and its intensities are unique.
DataSet randomData(const Variant &variant, unsigned seed)
{
    std::mt19937_64 random(seed);
    std::lognormal_distribution<double> size(0.0, 0.6);
    std::exponential_distribution<double> inefficiency(4.0);
    std::vector<test::Unit> units;
    for (int d = 1; d <= NumDmu; ++d) {
        const double x1 = 10.0 * size(random);
        const double x2 = 200.0 * size(random);
        const double level = std::pow(x1 * x2 / 200.0, 0.45) * std::exp(-inefficiency(random));
        units.push_back({{x1, x2}, {level * size(random), 30.0 * level * size(random)}});
    }
    DataSet data = variant.nonDiscretionary ? test::makeData(units, {2}, {2}) : test::makeData(units);
    if (variant.restricted)
        test::addWeights(data, {{1, -0.5, 0, 0}, {0, 0, -1, 2}});
    return data;
}

// Column c (inputs first, then outputs) in units 10^k times smaller.
void rescale(DataSet &data, int c, int k)
{
    const double factor = std::pow(10.0, k);
    const int m = data.NumInputs;
    Matrix &values = c <= m ? data.InputData : data.OutputData;
    for (int d = 1; d <= data.NumDMU; ++d)
        values(c <= m ? c : c - m, d) *= factor;
    for (int row = 1; row <= data.NumWeightRows; ++row)
        data.WeightRestrictions(c, row) *= factor;
}

struct UnitsRun {
    UnitsRun(DataSet data, const std::string &rts, const std::string &orientation, bool restricted)
    {
        workspace.data = std::move(data);
        workspace.options.ReturnsToScale = returnsFromCode(rts).value();
        workspace.options.Orientation = orientationFromCode(orientation).value();
        workspace.options.RestrictWeights = restricted;
        workspace.format.DecIntensities = 8;
        SelectionSet eval(NumDmu, true);
        SelectionSet tech(NumDmu, true);
        tech.select(7, false); // evaluated from outside the technology
        RunDriver driver(workspace);
        outcome = driver.RunModel(eval, tech, results, progress, feedback);
    }

    Workspace workspace;
    test::RecordingResults results;
    test::RecordingProgress progress;
    test::RecordingFeedback feedback;
    RunOutcome outcome = RunOutcome::NoData;
};

void expectSameIntensities(const std::string &actual, const std::string &expected)
{
    const auto a = test::parseBenchmarks(actual);
    const auto e = test::parseBenchmarks(expected);
    ASSERT_EQ(a.size(), e.size()) << actual << " / " << expected;
    for (std::size_t k = 0; k < a.size(); ++k) {
        EXPECT_EQ(a[k].first, e[k].first);
        EXPECT_NEAR(a[k].second, e[k].second, 2e-8 + 1e-7 * e[k].second);
    }
}

struct RadialModel {
    const char *rts;
    const char *orientation;
};

class ColumnUnits : public ::testing::TestWithParam<RadialModel> {};

TEST_P(ColumnUnits, scoresFlagsAndIntensitiesStayAndSlacksAndPureWeightsFollowTheUnits)
{
    const RadialModel model = GetParam();
    std::mt19937 pick(4242u);
    for (const Variant &variant : variants) {
        const DataSet data = randomData(variant, 99u);
        const UnitsRun base(data, model.rts, model.orientation, variant.restricted);
        ASSERT_EQ(base.outcome, RunOutcome::Completed);
        // Every column once at each end of the range, and random units between.
        std::vector<std::pair<int, int>> changes{{1, 9}, {2, -9}, {3, -9}, {4, 9}};
        for (int draw = 0; draw < 4; ++draw)
            changes.emplace_back(1 + static_cast<int>(pick() % 4), static_cast<int>(pick() % 19) - 9);
        for (const auto &[column, k] : changes) {
            SCOPED_TRACE(std::string(variant.name) + ": column " + std::to_string(column) + " times 1e"
                         + std::to_string(k));
            DataSet scaled = data;
            rescale(scaled, column, k);
            const UnitsRun run(scaled, model.rts, model.orientation, variant.restricted);
            ASSERT_EQ(run.outcome, RunOutcome::Completed);
            EXPECT_TRUE(run.feedback.confirms.empty());
            ASSERT_EQ(run.results.rows.size(), base.results.rows.size());
            const double factor = std::pow(10.0, k);
            for (std::size_t r = 0; r < base.results.rows.size(); ++r) {
                const test::RowSeen &expected = base.results.rows[r];
                const test::RowSeen &actual = run.results.rows[r];
                SCOPED_TRACE("DMU " + std::to_string(expected.d));
                EXPECT_EQ(actual.noFiniteOptimum, expected.noFiniteOptimum);
                EXPECT_EQ(actual.efficient, expected.efficient);
                EXPECT_NEAR(actual.score, expected.score, 1e-9 * std::max(1.0, std::fabs(expected.score)));
                expectSameIntensities(actual.benchmarks, expected.benchmarks);
                if (expected.noFiniteOptimum || expected.efficient)
                    continue;
                // Slacks (reduced costs) and pure weights (primal values) of
                // each column; the changed one in its new units. Under weight
                // restrictions the slacks are not unique: a restriction's dual
                // can move slack from one weight to another.
                for (int c = 1; c <= 4; ++c) {
                    const double unitsFactor = c == column ? factor : 1.0;
                    const auto cc = static_cast<std::size_t>(c);
                    const double slack = std::fabs(expected.dual[cc]) * unitsFactor;
                    if (!variant.restricted) {
                        EXPECT_NEAR(std::fabs(actual.dual[cc]), slack, 1e-7 * std::max(unitsFactor, slack))
                            << "slack " << c;
                    }
                    const double weight = expected.primal[cc] / unitsFactor;
                    EXPECT_NEAR(actual.primal[cc], weight, 1e-7 * std::max(1.0 / unitsFactor, std::fabs(weight)))
                        << "weight " << c;
                }
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(EveryRadialModel, ColumnUnits,
                         ::testing::Values(RadialModel{"CRS", "IN"}, RadialModel{"CRS", "OUT"},
                                           RadialModel{"CRS", "NON"}, RadialModel{"VRS", "IN"},
                                           RadialModel{"VRS", "OUT"}, RadialModel{"VRS", "NON"},
                                           RadialModel{"NDR", "IN"}, RadialModel{"NDR", "OUT"},
                                           RadialModel{"NDR", "NON"}, RadialModel{"NIR", "IN"},
                                           RadialModel{"NIR", "OUT"}, RadialModel{"NIR", "NON"}),
                         [](const auto &param) {
                             return std::string(param.param.rts) + "_" + param.param.orientation;
                         });

} // namespace
} // namespace zelvar
