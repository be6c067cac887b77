#include "DataWindow.h"

#include "MdiLayout.h"

#include <QAbstractTableModel>
#include <QBrush>
#include <QColor>
#include <QHeaderView>
#include <QTableView>

namespace zelvar {

namespace {

// The shade of a column the DMUs cannot change.
const QColor NonDiscretionaryColour = QColor::fromRgb(0xE8, 0xE8, 0xE8);

// The sheet as a Qt table; texts are formed when a row comes into view.
class DataSheetModel : public QAbstractTableModel {
public:
    DataSheetModel(const DataSheet &sheet, QObject *parent) : QAbstractTableModel(parent), m_sheet(sheet) {}

    int rowCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : m_sheet.rows(); }
    int columnCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : m_sheet.columns();
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid())
            return {};
        const int col = index.column();
        switch (role) {
        case Qt::DisplayRole:
            return QString::fromStdString(m_sheet.text(index.row(), col));
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(Qt::AlignVCenter | (col == 0 ? Qt::AlignLeft : Qt::AlignRight));
        case Qt::BackgroundRole:
            return m_sheet.nonDiscretionary(col) ? QVariant(QBrush(NonDiscretionaryColour)) : QVariant();
        default:
            return {};
        }
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation == Qt::Vertical)
            return role == Qt::DisplayRole ? QVariant(section + 1) : QVariant();
        const QString header = QString::fromStdString(m_sheet.header(section));
        const QString role_ = QString::fromStdString(m_sheet.role(section));
        switch (role) {
        case Qt::DisplayRole:
            return role_.isEmpty() ? header : header + QLatin1Char('\n') + role_;
        case Qt::ToolTipRole:
            return m_sheet.nonDiscretionary(section)
                ? header + QStringLiteral(": non-discretionary, the DMUs cannot change it; models keep it "
                                          "as it is and measure only the other columns.")
                : QVariant(header);
        case Qt::BackgroundRole:
            return m_sheet.nonDiscretionary(section) ? QVariant(QBrush(NonDiscretionaryColour)) : QVariant();
        default:
            return {};
        }
    }

private:
    const DataSheet &m_sheet;
};

} // namespace

// The window's Close takes Ctrl+W again when it is shown; the key belongs to
// Load Weight Restr.
void DataWindow::showEvent(QShowEvent *event)
{
    QMdiSubWindow::showEvent(event);
    leaveCtrlWToTheMenu(*this);
}

DataWindow::DataWindow(DataSheet sheet, QWidget *parent) : QMdiSubWindow(parent), m_sheet(std::move(sheet))
{
    setObjectName(QStringLiteral("frmData"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Data: ") + QString::fromStdString(m_sheet.fileName()));
    leaveCtrlWToTheMenu(*this);
    m_view = new QTableView(this);
    m_view->setObjectName(QStringLiteral("grdData"));
    m_view->setModel(new DataSheetModel(m_sheet, m_view));
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setWordWrap(false);
    m_view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_view->verticalHeader()->setDefaultSectionSize(m_view->fontMetrics().height() + 6);
    m_view->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    // Widths from the rows in view: cheap for any number of DMUs.
    m_view->horizontalHeader()->setResizeContentsPrecision(50);
    m_view->resizeColumnsToContents();
    setWidget(m_view);
}

} // namespace zelvar
