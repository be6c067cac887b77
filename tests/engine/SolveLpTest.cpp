#include "support/TestSupport.h"

#include "engine/SolveLp.h"
#include "engine/Technology.h"
#include "session/DisplayFormat.h"
#include "session/ModelOptions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace zelvar {
namespace {

// An LP of evaluated DMU 5 over the technology DMUs 3, 5 and 7 (rows 1-3;
// DMU 5's own row is 2), two inputs and one output, constant returns: n = 3.
// The "solver" writes a prepared outcome.
class SolveLpTest : public ::testing::Test {
protected:
    static constexpr int d = 5;
    static constexpr int n = 3;

    SolveLpTest()
    {
        technology.NumTech = 3;
        technology.TechDmu = {0, 3, 5, 7};
        technology.TechPos = {0, 0, 0, 1, 0, 2, 0, 3, 0};
        lp.resize(3, n, 0);
        store.allocateResults(8, false);
        options.Distance = ModelDistance::RAD;
        options.Orientation = ModelOrientation::IN;
    }

    // Sets the solver's answer: code, objective, reduced costs of the three
    // weight columns, duals and tightness of the three rows.
    void answer(int code, double objective, std::vector<double> reduced = {0, 0, 0},
                std::vector<double> rowDuals = {0, 0, 0}, std::vector<int> rowStatus = {0, 0, 0})
    {
        solve = [=](LpProblem &p) {
            p.SolverCode = code;
            p.ObjValue = objective;
            for (int c = 1; c <= n; ++c)
                p.Dual[static_cast<std::size_t>(c)] = reduced[static_cast<std::size_t>(c - 1)];
            for (int k = 1; k <= 3; ++k) {
                p.Dual[static_cast<std::size_t>(n + k)] = rowDuals[static_cast<std::size_t>(k - 1)];
                p.VarStatus[static_cast<std::size_t>(n + k)] = rowStatus[static_cast<std::size_t>(k - 1)];
            }
        };
    }

    bool run()
    {
        const SolveContext context{options, format, separator, technology, 3, feedback, dataFile, solve};
        return SolveLP(d, lp, store, context);
    }

