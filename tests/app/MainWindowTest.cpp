#include "app/AppTestSupport.h"

#include "app/FormatDialog.h"
#include "app/Twips.h"

#include <QLabel>
#include <QSettings>

namespace zelvar::test {
namespace {

QString panel(MainWindow &window, const char *name) { return window.findChild<QLabel *>(QLatin1String(name))->text(); }

using MainWindowTest = AppTest;

TEST_F(MainWindowTest, loadDataShowsTheFileSelectsEveryDmuAndIsWhereTheNextLoadStarts)
{
    EXPECT_EQ(panel(window(), "sbPanel1"), "Please load data file (Ctrl+O).");
    loadSix();
    EXPECT_EQ(panel(window(), "sbPanel1"), "Input Output Data " + path("six.txt"));
    EXPECT_EQ(window().workspace().modelDialog().lstEval.selectedCount(), 6);
    EXPECT_EQ(window().workspace().modelDialog().lstTech.selectedCount(), 6);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    modelDialog().hide();
    trigger("mnuFileOpen"); // cancelled, yet the model dialog goes
    EXPECT_EQ(window().modelDialog(), nullptr);
    EXPECT_TRUE(QFile::exists(dialogs.starts.value(0) + "/banks.txt")) << dialogs.starts.value(0).toStdString();
    EXPECT_EQ(dialogs.starts.value(1), path("six.txt")); // the file types: UserFaultsTest
}

struct RefusedCommand {
    bool loaded;
    const char *action, *message;
};

class CommandsWithoutTheirInput : public AppTest, public ::testing::WithParamInterface<RefusedCommand> {};

TEST_P(CommandsWithoutTheirInput, sayWhatIsMissing)
{
    if (GetParam().loaded)
        loadSix();
    trigger(GetParam().action);
    EXPECT_EQ(dialogs.messages, QStringList{GetParam().message});
    EXPECT_EQ(dialogs.starts.size(), GetParam().loaded ? 1 : 0);
    EXPECT_EQ(window().modelDialog(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Commands, CommandsWithoutTheirInput,
                         ::testing::Values(RefusedCommand{false, "mnuDEARun", "Please load data."},
                                           RefusedCommand{false, "mnuWeightsOpen", "Please load first input output data (Ctrl+O)."},
                                           RefusedCommand{false, "mnuEditCopy", "Please load data."},
                                           RefusedCommand{true, "mnuEditCopyAll", "There's nothing to copy."},
                                           RefusedCommand{true, "mnuFileSave", "There's nothing to save."},
                                           RefusedCommand{true, "mnuFileSaveAs", "Error: Save As"}));

TEST_F(MainWindowTest, weightRestrictionsLoadFromTheDataFolderAndCloseAndEveryWindowClosesWithTheMainWindow)
{
    loadSix();
    trigger("mnuWeightsOpen", path("weights.txt"));
    EXPECT_EQ(dialogs.starts.value(1), path("six.txt"));
    EXPECT_EQ(panel(window(), "sbPanel2"), "Weight Restriction " + path("weights.txt"));
    auto *chbWR = control<QCheckBox>(modelDialog(), "chbWR");
    EXPECT_TRUE(chbWR->isChecked() && chbWR->isEnabled());
    click(*window().modelDialog(), "cmdStart");
    trigger("mnuCloseWeights");
    runModel();
    EXPECT_EQ(captions(), QStringList({path("six.txt") + "_CRS_RAD_IN_WR-weights", path("six.txt") + "_CRS_RAD_IN"}));
    EXPECT_EQ(panel(window(), "sbPanel2"), "");
    EXPECT_FALSE(chbWR->isChecked() || chbWR->isEnabled());
    trigger("mnuDEAFormat");
    trigger("mnuHelpAbout");
    window().show();
    closeWindow(); // TearDown finds no window left open
}

TEST_F(MainWindowTest, theFormatDialogSetsTheNextRunsFormatOnlyOnOkAndShownTablesKeepTheirs)
{
    loadSix();
    runModel();
    trigger("mnuDEAFormat");
    FormatDialog &dialog = *window().formatDialog();
    choose(dialog, "Combo1_0", 4); // score decimals 5
    click(dialog, "optPure");
    click(dialog, "cmdCancel");
    EXPECT_EQ(window().workspace().format, DisplayFormat{});
    trigger("mnuDEAFormat");
    EXPECT_EQ(dialog.list(FormatDialogState::Score)->currentText(), "5");
    click(dialog, "cmdOK");
    EXPECT_EQ(window().workspace().format, (DisplayFormat{5, 2, 2, 2, false}));
    runModel();
    QStringList shown;
    for (ResultsWindow *w : window().resultsWindows())
        shown << cell(w, 1, 1) + " " + w->view()->model()->headerData(2, Qt::Horizontal).toString();
    EXPECT_EQ(shown, QStringList({"50.00% {I}Staff{V}", "50.00000% {I}Staff{W}"}));
}

TEST_F(MainWindowTest, anOrderlyExitStoresTheTenKeysForTheNextStartAndAMinimizedOneNothing)
{
    const double dpiX = window().logicalDpiX(), dpiY = window().logicalDpiY();
    const auto pixels = [&](int left, int top, int width, int height) {
        return QRect(twipsToPixels(left, dpiX), twipsToPixels(top, dpiY), twipsToPixels(width, dpiX), twipsToPixels(height, dpiY));
    };
    EXPECT_EQ(window().geometry(), pixels(1000, 1000, 6500, 6500));
    window().setGeometry(pixels(1500, 750, 9000, 6000));
    window().workspace().format = {5, 3, 4, 6, false};
    window().workspace().data.DataFileName = path("six.txt").toStdString();
    closeWindow();
    QSettings ini(settingsPath(), QSettings::IniFormat);
    QStringList stored;
    for (const QString &key : ini.allKeys())
        stored << key + "=" + ini.value(key).toString();
    stored.sort();
    EXPECT_EQ(stored, QStringList({"Settings/Decintens=4", "Settings/Decscore=5", "Settings/Decslacks=6",
                                   "Settings/Decweights=3", "Settings/MainHeight=6000", "Settings/MainLeft=1500",
                                   "Settings/MainTop=750", "Settings/MainWidth=9000",
                                   "Settings/Sfile=" + path("six.txt"), "Settings/Virtual=False"}));
    EXPECT_EQ(window().geometry(), pixels(1500, 750, 9000, 6000));
    EXPECT_EQ(window().workspace().format, (DisplayFormat{5, 3, 4, 6, false}));
    trigger("mnuFileOpen");
    EXPECT_EQ(dialogs.starts.value(0), path("six.txt"));
    window().workspace().format.DecScore = 1; // a minimized exit stores nothing
    window().show();
    window().showMinimized();
    closeWindow();
    EXPECT_EQ(QSettings(settingsPath(), QSettings::IniFormat).value("Settings/Decscore").toString(), "5");
}

TEST_F(MainWindowTest, storedValuesThatCannotBeReadLeaveTheDefaultsAndDecimalsStayWithinOneToEight)
{
    std::ofstream(settingsPath().toStdString()) << "[Settings]\nMainLeft=abc\nDecscore=0\nDecweights=many\n"
                                                    "Decslacks=40000\nVirtual=perhaps\n";
    MainSettings settings;
    SettingsStore::iniFile(settingsPath()).read(settings);
    EXPECT_EQ(settings.left, 1000);
    EXPECT_EQ(settings.format, (DisplayFormat{1, 2, 2, 8, true}));
}

} // namespace
} // namespace zelvar::test
