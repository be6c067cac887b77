#pragma once

#include <cstdint>
#include <vector>

namespace zelvar {

struct LpProblem;
struct Technology;

// What the solve of one efficiency LP says about the evaluated DMU, in a form
// whose size does not grow with the technology: a solution of the multiplier
// LP has only a handful of tight rows with a nonzero dual (the DMU's
// benchmarks), and every other row's dual is 0.
//
// It is read by the solve step (score, efficiency flag, benchmarks) and turned
// back into a full LpProblem solution for the results table.
struct LpOutcome {
    // A technology row tight at the solution, with its dual.
    struct Row {
        std::int32_t dmu = 0;
        double dual = 0.0;
    };

    std::int32_t code = 0;            // SolverCode: 2 optimal, 3 no finite optimum, else failure
    double objective = 0.0;           // ObjValue
    std::vector<double> primal;       // 1..n: the weights (and u0)
    std::vector<double> reducedCost;  // 1..n: the slacks of the envelopment reading
    bool ownTight = false;            // the evaluated DMU's own row (normalisation or at-most row)
    double ownDual = 0.0;
    std::vector<Row> tightRows;       // tight technology rows but the own one, ascending DMU
    std::vector<double> restrictionDual; // 1..weight rows
    std::vector<char> restrictionTight;  // 1..weight rows

    // Sets every field to "nothing known" for code: no tight row, zeros.
    void clear(int columns, int weightRows, int solverCode);
};

// The outcome of the LP in lp as solved for evaluated DMU d, read through the
// technology lp was built on: a row is tight when VarStatus says so, the own
// row is row TechPos(d).
[[nodiscard]] LpOutcome outcomeOf(const LpProblem &lp, const Technology &technology, int d);

// Writes outcomes into an LpProblem the way the full LP's solution would look
// (Primal and Dual of the columns, Dual and VarStatus of the rows), for the
// results table. Only the entries of an outcome are written and undo() clears
// them again, so a record of 100,000 rows costs next to nothing per DMU. Rows
// an outcome does not list are slack with dual 0 (VarStatus 1); row
// activities stay 0. The matrix arrays of the record are not touched.
class SolutionRecord {
public:
    // Clears what was written and sizes lp for `rows` technology rows plus
    // weightRows restriction rows and n columns.
    void prepare(LpProblem &lp, int rows, int weightRows, int n);
    // The outcome of evaluated DMU d: ownRow is the LP row of d, rowOf(j) the
    // LP row of technology DMU j (1..rows).
    template <typename RowOf>
    void write(LpProblem &lp, const LpOutcome &outcome, int ownRow, RowOf rowOf)
    {
        writeColumns(lp, outcome);
        writeRow(lp, ownRow, outcome.ownDual, outcome.ownTight);
        for (const LpOutcome::Row &row : outcome.tightRows)
            writeRow(lp, rowOf(row.dmu), row.dual, true);
        writeRestrictions(lp, outcome);
    }
    // Back to all rows slack with dual 0 and columns 0.
    void undo(LpProblem &lp);

private:
    void writeColumns(LpProblem &lp, const LpOutcome &outcome);
    void writeRow(LpProblem &lp, int row, double dual, bool tight);
    void writeRestrictions(LpProblem &lp, const LpOutcome &outcome);

    std::vector<std::int32_t> m_written; // LP rows written since the last undo
    int m_rows = 0;
};

} // namespace zelvar
