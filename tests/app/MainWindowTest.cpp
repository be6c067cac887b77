#include "app/AppTestSupport.h"

#include "app/AboutDialog.h"
#include "app/AppInfo.h"
#include "app/FormatDialog.h"
#include "app/SplashWindow.h"

#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>

namespace zelvar::test {
namespace {

QString panel(MainWindow &window, const char *name)
{
    auto *label = window.findChild<QLabel *>(QLatin1String(name));
    return label != nullptr ? label->text() : QStringLiteral("<no panel>");
}

using MainWindowTest = AppTest;

TEST_F(MainWindowTest, StartsCaptionedZelvarAndAsksForData)
{
    EXPECT_EQ(window().windowTitle(), "Zelvar");
    EXPECT_EQ(window().objectName(), "frmMain");
    EXPECT_EQ(panel(window(), "sbPanel1"), "Please load data file (Ctrl+O).");
    EXPECT_EQ(panel(window(), "sbPanel2"), "");
    EXPECT_TRUE(window().resultsWindows().isEmpty());
}

TEST_F(MainWindowTest, OffersFiveMenusInOrder)
{
    QStringList menus;
    for (QAction *a : window().menuBar()->actions())
        menus << a->text();
    EXPECT_EQ(menus, QStringList({"&File", "&Edit", "&DEA", "&Window", "&Help"}));
}

struct MenuItem {
    const char *name;
    const char *menu;
    const char *caption;
    const char *shortcut;
};

class MenuItems : public AppTest, public ::testing::WithParamInterface<MenuItem> {};

TEST_P(MenuItems, CarryTheirCaptionAccessKeyAndShortcut)
{
    const MenuItem &item = GetParam();
    QAction *a = action(item.name);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->text(), QString::fromUtf8(item.caption));
    EXPECT_EQ(a->shortcut(), QKeySequence(QString::fromUtf8(item.shortcut)));
    auto *menu = window().findChild<QMenu *>(QLatin1String(item.menu));
    ASSERT_NE(menu, nullptr);
    emit menu->aboutToShow();
    EXPECT_TRUE(menu->actions().contains(a));
}

INSTANTIATE_TEST_SUITE_P(
    MainMenu, MenuItems,
    ::testing::Values(MenuItem{"mnuFileOpen", "mnuFile", "L&oad data", "Ctrl+O"},
                      MenuItem{"mnuWeightsOpen", "mnuFile", "Load &Weight Restr", "Ctrl+W"},
                      MenuItem{"mnuCloseWeights", "mnuFile", "&Close Weight Restr", ""},
                      MenuItem{"mnuFileSave", "mnuFile", "&Save", "Ctrl+S"},
                      MenuItem{"mnuFileSaveAs", "mnuFile", "Save &As", ""},
                      MenuItem{"mnuFileExit", "mnuFile", "E&xit", ""},
                      MenuItem{"mnuEditCopy", "mnuEdit", "&Copy", "Ctrl+C"},
                      MenuItem{"mnuEditCopyAll", "mnuEdit", "Copy &All", "Ctrl+A"},
                      MenuItem{"mnuDEARun", "mnuDEA", "Run &model", "Ctrl+M"},
                      MenuItem{"mnuDEAFormat", "mnuDEA", "&Format", "Ctrl+F"},
                      MenuItem{"mnuWindowCascade", "mnuWindow", "&Cascade", ""},
                      MenuItem{"mnuWindowTileHorizontal", "mnuWindow", "Tile &horizontal", ""},
                      MenuItem{"mnuWindowTileVertical", "mnuWindow", "Tile &vertical", ""},
                      MenuItem{"mnuWindowArrangeIcons", "mnuWindow", "&Arrange", ""},
                      MenuItem{"mnuHelpAbout", "mnuHelp", "&About", ""}),
    [](const auto &item) { return std::string(item.param.name); });

TEST_F(MainWindowTest, ShortcutsReachTheirCommands)
{
    window().show();
    window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
    QCoreApplication::processEvents();
    QTest::keyClick(&window(), Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(dialogs.openRequests.size(), 1u);
    QTest::keyClick(&window(), Qt::Key_M, Qt::ControlModifier);
    EXPECT_EQ(dialogs.messages, QStringList{"Please load data."});
}

TEST_F(MainWindowTest, FileMenuSeparatesItsGroups)
{
    auto *file = window().findChild<QMenu *>(QStringLiteral("mnuFile"));
    ASSERT_NE(file, nullptr);
    QStringList layout;
    for (QAction *a : file->actions())
        layout << (a->isSeparator() ? QStringLiteral("-") : a->objectName());
    EXPECT_EQ(layout, QStringList({"mnuFileOpen", "-", "mnuWeightsOpen", "mnuCloseWeights", "-",
                                   "mnuFileSave", "mnuFileSaveAs", "mnuFileExport", "-", "mnuFileExit"}));
}

TEST_F(MainWindowTest, RunModelWithoutDataAsksForData)
{
    trigger("mnuDEARun");
    EXPECT_EQ(dialogs.messages, QStringList{"Please load data."});
    EXPECT_EQ(window().modelDialog(), nullptr);
}

TEST_F(MainWindowTest, FormatWorksBeforeAnyDataIsLoaded)
{
    trigger("mnuDEAFormat");
    ASSERT_NE(window().formatDialog(), nullptr);
    EXPECT_TRUE(window().formatDialog()->isVisible());
    EXPECT_TRUE(dialogs.messages.isEmpty());
    click(*window().formatDialog(), "cmdCancel");
    EXPECT_FALSE(window().formatDialog()->isVisible());
}

TEST_F(MainWindowTest, FirstOpenDialogStartsInTheSampleFolderWithBothFormats)
{
    trigger("mnuFileOpen");
    ASSERT_EQ(dialogs.openRequests.size(), 1u);
    EXPECT_EQ(dialogs.openRequests[0].filters,
              QStringList({"All data files (*.xls *.xlsx *.txt)", "Excel (*.xls *.xlsx)", "Text (*.txt)"}));
    EXPECT_FALSE(AppInfo::examplesFolder().isEmpty());
    EXPECT_EQ(dialogs.openRequests[0].start, AppInfo::examplesFolder());
    EXPECT_TRUE(QFileInfo::exists(AppInfo::examplesFolder() + "/banks.txt"));
}

TEST_F(MainWindowTest, LoadingDataShowsTheFileAndSelectsEveryDmu)
{
    loadSix();
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join("|").toStdString();
    EXPECT_EQ(window().workspace().data.NumDMU, 6);
    EXPECT_EQ(panel(window(), "sbPanel1"), "Input Output Data " + path("six.txt"));
    EXPECT_EQ(window().workspace().modelDialog().lstEval.selectedCount(), 6);
    EXPECT_EQ(window().workspace().modelDialog().lstTech.selectedCount(), 6);
    // The busy pointer of the read is gone again.
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(MainWindowTest, NextOpenDialogPreselectsTheDataFile)
{
    loadSix();
    trigger("mnuFileOpen");
    ASSERT_EQ(dialogs.openRequests.size(), 2u);
    EXPECT_EQ(dialogs.openRequests[1].start, path("six.txt"));
}

TEST_F(MainWindowTest, OpeningDiscardsTheModelDialogEvenWhenCancelled)
{
    loadSix();
    ModelDialog &dialog = modelDialog();
    click(dialog, "optVariable");
    click(dialog, "cmdCancel");
    trigger("mnuFileOpen"); // cancelled: no scripted answer
    EXPECT_EQ(window().modelDialog(), nullptr);
    EXPECT_FALSE(window().workspace().hasModelDialog());
    // The next dialog starts from the defaults.
    ModelDialog &fresh = modelDialog();
    EXPECT_TRUE(fresh.optionButton(OptionButton::optConstant)->isChecked());
    EXPECT_EQ(window().workspace().options.ReturnsToScale, ModelReturns::CRS);
    click(fresh, "cmdCancel");
}

TEST_F(MainWindowTest, AFileWithAnUnknownSuffixIsRefusedWithItsMessage)
{
    const QString csv = path("six.csv");
    QFile::copy(path("six.txt"), csv);
    load(csv);
    EXPECT_EQ(dialogs.messages, QStringList{"Unknown data format (use suffix .xls or .txt)\n" + csv});
    EXPECT_EQ(panel(window(), "sbPanel1"), "Please load data file (Ctrl+O).");
    EXPECT_FALSE(window().workspace().data.loaded());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(MainWindowTest, WeightRestrictionsNeedDataFirst)
{
    trigger("mnuWeightsOpen");
    EXPECT_EQ(dialogs.messages, QStringList{"Please load first input output data (Ctrl+O)."});
    EXPECT_TRUE(dialogs.openRequests.empty());
    dialogs.messages.clear();
    trigger("mnuCloseWeights");
    EXPECT_EQ(dialogs.messages, QStringList{"Please load data."});
}

TEST_F(MainWindowTest, WeightRestrictionsLoadFromTheDataFolderAndClose)
{
    loadSix();
    dialogs.openAnswers.push_back(path("weights.txt"));
    trigger("mnuWeightsOpen");
    ASSERT_EQ(dialogs.openRequests.size(), 2u);
    EXPECT_EQ(dialogs.openRequests[1].start, path("six.txt"));
    EXPECT_EQ(dialogs.openRequests[1].filters, QStringList({"Excel 5.0 (*.xls)", "Text (*.txt)"}));
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join("|").toStdString();
    EXPECT_EQ(panel(window(), "sbPanel2"), "Weight Restriction " + path("weights.txt"));

    ModelDialog &dialog = modelDialog();
    auto *chbWR = control<QCheckBox>(dialog, "chbWR");
    EXPECT_TRUE(chbWR->isChecked());
    EXPECT_TRUE(chbWR->isEnabled());
    click(dialog, "cmdCancel");

    trigger("mnuCloseWeights");
    EXPECT_EQ(panel(window(), "sbPanel2"), "");
    EXPECT_FALSE(chbWR->isChecked());
    EXPECT_FALSE(chbWR->isEnabled());
}

TEST_F(MainWindowTest, AboutBoxNamesVersionHelpAndSolver)
{
    trigger("mnuHelpAbout");
    auto *about = window().findChild<AboutDialog *>();
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(about->isVisible());
    EXPECT_EQ(about->windowTitle(), "Zelvar-Info");
    EXPECT_EQ(control<QLabel>(*about, "lblVersion")->text(), "Version 1.0.0");
    EXPECT_EQ(control<QLabel>(*about, "lblHelp")->text(),
              "For help please read first the documentation Zelvar.PDF.");
    EXPECT_TRUE(control<QLabel>(*about, "lblSolver")->text().startsWith("LP solver: COIN-OR CLP 1."));
    click(*about, "cmdOK");
    EXPECT_FALSE(about->isVisible());
}

TEST_F(MainWindowTest, WindowMenuListsTheResultsWindowsAndArrangesThem)
{
    loadSix();
    runDefaultModel();
    runDefaultModel();
    ASSERT_EQ(results().size(), 2);

    auto *menu = window().findChild<QMenu *>(QStringLiteral("mnuWindow"));
    emit menu->aboutToShow();
    QStringList entries;
    for (QAction *a : menu->actions())
        if (!a->isSeparator() && a->objectName().isEmpty())
            entries << a->text();
    const QString caption = path("six.txt") + "_CRS_RAD_IN";
    EXPECT_EQ(entries, QStringList({"&1 " + caption, "&2 " + caption}));

    window().resize(800, 600);
    window().show();
    trigger("mnuWindowTileHorizontal");
    const QSize area = window().mdiArea()->viewport()->size();
    for (ResultsWindow *w : results())
        EXPECT_EQ(w->width(), area.width());
    EXPECT_EQ(results()[1]->y(), results()[0]->height());
    trigger("mnuWindowTileVertical");
    for (ResultsWindow *w : results())
        EXPECT_EQ(w->height(), area.height());
    EXPECT_EQ(results()[1]->x(), results()[0]->width());
    trigger("mnuWindowCascade");
    EXPECT_NE(results()[0]->pos(), results()[1]->pos());
    results()[0]->showMinimized();
    trigger("mnuWindowArrangeIcons");
    EXPECT_EQ(results()[0]->x(), 0);
    EXPECT_EQ(results()[0]->geometry().bottom(), area.height() - 1);
}

TEST_F(MainWindowTest, ClosingTheMainWindowClosesEveryOtherWindow)
{
    loadSix();
    runDefaultModel();
    trigger("mnuDEAFormat");
    window().show();
    trigger("mnuHelpAbout");
    closeWindow();
    // TearDown checks that nothing is left open.
}

TEST(SplashWindow, ShowsProductAndShortVersion)
{
    SplashWindow splash;
    EXPECT_EQ(splash.objectName(), "frmSplash");
    auto *version = splash.findChild<QLabel *>("lblVersion");
    auto *product = splash.findChild<QLabel *>("lblProductName");
    ASSERT_NE(version, nullptr);
    ASSERT_NE(product, nullptr);
    EXPECT_EQ(version->text(), "Version 1.0");
    EXPECT_EQ(product->text(), "Zelvar");
}

TEST_F(MainWindowTest, ExitClosesTheMainWindow)
{
    window().show();
    trigger("mnuFileExit");
    EXPECT_FALSE(window().isVisible());
}

} // namespace
} // namespace zelvar::test
