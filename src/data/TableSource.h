#pragma once

#include <memory>
#include <optional>
#include <string>

namespace zelvar {

// One cell of a table as a table source delivers it.
struct FieldValue {
    enum class Kind { Null, Number, Text };
    Kind kind = Kind::Null;
    double number = 0.0;
    std::string text; // the cell's text for Text; also set for Number when the source had one

    bool isNull() const { return kind == Kind::Null; }
};

// A table of named fields and records, read from a delimited text file
// described by its folder's schema.ini, or from a sheet of a workbook.
// Field numbers run from 0 (the leftmost column); the first record is the
// current one after opening and after moveFirst().
class TableSource {
public:
    virtual ~TableSource() = default;

    virtual int recordCount() const = 0;
    virtual int fieldCount() const = 0;
    virtual const std::string &fieldName(int field) const = 0;

    // Value of a field in the current record. Requires a current record
    // (0 <= current < recordCount()).
    virtual FieldValue value(int field) const = 0;

    virtual void moveFirst() = 0;
    // Moves to the next record; false when there is none (the position is
    // then past the last record).
    virtual bool moveNext() = 0;
    // 1-based number of the current record, for messages.
    virtual int currentRecord() const = 0;
};

struct OpenedTable {
    std::unique_ptr<TableSource> table; // null when the open failed
    std::string error;                  // why, in words a user can act on
};

// A text table: the file `fileName` in `folder`, laid out by folder/schema.ini
// (comma-delimited with a header row when there is no schema.ini or no
// section for the file). Never throws; a failure leaves table empty and says
// why in error, naming the file.
[[nodiscard]] OpenedTable openTextTable(const std::string &folder, const std::string &fileName);

// The sheet named `sheet` (ignoring case) of the workbook at path, .xls or
// .xlsx as told by the file's content; the first row holds the headers.
// Never throws; a failure leaves table empty and says why in error.
[[nodiscard]] OpenedTable openWorkbookSheet(const std::string &path, const std::string &sheet);

// A side table (weight restrictions, prices) by a case-sensitive search of
// the bare file name: ".xls" (or ".xlsx") opens the workbook's sheet `sheet`,
// ".txt" the text table. `name` gets the bare name up to that suffix.
// Nothing when the name has neither suffix.
[[nodiscard]] std::optional<OpenedTable> openSideTable(const std::string &path, const std::string &sheet,
                                                       std::string &name);

} // namespace zelvar
