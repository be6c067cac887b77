#pragma once

#include "engine/RunDriver.h"

namespace zelvar {

class ColumnScaling;
struct DataSet;
struct ModelOptions;

// What one call of RunModel works with.
struct RunDriver::RunContext {
    DataSet &data;         // the loaded data: names, and the values the table shows
    const DataSet &lpData; // the numbers the LPs are built from, in the LPs' units
    const ColumnScaling &scaling;
    const ModelOptions &options;
    SelectionSet &eval;
    SelectionSet &tech;
    ResultsSink &results;
    ProgressSink &progress;
    Feedback &feedback;
    const RunView &view;
    const SolveContext &solve;
    int toEvaluate = 0;
    int processed = 0;
};

} // namespace zelvar
