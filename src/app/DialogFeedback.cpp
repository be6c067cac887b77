#include "DialogFeedback.h"

#include "UserDialogs.h"

#include <QCursor>
#include <QGuiApplication>

namespace zelvar {

DialogFeedback::~DialogFeedback()
{
    while (m_busyDepth > 0)
        busy(false);
}

void DialogFeedback::message(const std::string &text)
{
    m_dialogs.message(QString::fromStdString(text));
}

bool DialogFeedback::confirm(const std::string &text)
{
    return m_dialogs.confirm(QString::fromStdString(text));
}

void DialogFeedback::busy(bool on)
{
    if (on) {
        if (m_busyDepth++ == 0)
            QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    } else if (m_busyDepth > 0) {
        if (--m_busyDepth == 0)
            QGuiApplication::restoreOverrideCursor();
    }
}

} // namespace zelvar
