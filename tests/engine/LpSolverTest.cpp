// The CLP adapter on LPs solved by hand, and the solver settings file.

#include "support/TestSupport.h"

#include "engine/LpSolver.h"
#include "engine/SolverCode.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>

namespace zelvar {
namespace {

constexpr double Big = 1e30;

// An LP written densely; row k: rhs(k) + rowLower(k) <= a_k . x <= rhs(k) + rowUpper(k).
struct DenseLp {
    std::vector<std::vector<double>> a; // a[k][c], 0-based here
    std::vector<double> obj, colLower, colUpper, rhs, rowLower, rowUpper;
};

// The record as the builders hand it over: column by column, every array 1-based.
LpProblem toRecord(const DenseLp &d)
{
    const auto m = static_cast<int>(d.a.size()), n = static_cast<int>(d.obj.size());
    LpProblem lp;
    lp.resize(m, n, 0);
    for (int c = 1; c <= n; ++c) {
        for (int k = 1; k <= m; ++k)
            if (const double v = d.a[k - 1][c - 1]; v != 0.0) {
                ++lp.ColCount[c];
                lp.RowIndex.push_back(k);
                lp.ColValue.push_back(v);
            }
        lp.Obj[c] = d.obj[c - 1];
        lp.LowerBound[c] = d.colLower[c - 1];
        lp.UpperBound[c] = d.colUpper[c - 1];
    }
    lp.LpNonzeros = static_cast<int>(lp.RowIndex.size()) - 1;
    for (int k = 1; k <= m; ++k) {
        lp.Rhs[k] = d.rhs[k - 1];
        lp.LowerBound[n + k] = d.rowLower[k - 1];
        lp.UpperBound[n + k] = d.rowUpper[k - 1];
    }
    return lp;
}

using Tweak = void (*)(LpProblem &);

LpProblem solve(const DenseLp &d, Tweak tweak, bool robust)
{
    LpProblem lp = toRecord(d);
    if (tweak != nullptr)
        tweak(lp);
    LpSolver(SolverSettings{robust}).solve(lp);
    return lp;
}

// min -x1 - x2  s.t.  x1 + 2 x2 <= 4,  3 x1 + x2 <= 6,  x >= 0: both rows bind
// at (1.6, 1.2); the duals solve y1 + 3 y2 = -1, 2 y1 + y2 = -1.
const DenseLp twoRows{{{1, 2}, {3, 1}}, {-1, -1}, {0, 0}, {Big, Big}, {4, 6}, {-Big, -Big}, {0, 0}};

struct LpCase {
    const char *name;
    DenseLp lp;
    Tweak tweak; // changes the record before the solve
    int code;
    double objective = 0.0;
    std::vector<double> primal = {}, reduced = {}; // of the columns: values, reduced costs
    std::vector<int> atBound = {}, tight = {};     // 1: the column sits at a bound; the row is tight
    std::vector<double> rowDual = {}; // empty where the duals are not unique
};

const LpCase lpCases[] = {
    {"TwoBindingRows", twoRows, nullptr, 2, -2.8, {1.6, 1.2}, {0, 0}, {0, 0}, {1, 1}, {-0.4, -0.2}},
    // min x1 + 2 x2 - 0.5 x3, x1 in [0, 1.5], x2 >= 0, x3 free; rows: x1 + x2 >= 2,
    // x3 - x1 = -2, x2 <= 10, x1 + x3 open. Eliminating x3: min 0.5 x1 + 2 x2 + 1,
    // so x1 = 1.5 at its bound, x2 = 0.5; basic x2 and x3 give y = (2, -0.5), and
    // x1's reduced cost is 1 - (2 + 0.5).
    {"AtLeastEqualityFreeAndBoundedColumns",
     {{{1, 1, 0}, {-1, 0, 1}, {0, 1, 0}, {1, 0, 1}}, {1, 2, -0.5}, {0, 0, -Big}, {1.5, Big, Big},
      {2, -2, 0, 0}, {0, 0, -Big, -Big}, {Big, 0, 10, Big}}, nullptr,
     2, 2.75, {1.5, 0.5, -0.5}, {-1.5, 0, 0}, {1, 0, 0}, {1, 1, 0, 0}, {2, -0.5, 0, 0}},
    // min x1 - x2, x1 in [1, 5], x2 in [0, 3]: each column at its best bound.
    {"NoRows", {{}, {1, -1}, {1, 0}, {5, 3}, {}, {}, {}}, nullptr, 2, -2.0, {1, 3}, {1, -1}, {1, 1}},
    // min -x1 - x2, x1 <= 1, x2 <= 1, x1 + x2 <= 2: three rows meet at the
    // vertex (1, 1) of a plane, a degenerate optimum with many duals.
    {"DegenerateVertex",
     {{{1, 0}, {0, 1}, {1, 1}}, {-1, -1}, {0, 0}, {Big, Big}, {1, 1, 2}, {-Big, -Big, -Big}, {0, 0, 0}}, nullptr,
     2, -2.0, {1, 1}, {0, 0}, {0, 0}, {1, 1, 1}},
    // min -x: x <= 1; x <= 1 + 1e-12 (rounding: tight); x <= 1 + 1e-6 (slack);
    // 1000 x <= 1000 (1 + 1e-10) (tight relative to the bound); 1000 x <= 1000.001.
    {"TightWithinOneBillionth",
     {{{1}, {1}, {1}, {1000}, {1000}}, {-1}, {0}, {Big}, {1, 1 + 1e-12, 1 + 1e-6, 1000 * (1 + 1e-10), 1000.001},
      {-Big, -Big, -Big, -Big, -Big}, {0, 0, 0, 0, 0}}, nullptr,
     2, -1.0, {1}, {0}, {0}, {1, 1, 0, 1, 0}},
    {"ContradictoryRows", {{{1, 1}, {1, 1}}, {1, 1}, {0, 0}, {Big, Big}, {1, 3}, {-Big, 0}, {0, Big}}, nullptr, 3},
    // A DMU whose discretionary inputs are all 0: a normalisation 0 = -1.
    {"EmptyNormalisationRow", {{{1, -1}, {0, 0}}, {0, -1}, {0, 0}, {Big, Big}, {0, -1}, {-Big, 0}, {0, 0}}, nullptr, 3},
    // min -x1, x1 - x2 <= 1: x1 = x2 + 1 grows without end.
    {"Unbounded", {{{1, -1}}, {-1, 0}, {0, 0}, {Big, Big}, {1}, {-Big}, {0}}, nullptr, 3},
    // A record that cannot be read as described, or holds a value the solver
    // cannot take (CLP stops the program on an objective of 1e25 and takes
    // bounds beyond 1e27 as infinite), is refused with code 6 and no solution.
    {"CountsShortOfTheEntries", twoRows, [](LpProblem &lp) { lp.ColCount[2] -= 1; }, 6},
    {"AnObjectiveThatIsNoNumber", twoRows, [](LpProblem &lp) { lp.Obj[1] = std::nan(""); }, 6},
    {"AnObjectiveOf1e25", twoRows, [](LpProblem &lp) { lp.Obj[1] = 1e25; }, 6},
    {"ACoefficientOf1e21", twoRows, [](LpProblem &lp) { lp.ColValue[1] = 1e21; }, 6},
    {"AFiniteBoundOf1e28", twoRows, [](LpProblem &lp) { lp.UpperBound[1] = 1e28; }, 6},
};

class LpSolverCases : public ::testing::TestWithParam<std::tuple<LpCase, bool>> {};

TEST_P(LpSolverCases, giveTheHandSolutionSilentlyAndNoSolutionWithoutAnOptimum)
{
    const auto &[c, robust] = GetParam();
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    const LpProblem lp = solve(c.lp, c.tweak, robust);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    ASSERT_EQ(lp.SolverCode, c.code);
    const int n = lp.LpCols;
    if (c.code != SolverCode::Optimal) {
        EXPECT_TRUE(std::isnan(lp.ObjValue));
        for (int k = 1; k <= lp.LpRows; ++k)
            EXPECT_NE(lp.VarStatus[n + k], 0) << "no row may look tight without a solution";
        return;
    }
    EXPECT_NEAR(lp.ObjValue, c.objective, 1e-9);
    for (int j = 1; j <= n; ++j) {
        EXPECT_NEAR(lp.Primal[j], c.primal[j - 1], 1e-9) << "column " << j;
        EXPECT_NEAR(lp.Dual[j], c.reduced[j - 1], 1e-9) << "column " << j;
        EXPECT_EQ(lp.VarStatus[j] == 0, c.atBound[j - 1] == 1) << "column " << j;
        // Dual feasibility: the reduced cost is the objective less the rows' duals.
        double reduced = c.lp.obj[j - 1];
        for (int k = 1; k <= lp.LpRows; ++k)
            reduced -= c.lp.a[k - 1][j - 1] * lp.Dual[n + k];
        EXPECT_NEAR(lp.Dual[j], reduced, 1e-9) << "column " << j;
    }
    for (int k = 1; k <= lp.LpRows; ++k) {
        double activity = 0.0;
        for (int j = 1; j <= n; ++j)
            activity += c.lp.a[k - 1][j - 1] * lp.Primal[j];
        EXPECT_NEAR(lp.Primal[n + k], activity, 1e-9) << "row " << k;
        EXPECT_EQ(lp.VarStatus[n + k] == 0, c.tight[k - 1] == 1) << "row " << k;
        if (c.rowDual.empty())
            continue;
        EXPECT_NEAR(lp.Dual[n + k], c.rowDual[k - 1], 1e-9) << "row " << k;
        // The row's dual is the slope of the optimum in its right-hand side.
        DenseLp moved = c.lp;
        moved.rhs[k - 1] += 1e-5;
        EXPECT_NEAR((solve(moved, c.tweak, robust).ObjValue - lp.ObjValue) / 1e-5, lp.Dual[n + k], 1e-6) << "row " << k;
    }
}

INSTANTIATE_TEST_SUITE_P(DefaultAndRobust, LpSolverCases,
                         ::testing::Combine(::testing::ValuesIn(lpCases), ::testing::Bool()),
                         [](const auto &p) {
                             return std::string(std::get<0>(p.param).name)
                                 + (std::get<1>(p.param) ? "Robust" : "Default");
                         });

// bpmpd.par: SMETHOD1 = 0 chooses the robust method; comments, END_OPT.
const std::pair<const char *, bool> parFiles[] = {
    {"BEGIN_OPT\nSMETHOD1 = 0.\nEND_OPT\n", true}, {"smethod1=0\n", true}, {"   SMETHOD1    =    0.0   \r\n", true},
    {"OTHERKEY = 5.\nSMETHOD1 = 0.\n", true},          {"SMETHOD1 = 1.\n", false},  {"* SMETHOD1 = 0.\n", false},
    {"; SMETHOD1 = 0.\n", false},  {"END_OPT\nSMETHOD1 = 0.\n", false},  {"SMETHOD1 = zero\n", false},
    {"SMETHOD2 = 0.\n", false},    {"SMETHOD1 = 0.\nSMETHOD1 = 1.\n", false},  {"", false},
};

TEST(BpmpdPar, choosesTheRobustMethodBySmethod1EqualToZero)
{
    const std::string path = ::testing::TempDir() + "zelvar-engine-bpmpd.par";
    for (const auto &[text, robust] : parFiles) {
        std::ofstream(path, std::ios::binary) << text;
        EXPECT_EQ(SolverSettings::fromFile(path).robustMethod, robust) << text;
    }
    std::remove(path.c_str());
    EXPECT_FALSE(SolverSettings::fromFile(path).robustMethod);
}

TEST(BpmpdPar, isLookedForInTheWorkingDirectoryThenInTheUserConfiguration)
{
    ::setenv("HOME", "/home/someone", 1);
    ::setenv("XDG_CONFIG_HOME", "/config", 1);
    EXPECT_EQ(SolverSettings::standardPlaces(),
              (std::vector<std::string>{(std::filesystem::current_path() / "bpmpd.par").string(),
                                        "/config/zelvar/bpmpd.par"}));
    ::setenv("XDG_CONFIG_HOME", "relative", 1); // not a valid setting
    EXPECT_EQ(SolverSettings::standardPlaces().back(), "/home/someone/.config/zelvar/bpmpd.par");
}

} // namespace
} // namespace zelvar
