#pragma once

#include <QString>
#include <QStringList>

namespace zelvar {

// Every message box and file dialog of the application goes through this
// seam, so that tests can answer them from a script instead of a person.
class UserDialogs {
public:
    virtual ~UserDialogs() = default;

    // A message with an OK button, captioned with the application title.
    virtual void message(const QString &text) = 0;
    // A question with OK and Cancel; true for OK.
    virtual bool confirm(const QString &text) = 0;
    // Open dialog for an existing file. startPath is a file to preselect or a
    // folder to start in (may be empty); filters like "Text (*.txt)", the
    // first one selected. Returns the chosen path, empty when cancelled.
    virtual QString openFileName(const QString &title, const QString &startPath,
                                 const QStringList &filters) = 0;
    // Save dialog proposing `proposed` (a path or a bare name). Asks before an
    // existing file is replaced and adds no extension. Empty when cancelled.
    virtual QString saveFileName(const QString &title, const QString &proposed,
                                 const QStringList &filters) = 0;
};

} // namespace zelvar
