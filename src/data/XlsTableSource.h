#pragma once

#include "data/CellTable.h"

#include <string>

namespace zelvar {

// A sheet of an Excel 97-2003 workbook (.xls, BIFF in an OLE2 container)
// read through FreeXL: the used range of the sheet, its first row holding
// the field names. Number cells are numbers, text, date and time cells text,
// empty cells no value.
//
// FreeXL reads past its buffers, and crashes, on some damaged files. So the
// workbook is read in a child process that hands the cells back through a
// pipe: whatever the file does to FreeXL, this process only sees a child that
// stopped, and reports the workbook as damaged.
class XlsTableSource : public CellTable {
public:
    // Opens the sheet named `sheet` (ignoring case) of the workbook at
    // `path`. On failure the table is empty and the error reads
    // "Cannot read <path>: <reason>."
    [[nodiscard]] static OpenedTable open(const std::string &path, const std::string &sheet);

    // A child that sends nothing for this long is taken to hang.
    static constexpr int ChildTimeoutSeconds = 60;

private:
    bool readFrames(int fd, std::string &reason);
};

} // namespace zelvar
