#pragma once

#include "app/MainWindow.h"
#include "app/ModelDialog.h"
#include "app/ResultsWindow.h"
#include "app/UserDialogs.h"
#include "support/ResultsSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QRadioButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <ostream>

QT_BEGIN_NAMESPACE
// Failures show texts as text.
inline void PrintTo(const QString &text, std::ostream *out) { *out << '"' << text.toStdString() << '"'; }
QT_END_NAMESPACE

namespace zelvar::test {

// Records messages and file dialogs; a question gets the next of confirmations
// (none: OK), a file dialog the next answer (none: Cancel).
struct ScriptedDialogs : UserDialogs {
    QStringList messages;
    std::deque<bool> confirmations;
    std::deque<QString> answers;
    QStringList starts;               // where each file dialog started
    std::vector<QStringList> filters; // and the file types it offered

    void message(const QString &text) override { messages << text; }
    bool confirm(const QString &text) override
    {
        message(text);
        const bool ok = confirmations.empty() || confirmations.front();
        if (!confirmations.empty())
            confirmations.pop_front();
        return ok;
    }
    QString openFileName(const QString &, const QString &start, const QStringList &types) override { return answer(start, types); }
    QString saveFileName(const QString &, const QString &start, const QStringList &types) override { return answer(start, types); }
    QString answer(const QString &start, const QStringList &types)
    {
        starts << start;
        filters.push_back(types);
        const QString chosen = answers.empty() ? QString() : answers.front();
        if (!answers.empty())
            answers.pop_front();
        return chosen;
    }
};

// Cell (row, col) of a results window's view: row 0 is DMU 1, column 0 its name.
inline QString cell(ResultsWindow *w, int row, int col) { return w->view()->model()->index(row, col).data().toString(); }

// A main window over its own settings file and a temporary copy of tests/fixtures/app
// (six.txt: input Staff, output Loans): Save writes beside the data file, never into the
// source tree. No window may be left open at the end.
class AppTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char *name : {"six.txt", "weights.txt", "schema.ini"})
            ASSERT_TRUE(QFile::copy(QStringLiteral(ZELVAR_FIXTURES "/app/") + name, path(name))) << name;
    }
    void TearDown() override
    {
        m_window.reset();
        for (QWidget *widget : QApplication::topLevelWidgets())
            EXPECT_FALSE(widget->isVisible()) << "left open: " << widget->objectName().toStdString();
    }

    QString path(const QString &name) const { return m_dir.filePath(name); }
    QString settingsPath() const { return path(QStringLiteral("settings.ini")); }
    MainWindow &window()
    {
        if (!m_window)
            m_window = std::make_unique<MainWindow>(dialogs, SettingsStore::iniFile(settingsPath()));
        return *m_window;
    }
    // Ends the session as the user closing the main window does.
    void closeWindow()
    {
        window().close();
        m_window.reset();
    }
    void trigger(const char *action) { window().findChild<QAction *>(QLatin1String(action))->trigger(); }
    // A command whose file dialog is answered with `file`.
    void trigger(const char *action, const QString &file)
    {
        dialogs.answers.push_back(file);
        trigger(action);
    }
    void loadSix() { trigger("mnuFileOpen", path(QStringLiteral("six.txt"))); }
    ModelDialog &modelDialog()
    {
        trigger("mnuDEARun");
        return *window().modelDialog();
    }
    template <typename T = QAbstractButton>
    static T *control(QWidget &parent, const char *name) { return parent.findChild<T *>(QLatin1String(name)); }
    // Where a user clicks: a check box or radio button answers on its indicator.
    static void click(QWidget &parent, const char *name)
    {
        QAbstractButton *button = control(parent, name);
        const bool indicator = qobject_cast<QRadioButton *>(button) || qobject_cast<QCheckBox *>(button);
        QTest::mouseClick(button, Qt::LeftButton, {}, indicator ? QPoint(6, button->height() / 2) : button->rect().center());
    }
    static void choose(QWidget &parent, const char *combo, int index)
    {
        auto *box = control<QComboBox>(parent, combo);
        box->setCurrentIndex(index);
        emit box->activated(index);
    }
    // Start on the model dialog as it stands (CRS_RAD_IN when untouched).
    void runModel() { click(modelDialog(), "cmdStart"); }
    QStringList captions()
    {
        QStringList list;
        for (ResultsWindow *w : window().resultsWindows())
            list << w->windowTitle();
        return list;
    }
    ScriptedDialogs dialogs;

private:
    QTemporaryDir m_dir;
    std::unique_ptr<MainWindow> m_window;
};

} // namespace zelvar::test
