#include "results/TableExport.h"

#include "results/ResultsFile.h"
#include "results/ResultsTable.h"
#include "results/XlsxExport.h"

#include <ostream>
#include <sstream>

namespace zelvar {

namespace {

// Text with the table's decimal separator made ".". A number cell holds its
// separator once, between the whole and the fractional part; the intensities
// of a benchmark list once each.
std::string withDecimalPoint(std::string text, const std::string &separator, bool every)
{
    if (separator == "." || separator.empty())
        return text;
    for (std::size_t at = text.find(separator); at != std::string::npos; at = text.find(separator, at + 1)) {
        text.replace(at, separator.size(), ".");
        if (!every)
            break;
    }
    return text;
}

void appendField(std::string &line, const std::string &text)
{
    const bool quoted = text.find_first_of(",\"\r\n") != std::string::npos;
    if (!quoted) {
        line += text;
        return;
    }
    line += '"';
    for (char c : text) {
        if (c == '"')
            line += '"';
        line += c;
    }
    line += '"';
}

// A number cell's text is its value formatted with the table's separator,
// so putting "." in its place gives the value formatted with ".".
std::string csvCell(const ResultsTable &table, int row, int col)
{
    const std::string &text = table.grid().text(row, col);
    if (row == 0)
        return text;
    if (table.number(row, col))
        return withDecimalPoint(text, table.decimalSeparator(), false);
    // The intensities " 7 (0,75) " are the only numbers inside a text.
    if (col == table.benchmarksColumn() && !table.fdh())
        return withDecimalPoint(text, table.decimalSeparator(), true);
    return text;
}

std::string csvLine(const ResultsTable &table, int row)
{
    std::string line;
    for (int col = 0; col < table.grid().cols(); ++col) {
        if (col > 0)
            line += ',';
        appendField(line, csvCell(table, row, col));
    }
    return line + "\r\n";
}

} // namespace

void writeCsv(const ResultsTable &table, std::ostream &out)
{
    for (int row = 0; row < table.grid().rows(); ++row)
        out << csvLine(table, row);
}

std::optional<ExportFormat> exportFormatNamed(std::string_view name)
{
    if (name == "txt")
        return ExportFormat::Text;
    if (name == "csv")
        return ExportFormat::Csv;
    if (name == "xlsx")
        return ExportFormat::Xlsx;
    return std::nullopt;
}

std::string_view extensionOf(ExportFormat format)
{
    switch (format) {
    case ExportFormat::Csv:
        return ".csv";
    case ExportFormat::Xlsx:
        return ".xlsx";
    case ExportFormat::Text:
        break;
    }
    return ".txt";
}

std::string csvText(const ResultsTable &table)
{
    std::ostringstream text;
    writeCsv(table, text);
    return text.str();
}

std::string exportResults(const ResultsTable &table, const std::string &path, ExportFormat format)
{
    switch (format) {
    case ExportFormat::Csv:
        return saveText(path, table.grid().rows(), [&table](int row) { return csvLine(table, row); });
    case ExportFormat::Xlsx:
        return saveResultsXlsx(table, path);
    case ExportFormat::Text:
        break;
    }
    return saveResultsFile(table.grid(), path);
}

} // namespace zelvar
