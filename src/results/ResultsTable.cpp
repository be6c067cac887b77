#include "results/ResultsTable.h"

#include "data/DataSet.h"
#include "data/NumberText.h"
#include "engine/FdhLists.h"
#include "engine/LpProblem.h"
#include "engine/ResultStore.h"
#include "results/PriceColumns.h"
#include "session/DisplayFormat.h"
#include "session/ModelOptions.h"
#include "session/SelectionSet.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <vector>

namespace zelvar {

namespace {

constexpr int LabelWidth = 500;
constexpr int DmuWidth = 1000;
constexpr int ListWidth = 3000;
constexpr int HeaderHeight = 1000;

int scoreWidth(int decimals) { return decimals * 150 + 400; }
int numberWidth(int decimals) { return decimals * 150 + 200; }

// The result lists are read by DMU number; a list the engine did not fill
// (a flag it never sets, a run stopped early) reads as its fresh value.
template <typename T>
T valueAt(const std::vector<T> &list, int index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= list.size())
        return T{};
    return list[static_cast<std::size_t>(index)];
}

bool flagAt(const std::vector<char> &list, int index) { return valueAt(list, index) != 0; }

std::string textAt(const std::vector<std::string> &list, int index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= list.size())
        return {};
    return list[static_cast<std::size_t>(index)];
}

double matrixAt(const Matrix &matrix, int row, int col)
{
    if (row < 1 || row > matrix.rows() || col < 1 || col > matrix.cols())
        return 0.0;
    return matrix(row, col);
}

// numerator / denominator, or nothing when the quotient is not a number
// (a zero denominator): such a cell is left empty.
std::optional<double> quotient(double numerator, double denominator)
{
    if (denominator == 0.0)
        return std::nullopt;
    const double value = numerator / denominator;
    if (!std::isfinite(value))
        return std::nullopt;
    return value;
}

enum class SlackKind { S, F };

// Header of the slack or factor column of a variable: "{S} name", or for the
// variables the average distances act on "{F} name" (max-average) and
// "{F/S} name" (min-average, where the column holds a factor or a slack).
std::string slackHeader(SlackKind kind, ModelDistance distance, const std::string &name)
{
    if (kind == SlackKind::S)
        return "{S} " + name;
    return std::string("{") + (distance == ModelDistance::MAXAV ? "F" : "F/S") + "} " + name;
}

} // namespace

ResultsTable::ResultsTable(const DataSet &data, const ModelOptions &options, const DisplayFormat &format)
    : m_options(options), m_fdh(options.fdh()), m_inputs(std::max(data.NumInputs, 0)),
      m_outputs(std::max(data.NumOutputs, 0))
{
    if (m_fdh) {
        layOutFdhTable(data, format);
    } else if (options.priced()) {
        PriceColumns::layOut(m_grid, data, options, format);
        m_pricesBenchmarks = PriceColumns::benchmarksColumn(data, options);
    } else {
        layOutLpTable(data, options, format);
    }
    const auto cells = static_cast<std::size_t>(m_grid.rows()) * static_cast<std::size_t>(m_grid.cols());
    m_numbers.assign(cells, std::numeric_limits<double>::quiet_NaN());
    m_styles.assign(cells, 0);
    m_filled.assign(static_cast<std::size_t>(std::max(m_grid.rows(), 1)), 0);
    // The row labels are the DMU numbers.
    if (m_grid.cols() > 0)
        for (int row = 1; row < m_grid.rows(); ++row) {
            m_numbers[cellIndex(row, 0)] = row;
            m_styles[cellIndex(row, 0)] = static_cast<std::uint8_t>(static_cast<int>(NumberStyle::Whole) << 4);
        }
}

std::size_t ResultsTable::cellIndex(int row, int col) const
{
    return static_cast<std::size_t>(row) * static_cast<std::size_t>(m_grid.cols()) + static_cast<std::size_t>(col);
}

