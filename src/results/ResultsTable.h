#pragma once

#include "engine/RunSinks.h"
#include "results/TextGrid.h"

#include <string>

namespace zelvar {

struct DataSet;
struct DisplayFormat;
struct ModelOptions;

// The results table of one run: laid out when created from the model
// options, data set and display format as they are then, and filled by the
// run through the four fill operations. Later changes of options or
// settings do not touch it.
//
// Row d is DMU d, whatever the evaluation set. The LP table has the columns
// DMU, Score, one weight per input and output, Benchmarks, one slack or
// factor per input and output; the FDH table DMU, Score, Benchmarks, the
// number and list of the DMUs that dominate the row's DMU, the number and
// list of the DMUs it dominates.
//
// The fill operations format numbers with the decimals of run.format and
// run.decimalSeparator. A cell whose value cannot be formed (a division by
// zero, no score) is left empty; the rest of the row is written as usual.
class ResultsTable : public ResultsSink {
public:
    ResultsTable(const DataSet &data, const ModelOptions &options, const DisplayFormat &format);

    TextGrid &grid() { return m_grid; }
    const TextGrid &grid() const { return m_grid; }

    // The Benchmarks column: 3 in the FDH table, 3 + m + s in the LP table,
    // after the quantities in the table of a cost or revenue run.
    int benchmarksColumn() const
    {
        return m_fdh ? 3 : m_pricesBenchmarks > 0 ? m_pricesBenchmarks : 3 + m_inputs + m_outputs;
    }

    void setRedraw(bool on) override { m_grid.setRedraw(on); }
    void Showresults(int d, const RunView &run, const LpProblem &lp) override;
    void ShowFDHresults(int d, const RunView &run) override;
    void showPriceResults(int d, const RunView &run) override;
    void ShowReferences(const RunView &run) override;
    void WriteNonevaluated(const RunView &run) override;

private:
    void layOutLpTable(const DataSet &data, const ModelOptions &options, const DisplayFormat &format);
    void layOutFdhTable(const DataSet &data, const DisplayFormat &format);
    // The cells of an LP row: score, weights, slacks or factors.
    std::string scoreText(int d, const RunView &run) const;
    void writeWeights(int d, const RunView &run, const LpProblem &lp);
    void writeSlacks(int d, const RunView &run, const LpProblem &lp);
    // Cyan background from column 1 to the last column of row d.
    void highlight(int d);
    // Rows of the table that belong to DMUs of this run's data.
    int dmuRows(const RunView &run) const;

    TextGrid m_grid;
    bool m_fdh = false;
    int m_pricesBenchmarks = 0; // the Benchmarks column of a cost or revenue table, else 0
    int m_inputs = 0;
    int m_outputs = 0;
};

} // namespace zelvar
