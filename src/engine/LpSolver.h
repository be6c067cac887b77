#pragma once

#include "engine/SolverCode.h"
#include "engine/SolverSettings.h"

namespace zelvar {

struct LpProblem;

// Solves LpProblem records with COIN-OR CLP: minimises Obj . x under the
// row convention and the column bounds (+-Big = open) and fills Primal, Dual,
// VarStatus, SolverCode and ObjValue. Prints nothing and throws nothing.
class LpSolver {
public:
    // Largest absolute value of a coefficient, right-hand side or finite
    // bound that goes to the solver. CLP stops the whole program on an
    // objective coefficient of 1e25 or more and takes bounds beyond about
    // 1e27 as infinite; such an LP is reported as SolverCode::InvalidProblem instead.
    // Data scaled to its LPs' units stays far below it unless one column
    // spans some forty orders of magnitude.
    static constexpr double MaxMagnitude = 1e20;

    // Whether the solver can take value as a coefficient or finite bound.
    [[nodiscard]] static bool acceptable(double value)
    {
        return value >= -MaxMagnitude && value <= MaxMagnitude;
    }

    explicit LpSolver(SolverSettings settings = {});

    // Needs: LpRows, LpCols, LpNonzeros, ColCount, RowIndex, ColValue, Rhs, Obj,
    // LowerBound, UpperBound and Big filled as LpProblem describes, with the
    // counts in ColCount adding up to LpNonzeros. Entries for the same row
    // within one column are added together.
    //
    // Writes SolverCode and, on Optimal:
    //   Primal(1..n) column values, Primal(n+k) activity of row k;
    //   Dual(1..n) reduced costs, Dual(n+k) d(optimum)/d(Rhs(k));
    //   VarStatus(n+k) 0 when row k is tight (see TightTolerance), else 1;
    //   VarStatus(c) 0 when column c sits at a finite bound, else 1;
    //   ObjValue the optimum.
    // On any other code Primal and Dual are zero, VarStatus is 1 everywhere (no
    // row tight) and ObjValue is NaN, so no stale or half-finished solution can
    // be mistaken for an answer. Primal, Dual and VarStatus are resized to
    // n+m+1 when they are shorter.
    void solve(LpProblem &lp);

    // A row counts as tight (VarStatus 0) when its activity is within
    // TightTolerance * max(1, |bound|, sum over j of |a_kj x_j|) of a finite
    // bound, or beyond it. Rows at a bound that the simplex method leaves
    // non-basic carry their bound exactly; rows that are basic but degenerate
    // at their bound differ from it only by rounding, which grows with the
    // size of the terms that cancel in the row, hence the scale. Genuinely
    // slack rows in efficiency LPs are slack by far more than 1e-9 of their
    // terms. A row beyond its bound is within the solver's feasibility
    // tolerance (1e-7) at an optimum, and is holding as an equality.
    static constexpr double TightTolerance = 1e-9;

    // The test above for a value between lower and upper (+-COIN_DBL_MAX
    // is an open side); termScale is the sum of |a_kj x_j| of a row, 0
    // for a column.
    [[nodiscard]] static bool isTight(double value, double lower, double upper, double termScale);

private:
    SolverSettings m_settings;
};

} // namespace zelvar
