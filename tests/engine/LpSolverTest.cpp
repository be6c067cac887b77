#include "engine/LpProblem.h"
#include "engine/LpSolver.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace zelvar {
namespace {

constexpr double Big = 1e30;
constexpr double Eps = 1e-9;

// An LP written densely, turned into the solver record below. Row k holds when
// rhs(k) + rowLower(k) <= a_k . x <= rhs(k) + rowUpper(k), as in the record.
struct DenseLp {
    std::vector<std::vector<double>> a; // a[k][c], 0-based here
    std::vector<double> obj;
    std::vector<double> colLower;
    std::vector<double> colUpper;
    std::vector<double> rhs;
    std::vector<double> rowLower;
    std::vector<double> rowUpper;
};

// The record exactly as the builders hand it over: columns counted, entries
// column by column, rows 1-based, every array with an unused position 0.
LpProblem toRecord(const DenseLp &d)
{
    const int m = static_cast<int>(d.a.size());
    const int n = static_cast<int>(d.obj.size());
    int nz = 0;
    for (const auto &row : d.a)
        for (double v : row)
            nz += v != 0.0 ? 1 : 0;
    LpProblem lp;
    lp.resize(m, n, nz);
    lp.LpNonzeros = nz;
    int e = 0;
    for (int c = 1; c <= n; ++c) {
        for (int k = 1; k <= m; ++k) {
            const double v = d.a[k - 1][c - 1];
            if (v == 0.0)
                continue;
            ++e;
            ++lp.ColCount[c];
            lp.RowIndex[e] = k;
            lp.ColValue[e] = v;
        }
        lp.Obj[c] = d.obj[c - 1];
        lp.LowerBound[c] = d.colLower[c - 1];
        lp.UpperBound[c] = d.colUpper[c - 1];
    }
    for (int k = 1; k <= m; ++k) {
        lp.Rhs[k] = d.rhs[k - 1];
        lp.LowerBound[n + k] = d.rowLower[k - 1];
        lp.UpperBound[n + k] = d.rowUpper[k - 1];
    }
    return lp;
}

LpProblem solve(const DenseLp &d, bool robust)
{
    LpProblem lp = toRecord(d);
    LpSolver solver(SolverSettings{robust});
    solver.solve(lp);
    return lp;
}

double rowDual(const LpProblem &lp, int k) { return lp.Dual[lp.LpCols + k]; }
int rowStatus(const LpProblem &lp, int k) { return lp.VarStatus[lp.LpCols + k]; }
double activity(const LpProblem &lp, int k) { return lp.Primal[lp.LpCols + k]; }

// min -x1 - x2  s.t.  x1 + 2 x2 <= 4,  3 x1 + x2 <= 6,  x >= 0.
// Both rows bind at x = (1.6, 1.2), objective -2.8; the duals solve
// y1 + 3 y2 = -1, 2 y1 + y2 = -1: y = (-0.4, -0.2).
DenseLp twoAtMostRows()
{
    return {{{1, 2}, {3, 1}}, {-1, -1}, {0, 0}, {Big, Big}, {4, 6}, {-Big, -Big}, {0, 0}};
}

// The same LP with the right-hand sides carried by the row bounds instead.
DenseLp twoAtMostRowsInBounds()
{
    return {{{1, 2}, {3, 1}}, {-1, -1}, {0, 0}, {Big, Big}, {0, 0}, {-Big, -Big}, {4, 6}};
}

// min x1 + 2 x2 - 0.5 x3 with x1 in [0, 1.5], x2 >= 0, x3 free:
//   row 1: x1 + x2 >= 2      (at-least)
//   row 2: x3 - x1 = -2      (equality; forces x3 = -0.5, so x3 must be free)
//   row 3: x2 <= 10          (at-most, slack)
//   row 4: x1 + x3 open both sides
// Eliminating x3: min 0.5 x1 + 2 x2 + 1, so x1 = 1.5 at its upper bound and
// x2 = 0.5, objective 2.75. Basic x2 and x3 give duals y1 = 2, y2 = -0.5;
// x1's reduced cost is 1 - (2 + 0.5) = -1.5.
DenseLp mixedRowsAndColumns()
{
    return {{{1, 1, 0}, {-1, 0, 1}, {0, 1, 0}, {1, 0, 1}},
            {1, 2, -0.5},
            {0, 0, -Big},
            {1.5, Big, Big},
            {2, -2, 0, 0},
            {0, 0, -Big, -Big},
            {Big, 0, 10, Big}};
}

class LpSolverMethods : public testing::TestWithParam<bool> {};

INSTANTIATE_TEST_SUITE_P(DefaultAndRobust, LpSolverMethods, testing::Values(false, true),
                         [](const testing::TestParamInfo<bool> &p) {
                             return p.param ? std::string("Robust") : std::string("Default");
                         });

TEST_P(LpSolverMethods, twoBindingAtMostRowsGiveTheHandSolvedVertexAndDuals)
{
    for (const DenseLp &d : {twoAtMostRows(), twoAtMostRowsInBounds()}) {
        const LpProblem lp = solve(d, GetParam());
        ASSERT_EQ(lp.SolverCode, 2);
        EXPECT_NEAR(lp.ObjValue, -2.8, Eps);
        EXPECT_NEAR(lp.Primal[1], 1.6, Eps);
        EXPECT_NEAR(lp.Primal[2], 1.2, Eps);
        EXPECT_NEAR(activity(lp, 1), 4.0, Eps);
        EXPECT_NEAR(activity(lp, 2), 6.0, Eps);
        EXPECT_NEAR(rowDual(lp, 1), -0.4, Eps);
        EXPECT_NEAR(rowDual(lp, 2), -0.2, Eps);
        EXPECT_NEAR(lp.Dual[1], 0.0, Eps);
        EXPECT_NEAR(lp.Dual[2], 0.0, Eps);
        EXPECT_EQ(rowStatus(lp, 1), 0);
        EXPECT_EQ(rowStatus(lp, 2), 0);
        EXPECT_NE(lp.VarStatus[1], 0) << "x1 lies strictly between its bounds";
        EXPECT_NE(lp.VarStatus[2], 0);
    }
}

TEST_P(LpSolverMethods, atLeastEqualityFreeAndBoundedColumnsFollowTheRowConvention)
{
    const LpProblem lp = solve(mixedRowsAndColumns(), GetParam());
    ASSERT_EQ(lp.SolverCode, 2);
    EXPECT_NEAR(lp.ObjValue, 2.75, Eps);
    EXPECT_NEAR(lp.Primal[1], 1.5, Eps);
    EXPECT_NEAR(lp.Primal[2], 0.5, Eps);
    EXPECT_NEAR(lp.Primal[3], -0.5, Eps);
    EXPECT_NEAR(lp.Dual[1], -1.5, Eps);
    EXPECT_NEAR(lp.Dual[2], 0.0, Eps);
    EXPECT_NEAR(lp.Dual[3], 0.0, Eps);
    EXPECT_NEAR(rowDual(lp, 1), 2.0, Eps);
    EXPECT_NEAR(rowDual(lp, 2), -0.5, Eps);
    EXPECT_NEAR(rowDual(lp, 3), 0.0, Eps);
    EXPECT_NEAR(rowDual(lp, 4), 0.0, Eps);
    EXPECT_EQ(rowStatus(lp, 1), 0) << "at-least row holds with equality";
    EXPECT_EQ(rowStatus(lp, 2), 0) << "equality row";
    EXPECT_NE(rowStatus(lp, 3), 0) << "x2 = 0.5 is far below 10";
    EXPECT_NE(rowStatus(lp, 4), 0) << "a row open on both sides is never tight";
    EXPECT_EQ(lp.VarStatus[1], 0) << "x1 sits at its upper bound";
    EXPECT_NE(lp.VarStatus[3], 0) << "the free column is not at a bound";
}

// Dual(n+k) must be the rate at which the optimum moves when Rhs(k) grows.
// Checked against the optimum of the LP re-solved with Rhs(k) + h, for every
// row whose basis does not change within h.
TEST_P(LpSolverMethods, rowDualIsTheSlopeOfTheOptimumInTheRightHandSide)
{
    const double h = 1e-5;
    for (const DenseLp &d : {twoAtMostRows(), twoAtMostRowsInBounds(), mixedRowsAndColumns()}) {
        const LpProblem base = solve(d, GetParam());
        ASSERT_EQ(base.SolverCode, 2);
        for (int k = 1; k <= base.LpRows; ++k) {
            DenseLp moved = d;
            moved.rhs[static_cast<std::size_t>(k - 1)] += h;
            const LpProblem after = solve(moved, GetParam());
            ASSERT_EQ(after.SolverCode, 2);
            EXPECT_NEAR((after.ObjValue - base.ObjValue) / h, rowDual(base, k), 1e-6) << "row " << k;
        }
    }
}

TEST_P(LpSolverMethods, contradictoryRowsHaveNoFiniteOptimum)
{
    // x1 + x2 <= 1 and x1 + x2 >= 3.
    const DenseLp d{{{1, 1}, {1, 1}}, {1, 1}, {0, 0}, {Big, Big}, {1, 3}, {-Big, 0}, {0, Big}};
    const LpProblem lp = solve(d, GetParam());
    EXPECT_EQ(lp.SolverCode, 3);
    EXPECT_TRUE(std::isnan(lp.ObjValue));
    for (int k = 1; k <= lp.LpRows; ++k)
        EXPECT_NE(rowStatus(lp, k), 0) << "no row may look tight without a solution";
}

TEST_P(LpSolverMethods, anEmptyNormalisationRowMakesTheLpInfeasible)
{
    // A unit whose discretionary inputs are all 0 gets a normalisation row
    // with no entries: 0 = -1.
    const DenseLp d{{{1, -1}, {0, 0}}, {0, -1}, {0, 0}, {Big, Big}, {0, -1}, {-Big, 0}, {0, 0}};
    EXPECT_EQ(solve(d, GetParam()).SolverCode, 3);
}

TEST_P(LpSolverMethods, anUnboundedObjectiveHasNoFiniteOptimum)
{
    // min -x1 s.t. x1 - x2 <= 1, x >= 0: x1 = x2 + 1 grows without end.
    const DenseLp d{{{1, -1}}, {-1, 0}, {0, 0}, {Big, Big}, {1}, {-Big}, {0}};
    const LpProblem lp = solve(d, GetParam());
    EXPECT_EQ(lp.SolverCode, 3);
    EXPECT_TRUE(std::isnan(lp.ObjValue));
}

TEST_P(LpSolverMethods, anLpWithoutRowsIsSolvedColumnByColumn)
{
    LpProblem none;
    none.resize(0, 0, 0);
    LpSolver solver(SolverSettings{GetParam()});
    solver.solve(none);
    EXPECT_EQ(none.SolverCode, 2);
    EXPECT_NEAR(none.ObjValue, 0.0, Eps);

    // min x1 - x2 with x1 in [1, 5], x2 in [0, 3]: each column to its best bound.
    const DenseLp d{{}, {1, -1}, {1, 0}, {5, 3}, {}, {}, {}};
    const LpProblem lp = solve(d, GetParam());
    ASSERT_EQ(lp.SolverCode, 2);
    EXPECT_NEAR(lp.ObjValue, -2.0, Eps);
    EXPECT_NEAR(lp.Primal[1], 1.0, Eps);
    EXPECT_NEAR(lp.Primal[2], 3.0, Eps);
    EXPECT_NEAR(lp.Dual[1], 1.0, Eps);
    EXPECT_NEAR(lp.Dual[2], -1.0, Eps);
    EXPECT_EQ(lp.VarStatus[1], 0);
    EXPECT_EQ(lp.VarStatus[2], 0);
}

// DEA: one input, one output, constant returns to scale, input orientation.
// Units (x, y): 1 (2, 4), 2 (4, 2), 3 (5, 5), 4 (3, 4); output/input ratios
// 2, 0.5, 1, 4/3. The input efficiency of unit d is its ratio over the best
// ratio of the other units (its own row is replaced by the normalisation, so
// unit 1 gets its superefficiency 2 / (4/3) = 1.5). In the envelopment form the
// reference unit j covers d's output: intensity y(d) / y(j).
struct DeaCase {
    int dmu;
    double score;
    std::map<int, double> intensities; // reference unit -> intensity
};

const std::vector<double> DeaX{2, 4, 5, 3};
const std::vector<double> DeaY{4, 2, 5, 4};

// The multiplier LP of unit d as the radial builder emits it: columns v and u;
// row j != d: y(j) u - x(j) v <= 0; row d: -x(d) v = -1 (Rhs -1, bounds 0..0);
// minimise -y(d) u, whose optimum is minus the score.
LpProblem deaMultiplierLp(int d)
{
    const int units = static_cast<int>(DeaX.size());
    LpProblem lp;
    lp.resize(units, 2, 2 * units - 1);
    lp.LpNonzeros = 2 * units - 1;
    int e = 0;
    for (int j = 1; j <= units; ++j) {
        ++e;
        ++lp.ColCount[1];
        lp.RowIndex[e] = j;
        lp.ColValue[e] = -DeaX[static_cast<std::size_t>(j - 1)];
    }
    for (int j = 1; j <= units; ++j) {
        if (j == d)
            continue;
        ++e;
        ++lp.ColCount[2];
        lp.RowIndex[e] = j;
        lp.ColValue[e] = DeaY[static_cast<std::size_t>(j - 1)];
    }
    lp.Obj[1] = 0.0;
    lp.Obj[2] = -DeaY[static_cast<std::size_t>(d - 1)];
    for (int c = 1; c <= 2; ++c) {
        lp.LowerBound[c] = 0.0;
        lp.UpperBound[c] = Big;
    }
    for (int j = 1; j <= units; ++j) {
        lp.LowerBound[2 + j] = -Big;
        lp.UpperBound[2 + j] = 0.0;
    }
    lp.Rhs[d] = -1.0;
    lp.LowerBound[2 + d] = 0.0;
    lp.UpperBound[2 + d] = 0.0;
    return lp;
}

class DeaMultiplierLp : public testing::TestWithParam<std::tuple<DeaCase, bool>> {};

TEST_P(DeaMultiplierLp, scoreAndIntensitiesMatchTheHandSolution)
{
    const auto &[c, robust] = GetParam();
    LpProblem lp = deaMultiplierLp(c.dmu);
    LpSolver(SolverSettings{robust}).solve(lp);
    ASSERT_EQ(lp.SolverCode, 2);
    EXPECT_NEAR(std::fabs(lp.ObjValue), c.score, Eps);
    // v normalises the unit's input; u is the score per unit of its output.
    EXPECT_NEAR(lp.Primal[1], 1.0 / DeaX[static_cast<std::size_t>(c.dmu - 1)], Eps);
    EXPECT_NEAR(lp.Primal[2], c.score / DeaY[static_cast<std::size_t>(c.dmu - 1)], Eps);
    EXPECT_NEAR(lp.Dual[1], 0.0, Eps) << "no input slack";
    EXPECT_NEAR(lp.Dual[2], 0.0, Eps) << "no output slack";
    EXPECT_EQ(rowStatus(lp, c.dmu), 0) << "the normalisation row is an equality";
    for (int j = 1; j <= lp.LpRows; ++j) {
        if (j == c.dmu)
            continue;
        const auto found = c.intensities.find(j);
        const double lambda = found == c.intensities.end() ? 0.0 : found->second;
        EXPECT_NEAR(-rowDual(lp, j), lambda, Eps) << "unit " << j;
        if (lambda > 0.0)
            EXPECT_EQ(rowStatus(lp, j), 0) << "a reference unit's row is tight, unit " << j;
        else
            EXPECT_NE(rowStatus(lp, j), 0) << "an inefficient unit's row is slack, unit " << j;
    }
}

INSTANTIATE_TEST_SUITE_P(
    FourUnits, DeaMultiplierLp,
    testing::Combine(testing::Values(DeaCase{1, 1.5, {{4, 1.0}}}, DeaCase{2, 0.25, {{1, 0.5}}},
                                     DeaCase{3, 0.5, {{1, 1.25}}},
                                     DeaCase{4, 2.0 / 3.0, {{1, 1.0}}}),
                     testing::Bool()),
    [](const testing::TestParamInfo<std::tuple<DeaCase, bool>> &p) {
        return "Unit" + std::to_string(std::get<0>(p.param).dmu)
            + (std::get<1>(p.param) ? "Robust" : "Default");
    });

TEST(LpSolverDea, theNormalisationRowDualIsTheScore)
{
    // Raising the right-hand side -1 of -x(d) v = -1 by h scales the weights
    // by (1 - h), so the optimum -score moves by +score * h.
    LpProblem lp = deaMultiplierLp(2);
    LpSolver().solve(lp);
    ASSERT_EQ(lp.SolverCode, 2);
    EXPECT_NEAR(rowDual(lp, 2), 0.25, Eps);
}

TEST(LpSolverTightness, aRowCountsAsTightWithinOneBillionthOfItsBound)
{
    // min -x s.t. x <= 1, x <= 1 + 1e-12, x <= 1 + 1e-6, 1000 x <= 1000 (1 + 1e-10),
    // 1000 x <= 1000.001. The optimum is x = 1 (up to 1e-12).
    const DenseLp d{{{1}, {1}, {1}, {1000}, {1000}},
                    {-1},
                    {0},
                    {Big},
                    {1, 1 + 1e-12, 1 + 1e-6, 1000 * (1 + 1e-10), 1000.001},
                    {-Big, -Big, -Big, -Big, -Big},
                    {0, 0, 0, 0, 0}};
    const LpProblem lp = solve(d, false);
    ASSERT_EQ(lp.SolverCode, 2);
    EXPECT_EQ(rowStatus(lp, 1), 0);
    EXPECT_EQ(rowStatus(lp, 2), 0) << "1e-12 away: rounding, still tight";
    EXPECT_NE(rowStatus(lp, 3), 0) << "1e-6 away: slack";
    EXPECT_EQ(rowStatus(lp, 4), 0) << "1e-10 relative to a bound of 1000: tight";
    EXPECT_NE(rowStatus(lp, 5), 0) << "1e-6 relative to a bound of 1000: slack";
    EXPECT_DOUBLE_EQ(LpSolver::TightTolerance, 1e-9);
}

TEST(LpSolverRecord, repeatedEntriesOfOneColumnInOneRowAddUp)
{
    // Column 1 lists row 1 twice (1 and 1): the row reads 2 x1 <= 4.
    LpProblem lp;
    lp.resize(1, 1, 2);
    lp.LpNonzeros = 2;
    lp.ColCount[1] = 2;
    lp.RowIndex[1] = 1;
    lp.RowIndex[2] = 1;
    lp.ColValue[1] = 1.0;
    lp.ColValue[2] = 1.0;
    lp.Obj[1] = -1.0;
    lp.UpperBound[1] = Big;
    lp.Rhs[1] = 4.0;
    lp.LowerBound[2] = -Big;
    LpSolver().solve(lp);
    ASSERT_EQ(lp.SolverCode, 2);
    EXPECT_NEAR(lp.Primal[1], 2.0, Eps);
}

TEST(LpSolverRecord, anInconsistentRecordIsAFailureNotAnAnswer)
{
    const auto expectFailure = [](LpProblem lp, const char *what) {
        LpSolver().solve(lp);
        EXPECT_NE(lp.SolverCode, 2) << what;
        EXPECT_NE(lp.SolverCode, 3) << what;
        EXPECT_TRUE(std::isnan(lp.ObjValue)) << what;
        for (int k = 1; k <= lp.LpRows; ++k)
            EXPECT_NE(rowStatus(lp, k), 0) << what;
    };
    LpProblem counts = toRecord(twoAtMostRows());
    counts.ColCount[2] -= 1;
    expectFailure(counts, "counts short of LpNonzeros");
    LpProblem index = toRecord(twoAtMostRows());
    index.RowIndex[1] = 3;
    expectFailure(index, "row index beyond the last row");
    LpProblem nan = toRecord(twoAtMostRows());
    nan.Obj[1] = std::nan("");
    expectFailure(nan, "objective not a number");
    LpProblem shortArrays = toRecord(twoAtMostRows());
    shortArrays.Rhs.resize(2);
    expectFailure(shortArrays, "Rhs array too short");
}

TEST(LpSolverOutput, solvingPrintsNothingOnEitherStream)
{
    const DenseLp infeasible{{{1, 1}, {1, 1}}, {1, 1}, {0, 0}, {Big, Big}, {1, 3}, {-Big, 0}, {0, Big}};
    const DenseLp unbounded{{{1, -1}}, {-1, 0}, {0, 0}, {Big, Big}, {1}, {-Big}, {0}};
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    for (bool robust : {false, true}) {
        (void)solve(twoAtMostRows(), robust);
        (void)solve(infeasible, robust);
        (void)solve(unbounded, robust);
        LpProblem dea = deaMultiplierLp(1);
        LpSolver(SolverSettings{robust}).solve(dea);
    }
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(errors, "");
}

// bpmpd.par ---------------------------------------------------------------

class TempDir {
public:
    TempDir()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "zelvar-lp-XXXXXX").string();
        m_path = ::mkdtemp(pattern.data());
    }
    ~TempDir()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;

    [[nodiscard]] const std::filesystem::path &path() const { return m_path; }

    std::string write(const std::filesystem::path &relative, const std::string &text) const
    {
        const auto file = m_path / relative;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << text;
        return file.string();
    }

