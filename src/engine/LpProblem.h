#pragma once

#include <cstdint>
#include <vector>

namespace zelvar {

// The LP of the DMU under evaluation, in the column-wise form the solver
// call takes. Every array is indexed from 1 (position 0 unused).
//
// n = LpCols structural columns: input weights v(1..m), output weights
// u(1..s), and the scale variable u0 unless returns to scale are constant.
// LpRows rows: the technology DMUs in DMU order, then the weight restrictions.
//
// Row k holds when Rhs(k) + LowerBound(n+k) <= row k . x <= Rhs(k) + UpperBound(n+k);
// a bound of -Big or +Big means that side is open. The solver minimises Obj . x.
struct LpProblem {
    static constexpr double BigValue = 1e30;

    std::int32_t LpRows = 0;
    std::int32_t LpCols = 0;
    std::int32_t LpNonzeros = 0;
    std::vector<std::int32_t> ColCount; // 1..n: entries stored for each column, in column order
    std::vector<std::int32_t> RowIndex; // 1..LpNonzeros: 1-based row of each entry
    std::vector<double> ColValue;       // 1..LpNonzeros
    std::vector<double> Rhs;            // 1..m
    std::vector<double> Obj;            // 1..n
    std::vector<double> LowerBound;     // 1..n columns, n+1..n+m rows
    std::vector<double> UpperBound;     // same layout

    // Solver outputs.
    std::vector<double> Primal;         // 1..n: column values (n+1..n+m: row activities)
    std::vector<double> Dual;           // 1..n: reduced costs; n+k: dual of row k,
                                        //   d(objective)/d(Rhs(k))
    std::vector<std::int32_t> VarStatus; // n+k: 0 exactly when row k is tight
    double Big = BigValue;
    std::int32_t SolverCode = 0;         // 2 optimal, 3 no finite optimum, else failure
    double ObjValue = 0.0;

    // Sizes every array for `rows` x `cols` with room for `nonzeros` matrix
    // entries, all values zero.
    void resize(int rows, int cols, int nonzeros);
};

} // namespace zelvar
