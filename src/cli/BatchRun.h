#pragma once

#include "cli/BatchOptions.h"

#include <iosfwd>

namespace zelvar {

// Exit statuses of zelvar-batch.
enum BatchStatus : int {
    BatchCompleted = 0,   // every run completed
    BatchInputError = 1,  // a data or option error prevented the runs
    BatchRunStopped = 3,  // a run stopped early or left DMUs without a result: a
                          // solver failure (which counts as Cancel here)
};

// Loads the data (and weights), sets up the model as the model dialog would
// and makes every run Start asks for. Each run's table goes to `out` in the
// form of a saved results file (or as CSV), or into options.outDir as the
// caption's file name plus ".txt", ".csv" or ".xlsx" as options.format says.
// Every message a dialog would show goes to `err`; so does a note on
// negative data the model does not take (the runs go on).
// Returns a BatchStatus.
int runBatch(const BatchOptions &options, std::ostream &out, std::ostream &err);

} // namespace zelvar