std::optional<CellNumber> ResultsTable::number(int row, int col) const
{
    if (row < 0 || row >= m_grid.rows() || col < 0 || col >= m_grid.cols())
        return std::nullopt;
    const std::size_t k = cellIndex(row, col);
    if (k >= m_numbers.size() || std::isnan(m_numbers[k]))
        return std::nullopt;
    return CellNumber{m_numbers[k], static_cast<NumberStyle>(m_styles[k] >> 4), m_styles[k] & 0x0F};
}

void ResultsTable::putNumber(int row, int col, double value, NumberStyle style, int decimals,
                             std::string_view separator)
{
    if (row < 0 || row >= m_grid.rows() || col < 0 || col >= m_grid.cols())
        return;
    std::string text;
    switch (style) {
    case NumberStyle::Fixed:
        text = formatFixed(value, decimals, separator);
        break;
    case NumberStyle::Percent:
        text = formatPercent(value, decimals, separator);
        break;
    case NumberStyle::Whole:
        text = std::to_string(static_cast<long long>(value));
        decimals = 0;
        break;
    }
    m_grid.setText(row, col, std::move(text));
    m_separator = std::string(separator);
    const std::size_t k = cellIndex(row, col);
    // Formatting gives "NaN" or "Infinity" for a value that is not finite:
    // text, not a number a spreadsheet could take.
    m_numbers[k] = std::isfinite(value) ? value : std::numeric_limits<double>::quiet_NaN();
    m_styles[k] = static_cast<std::uint8_t>((static_cast<int>(style) << 4) | std::clamp(decimals, 0, 15));
}

void ResultsTable::putText(int row, int col, std::string text)
{
    if (row < 0 || row >= m_grid.rows() || col < 0 || col >= m_grid.cols())
        return;
    m_grid.setText(row, col, std::move(text));
    m_numbers[cellIndex(row, col)] = std::numeric_limits<double>::quiet_NaN();
}

namespace {

std::vector<std::string> rowLabels(const DataSet &data)
{
    std::vector<std::string> labels{" "};
    for (int d = 1; d <= data.NumDMU; ++d)
        labels.push_back(std::to_string(d));
    return labels;
}

} // namespace

void ResultsTable::layOutLpTable(const DataSet &data, const ModelOptions &options, const DisplayFormat &format)
{
    const std::string marker = format.VirtualWeights ? "{V}" : "{W}";
    const bool averaged = options.Distance == ModelDistance::MAXAV || options.Distance == ModelDistance::MINAV;
    const bool inputFactors = averaged && (options.Orientation == ModelOrientation::IN || options.Orientation == ModelOrientation::NON);
    const bool outputFactors = averaged && (options.Orientation == ModelOrientation::OUT || options.Orientation == ModelOrientation::NON);

    // The entries are handed over one by one rather than as a format string:
    // a column name from a data file may itself contain "|" or ";".
    std::vector<std::string> headers{"", "DMU", "Score"};
    for (int i = 1; i <= m_inputs; ++i)
        headers.push_back(textAt(data.InputNames, i) + marker);
    for (int r = 1; r <= m_outputs; ++r)
        headers.push_back(textAt(data.OutputNames, r) + marker);
    headers.emplace_back("Benchmarks");
    for (int i = 1; i <= m_inputs; ++i)
        headers.push_back(slackHeader(inputFactors ? SlackKind::F : SlackKind::S, options.Distance,
                                      textAt(data.InputNames, i)));
    for (int r = 1; r <= m_outputs; ++r)
        headers.push_back(slackHeader(outputFactors ? SlackKind::F : SlackKind::S, options.Distance,
                                      textAt(data.OutputNames, r)));
    m_grid.setLayout(std::move(headers), rowLabels(data));

    m_grid.setRowHeight(0, HeaderHeight);
    m_grid.setColumnWidth(0, LabelWidth);
    m_grid.setColumnWidth(1, DmuWidth);
    m_grid.setColumnWidth(2, scoreWidth(format.DecScore));
    const int variables = m_inputs + m_outputs;
    for (int k = 1; k <= variables; ++k)
        m_grid.setColumnWidth(2 + k, numberWidth(format.DecWeights));
    m_grid.setColumnWidth(3 + variables, ListWidth);
    for (int k = 1; k <= variables; ++k)
        m_grid.setColumnWidth(3 + variables + k, numberWidth(format.DecSlacks));
}

