#include "ResultsWindow.h"

#include "GridTableModel.h"
#include "MdiLayout.h"
#include "Twips.h"
#include "data/DataSet.h"
#include "results/CellHints.h"
#include "results/RunSummary.h"

#include <QFontMetrics>
#include <QFrame>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace zelvar {

namespace {

// Grid rows of a cell this high would clip the text of the window's font.
constexpr int RowPadding = 6;
// Room beside a header's text for the section's frame and margins.
constexpr int HeaderPadding = 12;
// A column widened to show its texts whole grows no wider than this; longer
// texts (the dominance lists of a large FDH run) are cut as before.
constexpr int MaxFittedWidth = 420;

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

// The columns of the analysis tables, by header: the scale table's CRS, VRS,
// Scale and RTS, the Malmquist index table's Step, EC, TC, PEC, SEC and MI.
std::string analysisHeaderHint(const std::string &header)
{
    if (header == "CRS")
        return "CRS: the DMU's radial score under constant returns to scale.";
    if (header == "VRS")
        return "VRS: the DMU's radial score under variable returns to scale.";
    if (header == "Scale")
        return "Scale: scale efficiency, the ratio of the CRS and the VRS score; 100% means the DMU works at "
               "the most productive scale.";
    if (header == "RTS")
        return "RTS: returns to scale where the DMU meets the frontier: crs constant, irs increasing, drs "
               "decreasing.";
    if (header == "Step")
        return "Step: the periods compared, 0-1 from period 0 to period 1; all: the geometric means over "
               "every step.";
    if (header == "EC")
        return "EC: efficiency change, the efficiency under constant returns to scale in the later period over "
               "that in the earlier. Above 1 is progress.";
    if (header == "TC")
        return "TC: technical change, the shift of the frontier between the two periods at the DMU. Above 1 "
               "is progress.";
    if (header == "PEC")
        return "PEC: pure efficiency change, EC measured under variable returns to scale. Above 1 is progress.";
    if (header == "SEC")
        return "SEC: scale efficiency change, EC / PEC. Above 1 is progress.";
    if (header == "MI")
        return "MI: Malmquist index, EC times TC; an empty cell where a distance has no finite value. Above 1 "
               "is progress.";
    return {};
}

} // namespace

ResultsWindow::ResultsWindow(TextGrid analysisTable, const DisplayFormat &format, double dotsPerInch,
                             QWidget *parent)
    // Laid out for no DMUs, the table holds no numbers of a run: an export
    // writes the analysis table's cells as they read.
    : ResultsWindow(DataSet{}, ModelOptions{}, format, dotsPerInch, parent)
{
    m_analysis = true;
    grid() = std::move(analysisTable);
}

ResultsWindow::ResultsWindow(const DataSet &dataSet, const ModelOptions &options,
                             const DisplayFormat &format, double dotsPerInch, QWidget *parent)
    : QMdiSubWindow(parent), m_table(dataSet, options, format), m_dpi(dotsPerInch)
{
    setObjectName(QStringLiteral("frmResults"));
    setAttribute(Qt::WA_DeleteOnClose);

    auto *body = new QWidget(this);
    m_view = new QTableView(body);
    m_view->setObjectName(QStringLiteral("mfg1"));
    m_model = new GridTableModel(grid(), m_view);
    m_model->setHint([this](int row, int col) {
        if (m_analysis)
            return row == 0 ? analysisHeaderHint(grid().text(0, col)) : std::string();
        return row == 0 ? headerHint(m_table, col) : cellHint(m_table, row, col);
    });
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
    leaveCtrlWToTheMenu(*this);
    m_summaryPane = new QFrame(body);
    m_summaryPane->setObjectName(QStringLiteral("fraSummary"));
    static_cast<QFrame *>(m_summaryPane)->setFrameShape(QFrame::StyledPanel);
    m_summary = new QLabel(m_summaryPane);
    m_summary->setObjectName(QStringLiteral("lblSummary"));
    m_summary->setWordWrap(true);
    m_summary->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto *paneLayout = new QVBoxLayout(m_summaryPane);
    paneLayout->setContentsMargins(6, 3, 6, 3);
    paneLayout->addWidget(m_summary);
    // Shown once the run has ended and there is something to sum up.
    m_summaryPane->hide();

    auto *layout = new QVBoxLayout(body);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_view, 1);
    layout->addWidget(m_summaryPane);
    setWidget(body);
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
    for (int col = 1; col < g.cols(); ++col)
        m_view->setColumnWidth(col - 1, std::max(1, twipsToPixels(g.columnWidth(col), m_dpi)));
    if (g.cols() > 0)
        m_view->verticalHeader()->setFixedWidth(std::max(1, twipsToPixels(g.columnWidth(0), m_dpi)));
    if (g.rows() > 0)
        m_view->horizontalHeader()->setFixedHeight(std::max(1, twipsToPixels(g.rowHeight(0), m_dpi)));
    const int fontRow = m_view->fontMetrics().height() + RowPadding;
    const int gridRow = g.rows() > 1 ? twipsToPixels(g.rowHeight(1), m_dpi) : 0;
    m_view->verticalHeader()->setMinimumSectionSize(1);
    m_view->verticalHeader()->setDefaultSectionSize(std::max(fontRow, gridRow));
}

