#include "data/CellTable.h"

#include "data/NumberText.h"

#include <algorithm>
#include <numeric>

namespace zelvar {

std::string CellTable::defaultFieldName(std::size_t field)
{
    std::string name("F");
    name += std::to_string(field + 1);
    return name;
}

const std::string &CellTable::fieldName(int field) const
{
    static const std::string none;
    if (field < 0 || field >= fieldCount())
        return none;
    return m_fieldNames[static_cast<std::size_t>(field)];
}

FieldValue CellTable::value(int field) const
{
    FieldValue result;
    if (field < 0 || field >= fieldCount() || m_current < 0 || m_current >= m_recordCount)
        return result;
    const auto record = static_cast<std::size_t>(m_current);
    const Cell *first = m_cells.data() + m_recordStart[record];
    const Cell *last = m_cells.data() + m_recordStart[record + 1];
    const auto column = static_cast<std::uint32_t>(field);
    const Cell *cell = nullptr;
    // A full record (the usual case) is addressed directly.
    if (last - first == fieldCount()) {
        cell = first + field;
    } else {
        cell = std::lower_bound(first, last, column,
                                [](const Cell &c, std::uint32_t col) { return c.column < col; });
        if (cell == last || cell->column != column)
            return result;
    }
    result.kind = cell->kind;
    result.number = cell->number;
    result.text.assign(text(cell->text));
    return result;
}

bool CellTable::moveNext()
{
    if (m_current < m_recordCount)
        ++m_current;
    return m_current < m_recordCount;
}

bool CellTable::storeText(std::string_view value, TextRef &ref)
{
    if (m_text.size() + value.size() > MaxTextBytes)
        return false;
    ref.offset = static_cast<std::uint32_t>(m_text.size());
    ref.length = static_cast<std::uint32_t>(value.size());
    m_text.append(value);
    return true;
}

bool CellTable::addNumber(std::uint32_t row, std::uint32_t column, double number)
{
    return addCell(row, Cell{number, TextRef{}, column, FieldValue::Kind::Number});
}

bool CellTable::addNumber(std::uint32_t row, std::uint32_t column, double number, TextRef text)
{
    return addCell(row, Cell{number, text, column, FieldValue::Kind::Number});
}

bool CellTable::addText(std::uint32_t row, std::uint32_t column, TextRef text)
{
    if (text.length == 0)
        return true;
    return addCell(row, Cell{0.0, text, column, FieldValue::Kind::Text});
}

bool CellTable::addCell(std::uint32_t row, const Cell &cell)
{
    if (m_cells.size() >= MaxCells)
        return false;
    if (!m_cells.empty()) {
        const std::uint32_t lastRow = m_cellRows.back();
        if (row < lastRow || (row == lastRow && cell.column <= m_cells.back().column))
            m_sorted = false;
    }
    m_cells.push_back(cell);
    m_cellRows.push_back(row);
    return true;
}

void CellTable::sortCells()
{
    if (m_sorted)
        return;
    std::vector<std::uint32_t> order(m_cells.size());
    std::iota(order.begin(), order.end(), 0u);
    std::stable_sort(order.begin(), order.end(), [this](std::uint32_t a, std::uint32_t b) {
        if (m_cellRows[a] != m_cellRows[b])
            return m_cellRows[a] < m_cellRows[b];
        return m_cells[a].column < m_cells[b].column;
    });
    std::vector<Cell> cells;
    std::vector<std::uint32_t> rows;
    cells.reserve(order.size());
    rows.reserve(order.size());
    for (std::uint32_t k : order) {
        // The first of several cells at one place wins.
        if (!cells.empty() && rows.back() == m_cellRows[k] && cells.back().column == m_cells[k].column)
            continue;
        cells.push_back(m_cells[k]);
        rows.push_back(m_cellRows[k]);
    }
    m_cells = std::move(cells);
    m_cellRows = std::move(rows);
    m_sorted = true;
}

void CellTable::buildRecords(std::uint32_t firstRow, std::uint32_t firstColumn, int recordCount)
{
    const auto fields = static_cast<std::uint32_t>(m_fieldNames.size());
    m_recordCount = recordCount;
    m_recordStart.assign(static_cast<std::size_t>(recordCount) + 1, 0);
    std::size_t kept = 0;
    std::size_t record = 0; // records before this one have their start set
    for (std::size_t k = 0; k < m_cells.size(); ++k) {
        const std::uint32_t row = m_cellRows[k];
        Cell cell = m_cells[k];
        if (row < firstRow || cell.column < firstColumn || cell.column - firstColumn >= fields)
            continue;
        const std::size_t target = row - firstRow;
        if (target >= static_cast<std::size_t>(recordCount))
            break;
        while (record <= target)
            m_recordStart[record++] = static_cast<std::uint32_t>(kept);
        cell.column -= firstColumn;
        m_cells[kept++] = cell;
    }
    while (record <= static_cast<std::size_t>(recordCount))
        m_recordStart[record++] = static_cast<std::uint32_t>(kept);
    m_cells.resize(kept);
    m_cells.shrink_to_fit();
    std::vector<std::uint32_t>().swap(m_cellRows);
    m_current = 0;
}

bool CellTable::checkFieldNames(std::string &error) const
{
    for (std::size_t k = 0; k < m_fieldNames.size(); ++k) {
        if (m_fieldNames[k].size() > MaxFieldNameLength) {
            error = "the header of column " + std::to_string(k + 1) + " is "
                + std::to_string(m_fieldNames[k].size()) + " characters long (at most "
                + std::to_string(MaxFieldNameLength) + " are allowed)";
            return false;
        }
    }
    return true;
}

bool CellTable::finishWithHeaderRow(std::string &error)
{
    sortCells();
    m_fieldNames.clear();
    if (m_cells.empty()) {
        buildRecords(0, 0, 0);
        return true;
    }
    const std::uint32_t firstRow = m_cellRows.front();
    const std::uint32_t lastRow = m_cellRows.back();
    std::uint32_t firstColumn = m_cells.front().column;
    std::uint32_t lastColumn = firstColumn;
    for (const Cell &cell : m_cells) {
        firstColumn = std::min(firstColumn, cell.column);
        lastColumn = std::max(lastColumn, cell.column);
    }
    const std::uint32_t fields = lastColumn - firstColumn + 1;
    m_fieldNames.resize(fields);
    for (std::uint32_t k = 0; k < fields; ++k)
        m_fieldNames[k] = defaultFieldName(k);
    for (std::size_t k = 0; k < m_cells.size() && m_cellRows[k] == firstRow; ++k) {
        const Cell &cell = m_cells[k];
        std::string &name = m_fieldNames[cell.column - firstColumn];
        if (cell.text.length > 0)
            name.assign(text(cell.text));
        else
            name = numberToText(cell.number);
    }
    if (!checkFieldNames(error))
        return false;
    buildRecords(firstRow + 1, firstColumn, static_cast<int>(lastRow - firstRow));
    return true;
}

bool CellTable::finish(std::vector<std::string> fieldNames, int recordCount, std::string &error)
{
    sortCells();
    m_fieldNames = std::move(fieldNames);
    if (!checkFieldNames(error))
        return false;
    buildRecords(0, 0, recordCount);
    return true;
}

} // namespace zelvar
