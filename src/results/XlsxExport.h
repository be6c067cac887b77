#pragma once

#include <string>

namespace zelvar {

class ResultsTable;

// What a worksheet cell holds at most, in characters.
inline constexpr std::size_t XlsxMaxCellText = 32767;

// Writes the table as an Excel workbook of one sheet, "Results": number
// cells as numbers with the number format that shows them as the table
// does (scores "0.00%", weights "0.00", counts "0"), other cells as text,
// empty cells left empty; the header row bold, the header row and the DMU
// columns frozen, the cyan rows of efficient DMUs cyan. A text longer than a
// cell holds (the dominance lists of a large FDH run) is cut at the last
// blank before the limit and ends in "…". Returns an empty string on
// success, else a message naming the file.
[[nodiscard]] std::string saveResultsXlsx(const ResultsTable &table, const std::string &path);

} // namespace zelvar
