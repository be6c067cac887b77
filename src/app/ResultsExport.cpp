#include "ResultsExport.h"

#include "ResultsWindow.h"
#include "UserDialogs.h"
#include "session/Workspace.h"
#include "results/ResultsFile.h"

#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

namespace zelvar {

namespace {

// Redrawing is off while a command moves the selection across the grid and
// on again however the command ends.
class RedrawOff {
public:
    explicit RedrawOff(TextGrid &grid) : m_grid(grid) { m_grid.setRedraw(false); }
    ~RedrawOff() { m_grid.setRedraw(true); }
    RedrawOff(const RedrawOff &) = delete;
    RedrawOff &operator=(const RedrawOff &) = delete;

private:
    TextGrid &m_grid;
};

void putOnClipboard(const std::string &text)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(QString::fromStdString(text));
}

} // namespace

bool ResultsExport::canCopy(const ResultsWindow *active)
{
    if (!m_workspace.data.loaded()) {
        m_dialogs.message(QStringLiteral("Please load data."));
        return false;
    }
    if (active == nullptr) {
        m_dialogs.message(QStringLiteral("There's nothing to copy."));
        return false;
    }
    return true;
}

void ResultsExport::copy(ResultsWindow *active)
{
    if (!canCopy(active))
        return;
    TextGrid &grid = active->grid();
    {
        const RedrawOff redraw(grid);
        putOnClipboard(grid.selectionText());
        grid.setSelectionEnd(grid.currentRow(), grid.currentCol());
    }
    active->showGridSelection();
}

void ResultsExport::copyAll(ResultsWindow *active)
{
    if (!canCopy(active))
        return;
    TextGrid &grid = active->grid();
    {
        const RedrawOff redraw(grid);
        const int row = grid.currentRow();
        const int col = grid.currentCol();
        grid.setCurrent(0, 0);
        grid.setSelectionEnd(grid.rows() - 1, grid.cols() - 1);
        putOnClipboard(grid.selectionText());
        grid.setCurrent(row, col);
    }
    active->showGridSelection();
}

bool ResultsExport::writeTo(ResultsWindow &window, const QString &path)
{
    TextGrid &grid = window.grid();
    std::string failure;
    {
        const RedrawOff redraw(grid);
        grid.setCurrent(0, 0);
        grid.setSelectionEnd(grid.rows() - 1, grid.cols() - 1);
        failure = saveResultsFile(grid, path.toStdString());
        grid.setCurrent(0, 0);
    }
    window.showGridSelection();
    if (!failure.empty()) {
        m_dialogs.message(QStringLiteral("The results could not be saved to %1: %2")
                              .arg(path, QString::fromStdString(failure)));
        return false;
    }
    return true;
}

bool ResultsExport::save(ResultsWindow *active)
{
    if (active == nullptr) {
        m_dialogs.message(QStringLiteral("There's nothing to save."));
        return false;
    }
    return writeTo(*active, active->windowTitle() + QStringLiteral(".txt"));
}

bool ResultsExport::saveAs(ResultsWindow *active)
{
    if (active == nullptr) {
        m_dialogs.message(QStringLiteral("Error: Save As"));
        return false;
    }
    const QString path = m_dialogs.saveFileName(QStringLiteral("Save As"),
                                                proposedPath(*active, m_saveAsFolder, QString()),
                                                {QStringLiteral("Text (*.txt)")});
    if (path.isEmpty())
        return false;
    m_saveAsFolder = QFileInfo(path).absolutePath();
    return writeTo(*active, path);
}

QString ResultsExport::proposedPath(const ResultsWindow &window, const QString &folder, const QString &extension)
{
    const QString caption = window.windowTitle() + extension;
    if (folder.isEmpty())
        return caption;
    return QDir(folder).filePath(QFileInfo(caption).fileName());
}

bool ResultsExport::exportTable(ResultsWindow *active, ExportFormat format)
{
    if (active == nullptr) {
        m_dialogs.message(QStringLiteral("There's nothing to export."));
        return false;
    }
    const QString extension = QString::fromUtf8(extensionOf(format).data(), static_cast<qsizetype>(extensionOf(format).size()));
    const QString filter = format == ExportFormat::Xlsx ? QStringLiteral("Excel workbook (*.xlsx)")
                                                        : QStringLiteral("CSV (*.csv)");
    QString path = m_dialogs.saveFileName(QStringLiteral("Export"), proposedPath(*active, m_exportFolder, extension),
                                          {filter});
    if (path.isEmpty())
        return false;
    if (!path.endsWith(extension, Qt::CaseInsensitive))
        path += extension;
    m_exportFolder = QFileInfo(path).absolutePath();
    const std::string failure = exportResults(active->table(), path.toStdString(), format);
    if (!failure.empty()) {
        m_dialogs.message(QStringLiteral("The results could not be exported to %1: %2")
                              .arg(path, QString::fromStdString(failure)));
        return false;
    }
    return true;
}

} // namespace zelvar
