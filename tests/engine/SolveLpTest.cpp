// What the solve step makes of an optimum: score, flag, benchmarks, references.

#include "support/TestSupport.h"

#include "engine/SolveLp.h"
#include "engine/Technology.h"

#include <gtest/gtest.h>

#include <tuple>

namespace zelvar {
namespace {

// One solve for evaluated DMU 5 over the technology DMUs 3, 5 and 7 (rows 1
// to 3; row 2 is DMU 5's own), two inputs and one output (columns 1 to 3):
// the "solver" answers the optimum, the reduced costs (slacks) of the
// weights, the duals of the rows and which rows are tight (0).
struct Case {
    std::string name, model;
    double objective;
    std::vector<double> slack, rowDual;
    std::vector<int> rowStatus;
    double score;
    bool efficient;
    const char *benchmarks;
    std::vector<int> references = {0, 0, 0}; // of DMUs 3, 5 and 7
    int decimals = 2;
    const char *separator = ".";
    bool flaggedBefore = false; // DMU 5 was found efficient already (as a reference)
};

// An efficiency rule: the own row's status, weight 2's slack, DMU 3 the reference.
Case rule(const char *model, double objective, double slack, int ownStatus, double score, bool efficient)
{
    static int count = 0;
    return {std::string(model) + "_" + std::to_string(++count), model, objective, {0, slack, 0}, {-1, 0, 0},
            {0, ownStatus, 0}, score, efficient, efficient ? "" : " 3 (1.00) ", {efficient ? 0 : 1, 0, 0}};
}

const Case cases[] = {
    // Radial input orientation: 1 or more is efficient, slacks or not; a
    // score that is 1 at 7 decimals only without a slack (at 7 decimals).
    rule("CRS_RAD_IN", -1.0, 0.3, 1, 1.0, true), rule("CRS_RAD_IN", -1.25, 0.3, 1, 1.25, true),
    rule("CRS_RAD_IN", -0.8, 0.0, 1, 0.8, false), rule("CRS_RAD_IN", -0.9995, 0.0, 1, 0.9995, false),
    rule("CRS_RAD_IN", -0.99999999, 0.0, 1, 0.99999999, true),
    rule("CRS_RAD_IN", -0.99999999, 0.0004, 1, 0.99999999, false),
    rule("CRS_RAD_IN", -0.99999999, 0.00000004, 1, 0.99999999, true),
    // Output orientation: 1 or less.
    rule("VRS_RAD_OUT", 0.75, 0.3, 1, 0.75, true), rule("VRS_RAD_OUT", 1.5, 0.0, 1, 1.5, false),
    rule("VRS_RAD_OUT", -1.5, 0.0, 1, 1.5, false), rule("VRS_RAD_OUT", 1.0004, 0.0, 1, 1.0004, false),
    // Non-oriented: the sign is kept; 0 or less is efficient.
    rule("CRS_RAD_NON", -0.2, 0.3, 1, -0.2, true), rule("CRS_RAD_NON", -1.0, 0.3, 1, -1.0, true),
    rule("CRS_RAD_NON", 0.3, 0.0, 1, 0.3, false), rule("CRS_RAD_NON", 1e-9, 0.0, 1, 1e-9, true),
    rule("CRS_RAD_NON", 1e-9, 0.01, 1, 1e-9, false), rule("CRS_RAD_NON", 0.0004, 0.0, 1, 0.0004, false),
    // Non-radial: the own row decides, whatever the value.
    rule("CRS_ADD_IN", 0.0, 0.0, 0, 0.0, true), rule("CRS_ADD_IN", 2.5, 0.0, 1, 2.5, false),
    rule("NIR_MAXAV_OUT", -0.25, 0.0, 1, 0.25, false), rule("NIR_MAXAV_OUT", 0.25, 0.0, 0, 0.25, true),
    // The references: tight rows with an intensity clearly above the solver's
    // noise, never the own row, written with the display's decimals.
    {"TightRowsWithAnIntensity", "CRS_RAD_IN", -0.8, {0, 0, 0}, {-0.5, -3.0, -0.25}, {0, 0, 0}, 0.8, false,
     " 3 (0.50)  7 (0.25) ", {1, 0, 1}},
    {"AnIntensityMustExceedTheNoise", "CRS_RAD_IN", -0.8, {0, 0, 0}, {-9e-08, 0, -9.1e-08}, {0, 0, 0}, 0.8, false,
     " 7 (0.00) ", {0, 0, 1}},
    {"ASlackRowIsNoReference", "CRS_RAD_IN", -0.8, {0, 0, 0}, {-0.5, 0, -0.5}, {1, 0, 0}, 0.8, false, " 7 (0.50) ",
     {0, 0, 1}},
    {"NoDecimals", "CRS_RAD_IN", -0.8, {0, 0, 0}, {-2.25, 0, 0}, {0, 0, 0}, 0.8, false, " 3 (2.) ", {1, 0, 0}, 0},
    {"TheDisplaySeparator", "CRS_RAD_IN", -0.8, {0, 0, 0}, {-2.25, 0, 0}, {0, 0, 0}, 0.8, false, " 3 (2,250) ",
     {1, 0, 0}, 3, ","},
    {"AnEfficientDmuCollectsNone", "CRS_RAD_IN", -0.8, {0, 0, 0}, {-0.5, 0, 0}, {0, 0, 0}, 0.8, true, "",
     {0, 0, 0}, 2, ".", true},
};

class SolveStep : public ::testing::TestWithParam<Case> {};

TEST_P(SolveStep, scoresFlagsAndCountsTheReferencesOfAnInefficientDmu)
{
    const Case &c = GetParam();
    const ModelOptions options = test::modelOptions(c.model);
    DisplayFormat format;
    format.DecIntensities = static_cast<std::int16_t>(c.decimals);
    Technology technology;
    technology.NumTech = 3;
    technology.TechDmu = {0, 3, 5, 7};
    technology.TechPos = {0, 0, 0, 1, 0, 2, 0, 3, 0};
    LpProblem lp;
    lp.resize(3, 3, 0);
    ResultStore store;
    store.allocateResults(8, false);
    store.Efficient[5] = c.flaggedBefore ? 1 : 0;
    test::RecordingFeedback feedback;
    const LpSolveFunction solve = [&c](LpProblem &p) {
        p.SolverCode = 2;
        p.ObjValue = c.objective;
        for (std::size_t k = 1; k <= 3; ++k) {
            p.Dual[k] = c.slack[k - 1];
            p.Dual[3 + k] = c.rowDual[k - 1];
            p.VarStatus[3 + k] = c.rowStatus[k - 1];
        }
    };
    const std::string dataFile = "data.txt";
    EXPECT_TRUE(SolveLP(5, lp, store, {options, format, c.separator, technology, 3, feedback, dataFile, solve}));
    EXPECT_DOUBLE_EQ(store.Score[5], c.score);
    EXPECT_EQ(std::tuple(store.Efficient[5] != 0, store.NoFiniteOptimum[5] != 0, store.Benchmarks[5]),
              std::tuple(c.efficient, false, c.benchmarks));
    // References are counted and flagged efficient.
    EXPECT_EQ(std::vector<int>({store.ReferenceCount[3], store.ReferenceCount[5], store.ReferenceCount[7]}),
              c.references);
    EXPECT_EQ(std::tuple(store.Efficient[3], store.Efficient[7]), std::tuple(c.references[0], c.references[2]));
    EXPECT_TRUE(feedback.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Optima, SolveStep, ::testing::ValuesIn(cases), test::ParamName());

} // namespace
} // namespace zelvar
