// Radial efficiency does not depend on the units of a column: the same data
// with one input or output given in units 10^k times smaller (an amount in
// currency units instead of millions) must give the same scores, flags and
// intensities, the slacks of that column times 10^k and its pure weights
// divided by 10^k. Weight restrictions are written in the data's units, so
// the coefficient of that column's weight is multiplied by 10^k as well.

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace zelvar {
namespace {

// Forty DMUs in general position (no ties: one optimal solution per LP); input
// 2 and output 2 non-discretionary, or restrictions v1 >= v2 / 2, 2 u2 >= u1.
DataSet randomData(bool nonDiscretionary, bool restricted)
{
    std::mt19937_64 random(99u);
    std::lognormal_distribution<double> size(0.0, 0.6);
    std::exponential_distribution<double> inefficiency(4.0);
    std::vector<test::Unit> units;
    for (int d = 1; d <= 40; ++d) {
        const double x1 = 10.0 * size(random);
        const double x2 = 200.0 * size(random);
        const double level = std::pow(x1 * x2 / 200.0, 0.45) * std::exp(-inefficiency(random));
        units.push_back({{x1, x2}, {level * size(random), 30.0 * level * size(random)}});
    }
    DataSet data = nonDiscretionary ? test::makeData(units, {2}, {2}) : test::makeData(units);
    if (restricted)
        test::addWeights(data, {{1, -0.5, 0, 0}, {0, 0, -1, 2}});
    return data;
}

// A run with DMU 7 evaluated from outside the technology.
struct UnitsRun : test::ModelRun {
    UnitsRun(DataSet data, const std::string &model) : test::ModelRun(std::move(data), model)
    {
        workspace.options.RestrictWeights = workspace.data.NumWeightRows > 0;
        tech.select(7, false);
        run();
    }
};

class ColumnUnits : public ::testing::TestWithParam<std::string> {};

TEST_P(ColumnUnits, scoresFlagsAndIntensitiesStayAndSlacksAndPureWeightsFollowTheUnits)
{
    std::mt19937 pick(4242u);
    const std::pair<bool, bool> variants[] = {{false, false}, {true, false}, {false, true}};
    for (const auto &[nonDiscretionary, restricted] : variants) {
        const DataSet data = randomData(nonDiscretionary, restricted);
        const UnitsRun base(data, GetParam());
        ASSERT_EQ(base.outcome, RunOutcome::Completed);
        // Every column once at each end of the range, and random units between.
        std::vector<std::pair<int, int>> changes{{1, 9}, {2, -9}, {3, -9}, {4, 9}};
        for (int draw = 0; draw < 4; ++draw)
            changes.emplace_back(1 + static_cast<int>(pick() % 4), static_cast<int>(pick() % 19) - 9);
        for (const auto &[column, k] : changes) {
            SCOPED_TRACE("column " + std::to_string(column) + " times 1e" + std::to_string(k)
                         + (nonDiscretionary ? ", non-discretionary" : "") + (restricted ? ", restricted" : ""));
            const double factor = std::pow(10.0, k);
            DataSet scaled = data;
            const int m = data.NumInputs;
            for (int d = 1; d <= data.NumDMU; ++d)
                (column <= m ? scaled.InputData : scaled.OutputData)(column <= m ? column : column - m, d) *= factor;
            for (int row = 1; row <= data.NumWeightRows; ++row)
                scaled.WeightRestrictions(column, row) *= factor;
            const UnitsRun run(scaled, GetParam());
            ASSERT_EQ(run.outcome, RunOutcome::Completed);
            EXPECT_TRUE(run.feedback.confirms.empty());
            ASSERT_EQ(run.results.rows.size(), base.results.rows.size());
            for (std::size_t r = 0; r < base.results.rows.size(); ++r) {
                const test::RowSeen &expected = base.results.rows[r];
                const test::RowSeen &actual = run.results.rows[r];
                SCOPED_TRACE("DMU " + std::to_string(expected.d));
                EXPECT_EQ(actual.noFiniteOptimum, expected.noFiniteOptimum);
                EXPECT_EQ(actual.efficient, expected.efficient);
                EXPECT_NEAR(actual.score, expected.score, 1e-9 * std::max(1.0, std::fabs(expected.score)));
                const auto a = test::parseBenchmarks(actual.benchmarks);
                const auto e = test::parseBenchmarks(expected.benchmarks);
                ASSERT_EQ(a.size(), e.size()) << actual.benchmarks << " / " << expected.benchmarks;
                for (std::size_t b = 0; b < a.size(); ++b) {
                    EXPECT_EQ(a[b].first, e[b].first);
                    EXPECT_NEAR(a[b].second, e[b].second, 2e-8 + 1e-7 * e[b].second);
                }
                if (expected.noFiniteOptimum || expected.efficient)
                    continue;
                // Slacks (reduced costs) and pure weights (primal values) of
                // each column; the changed one in its new units. Under weight
                // restrictions the slacks are not unique: a restriction's dual
                // can move slack from one weight to another.
                for (std::size_t c = 1; c <= 4; ++c) {
                    const double units = static_cast<int>(c) == column ? factor : 1.0;
                    const double slack = std::fabs(expected.dual[c]) * units;
                    if (!restricted) {
                        EXPECT_NEAR(std::fabs(actual.dual[c]), slack, 1e-7 * std::max(units, slack)) << "slack " << c;
                    }
                    const double weight = expected.primal[c] / units;
                    EXPECT_NEAR(actual.primal[c], weight, 1e-7 * std::max(1.0 / units, std::fabs(weight)))
                        << "weight " << c;
                }
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(EveryRadialModel, ColumnUnits, ::testing::ValuesIn(test::lpModels(true)), test::ParamName());

} // namespace
} // namespace zelvar
