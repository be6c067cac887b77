#include "support/TestSupport.h"

#include "engine/MalmquistIndex.h"
#include "engine/ScaleEfficiency.h"
#include "session/Workspace.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <random>

namespace zelvar {
namespace {

// Scale efficiency and the Malmquist index against the envelopment form
// solved on its own, and the index's identities. Frontiers drawn by hand are
// the batch cases scale-*.case and malmquist-index.case.

constexpr double Tolerance = 1e-7;

struct Quiet {
    test::RecordingProgress progress;
    test::RecordingFeedback feedback;
};

std::vector<test::Unit> randomUnits(int count, unsigned seed)
{
    std::mt19937_64 random(seed);
    std::lognormal_distribution<double> size(0.0, 0.5);
    std::vector<test::Unit> units;
    for (int d = 0; d < count; ++d) {
        const double x1 = 10 * size(random);
        const double x2 = 10 * size(random);
        units.push_back({{x1, x2}, {std::pow(x1 * x2, 0.4) * size(random)}});
    }
    return units;
}

// The standard scores of DMUs of the technology equal the envelopment
// optimum with the DMU among the reference units; a DMU evaluated from
// outside is measured against the technology alone.
TEST(ScaleEfficiency, scoresAreTheEnvelopmentOptimaWithTheDmuInItsTechnology)
{
    Workspace workspace;
    workspace.data = test::makeData(randomUnits(30, 5u));
    for (const ModelOrientation orientation : {ModelOrientation::IN, ModelOrientation::OUT}) {
        workspace.options.Orientation = orientation;
        SelectionSet eval(30, true);
        SelectionSet tech(30, true);
        tech.select(4, false);
        Quiet quiet;
        ScaleEfficiency scale;
        ASSERT_EQ(ScaleEfficiency::compute(workspace, eval, tech, quiet.progress, quiet.feedback, scale),
                  RunOutcome::Completed);
        const std::string code(codeOf(orientation));
        for (const ScaleEfficiency::Row &row : scale.rows) {
            std::vector<int> reference;
            for (int j = 1; j <= 30; ++j)
                if (j != 4 || row.dmu == 4)
                    reference.push_back(j);
            const bool inside = row.dmu != 4;
            for (const auto &[rts, value, big] :
                 {std::tuple{"CRS", row.crs, row.crsBig}, std::tuple{"VRS", row.vrs, row.vrsBig}}) {
                SCOPED_TRACE(std::string(rts) + " " + code + " DMU " + std::to_string(row.dmu));
                const test::EnvelopmentResult e =
                    test::solveRadialEnvelopment(workspace.data, row.dmu, reference, code, rts);
                double expected = e.optimal ? e.value : 1.0;
                if (inside)
                    expected = orientation == ModelOrientation::IN ? std::min(1.0, expected) : std::max(1.0, expected);
                if (!inside && !e.optimal) {
                    EXPECT_TRUE(big);
                    continue;
                }
                ASSERT_TRUE(value);
                EXPECT_NEAR(*value, expected, Tolerance);
            }
        }
    }
}

// A panel of `periods` periods of `units` firms (two inputs, one output).
DataSet panel(int periods, int units, unsigned seed)
{
    std::vector<test::Unit> all;
    for (int t = 0; t < periods; ++t)
        for (const test::Unit &unit : randomUnits(units, seed + static_cast<unsigned>(t)))
            all.push_back(unit);
    return test::makeData(all);
}

MalmquistIndex indexOf(Workspace &workspace, int periods, ModelOrientation orientation)
{
    workspace.options.Orientation = orientation;
    Quiet quiet;
    MalmquistIndex index;
    EXPECT_NE(MalmquistIndex::compute(workspace, periods, quiet.progress, quiet.feedback, index), RunOutcome::NoData);
    return index;
}

void expectNear(const std::optional<double> &actual, double expected, const char *what)
{
    ASSERT_TRUE(actual) << what;
    EXPECT_NEAR(*actual, expected, Tolerance) << what;
}

// EC and TC from distances to each period's technology, each solved in its
// envelopment form on its own; the identities MI = EC TC and
// SEC PEC = EC, the constant-returns index the same in both orientations.
TEST(MalmquistIndex, indexesAreBuiltFromTheEnvelopmentDistancesAndKeepTheirIdentities)
{
    const int periods = 3;
    const int K = 8;
    Workspace workspace;
    workspace.data = panel(periods, K, 40u);
    const MalmquistIndex in = indexOf(workspace, periods, ModelOrientation::IN);
    const MalmquistIndex out = indexOf(workspace, periods, ModelOrientation::OUT);
    auto technology = [&](int s) {
        std::vector<int> dmus;
        for (int k = 1; k <= K; ++k)
            dmus.push_back(s * K + k);
        return dmus;
    };
    // E(s, t) of firm k, input oriented; own period capped at 1.
    auto E = [&](int s, int t, int k) -> std::optional<double> {
        const test::EnvelopmentResult e =
            test::solveRadialEnvelopment(workspace.data, t * K + k + 1, technology(s), "IN", "CRS");
        if (s == t)
            return e.optimal ? std::min(1.0, e.value) : 1.0;
        return e.optimal && e.value > 0 ? std::optional<double>(e.value) : std::nullopt;
    };
    ASSERT_EQ(in.steps.size(), 2u);
    for (int t = 0; t + 1 < periods; ++t)
        for (int k = 0; k < K; ++k) {
            SCOPED_TRACE("step " + std::to_string(t) + " firm " + std::to_string(k));
            const MalmquistIndex::Values &v = in.steps[static_cast<std::size_t>(t)].units[static_cast<std::size_t>(k)];
            const MalmquistIndex::Values &w = out.steps[static_cast<std::size_t>(t)].units[static_cast<std::size_t>(k)];
            expectNear(v.ec, *E(t + 1, t + 1, k) / *E(t, t, k), "EC");
            const auto across = E(t, t + 1, k);
            const auto back = E(t + 1, t, k);
            if (across && back) {
                expectNear(v.tc, std::sqrt(*across / *E(t + 1, t + 1, k) * *E(t, t, k) / *back), "TC");
                expectNear(v.mi, *v.ec * *v.tc, "MI = EC TC");
                expectNear(w.mi, *v.mi, "MI of both orientations");
            } else {
                EXPECT_FALSE(v.tc);
                EXPECT_FALSE(v.mi);
            }
            expectNear(w.ec, *v.ec, "EC of both orientations");
            if (v.sec && v.pec)
                expectNear(v.sec, *v.ec / *v.pec, "SEC PEC = EC");
        }
}

// A period compared with an identical one: no change anywhere.
TEST(MalmquistIndex, aPeriodComparedWithItsCopyGivesOneEverywhere)
{
    std::vector<test::Unit> units = randomUnits(6, 9u);
    const std::vector<test::Unit> again = units;
    units.insert(units.end(), again.begin(), again.end());
    Workspace workspace;
    workspace.data = test::makeData(units);
    for (const ModelOrientation orientation : {ModelOrientation::IN, ModelOrientation::OUT}) {
        const MalmquistIndex index = indexOf(workspace, 2, orientation);
        for (const MalmquistIndex::Values &v : index.steps[0].units)
            for (const auto &value : {v.ec, v.tc, v.pec, v.sec, v.mi})
                expectNear(value, 1.0, "index of an unchanged period");
    }
}

} // namespace
} // namespace zelvar