void ResultsTable::layOutFdhTable(const DataSet &data, const DisplayFormat &format)
{
    m_grid.setLayout({"", "DMU", "Score", "Benchmarks", "No. Dominated", "Dominated", "No. Dominating",
                      "Dominating"},
                     rowLabels(data));
    m_grid.setRowHeight(0, HeaderHeight);
    m_grid.setColumnWidth(0, LabelWidth);
    m_grid.setColumnWidth(1, DmuWidth);
    m_grid.setColumnWidth(2, scoreWidth(format.DecScore));
    m_grid.setColumnWidth(5, ListWidth);
    m_grid.setColumnWidth(7, ListWidth);
}

int ResultsTable::dmuRows(const RunView &run) const
{
    return std::min(run.data.NumDMU, m_grid.rows() - 1);
}

void ResultsTable::highlight(int d)
{
    m_grid.setCurrent(d, 1);
    m_grid.setSelectionEnd(d, m_grid.cols() - 1);
    m_grid.setSelectionColour(TextGrid::Cyan);
}

void ResultsTable::Showresults(int d, const RunView &run, const LpProblem &lp)
{
    if (d < 1 || d > dmuRows(run))
        return;
    markFilled(d);
    putText(d, 1, textAt(run.data.DMUNames, d));
    writeScore(d, run);
    writeWeights(d, run, lp);
    if (!flagAt(run.store.Efficient, d))
        writeSlacks(d, run, lp);
}

void ResultsTable::writeScore(int d, const RunView &run)
{
    const ShownScore score = shownScore(d, run);
    switch (score.kind) {
    case ShownScore::Kind::None:
        putText(d, 2, std::string());
        break;
    case ShownScore::Kind::Big:
        putText(d, 2, "big");
        break;
    case ShownScore::Kind::Number:
        putNumber(d, 2, score.value, score.percent ? NumberStyle::Percent : NumberStyle::Fixed,
                  run.format.DecScore, run.decimalSeparator);
        break;
    }
}

void ResultsTable::markFilled(int d)
{
    if (static_cast<std::size_t>(d) < m_filled.size())
        m_filled[static_cast<std::size_t>(d)] = 1;
}

// Weights as the solver returned them (in the data's units), or each times
// the DMU's own value (virtual weights, which add up to its virtual input and
// output). The radial table without superefficiency normalises the side the
// orientation does not fix to 1, so that weights of different DMUs compare.
void ResultsTable::writeWeights(int d, const RunView &run, const LpProblem &lp)
{
    const ModelOptions &options = run.options;
    const int m = m_inputs;
    const int variables = m_inputs + m_outputs;
    auto value = [&](int k) {
        return k <= m ? matrixAt(run.data.InputData, k, d) : matrixAt(run.data.OutputData, k - m, d);
    };
    std::vector<double> weight(static_cast<std::size_t>(variables + 1), 0.0);
    double virtualInput = 0.0;
    double virtualOutput = 0.0;
    for (int k = 1; k <= variables; ++k) {
        weight[static_cast<std::size_t>(k)] = valueAt(lp.Primal, k);
        (k <= m ? virtualInput : virtualOutput) += value(k) * weight[static_cast<std::size_t>(k)];
    }
    if (run.format.VirtualWeights)
        for (int k = 1; k <= variables; ++k)
            weight[static_cast<std::size_t>(k)] *= value(k);

    const bool normalised = options.radial() && !options.Superefficiency;
    for (int k = 1; k <= variables; ++k) {
        const double w = weight[static_cast<std::size_t>(k)];
        std::optional<double> shown = w;
        if (normalised && options.Orientation == ModelOrientation::IN && k > m)
            shown = quotient(w, virtualOutput);
        else if (normalised && options.Orientation == ModelOrientation::OUT && k <= m)
            shown = quotient(w, virtualInput);
        else if (normalised && options.Orientation == ModelOrientation::NON)
            shown = quotient(w, virtualInput + virtualOutput);
        if (shown)
            putNumber(d, 2 + k, *shown, NumberStyle::Fixed, run.format.DecWeights, run.decimalSeparator);
        else
            putText(d, 2 + k, std::string());
    }
}

