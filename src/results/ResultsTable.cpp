#include "results/ResultsTable.h"

#include "data/DataSet.h"
#include "data/NumberText.h"
#include "engine/LpProblem.h"
#include "engine/ResultStore.h"
#include "results/PriceColumns.h"
#include "session/DisplayFormat.h"
#include "session/ModelOptions.h"
#include "session/SelectionSet.h"

#include <algorithm>
#include <cmath>
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
    : m_fdh(options.fdh()), m_inputs(std::max(data.NumInputs, 0)), m_outputs(std::max(data.NumOutputs, 0))
{
    if (m_fdh) {
        layOutFdhTable(data, format);
    } else if (options.priced()) {
        PriceColumns::layOut(m_grid, data, options, format);
        m_pricesBenchmarks = PriceColumns::benchmarksColumn(data, options);
    } else {
        layOutLpTable(data, options, format);
    }
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
    m_grid.setText(d, 1, textAt(run.data.DMUNames, d));
    m_grid.setText(d, 2, scoreText(d, run));
    writeWeights(d, run, lp);
    if (!flagAt(run.store.Efficient, d))
        writeSlacks(d, run, lp);
}

std::string ResultsTable::scoreText(int d, const RunView &run) const
{
    const ModelOptions &options = run.options;
    const ResultStore &store = run.store;
    const int decimals = run.format.DecScore;
    const std::string_view sep = run.decimalSeparator;
    const double score = valueAt(store.Score, d);
    // Without superefficiency an efficient DMU is shown as fully efficient,
    // whatever its LP reached ("big" included).
    if (options.radial() && !options.Superefficiency && flagAt(store.Efficient, d))
        return formatPercent(options.Orientation == ModelOrientation::NON ? 0.0 : 1.0, decimals, sep);
    if (flagAt(store.NoScore, d))
        return {};
    if (flagAt(store.NoFiniteOptimum, d))
        return "big";
    if (options.Distance == ModelDistance::ADD)
        return formatFixed(score, decimals, sep);
    if (options.radial() || options.Orientation == ModelOrientation::NON)
        return formatPercent(score, decimals, sep);
    if (options.Orientation == ModelOrientation::IN)
        return formatPercent(1.0 - score, decimals, sep);
    return formatPercent(1.0 + score, decimals, sep);
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
        m_grid.setText(d, 2 + k, shown ? formatFixed(*shown, run.format.DecWeights, run.decimalSeparator) : std::string());
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
            std::string cell;
            if (!(input ? inputFactors : outputFactors))
                cell = formatFixed(slack(k), decimals, sep);
            else if (const auto share = quotient(slack(k), value(k)))
                cell = formatPercent(input ? 1.0 - *share : 1.0 + *share, decimals, sep);
            m_grid.setText(d, first + k, std::move(cell));
        }
        return;
    }

    for (int k = 1; k <= variables; ++k)
        m_grid.setText(d, first + k, formatFixed(slack(k), decimals, sep));
    if (options.Distance == ModelDistance::MINAV) {
        const int v = valueAt(run.store.MinAvgVariable, d);
        const double best = std::fabs(valueAt(run.store.MinAvgBest, d));
        if (v >= 1 && v <= variables)
            m_grid.setText(d, first + v, formatPercent(v <= m ? 1.0 - best : 1.0 + best, decimals, sep));
    }
}

void ResultsTable::ShowFDHresults(int d, const RunView &run)
{
    if (d < 1 || d > dmuRows(run))
        return;
    const ResultStore &store = run.store;
    m_grid.setText(d, 1, textAt(run.data.DMUNames, d));
    // A DMU that could not be scored keeps an empty score cell; its
    // Benchmarks cell says why.
    m_grid.setText(d, 2, flagAt(store.NoScore, d) ? std::string()
                                                  : formatPercent(valueAt(store.Score, d), run.format.DecScore,
                                                                  run.decimalSeparator));
    m_grid.setText(d, 3, textAt(store.Benchmarks, d));
    m_grid.setText(d, 4, std::to_string(store.DominatingCount));
    m_grid.setText(d, 5, store.DominatingList);
}

void ResultsTable::showPriceResults(int d, const RunView &run)
{
    if (d >= 1 && d <= dmuRows(run) && m_pricesBenchmarks > 0)
        PriceColumns::writeRow(m_grid, d, run);
}

void ResultsTable::ShowReferences(const RunView &run)
{
    const ResultStore &store = run.store;
    const int rows = dmuRows(run);
    for (int d = 1; d <= rows; ++d) {
        const bool efficient = flagAt(store.Efficient, d);
        if (m_fdh) {
            m_grid.setText(d, 6, std::to_string(valueAt(store.DominatedCount, d)));
            m_grid.setText(d, 7, textAt(store.DominatedList, d));
            if (efficient) {
                m_grid.setText(d, 3, std::to_string(valueAt(store.ReferenceCount, d)));
                highlight(d);
            }
        } else if (m_pricesBenchmarks > 0) {
            // The plan's benchmarks are in the row already.
            if (efficient)
                highlight(d);
        } else if (efficient) {
            // An efficient DMU shows how many evaluated DMUs named it as a benchmark.
            m_grid.setText(d, benchmarksColumn(), std::to_string(valueAt(store.ReferenceCount, d)));
            highlight(d);
        } else {
            m_grid.setText(d, benchmarksColumn(), textAt(store.Benchmarks, d));
        }
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
        m_grid.setText(d, 1, textAt(run.data.DMUNames, d));
        if (flagAt(store.Efficient, d)) {
            highlight(d);
            m_grid.setText(d, benchmarksColumn(), std::to_string(valueAt(store.ReferenceCount, d)));
        }
    }
}

} // namespace zelvar
