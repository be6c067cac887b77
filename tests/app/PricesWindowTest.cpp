#include "app/AppTestSupport.h"

#include <QLabel>
#include <QMenu>

namespace zelvar::test {
namespace {

// Load Prices and Close Prices join the File menu with the data; prices show
// in a status panel of their own and bring the Cost and Revenue distances.
class PricesWindow : public AppTest {
protected:
    void loadPrices()
    {
        QFile file(path(QStringLiteral("prices.txt")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("Label,Staff,Loans\nall,3,2\n");
        file.close();
        trigger("mnuPricesOpen", path(QStringLiteral("prices.txt")));
    }
    QString panel(const char *name)
    {
        auto *label = window().findChild<QLabel *>(QLatin1String(name));
        return label != nullptr ? label->text() : QStringLiteral("<no panel>");
    }
    QStringList fileMenu()
    {
        QStringList items;
        for (QAction *a : window().findChild<QMenu *>(QStringLiteral("mnuFile"))->actions())
            items << (a->isSeparator() ? QStringLiteral("-") : a->objectName());
        return items;
    }
};

TEST_F(PricesWindow, PricesLoadBesideTheDataAndRunAsCostModel)
{
    EXPECT_FALSE(fileMenu().contains("mnuPricesOpen"));
    loadSix();
    EXPECT_EQ(fileMenu().mid(0, 7), QStringList({"mnuFileOpen", "-", "mnuWeightsOpen", "mnuCloseWeights",
                                                 "mnuPricesOpen", "mnuClosePrices", "-"}));
    EXPECT_EQ(panel("sbPanel3"), "");
    ModelDialog &dialog = modelDialog();
    EXPECT_FALSE(dialog.optionButton(OptionButton::optCost)->isVisibleTo(&dialog));
    dialog.hide();

    loadPrices();
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join("\n").toStdString();
    EXPECT_EQ(panel("sbPanel3"), "Prices " + path(QStringLiteral("prices.txt")));
    EXPECT_EQ(panel("sbPanel1"), "Input Output Data " + path(QStringLiteral("six.txt")));

    ModelDialog &priced = modelDialog();
    QRadioButton *cost = priced.optionButton(OptionButton::optCost);
    EXPECT_TRUE(cost->isVisible() && cost->isEnabled());
    click(priced, "optCost");
    EXPECT_FALSE(priced.optionButton(OptionButton::optOutput)->isEnabled());
    click(priced, "cmdStart");
    ASSERT_EQ(window().resultsWindows().size(), 1);
    EXPECT_EQ(window().resultsWindows().front()->windowTitle(), path(QStringLiteral("six.txt")) + "_CRS_COST_IN");
    EXPECT_EQ(window().resultsWindows().front()->grid().text(0, 4), "Allocative");
    EXPECT_EQ(window().resultsWindows().front()->grid().text(3, 2), "100.00%");

    trigger("mnuClosePrices");
    EXPECT_EQ(panel("sbPanel3"), "");
    ModelDialog &closed = modelDialog();
    EXPECT_FALSE(closed.optionButton(OptionButton::optCost)->isVisible());
    EXPECT_TRUE(closed.optionButton(OptionButton::optRadial)->isChecked());
    closed.hide();
}

} // namespace
} // namespace zelvar::test
