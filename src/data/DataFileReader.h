#pragma once

#include "data/DataSet.h"

#include <string>

namespace zelvar {

// What reading a data file came to. The loaded data set is never touched by
// the reader: the caller replaces it with `data` only when outcome is Loaded.
struct DataReadResult {
    enum class Outcome {
        Loaded,   // data holds the whole file; message empty
        Refused,  // message says why; the loaded data set stays as it was
        NoData,   // no records, no input or no output column: message says
                  // so; the loaded data set stays as it was
    };
    Outcome outcome = Outcome::Refused;
    DataSet data; // counts, names, flags, matrices, DataFileName, DataFileStem
    std::string message;
};

// Reads the data file at `path` (the path chosen in the open dialog): the
// format is told by ".xls" anywhere in the path ignoring case (a workbook,
// sheet Data; .xlsx files too), else ".txt" (a text table described by the
// folder's schema.ini). The first column holds the DMU names; every other
// header must carry "{I" (input) or "{O" (output); "{IN" / "{ON" also mark
// the column non-discretionary. Every value cell must hold a number.
// Weight members of the result are empty. Never throws.
[[nodiscard]] DataReadResult readDataFile(const std::string &path);

} // namespace zelvar
