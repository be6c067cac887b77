#include "app/AppTestSupport.h"

#include "app/FormatDialog.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>

namespace zelvar::test {
namespace {

class FormatDialogTest : public AppTest {
protected:
    FormatDialog &open()
    {
        trigger("mnuDEAFormat");
        FormatDialog *dialog = window().formatDialog();
        if (dialog == nullptr)
            throw std::runtime_error("no format dialog");
        EXPECT_TRUE(dialog->isVisible());
        return *dialog;
    }
    static void choose(FormatDialog &dialog, FormatDialogState::List list, int index)
    {
        QComboBox *combo = dialog.list(list);
        combo->setCurrentIndex(index);
        emit combo->activated(index);
    }
};

TEST_F(FormatDialogTest, ShowsItsFramesListsAndButtons)
{
    FormatDialog &dialog = open();
    EXPECT_EQ(dialog.windowTitle(), "Format");
    EXPECT_EQ(dialog.objectName(), "frmFormat");
    QStringList frames;
    for (QGroupBox *box : dialog.findChildren<QGroupBox *>())
        frames << box->title();
    EXPECT_EQ(frames, QStringList({"Decimals", "Display weights"}));
    QStringList labels;
    for (QLabel *label : dialog.findChildren<QLabel *>())
        labels << label->text();
    EXPECT_EQ(labels, QStringList({"&Score", "&Weights", "&Intensities", "S&lacks"}));
    EXPECT_EQ(control<QRadioButton>(dialog, "optPure")->text(), "&pure weights ");
    EXPECT_EQ(control<QRadioButton>(dialog, "optVirtual")->text(), "&virtual inputs/outputs");
    EXPECT_EQ(control<QPushButton>(dialog, "cmdOK")->text(), "&OK");
    EXPECT_EQ(control<QPushButton>(dialog, "cmdCancel")->text(), "&Cancel");
    for (int list = 0; list < FormatDialogState::ListCount; ++list) {
        QComboBox *combo = dialog.list(static_cast<FormatDialogState::List>(list));
        ASSERT_EQ(combo->count(), 8);
        EXPECT_EQ(combo->itemText(0), "1");
        EXPECT_EQ(combo->itemText(7), "8");
        // An empty settings store: two decimals everywhere, virtual weights.
        EXPECT_EQ(combo->currentText(), "2");
    }
    EXPECT_TRUE(control<QRadioButton>(dialog, "optVirtual")->isChecked());
    click(dialog, "cmdCancel");
}

TEST_F(FormatDialogTest, OkSetsTheDisplayFormat)
{
    FormatDialog &dialog = open();
    choose(dialog, FormatDialogState::Score, 4);
    choose(dialog, FormatDialogState::Intensities, 0);
    click(dialog, "optPure");
    click(dialog, "cmdOK");
    EXPECT_FALSE(dialog.isVisible());
    const DisplayFormat &format = window().workspace().format;
    EXPECT_EQ(format.DecScore, 5);
    EXPECT_EQ(format.DecIntensities, 1);
    EXPECT_EQ(format.DecWeights, 2);
    EXPECT_FALSE(format.VirtualWeights);
}

TEST_F(FormatDialogTest, CancelKeepsTheSettingsButTheDialogKeepsTheChoice)
{
    FormatDialog &dialog = open();
    choose(dialog, FormatDialogState::Score, 5);
    click(dialog, "optPure");
    click(dialog, "cmdCancel");
    EXPECT_EQ(window().workspace().format.DecScore, 2);
    EXPECT_TRUE(window().workspace().format.VirtualWeights);

    FormatDialog &again = open();
    EXPECT_EQ(&again, &dialog);
    EXPECT_EQ(again.list(FormatDialogState::Score)->currentText(), "6");
    EXPECT_TRUE(control<QRadioButton>(again, "optPure")->isChecked());
    click(again, "cmdOK");
    EXPECT_EQ(window().workspace().format.DecScore, 6);
}

TEST_F(FormatDialogTest, TheNextRunUsesTheNewDecimalsAndShownTablesKeepTheirs)
{
    loadSix();
    runDefaultModel();
    FormatDialog &dialog = open();
    choose(dialog, FormatDialogState::Score, 4);
    click(dialog, "optPure");
    click(dialog, "cmdOK");
    runDefaultModel();
    ASSERT_EQ(results().size(), 2);
    QAbstractItemModel *before = results()[0]->view()->model();
    QAbstractItemModel *after = results()[1]->view()->model();
    EXPECT_EQ(before->index(1, 1).data().toString(), "50.00%");
    EXPECT_EQ(after->index(1, 1).data().toString(), "50.00000%");
    EXPECT_EQ(before->headerData(2, Qt::Horizontal).toString(), "{I}Staff{V}");
    EXPECT_EQ(after->headerData(2, Qt::Horizontal).toString(), "{I}Staff{W}");
}

} // namespace
} // namespace zelvar::test
