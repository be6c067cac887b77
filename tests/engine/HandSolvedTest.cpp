// Examples with one input and one output, solved by hand on a frontier one
// can draw.

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace zelvar {
namespace {

// Five DMUs (x | y):
//   1: (3 | 1)   2: (2 | 2)   3: (4 | 3)   4: (6 | 5)   5: (5 | 2)
// Constant returns: DMU 2 has the best ratio y/x = 1, so every other DMU's
// input efficiency is its ratio and its only reference is DMU 2 with
// intensity y/2 (input) or x/2 (output); DMU 2's superefficiency is 1 over
// the next best ratio, 5/6 of DMU 4.
// Variable returns: the frontier runs from (2, 2) to (6, 5); solved by hand
// on that segment (DMU 1 input-oriented uses (2, 2) with an output slack of 1;
// DMU 4 input-oriented and DMU 2 output-oriented cannot be reached by the
// others: no finite optimum).
// Additive, variable returns, both slacks: each DMU's best dominating
// frontier point. DMU 5 (5 | 2): (2, 2) saves 3 input; DMU 1 (3 | 1):
// (2, 2) saves 1 input and adds 1 output; DMU 3 (4 | 3): the frontier point
// (10/3, 3) of segment (2,2)-(6,5) saves 2/3 input, with intensities 2/3 and 1/3.
const std::vector<test::Unit> fiveDmus{{{3}, {1}}, {{2}, {2}}, {{4}, {3}}, {{6}, {5}}, {{5}, {2}}};

// Non-oriented, constant returns: DMU 1 (1 | 1) against DMU 2 (1 | 0). DMU
// 2's row reads -v <= 0 and the normalisation v + u = 1, so the minimum of
// v - u is reached at u = 1, v = 0 and is exactly -1: a score, not "big".
const std::vector<test::Unit> twoDmus{{{1}, {1}}, {{1}, {0}}};

struct DmuExpected {
    double score;
    const char *benchmarks; // at two decimals
    bool efficient;
    double inputSlack = 0.0;
    double outputSlack = 0.0;
    bool big = false; // no finite optimum
};

const DmuExpected Big{-1.0, "", true, 0, 0, true};

struct HandCase {
    const char *name;
    const std::vector<test::Unit> &units;
    const char *model;
    std::vector<DmuExpected> dmus; // DMUs 1, 2, ... evaluated
    std::vector<std::int32_t> referenceCounts; // of every DMU at the end
    std::vector<char> efficientAtEnd;
};

const HandCase handCases[] = {
    {"CrsIn", fiveDmus, "CRS_RAD_IN",
     {{1.0 / 3, " 2 (0.50) ", false}, {1.2, "", true}, {0.75, " 2 (1.50) ", false},
      {5.0 / 6, " 2 (2.50) ", false}, {0.4, " 2 (1.00) ", false}},
     {0, 4, 0, 0, 0}, {0, 1, 0, 0, 0}},
    {"CrsOut", fiveDmus, "CRS_RAD_OUT",
     {{3.0, " 2 (1.50) ", false}, {5.0 / 6, "", true}, {4.0 / 3, " 2 (2.00) ", false},
      {1.2, " 2 (3.00) ", false}, {2.5, " 2 (2.50) ", false}},
     {0, 4, 0, 0, 0}, {0, 1, 0, 0, 0}},
    {"VrsIn", fiveDmus, "VRS_RAD_IN",
     {{2.0 / 3, " 2 (1.00) ", false, 0, 1}, {1.75, "", true}, {5.0 / 6, " 2 (0.67)  4 (0.33) ", false}, Big,
      {0.4, " 2 (1.00) ", false}},
     {0, 3, 0, 1, 0}, {0, 1, 0, 1, 0}},
    {"VrsOut", fiveDmus, "VRS_RAD_OUT",
     {{2.75, " 2 (0.75)  4 (0.25) ", false}, Big, {3.5 / 3, " 2 (0.50)  4 (0.50) ", false}, {0.6, "", true},
      {2.125, " 2 (0.25)  4 (0.75) ", false}},
     {0, 3, 0, 3, 0}, {0, 1, 0, 1, 0}},
    {"VrsAdditive", fiveDmus, "VRS_ADD_NON",
     {{2.0, " 2 (1.00) ", false, 1, 1}, {0.0, "", true}, {2.0 / 3, " 2 (0.67)  4 (0.33) ", false, 2.0 / 3, 0},
      {0.0, "", true}, {3.0, " 2 (1.00) ", false, 3, 0}},
     {0, 3, 0, 1, 0}, {0, 1, 0, 1, 0}},
    {"NonOrientedMinusOne", twoDmus, "CRS_RAD_NON", {{-1.0, "", true}}, {0, 0}, {1, 0}},
};

class HandSolved : public ::testing::TestWithParam<HandCase> {};

TEST_P(HandSolved, scoresIntensitiesSlacksReferencesAndFlagsAreTheHandSolution)
{
    const HandCase &c = GetParam();
    test::ModelRun run(test::makeData(c.units), c.model);
    run.workspace.format.DecIntensities = 2;
    for (int d = static_cast<int>(c.dmus.size()) + 1; d <= run.workspace.data.NumDMU; ++d)
        run.eval.select(d, false);
    ASSERT_EQ(run.run(), RunOutcome::Completed);
    EXPECT_TRUE(run.feedback.messages.empty());
    EXPECT_TRUE(run.feedback.confirms.empty());
    for (int d = 1; d <= static_cast<int>(c.dmus.size()); ++d) {
        SCOPED_TRACE("DMU " + std::to_string(d));
        const DmuExpected &e = c.dmus[static_cast<std::size_t>(d - 1)];
        const test::RowSeen &row = run.results.row(d);
        EXPECT_EQ(row.noFiniteOptimum, e.big);
        EXPECT_NEAR(row.score, e.score, 1e-9);
        EXPECT_EQ(row.efficient, e.efficient);
        EXPECT_EQ(row.benchmarks, e.benchmarks);
        if (!e.efficient) {
            EXPECT_NEAR(std::fabs(row.dual[1]), e.inputSlack, 1e-9);
            EXPECT_NEAR(std::fabs(row.dual[2]), e.outputSlack, 1e-9);
        }
    }
    const auto &references = run.results.referencesAtEnd;
    const auto &efficient = run.results.efficientAtEnd;
    EXPECT_EQ(std::vector<std::int32_t>(references.begin() + 1, references.end()), c.referenceCounts);
    EXPECT_EQ(std::vector<char>(efficient.begin() + 1, efficient.end()), c.efficientAtEnd);
}

INSTANTIATE_TEST_SUITE_P(OneInputOneOutput, HandSolved, ::testing::ValuesIn(handCases), test::ParamName());

} // namespace
} // namespace zelvar
