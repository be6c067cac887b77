#pragma once

#include <optional>
#include <string>

namespace zelvar {

struct DataSet;
struct ModelOptions;
class RunSeries;

// The first negative input or output value among the DMUs a series of runs
// takes part in (evaluated or spanning the technology in any of its runs):
// the lowest DMU number, and within it the first input, else the first
// output, in the data set's order.
struct NegativeValue {
    int dmu = 0;
    std::string column; // the whole column header, marker included
    double value = 0.0;
};
[[nodiscard]] std::optional<NegativeValue> firstNegativeValue(const DataSet &data, const RunSeries &series);

// Whether a model assumes inputs and outputs of at least 0: the radial,
// max-average and min-average models and FDH. The additive models take
// negative data.
[[nodiscard]] bool assumesNonNegativeData(const ModelOptions &options);

// Before a series of runs: empty when the model takes the data as they are;
// else a note naming the DMU and column of the first negative value and
// saying what it does to the scores. The application asks whether to run
// anyway; the batch tool prints it and runs.
[[nodiscard]] std::string negativeDataNote(const DataSet &data, const ModelOptions &options,
                                           const RunSeries &series);

} // namespace zelvar
