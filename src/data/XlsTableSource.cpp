#include "data/XlsTableSource.h"

#include "data/TextUtil.h"

#include <freexl.h>

#include <memory>

namespace zelvar {

namespace {

struct WorkbookCloser {
    void operator()(const void *handle) const { freexl_close(handle); }
};
using WorkbookHandle = std::unique_ptr<const void, WorkbookCloser>;

std::string openFailure(int code)
{
    switch (code) {
    case FREEXL_FILE_NOT_FOUND:
        return "the file does not exist or cannot be opened";
    case FREEXL_INSUFFICIENT_MEMORY:
        return "there is not enough memory to read the workbook";
    case FREEXL_UNSUPPORTED_CHARSET:
    case FREEXL_INVALID_CHARACTER:
        return "the workbook's texts are in a character set that cannot be read";
    default:
        return "the workbook is damaged or is not an Excel 97-2003 workbook (FreeXL error "
            + std::to_string(code) + ")";
    }
}

} // namespace

OpenedTable XlsTableSource::open(const std::string &path, const std::string &sheet)
{
    OpenedTable opened;
    const auto fail = [&](const std::string &reason) {
        opened.error = "Cannot read " + path + ": " + reason + ".";
        return std::move(opened);
    };

    const void *raw = nullptr;
    const int rc = freexl_open(path.c_str(), &raw);
    WorkbookHandle workbook(raw);
    if (rc != FREEXL_OK || raw == nullptr)
        return fail(openFailure(rc));

    unsigned int info = 0;
    if (freexl_get_info(raw, FREEXL_BIFF_PASSWORD, &info) == FREEXL_OK
        && info == FREEXL_BIFF_OBFUSCATED)
        return fail("the workbook is protected by a password");

    unsigned int sheets = 0;
    if (freexl_get_info(raw, FREEXL_BIFF_SHEET_COUNT, &sheets) != FREEXL_OK)
        return fail(openFailure(FREEXL_BIFF_WORKBOOK_NOT_FOUND));
    int found = -1;
    for (unsigned int k = 0; k < sheets && k <= 0xFFFF && found < 0; ++k) {
        const char *name = nullptr;
        if (freexl_get_worksheet_name(raw, static_cast<unsigned short>(k), &name) == FREEXL_OK
            && name != nullptr && equalsIgnoringCase(name, sheet))
            found = static_cast<int>(k);
    }
    if (found < 0)
        return fail("the workbook has no sheet named " + sheet);

    unsigned int rows = 0;
    unsigned short columns = 0;
    if (freexl_select_active_worksheet(raw, static_cast<unsigned short>(found)) != FREEXL_OK
        || freexl_worksheet_dimensions(raw, &rows, &columns) != FREEXL_OK)
        return fail(openFailure(FREEXL_BIFF_ILLEGAL_SHEET_INDEX));
    if (rows > MaxRows)
        return fail("the sheet " + sheet + " has more rows than a workbook can hold");

    auto table = std::make_unique<XlsTableSource>();
    const auto tooLarge = [&] {
        return fail("the sheet " + sheet + " holds more values than this program reads");
    };
    for (unsigned int row = 0; row < rows; ++row) {
        for (unsigned short column = 0; column < columns; ++column) {
            FreeXL_CellValue cell;
            if (freexl_get_cell_value(raw, row, column, &cell) != FREEXL_OK)
                return fail(openFailure(FREEXL_ILLEGAL_CELL_ROW_COL));
            bool stored = true;
            switch (cell.type) {
            case FREEXL_CELL_INT:
                stored = table->addNumber(row, column, cell.value.int_value);
                break;
            case FREEXL_CELL_DOUBLE:
                stored = table->addNumber(row, column, cell.value.double_value);
                break;
            case FREEXL_CELL_TEXT:
            case FREEXL_CELL_SST_TEXT:
            case FREEXL_CELL_DATE:
            case FREEXL_CELL_DATETIME:
            case FREEXL_CELL_TIME: {
                if (cell.value.text_value == nullptr)
                    break;
                TextRef ref;
                stored = table->storeText(cell.value.text_value, ref)
                    && table->addText(row, column, ref);
                break;
            }
            default:
                break;
            }
            if (!stored)
                return tooLarge();
        }
    }
    std::string reason;
    if (!table->finishWithHeaderRow(reason))
        return fail(reason);
    opened.table = std::move(table);
    return opened;
}

} // namespace zelvar
