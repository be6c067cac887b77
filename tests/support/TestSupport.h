#pragma once

// Builders of data sets, the recording sinks, the independent envelopment
// solves with the projection check, and model runs: everything a test of
// the engine or of a results table needs, in one include.

#include "data/DataSet.h"
#include "engine/LpProblem.h"
#include "engine/ResultStore.h"
#include "engine/RunSinks.h"
#include "session/SelectionSet.h"
#include "support/Envelopment.h"
#include "support/ModelRun.h"
#include "support/Recorders.h"

#include <string>
#include <utility>
#include <vector>

namespace zelvar::test {

// One DMU's data: inputs, then outputs.
struct Unit {
    std::vector<double> x;
    std::vector<double> y;
};

// A data set of the given DMUs named "    D1", "    D2", ...; the marks say
// which inputs / outputs (1-based) are non-discretionary.
DataSet makeData(const std::vector<Unit> &units, const std::vector<int> &ndInputs = {},
                 const std::vector<int> &ndOutputs = {});

// Adds a weight restriction table with the given rows (each one coefficient
// per input and output weight) from file `file`.
void addWeights(DataSet &data, const std::vector<std::vector<double>> &rows,
                const std::string &file = "weights.txt");

// A selection of count DMUs with exactly the listed DMUs selected.
SelectionSet selection(int count, const std::vector<int> &dmus);

// Whether DMU j dominates DMU d: no more of any input, no less of any output.
bool dominates(const DataSet &data, int j, int d);

// Parses a benchmark text " j (lambda)  k (lambda) " into (j, lambda) pairs.
std::vector<std::pair<int, double>> parseBenchmarks(const std::string &text);

} // namespace zelvar::test
