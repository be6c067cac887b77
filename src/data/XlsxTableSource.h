#pragma once

#include "data/CellTable.h"
#include "data/ZipArchive.h"

#include <string>
#include <vector>

namespace zelvar {

// A sheet of an Excel 2007+ workbook (.xlsx: XML parts in a zip archive):
// the sheet is found by name through xl/workbook.xml and its relationships;
// cells are placed by their references (A1, AB12), a gap being no value;
// the used range's first row names the fields. Shared strings (rich text
// runs joined), inline strings, formula results, numbers and booleans (1 and
// 0) are read; error values (#N/A) are text.
//
// Both the sheet and the shared strings are read as a stream. The sheet
// comes first, its cells noting which shared strings they use; then only
// those strings are kept from the workbook's list, however long it is. So
// the memory a workbook takes follows its cells, not the size of its XML.
class XlsxTableSource : public CellTable {
public:
    // What one workbook may hold before it is refused: cells with a value,
    // bytes of text in them, and bytes in one unpacked part.
    struct ReadLimits {
        std::size_t cells = MaxCells;
        std::size_t textBytes = MaxTextBytes;
        std::uint64_t partBytes = ZipArchive::MaxEntryBytes;
    };

    // Opens the sheet named `sheet` (ignoring case) of the workbook at
    // `path`. On failure the table is empty and the error reads
    // "Cannot read <path>: <reason>."
    [[nodiscard]] static OpenedTable open(const std::string &path, const std::string &sheet);
    [[nodiscard]] static OpenedTable open(const std::string &path, const std::string &sheet,
                                          const ReadLimits &limits);

    // 1-based row and column of a reference such as "AB12"; false when it is
    // not one (or lies outside a sheet's 1048576 rows and 16384 columns).
    [[nodiscard]] static bool parseReference(std::string_view reference, std::uint32_t &row,
                                             std::uint32_t &column);

private:
    bool readSheet(const ZipArchive &archive, const std::string &part, const std::string &sheet,
                   std::string &reason);
    // Reads the shared strings, keeping the texts of `indices` (ascending)
    // in `texts`; `count` is how many strings the part holds.
    bool readSharedStrings(const ZipArchive &archive, const std::string &part,
                           const std::string &sheet, const std::vector<std::uint64_t> &indices,
                           std::vector<TextRef> &texts, std::uint64_t &count, std::string &reason);
};

} // namespace zelvar
