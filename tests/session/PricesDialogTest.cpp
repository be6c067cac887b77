// The prices in a session: loading and closing them, what a data load does
// to them, and the Cost and Revenue distances of the model dialog with the
// rules they bring (a fixed orientation, no superefficiency, no weight
// restrictions).

#include "support/DialogSupport.h"

#include "session/DataCommands.h"
#include "session/ModelNames.h"

#include <gtest/gtest.h>

#include <random>

namespace zelvar {
namespace {

using namespace test;
using enum OptionButton;

constexpr OptionButton Distances[] = {optRadial, optAdditiv, optMaxaverage, optMinaverage, optCost, optRevenue};

// One row of prices for the inputs and outputs of the loaded data.
void withPrices(Workspace &workspace)
{
    DataSet &data = workspace.data;
    data.PricesFileName = "/p/prices.txt";
    data.PricesName = "prices";
    data.Prices = Matrix(data.NumInputs + data.NumOutputs, 1);
}

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

TEST_F(PricedDialog, ThePricedDistancesAreThereOnlyWithPrices)
{
    EXPECT_TRUE(dialog().priceDistancesShown());
    EXPECT_TRUE(dialog().isEnabled(optCost));
    EXPECT_TRUE(dialog().isEnabled(optRevenue));

    workspace.data.PricesFileName.clear();
    ModelDialogState &without = dialog();
    EXPECT_FALSE(without.priceDistancesShown());
    without.click(optCost);
    EXPECT_FALSE(without.isSelected(optCost));
    EXPECT_EQ(options().Distance, ModelDistance::RAD);
}

TEST_F(PricedDialog, CostFixesTheInputSideAndStartsWithoutWeightsOrSuperefficiency)
{
    ModelDialogState &d = dialog();
    d.click(optOutput);
    d.click(optVariable);
    d.click(optCost);
    EXPECT_EQ(options().Distance, ModelDistance::COST);
    EXPECT_EQ(options().Orientation, ModelOrientation::IN);
    EXPECT_TRUE(d.isSelected(optInput));
    EXPECT_FALSE(d.isEnabled(optOutput) || d.isEnabled(optNon));
    EXPECT_FALSE(d.chbSuper.checked || d.chbSuper.enabled);
    EXPECT_TRUE(d.chbWR.checked); // kept for the models that take it
    EXPECT_FALSE(d.chbWR.enabled);
    EXPECT_FALSE(d.chbScale.enabled);

    const StartResult start = d.cmdStart(feedback);
    ASSERT_TRUE(start.started);
    EXPECT_EQ(options().ModelName, "VRS_COST_IN");
    EXPECT_FALSE(options().RestrictWeights);
    EXPECT_FALSE(options().Superefficiency);
    EXPECT_EQ(start.runs.run(0).caption, "f.xls_VRS_COST_IN");

    d.click(optRevenue);
    EXPECT_EQ(options().Orientation, ModelOrientation::OUT);
    EXPECT_FALSE(d.isEnabled(optInput) || d.isEnabled(optNon));
    d.click(optRadial);
    EXPECT_TRUE(d.isEnabled(optInput) && d.isEnabled(optOutput) && d.isEnabled(optNon));
    EXPECT_TRUE(d.chbSuper.checked && d.chbSuper.enabled);
    EXPECT_TRUE(d.chbWR.enabled);
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

TEST_F(PricedDialog, EveryPricedModelNameIsWhatItsButtonsCompose)
{
    for (const std::string &name : priceModelNames()) {
        ModelDialogState &d = dialog();
        d.click(optNonconvex);
        const auto buttons = buttonsForModelName(name);
        ASSERT_TRUE(buttons.has_value()) << name;
        for (OptionButton b : *buttons)
            d.click(b);
        ASSERT_TRUE(d.cmdStart(feedback).started) << name;
        EXPECT_EQ(options().ModelName, name);
    }
    EXPECT_EQ(priceModelNames().size(), 8u);
    for (const char *name : {"CRS_COST_OUT", "VRS_REV_IN", "FDH_COST_IN", "CRS_COST_NON"})
        EXPECT_FALSE(buttonsForModelName(name)) << name;
}

// Whatever the user clicks, the permitted combinations hold with the priced
// distances among them.
TEST_F(PricedDialog, LongRandomClickSequencesKeepEveryPermittedCombination)
{
    ModelDialogState &d = dialog();
    std::mt19937 random(20260411);
    std::uniform_int_distribution<int> pick(0, AllOptionButtonCount - 1);
    for (int step = 0; step < 3000 && !HasFailure(); ++step) {
        const auto b = static_cast<OptionButton>(pick(random));
        if (step % 7 == 0 && d.chbSuper.enabled)
            d.chbSuper.checked = !d.chbSuper.checked;
        if (step % 11 == 0 && d.chbWR.enabled)
            d.chbWR.checked = !d.chbWR.checked;
        d.click(b);
        SCOPED_TRACE("click " + std::to_string(static_cast<int>(b)) + " at step " + std::to_string(step));
        int selected = 0;
        for (OptionButton distance : Distances)
            selected += d.isSelected(distance) ? 1 : 0;
        EXPECT_EQ(selected, 1);
        EXPECT_EQ(options().Distance == ModelDistance::COST, d.isSelected(optCost));
        EXPECT_EQ(options().Distance == ModelDistance::REV, d.isSelected(optRevenue));
        EXPECT_EQ(options().Orientation == ModelOrientation::IN, d.isSelected(optInput));
        EXPECT_EQ(options().Orientation == ModelOrientation::OUT, d.isSelected(optOutput));
        EXPECT_EQ(options().fdh(), d.isSelected(optNonconvex));
        if (options().fdh()) {
            EXPECT_FALSE(d.isEnabled(optCost) || d.isEnabled(optRevenue));
            EXPECT_FALSE(options().priced());
        } else {
            EXPECT_TRUE(d.isEnabled(optCost) && d.isEnabled(optRevenue));
        }
        if (options().priced()) {
            EXPECT_EQ(options().Orientation,
                      options().Distance == ModelDistance::COST ? ModelOrientation::IN : ModelOrientation::OUT);
            EXPECT_FALSE(d.chbSuper.checked || d.chbSuper.enabled || d.chbWR.enabled || d.chbScale.enabled);
            EXPECT_FALSE(d.isEnabled(optNon));
        } else if (!options().fdh()) {
            EXPECT_TRUE(d.isEnabled(optInput) && d.isEnabled(optOutput) && d.isEnabled(optNon));
            EXPECT_TRUE(d.chbWR.enabled);
        }
        if (step % 97 == 0 && !options().WindowAnalysis && !options().Malmquist) {
            const ModelOptions before = options();
            ASSERT_TRUE(d.cmdStart(feedback).started);
            EXPECT_EQ(options().ModelName, before.modelName());
            EXPECT_FALSE(before.priced() && options().RestrictWeights);
        }
    }
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
