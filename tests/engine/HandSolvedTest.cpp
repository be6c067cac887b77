#include "support/TestSupport.h"

#include "engine/RunDriver.h"
#include "session/Workspace.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace zelvar {
namespace {

// One input, one output, five DMUs:
//   1: (3 | 1)   2: (2 | 2)   3: (4 | 3)   4: (6 | 5)   5: (5 | 2)
// Constant returns: DMU 2 has the best ratio y/x = 1, so every other DMU's
// input efficiency is its ratio and its only reference is DMU 2 with
// intensity y/2 (input) or x/2 (output); DMU 2's superefficiency is 1 over
// the next best ratio, 5/6 of DMU 4.
// Variable returns: the frontier runs from (2, 2) to (6, 5); solved by hand
// on that segment (DMU 2 input-oriented uses (3, 1)-(4, 3) at y = 2; DMU 4
// input-oriented and DMU 2 output-oriented cannot be reached by the others).
const std::vector<test::Unit> units{{{3}, {1}}, {{2}, {2}}, {{4}, {3}}, {{6}, {5}}, {{5}, {2}}};

struct DmuExpected {
    double score;           // -1 for "no finite optimum"
    const char *benchmarks; // at two decimals
    bool efficient;
    double inputSlack;
    double outputSlack;
};

struct HandCase {
    const char *name;
    const char *distance;
    const char *orientation;
    const char *rts;
    std::vector<DmuExpected> dmus;
    std::vector<int> referenceCounts; // DMUs 1..5 at the end
    std::vector<int> efficientAtEnd;
};

class HandSolved : public ::testing::TestWithParam<HandCase> {};

TEST_P(HandSolved, scoresIntensitiesSlacksAndFlagsMatchTheHandSolution)
{
    const HandCase &c = GetParam();
    Workspace workspace;
    workspace.data = test::makeData(units);
    workspace.options.Distance = distanceFromCode(c.distance).value();
    workspace.options.Orientation = orientationFromCode(c.orientation).value();
    workspace.options.ReturnsToScale = returnsFromCode(c.rts).value();
    SelectionSet eval(5, true);
    SelectionSet tech(5, true);
    test::RecordingResults results;
    test::RecordingProgress progress;
    test::RecordingFeedback feedback;
    RunDriver driver(workspace);
    ASSERT_EQ(driver.RunModel(eval, tech, results, progress, feedback), RunOutcome::Completed);
    EXPECT_TRUE(feedback.messages.empty());
    EXPECT_TRUE(feedback.confirms.empty());

    for (int d = 1; d <= 5; ++d) {
        SCOPED_TRACE("DMU " + std::to_string(d));
        const DmuExpected &e = c.dmus[static_cast<std::size_t>(d - 1)];
        const test::RowSeen &row = results.row(d);
        if (e.score == -1.0) {
            EXPECT_TRUE(row.noFiniteOptimum);
            EXPECT_EQ(row.score, -1.0);
            EXPECT_TRUE(row.efficient);
            continue;
        }
        EXPECT_FALSE(row.noFiniteOptimum);
        EXPECT_NEAR(row.score, e.score, 1e-9);
        EXPECT_EQ(row.efficient, e.efficient);
        EXPECT_EQ(row.benchmarks, e.benchmarks);
        if (!e.efficient) {
            EXPECT_NEAR(std::fabs(row.dual[1]), e.inputSlack, 1e-9);
            EXPECT_NEAR(std::fabs(row.dual[2]), e.outputSlack, 1e-9);
        }
    }
    for (int d = 1; d <= 5; ++d) {
        const auto dd = static_cast<std::size_t>(d);
        EXPECT_EQ(results.referencesAtEnd[dd], c.referenceCounts[dd - 1]) << "DMU " << d;
        const bool efficient =
            std::find(c.efficientAtEnd.begin(), c.efficientAtEnd.end(), d) != c.efficientAtEnd.end();
        EXPECT_EQ(results.efficientAtEnd[dd] != 0, efficient) << "DMU " << d;
    }
}

INSTANTIATE_TEST_SUITE_P(
    FiveDmus, HandSolved,
    ::testing::Values(
        HandCase{"CrsIn", "RAD", "IN", "CRS",
                 {{1.0 / 3, " 2 (0.50) ", false, 0, 0},
                  {1.2, "", true, 0, 0},
                  {0.75, " 2 (1.50) ", false, 0, 0},
                  {5.0 / 6, " 2 (2.50) ", false, 0, 0},
                  {0.4, " 2 (1.00) ", false, 0, 0}},
                 {0, 4, 0, 0, 0},
                 {2}},
        HandCase{"CrsOut", "RAD", "OUT", "CRS",
                 {{3.0, " 2 (1.50) ", false, 0, 0},
                  {5.0 / 6, "", true, 0, 0},
                  {4.0 / 3, " 2 (2.00) ", false, 0, 0},
                  {1.2, " 2 (3.00) ", false, 0, 0},
                  {2.5, " 2 (2.50) ", false, 0, 0}},
                 {0, 4, 0, 0, 0},
                 {2}},
        HandCase{"VrsIn", "RAD", "IN", "VRS",
                 {{2.0 / 3, " 2 (1.00) ", false, 0, 1},
                  {1.75, "", true, 0, 0},
                  {5.0 / 6, " 2 (0.67)  4 (0.33) ", false, 0, 0},
                  {-1.0, "", true, 0, 0},
                  {0.4, " 2 (1.00) ", false, 0, 0}},
                 {0, 3, 0, 1, 0},
                 {2, 4}},
        HandCase{"VrsOut", "RAD", "OUT", "VRS",
                 {{2.75, " 2 (0.75)  4 (0.25) ", false, 0, 0},
                  {-1.0, "", true, 0, 0},
                  {3.5 / 3, " 2 (0.50)  4 (0.50) ", false, 0, 0},
                  {0.6, "", true, 0, 0},
                  {2.125, " 2 (0.25)  4 (0.75) ", false, 0, 0}},
                 {0, 3, 0, 3, 0},
                 {2, 4}},
        // Additive, variable returns, both slacks: each DMU's best dominating
        // frontier point. DMU 5 (5 | 2): (2, 2) saves 3 input; DMU 1 (3 | 1):
        // (2, 2) saves 1 input and adds 1 output; DMU 3 (4 | 3): the frontier
        // point (10/3, 3) of segment (2,2)-(6,5) saves 2/3, but (2, 2) cannot
        // reach y = 3, so the optimum is 2/3 with intensities 2/3 and 1/3.
        HandCase{"VrsAdditive", "ADD", "NON", "VRS",
                 {{2.0, " 2 (1.00) ", false, 1, 1},
                  {0.0, "", true, 0, 0},
                  {2.0 / 3, " 2 (0.67)  4 (0.33) ", false, 2.0 / 3, 0},
                  {0.0, "", true, 0, 0},
                  {3.0, " 2 (1.00) ", false, 3, 0}},
                 {0, 3, 0, 1, 0},
                 {2, 4}}),
    [](const ::testing::TestParamInfo<HandCase> &p) { return std::string(p.param.name); });

} // namespace
} // namespace zelvar

namespace zelvar {
namespace {

TEST(HandSolvedNonOriented, anOptimumOfExactlyMinusOneIsAScoreNotAMissingOptimum)
{
    // DMU 1 (1 | 1) against DMU 2 (1 | 0) under constant returns: DMU 2's
    // row reads -v <= 0 and the normalisation v + u = 1, so the minimum of
    // v - u is reached at u = 1, v = 0 and is exactly -1.
    Workspace workspace;
    workspace.data = test::makeData({{{1}, {1}}, {{1}, {0}}});
    workspace.options.Orientation = ModelOrientation::NON;
    SelectionSet eval = test::selection(2, {1});
    SelectionSet tech(2, true);
    test::RecordingResults results;
    test::RecordingProgress progress;
    test::RecordingFeedback feedback;
    RunDriver driver(workspace);
    ASSERT_EQ(driver.RunModel(eval, tech, results, progress, feedback), RunOutcome::Completed);
    EXPECT_NEAR(driver.store().Score[1], -1.0, 1e-12);
    EXPECT_FALSE(driver.store().NoFiniteOptimum[1]);
    EXPECT_TRUE(driver.store().Efficient[1]);
}

} // namespace
} // namespace zelvar
