#pragma once

#include "data/Matrix.h"

#include <cstdint>
#include <string>

namespace zelvar {

struct WeightsReadResult {
    enum class Outcome {
        Loaded, // the table below holds the whole file
        Failed, // message says why; whatever restrictions were loaded before
                // (table, file name, status text, the dialog's box) stay as they were
    };
    Outcome outcome = Outcome::Failed;
    std::string WeightsName;
    std::int32_t NumWeightRows = 0;
    Matrix WeightRestrictions; // W(c, k), c = 1..numWeights, k = 1..NumWeightRows
    std::int32_t WeightNonzeros = 0;
    std::string message;
};

// Reads a weight restriction file for a data set with `numWeights` inputs
// plus outputs: the format is told by a case-sensitive search of the bare
// file name for ".xls" (workbook, sheet Weights), then ".txt". Column 0 holds
// remarks; the next numWeights columns hold the coefficients (an empty cell
// is 0). Never throws.
[[nodiscard]] WeightsReadResult readWeightsFile(const std::string &path, int numWeights);

} // namespace zelvar
