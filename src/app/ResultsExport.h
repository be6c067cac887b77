#pragma once

#include "results/TableExport.h"

#include <QString>

namespace zelvar {

class ResultsWindow;
class UserDialogs;
struct Workspace;

// The Edit menu's Copy and Copy All and the File menu's Save and Save As:
// the table of the active results window as text (cells joined by TAB, rows
// by CR) on the clipboard or in a file. They leave the cells unchanged; only
// the grid's current cell and selection move.
class ResultsExport {
public:
    ResultsExport(Workspace &workspace, UserDialogs &dialogs)
        : m_workspace(workspace), m_dialogs(dialogs)
    {
    }

    // `active` is the active results window, null when there is none.

    // The selected block; afterwards the selection is only the current cell.
    void copy(ResultsWindow *active);
    // The whole grid, headers included; the current cell stays where it was.
    void copyAll(ResultsWindow *active);
    // To the window's caption followed by ".txt"; afterwards the current
    // cell is row 0, column 0. Returns true when the file was written.
    bool save(ResultsWindow *active);
    // To a file the user chooses (proposed: the caption's file name, in the
    // folder of the previous Save As, else the caption itself). It changes
    // nothing about the data file: captions, the status line and the open
    // dialogs stay with it.
    bool saveAs(ResultsWindow *active);
    // File > Export: the whole table as an Excel workbook or CSV file the
    // user names (proposed: the caption plus the extension, in the folder of
    // the previous export); the extension is added when the name lacks it.
    // The grid's selection does not move.
    bool exportTable(ResultsWindow *active, ExportFormat format);

private:
    // Copy and Copy All need loaded data and a results window; tells the user otherwise.
    bool canCopy(const ResultsWindow *active);
    bool writeTo(ResultsWindow &window, const QString &path);
    // The caption's file name in `folder`, or the caption itself when no folder is remembered.
    static QString proposedPath(const ResultsWindow &window, const QString &folder, const QString &extension);

    Workspace &m_workspace;
    UserDialogs &m_dialogs;
    QString m_saveAsFolder;
    QString m_exportFolder;
};

} // namespace zelvar
