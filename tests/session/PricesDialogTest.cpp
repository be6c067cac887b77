// The prices in a session: loading and closing them, what a data load does
// to them, and the Cost and Revenue distances of the model dialog with the
// rules they bring (a fixed orientation, no superefficiency, no weight
// restrictions). Random clicks with prices loaded are in ModelDialogTest.

#include "support/DialogSupport.h"

#include "session/DataCommands.h"

#include <gtest/gtest.h>


namespace zelvar {
namespace {

using namespace test;
using enum OptionButton;

class PricedDialog : public ::testing::Test {
protected:
    PricedDialog()
    {
        loadData(workspace, 12);
        withWeights(workspace, 3);
        withPrices(workspace);
    }
    ModelDialogState &dialog() { return freshDialog(workspace); }
    const ModelOptions &options() const { return workspace.options; }

    Workspace workspace;
    RecordingFeedback feedback;
};

// With prices, ModelDialogTest's random clicks.
TEST_F(PricedDialog, ThePricedDistancesAreThereOnlyWithPrices)
{
    workspace.data.PricesFileName.clear();
    ModelDialogState &without = dialog();
    EXPECT_FALSE(without.priceDistancesShown());
    without.click(optCost);
    EXPECT_FALSE(without.isSelected(optCost));
    EXPECT_EQ(options().Distance, ModelDistance::RAD);
}

// What the random clicks of ModelDialogTest do not see: the weights box keeps
// its tick for the models that take it, and the caption of a priced run.
TEST_F(PricedDialog, CostFixesTheInputSideAndRadialBringsSuperefficiencyBack)
{
    ModelDialogState &d = dialog();
    d.click(optOutput);
    d.click(optVariable);
    d.click(optCost);
    EXPECT_TRUE(d.isSelected(optInput));
    EXPECT_TRUE(d.chbWR.checked && !d.chbWR.enabled);
    const StartResult start = d.cmdStart(feedback);
    ASSERT_TRUE(start.started);
    EXPECT_EQ(start.runs.run(0).caption, "f.xls_VRS_COST_IN");
    EXPECT_FALSE(options().RestrictWeights || options().Superefficiency);
    d.click(optRevenue);
    EXPECT_EQ(options().Orientation, ModelOrientation::OUT);
    d.click(optRadial);
    EXPECT_TRUE(d.chbSuper.checked && d.chbSuper.enabled && d.chbWR.enabled);
}

TEST_F(PricedDialog, ClosingPricesBringsBackTheRadialModel)
{
    ModelDialogState &d = dialog();
    d.click(optRevenue);
    d.setPricesLoaded(false);
    EXPECT_TRUE(d.isSelected(optRadial));
    EXPECT_EQ(options().Distance, ModelDistance::RAD);
    EXPECT_EQ(options().Orientation, ModelOrientation::OUT);
    EXPECT_FALSE(d.isEnabled(optCost) || d.isEnabled(optRevenue) || d.priceDistancesShown());
    EXPECT_TRUE(d.isEnabled(optInput) && d.isEnabled(optNon));
}

TEST_F(PricedDialog, StartRefusesPricesThatDoNotFit)
{
    ModelDialogState &d = dialog();
    d.click(optCost);
    workspace.data.Prices = Matrix(3, 5); // neither one row nor one per DMU
    EXPECT_FALSE(d.cmdStart(feedback).started);
    ASSERT_EQ(feedback.messages.size(), 1u);
    EXPECT_NE(feedback.messages[0].find("need prices"), std::string::npos);
}

// ---- Loading and closing prices files ----------------------------------------

class PricesFiles : public ::testing::Test {
protected:
    static std::string example(const std::string &name) { return std::string(ZELVAR_EXAMPLES) + "/" + name; }
    static std::string fixture(const std::string &name) { return std::string(ZELVAR_FIXTURES) + "/" + name; }

    Workspace workspace;
    RecordingFeedback feedback;
};

TEST_F(PricesFiles, PricesNeedDataAndStayWholeWhenAFileIsRefused)
{
    EXPECT_FALSE(openPricesFile(workspace, example("banks-prices.txt"), feedback));
    EXPECT_EQ(feedback.messages, std::vector<std::string>{"Please load first input output data (Ctrl+O)."});

    ASSERT_TRUE(openDataFile(workspace, example("banks.txt"), feedback));
    ASSERT_TRUE(openPricesFile(workspace, example("banks-prices.txt"), feedback));
    EXPECT_EQ(workspace.status.panel3, "Prices " + example("banks-prices.txt"));
    EXPECT_TRUE(workspace.modelDialog().priceDistancesShown());
    const Matrix loaded = workspace.data.Prices;
    EXPECT_EQ(loaded.cols(), 20);

    EXPECT_FALSE(openPricesFile(workspace, fixture("prices/two-rows.txt"), feedback));
    EXPECT_EQ(workspace.data.Prices, loaded);
    EXPECT_EQ(workspace.data.PricesFileName, example("banks-prices.txt"));
    EXPECT_EQ(workspace.status.panel3, "Prices " + example("banks-prices.txt"));
}

TEST_F(PricesFiles, AnotherDataFileKeepsThePricesOnlyWhereTheyFit)
{
    ASSERT_TRUE(openDataFile(workspace, example("banks.txt"), feedback));
    ASSERT_TRUE(openPricesFile(workspace, example("banks-prices.txt"), feedback));
    ASSERT_TRUE(openDataFile(workspace, example("banks.xlsx"), feedback));
    EXPECT_TRUE(workspace.data.pricesFitData());
    EXPECT_TRUE(workspace.modelDialog().priceDistancesShown());
    EXPECT_TRUE(feedback.messages.empty());

    ASSERT_TRUE(openDataFile(workspace, fixture("cli/four.txt"), feedback));
    EXPECT_FALSE(workspace.data.pricesLoaded());
    EXPECT_FALSE(workspace.modelDialog().priceDistancesShown());
    EXPECT_EQ(workspace.status.panel3, "");
    ASSERT_EQ(feedback.messages.size(), 1u);
    EXPECT_NE(feedback.messages[0].find("banks-prices.txt do not fit"), std::string::npos) << feedback.messages[0];

    closePrices(workspace, feedback);
    EXPECT_FALSE(workspace.data.pricesLoaded());
}

} // namespace
} // namespace zelvar
