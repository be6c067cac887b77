#include "results/XlsxExport.h"

#include "results/ResultsTable.h"

#include <xlsxwriter.h>

#include <map>
#include <tuple>

namespace zelvar {

namespace {

// Twips per character of a worksheet column's width unit (the width of a
// digit of the default font, about 7 pixels at 96 dots per inch).
constexpr double TwipsPerCharacter = 105.0;

// The number format that shows a value as the table does.
std::string numberFormat(const CellNumber &number)
{
    if (number.style == NumberStyle::Whole)
        return "0";
    std::string format = "0";
    if (number.decimals > 0)
        format += "." + std::string(static_cast<std::size_t>(number.decimals), '0');
    return number.style == NumberStyle::Percent ? format + "%" : format;
}

// A text cut to what a cell holds, "…" (three bytes) included: at the last
// blank before the limit (the lists are DMU numbers separated by blanks),
// never inside a UTF-8 sequence. Counting bytes keeps it within the limit,
// which counts characters.
std::string cellText(const std::string &text)
{
    if (text.size() <= XlsxMaxCellText)
        return text;
    std::size_t end = XlsxMaxCellText - 3;
    const std::size_t blank = text.rfind(' ', end);
    if (blank != std::string::npos && blank > XlsxMaxCellText / 2)
        end = blank;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        --end;
    return text.substr(0, end) + "\u2026";
}

// The workbook's formats, made on first use: one per number format, colour
// and weight.
class Formats {
public:
    explicit Formats(lxw_workbook *workbook) : m_workbook(workbook) {}

    lxw_format *get(const std::string &numberFormat, std::uint32_t colour, bool bold)
    {
        if (numberFormat.empty() && colour == TextGrid::White && !bold)
            return nullptr;
        const auto key = std::make_tuple(numberFormat, colour, bold);
        const auto found = m_formats.find(key);
        if (found != m_formats.end())
            return found->second;
        lxw_format *format = workbook_add_format(m_workbook);
        if (!numberFormat.empty())
            format_set_num_format(format, numberFormat.c_str());
        if (colour != TextGrid::White)
            format_set_bg_color(format, colour);
        if (bold)
            format_set_bold(format);
        m_formats.emplace(key, format);
        return format;
    }

private:
    lxw_workbook *m_workbook;
    std::map<std::tuple<std::string, std::uint32_t, bool>, lxw_format *> m_formats;
};

std::string failure(const std::string &path, lxw_error error)
{
    return "Can't write the file " + path + ": " + lxw_strerror(error) + ".";
}

} // namespace

std::string saveResultsXlsx(const ResultsTable &table, const std::string &path)
{
    const TextGrid &grid = table.grid();
    if (grid.rows() > LXW_ROW_MAX || grid.cols() > LXW_COL_MAX)
        return "Can't write the file " + path + ": the table has more rows or columns than a worksheet holds.";

    // Rows are written in order, so the worksheet need not be held whole.
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    lxw_workbook *workbook = workbook_new_opt(path.c_str(), &options);
    if (workbook == nullptr)
        return "Can't write the file " + path + ".";
    lxw_worksheet *sheet = workbook_add_worksheet(workbook, "Results");
    Formats formats(workbook);

    for (int col = 0; col < grid.cols(); ++col)
        worksheet_set_column(sheet, static_cast<lxw_col_t>(col), static_cast<lxw_col_t>(col),
                             grid.columnWidth(col) / TwipsPerCharacter, nullptr);
    // The header row and the columns of the DMU numbers and names.
    worksheet_freeze_panes(sheet, 1, static_cast<lxw_col_t>(std::min(grid.cols(), 2)));

    lxw_error failed = LXW_NO_ERROR;
    for (int row = 0; row < grid.rows() && failed == LXW_NO_ERROR; ++row) {
        const auto r = static_cast<lxw_row_t>(row);
        for (int col = 0; col < grid.cols() && failed == LXW_NO_ERROR; ++col) {
            const auto c = static_cast<lxw_col_t>(col);
            const std::uint32_t colour = grid.colour(row, col);
            const bool bold = row == 0;
            if (const std::optional<CellNumber> number = row > 0 ? table.number(row, col) : std::nullopt) {
                failed = worksheet_write_number(sheet, r, c, number->value,
                                                formats.get(numberFormat(*number), colour, bold));
                continue;
            }
            const std::string &text = grid.text(row, col);
            lxw_format *format = formats.get(std::string(), colour, bold);
            if (!text.empty())
                failed = worksheet_write_string(sheet, r, c, cellText(text).c_str(), format);
            else if (format != nullptr)
                failed = worksheet_write_blank(sheet, r, c, format);
        }
    }
    const lxw_error closed = workbook_close(workbook);
    if (failed != LXW_NO_ERROR)
        return failure(path, failed);
    if (closed != LXW_NO_ERROR)
        return failure(path, closed);
    return {};
}

} // namespace zelvar
