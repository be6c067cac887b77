// What a new user ran into, each mended: a failed load unloading the data,
// Save As renaming later runs, the focus lost after a run, the open dialog
// hiding text tables, and negative data giving "big" without a word.

#include "app/AppTestSupport.h"

#include <QDir>
#include <QLabel>
#include <QSettings>

namespace zelvar::test {
namespace {

QString panel(MainWindow &window) { return window.findChild<QLabel *>(QStringLiteral("sbPanel1"))->text(); }

void writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
}

using UserFaults = AppTest;

// A text table without its schema.ini section is read as comma-separated:
// a tab-separated one comes out as one column, no input and no output.
TEST_F(UserFaults, AFailedLoadLeavesTheDataStatusAndModelDialogAsTheyWere)
{
    loadSix();
    ModelDialog &dialog = modelDialog();
    click(dialog, "optVariable");
    click(dialog, "cmdCancel");
    const QString file = path("tabbed.txt");
    writeFile(file, "Branch\t{I}Staff\t{O}Loans\nA\t2\t4\n");

    trigger("mnuFileOpen", file);
    EXPECT_EQ(dialogs.messages, QStringList{"Unknown or missing data in " + file + ". Perhaps wrong schema.ini?"});
    EXPECT_EQ(panel(window()), "Input Output Data " + path("six.txt"));
    EXPECT_EQ(window().workspace().data.NumDMU, 6);
    ModelDialog &again = modelDialog(); // no "Please load data."
    EXPECT_TRUE(again.optionButton(OptionButton::optVariable)->isChecked());
    click(again, "cmdStart");
    ASSERT_EQ(window().resultsWindows().size(), 1);
    EXPECT_EQ(window().resultsWindows()[0]->windowTitle(), path("six.txt") + "_VRS_RAD_IN");
    // The next open dialog starts at the file that failed, to try it again,
    // and lists every data file at first.
    trigger("mnuFileOpen");
    EXPECT_EQ(dialogs.starts.back(), file);
    EXPECT_EQ(dialogs.filters.back(),
              QStringList({"All data files (*.xls *.xlsx *.txt)", "Excel (*.xls *.xlsx)", "Text (*.txt)"}));
}

TEST_F(UserFaults, SaveAsKeepsTheDataFileAndRemembersItsOwnFolder)
{
    loadSix();
    runModel();
    const QString caption = path("six.txt") + "_CRS_RAD_IN";
    ASSERT_TRUE(QDir(path("")).mkpath(QStringLiteral("out")));
    dialogs.answers.push_back(path("out/myresults.csv"));
    trigger("mnuFileSaveAs");
    EXPECT_TRUE(QFile::exists(path("out/myresults.csv")));

    runModel();
    ASSERT_EQ(window().resultsWindows().size(), 2);
    EXPECT_EQ(window().resultsWindows()[1]->windowTitle(), caption);
    EXPECT_EQ(panel(window()), "Input Output Data " + path("six.txt"));
    trigger("mnuFileSave");
    EXPECT_TRUE(QFile::exists(caption + ".txt"));
    EXPECT_FALSE(QFile::exists(path("out/myresults.csv_CRS_RAD_IN.txt")));
    trigger("mnuWeightsOpen");
    EXPECT_EQ(dialogs.starts.back(), path("six.txt"));
    trigger("mnuFileOpen");
    EXPECT_EQ(dialogs.starts.back(), path("six.txt"));
    trigger("mnuFileSaveAs");
    ASSERT_EQ(dialogs.starts.size(), 5); // load, Save As, weights, load, Save As
    EXPECT_EQ(dialogs.starts.back(), path("out/six.txt_CRS_RAD_IN"));
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join("|").toStdString();

    closeWindow();
    QSettings stored(settingsPath(), QSettings::IniFormat);
    EXPECT_EQ(stored.value(QStringLiteral("Settings/Sfile")).toString(), path("six.txt"));
}

TEST_F(UserFaults, CtrlSWorksRightAfterARun)
{
    window().show();
    window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
    loadSix();
    runModel();
    ASSERT_EQ(window().resultsWindows().size(), 1);
    QCoreApplication::processEvents();
    EXPECT_EQ(QApplication::activeWindow(), &window());
    QWidget *focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr);
    EXPECT_EQ(focus, window().resultsWindows()[0]->view());
    QTest::keyClick(focus, Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(QFile::exists(path("six.txt_CRS_RAD_IN.txt")));
}

TEST_F(UserFaults, NegativeDataAskBeforeAModelThatAssumesNone)
{
    writeFile(path("negative.txt"), "Branch,{I}Staff,{O}Loans\nA,2,4\nB,-4,4\nC,5,10\n");
    trigger("mnuFileOpen", path("negative.txt"));
    ASSERT_TRUE(window().workspace().data.loaded()) << dialogs.messages.join("|").toStdString();
    const QString question =
        "DMU 2 (B) holds a negative value in column {I}Staff: -4.\nThe CRS_RAD_IN model assumes inputs and "
        "outputs of at least 0: with negative data its scores are not meaningful and may not be finite (big). "
        "The additive models (ADD) take negative data.\n\nRun the model anyway?";

    dialogs.confirmations = {false};
    runModel();
    EXPECT_EQ(dialogs.messages, QStringList{question});
    EXPECT_TRUE(window().resultsWindows().isEmpty());

    dialogs.messages.clear();
    dialogs.confirmations = {true};
    runModel();
    EXPECT_EQ(dialogs.messages, QStringList{question});
    EXPECT_EQ(window().resultsWindows().size(), 1);

    // The additive model takes negative data: no question.
    dialogs.messages.clear();
    ModelDialog &dialog = modelDialog();
    click(dialog, "optAdditiv");
    click(dialog, "cmdStart");
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join("|").toStdString();
    EXPECT_EQ(window().resultsWindows().size(), 2);
}

} // namespace
} // namespace zelvar::test
