#pragma once

#include "app/MainWindow.h"
#include "app/ModelDialog.h"
#include "app/ResultsWindow.h"
#include "app/ScriptedDialogs.h"

#include <QAction>
#include <QCheckBox>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMdiArea>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace zelvar::test {

// Each test gets a main window over its own temporary settings file and a
// temporary copy of the test data, so that Save, which writes beside the data
// file, never writes into the source tree.
class AppTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        for (const char *name : {"six.txt", "weights.txt", "schema.ini"})
            ASSERT_TRUE(QFile::copy(fixture(name), path(name))) << name;
    }

    void TearDown() override
    {
        m_window.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
        QStringList left;
        for (QWidget *widget : QApplication::topLevelWidgets())
            if (widget->isVisible())
                left << widget->objectName() + " " + widget->windowTitle();
        EXPECT_TRUE(left.isEmpty()) << "windows left open: " << left.join(", ").toStdString();
    }

    static QString fixture(const char *name)
    {
        return QStringLiteral(ZELVAR_FIXTURES "/app/") + QLatin1String(name);
    }
    QString path(const QString &name) const { return m_dir.filePath(name); }
    QString settingsPath() const { return path(QStringLiteral("settings.ini")); }

    MainWindow &window()
    {
        if (!m_window)
            m_window = std::make_unique<MainWindow>(dialogs, SettingsStore::iniFile(settingsPath()));
        return *m_window;
    }
    // Ends the session like the user closing the main window.
    void closeWindow()
    {
        if (m_window)
            m_window->close();
        m_window.reset();
    }

    QAction *action(const char *name)
    {
        auto *found = window().findChild<QAction *>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    void trigger(const char *name)
    {
        if (QAction *a = action(name))
            a->trigger();
    }

    // "Load data" with the file dialog answered by `file`.
    void load(const QString &file)
    {
        dialogs.openAnswers.push_back(file);
        trigger("mnuFileOpen");
    }
    void loadSix() { load(path(QStringLiteral("six.txt"))); }

    // "Run model": the model dialog, shown.
    ModelDialog &modelDialog()
    {
        trigger("mnuDEARun");
        ModelDialog *dialog = window().modelDialog();
        if (dialog == nullptr) {
            ADD_FAILURE() << "no model dialog";
            throw std::runtime_error("no model dialog");
        }
        EXPECT_TRUE(dialog->isVisible());
        return *dialog;
    }
    template <typename T>
    static T *control(QWidget &parent, const char *name)
    {
        auto *found = parent.findChild<T *>(QLatin1String(name));
        if (found == nullptr) {
            ADD_FAILURE() << "no control " << name;
            throw std::runtime_error(name);
        }
        return found;
    }
    static void click(QWidget &dialog, const char *name)
    {
        auto *button = control<QAbstractButton>(dialog, name);
        // Near the left edge: a radio button or check box answers a click on
        // its indicator and text, not on the empty space its layout gives it.
        const bool indicator = qobject_cast<QRadioButton *>(button) != nullptr
            || qobject_cast<QCheckBox *>(button) != nullptr;
        QTest::mouseClick(button, Qt::LeftButton, {},
                          indicator ? QPoint(6, button->height() / 2) : button->rect().center());
    }
    // Runs the model as the dialog stands.
    void start(ModelDialog &dialog) { click(dialog, "cmdStart"); }
    // Runs the default model (CRS_RAD_IN) on the loaded data.
    void runDefaultModel() { start(modelDialog()); }

    QList<ResultsWindow *> results() { return window().resultsWindows(); }

    ScriptedDialogs dialogs;

private:
    QTemporaryDir m_dir;
    std::unique_ptr<MainWindow> m_window;
};

} // namespace zelvar::test
