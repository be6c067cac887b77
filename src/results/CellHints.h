#pragma once

#include <string>

namespace zelvar {

class ResultsTable;

// Explanations a results window shows as tooltips on the cells and headers a
// newcomer is likely to puzzle over; empty where there is nothing to explain.
// Rows and columns are the table's grid positions (row 0: headers).

// Header of column col: Score, Benchmarks, the weight, slack and factor
// columns, and the FDH table's dominance columns.
[[nodiscard]] std::string headerHint(const ResultsTable &table, int col);

// Cell (row, col), row >= 1: "big", a name marked "{X}", the Benchmarks
// cell of an inefficient DMU (benchmarks and intensities) or of an efficient
// one (its reference count), a score over 100%.
[[nodiscard]] std::string cellHint(const ResultsTable &table, int row, int col);

} // namespace zelvar