private:
    std::filesystem::path m_path;
};

struct ParCase {
    const char *name;
    const char *text;
    bool robust;
};

class BpmpdPar : public testing::TestWithParam<ParCase> {};

TEST_P(BpmpdPar, readsTheMethodChoice)
{
    TempDir dir;
    const std::string path = dir.write("bpmpd.par", GetParam().text);
    EXPECT_EQ(SolverSettings::fromFile(path).robustMethod, GetParam().robust);
}

INSTANTIATE_TEST_SUITE_P(
    Variants, BpmpdPar,
    testing::Values(
        ParCase{"AdvisedLine", "BEGIN_OPT\nSMETHOD1 = 0.\nEND_OPT\n", true},
        ParCase{"NoBlanksLowerCase", "smethod1=0\n", true},
        ParCase{"ManyBlanks", "   SMETHOD1    =    0   \n", true},
        ParCase{"DecimalZero", "SMETHOD1 = 0.0\n", true},
        ParCase{"WindowsLineEnds", "BEGIN_OPT\r\nSMETHOD1 = 0.\r\nEND_OPT\r\n", true},
        ParCase{"AmongOtherKeys", "OTHERKEY = 5.\nMAXITER = 100\nSMETHOD1 = 0.\nEND_OPT\n", true},
        ParCase{"OtherValue", "SMETHOD1 = 1.\n", false},
        ParCase{"StarComment", "* SMETHOD1 = 0.\n", false},
        ParCase{"SemicolonComment", "; SMETHOD1 = 0.\n", false},
        ParCase{"AfterEndOpt", "BEGIN_OPT\nEND_OPT\nSMETHOD1 = 0.\n", false},
        ParCase{"LowerCaseEndOpt", "end_opt\nSMETHOD1 = 0.\n", false},
        ParCase{"NotANumber", "SMETHOD1 = zero\n", false},
        ParCase{"UnknownKeyOnly", "SMETHOD2 = 0.\n", false},
        ParCase{"LastLineWins", "SMETHOD1 = 0.\nSMETHOD1 = 1.\n", false},
        ParCase{"Empty", "", false}),
    [](const testing::TestParamInfo<ParCase> &p) { return std::string(p.param.name); });

