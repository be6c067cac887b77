#pragma once

#include "data/CellTable.h"

#include <string>
#include <vector>

namespace zelvar {

class ZipArchive;

// A sheet of an Excel 2007+ workbook (.xlsx: XML parts in a zip archive):
// the sheet is found by name through xl/workbook.xml and its relationships;
// cells are placed by their references (A1, AB12), a gap being no value;
// the used range's first row names the fields. Shared strings (rich text
// runs joined), inline strings, formula results, numbers and booleans (1 and
// 0) are read; error values (#N/A) are text.
class XlsxTableSource : public CellTable {
public:
    // Opens the sheet named `sheet` (ignoring case) of the workbook at
    // `path`. On failure the table is empty and the error reads
    // "Cannot read <path>: <reason>."
    [[nodiscard]] static OpenedTable open(const std::string &path, const std::string &sheet);

    // 1-based row and column of a reference such as "AB12"; false when it is
    // not one (or lies outside a sheet's 1048576 rows and 16384 columns).
    [[nodiscard]] static bool parseReference(std::string_view reference, std::uint32_t &row,
                                             std::uint32_t &column);

private:
    bool readSharedStrings(const ZipArchive &archive, const std::string &part,
                           std::string &reason);
    bool readSheet(const ZipArchive &archive, const std::string &part, const std::string &sheet,
                   std::string &reason);

    std::vector<TextRef> m_sharedStrings;
};

} // namespace zelvar