// The reduced cost of a weight column is the slack of that input or output
// in the envelopment reading. The average distances show, for the variables
// they act on, an efficiency factor instead: 1 - slack / value for an input,
// 1 + slack / value for an output (max-average), or the winning variable's
// factor (min-average).
void ResultsTable::writeSlacks(int d, const RunView &run, const LpProblem &lp)
{
    const ModelOptions &options = run.options;
    const int m = m_inputs;
    const int variables = m_inputs + m_outputs;
    const int first = 3 + variables;
    const int decimals = run.format.DecSlacks;
    const std::string_view sep = run.decimalSeparator;
    auto slack = [&](int k) { return std::fabs(valueAt(lp.Dual, k)); };
    auto value = [&](int k) {
        return k <= m ? matrixAt(run.data.InputData, k, d) : matrixAt(run.data.OutputData, k - m, d);
    };

    if (options.Distance == ModelDistance::MAXAV) {
        const bool inputFactors = options.Orientation != ModelOrientation::OUT;
        const bool outputFactors = options.Orientation != ModelOrientation::IN;
        for (int k = 1; k <= variables; ++k) {
            const bool input = k <= m;
            if (!(input ? inputFactors : outputFactors))
                putNumber(d, first + k, slack(k), NumberStyle::Fixed, decimals, sep);
            else if (const auto share = quotient(slack(k), value(k)))
                putNumber(d, first + k, input ? 1.0 - *share : 1.0 + *share, NumberStyle::Percent, decimals, sep);
            else
                putText(d, first + k, std::string());
        }
        return;
    }

    for (int k = 1; k <= variables; ++k)
        putNumber(d, first + k, slack(k), NumberStyle::Fixed, decimals, sep);
    if (options.Distance == ModelDistance::MINAV) {
        const int v = valueAt(run.store.MinAvgVariable, d);
        const double best = std::fabs(valueAt(run.store.MinAvgBest, d));
        if (v >= 1 && v <= variables)
            putNumber(d, first + v, v <= m ? 1.0 - best : 1.0 + best, NumberStyle::Percent, decimals, sep);
    }
}

void ResultsTable::ShowFDHresults(int d, const RunView &run)
{
    if (d < 1 || d > dmuRows(run))
        return;
    const ResultStore &store = run.store;
    markFilled(d);
    putText(d, 1, textAt(run.data.DMUNames, d));
    // A DMU that could not be scored keeps an empty score cell; its
    // Benchmarks cell says why.
    writeScore(d, run);
    putText(d, 3, textAt(store.Benchmarks, d));
    putNumber(d, 4, store.DominatingCount, NumberStyle::Whole, 0, run.decimalSeparator);
    showDominanceLists(store.DominanceLists);
}

// The two list columns are formed from the run's lists when they are read:
// the DMUs dominating an evaluated DMU once it has been evaluated, those a
// technology DMU dominates once the run is over.
void ResultsTable::showDominanceLists(const std::shared_ptr<FdhLists> &lists)
{
    if (!lists || lists == m_lists)
        return;
    m_lists = lists;
    m_grid.setColumnSource(5, [lists](int row) { return lists->dominating(row); });
    m_grid.setColumnSource(7, [lists](int row) { return lists->dominated(row); });
}