TEST(BpmpdParFile, aMissingFileGivesTheDefaultMethod)
{
    EXPECT_FALSE(SolverSettings::fromFile("/nonexistent/zelvar/bpmpd.par").robustMethod);
}

// Sets or unsets an environment variable for the lifetime of the object.
class ScopedEnv {
public:
    ScopedEnv(const char *name, std::optional<std::string> value)
        : m_name(name)
    {
        if (const char *old = std::getenv(name))
            m_old = old;
        if (value)
            ::setenv(name, value->c_str(), 1);
        else
            ::unsetenv(name);
    }
    ~ScopedEnv()
    {
        if (m_old)
            ::setenv(m_name.c_str(), m_old->c_str(), 1);
        else
            ::unsetenv(m_name.c_str());
    }
    ScopedEnv(const ScopedEnv &) = delete;
    ScopedEnv &operator=(const ScopedEnv &) = delete;

private:
    std::string m_name;
    std::optional<std::string> m_old;
};

class ScopedWorkingDir {
public:
    explicit ScopedWorkingDir(const std::filesystem::path &dir)
        : m_old(std::filesystem::current_path())
    {
        std::filesystem::current_path(dir);
    }
    ~ScopedWorkingDir() { std::filesystem::current_path(m_old); }
    ScopedWorkingDir(const ScopedWorkingDir &) = delete;
    ScopedWorkingDir &operator=(const ScopedWorkingDir &) = delete;

private:
    std::filesystem::path m_old;
};

