#include "session/NegativeData.h"

#include "data/DataSet.h"
#include "data/NumberText.h"
#include "session/ModelOptions.h"
#include "session/RunSeries.h"

#include <algorithm>
#include <vector>

namespace zelvar {

namespace {

// The DMUs any run of the series evaluates or measures against. The windows
// of a window analysis, like the steps of a Malmquist series, take every
// period in turn: every DMU.
std::vector<char> involvedDmus(const RunSeries &series, int numDMU)
{
    std::vector<char> involved(static_cast<std::size_t>(numDMU) + 1, 0);
    if (series.count() == 0)
        return involved;
    if (series.dynamic()) {
        std::fill(involved.begin() + 1, involved.end(), 1);
        return involved;
    }
    const PlannedRun run = series.run(0);
    const int size = std::min({numDMU, run.eval.size(), run.tech.size()});
    for (int d = 1; d <= size; ++d)
        if (run.eval.selected(d) || run.tech.selected(d))
            involved[static_cast<std::size_t>(d)] = 1;
    return involved;
}

} // namespace

std::optional<NegativeValue> firstNegativeValue(const DataSet &data, const RunSeries &series)
{
    const std::vector<char> involved = involvedDmus(series, data.NumDMU);
    for (int d = 1; d <= data.NumDMU; ++d) {
        if (involved[static_cast<std::size_t>(d)] == 0)
            continue;
        for (int i = 1; i <= data.NumInputs; ++i)
            if (data.InputData(i, d) < 0.0)
                return NegativeValue{d, data.InputNames[static_cast<std::size_t>(i)], data.InputData(i, d)};
        for (int r = 1; r <= data.NumOutputs; ++r)
            if (data.OutputData(r, d) < 0.0)
                return NegativeValue{d, data.OutputNames[static_cast<std::size_t>(r)], data.OutputData(r, d)};
    }
    return std::nullopt;
}

bool assumesNonNegativeData(const ModelOptions &options)
{
    return options.fdh() || options.Distance != ModelDistance::ADD;
}

std::string negativeDataNote(const DataSet &data, const ModelOptions &options, const RunSeries &series)
{
    if (!assumesNonNegativeData(options))
        return {};
    const std::optional<NegativeValue> negative = firstNegativeValue(data, series);
    if (!negative)
        return {};
    // The name cell without the four-character mark in front of it.
    const std::string &named = data.DMUNames[static_cast<std::size_t>(negative->dmu)];
    const std::string name = named.size() > 4 ? named.substr(4) : std::string();
    const std::string model = options.ModelName.empty() ? options.modelName() : options.ModelName;
    return "DMU " + std::to_string(negative->dmu) + (name.empty() ? "" : " (" + name + ")")
        + " holds a negative value in column " + negative->column + ": " + numberToText(negative->value)
        + ".\nThe " + model
        + " model assumes inputs and outputs of at least 0: with negative data its scores are not "
          "meaningful and may not be finite (big). The additive models (ADD) take negative data.";
}

} // namespace zelvar