// The grid's widths were chosen for a small, narrow font; with the window's
// font its numbers and names may not fit. Columns grow (never shrink) until
// the texts of the rows in view and every word of the header, which wraps at
// blanks, are whole.
void ResultsWindow::fitColumns()
{
    const TextGrid &g = grid();
    const QFontMetrics header(m_view->horizontalHeader()->font());
    for (int col = 1; col < g.cols(); ++col) {
        const int base = std::max(1, twipsToPixels(g.columnWidth(col), m_dpi));
        // Public in the base class; the table view answers for the rows in view.
        int wanted = static_cast<const QAbstractItemView *>(m_view)->sizeHintForColumn(col - 1);
        for (const QString &word : QString::fromStdString(g.text(0, col)).split(QLatin1Char(' '), Qt::SkipEmptyParts))
            wanted = std::max(wanted, header.horizontalAdvance(word) + HeaderPadding);
        const int width = std::max(base, std::min(wanted, std::max(base, MaxFittedWidth)));
        if (width > m_view->columnWidth(col - 1))
            m_view->setColumnWidth(col - 1, width);
    }
    if (g.rows() > 1 && g.cols() > 0) {
        const QFontMetrics labels(m_view->verticalHeader()->font());
        const int base = twipsToPixels(g.columnWidth(0), m_dpi);
        const int needed = labels.horizontalAdvance(QString::number(g.rows() - 1)) + HeaderPadding;
        m_view->verticalHeader()->setFixedWidth(std::max({1, base, needed}));
    }
}

void ResultsWindow::runEnded()
{
    refreshView();
    fitColumns();
    showSummary();
    // The fill operations leave the current cell wherever the last
    // highlight was set; the table starts at its first body cell instead.
    if (grid().rows() > 1 && grid().cols() > 1)
        grid().setCurrent(1, 1);
    showGridSelection();
}

bool ResultsWindow::hasRunScores() const
{
    return !m_analysis && m_table.runEnded() && !m_table.scores().evaluated.empty();
}

void ResultsWindow::showSummary()
{
    if (!hasRunScores()) {
        // Nothing to sum up: no pane rather than a row of zeros.
        m_summary->clear();
        m_summaryPane->hide();
        return;
    }
    const RunScores &scores = m_table.scores();
    QStringList parts;
    for (const auto &[label, value] : summaryFields(summarize(scores), scores))
        parts << QString::fromStdString(label) + QStringLiteral(": ") + QString::fromStdString(value);
    m_summary->setText(parts.join(QStringLiteral("    ")));
    m_summaryPane->setVisible(m_summaryShown);
}

void ResultsWindow::setSummaryVisible(bool visible)
{
    m_summaryShown = visible;
    m_summaryPane->setVisible(visible && !m_summary->text().isEmpty());
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
    const int top = std::min(g.currentRow(), g.selectionRow());
    const int bottom = std::max(g.currentRow(), g.selectionRow());
    const int left = std::min(g.currentCol(), g.selectionCol());
    const int right = std::max(g.currentCol(), g.selectionCol());
    if (rows == 0 || cols == 0 || bottom < 1 || right < 1) {
        model->clearSelection();
        model->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    } else {
        const auto clampRow = [rows](int row) { return std::clamp(row - 1, 0, rows - 1); };
        const auto clampCol = [cols](int col) { return std::clamp(col - 1, 0, cols - 1); };
        const QItemSelection block(m_model->index(clampRow(top), clampCol(left)),
                                   m_model->index(clampRow(bottom), clampCol(right)));
        model->select(block, QItemSelectionModel::ClearAndSelect);
        model->setCurrentIndex(m_model->index(clampRow(g.selectionRow()), clampCol(g.selectionCol())),
                               QItemSelectionModel::NoUpdate);
    }
    m_syncing = false;
}

} // namespace zelvar