// Score, Technical and Allocative as percentages ("big" where the LP had no
// finite optimum, empty where a value does not exist), the plan's
// quantities, and the plan's benchmarks with their intensities.
void ResultsTable::showPriceResults(int d, const RunView &run)
{
    if (d < 1 || d > dmuRows(run) || m_pricesBenchmarks <= 0)
        return;
    const ResultStore &store = run.store;
    const int decimals = run.format.DecScore;
    const std::string_view sep = run.decimalSeparator;
    auto percent = [&](int col, const std::optional<double> &value) {
        if (value)
            putNumber(d, col, *value, NumberStyle::Percent, decimals, sep);
        else
            putText(d, col, std::string());
    };
    markFilled(d);
    putText(d, 1, textAt(run.data.DMUNames, d));
    if (flagAt(store.NoFiniteOptimum, d))
        putText(d, 2, "big");
    else
        percent(2, flagAt(store.NoScore, d) ? std::nullopt : std::optional<double>(valueAt(store.Score, d)));
    if (flagAt(store.TechnicalBig, d))
        putText(d, 3, "big");
    else
        percent(3, valueAt(store.Technical, d));
    percent(4, valueAt(store.Allocative, d));
    const int count = m_pricesBenchmarks - 5;
    for (int k = 1; k <= count; ++k) {
        const std::optional<double> quantity = valueAt(store.PricedQuantities, k);
        if (quantity)
            putNumber(d, 4 + k, *quantity, NumberStyle::Fixed, run.format.DecSlacks, sep);
        else
            putText(d, 4 + k, std::string());
    }
    putText(d, m_pricesBenchmarks, textAt(store.Benchmarks, d));
}

void ResultsTable::ShowReferences(const RunView &run)
{
    const ResultStore &store = run.store;
    const int rows = dmuRows(run);
    if (m_fdh)
        showDominanceLists(store.DominanceLists);
    for (int d = 1; d <= rows; ++d) {
        const bool efficient = flagAt(store.Efficient, d);
        if (m_fdh) {
            putNumber(d, 6, valueAt(store.DominatedCount, d), NumberStyle::Whole, 0, run.decimalSeparator);
            if (efficient) {
                putNumber(d, 3, valueAt(store.ReferenceCount, d), NumberStyle::Whole, 0, run.decimalSeparator);
                highlight(d);
            }
        } else if (m_pricesBenchmarks > 0) {
            // The plan's benchmarks are in the row already.
            if (efficient)
                highlight(d);
        } else if (efficient) {
            // An efficient DMU shows how many evaluated DMUs named it as a benchmark.
            putNumber(d, benchmarksColumn(), valueAt(store.ReferenceCount, d), NumberStyle::Whole, 0,
                      run.decimalSeparator);
            highlight(d);
        } else {
            putText(d, benchmarksColumn(), textAt(store.Benchmarks, d));
        }
        m_grid.compactRow(d);
    }
}

void ResultsTable::WriteNonevaluated(const RunView &run)
{
    const ResultStore &store = run.store;
    const int rows = std::min({dmuRows(run), run.eval.size(), run.tech.size()});
    for (int d = 1; d <= rows; ++d) {
        // Only DMUs that spanned the technology without being evaluated.
        if (!run.tech.selected(d) || run.eval.selected(d))
            continue;
        putText(d, 1, textAt(run.data.DMUNames, d));
        if (flagAt(store.Efficient, d)) {
            highlight(d);
            putNumber(d, benchmarksColumn(), valueAt(store.ReferenceCount, d), NumberStyle::Whole, 0,
                      run.decimalSeparator);
        }
    }
    // The last fill operation of a run: the store still holds this run.
    m_scores = collectRunScores(run, m_filled);
    m_ended = true;
}

} // namespace zelvar
