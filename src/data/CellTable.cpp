#include "data/CellTable.h"

#include "data/NumberText.h"

#include <algorithm>
#include <bit>
#include <numeric>

namespace zelvar {

namespace {

const std::string TrueText = "TRUE";
const std::string FalseText = "FALSE";

} // namespace

template <typename T>
void CellTable::Blocks<T>::push_back(const T &value)
{
    if ((m_size & Mask) == 0 && (m_size >> Shift) == m_blocks.size())
        m_blocks.push_back(std::make_unique_for_overwrite<T[]>(Mask + 1));
    (*this)[m_size++] = value;
}

template <typename T>
void CellTable::Blocks<T>::shrink(std::size_t size)
{
    if (size >= m_size)
        return;
    m_size = size;
    m_blocks.resize((size + Mask) >> Shift);
    m_blocks.shrink_to_fit();
}

std::string CellTable::defaultFieldName(std::size_t field)
{
    std::string name("F");
    name += std::to_string(field + 1);
    return name;
}

CellTable::Cell CellTable::makeCell(std::uint64_t value, std::uint32_t column, Stored kind)
{
    return Cell{{static_cast<std::uint32_t>(value), static_cast<std::uint32_t>(value >> 32)},
                column | static_cast<std::uint32_t>(kind) << 24};
}

std::uint64_t CellTable::bits(const Cell &cell)
{
    return std::uint64_t{cell.value[0]} | std::uint64_t{cell.value[1]} << 32;
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
    const std::size_t first = m_recordStart[record];
    const std::size_t last = m_recordStart[record + 1];
    const auto wanted = static_cast<std::uint32_t>(field);
    std::size_t k = 0;
    // A full record (the usual case) is addressed directly.
    if (last - first == m_fieldNames.size()) {
        k = first + wanted;
    } else {
        std::size_t low = first;
        std::size_t high = last;
        while (low < high) {
            const std::size_t middle = low + (high - low) / 2;
            if (column(m_cells[middle]) < wanted)
                low = middle + 1;
            else
                high = middle;
        }
        if (low == last || column(m_cells[low]) != wanted)
            return result;
        k = low;
    }
    const Cell &cell = m_cells[k];
    const std::uint64_t value = bits(cell);
    switch (stored(cell)) {
    case Stored::Number:
        result.kind = FieldValue::Kind::Number;
        result.number = std::bit_cast<double>(value);
        break;
    case Stored::NumberWithText:
        result.kind = FieldValue::Kind::Number;
        result.number = std::bit_cast<double>(value);
        result.text.assign(text(m_numberTexts[k]));
        break;
    case Stored::Text:
        result.kind = FieldValue::Kind::Text;
        result.text.assign(text(std::bit_cast<TextRef>(value)));
        break;
    case Stored::Boolean:
        result.kind = FieldValue::Kind::Number;
        result.number = value != 0 ? 1.0 : 0.0;
        result.text = value != 0 ? TrueText : FalseText;
        break;
    case Stored::Listed:
    case Stored::Empty:
        break;
    }
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
    if (m_text.size() + value.size() > m_limits.textBytes)
        return false;
    ref.offset = static_cast<std::uint32_t>(m_text.size());
    ref.length = static_cast<std::uint32_t>(value.size());
    m_text.append(value);
    return true;
}

bool CellTable::addNumber(std::uint32_t row, std::uint32_t column, double number)
{
    return addCell(row, makeCell(std::bit_cast<std::uint64_t>(number), column, Stored::Number),
                   TextRef{});
}

bool CellTable::addNumber(std::uint32_t row, std::uint32_t column, double number, TextRef text)
{
    return addCell(row,
                   makeCell(std::bit_cast<std::uint64_t>(number), column, Stored::NumberWithText),
                   text);
}

bool CellTable::addText(std::uint32_t row, std::uint32_t column, TextRef text)
{
    if (text.length == 0)
        return true;
    return addCell(row, makeCell(std::bit_cast<std::uint64_t>(text), column, Stored::Text), TextRef{});
}

bool CellTable::addBoolean(std::uint32_t row, std::uint32_t column, bool on)
{
    return addCell(row, makeCell(on ? 1 : 0, column, Stored::Boolean), TextRef{});
}

bool CellTable::addListedText(std::uint32_t row, std::uint32_t column, std::uint64_t index)
{
    return addCell(row, makeCell(index, column, Stored::Listed), TextRef{});
}

bool CellTable::addCell(std::uint32_t row, const Cell &cell, TextRef numberText)
{
    if (m_cells.size() >= m_limits.cells)
        return false;
    if (m_rowRuns.empty() || m_rowRuns.back().row != row) {
        if (!m_rowRuns.empty() && row < m_rowRuns.back().row)
            m_sorted = false;
        m_rowRuns.push_back(RowRun{row, static_cast<std::uint32_t>(m_cells.size())});
    } else if (column(cell) <= column(m_cells[m_cells.size() - 1])) {
        m_sorted = false;
    }
    // The texts of numbers are kept beside every cell from the first one on.
    if (stored(cell) == Stored::NumberWithText && m_numberTexts.empty())
        while (m_numberTexts.size() < m_cells.size())
            m_numberTexts.push_back(TextRef{});
    m_cells.push_back(cell);
    if (!m_numberTexts.empty())
        m_numberTexts.push_back(numberText);
    return true;
}

std::vector<std::uint64_t> CellTable::listedTextIndices() const
{
    std::vector<std::uint64_t> indices;
    for (std::size_t k = 0; k < m_cells.size(); ++k)
        if (stored(m_cells[k]) == Stored::Listed)
            indices.push_back(bits(m_cells[k]));
    std::sort(indices.begin(), indices.end());
    indices.erase(std::unique(indices.begin(), indices.end()), indices.end());
    return indices;
}

bool CellTable::listedTextMissing(std::uint64_t available, std::uint64_t &index) const
{
    for (std::size_t k = 0; k < m_cells.size(); ++k) {
        if (stored(m_cells[k]) == Stored::Listed && bits(m_cells[k]) >= available) {
            index = bits(m_cells[k]);
            return true;
        }
    }
    return false;
}

void CellTable::resolveListedTexts(const std::vector<std::uint64_t> &indices,
                                   const std::vector<TextRef> &texts)
{
    for (std::size_t k = 0; k < m_cells.size(); ++k) {
        Cell &cell = m_cells[k];
        if (stored(cell) != Stored::Listed)
            continue;
        const auto at = std::lower_bound(indices.begin(), indices.end(), bits(cell));
        const TextRef ref = texts[static_cast<std::size_t>(at - indices.begin())];
        if (ref.length == 0) {
            // No value: the cell is dropped when the cells are sorted.
            cell = makeCell(0, column(cell), Stored::Empty);
            m_sorted = false;
        } else {
            cell = makeCell(std::bit_cast<std::uint64_t>(ref), column(cell), Stored::Text);
        }
    }
}

void CellTable::sortCells()
{
    if (m_sorted)
        return;
    // Sorted by row, column and the order of adding; the first of several
    // cells at one place wins.
    std::vector<std::uint64_t> places(m_cells.size());
    for (std::size_t run = 0; run < m_rowRuns.size(); ++run) {
        const std::size_t end = run + 1 < m_rowRuns.size() ? m_rowRuns[run + 1].first : m_cells.size();
        for (std::size_t k = m_rowRuns[run].first; k < end; ++k)
            places[k] = std::uint64_t{m_rowRuns[run].row} << 32 | column(m_cells[k]);
    }
    std::vector<std::uint32_t> order(m_cells.size());
    std::iota(order.begin(), order.end(), 0u);
    std::stable_sort(order.begin(), order.end(),
                     [&places](std::uint32_t a, std::uint32_t b) { return places[a] < places[b]; });

    Blocks<Cell> cells;
    Blocks<TextRef> numberTexts;
    std::vector<RowRun> runs;
    std::uint64_t last = 0;
    for (std::uint32_t k : order) {
        if (stored(m_cells[k]) == Stored::Empty || (!cells.empty() && places[k] == last))
            continue;
        last = places[k];
        const auto row = static_cast<std::uint32_t>(last >> 32);
        if (runs.empty() || runs.back().row != row)
            runs.push_back(RowRun{row, static_cast<std::uint32_t>(cells.size())});
        cells.push_back(m_cells[k]);
        if (!m_numberTexts.empty())
            numberTexts.push_back(m_numberTexts[k]);
    }
    m_cells = std::move(cells);
    m_numberTexts = std::move(numberTexts);
    m_rowRuns = std::move(runs);
    m_sorted = true;
}

void CellTable::buildRecords(std::uint32_t firstRow, std::uint32_t firstColumn, int recordCount)
{
    const auto fields = static_cast<std::uint32_t>(m_fieldNames.size());
    m_recordCount = recordCount;
    m_recordStart.assign(static_cast<std::size_t>(recordCount) + 1, 0);
    std::size_t kept = 0;
    std::size_t record = 0; // records before this one have their start set
    for (std::size_t run = 0; run < m_rowRuns.size(); ++run) {
        const std::uint32_t row = m_rowRuns[run].row;
        if (row < firstRow)
            continue;
        const std::size_t target = row - firstRow;
        if (target >= static_cast<std::size_t>(recordCount))
            break;
        while (record <= target)
            m_recordStart[record++] = static_cast<std::uint32_t>(kept);
        const std::size_t end = run + 1 < m_rowRuns.size() ? m_rowRuns[run + 1].first : m_cells.size();
        for (std::size_t k = m_rowRuns[run].first; k < end; ++k) {
            const Cell cell = m_cells[k];
            if (column(cell) < firstColumn || column(cell) - firstColumn >= fields)
                continue;
            m_cells[kept] = Cell{{cell.value[0], cell.value[1]}, cell.place - firstColumn};
            if (!m_numberTexts.empty())
                m_numberTexts[kept] = m_numberTexts[k];
            ++kept;
        }
    }
    while (record <= static_cast<std::size_t>(recordCount))
        m_recordStart[record++] = static_cast<std::uint32_t>(kept);
    m_cells.shrink(kept);
    m_numberTexts.shrink(std::min(kept, m_numberTexts.size()));
    std::vector<RowRun>().swap(m_rowRuns);
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

// A header cell's text: its own text, else its number written shortest.
std::string CellTable::cellText(std::size_t k) const
{
    const Cell &cell = m_cells[k];
    const std::uint64_t value = bits(cell);
    switch (stored(cell)) {
    case Stored::Text:
        return std::string(text(std::bit_cast<TextRef>(value)));
    case Stored::NumberWithText:
        if (m_numberTexts[k].length > 0)
            return std::string(text(m_numberTexts[k]));
        break;
    case Stored::Boolean:
        return value != 0 ? TrueText : FalseText;
    case Stored::Number:
    case Stored::Listed:
    case Stored::Empty:
        break;
    }
    return numberToText(std::bit_cast<double>(value));
}

bool CellTable::finishWithHeaderRow(std::string &error)
{
    sortCells();
    m_fieldNames.clear();
    if (m_cells.empty()) {
        buildRecords(0, 0, 0);
        return true;
    }
    const std::uint32_t firstRow = m_rowRuns.front().row;
    const std::uint32_t lastRow = m_rowRuns.back().row;
    std::uint32_t firstColumn = column(m_cells[0]);
    std::uint32_t lastColumn = firstColumn;
    for (std::size_t k = 0; k < m_cells.size(); ++k) {
        firstColumn = std::min(firstColumn, column(m_cells[k]));
        lastColumn = std::max(lastColumn, column(m_cells[k]));
    }
    const std::uint32_t fields = lastColumn - firstColumn + 1;
    m_fieldNames.resize(fields);
    for (std::uint32_t k = 0; k < fields; ++k)
        m_fieldNames[k] = defaultFieldName(k);
    const std::size_t headerEnd = m_rowRuns.size() > 1 ? m_rowRuns[1].first : m_cells.size();
    for (std::size_t k = 0; k < headerEnd; ++k)
        m_fieldNames[column(m_cells[k]) - firstColumn] = cellText(k);
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
