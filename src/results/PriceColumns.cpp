#include "results/PriceColumns.h"

#include "data/DataSet.h"
#include "data/NumberText.h"
#include "engine/ResultStore.h"
#include "engine/RunSinks.h"
#include "results/TextGrid.h"
#include "session/DisplayFormat.h"
#include "session/ModelOptions.h"

#include <algorithm>
#include <optional>

namespace zelvar {

namespace {

// Widths as the score table's: label, names, scores, numbers, lists.
constexpr int LabelWidth = 500;
constexpr int DmuWidth = 1000;
constexpr int ListWidth = 3000;
constexpr int HeaderHeight = 1000;

int scoreWidth(int decimals) { return decimals * 150 + 400; }
int numberWidth(int decimals) { return decimals * 150 + 200; }

} // namespace

int PriceColumns::quantityCount(const DataSet &data, const ModelOptions &options)
{
    return std::max(options.Distance == ModelDistance::COST ? data.NumInputs : data.NumOutputs, 0);
}

int PriceColumns::benchmarksColumn(const DataSet &data, const ModelOptions &options)
{
    return 5 + quantityCount(data, options);
}

void PriceColumns::layOut(TextGrid &grid, const DataSet &data, const ModelOptions &options,
                          const DisplayFormat &format)
{
    const bool cost = options.Distance == ModelDistance::COST;
    const int count = quantityCount(data, options);
    const std::vector<std::string> &names = cost ? data.InputNames : data.OutputNames;
    std::vector<std::string> headers{"", "DMU", "Score", "Technical", "Allocative"};
    for (int k = 1; k <= count; ++k) {
        const auto kk = static_cast<std::size_t>(k);
        headers.push_back("{*}" + (kk < names.size() ? names[kk] : std::string()));
    }
    headers.emplace_back("Benchmarks");
    std::vector<std::string> labels{" "};
    for (int d = 1; d <= data.NumDMU; ++d)
        labels.push_back(std::to_string(d));
    grid.setLayout(std::move(headers), std::move(labels));

    grid.setRowHeight(0, HeaderHeight);
    grid.setColumnWidth(0, LabelWidth);
    grid.setColumnWidth(1, DmuWidth);
    for (int c = 2; c <= 4; ++c)
        grid.setColumnWidth(c, scoreWidth(format.DecScore));
    for (int k = 1; k <= count; ++k)
        grid.setColumnWidth(4 + k, numberWidth(format.DecSlacks));
    grid.setColumnWidth(5 + count, ListWidth);
}

} // namespace zelvar
