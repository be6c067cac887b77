#pragma once

#include <QAbstractTableModel>

#include <cstdint>
#include <functional>
#include <string>

namespace zelvar {

class TextGrid;

// A results grid as a Qt table: grid row 0 becomes the horizontal header and
// grid column 0 the vertical header, so they stay in place while the body
// scrolls. Body cell (r, c) of the view is grid cell (r + 1, c + 1).
class GridTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // The grid must outlive the model.
    explicit GridTableModel(const TextGrid &grid, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Tells the views about changes in the grid since the last call: a new
    // layout resets the model, changed cells repaint.
    void refresh();

    // Tooltips: hint(row, col) in grid positions (row 0: a column header)
    // gives the text, empty for none.
    using Hint = std::function<std::string(int row, int col)>;
    void setHint(Hint hint) { m_hint = std::move(hint); }

private:
    QVariant hintAt(int row, int col) const;

    const TextGrid &m_grid;
    Hint m_hint;
    int m_rows = 0;
    int m_cols = 0;
    std::uint64_t m_revision = 0;
};

} // namespace zelvar
