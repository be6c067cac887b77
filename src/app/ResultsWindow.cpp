#include "ResultsWindow.h"

#include "GridTableModel.h"
#include "Twips.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QTableView>

#include <algorithm>

namespace zelvar {

namespace {

// Grid rows of a cell this high would clip the text of the window's font.
constexpr int RowPadding = 6;

// Ctrl+C and Ctrl+A belong to the Edit menu, whose Copy and Copy All work on
// the grid's selection; a table view would otherwise claim both keys for
// its own copy of one cell and its own select-all.
class EditKeysToMenu : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::ShortcutOverride) {
            auto *key = static_cast<QKeyEvent *>(event);
            if (key->matches(QKeySequence::Copy) || key->matches(QKeySequence::SelectAll)) {
                event->ignore();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

ResultsWindow::ResultsWindow(const DataSet &dataSet, const ModelOptions &options,
                             const DisplayFormat &format, double dotsPerInch, QWidget *parent)
    : QMdiSubWindow(parent), m_table(dataSet, options, format), m_dpi(dotsPerInch)
{
    setObjectName(QStringLiteral("frmResults"));
    setAttribute(Qt::WA_DeleteOnClose);

    m_view = new QTableView(this);
    m_view->setObjectName(QStringLiteral("mfg1"));
    m_model = new GridTableModel(grid(), m_view);
    m_view->setModel(m_model);
    m_view->setSelectionMode(QAbstractItemView::ContiguousSelection);
    m_view->setSelectionBehavior(QAbstractItemView::SelectItems);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setWordWrap(false);
    m_view->setCornerButtonEnabled(false);
    m_view->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    m_view->horizontalHeader()->setDefaultAlignment(
        Qt::Alignment(static_cast<int>(Qt::AlignCenter) | static_cast<int>(Qt::TextWordWrap)));
    m_view->horizontalHeader()->setHighlightSections(false);
    m_view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_view->verticalHeader()->setDefaultAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_view->verticalHeader()->setHighlightSections(false);
    m_view->installEventFilter(new EditKeysToMenu(m_view));
    setWidget(m_view);
    applyLayout();

    connect(m_view->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { takeViewSelection(); });
    connect(m_view->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] { takeViewSelection(); });
}

ResultsWindow::~ResultsWindow() = default;

void ResultsWindow::applyLayout()
{
    const TextGrid &g = grid();
    for (int col = 1; col < g.Cols(); ++col)
        m_view->setColumnWidth(col - 1, std::max(1, twipsToPixels(g.columnWidth(col), m_dpi)));
    if (g.Cols() > 0)
        m_view->verticalHeader()->setFixedWidth(std::max(1, twipsToPixels(g.columnWidth(0), m_dpi)));
    if (g.Rows() > 0)
        m_view->horizontalHeader()->setFixedHeight(std::max(1, twipsToPixels(g.rowHeight(0), m_dpi)));
    const int fontRow = m_view->fontMetrics().height() + RowPadding;
    const int gridRow = g.Rows() > 1 ? twipsToPixels(g.rowHeight(1), m_dpi) : 0;
    m_view->verticalHeader()->setMinimumSectionSize(1);
    m_view->verticalHeader()->setDefaultSectionSize(std::max(fontRow, gridRow));
}

void ResultsWindow::refreshView()
{
    const int rows = m_model->rowCount();
    const int cols = m_model->columnCount();
    m_model->refresh();
    if (rows != m_model->rowCount() || cols != m_model->columnCount())
        applyLayout();
}

// The grid's selection is the block between its current cell (Row, Col),
// where a selection starts, and its selection end (RowSel, ColSel), where
// the user's mouse or keyboard left it. The view's current index is that
// moving end; its anchor is the opposite corner of the selected block.
void ResultsWindow::takeViewSelection()
{
    if (m_syncing)
        return;
    TextGrid &g = grid();
    const QModelIndex current = m_view->selectionModel()->currentIndex();
    const QItemSelection selection = m_view->selectionModel()->selection();
    if (selection.isEmpty()) {
        if (current.isValid())
            g.setCurrent(current.row() + 1, current.column() + 1);
        return;
    }
    int top = selection.first().top();
    int bottom = selection.first().bottom();
    int left = selection.first().left();
    int right = selection.first().right();
    for (const QItemSelectionRange &range : selection) {
        top = std::min(top, range.top());
        bottom = std::max(bottom, range.bottom());
        left = std::min(left, range.left());
        right = std::max(right, range.right());
    }
    int anchorRow = top, anchorCol = left, endRow = bottom, endCol = right;
    if (current.isValid() && (current.row() == top || current.row() == bottom)
        && (current.column() == left || current.column() == right)) {
        endRow = current.row();
        endCol = current.column();
        anchorRow = endRow == top ? bottom : top;
        anchorCol = endCol == left ? right : left;
    }
    g.setCurrent(anchorRow + 1, anchorCol + 1);
    g.setSelectionEnd(endRow + 1, endCol + 1);
}

void ResultsWindow::showGridSelection()
{
    const TextGrid &g = grid();
    QItemSelectionModel *model = m_view->selectionModel();
    m_syncing = true;
    const int rows = m_model->rowCount();
    const int cols = m_model->columnCount();
    // Row 0 and column 0 are the headers; a block reaching into them shows
    // as its part in the body. A block wholly in the headers shows nothing.
    const int top = std::min(g.Row(), g.RowSel());
    const int bottom = std::max(g.Row(), g.RowSel());
    const int left = std::min(g.Col(), g.ColSel());
    const int right = std::max(g.Col(), g.ColSel());
    if (rows == 0 || cols == 0 || bottom < 1 || right < 1) {
        model->clearSelection();
        model->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    } else {
        const auto clampRow = [rows](int row) { return std::clamp(row - 1, 0, rows - 1); };
        const auto clampCol = [cols](int col) { return std::clamp(col - 1, 0, cols - 1); };
        const QItemSelection block(m_model->index(clampRow(top), clampCol(left)),
                                   m_model->index(clampRow(bottom), clampCol(right)));
        model->select(block, QItemSelectionModel::ClearAndSelect);
        model->setCurrentIndex(m_model->index(clampRow(g.RowSel()), clampCol(g.ColSel())),
                               QItemSelectionModel::NoUpdate);
    }
    m_syncing = false;
}

} // namespace zelvar
