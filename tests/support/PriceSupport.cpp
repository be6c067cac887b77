#include "support/PriceSupport.h"

#include "engine/ResultStore.h"
#include "support/TestSupport.h"

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

} // namespace zelvar::test
