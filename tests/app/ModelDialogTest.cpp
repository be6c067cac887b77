#include "app/AppTestSupport.h"

#include "app/DmuListView.h"
#include "app/ProgressWindow.h"

#include <QItemSelectionModel>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

namespace zelvar::test {
namespace {

class ModelDialogTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        loadSix();
    }
    // DMUs selected in the views of the evaluation and technology lists.
    static QList<qsizetype> selected(QWidget &dialog)
    {
        return {control<DmuListView>(dialog, "lstEval")->selectionModel()->selectedIndexes().size(),
                control<DmuListView>(dialog, "lstTech")->selectionModel()->selectedIndexes().size()};
    }
};

TEST_F(ModelDialogTest, cancelOnlyHidesItAndStartRunsTheChoicesKept)
{
    ModelDialog &dialog = modelDialog();
    for (const char *name : {"optVariable", "optOutput", "chbSuper", "cmdCancel"})
        click(dialog, name);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(&modelDialog(), &dialog);
    click(dialog, "cmdStart");
    EXPECT_EQ(captions(), QStringList{path("six.txt") + "_VRS_RAD_OUT"});
    EXPECT_FALSE(window().workspace().options.Superefficiency);
}

TEST_F(ModelDialogTest, aClickTogglesADmuAndAllOrClearActOnTheListUsedLast)
{
    ModelDialog &dialog = modelDialog();
    auto *eval = control<DmuListView>(dialog, "lstEval");
    const QPoint third = eval->visualRect(eval->model()->index(2, 0)).center();
    QTest::mouseClick(eval->viewport(), Qt::LeftButton, {}, third);
    EXPECT_EQ(selected(dialog), QList<qsizetype>({5, 6}));
    QTest::mouseClick(eval->viewport(), Qt::LeftButton, {}, third);
    click(dialog, "cmdClear"); // the technology list, before either had the focus
    EXPECT_EQ(selected(dialog), QList<qsizetype>({6, 0}));
    click(dialog, "cmdStart");
    EXPECT_EQ(dialogs.messages, QStringList{"Please select at least one DMU!"});
    click(dialog, "cmdAll");
    QFocusEvent focusIn(QEvent::FocusIn, Qt::MouseFocusReason);
    QCoreApplication::sendEvent(eval, &focusIn);
    click(dialog, "cmdClear");
    EXPECT_EQ(selected(dialog), QList<qsizetype>({0, 6}));
    EXPECT_TRUE(dialog.isVisible());
    dialog.hide();
}

struct Series {
    const char *name, *dynamics;
    int periodsIndex, widthIndex;
    QStringList captions; // after the data file's path without ".txt"
    const char *message = nullptr;
};

class DynamicRuns : public ModelDialogTest, public ::testing::WithParamInterface<Series> {};

TEST_P(DynamicRuns, openOneCaptionedWindowEachAndSelectEveryDmuAgain)
{
    const Series &s = GetParam();
    ModelDialog &dialog = modelDialog();
    click(dialog, s.dynamics);
    choose(dialog, "cmbPeriods", s.periodsIndex);
    choose(dialog, "cmbWidth", s.widthIndex);
    click(dialog, "cmdStart");
    QStringList expected;
    for (const QString &caption : s.captions)
        expected << path("six") + caption;
    EXPECT_EQ(captions(), expected);
    EXPECT_EQ(dialogs.messages, s.message ? QStringList{s.message} : QStringList{});
    EXPECT_EQ(dialog.isVisible(), s.message != nullptr);
    EXPECT_EQ(dialog.optionButton(OptionButton::optNone)->isChecked(), s.message != nullptr);
    EXPECT_EQ(selected(dialog), QList<qsizetype>({6, 6}));
    dialog.hide();
}

INSTANTIATE_TEST_SUITE_P(
    Dynamics, DynamicRuns,
    ::testing::Values(
        // Three periods of two DMUs, two periods wide.
        Series{"windows", "optWA", 2, 1, {"_CRS_RAD_IN_Window0", "_CRS_RAD_IN_Window1", "_CRS_RAD_IN_Window2"}},
        Series{"malmquist", "optMalmquist", 2, 0, {"_CRS_RAD_IN_Malmquist-E(0)-T(1)", "_CRS_RAD_IN_Malmquist-E(1)-T(2)"}},
        Series{"malmquistOfOnePeriod", "optMalmquist", 0, 0, {}},
        Series{"periodsNotDividingTheDmus", "optWA", 3, 0, {}, "Wrong Number of Periods (Options)."}),
    [](const auto &p) { return std::string(p.param.name); });

TEST_F(ModelDialogTest, cancelOnTheProgressWindowEndsTheSeries)
{
    ModelDialog &dialog = modelDialog();
    click(dialog, "optWA");
    choose(dialog, "cmbPeriods", 5); // six windows of one DMU
    // The first run shows the progress window and processes events, which delivers this Cancel.
    QTimer::singleShot(0, &window(), [this] { window().progressWindow()->cancelButton()->click(); });
    click(dialog, "cmdStart");
    EXPECT_EQ(window().resultsWindows().size(), 1);
    EXPECT_FALSE(window().progressWindow()->isVisible() || window().running());
}

TEST(ProgressWindow, countsTheDmusAndTakesCancelOrClosingAsCancel)
{
    ProgressWindow window;
    ProgressSink &sink = window.sink();
    sink.show(5);
    sink.setProgress(2, "40% completed.");
    EXPECT_EQ(QString("%1/%2 ").arg(window.bar()->value()).arg(window.bar()->maximum()) + window.statusLabel()->text(),
              "2/5 40% completed.");
    EXPECT_TRUE(window.isVisible() && window.isModal() && !sink.cancelRequested());
    window.cancelButton()->click();
    EXPECT_TRUE(sink.cancelRequested());
    window.resetCancel();
    window.close(); // while the run lasts the window stays up
    EXPECT_TRUE(sink.cancelRequested() && window.isVisible());
    sink.close();
    EXPECT_FALSE(window.isVisible());
}

} // namespace
} // namespace zelvar::test
