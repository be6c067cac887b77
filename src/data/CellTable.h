#pragma once

#include "data/TableSource.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace zelvar {

// A table held in memory, the form every table source reads its file into.
// Only cells holding a value are stored, row by row, so a sheet with a few
// cells far apart costs no more than its cells; all texts share one pool.
// A cell takes 12 bytes (its number or the place of its text, its column
// and kind), and 8 more in a table whose numbers come with a text of their
// own (a text table's fields).
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

    // The limits a reader may lower (tests of what happens at a limit).
    struct Limits {
        std::size_t cells = MaxCells;
        std::size_t textBytes = MaxTextBytes;
    };

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
    const Limits &limits() const { return m_limits; }
    void setLimits(const Limits &limits) { m_limits = limits; }

    // Puts a text into the pool; fails (returns false) beyond limits().textBytes.
    [[nodiscard]] bool storeText(std::string_view text, TextRef &ref);

    // Cells at 0-based row and column. Empty texts count as no value and are
    // not stored. Each returns false once limits().cells is reached.
    [[nodiscard]] bool addNumber(std::uint32_t row, std::uint32_t column, double number);
    [[nodiscard]] bool addNumber(std::uint32_t row, std::uint32_t column, double number,
                                 TextRef text);
    [[nodiscard]] bool addText(std::uint32_t row, std::uint32_t column, TextRef text);
    // A number 1 or 0 whose text is TRUE or FALSE.
    [[nodiscard]] bool addBoolean(std::uint32_t row, std::uint32_t column, bool on);
    // A cell whose text is the index-th of a list read later (a workbook's
    // shared strings); resolveListedTexts() puts the texts in.
    [[nodiscard]] bool addListedText(std::uint32_t row, std::uint32_t column, std::uint64_t index);

    // The indices the listed-text cells use, ascending, each once.
    std::vector<std::uint64_t> listedTextIndices() const;
    // Whether a listed-text cell has an index at or past `available` (the
    // length of the list); `index` is then that of the first such cell in
    // the order the cells were added.
    [[nodiscard]] bool listedTextMissing(std::uint64_t available, std::uint64_t &index) const;
    // Gives each listed-text cell its text: texts[k] is that of indices[k],
    // which must hold every index used. A cell whose text is empty holds no
    // value, as with addText.
    void resolveListedTexts(const std::vector<std::uint64_t> &indices,
                            const std::vector<TextRef> &texts);

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
    enum class Stored : std::uint8_t { Number, NumberWithText, Text, Boolean, Listed, Empty };

    // value holds the number's bits, a TextRef (offset, length) or a listed
    // text's index; place holds the column in its low 24 bits and the kind
    // above them.
    struct Cell {
        std::uint32_t value[2];
        std::uint32_t place;
    };

    // Values kept in blocks of a fixed size, so that growing never copies
    // what is held nor needs room for it twice.
    template <typename T>
    class Blocks {
    public:
        std::size_t size() const { return m_size; }
        bool empty() const { return m_size == 0; }
        T &operator[](std::size_t k) { return m_blocks[k >> Shift][k & Mask]; }
        const T &operator[](std::size_t k) const { return m_blocks[k >> Shift][k & Mask]; }
        void push_back(const T &value);
        // Keeps the first `size` values and frees the blocks no longer used.
        void shrink(std::size_t size);

    private:
        static constexpr unsigned Shift = 16;
        static constexpr std::size_t Mask = (std::size_t{1} << Shift) - 1;
        std::vector<std::unique_ptr<T[]>> m_blocks;
        std::size_t m_size = 0;
    };

    // The cells of one row added one after another, from cell `first` on.
    struct RowRun {
        std::uint32_t row;
        std::uint32_t first;
    };

    static std::uint32_t column(const Cell &cell) { return cell.place & 0xFFFFFFu; }
    static Stored stored(const Cell &cell) { return static_cast<Stored>(cell.place >> 24); }
    static Cell makeCell(std::uint64_t value, std::uint32_t column, Stored kind);
    static std::uint64_t bits(const Cell &cell);

    bool addCell(std::uint32_t row, const Cell &cell, TextRef numberText);
    void sortCells();
    // Turns the cells into records: drops cells outside the field range and
    // shifts rows and columns so the first record and field are 0.
    void buildRecords(std::uint32_t firstRow, std::uint32_t firstColumn, int recordCount);
    bool checkFieldNames(std::string &error) const;
    std::string cellText(std::size_t k) const;

    std::vector<std::string> m_fieldNames;
    Blocks<Cell> m_cells;
    // The text of each cell while any cell is a NumberWithText (a text
    // table's numbers), else empty.
    Blocks<TextRef> m_numberTexts;
    std::vector<RowRun> m_rowRuns;             // while filling
    std::vector<std::uint32_t> m_recordStart; // first cell of each record, plus the end
    std::string m_text;
    Limits m_limits;
    bool m_sorted = true;
    int m_recordCount = 0;
    int m_current = 0;
};

} // namespace zelvar
