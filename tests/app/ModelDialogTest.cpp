#include "app/AppTestSupport.h"

#include "app/DmuListView.h"
#include "app/ProgressWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>

namespace zelvar::test {
namespace {

using enum OptionButton;

class ModelDialogTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        loadSix();
    }

    static void choose(QWidget &dialog, const char *combo, int index)
    {
        auto *box = control<QComboBox>(dialog, combo);
        box->setCurrentIndex(index);
        emit box->activated(index);
    }
    static QStringList selectedItems(QWidget &dialog, const char *list)
    {
        auto *view = control<DmuListView>(dialog, list);
        QStringList items;
        for (const QModelIndex &index : view->selectionModel()->selectedIndexes())
            items << index.data().toString();
        items.sort();
        return items;
    }
    QStringList captions()
    {
        QStringList list;
        for (ResultsWindow *w : results())
            list << w->windowTitle();
        return list;
    }
    QString stem() const { return path(QStringLiteral("six")); }
};

struct Caption {
    const char *name;
    const char *text;
};

class ModelDialogCaptions : public AppTest, public ::testing::WithParamInterface<Caption> {};

TEST_P(ModelDialogCaptions, ShowTheirTextsAndAccessKeys)
{
    loadSix();
    ModelDialog &dialog = modelDialog();
    auto *widget = dialog.findChild<QWidget *>(QLatin1String(GetParam().name));
    ASSERT_NE(widget, nullptr) << GetParam().name;
    QString text;
    if (auto *button = qobject_cast<QAbstractButton *>(widget))
        text = button->text();
    else if (auto *label = qobject_cast<QLabel *>(widget))
        text = label->text();
    else if (auto *box = qobject_cast<QGroupBox *>(widget))
        text = box->title();
    EXPECT_EQ(text, QString::fromUtf8(GetParam().text));
    click(dialog, "cmdCancel");
}

INSTANTIATE_TEST_SUITE_P(
    ModelDialog, ModelDialogCaptions,
    ::testing::Values(
        Caption{"Frame1", "Structure"}, Caption{"optConvex", "Conve&x"},
        Caption{"optNonconvex", "Noncon&vex"}, Caption{"fraSkalen", "Returns to scale"},
        Caption{"optConstant", "&Constant"}, Caption{"optVariable", "Varia&ble"},
        Caption{"optNdr", "Non&decreasing"}, Caption{"optNir", "Nonincreasin&g"},
        Caption{"Orientierung", "Orientation"}, Caption{"optInput", "&Input"},
        Caption{"optOutput", "&Output"}, Caption{"optNon", "&Nonoriented"},
        Caption{"fraAbstand", "Distance"}, Caption{"optRadial", "&Radial"},
        Caption{"optAdditiv", "&Additive"}, Caption{"optMaxaverage", "maxAverage"},
        Caption{"optMinaverage", "minAverage"}, Caption{"chbSuper", "Superefficiency"},
        Caption{"chbWR", "Restrict weigh&ts "}, Caption{"lblEvaluation", "Eval&uation"},
        Caption{"lblTechnology", "Technolog&y"}, Caption{"cmdAll", "Al&l"},
        Caption{"cmdClear", "Clear"}, Caption{"Frame2", "Dynamics"}, Caption{"optNone", "Non&e"},
        Caption{"optWA", "&Window Analysis"}, Caption{"optMalmquist", "Malm&quist "},
        Caption{"lblPeriods", "Periods"}, Caption{"lblWidth", "Widt&h"},
        Caption{"cmdStart", "&Start"}, Caption{"cmdCancel", "Cancel"}),
    [](const auto &item) { return std::string(item.param.name); });

TEST_F(ModelDialogTest, IsCaptionedRunModelWithTwoTabsAndStartAsDefault)
{
    ModelDialog &dialog = modelDialog();
    EXPECT_EQ(dialog.windowTitle(), "Run model");
    EXPECT_EQ(dialog.objectName(), "frmModell");
    EXPECT_TRUE(dialog.isModal());
    auto *tabs = control<QTabWidget>(dialog, "SSTab1");
    ASSERT_EQ(tabs->count(), 2);
    EXPECT_EQ(tabs->tabText(0), "&Model");
    EXPECT_EQ(tabs->tabText(1), "O&ptions");
    EXPECT_TRUE(control<QPushButton>(dialog, "cmdStart")->isDefault());
    click(dialog, "cmdCancel");
}

TEST_F(ModelDialogTest, ShowsEveryDmuInBothListsAndInThePeriodLists)
{
    ModelDialog &dialog = modelDialog();
    const QStringList all{"1  A", "2  B", "3  C", "4  D", "5  E", "6  F"};
    EXPECT_EQ(selectedItems(dialog, "lstEval"), all);
    EXPECT_EQ(selectedItems(dialog, "lstTech"), all);
    auto *periods = control<QComboBox>(dialog, "cmbPeriods");
    ASSERT_EQ(periods->count(), 6);
    EXPECT_EQ(periods->itemText(0), "1");
    EXPECT_EQ(periods->itemText(5), "6");
    EXPECT_EQ(periods->currentText(), "1");
    EXPECT_FALSE(periods->isEnabled());
    EXPECT_FALSE(control<QComboBox>(dialog, "cmbWidth")->isEnabled());
    EXPECT_TRUE(control<QCheckBox>(dialog, "chbSuper")->isChecked());
    EXPECT_FALSE(control<QCheckBox>(dialog, "chbWR")->isEnabled());
    click(dialog, "cmdCancel");
}

