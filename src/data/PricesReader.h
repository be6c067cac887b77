#pragma once

#include "data/Matrix.h"

#include <string>

namespace zelvar {

struct PricesReadResult {
    enum class Outcome {
        Loaded, // the table below holds the whole file
        Failed, // message says why; prices loaded before stay as they were
    };
    Outcome outcome = Outcome::Failed;
    std::string PricesName;
    Matrix Prices; // P(c, k), c = 1..inputs + outputs, k = 1..rows of the file
    std::string message;
};

// Reads a prices file for a data set of numInputs inputs, numOutputs outputs
// and numDMU DMUs. The format is told as for the weight restrictions: ".xls"
// in the bare file name (workbook, sheet Prices), else ".txt". Column 0 holds
// labels; then one column per input and one per output, in the data's order
// of inputs and then outputs. One row (the prices of every DMU) or one row
// per DMU in DMU order; an empty cell is 0. A negative or non-numeric price,
// another number of columns or rows is refused with a message naming the
// file (and the record and column of a bad cell). Never throws.
[[nodiscard]] PricesReadResult readPricesFile(const std::string &path, int numInputs, int numOutputs,
                                              int numDMU);

} // namespace zelvar
