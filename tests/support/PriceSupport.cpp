#include "support/PriceSupport.h"

#include "engine/ResultStore.h"
#include "support/TestSupport.h"

#include "ClpSimplex.hpp"

#include <cmath>
#include <random>

namespace zelvar::test {

void addPrices(DataSet &data, const std::vector<std::vector<double>> &rows, const std::string &file)
{
    data.PricesFileName = file;
    data.PricesName = file.substr(0, file.rfind('.'));
    data.Prices = Matrix(static_cast<int>(rows.front().size()), static_cast<int>(rows.size()));
    for (std::size_t k = 0; k < rows.size(); ++k)
        for (std::size_t c = 0; c < rows[k].size(); ++c)
            data.Prices(static_cast<int>(c + 1), static_cast<int>(k + 1)) = rows[k][c];
}

DataSet randomPricedData(int n, unsigned seed)
{
    std::mt19937 random(seed);
    std::lognormal_distribution<double> size(0.0, 0.5);
    std::uniform_real_distribution<double> share(0.3, 1.0);
    std::vector<Unit> units;
    for (int d = 0; d < n; ++d) {
        Unit unit{{10 * size(random), 10 * size(random), 10 * size(random)}, {}};
        const double level = std::pow(unit.x[0] * unit.x[1] * unit.x[2], 0.8 / 3) * share(random);
        unit.y = {level * size(random), level * size(random)};
        units.push_back(unit);
    }
    DataSet data = makeData(units, {3});
    std::vector<std::vector<double>> prices;
    for (int d = 0; d < n; ++d)
        prices.push_back({share(random), 2 * share(random), share(random), share(random), 3 * share(random)});
    addPrices(data, prices);
    return data;
}

void PricedRows::showPriceResults(int d, const RunView &run)
{
    const auto dd = static_cast<std::size_t>(d);
    if (rows.size() <= dd)
        rows.resize(dd + 1);
    const ResultStore &store = run.store;
    PricedRow &row = rows[dd];
    row.shown = true;
    row.name = run.data.DMUNames[dd];
    row.big = store.NoFiniteOptimum[dd] != 0;
    if (!row.big && store.NoScore[dd] == 0)
        row.score = store.Score[dd];
    row.technical = store.Technical[dd];
    row.technicalBig = store.TechnicalBig[dd] != 0;
    row.allocative = store.Allocative[dd];
    row.quantities = store.PricedQuantities;
    row.benchmarks = store.Benchmarks[dd];
}

void PricedRows::ShowReferences(const RunView &run)
{
    for (std::size_t d = 1; d < rows.size(); ++d)
        rows[d].efficient = run.store.Efficient[d] != 0;
}

ModelOptions pricedOptions(ModelDistance distance, ModelReturns returns)
{
    ModelOptions options;
    options.Distance = distance;
    options.ReturnsToScale = returns;
    options.Orientation = distance == ModelDistance::COST ? ModelOrientation::IN : ModelOrientation::OUT;
    options.Superefficiency = false;
    options.ModelName = options.modelName();
    return options;
}

PricedEnvelopment solvePricedEnvelopment(const DataSet &data, int d, const std::vector<int> &reference,
                                         ModelDistance distance, ModelReturns returns)
{
    const bool cost = distance == ModelDistance::COST;
    const int m = data.NumInputs;
    const int s = data.NumOutputs;
    const double inf = COIN_DBL_MAX;
    ClpSimplex model;
    model.setLogLevel(0);
    // Columns: the intensities, then one quantity per input (cost) or output
    // (revenue); non-discretionary quantities are fixed at d's values.
    const int count = cost ? m : s;
    const int columns = static_cast<int>(reference.size()) + count;
    std::vector<double> lower(static_cast<std::size_t>(columns), 0.0);
    std::vector<double> upper(static_cast<std::size_t>(columns), inf);
    std::vector<double> objective(static_cast<std::size_t>(columns), 0.0);
    for (int k = 1; k <= count; ++k) {
        const auto c = reference.size() + static_cast<std::size_t>(k - 1);
        const bool nd = cost ? data.InputNonDisc[static_cast<std::size_t>(k)] != 0
                             : data.OutputNonDisc[static_cast<std::size_t>(k)] != 0;
        if (nd) {
            lower[c] = upper[c] = cost ? data.InputData(k, d) : data.OutputData(k, d);
        } else {
            // Minimised cost; revenue maximised as minus it minimised.
            objective[c] = cost ? data.price(k, d) : -data.price(m + k, d);
        }
    }
    model.resize(0, columns);
    for (int c = 0; c < columns; ++c) {
        model.setColumnBounds(c, lower[static_cast<std::size_t>(c)], upper[static_cast<std::size_t>(c)]);
        model.setObjectiveCoefficient(c, objective[static_cast<std::size_t>(c)]);
    }
    auto addRow = [&](const std::vector<std::pair<int, double>> &entries, double low, double high) {
        std::vector<int> index;
        std::vector<double> value;
        for (const auto &[c, v] : entries) {
            index.push_back(c);
            value.push_back(v);
        }
        model.addRow(static_cast<int>(index.size()), index.data(), value.data(), low, high);
    };
    auto combination = [&](bool input, int k) {
        std::vector<std::pair<int, double>> entries;
        for (std::size_t p = 0; p < reference.size(); ++p)
            entries.emplace_back(static_cast<int>(p),
                                 input ? data.InputData(k, reference[p]) : data.OutputData(k, reference[p]));
        return entries;
    };
    const int quantity0 = static_cast<int>(reference.size()) - 1;
    for (int i = 1; i <= m; ++i) {
        auto entries = combination(true, i);
        if (cost) {
            entries.emplace_back(quantity0 + i, -1.0); // sum lambda x_j <= x
            addRow(entries, -inf, 0.0);
        } else {
            addRow(entries, -inf, data.InputData(i, d));
        }
    }
    for (int r = 1; r <= s; ++r) {
        auto entries = combination(false, r);
        if (cost) {
            addRow(entries, data.OutputData(r, d), inf);
        } else {
            entries.emplace_back(quantity0 + r, -1.0); // sum lambda y_j >= y
            addRow(entries, 0.0, inf);
        }
    }
    std::vector<std::pair<int, double>> sum;
    for (std::size_t p = 0; p < reference.size(); ++p)
        sum.emplace_back(static_cast<int>(p), 1.0);
    if (returns == ModelReturns::VRS)
        addRow(sum, 1.0, 1.0);
    else if (returns == ModelReturns::NDR)
        addRow(sum, 1.0, inf);
    else if (returns == ModelReturns::NIR)
        addRow(sum, -inf, 1.0);

    model.primal();
    PricedEnvelopment result;
    result.optimal = model.status() == 0;
    if (!result.optimal)
        return result;
    const double *x = model.primalColumnSolution();
    result.value = cost ? model.objectiveValue() : -model.objectiveValue();
    result.lambda.assign(static_cast<std::size_t>(data.NumDMU) + 1, 0.0);
    for (std::size_t p = 0; p < reference.size(); ++p)
        result.lambda[static_cast<std::size_t>(reference[p])] = x[p];
    result.quantities.assign(static_cast<std::size_t>(count) + 1, 0.0);
    for (int k = 1; k <= count; ++k)
        result.quantities[static_cast<std::size_t>(k)] = x[reference.size() + static_cast<std::size_t>(k - 1)];
    return result;
}

} // namespace zelvar::test