TEST_F(ModelDialogTest, NonconvexDisablesWhatFdhCannotUseAndConvexBringsItBack)
{
    ModelDialog &dialog = modelDialog();
    click(dialog, "optNon");
    click(dialog, "optAdditiv");
    click(dialog, "optNonconvex");
    for (OptionButton b : {optConstant, optVariable, optNdr, optNir, optAdditiv, optMaxaverage,
                           optMinaverage, optNon})
        EXPECT_FALSE(dialog.optionButton(b)->isEnabled()) << static_cast<int>(b);
    EXPECT_TRUE(dialog.optionButton(optRadial)->isChecked());
    EXPECT_TRUE(dialog.optionButton(optInput)->isChecked());
    auto *super = control<QCheckBox>(dialog, "chbSuper");
    EXPECT_FALSE(super->isChecked());
    EXPECT_FALSE(super->isEnabled());

    click(dialog, "optConvex");
    for (OptionButton b : {optConstant, optVariable, optNdr, optNir, optAdditiv, optMaxaverage,
                           optMinaverage, optNon})
        EXPECT_TRUE(dialog.optionButton(b)->isEnabled()) << static_cast<int>(b);
    EXPECT_TRUE(super->isChecked());
    EXPECT_TRUE(super->isEnabled());
    click(dialog, "cmdCancel");
}

TEST_F(ModelDialogTest, DynamicsSwitchThePeriodAndDmuLists)
{
    ModelDialog &dialog = modelDialog();
    click(dialog, "optWA");
    EXPECT_TRUE(control<QComboBox>(dialog, "cmbPeriods")->isEnabled());
    EXPECT_TRUE(control<QComboBox>(dialog, "cmbWidth")->isEnabled());
    EXPECT_FALSE(control<DmuListView>(dialog, "lstEval")->isEnabled());
    EXPECT_FALSE(control<QLabel>(dialog, "lblTechnology")->isEnabled());
    choose(dialog, "cmbWidth", 1);
    click(dialog, "optMalmquist");
    EXPECT_EQ(control<QComboBox>(dialog, "cmbWidth")->currentText(), "1");
    EXPECT_FALSE(control<QComboBox>(dialog, "cmbWidth")->isEnabled());
    EXPECT_TRUE(control<QLabel>(dialog, "lblPeriods")->isEnabled());
    click(dialog, "optNone");
    EXPECT_TRUE(control<DmuListView>(dialog, "lstEval")->isEnabled());
    EXPECT_FALSE(control<QComboBox>(dialog, "cmbPeriods")->isEnabled());
    click(dialog, "cmdCancel");
}

TEST_F(ModelDialogTest, CancelHidesTheDialogAndKeepsEveryChoice)
{
    ModelDialog &dialog = modelDialog();
    click(dialog, "optVariable");
    click(dialog, "optOutput");
    control<QCheckBox>(dialog, "chbSuper")->click();
    click(dialog, "cmdCancel");
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(results().isEmpty());

    ModelDialog &again = modelDialog();
    EXPECT_EQ(&again, &dialog);
    EXPECT_TRUE(again.optionButton(optVariable)->isChecked());
    EXPECT_TRUE(again.optionButton(optOutput)->isChecked());
    EXPECT_FALSE(control<QCheckBox>(again, "chbSuper")->isChecked());
    start(again);
    ASSERT_EQ(results().size(), 1);
    EXPECT_EQ(results()[0]->windowTitle(), path("six.txt") + "_VRS_RAD_OUT");
    EXPECT_FALSE(window().workspace().options.Superefficiency);
}

TEST_F(ModelDialogTest, EscapeCancelsTheDialog)
{
    ModelDialog &dialog = modelDialog();
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(results().isEmpty());
}

TEST_F(ModelDialogTest, ClickingAnItemTogglesItsDmuInTheSet)
{
    ModelDialog &dialog = modelDialog();
    auto *list = control<DmuListView>(dialog, "lstEval");
    const QRect item = list->visualRect(list->model()->index(2, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, item.center());
    EXPECT_FALSE(dialog.state().lstEval.selected(3));
    EXPECT_EQ(dialog.state().lstEval.selectedCount(), 5);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, item.center());
    EXPECT_TRUE(dialog.state().lstEval.selected(3));
    click(dialog, "cmdCancel");
}

