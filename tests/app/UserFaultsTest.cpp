// What a new user ran into, each mended: a failed load unloading the data,
// Save As renaming later runs, the focus lost after a run, the open dialog
// hiding text tables, and negative data giving "big" without a word.

#include "app/AppTestSupport.h"

#include "app/AppInfo.h"

#include <QDir>
#include <QLabel>
#include <QSettings>

namespace zelvar::test {
namespace {

QString panel(MainWindow &window, const char *name)
{
    auto *label = window.findChild<QLabel *>(QLatin1String(name));
    return label != nullptr ? label->text() : QStringLiteral("<no panel>");
}

void writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
}

struct UnusableFile {
    const char *name;
    const char *content;
};

class FailedLoad : public AppTest, public testing::WithParamInterface<UnusableFile> {};

TEST_P(FailedLoad, LeavesTheDataStatusAndModelDialogAsTheyWere)
{
    loadSix();
    ModelDialog &dialog = modelDialog();
    click(dialog, "optVariable");
    click(dialog, "cmdCancel");
    const QString file = path(QString::fromLatin1(GetParam().name));
    writeFile(file, GetParam().content);

    load(file);
    EXPECT_EQ(dialogs.messages, QStringList{"Unknown or missing data in " + file + ". Perhaps wrong schema.ini?"});
    EXPECT_EQ(panel(window(), "sbPanel1"), "Input Output Data " + path("six.txt"));
    EXPECT_EQ(window().workspace().data.NumDMU, 6);
    dialogs.messages.clear();
    ModelDialog &again = modelDialog();
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join("|").toStdString();
    EXPECT_TRUE(again.optionButton(OptionButton::optVariable)->isChecked());
    start(again);
    ASSERT_EQ(results().size(), 1);
    EXPECT_EQ(results()[0]->windowTitle(), path("six.txt") + "_VRS_RAD_IN");
    // The next open dialog starts at the file that failed, to try it again.
    trigger("mnuFileOpen");
    EXPECT_EQ(dialogs.openRequests.back().start, file);
}

INSTANTIATE_TEST_SUITE_P(Files, FailedLoad,
                         testing::Values(UnusableFile{"empty.txt", ""},
                                         // No schema.ini section: read as comma-separated, one column.
                                         UnusableFile{"tabbed.txt", "Branch\t{I}Staff\t{O}Loans\nA\t2\t4\n"}),
                         [](const auto &item) {
                             const std::string name = item.param.name;
                             return name.substr(0, name.find('.'));
                         });

using UserFaults = AppTest;

TEST_F(UserFaults, SaveAsKeepsTheDataFileAndRemembersItsOwnFolder)
{
    loadSix();
    runDefaultModel();
    const QString caption = path("six.txt") + "_CRS_RAD_IN";
    ASSERT_TRUE(QDir(path("")).mkpath(QStringLiteral("out")));
    dialogs.saveAnswers.push_back(path("out/myresults.csv"));
    trigger("mnuFileSaveAs");
    EXPECT_TRUE(QFile::exists(path("out/myresults.csv")));

    runDefaultModel();
    ASSERT_EQ(results().size(), 2);
    EXPECT_EQ(results()[1]->windowTitle(), caption);
    EXPECT_EQ(panel(window(), "sbPanel1"), "Input Output Data " + path("six.txt"));
    trigger("mnuFileSave");
    EXPECT_TRUE(QFile::exists(caption + ".txt"));
    EXPECT_FALSE(QFile::exists(path("out/myresults.csv_CRS_RAD_IN.txt")));
    trigger("mnuWeightsOpen");
    EXPECT_EQ(dialogs.openRequests.back().start, path("six.txt"));
    trigger("mnuFileOpen");
    EXPECT_EQ(dialogs.openRequests.back().start, path("six.txt"));
    trigger("mnuFileSaveAs");
    ASSERT_EQ(dialogs.saveRequests.size(), 2u);
    EXPECT_EQ(dialogs.saveRequests[1].start, path("out/six.txt_CRS_RAD_IN"));
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
    runDefaultModel();
    ASSERT_EQ(results().size(), 1);
    QCoreApplication::processEvents();
    EXPECT_EQ(QApplication::activeWindow(), &window());
    QWidget *focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr);
    EXPECT_EQ(focus, results()[0]->view());
    QTest::keyClick(focus, Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(QFile::exists(path("six.txt_CRS_RAD_IN.txt")));
}

TEST_F(UserFaults, TheOpenDialogListsEveryDataFileFirst)
{
    trigger("mnuFileOpen");
    ASSERT_EQ(dialogs.openRequests.size(), 1u);
    const QStringList filters = dialogs.openRequests[0].filters;
    ASSERT_EQ(filters.size(), 3);
    EXPECT_EQ(filters[0], "All data files (*.xls *.xlsx *.txt)");
    EXPECT_EQ(filters.mid(1), QStringList({"Excel (*.xls *.xlsx)", "Text (*.txt)"}));
    // The first filter shows every sample file.
    const QStringList shown = QDir(AppInfo::examplesFolder()).entryList({"*.xls", "*.xlsx", "*.txt"}, QDir::Files);
    for (const char *sample : {"banks.txt", "banks.xls", "banks.xlsx"})
        EXPECT_TRUE(shown.contains(QLatin1String(sample))) << sample;
}

TEST_F(UserFaults, NegativeDataAskBeforeAModelThatAssumesNone)
{
    writeFile(path("negative.txt"), "Branch,{I}Staff,{O}Loans\nA,2,4\nB,-4,4\nC,5,10\n");
    load(path("negative.txt"));
    ASSERT_TRUE(window().workspace().data.loaded()) << dialogs.messages.join("|").toStdString();
    const QString question =
        "DMU 2 (B) holds a negative value in column {I}Staff: -4.\nThe CRS_RAD_IN model assumes inputs and "
        "outputs of at least 0: with negative data its scores are not meaningful and may not be finite (big). "
        "The additive models (ADD) take negative data.\n\nRun the model anyway?";

    dialogs.confirmAnswers = {false};
    runDefaultModel();
    EXPECT_EQ(dialogs.messages, QStringList{question});
    EXPECT_TRUE(results().isEmpty());

    dialogs.messages.clear();
    dialogs.confirmAnswers = {true};
    runDefaultModel();
    EXPECT_EQ(dialogs.messages, QStringList{question});
    EXPECT_EQ(results().size(), 1);

    // The additive model takes negative data: no question.
    dialogs.messages.clear();
    ModelDialog &dialog = modelDialog();
    click(dialog, "optAdditiv");
    start(dialog);
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join("|").toStdString();
    EXPECT_EQ(results().size(), 2);
}

} // namespace
} // namespace zelvar::test
