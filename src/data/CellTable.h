#pragma once

#include "data/TableSource.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zelvar {

// A table held in memory, the form every table source reads its file into.
// Only cells holding a value are stored, row by row, so a sheet with a few
// cells far apart costs no more than its cells; all texts share one pool.
//
// Filling: add cells (any order; a later cell at the same place is dropped),
// then call finishWithHeaderRow() (a spreadsheet: the used range, its first
// row naming the fields) or finish() (names given, records counted by the
// caller). Both fail with a reason when the table breaks a limit below.
class CellTable : public TableSource {
public:
    // Limits that keep a hostile file from taking all memory: a sheet of
    // Excel's size at most, 2^24 cells with a value, 1 GiB of text, field
    // names of at most 255 characters.
    static constexpr std::uint32_t MaxRows = 1048576;
    static constexpr std::uint32_t MaxColumns = 16384;
    static constexpr std::size_t MaxCells = std::size_t{1} << 24;
    static constexpr std::size_t MaxTextBytes = std::size_t{1} << 30;
    static constexpr std::size_t MaxFieldNameLength = 255;

    // A text kept in the pool.
    struct TextRef {
        std::uint32_t offset = 0;
        std::uint32_t length = 0;
    };

    // Name of a field without a header: F1, F2, ... by 0-based position.
    static std::string defaultFieldName(std::size_t field);

    int recordCount() const override { return m_recordCount; }
    int fieldCount() const override { return static_cast<int>(m_fieldNames.size()); }
    const std::string &fieldName(int field) const override;
    FieldValue value(int field) const override;
    void moveFirst() override { m_current = 0; }
    bool moveNext() override;
    int currentRecord() const override { return m_current + 1; }

protected:
    // Puts a text into the pool; fails (returns false) beyond MaxTextBytes.
    [[nodiscard]] bool storeText(std::string_view text, TextRef &ref);

    // Cells at 0-based row and column. Empty texts count as no value and are
    // not stored. Each returns false once MaxCells is reached.
    [[nodiscard]] bool addNumber(std::uint32_t row, std::uint32_t column, double number);
    [[nodiscard]] bool addNumber(std::uint32_t row, std::uint32_t column, double number,
                                 TextRef text);
    [[nodiscard]] bool addText(std::uint32_t row, std::uint32_t column, TextRef text);

    // Spreadsheet form: the rectangle from the first to the last row and
    // column holding a value is the table; its first row names the fields (an
    // empty header cell is named F1, F2, ... by position, a number by its
    // text), the rows below are the records.
    [[nodiscard]] bool finishWithHeaderRow(std::string &error);
    // Text form: fields named as given, rows 0..recordCount-1 are the
    // records. Cells beyond the last field are dropped.
    [[nodiscard]] bool finish(std::vector<std::string> fieldNames, int recordCount,
                              std::string &error);

    std::string_view text(TextRef ref) const { return {m_text.data() + ref.offset, ref.length}; }

private:
    struct Cell {
        double number;
        TextRef text;
        std::uint32_t column;
        FieldValue::Kind kind;
    };

    bool addCell(std::uint32_t row, const Cell &cell);
    void sortCells();
    // Turns the cells into records: drops cells outside the field range and
    // shifts rows and columns so the first record and field are 0.
    void buildRecords(std::uint32_t firstRow, std::uint32_t firstColumn, int recordCount);
    bool checkFieldNames(std::string &error) const;

    std::vector<std::string> m_fieldNames;
    std::vector<Cell> m_cells;
    std::vector<std::uint32_t> m_cellRows;    // row of each cell while filling
    std::vector<std::uint32_t> m_recordStart; // first cell of each record, plus the end
    std::string m_text;
    bool m_sorted = true;
    int m_recordCount = 0;
    int m_current = 0;
};

} // namespace zelvar
