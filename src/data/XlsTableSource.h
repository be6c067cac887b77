#pragma once

#include "data/CellTable.h"

#include <string>

namespace zelvar {

// A sheet of an Excel 97-2003 workbook (.xls, BIFF in an OLE2 container)
// read through FreeXL: the used range of the sheet, its first row holding
// the field names. Number cells are numbers, text, date and time cells text,
// empty cells no value.
class XlsTableSource : public CellTable {
public:
    // Opens the sheet named `sheet` (ignoring case) of the workbook at
    // `path`. On failure the table is empty and the error reads
    // "Cannot read <path>: <reason>."
    [[nodiscard]] static OpenedTable open(const std::string &path, const std::string &sheet);
};

} // namespace zelvar