TEST(BpmpdParPlaces, theWorkingDirectoryComesBeforeTheUserConfiguration)
{
    TempDir work;
    TempDir config;
    TempDir home;
    const ScopedWorkingDir cwd(work.path());
    const ScopedEnv xdg("XDG_CONFIG_HOME", config.path().string());
    const ScopedEnv homeVar("HOME", home.path().string());

    EXPECT_FALSE(SolverSettings::fromStandardPlaces().robustMethod) << "no file anywhere";

    config.write("zelvar/bpmpd.par", "SMETHOD1 = 0.\nEND_OPT\n");
    EXPECT_TRUE(SolverSettings::fromStandardPlaces().robustMethod);

    work.write("bpmpd.par", "SMETHOD1 = 1.\nEND_OPT\n");
    EXPECT_FALSE(SolverSettings::fromStandardPlaces().robustMethod)
        << "the working directory's file wins";

    const std::vector<std::string> places = SolverSettings::standardPlaces();
    ASSERT_EQ(places.size(), 2U);
    EXPECT_EQ(std::filesystem::path(places[0]), std::filesystem::current_path() / "bpmpd.par");
    EXPECT_EQ(std::filesystem::path(places[1]), config.path() / "zelvar" / "bpmpd.par");
}

TEST(BpmpdParPlaces, withoutXdgConfigHomeTheFileLivesInDotConfig)
{
    TempDir work;
    TempDir home;
    const ScopedWorkingDir cwd(work.path());
    const ScopedEnv homeVar("HOME", home.path().string());
    home.write(".config/zelvar/bpmpd.par", "SMETHOD1 = 0.\n");

    {
        const ScopedEnv xdg("XDG_CONFIG_HOME", std::nullopt);
        EXPECT_TRUE(SolverSettings::fromStandardPlaces().robustMethod);
    }
    {
        // A relative XDG_CONFIG_HOME is not a valid setting and is passed over.
        const ScopedEnv xdg("XDG_CONFIG_HOME", std::string("relative/dir"));
        EXPECT_TRUE(SolverSettings::fromStandardPlaces().robustMethod);
    }
}

} // namespace
} // namespace zelvar
