#include "QtUserDialogs.h"

#include "AppInfo.h"

#include <QFileDialog>
#include <QCursor>
#include <QGuiApplication>
#include <QMessageBox>

namespace zelvar {

namespace {

// While a file is read the busy pointer is shown; a message box in the middle
// of that must still get the ordinary pointer, or the user would think the
// program hangs.
class NormalPointer {
public:
    NormalPointer() { QGuiApplication::setOverrideCursor(QCursor(Qt::ArrowCursor)); }
    ~NormalPointer() { QGuiApplication::restoreOverrideCursor(); }
    NormalPointer(const NormalPointer &) = delete;
    NormalPointer &operator=(const NormalPointer &) = delete;
};

} // namespace

void QtUserDialogs::message(const QString &text)
{
    NormalPointer pointer;
    QMessageBox box(QMessageBox::NoIcon, AppInfo::title(), text, QMessageBox::Ok, m_parent);
    box.exec();
}

bool QtUserDialogs::confirm(const QString &text)
{
    NormalPointer pointer;
    QMessageBox box(QMessageBox::NoIcon, AppInfo::title(), text,
                    QMessageBox::Ok | QMessageBox::Cancel, m_parent);
    return box.exec() == QMessageBox::Ok;
}

QString QtUserDialogs::openFileName(const QString &title, const QString &startPath,
                                    const QStringList &filters)
{
    NormalPointer pointer;
    return QFileDialog::getOpenFileName(m_parent, title, startPath, filters.join(QStringLiteral(";;")));
}

QString QtUserDialogs::saveFileName(const QString &title, const QString &proposed,
                                    const QStringList &filters)
{
    NormalPointer pointer;
    // No default suffix: a name typed without extension is used as it stands.
    return QFileDialog::getSaveFileName(m_parent, title, proposed, filters.join(QStringLiteral(";;")));
}

} // namespace zelvar
