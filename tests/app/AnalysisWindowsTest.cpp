// What a new user met in the windows: the tables of the scale and Malmquist
// index analyses with a summary of zeros, an empty chart, the tooltips of
// the run table and wrong numbers in their workbooks, and opening behind the
// run; windows opening half outside the visible area or staying minimized,
// and taking Ctrl+W from Load Weight Restr; the status line cut by empty
// panels; DMU names cut in the model dialog's lists.

#include "app/AppTestSupport.h"

#include "app/ChartWindow.h"
#include "app/DataWindow.h"
#include "app/DmuListView.h"

#include <QAction>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QTabWidget>

#include <functional>

namespace zelvar::test {
namespace {

// An analysis asked for in the model dialog, and the caption its table's
// window ends with.
struct AnalysisCase {
    const char *name;
    std::function<void(ModelDialog &)> choose;
    QString captionEnd;
    QStringList headers;
};

void PrintTo(const AnalysisCase &tested, std::ostream *out) { *out << tested.name; }

class AnalysisTables : public AppTest, public ::testing::WithParamInterface<AnalysisCase> {
public:
    static void tickScale(ModelDialog &dialog) { click(dialog, "chbScale"); }
    // six.txt in two periods of three units.
    static void malmquistIndex(ModelDialog &dialog)
    {
        control<QTabWidget>(dialog, "SSTab1")->setCurrentIndex(1);
        click(dialog, "optMalmquist");
        choose(dialog, "cmbPeriods", 1);
        control<QTabWidget>(dialog, "SSTab1")->setCurrentIndex(0);
        click(dialog, "chbMalmquistIndex");
    }

protected:
    ResultsWindow *analysisWindow()
    {
        loadSix();
        ModelDialog &dialog = modelDialog();
        GetParam().choose(dialog);
        click(dialog, "cmdStart");
        EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join("\n").toStdString();
        for (ResultsWindow *w : window().resultsWindows())
            if (w->windowTitle().endsWith(GetParam().captionEnd))
                return w;
        ADD_FAILURE() << "no window " << GetParam().captionEnd.toStdString() << " among "
                      << captions().join(" | ").toStdString();
        return nullptr;
    }
};

// The table is all text of its own: no summary of a run, no chart, no hints
// meant for a run's score and benchmarks, and no numbers of a run's cells
// left under its texts for an export to write.
TEST_P(AnalysisTables, ShowTheirTableWithoutTheSummaryChartAndHintsOfARun)
{
    ResultsWindow *table = analysisWindow();
    ASSERT_NE(table, nullptr);
    EXPECT_TRUE(table->analysisTable());
    EXPECT_FALSE(table->hasRunScores());
    EXPECT_TRUE(table->summary()->text().isEmpty()) << table->summary()->text().toStdString();
    EXPECT_FALSE(table->summary()->parentWidget()->isVisibleTo(table));

    QAbstractItemModel *model = table->view()->model();
    QStringList headers;
    for (int col = 0; col < model->columnCount(); ++col)
        headers << model->headerData(col, Qt::Horizontal).toString();
    EXPECT_EQ(headers, GetParam().headers);
    for (int col = 1; col < model->columnCount(); ++col) {
        const QString tip = model->headerData(col, Qt::Horizontal, Qt::ToolTipRole).toString();
        EXPECT_TRUE(tip.contains(headers[col] + QStringLiteral(": "))) << tip.toStdString();
        EXPECT_FALSE(tip.contains(QStringLiteral("Benchmarks")) || tip.contains(QStringLiteral("Score:")))
            << tip.toStdString();
    }
    for (int row = 0; row < model->rowCount(); ++row)
        for (int col = 0; col < model->columnCount(); ++col)
            EXPECT_TRUE(model->index(row, col).data(Qt::ToolTipRole).toString().isEmpty()) << row << "," << col;
    const TextGrid &grid = table->grid();
    for (int row = 1; row < grid.rows(); ++row)
        for (int col = 0; col < grid.cols(); ++col)
            EXPECT_FALSE(table->table().number(row, col).has_value()) << row << "," << col;

    window().mdiArea()->setActiveSubWindow(table);
    auto *chart = window().findChild<QAction *>(QStringLiteral("mnuDEAChart"));
    EXPECT_FALSE(chart->isEnabled());
    chart->setEnabled(true); // as if the menu had not caught up: a word, not an empty chart
    trigger("mnuDEAChart");
    EXPECT_EQ(window().chartWindowOf(table), nullptr);
    EXPECT_EQ(dialogs.messages, QStringList{"There's nothing to chart: this table has no scores of a run."});

    // The runs beside the table keep their summary and chart.
    ResultsWindow *run = window().resultsWindows().first();
    ASSERT_FALSE(run->analysisTable());
    window().mdiArea()->setActiveSubWindow(run);
    EXPECT_TRUE(chart->isEnabled());
    EXPECT_TRUE(run->summary()->text().startsWith(QStringLiteral("DMUs evaluated: ")));
    trigger("mnuDEAChart");
    EXPECT_NE(window().chartWindowOf(run), nullptr);
}

// The table asked for is the last window a series opens: it comes to the
// front, not behind the run it follows, and takes the keyboard (Ctrl+S).
TEST_P(AnalysisTables, ComeToTheFrontWithTheKeyboard)
{
    window().show();
    window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
    ResultsWindow *table = analysisWindow();
    ASSERT_NE(table, nullptr);
    QCoreApplication::processEvents();
    EXPECT_EQ(window().mdiArea()->currentSubWindow(), table);
    EXPECT_EQ(window().mdiArea()->subWindowList(QMdiArea::StackingOrder).last(), table);
    EXPECT_EQ(QApplication::focusWidget(), table->view());
}

// A column reads as one: the steps "0-1" stand where "all" does, at the
// left, and the indexes at the right.
TEST_F(AppTest, MalmquistIndexStepsAlignAsWords)
{
    loadSix();
    ModelDialog &dialog = modelDialog();
    AnalysisTables::malmquistIndex(dialog);
    click(dialog, "cmdStart");
    ResultsWindow *table = window().resultsWindows().last();
    ASSERT_TRUE(table->windowTitle().endsWith(QStringLiteral("_MalmquistIndex")));
    QAbstractItemModel *model = table->view()->model();
    ASSERT_EQ(model->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Step"));
    const auto alignment = [model](int row, int col) {
        return model->index(row, col).data(Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignHorizontal_Mask;
    };
    QStringList steps;
    for (int row = 0; row < model->rowCount(); ++row) {
        steps << model->index(row, 1).data().toString();
        EXPECT_EQ(alignment(row, 1), Qt::AlignLeft) << steps.last().toStdString();
        EXPECT_EQ(alignment(row, 2), Qt::AlignRight) << model->index(row, 2).data().toString().toStdString();
    }
    EXPECT_TRUE(steps.contains(QStringLiteral("0-1")) && steps.contains(QStringLiteral("all")))
        << steps.join(" ").toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Analyses, AnalysisTables,
    ::testing::Values(AnalysisCase{"Scale", AnalysisTables::tickScale, QStringLiteral("_CRS_RAD_IN_Scale"),
                                   {"DMU", "CRS", "VRS", "Scale", "RTS"}},
                      AnalysisCase{"MalmquistIndex", AnalysisTables::malmquistIndex, QStringLiteral("_CRS_RAD_IN_MalmquistIndex"),
                                   {"DMU", "Step", "EC", "TC", "PEC", "SEC", "MI"}}),
    [](const ::testing::TestParamInfo<AnalysisCase> &tested) { return std::string(tested.param.name); });

// After a run alone the Chart command is there for it at once.
TEST_F(AppTest, ChartIsAvailableRightAfterARun)
{
    loadSix();
    runModel();
    EXPECT_TRUE(window().findChild<QAction *>(QStringLiteral("mnuDEAChart"))->isEnabled());
    trigger("mnuDEAChart");
    EXPECT_NE(window().chartWindowOf(window().resultsWindows()[0]), nullptr);
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

// A window opened from the DEA menu comes up whole inside the area, not
// half beyond its right or bottom edge.
struct OpenedWindowCase {
    const char *name;
    const char *command;
};

void PrintTo(const OpenedWindowCase &tested, std::ostream *out) { *out << tested.name; }

class OpenedWindows : public AppTest, public ::testing::WithParamInterface<OpenedWindowCase> {};

TEST_P(OpenedWindows, OpenWholeInsideTheArea)
{
    window().setGeometry(0, 0, 1040, 640);
    window().show();
    loadSix();
    runModel();
    trigger(GetParam().command);
    QApplication::processEvents();
    QMdiSubWindow *opened = window().mdiArea()->currentSubWindow();
    ASSERT_NE(opened, nullptr);
    ASSERT_FALSE(qobject_cast<ResultsWindow *>(opened)) << "nothing opened";
    const QRect area = window().mdiArea()->viewport()->rect();
    EXPECT_TRUE(area.contains(opened->geometry()))
        << "area " << area.width() << "x" << area.height() << ", window at " << opened->x() << "," << opened->y()
        << " sized " << opened->width() << "x" << opened->height();
    closeWindow();
}

// The command again, after the user minimized its window, shows it again.
TEST_P(OpenedWindows, ComeBackFromMinimized)
{
    window().setGeometry(0, 0, 1040, 640);
    window().show();
    loadSix();
    runModel();
    trigger(GetParam().command);
    QMdiSubWindow *opened = window().mdiArea()->currentSubWindow();
    ASSERT_FALSE(qobject_cast<ResultsWindow *>(opened)) << "nothing opened";
    opened->showMinimized();
    window().mdiArea()->setActiveSubWindow(window().resultsWindows()[0]);
    trigger(GetParam().command);
    QApplication::processEvents();
    EXPECT_EQ(window().mdiArea()->currentSubWindow(), opened);
    EXPECT_FALSE(opened->isMinimized());
    closeWindow();
}

INSTANTIATE_TEST_SUITE_P(DeaMenu, OpenedWindows,
                         ::testing::Values(OpenedWindowCase{"ShowData", "mnuDEAShowData"},
                                           OpenedWindowCase{"Chart", "mnuDEAChart"}),
                         [](const ::testing::TestParamInfo<OpenedWindowCase> &tested) {
                             return std::string(tested.param.name);
                         });

// Ctrl+W loads weight restrictions whichever window is in front; it does not
// close the window (Ctrl+F4 does).
TEST_P(OpenedWindows, LeaveCtrlWToLoadWeightRestr)
{
    window().show();
    window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
    loadSix();
    runModel();
    trigger(GetParam().command);
    QCoreApplication::processEvents();
    QPointer<QMdiSubWindow> opened = window().mdiArea()->currentSubWindow();
    ASSERT_FALSE(qobject_cast<ResultsWindow *>(opened.data())) << "nothing opened";
    QWidget *focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr);
    ASSERT_TRUE(opened->isAncestorOf(focus)) << focus->objectName().toStdString();
    const qsizetype asked = dialogs.starts.size();
    QTest::keyClick(focus, Qt::Key_W, Qt::ControlModifier);
    QCoreApplication::processEvents();
    EXPECT_FALSE(opened.isNull());
    EXPECT_EQ(dialogs.starts.size(), asked + 1) << "no Load Weight Restr dialog";
}

// The status line shows its text whole in the main window of a first start
// (the stored size's default): panels with nothing to say take no room.
class StatusLine : public AppTest, public ::testing::WithParamInterface<bool> {};

TEST_P(StatusLine, ShowsItsTextWholeInTheWindowOfAFirstStart)
{
    const bool loaded = GetParam();
    window().show();
    if (loaded)
        loadSix();
    QCoreApplication::processEvents();
    auto *panel = window().findChild<QLabel *>(QStringLiteral("sbPanel1"));
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->text(), loaded ? "Input Output Data " + path("six.txt") : "Please load data file (Ctrl+O).");
    EXPECT_GE(panel->contentsRect().width(), panel->fontMetrics().horizontalAdvance(panel->text()))
        << "window " << window().width() << " wide";
    closeWindow();
}

INSTANTIATE_TEST_SUITE_P(MainWindow, StatusLine, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool> &tested) {
                             return std::string(tested.param ? "DataLoaded" : "NoData");
                         });

// The model dialog's lists show each DMU's number and name whole.
class DmuLists : public AppTest, public ::testing::WithParamInterface<const char *> {};

TEST_P(DmuLists, ShowTheLongestNameWhole)
{
    QFile file(path(QStringLiteral("long.txt")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("Branch,{I}Staff,{O}Loans\nHarbour Street,2,4\nCathedral Close Southport Road,4,4\nMill,5,10\n");
    file.close();
    trigger("mnuFileOpen", path(QStringLiteral("long.txt")));
    ASSERT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join("\n").toStdString();
    ModelDialog &dialog = modelDialog();
    control<QTabWidget>(dialog, "SSTab1")->setCurrentIndex(1);
    QApplication::processEvents();
    auto *list = control<DmuListView>(dialog, GetParam());
    const QModelIndex longest = list->model()->index(1, 0);
    ASSERT_EQ(longest.data().toString(), QStringLiteral("2  Cathedral Close Southport Road"));
    const int needed = list->fontMetrics().horizontalAdvance(longest.data().toString());
    EXPECT_GE(list->visualRect(longest).width(), needed);
    EXPECT_GE(list->viewport()->width(), needed);
    EXPECT_EQ(longest.data(Qt::ToolTipRole).toString(), longest.data().toString());
    dialog.hide();
}

INSTANTIATE_TEST_SUITE_P(ModelDialog, DmuLists, ::testing::Values("lstEval", "lstTech"));

} // namespace
} // namespace zelvar::test
