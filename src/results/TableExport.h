#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

namespace zelvar {

class ResultsTable;

// The forms a results table is written in: the saved text of Save (cells
// joined by TAB, rows by CR, ending in CR LF), CSV for any spreadsheet, and
// an Excel workbook.
enum class ExportFormat { Text, Csv, Xlsx };

// "txt", "csv", "xlsx"; nothing for any other name.
[[nodiscard]] std::optional<ExportFormat> exportFormatNamed(std::string_view name);
// ".txt", ".csv", ".xlsx".
[[nodiscard]] std::string_view extensionOf(ExportFormat format);

// The table as CSV (RFC 4180): cells joined by commas, rows ended by CR LF,
// UTF-8 without a byte order mark. A cell holding a comma, a quote or a line
// break is quoted, its quotes doubled; blanks are part of a cell. Numbers are
// written as the table shows them but with "." as the decimal point: a
// number cell is formed again from its value, and the intensities in the
// Benchmarks column get "." for the table's separator.
[[nodiscard]] std::string csvText(const ResultsTable &table);
// The same text written to out row by row, never held whole.
void writeCsv(const ResultsTable &table, std::ostream &out);

// Writes the whole table to path in the format, replacing an existing file.
// Returns an empty string on success, else a message naming the file and
// why it could not be written.
[[nodiscard]] std::string exportResults(const ResultsTable &table, const std::string &path, ExportFormat format);

} // namespace zelvar
