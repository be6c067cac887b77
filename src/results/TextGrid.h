#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zelvar {

// A table of text cells, Rows x Cols, numbered from 0: row 0 is the header
// row and column 0 the label column. Besides the cells it keeps a current
// cell (Row, Col), a selection end (RowSel, ColSel; the selection is the block
// between the two), column widths and row heights in twips, a background
// colour per cell and a redraw switch. The results window shows one; export
// reads it.
class TextGrid {
public:
    static constexpr std::uint32_t White = 0xFFFFFF;
    static constexpr std::uint32_t Cyan = 0x00FFFF; // 0xRRGGBB

    // Layout from a format string: column headers separated by "|", then
    // ";", then row labels separated by "|". One column per header entry and
    // one row per label entry; all other cells empty.
    void setFormatString(std::string_view format);

    int Rows() const { return m_rows; }
    int Cols() const { return m_cols; }

    // Current cell; setting it collapses the selection to that cell.
    int Row() const { return m_row; }
    int Col() const { return m_col; }
    void setCurrent(int row, int col);
    int RowSel() const { return m_rowSel; }
    int ColSel() const { return m_colSel; }
    void setSelectionEnd(int rowSel, int colSel);

    const std::string &text(int row, int col) const;
    void setText(int row, int col, std::string text);
    // The current cell's text.
    void setCurrentText(std::string text) { setText(m_row, m_col, std::move(text)); }

    // Background of every cell of the selection.
    void setSelectionColour(std::uint32_t rgb);
    std::uint32_t colour(int row, int col) const;

    int columnWidth(int col) const;
    void setColumnWidth(int col, int twips);
    int rowHeight(int row) const;
    void setRowHeight(int row, int twips);

    bool Redraw() const { return m_redraw; }
    void setRedraw(bool on) { m_redraw = on; }

    // Cells of the block between current cell and selection end: cells of a
    // row joined by TAB, rows joined by CR alone.
    std::string Clip() const;

    // Counts up on every change of a cell or colour; a view repaints when it moved.
    std::uint64_t revision() const { return m_revision; }

private:
    std::size_t index(int row, int col) const;

    int m_rows = 0;
    int m_cols = 0;
    int m_row = 0, m_col = 0, m_rowSel = 0, m_colSel = 0;
    bool m_redraw = true;
    std::uint64_t m_revision = 0;
    std::vector<std::string> m_cells;
    std::vector<std::uint32_t> m_colours;
    std::vector<int> m_widths;
    std::vector<int> m_heights;
};

} // namespace zelvar
