#include "engine/SolverCode.h"
#include "engine/LpSolver.h"

#include "engine/LpProblem.h"

#include "ClpSimplex.hpp"
#include "CoinFinite.hpp"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>

namespace zelvar {

namespace {

// The record's arrays are 1-based; CLP's are 0-based. Everything CLP needs is
// gathered here so the record itself is never changed.
struct ClpArrays {
    std::vector<CoinBigIndex> starts;
    std::vector<int> rows;
    std::vector<double> values;
    std::vector<double> columnLower;
    std::vector<double> columnUpper;
    std::vector<double> objective;
    std::vector<double> rowLower;
    std::vector<double> rowUpper;
};

double openBelow(double bound, double big)
{
    return bound <= -big ? -COIN_DBL_MAX : bound;
}

double openAbove(double bound, double big)
{
    return bound >= big ? COIN_DBL_MAX : bound;
}

bool isOpen(double bound)
{
    return std::fabs(bound) >= COIN_DBL_MAX;
}

bool allAcceptable(const std::vector<double> &values, std::size_t first, std::size_t last)
{
    for (std::size_t i = first; i <= last; ++i)
        if (!LpSolver::acceptable(values[i]))
            return false;
    return true;
}

// A lower bound at or below -big and an upper bound at or above big are open
// sides; every other bound must be acceptable (a lower bound of 1e300 is no
// open side).
bool boundsAcceptable(const std::vector<double> &lower, const std::vector<double> &upper, std::size_t first,
                      std::size_t last, double big)
{
    for (std::size_t i = first; i <= last; ++i) {
        if (std::isnan(lower[i]) || (lower[i] > -big && !LpSolver::acceptable(lower[i])))
            return false;
        if (std::isnan(upper[i]) || (upper[i] < big && !LpSolver::acceptable(upper[i])))
            return false;
    }
    return true;
}

// Checks that the record can be read as described and converts it. Returns
// false, leaving `out` unspecified, when it cannot.
bool convert(const LpProblem &lp, ClpArrays &out)
{
    const int n = lp.LpCols;
    const int m = lp.LpRows;
    const int nz = lp.LpNonzeros;
    if (n < 0 || m < 0 || nz < 0 || !(lp.Big > 0.0))
        return false;
    const auto un = static_cast<std::size_t>(n);
    const auto um = static_cast<std::size_t>(m);
    const auto unz = static_cast<std::size_t>(nz);
    if (lp.ColCount.size() < un + 1 || lp.Obj.size() < un + 1 || lp.Rhs.size() < um + 1
        || lp.LowerBound.size() < un + um + 1 || lp.UpperBound.size() < un + um + 1
        || lp.RowIndex.size() < unz + 1 || lp.ColValue.size() < unz + 1)
        return false;
    if (!allAcceptable(lp.Obj, 1, un) || !allAcceptable(lp.Rhs, 1, um) || !allAcceptable(lp.ColValue, 1, unz)
        || !boundsAcceptable(lp.LowerBound, lp.UpperBound, 1, un + um, lp.Big))
        return false;

    // Starts are the running sum of the counts: the record passes no offsets.
    out.starts.assign(un + 1, 0);
    out.rows.clear();
    out.values.clear();
    out.rows.reserve(unz);
    out.values.reserve(unz);
    // Where in `rows` the current column's entry for each row sits, to add up
    // repeated entries instead of handing CLP a matrix with duplicates.
    std::vector<CoinBigIndex> lastColumn(um, -1);
    std::vector<CoinBigIndex> position(um, 0);
    std::size_t entry = 0;
    for (std::size_t c = 1; c <= un; ++c) {
        const int count = lp.ColCount[c];
        if (count < 0 || static_cast<std::size_t>(count) > unz - entry)
            return false;
        for (int e = 0; e < count; ++e) {
            ++entry;
            const int row = lp.RowIndex[entry];
            if (row < 1 || row > m)
                return false;
            const auto r = static_cast<std::size_t>(row - 1);
            const auto column = static_cast<CoinBigIndex>(c);
            if (lastColumn[r] == column) {
                out.values[static_cast<std::size_t>(position[r])] += lp.ColValue[entry];
            } else {
                lastColumn[r] = column;
                position[r] = static_cast<CoinBigIndex>(out.rows.size());
                out.rows.push_back(row - 1);
                out.values.push_back(lp.ColValue[entry]);
            }
        }
        out.starts[c] = static_cast<CoinBigIndex>(out.rows.size());
    }
    if (entry != unz)
        return false;

    out.columnLower.resize(un);
    out.columnUpper.resize(un);
    out.objective.resize(un);
    for (std::size_t c = 1; c <= un; ++c) {
        out.columnLower[c - 1] = openBelow(lp.LowerBound[c], lp.Big);
        out.columnUpper[c - 1] = openAbove(lp.UpperBound[c], lp.Big);
        out.objective[c - 1] = lp.Obj[c];
    }
    // Row k: Rhs(k) + LowerBound(n+k) <= a_k x <= Rhs(k) + UpperBound(n+k).
    out.rowLower.resize(um);
    out.rowUpper.resize(um);
    for (std::size_t k = 1; k <= um; ++k) {
        const double lower = lp.LowerBound[un + k];
        const double upper = lp.UpperBound[un + k];
        out.rowLower[k - 1] = lower <= -lp.Big ? -COIN_DBL_MAX : lp.Rhs[k] + lower;
        out.rowUpper[k - 1] = upper >= lp.Big ? COIN_DBL_MAX : lp.Rhs[k] + upper;
    }
    return true;
}

bool atBound(double value, double lower, double upper, double termScale)
{
    return LpSolver::isTight(value, lower, upper, termScale);
}

void loadInto(ClpSimplex &model, const ClpArrays &a, int n, int m)
{
    // Silence CLP before it gets the chance to report anything.
    model.setLogLevel(0);
    model.loadProblem(n, m, a.starts.data(), a.rows.data(), a.values.data(), a.columnLower.data(),
                      a.columnUpper.data(), a.objective.data(), a.rowLower.data(),
                      a.rowUpper.data());
}

// Whether the solution lies far out on a direction that costs nothing, where
// the dual method left it: a column without a bound on that side sits at the
// method's artificial bound, or the terms of the objective are far larger
// than the objective itself, so that rounding eats the digits of the optimum.
bool farOut(const ClpSimplex &model)
{
    const double *x = model.primalColumnSolution();
    const double *cost = model.objective();
    const double *lower = model.columnLower();
    const double *upper = model.columnUpper();
    const double artificial = 0.5 * model.dualBound();
    double terms = 0.0;
    for (int c = 0; c < model.numberColumns(); ++c) {
        if ((x[c] >= artificial && upper[c] >= COIN_DBL_MAX) || (x[c] <= -artificial && lower[c] <= -COIN_DBL_MAX))
            return true;
        terms += std::fabs(cost[c] * x[c]);
    }
    return terms > 1e4 * std::max(1.0, std::fabs(model.objectiveValue()));
}

// The default method: dual simplex from the slack basis. The multiplier LPs
// have few columns and many rows and start dual feasible or nearly so, which
// is where the dual method is fastest.
int solveDefault(ClpSimplex &model)
{
    // Unscaled: the solver's tolerances then hold for the rows as written, and
    // optima come out accurate to far below 1e-9 instead of about 1e-9.
    model.scaling(0);
    model.dual();
    // Optimal with small infeasibilities left: a primal pass from the current
    // point cleans them up.
    if (model.status() == 0 && model.secondaryStatus() >= 2 && model.secondaryStatus() <= 4)
        model.primal(1);
    // The dual method bounds free directions with large artificial bounds and
    // can stop far out on one when moving along it costs nothing (a DMU on
    // the frontier with slack): weights of 1e9 and more, absurd in the table
    // and whose rounding can spoil the optimum in the seventh digit. The
    // primal method from a fresh start ends on a true vertex.
    if (model.status() == 0 && farOut(model)) {
        model.allSlackBasis(true);
        model.primal();
        // Should the primal method fail where the dual one did not, the dual
        // answer stands.
        if (model.status() != 0) {
            model.allSlackBasis(true);
            model.dual();
        }
    }
    return model.status();
}

// The robust method (SMETHOD1 = 0): primal simplex from a fresh start with
// scaling and with perturbation switched on from the first iteration, which
// keeps the highly degenerate efficiency LPs from stalling.
int solveRobust(ClpSimplex &model)
{
    model.scaling(3);
    model.setPerturbation(50);
    model.primal();
    if (model.status() == 0 && model.secondaryStatus() >= 2 && model.secondaryStatus() <= 4)
        model.primal(1);
    return model.status();
}

int codeOf(int clpStatus)
{
    switch (clpStatus) {
    case 0:
        return SolverCode::Optimal;
    case 1: // primal infeasible
    case 2: // dual infeasible: unbounded
        return SolverCode::NoFiniteOptimum;
    case 3:
        return SolverCode::IterationLimit;
    default:
        return SolverCode::NumericalTrouble;
    }
}

void clearSolution(LpProblem &lp, int code) noexcept
{
    std::fill(lp.Primal.begin(), lp.Primal.end(), 0.0);
    std::fill(lp.Dual.begin(), lp.Dual.end(), 0.0);
    std::fill(lp.VarStatus.begin(), lp.VarStatus.end(), 1);
    lp.SolverCode = code;
    lp.ObjValue = std::numeric_limits<double>::quiet_NaN();
}

void copySolution(const ClpSimplex &model, const ClpArrays &a, LpProblem &lp)
{
    const auto n = static_cast<std::size_t>(lp.LpCols);
    const auto m = static_cast<std::size_t>(lp.LpRows);
    const double *x = model.primalColumnSolution();
    const double *activity = model.primalRowSolution();
    const double *reducedCost = model.dualColumnSolution();
    const double *rowDual = model.dualRowSolution();

    // Size of the terms that cancel in each row, for the tightness test.
    std::vector<double> termScale(m, 0.0);
    for (std::size_t c = 0; c < n; ++c)
        for (auto e = static_cast<std::size_t>(a.starts[c]);
             e < static_cast<std::size_t>(a.starts[c + 1]); ++e)
            termScale[static_cast<std::size_t>(a.rows[e])] += std::fabs(a.values[e] * x[c]);

    for (std::size_t c = 0; c < n; ++c) {
        lp.Primal[c + 1] = x[c];
        lp.Dual[c + 1] = reducedCost[c];
        lp.VarStatus[c + 1] = atBound(x[c], a.columnLower[c], a.columnUpper[c], 0.0) ? 0 : 1;
    }
    // CLP's row dual of a minimisation is the rate of change of the optimum
    // as the row's bounds move up, which is what Dual(n+k) promises.
    for (std::size_t k = 0; k < m; ++k) {
        lp.Primal[n + k + 1] = activity[k];
        lp.Dual[n + k + 1] = rowDual[k];
        lp.VarStatus[n + k + 1] =
            atBound(activity[k], a.rowLower[k], a.rowUpper[k], termScale[k]) ? 0 : 1;
    }
    lp.ObjValue = model.objectiveValue();
    lp.SolverCode = SolverCode::Optimal;
}

} // namespace

bool LpSolver::isTight(double value, double lower, double upper, double termScale)
{
    const double tol = TightTolerance;
    if (!isOpen(lower) && value - lower <= tol * std::max({1.0, std::fabs(lower), termScale}))
        return true;
    if (!isOpen(upper) && upper - value <= tol * std::max({1.0, std::fabs(upper), termScale}))
        return true;
    return false;
}

LpSolver::LpSolver(SolverSettings settings)
    : m_settings(settings)
{
}

void LpSolver::solve(LpProblem &lp)
{
    try {
        const auto all = static_cast<std::size_t>(std::max(0, lp.LpCols))
            + static_cast<std::size_t>(std::max(0, lp.LpRows)) + 1;
        if (lp.Primal.size() < all)
            lp.Primal.resize(all, 0.0);
        if (lp.Dual.size() < all)
            lp.Dual.resize(all, 0.0);
        if (lp.VarStatus.size() < all)
            lp.VarStatus.resize(all, 1);

        ClpArrays arrays;
        if (!convert(lp, arrays)) {
            clearSolution(lp, SolverCode::InvalidProblem);
            return;
        }

        int status = 0;
        if (m_settings.robustMethod) {
            ClpSimplex model;
            loadInto(model, arrays, lp.LpCols, lp.LpRows);
            status = solveRobust(model);
            if (status == 0 && std::isfinite(model.objectiveValue())) {
                copySolution(model, arrays, lp);
                return;
            }
        } else {
            ClpSimplex model;
            loadInto(model, arrays, lp.LpCols, lp.LpRows);
            status = solveDefault(model);
            if (status == 0 && std::isfinite(model.objectiveValue())) {
                copySolution(model, arrays, lp);
                return;
            }
            // The dual method gave up (iteration limit, numerical trouble):
            // one more attempt with the robust method, on a fresh model so
            // nothing of the failed attempt carries over.
            if (status != 1 && status != 2) {
                ClpSimplex retry;
                loadInto(retry, arrays, lp.LpCols, lp.LpRows);
                status = solveRobust(retry);
                if (status == 0 && std::isfinite(retry.objectiveValue())) {
                    copySolution(retry, arrays, lp);
                    return;
                }
            }
        }
        // An "optimal" status with a non-finite objective is a failure too.
        clearSolution(lp, status == 0 ? SolverCode::NumericalTrouble : codeOf(status));
    } catch (...) {
        // CLP reports some errors by throwing CoinError; memory can run out.
        // Nothing may escape into the run.
        clearSolution(lp, SolverCode::LibraryError);
    }
}

} // namespace zelvar
