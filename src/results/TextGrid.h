#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zelvar {

// A table of text cells, Rows x Cols, numbered from 0: row 0 is the header
// row and column 0 the label column. Besides the cells it keeps a current
// cell (Row, Col), a selection end (RowSel, ColSel; the selection is the block
// between the two), column widths and row heights in twips, a background
// colour per cell and a redraw switch. The results window shows one; export
// reads it.
//
// Out-of-range positions never fault: the current cell and the selection end
// are clamped into the grid; writing a cell, a colour, a width or a height
// outside it does nothing; reading a cell outside it gives an empty text, the
// colour White and the default width or height.
class TextGrid {
public:
    static constexpr std::uint32_t White = 0xFFFFFF;
    static constexpr std::uint32_t Cyan = 0x00FFFF; // 0xRRGGBB
    static constexpr int DefaultColumnWidth = 960;  // twips
    static constexpr int DefaultRowHeight = 240;    // twips

    // Layout from a format string: column headers separated by "|", then
    // ";", then row labels separated by "|". One column per header entry and
    // one row per label entry; header entry c goes to cell (0, c), label
    // entry r to cell (r, 0), so cell (0, 0) holds the first label. All other
    // cells are empty and white, widths and heights default, the current cell
    // and the selection at (0, 0). Without ";" there is one label entry, the
    // empty one.
    void setFormatString(std::string_view format);

    // The same layout from entries given one by one, for headers that may
    // themselves contain "|" or ";" (column names read from a data file).
    void setLayout(std::vector<std::string> headers, std::vector<std::string> labels);

    int rows() const { return m_rows; }
    int cols() const { return m_cols; }
    // Changes the number of columns, keeping the cells, colours and widths of
    // the columns that remain; new columns are empty. Negative counts give 0.
    void setCols(int cols);

    // Current cell; setting it collapses the selection to that cell.
    int currentRow() const { return m_row; }
    int currentCol() const { return m_col; }
    void setCurrent(int row, int col);
    int selectionRow() const { return m_rowSel; }
    int selectionCol() const { return m_colSel; }
    void setSelectionEnd(int rowSel, int colSel);

    std::string text(int row, int col) const;
    void setText(int row, int col, std::string text);
    // Gives back the room a row's text grew into while its cells were
    // written one by one, for a row that is complete (a table of a million
    // rows would otherwise hold half as much again).
    void compactRow(int row);

    // A column whose cells below the header are formed from their row when
    // read instead of being held (lists too long to keep for every row):
    // text() of such a cell is source(row), whatever setText stored there.
    // An empty function makes the column hold its cells again.
    using CellSource = std::function<std::string(int row)>;
    void setColumnSource(int col, CellSource source);
    // The current cell's text.
    void setCurrentText(std::string text) { setText(m_row, m_col, std::move(text)); }

    // Background of every cell of the selection.
    void setSelectionColour(std::uint32_t rgb);
    std::uint32_t colour(int row, int col) const;

    int columnWidth(int col) const;
    void setColumnWidth(int col, int twips);
    int rowHeight(int row) const;
    void setRowHeight(int row, int twips);

    bool redraw() const { return m_redraw; }
    // Switching redrawing on again counts as a change, so a view that waited
    // shows everything written meanwhile.
    void setRedraw(bool on);

    // Cells of the block between current cell and selection end: cells of a
    // row joined by TAB, rows joined by CR alone.
    std::string selectionText() const;

    // The same text form for the block of rows r1..r2 and columns c1..c2
    // (either corner first). The block is cut to the grid; nothing of it
    // inside the grid gives an empty text.
    std::string blockText(int r1, int c1, int r2, int c2) const;

    // Counts up on every change of a cell or colour; a view repaints when it moved.
    std::uint64_t revision() const { return m_revision; }

private:
    bool contains(int row, int col) const
    {
        return row >= 0 && row < m_rows && col >= 0 && col < m_cols;
    }
    std::size_t index(int row, int col) const;
    // The stored text of a cell inside the grid, and its replacement.
    std::string_view cell(int row, int col) const;
    void putCell(int row, int col, std::string_view text);
    std::uint8_t paletteEntry(std::uint32_t rgb);
    int clampRow(int row) const;
    int clampCol(int col) const;

    int m_rows = 0;
    int m_cols = 0;
    int m_row = 0, m_col = 0, m_rowSel = 0, m_colSel = 0;
    bool m_redraw = true;
    std::uint64_t m_revision = 0;
    // The cells of a row one after the other in one text, with where each
    // ends: a table of a million rows holds one string per row, not per cell.
    std::vector<std::string> m_rowText;
    std::vector<std::uint32_t> m_cellEnds; // row by row
    std::vector<CellSource> m_sources; // by column; empty where the column holds its cells
    // Cell colours as entries of a palette, White first: a byte per cell.
    std::vector<std::uint8_t> m_colours;
    std::vector<std::uint32_t> m_palette{White};
    std::vector<int> m_widths;
    std::vector<int> m_heights;
};

} // namespace zelvar