TEST_F(ModelDialogTest, AllAndClearActOnTheListThatHadTheFocusLast)
{
    ModelDialog &dialog = modelDialog();
    // Before either list had the focus: the technology list.
    click(dialog, "cmdClear");
    EXPECT_EQ(selectedItems(dialog, "lstTech"), QStringList());
    EXPECT_EQ(selectedItems(dialog, "lstEval").size(), 6);
    start(dialog);
    EXPECT_EQ(dialogs.messages, QStringList{"Please select at least one DMU!"});
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(results().isEmpty());

    click(dialog, "cmdAll");
    EXPECT_EQ(selectedItems(dialog, "lstTech").size(), 6);
    auto *eval = control<DmuListView>(dialog, "lstEval");
    QFocusEvent focusIn(QEvent::FocusIn, Qt::MouseFocusReason);
    QCoreApplication::sendEvent(eval, &focusIn);
    click(dialog, "cmdClear");
    EXPECT_EQ(selectedItems(dialog, "lstEval"), QStringList());
    EXPECT_EQ(selectedItems(dialog, "lstTech").size(), 6);
    click(dialog, "cmdCancel");
}

TEST_F(ModelDialogTest, StartRunsTheDefaultModelIntoOneCaptionedWindow)
{
    ModelDialog &dialog = modelDialog();
    start(dialog);
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join("|").toStdString();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_FALSE(window().running());
    ASSERT_EQ(results().size(), 1);
    ResultsWindow *w = results()[0];
    EXPECT_EQ(w->windowTitle(), path("six.txt") + "_CRS_RAD_IN");
    EXPECT_FALSE(w->isHidden());
    EXPECT_EQ(window().activeResultsWindow(), w);
    ASSERT_NE(window().progressWindow(), nullptr);
    EXPECT_FALSE(window().progressWindow()->isVisible());
}

TEST_F(ModelDialogTest, WindowAnalysisOpensOneWindowPerWindow)
{
    ModelDialog &dialog = modelDialog();
    click(dialog, "optWA");
    choose(dialog, "cmbPeriods", 2); // 3 periods of 2 DMUs
    choose(dialog, "cmbWidth", 1);   // 2 periods wide
    start(dialog);
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join("|").toStdString();
    EXPECT_EQ(captions(), QStringList({stem() + "_CRS_RAD_IN_Window0", stem() + "_CRS_RAD_IN_Window1",
                                       stem() + "_CRS_RAD_IN_Window2"}));
    // Afterwards every DMU is selected in both lists again.
    ModelDialog &again = modelDialog();
    EXPECT_EQ(selectedItems(again, "lstEval").size(), 6);
    EXPECT_EQ(selectedItems(again, "lstTech").size(), 6);
    click(again, "cmdCancel");
}

TEST_F(ModelDialogTest, MalmquistOpensOneWindowPerStep)
{
    ModelDialog &dialog = modelDialog();
    click(dialog, "optMalmquist");
    choose(dialog, "cmbPeriods", 2);
    start(dialog);
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join("|").toStdString();
    EXPECT_EQ(captions(), QStringList({stem() + "_CRS_RAD_IN_Malmquist-E(0)-T(1)",
                                       stem() + "_CRS_RAD_IN_Malmquist-E(1)-T(2)"}));
}

TEST_F(ModelDialogTest, MalmquistOfOnePeriodOpensNoWindow)
{
    ModelDialog &dialog = modelDialog();
    click(dialog, "optMalmquist");
    start(dialog);
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_TRUE(results().isEmpty());
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(ModelDialogTest, PeriodsThatDoNotDivideTheDmusAreRefused)
{
    ModelDialog &dialog = modelDialog();
    click(dialog, "optWA");
    choose(dialog, "cmbPeriods", 3); // 4 periods of 6 DMUs
    start(dialog);
    EXPECT_EQ(dialogs.messages, QStringList{"Wrong Number of Periods (Options)."});
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(results().isEmpty());
    EXPECT_TRUE(dialog.optionButton(optNone)->isChecked());
    EXPECT_EQ(control<QComboBox>(dialog, "cmbPeriods")->currentText(), "1");
    EXPECT_FALSE(control<QComboBox>(dialog, "cmbPeriods")->isEnabled());
    EXPECT_TRUE(control<DmuListView>(dialog, "lstEval")->isEnabled());
    click(dialog, "cmdCancel");
}

TEST_F(ModelDialogTest, CancelOnTheProgressWindowEndsTheSeries)
{
    ModelDialog &dialog = modelDialog();
    click(dialog, "optWA");
    choose(dialog, "cmbPeriods", 5); // six windows of one DMU each
    // The first run shows the progress window and processes events, which
    // delivers this press of Cancel.
    QTimer::singleShot(0, &window(), [this] {
        if (ProgressWindow *progress = window().progressWindow())
            progress->cancelButton()->click();
    });
    start(dialog);
    EXPECT_EQ(results().size(), 1);
    EXPECT_FALSE(window().progressWindow()->isVisible());
    EXPECT_FALSE(window().running());
}

} // namespace
} // namespace zelvar::test
