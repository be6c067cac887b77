#include "results/TextGrid.h"

#include <algorithm>

namespace zelvar {

namespace {

std::vector<std::string> splitEntries(std::string_view text)
{
    std::vector<std::string> entries;
    std::size_t start = 0;
    for (;;) {
        const std::size_t bar = text.find('|', start);
        if (bar == std::string_view::npos) {
            entries.emplace_back(text.substr(start));
            return entries;
        }
        entries.emplace_back(text.substr(start, bar - start));
        start = bar + 1;
    }
}

} // namespace

void TextGrid::setFormatString(std::string_view format)
{
    const std::size_t semicolon = format.find(';');
    const std::string_view headers = format.substr(0, semicolon);
    const std::string_view labels
        = semicolon == std::string_view::npos ? std::string_view() : format.substr(semicolon + 1);
    setLayout(splitEntries(headers), splitEntries(labels));
}

void TextGrid::setLayout(std::vector<std::string> headers, std::vector<std::string> labels)
{
    m_rows = static_cast<int>(labels.size());
    m_cols = static_cast<int>(headers.size());
    const auto cells = static_cast<std::size_t>(m_rows) * static_cast<std::size_t>(m_cols);
    m_rowText.assign(static_cast<std::size_t>(m_rows), std::string());
    m_cellEnds.assign(cells, 0);
    m_colours.assign(cells, 0);
    m_palette.assign(1, White);
    m_sources.clear();
    m_widths.assign(static_cast<std::size_t>(m_cols), DefaultColumnWidth);
    m_heights.assign(static_cast<std::size_t>(m_rows), DefaultRowHeight);
    m_row = m_col = m_rowSel = m_colSel = 0;

    if (m_rows > 0) {
        for (int c = 1; c < m_cols; ++c)
            putCell(0, c, headers[static_cast<std::size_t>(c)]);
    }
    // Cell (0, 0) belongs to the label column.
    if (m_cols > 0) {
        for (int r = 0; r < m_rows; ++r)
            putCell(r, 0, labels[static_cast<std::size_t>(r)]);
    }
    ++m_revision;
}

void TextGrid::setCols(int cols)
{
    cols = std::max(cols, 0);
    if (cols == m_cols)
        return;
    const auto rows = static_cast<std::size_t>(m_rows);
    const auto newCols = static_cast<std::size_t>(cols);
    std::vector<std::uint32_t> ends(rows * newCols, 0);
    std::vector<std::uint8_t> colours(rows * newCols, 0);
    const int kept = std::min(cols, m_cols);
    for (int r = 0; r < m_rows; ++r) {
        // The kept cells are the start of the row's text.
        std::string &row = m_rowText[static_cast<std::size_t>(r)];
        const std::uint32_t keptEnd = kept > 0 ? m_cellEnds[index(r, kept - 1)] : 0;
        row.resize(keptEnd);
        row.shrink_to_fit();
        for (int c = 0; c < cols; ++c) {
            const std::size_t to = static_cast<std::size_t>(r) * newCols + static_cast<std::size_t>(c);
            ends[to] = c < kept ? m_cellEnds[index(r, c)] : keptEnd;
            if (c < kept)
                colours[to] = m_colours[index(r, c)];
        }
    }
    m_cellEnds = std::move(ends);
    m_colours = std::move(colours);
    m_widths.resize(newCols, DefaultColumnWidth);
    if (m_sources.size() > newCols)
        m_sources.resize(newCols);
    m_cols = cols;
    m_col = clampCol(m_col);
    m_colSel = clampCol(m_colSel);
    ++m_revision;
}

std::size_t TextGrid::index(int row, int col) const
{
    return static_cast<std::size_t>(row) * static_cast<std::size_t>(m_cols)
        + static_cast<std::size_t>(col);
}

int TextGrid::clampRow(int row) const
{
    return std::clamp(row, 0, std::max(m_rows - 1, 0));
}

int TextGrid::clampCol(int col) const
{
    return std::clamp(col, 0, std::max(m_cols - 1, 0));
}

void TextGrid::setCurrent(int row, int col)
{
    m_row = m_rowSel = clampRow(row);
    m_col = m_colSel = clampCol(col);
}

void TextGrid::setSelectionEnd(int rowSel, int colSel)
{
    m_rowSel = clampRow(rowSel);
    m_colSel = clampCol(colSel);
}

std::string TextGrid::text(int row, int col) const
{
    if (!contains(row, col))
        return {};
    if (row > 0 && static_cast<std::size_t>(col) < m_sources.size() && m_sources[static_cast<std::size_t>(col)])
        return m_sources[static_cast<std::size_t>(col)](row);
    return std::string(cell(row, col));
}

std::string_view TextGrid::cell(int row, int col) const
{
    const std::uint32_t begin = col > 0 ? m_cellEnds[index(row, col - 1)] : 0;
    return std::string_view(m_rowText[static_cast<std::size_t>(row)]).substr(begin, m_cellEnds[index(row, col)] - begin);
}

void TextGrid::putCell(int row, int col, std::string_view text)
{
    std::string &line = m_rowText[static_cast<std::size_t>(row)];
    const std::uint32_t begin = col > 0 ? m_cellEnds[index(row, col - 1)] : 0;
    const std::uint32_t end = m_cellEnds[index(row, col)];
    line.replace(begin, end - begin, text);
    // The cells after this one move by the change in length.
    const auto change = static_cast<std::uint32_t>(text.size()) - (end - begin);
    for (int c = col; c < m_cols; ++c)
        m_cellEnds[index(row, c)] += change;
}

void TextGrid::setColumnSource(int col, CellSource source)
{
    if (col < 0 || col >= m_cols)
        return;
    if (m_sources.size() <= static_cast<std::size_t>(col))
        m_sources.resize(static_cast<std::size_t>(col) + 1);
    m_sources[static_cast<std::size_t>(col)] = std::move(source);
    ++m_revision;
}

void TextGrid::setText(int row, int col, std::string text)
{
    if (!contains(row, col))
        return;
    putCell(row, col, text);
    ++m_revision;
}

void TextGrid::compactRow(int row)
{
    if (row >= 0 && row < m_rows)
        m_rowText[static_cast<std::size_t>(row)].shrink_to_fit();
}

void TextGrid::setSelectionColour(std::uint32_t rgb)
{
    if (m_rows == 0 || m_cols == 0)
        return;
    const auto [r1, r2] = std::minmax(m_row, m_rowSel);
    const auto [c1, c2] = std::minmax(m_col, m_colSel);
    const std::uint8_t entry = paletteEntry(rgb);
    for (int r = r1; r <= r2; ++r)
        for (int c = c1; c <= c2; ++c)
            m_colours[index(r, c)] = entry;
    ++m_revision;
}

std::uint32_t TextGrid::colour(int row, int col) const
{
    if (!contains(row, col))
        return White;
    return m_palette[m_colours[index(row, col)]];
}

std::uint8_t TextGrid::paletteEntry(std::uint32_t rgb)
{
    const auto found = std::find(m_palette.begin(), m_palette.end(), rgb);
    if (found != m_palette.end())
        return static_cast<std::uint8_t>(found - m_palette.begin());
    // A table uses white, cyan and the few colours a user picks; past 256
    // the last entry takes the new colour.
    if (m_palette.size() == 256) {
        m_palette.back() = rgb;
        return 255;
    }
    m_palette.push_back(rgb);
    return static_cast<std::uint8_t>(m_palette.size() - 1);
}

int TextGrid::columnWidth(int col) const
{
    if (col < 0 || col >= m_cols)
        return DefaultColumnWidth;
    return m_widths[static_cast<std::size_t>(col)];
}

void TextGrid::setColumnWidth(int col, int twips)
{
    if (col < 0 || col >= m_cols)
        return;
    m_widths[static_cast<std::size_t>(col)] = twips;
    ++m_revision;
}

int TextGrid::rowHeight(int row) const
{
    if (row < 0 || row >= m_rows)
        return DefaultRowHeight;
    return m_heights[static_cast<std::size_t>(row)];
}

void TextGrid::setRowHeight(int row, int twips)
{
    if (row < 0 || row >= m_rows)
        return;
    m_heights[static_cast<std::size_t>(row)] = twips;
    ++m_revision;
}

void TextGrid::setRedraw(bool on)
{
    if (on && !m_redraw)
        ++m_revision;
    m_redraw = on;
}

std::string TextGrid::selectionText() const
{
    return blockText(m_row, m_col, m_rowSel, m_colSel);
}

std::string TextGrid::blockText(int r1, int c1, int r2, int c2) const
{
    if (r1 > r2)
        std::swap(r1, r2);
    if (c1 > c2)
        std::swap(c1, c2);
    r1 = std::max(r1, 0);
    c1 = std::max(c1, 0);
    r2 = std::min(r2, m_rows - 1);
    c2 = std::min(c2, m_cols - 1);
    std::string block;
    if (r1 > r2 || c1 > c2)
        return block;
    for (int r = r1; r <= r2; ++r) {
        if (r > r1)
            block += '\r';
        for (int c = c1; c <= c2; ++c) {
            if (c > c1)
                block += '\t';
            if (static_cast<std::size_t>(c) < m_sources.size() && m_sources[static_cast<std::size_t>(c)] && r > 0)
                block += m_sources[static_cast<std::size_t>(c)](r);
            else
                block += cell(r, c);
        }
    }
    return block;
}

} // namespace zelvar
