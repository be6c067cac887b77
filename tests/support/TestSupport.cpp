#include "support/TestSupport.h"

#include "engine/ResultStore.h"

#include "ClpSimplex.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

namespace zelvar::test {

DataSet makeData(const std::vector<Unit> &units, const std::vector<int> &ndInputs,
                 const std::vector<int> &ndOutputs)
{
    DataSet data;
    data.NumDMU = static_cast<std::int32_t>(units.size());
    data.NumInputs = static_cast<std::int32_t>(units.front().x.size());
    data.NumOutputs = static_cast<std::int32_t>(units.front().y.size());
    data.DMUNames.assign(units.size() + 1, "");
    data.InputNames.assign(static_cast<std::size_t>(data.NumInputs) + 1, "");
    data.OutputNames.assign(static_cast<std::size_t>(data.NumOutputs) + 1, "");
    data.InputNonDisc.assign(static_cast<std::size_t>(data.NumInputs) + 1, 0);
    data.OutputNonDisc.assign(static_cast<std::size_t>(data.NumOutputs) + 1, 0);
    for (int i : ndInputs)
        data.InputNonDisc[static_cast<std::size_t>(i)] = 1;
    for (int r : ndOutputs)
        data.OutputNonDisc[static_cast<std::size_t>(r)] = 1;
    data.InputData = Matrix(data.NumInputs, data.NumDMU);
    data.OutputData = Matrix(data.NumOutputs, data.NumDMU);
    for (int d = 1; d <= data.NumDMU; ++d) {
        const Unit &unit = units[static_cast<std::size_t>(d - 1)];
        data.DMUNames[static_cast<std::size_t>(d)] = "    D" + std::to_string(d);
        for (int i = 1; i <= data.NumInputs; ++i)
            data.InputData(i, d) = unit.x[static_cast<std::size_t>(i - 1)];
        for (int r = 1; r <= data.NumOutputs; ++r)
            data.OutputData(r, d) = unit.y[static_cast<std::size_t>(r - 1)];
    }
    data.DataFileName = "test.txt";
    return data;
}

void addWeights(DataSet &data, const std::vector<std::vector<double>> &rows, const std::string &file)
{
    const int weights = static_cast<int>(rows.front().size());
    data.WeightsFileName = file;
    data.NumWeightRows = static_cast<std::int32_t>(rows.size());
    data.WeightRestrictions = Matrix(weights, data.NumWeightRows);
    data.WeightNonzeros = 0;
    for (int k = 1; k <= data.NumWeightRows; ++k)
        for (int c = 1; c <= weights; ++c) {
            const double w = rows[static_cast<std::size_t>(k - 1)][static_cast<std::size_t>(c - 1)];
            data.WeightRestrictions(c, k) = w;
            if (w != 0.0)
                ++data.WeightNonzeros;
        }
}

SelectionSet selection(int count, const std::vector<int> &dmus)
{
    SelectionSet set(count, false);
    for (int d : dmus)
        set.select(d, true);
    return set;
}

namespace {

RowSeen seen(int d, const RunView &run)
{
    const auto dd = static_cast<std::size_t>(d);
    RowSeen row;
    row.d = d;
    row.name = run.data.DMUNames[dd];
    row.score = run.store.Score[dd];
    row.efficient = run.store.Efficient[dd] != 0;
    row.noFiniteOptimum = run.store.NoFiniteOptimum[dd] != 0;
    row.noScore = run.store.NoScore[dd] != 0;
    row.benchmarks = run.store.Benchmarks[dd];
    row.techSelected = run.tech.selected(d);
    return row;
}

} // namespace

void RecordingResults::Showresults(int d, const RunView &run, const LpProblem &lp)
{
    calls.push_back("Showresults " + std::to_string(d));
    RowSeen row = seen(d, run);
    row.primal = lp.Primal;
    row.dual = lp.Dual;
    row.status = lp.VarStatus;
    rows.push_back(row);
}

void RecordingResults::ShowFDHresults(int d, const RunView &run)
{
    calls.push_back("ShowFDHresults " + std::to_string(d));
    RowSeen row = seen(d, run);
    row.dominatingCount = run.store.DominatingCount;
    row.dominatingList = run.store.DominatingList;
    rows.push_back(row);
}

void RecordingResults::ShowReferences(const RunView &run)
{
    calls.push_back("ShowReferences");
    efficientAtEnd = run.store.Efficient;
    referencesAtEnd = run.store.ReferenceCount;
}

void RecordingResults::WriteNonevaluated(const RunView &run)
{
    calls.push_back("WriteNonevaluated");
    techAtEnd = run.tech;
}

bool RecordingResults::hasRow(int d) const
{
    for (const RowSeen &row : rows)
        if (row.d == d)
            return true;
    return false;
}

const RowSeen &RecordingResults::row(int d) const
{
    for (const RowSeen &row : rows)
        if (row.d == d)
            return row;
    ADD_FAILURE() << "no row for DMU " << d;
    static const RowSeen none;
    return none;
}

std::vector<std::pair<int, double>> parseBenchmarks(const std::string &text)
{
    std::vector<std::pair<int, double>> result;
    std::istringstream in(text);
    int j = 0;
    std::string lambda;
    while (in >> j >> lambda) {
        // "(0.50)" -> 0.50
        result.emplace_back(j, std::strtod(lambda.substr(1, lambda.size() - 2).c_str(), nullptr));
    }
    return result;
}

namespace {

// A small LP written row by row, solved by CLP (minimisation).
class DenseLp {
public:
    int addColumn(double lower, double upper, double objective)
    {
        m_colLower.push_back(lower);
        m_colUpper.push_back(upper);
        m_obj.push_back(objective);
        return static_cast<int>(m_obj.size()) - 1;
    }
    void addRow(const std::vector<std::pair<int, double>> &entries, double lower, double upper)
    {
        m_rows.push_back(entries);
        m_rowLower.push_back(lower);
        m_rowUpper.push_back(upper);
    }
    // Returns whether a finite optimum was found; the column values in x.
    bool solve(double &objective, std::vector<double> &x)
    {
        const int cols = static_cast<int>(m_obj.size());
        const int rows = static_cast<int>(m_rows.size());
        std::vector<std::vector<std::pair<int, double>>> byColumn(static_cast<std::size_t>(cols));
        for (int k = 0; k < rows; ++k)
            for (auto [c, v] : m_rows[static_cast<std::size_t>(k)])
                if (v != 0.0)
                    byColumn[static_cast<std::size_t>(c)].emplace_back(k, v);
        std::vector<CoinBigIndex> starts{0};
        std::vector<int> index;
        std::vector<double> values;
        for (const auto &column : byColumn) {
            for (auto [k, v] : column) {
                index.push_back(k);
                values.push_back(v);
            }
            starts.push_back(static_cast<CoinBigIndex>(index.size()));
        }
        ClpSimplex model;
        model.setLogLevel(0);
        model.loadProblem(cols, rows, starts.data(), index.data(), values.data(), m_colLower.data(),
                          m_colUpper.data(), m_obj.data(), m_rowLower.data(), m_rowUpper.data());
        model.primal();
        if (model.status() != 0)
            return false;
        objective = model.objectiveValue();
        x.assign(model.primalColumnSolution(), model.primalColumnSolution() + cols);
        return true;
    }

private:
    std::vector<double> m_colLower, m_colUpper, m_obj, m_rowLower, m_rowUpper;
    std::vector<std::vector<std::pair<int, double>>> m_rows;
};

const double Inf = COIN_DBL_MAX;

struct EnvelopmentColumns {
    std::vector<int> dmus;        // DMU of each lambda column
    std::vector<int> lambdaCols;
    std::vector<int> piCols;      // one per restriction row
};

EnvelopmentColumns addIntensities(DenseLp &lp, const DataSet &data, const std::vector<int> &reference,
                                  int skip, bool restricted)
{
    EnvelopmentColumns columns;
    for (int j : reference)
        if (j != skip) {
            columns.dmus.push_back(j);
            columns.lambdaCols.push_back(lp.addColumn(0.0, Inf, 0.0));
        }
    if (restricted)
        for (int k = 1; k <= data.NumWeightRows; ++k)
            columns.piCols.push_back(lp.addColumn(0.0, Inf, 0.0));
    return columns;
}

// Sum of lambda times the input (or output) of the reference DMUs, with the
// restriction multipliers: + W pi on input rows, - W pi on output rows.
std::vector<std::pair<int, double>> combination(const DataSet &data, const EnvelopmentColumns &columns,
                                                bool input, int variable)
{
    std::vector<std::pair<int, double>> entries;
    for (std::size_t k = 0; k < columns.dmus.size(); ++k) {
        const int j = columns.dmus[k];
        entries.emplace_back(columns.lambdaCols[k],
                             input ? data.InputData(variable, j) : data.OutputData(variable, j));
    }
    const int c = input ? variable : data.NumInputs + variable;
    for (std::size_t k = 0; k < columns.piCols.size(); ++k) {
        const double w = data.WeightRestrictions(c, static_cast<int>(k) + 1);
        entries.emplace_back(columns.piCols[k], input ? w : -w);
    }
    return entries;
}

void addScaleRow(DenseLp &lp, const EnvelopmentColumns &columns, const std::string &rts)
{
    if (rts == "CRS")
        return;
    std::vector<std::pair<int, double>> entries;
    for (int c : columns.lambdaCols)
        entries.emplace_back(c, 1.0);
    if (rts == "VRS")
        lp.addRow(entries, 1.0, 1.0);
    else if (rts == "NDR")
        lp.addRow(entries, 1.0, Inf);
    else
        lp.addRow(entries, -Inf, 1.0);
}

EnvelopmentResult finish(DenseLp &lp, const EnvelopmentColumns &columns, int numDMU, double sign)
{
    EnvelopmentResult result;
    std::vector<double> x;
    double objective = 0.0;
    result.optimal = lp.solve(objective, x);
    result.lambda.assign(static_cast<std::size_t>(numDMU) + 1, 0.0);
    if (result.optimal) {
        result.value = sign * objective;
        for (std::size_t k = 0; k < columns.dmus.size(); ++k)
            result.lambda[static_cast<std::size_t>(columns.dmus[k])] =
                x[static_cast<std::size_t>(columns.lambdaCols[k])];
    }
    return result;
}

} // namespace

EnvelopmentResult solveRadialEnvelopment(const DataSet &data, int d, const std::vector<int> &reference,
                                         const std::string &orientation, const std::string &rts,
                                         bool restricted)
{
    DenseLp lp;
    const EnvelopmentColumns columns = addIntensities(lp, data, reference, d, restricted);
    // theta: minimised for "IN", maximised (minus minimised) otherwise.
    const bool in = orientation == "IN";
    const int theta = lp.addColumn(-Inf, Inf, in ? 1.0 : -1.0);
    for (int i = 1; i <= data.NumInputs; ++i) {
        auto entries = combination(data, columns, true, i);
        const double own = data.InputData(i, d);
        const bool nd = data.InputNonDisc[static_cast<std::size_t>(i)] != 0;
        if (orientation == "IN" && !nd) {
            entries.emplace_back(theta, -own); // sum lambda x <= theta x_d
            lp.addRow(entries, -Inf, 0.0);
        } else if (orientation == "NON" && !nd) {
            entries.emplace_back(theta, own); // sum lambda x <= (1 - theta) x_d
            lp.addRow(entries, -Inf, own);
        } else {
            lp.addRow(entries, -Inf, own);
        }
    }
    for (int r = 1; r <= data.NumOutputs; ++r) {
        auto entries = combination(data, columns, false, r);
        const double own = data.OutputData(r, d);
        const bool nd = data.OutputNonDisc[static_cast<std::size_t>(r)] != 0;
        if (orientation == "OUT" && !nd) {
            entries.emplace_back(theta, -own); // sum lambda y >= phi y_d
            lp.addRow(entries, 0.0, Inf);
        } else if (orientation == "NON" && !nd) {
            entries.emplace_back(theta, -own); // sum lambda y >= (1 + theta) y_d
            lp.addRow(entries, own, Inf);
        } else {
            lp.addRow(entries, own, Inf);
        }
    }
    addScaleRow(lp, columns, rts);
    return finish(lp, columns, data.NumDMU, in ? 1.0 : -1.0);
}

EnvelopmentResult solveSlackEnvelopment(const DataSet &data, int d, const std::vector<int> &reference,
                                        const std::string &rts, const std::vector<double> &inputPrice,
                                        const std::vector<double> &outputPrice, bool restricted)
{
    DenseLp lp;
    const EnvelopmentColumns columns = addIntensities(lp, data, reference, 0, restricted);
    for (int i = 1; i <= data.NumInputs; ++i) {
        auto entries = combination(data, columns, true, i);
        entries.emplace_back(lp.addColumn(0.0, Inf, -inputPrice[static_cast<std::size_t>(i)]), 1.0);
        const double own = data.InputData(i, d);
        lp.addRow(entries, own, own);
    }
    for (int r = 1; r <= data.NumOutputs; ++r) {
        auto entries = combination(data, columns, false, r);
        entries.emplace_back(lp.addColumn(0.0, Inf, -outputPrice[static_cast<std::size_t>(r)]), -1.0);
        const double own = data.OutputData(r, d);
        lp.addRow(entries, own, own);
    }
    addScaleRow(lp, columns, rts);
    return finish(lp, columns, data.NumDMU, -1.0);
}

} // namespace zelvar::test
