#pragma once

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
    // To a file the user chooses (proposed: the caption), which also becomes
    // the data file name the next open dialog starts from.
    bool saveAs(ResultsWindow *active);

private:
    // Copy and Copy All need loaded data and a results window; tells the user otherwise.
    bool canCopy(const ResultsWindow *active);
    bool writeTo(ResultsWindow &window, const QString &path);

    Workspace &m_workspace;
    UserDialogs &m_dialogs;
};

} // namespace zelvar