    ModelOptions options;
    DisplayFormat format;
    std::string separator = ".";
    std::string dataFile;
    Technology technology;
    LpProblem lp;
    ResultStore store;
    test::RecordingFeedback feedback;
    LpSolveFunction solve;
};

TEST_F(SolveLpTest, referencesAreWrittenWithTheirIntensitiesAndCounted)
{
    answer(2, -0.8, {0, 0.5, 0}, {-0.5, -3.0, -0.25});
    EXPECT_TRUE(run());
    EXPECT_DOUBLE_EQ(store.Score[d], 0.8);
    EXPECT_FALSE(store.Efficient[d]);
    // Row 2 is DMU 5's own row: never its own reference.
    EXPECT_EQ(store.Benchmarks[d], " 3 (0.50)  7 (0.25) ");
    EXPECT_EQ(store.ReferenceCount[3], 1);
    EXPECT_EQ(store.ReferenceCount[5], 0);
    EXPECT_EQ(store.ReferenceCount[7], 1);
    EXPECT_TRUE(store.Efficient[3]);
    EXPECT_TRUE(store.Efficient[7]);
    EXPECT_TRUE(feedback.messages.empty());
}

TEST_F(SolveLpTest, anIntensityMustExceedTheNoiseThresholdStrictly)
{
    answer(2, -0.8, {0, 0, 0}, {-9e-08, 0, -9.1e-08});
    EXPECT_TRUE(run());
    EXPECT_EQ(store.Benchmarks[d], " 7 (0.00) ");
    EXPECT_EQ(store.ReferenceCount[3], 0);
    EXPECT_EQ(store.ReferenceCount[7], 1);
}

TEST_F(SolveLpTest, aRowThatIsNotTightIsNoReference)
{
    answer(2, -0.8, {0, 0, 0}, {-0.5, 0, -0.5}, {1, 0, 0});
    EXPECT_TRUE(run());
    EXPECT_EQ(store.Benchmarks[d], " 7 (0.50) ");
}

TEST_F(SolveLpTest, intensitiesUseTheDisplayDecimalsAndSeparator)
{
    format.DecIntensities = 0;
    answer(2, -0.8, {0, 0, 0}, {-2.25, 0, 0});
    EXPECT_TRUE(run());
    EXPECT_EQ(store.Benchmarks[d], " 3 (2.) ");

    store.Benchmarks[d].clear();
    format.DecIntensities = 3;
    separator = ",";
    EXPECT_TRUE(run());
    EXPECT_EQ(store.Benchmarks[d], " 3 (2,250) ");
}

struct RuleCase {
    const char *distance;
    const char *orientation;
    double objective;
    double slack;   // reduced cost of weight column 2
    int ownStatus;  // VarStatus of the own row
    double score;
    bool efficient;
};

class EfficiencyRules : public SolveLpTest, public ::testing::WithParamInterface<RuleCase> {};

TEST_P(EfficiencyRules, flagTheEvaluatedDmu)
{
    const RuleCase c = GetParam();
    options.Distance = distanceFromCode(c.distance).value();
    options.Orientation = orientationFromCode(c.orientation).value();
    answer(2, c.objective, {0, c.slack, 0}, {-1, 0, 0}, {0, c.ownStatus, 0});
    EXPECT_TRUE(run());
    EXPECT_DOUBLE_EQ(store.Score[d], c.score);
    EXPECT_EQ(store.Efficient[d] != 0, c.efficient);
    // An efficient DMU gets no benchmarks.
    EXPECT_EQ(store.Benchmarks[d].empty(), c.efficient);
    EXPECT_FALSE(store.NoFiniteOptimum[d]);
}

INSTANTIATE_TEST_SUITE_P(
    All, EfficiencyRules,
    ::testing::Values(
        // Radial input orientation: 1 or more is efficient, slacks or not.
        RuleCase{"RAD", "IN", -1.0, 0.3, 1, 1.0, true},
        RuleCase{"RAD", "IN", -1.25, 0.3, 1, 1.25, true},
        RuleCase{"RAD", "IN", -0.8, 0.0, 1, 0.8, false},
        // 0.99999999 rounds to 1 at 7 decimals: efficient only without slack.
        RuleCase{"RAD", "IN", -0.99999999, 0.0, 1, 0.99999999, true},
        RuleCase{"RAD", "IN", -0.99999999, 0.001, 1, 0.99999999, false},
        RuleCase{"RAD", "IN", -0.99999999, 0.00000004, 1, 0.99999999, true},
        // Output orientation: 1 or less.
        RuleCase{"RAD", "OUT", 0.75, 0.3, 1, 0.75, true},
        RuleCase{"RAD", "OUT", 1.5, 0.0, 1, 1.5, false},
        RuleCase{"RAD", "OUT", -1.5, 0.0, 1, 1.5, false},
        // Non-oriented: the sign is kept; 0 or less is efficient.
        RuleCase{"RAD", "NON", -0.2, 0.3, 1, -0.2, true},
        RuleCase{"RAD", "NON", -1.0, 0.3, 1, -1.0, true},
        RuleCase{"RAD", "NON", 0.3, 0.0, 1, 0.3, false},
        RuleCase{"RAD", "NON", 1e-9, 0.0, 1, 1e-9, true},
        RuleCase{"RAD", "NON", 1e-9, 0.01, 1, 1e-9, false},
        // Non-radial: the own row decides, whatever the value.
        RuleCase{"ADD", "IN", 0.0, 0.0, 0, 0.0, true},
        RuleCase{"ADD", "IN", 2.5, 0.0, 1, 2.5, false},
        RuleCase{"MAXAV", "OUT", -0.25, 0.0, 1, 0.25, false},
        RuleCase{"MAXAV", "OUT", 0.25, 0.0, 0, 0.25, true}));

TEST_F(SolveLpTest, noFiniteOptimumIsSilentAndFlagged)
{
    answer(3, std::numeric_limits<double>::quiet_NaN(), {0, 0, 0}, {-0.5, 0, 0});
    EXPECT_TRUE(run());
    EXPECT_EQ(store.Score[d], -1.0);
    EXPECT_TRUE(store.Efficient[d]);
    EXPECT_TRUE(store.NoFiniteOptimum[d]);
    EXPECT_TRUE(store.Benchmarks[d].empty());
    EXPECT_EQ(store.ReferenceCount[3], 0);
    EXPECT_TRUE(feedback.messages.empty());
    EXPECT_TRUE(feedback.confirms.empty());
}

TEST_F(SolveLpTest, anOptimumWithoutANumberStopsTheRunWithTheSolverErrorText)
{
    answer(2, std::numeric_limits<double>::quiet_NaN());
    EXPECT_FALSE(run());
    ASSERT_EQ(feedback.messages.size(), 1u);
    EXPECT_EQ(feedback.messages[0],
              "Solver error for DMU 5. Remove it from the set of DMUs to evaluate, or add the line\n\r"
              "SMETHOD1 = 0.\n\rbefore END_OPT in the file bpmpd.par and try again.");
    EXPECT_TRUE(feedback.confirms.empty());
}

TEST_F(SolveLpTest, anotherCodeAsksAndCancelStops)
{
    feedback.confirmAnswer = false;
    answer(5, 0.0);
    EXPECT_FALSE(run());
    ASSERT_EQ(feedback.confirms.size(), 1u);
    EXPECT_EQ(feedback.confirms[0], "DMU 5 error code: 5");
}

TEST_F(SolveLpTest, anotherCodeWithOkGoesOnWithTheScoreUnchanged)
{
    store.Score[d] = 0.125;
    answer(7, -0.5, {0, 0, 0}, {-0.5, 0, 0});
    EXPECT_TRUE(run());
    EXPECT_EQ(store.Score[d], 0.125);
    EXPECT_FALSE(store.Efficient[d]);
    EXPECT_EQ(store.Benchmarks[d], " 3 (0.50) ");
    EXPECT_EQ(feedback.confirms, (std::vector<std::string>{"DMU 5 error code: 7"}));
}

TEST_F(SolveLpTest, aDmuAlreadyFlaggedCollectsNoBenchmarks)
{
    store.Efficient[d] = 1;
    answer(2, -0.5, {0, 0, 0}, {-0.5, 0, 0});
    EXPECT_TRUE(run());
    EXPECT_TRUE(store.Benchmarks[d].empty());
    EXPECT_EQ(store.ReferenceCount[3], 0);
}

} // namespace
} // namespace zelvar
