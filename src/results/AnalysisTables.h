#pragma once

#include "results/TextGrid.h"

#include <string_view>

namespace zelvar {

struct DataSet;
struct DisplayFormat;
struct MalmquistIndex;
struct ScaleEfficiency;

// The tables of the analyses built on several runs. Like every results table
// they are text in a grid, copied and saved as TAB and CR text, with a label
// column first (DMU numbers for the scale table, row numbers for the index)
// and then the columns below.

// DMU, CRS, VRS, Scale, RTS: one row per evaluated DMU in DMU order. CRS and
// VRS as the score column shows them (percentages with the score decimals,
// "big" where the LP had no finite optimum), Scale as a percentage, RTS
// "crs", "drs" or "irs"; Scale and RTS empty where either score is missing.
[[nodiscard]] TextGrid scaleTable(const ScaleEfficiency &scale, const DataSet &data, const DisplayFormat &format,
                                  std::string_view decimalSeparator);

// DMU, Step, EC, TC, PEC, SEC, MI: for each step "t-(t+1)" its units (named
// as in period t + 1) and a row "Mean"; then each unit's geometric means with
// Step "all" (named as in the last period) and "Mean" / "all". Ratios with
// the score decimals; an index that does not exist is an empty cell.
[[nodiscard]] TextGrid malmquistIndexTable(const MalmquistIndex &index, const DataSet &data,
                                           const DisplayFormat &format, std::string_view decimalSeparator);

} // namespace zelvar
