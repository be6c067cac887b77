#pragma once

#include "engine/RunSinks.h"
#include "results/RunScores.h"
#include "results/TextGrid.h"
#include "session/ModelOptions.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zelvar {

class FdhLists;
struct DataSet;
struct DisplayFormat;

// How the text of a number cell is formed from its value: formatFixed,
// formatPercent (the value 1 shows as 100%) or a whole number.
enum class NumberStyle : std::uint8_t { Fixed, Percent, Whole };

// The number behind a cell's text: the cell shows `value` in `style` with
// `decimals` decimals and the table's decimal separator.
struct CellNumber {
    double value = 0.0;
    NumberStyle style = NumberStyle::Fixed;
    int decimals = 0;
};

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
// Beside each number cell's text the table keeps the value it was formed
// from, so that an export can write exact numbers; and when the run ends it
// keeps the run's scores (RunScores) for the summary and the charts.
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
    bool fdh() const { return m_fdh; }
    int inputs() const { return m_inputs; }
    int outputs() const { return m_outputs; }
    // The model the table was laid out for.
    const ModelOptions &options() const { return m_options; }

    // The number cell (row, col) shows; nothing for a text or empty cell.
    // Row 0 (headers) holds none; column 0 holds the DMU numbers.
    std::optional<CellNumber> number(int row, int col) const;
    // The decimal separator the numbers were written with.
    const std::string &decimalSeparator() const { return m_separator; }

    // The scores of the run, once it has ended (empty before).
    const RunScores &scores() const { return m_scores; }
    bool runEnded() const { return m_ended; }

    void setRedraw(bool on) override { m_grid.setRedraw(on); }
    void Showresults(int d, const RunView &run, const LpProblem &lp) override;
    void ShowFDHresults(int d, const RunView &run) override;
    void showPriceResults(int d, const RunView &run) override;
    void ShowReferences(const RunView &run) override;
    void WriteNonevaluated(const RunView &run) override;

private:
    void layOutLpTable(const DataSet &data, const ModelOptions &options, const DisplayFormat &format);
    void layOutFdhTable(const DataSet &data, const DisplayFormat &format);
    // The cells of a row: score, weights, slacks or factors.
    void writeScore(int d, const RunView &run);
    void markFilled(int d);
    void writeWeights(int d, const RunView &run, const LpProblem &lp);
    void writeSlacks(int d, const RunView &run, const LpProblem &lp);
    void showDominanceLists(const std::shared_ptr<FdhLists> &lists);
    // Cyan background from column 1 to the last column of row d.
    void highlight(int d);
    // Rows of the table that belong to DMUs of this run's data.
    int dmuRows(const RunView &run) const;
    // A cell and the number behind it: its text formed from value.
    void putNumber(int row, int col, double value, NumberStyle style, int decimals, std::string_view separator);
    void putText(int row, int col, std::string text);
    std::size_t cellIndex(int row, int col) const;

    TextGrid m_grid;
    ModelOptions m_options;
    bool m_fdh = false;
    std::shared_ptr<FdhLists> m_lists; // the FDH run's dominance lists
    int m_pricesBenchmarks = 0; // the Benchmarks column of a cost or revenue table, else 0
    int m_inputs = 0;
    int m_outputs = 0;
    // Per cell, row by row: the value (NaN: no number) and the style in the
    // high four bits with the decimals in the low four.
    std::vector<double> m_numbers;
    std::vector<std::uint8_t> m_styles;
    std::string m_separator = ".";
    // Rows the run filled (evaluated DMUs reached), by DMU number.
    std::vector<char> m_filled;
    RunScores m_scores;
    bool m_ended = false;
};

} // namespace zelvar
