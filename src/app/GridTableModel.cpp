#include "GridTableModel.h"

#include "results/TextGrid.h"

#include <QBrush>
#include <QColor>

namespace zelvar {

namespace {

// Numbers stand right-aligned, words left-aligned, as in a spreadsheet: a
// column of scores then lines up on its decimal places. A sign leads a
// number or its exponent; between digits a dash joins a span of periods
// ("0-1"), which is read as a word.
bool looksNumeric(const std::string &text)
{
    bool digit = false;
    char previous = ' ';
    for (const char c : text) {
        if (c >= '0' && c <= '9')
            digit = true;
        else if (c == '-' || c == '+') {
            if (previous != ' ' && previous != 'E' && previous != 'e')
                return false;
        } else if (c != '.' && c != ',' && c != '%' && c != ' ' && c != 'E' && c != 'e')
            return false;
        previous = c;
    }
    return digit;
}

} // namespace

GridTableModel::GridTableModel(const TextGrid &grid, QObject *parent)
    : QAbstractTableModel(parent), m_grid(grid), m_rows(grid.rows()), m_cols(grid.cols()),
      m_revision(grid.revision())
{
}

int GridTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() || m_rows < 1 ? 0 : m_rows - 1;
}

int GridTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() || m_cols < 1 ? 0 : m_cols - 1;
}

QVariant GridTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() + 1 >= m_rows || index.column() + 1 >= m_cols)
        return {};
    const int row = index.row() + 1;
    const int col = index.column() + 1;
    switch (role) {
    case Qt::DisplayRole:
        return QString::fromStdString(m_grid.text(row, col));
    case Qt::BackgroundRole: {
        const std::uint32_t rgb = m_grid.colour(row, col);
        if (rgb == TextGrid::White)
            return {};
        return QBrush(QColor::fromRgb(static_cast<QRgb>(rgb)));
    }
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::AlignVCenter
                                   | (looksNumeric(m_grid.text(row, col)) ? Qt::AlignRight
                                                                          : Qt::AlignLeft));
    case Qt::ToolTipRole:
        return hintAt(row, col);
    default:
        return {};
    }
}

QVariant GridTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return {};
    if (orientation == Qt::Horizontal) {
        if (section < 0 || section + 1 >= m_cols || m_rows < 1)
            return {};
        const QString header = QString::fromStdString(m_grid.text(0, section + 1));
        if (role == Qt::ToolTipRole) {
            // The header's own text, then what it means.
            const QVariant hint = hintAt(0, section + 1);
            return hint.isValid() ? header + QStringLiteral("\n\n") + hint.toString() : QVariant(header);
        }
        return header;
    }
    if (section < 0 || section + 1 >= m_rows || m_cols < 1)
        return {};
    return QString::fromStdString(m_grid.text(section + 1, 0));
}

QVariant GridTableModel::hintAt(int row, int col) const
{
    if (!m_hint)
        return {};
    const std::string hint = m_hint(row, col);
    if (hint.empty())
        return {};
    return QString::fromStdString(hint);
}

void GridTableModel::refresh()
{
    if (m_grid.rows() != m_rows || m_grid.cols() != m_cols) {
        beginResetModel();
        m_rows = m_grid.rows();
        m_cols = m_grid.cols();
        m_revision = m_grid.revision();
        endResetModel();
        return;
    }
    if (m_grid.revision() == m_revision)
        return;
    m_revision = m_grid.revision();
    if (rowCount() > 0 && columnCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
    if (columnCount() > 0)
        emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
    if (rowCount() > 0)
        emit headerDataChanged(Qt::Vertical, 0, rowCount() - 1);
}

} // namespace zelvar
