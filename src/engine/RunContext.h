#pragma once

#include "engine/RunDriver.h"

namespace zelvar {

struct DataSet;
struct ModelOptions;

// What one call of RunModel works with.
struct RunDriver::RunContext {
    DataSet &data;
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
