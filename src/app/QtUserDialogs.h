#pragma once

#include "UserDialogs.h"

#include <QPointer>
#include <QWidget>

namespace zelvar {

// The real dialogs: QMessageBox and QFileDialog, owned by the main window.
class QtUserDialogs : public UserDialogs {
public:
    // The window the dialogs are modal to; may change (or vanish) later.
    void setParentWidget(QWidget *parent) { m_parent = parent; }

    void message(const QString &text) override;
    bool confirm(const QString &text) override;
    QString openFileName(const QString &title, const QString &startPath,
                         const QStringList &filters) override;
    QString saveFileName(const QString &title, const QString &proposed,
                         const QStringList &filters) override;

private:
    QPointer<QWidget> m_parent;
};

} // namespace zelvar
