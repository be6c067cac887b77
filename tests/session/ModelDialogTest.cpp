#include "support/DataFiles.h"
#include "support/DialogSupport.h"

#include "session/ModelNames.h"

#include <gtest/gtest.h>

#include <random>

namespace zelvar::test {
namespace {

using enum OptionButton;

// The selected buttons, the ticks of the two boxes, the two lists and the period lists.
std::string describe(const ModelDialogState &d)
{
    std::string text;
    for (int b = 0; b < AllOptionButtonCount; ++b)
        text += d.isSelected(static_cast<OptionButton>(b)) ? std::string(ButtonNames[b]) + " " : "";
    return text + "super " + (d.chbSuper.checked ? "on" : "off") + " WR " + (d.chbWR.checked ? "on" : "off") + " eval "
        + ranges(d.lstEval) + " tech " + ranges(d.lstTech) + " periods " + std::to_string(d.cmbPeriodsIndex + 1) + " width "
        + std::to_string(d.cmbWidthIndex + 1);
}

// The permitted combinations: one button per group, the model options as the
// buttons say, and every control enabled exactly when its choice makes sense.
// The cost and revenue distances, offered while prices are loaded, fix the
// side they price and take neither superefficiency nor weights nor scale.
void expectPermitted(const ModelDialogState &d, const Workspace &w)
{
    const auto on = [&d](OptionButton b) { return static_cast<int>(d.isSelected(b)); };
    EXPECT_EQ(on(optConvex) + on(optNonconvex), 1);
    EXPECT_EQ(on(optConstant) + on(optVariable) + on(optNdr) + on(optNir), 1);
    EXPECT_EQ(on(optInput) + on(optOutput) + on(optNon), 1);
    EXPECT_EQ(on(optRadial) + on(optAdditiv) + on(optMaxaverage) + on(optMinaverage) + on(optCost) + on(optRevenue), 1);
    EXPECT_EQ(on(optNone) + on(optWA) + on(optMalmquist), 1);
    // The enums list their choices in the order of the buttons.
    const ModelOptions &o = w.options;
    const bool fdh = on(optNonconvex);
    const bool priced = o.priced();
    EXPECT_EQ(o.Structure == ModelStructure::FDH, fdh);
    EXPECT_EQ(o.ReturnsToScale, static_cast<ModelReturns>(on(optVariable) + 2 * on(optNdr) + 3 * on(optNir)));
    EXPECT_EQ(o.Orientation, static_cast<ModelOrientation>(on(optOutput) + 2 * on(optNon)));
    EXPECT_EQ(o.Distance, static_cast<ModelDistance>(on(optAdditiv) + 2 * on(optMaxaverage) + 3 * on(optMinaverage)
                                                     + 4 * on(optCost) + 5 * on(optRevenue)));
    EXPECT_EQ(std::pair(o.WindowAnalysis, o.Malmquist), std::pair(d.isSelected(optWA), d.isSelected(optMalmquist)));
    EXPECT_TRUE(!fdh || (o.radial() && o.Orientation != ModelOrientation::NON)); // FDH is radial and oriented
    EXPECT_TRUE(!priced || o.Orientation == (on(optCost) ? ModelOrientation::IN : ModelOrientation::OUT));
    for (OptionButton b : {optConstant, optVariable, optNdr, optNir, optAdditiv, optMaxaverage, optMinaverage})
        EXPECT_EQ(d.isEnabled(b), !fdh) << ButtonNames[static_cast<int>(b)];
    for (OptionButton b : {optCost, optRevenue})
        EXPECT_EQ(d.isEnabled(b), !fdh && w.data.pricesLoaded()) << ButtonNames[static_cast<int>(b)];
    EXPECT_EQ(d.priceDistancesShown(), w.data.pricesLoaded());
    EXPECT_EQ(d.isEnabled(optNon), !fdh && !priced);
    EXPECT_TRUE(!priced || !d.isEnabled(on(optCost) ? optOutput : optInput));
    for (OptionButton b : {optConvex, optNonconvex, optRadial, optNone, optWA, optMalmquist})
        EXPECT_TRUE(d.isEnabled(b)) << ButtonNames[static_cast<int>(b)];
    EXPECT_TRUE(priced || (d.isEnabled(optInput) && d.isEnabled(optOutput)));
    // Superefficiency only for convex radial models; weights not for FDH.
    EXPECT_EQ(d.chbSuper.enabled, !fdh && o.radial());
    EXPECT_TRUE(d.chbSuper.enabled || !d.chbSuper.checked);
    EXPECT_EQ(d.chbWR.enabled, !fdh && !priced && w.data.weightsLoaded());
    EXPECT_TRUE(!priced || !d.chbScale.enabled);
    const bool dynamic = o.WindowAnalysis || o.Malmquist;
    for (bool list : {d.lstEvalEnabled, d.lstTechEnabled, d.lblEvaluationEnabled, d.lblTechnologyEnabled})
        EXPECT_EQ(list, !dynamic);
    EXPECT_EQ(std::pair(d.cmbPeriodsEnabled, d.lblPeriodsEnabled), std::pair(dynamic, dynamic));
    EXPECT_EQ(std::pair(d.cmbWidthEnabled, d.lblWidthEnabled), std::pair(o.WindowAnalysis, o.WindowAnalysis));
}

class ModelDialog : public testing::Test {
protected:
    // The dialog's load over the options of an earlier model: the defaults
    // come back, the period set-up stays (it belongs to the data load and to
    // Start), both lists have one unselected item per DMU.
    ModelDialogState &load(bool weights)
    {
        loadData(workspace, 4);
        if (weights)
            withWeights(workspace, 3);
        workspace.options = {.Structure = ModelStructure::FDH, .ReturnsToScale = ModelReturns::NIR,
                             .Orientation = ModelOrientation::NON, .Distance = ModelDistance::MINAV, .Superefficiency = false,
                             .WindowAnalysis = true, .Periods = 2, .WindowWidth = 2, .DMUsPerPeriod = 2, .ModelName = "before"};
        ModelDialogState &d = workspace.modelDialog();
        EXPECT_EQ(describe(d), "Convex Constant Input Radial None super on WR " + std::string(weights ? "on" : "off")
                                   + " eval none tech none periods 1 width 1");
        EXPECT_EQ(std::tuple(workspace.options.Superefficiency, workspace.options.Periods, workspace.options.DMUsPerPeriod,
                             d.lstEval.size(), d.ActiveList),
                  std::tuple(true, 2, 2, 4, ListKind::Technology));
        expectPermitted(d, workspace);
        return freshDialog(workspace);
    }
    Workspace workspace;
};

class DialogClicks : public ModelDialog, public testing::WithParamInterface<std::vector<std::string>> {};

// The cases of fixtures/model-dialog/clicks.txt: weights loaded or not, what
// the user does, the dialog after it.
TEST_P(DialogClicks, LeaveTheDialogInThePermittedState)
{
    ModelDialogState &d = load(GetParam().at(0) == "yes");
    act(d, GetParam().at(1));
    EXPECT_EQ(describe(d), GetParam().at(2));
    expectPermitted(d, workspace);
}

INSTANTIATE_TEST_SUITE_P(CaseFile, DialogClicks, testing::ValuesIn(caseLines("model-dialog/clicks.txt")));

// With weights and prices loaded, Start now and then along the way.
TEST_F(ModelDialog, LongRandomClickSequencesKeepEveryPermittedCombination)
{
    load(true);
    withPrices(workspace);
    ModelDialogState &d = freshDialog(workspace);
    RecordingFeedback feedback;
    std::mt19937 random(20240611);
    for (int step = 0; step < 3000 && !HasFailure(); ++step) {
        // The user ticks and unticks the boxes now and then, while they are enabled.
        d.chbSuper.checked ^= step % 7 == 0 && d.chbSuper.enabled;
        d.chbWR.checked ^= step % 11 == 0 && d.chbWR.enabled;
        const int b = static_cast<int>(random() % AllOptionButtonCount);
        d.click(static_cast<OptionButton>(b));
        SCOPED_TRACE("after " + std::string(ButtonNames[b]) + " at step " + std::to_string(step));
        expectPermitted(d, workspace);
        const bool dynamic = workspace.options.WindowAnalysis || workspace.options.Malmquist;
        EXPECT_TRUE(!dynamic || ranges(d.lstEval) + " " + ranges(d.lstTech) == "1-4 1-4");
        if (step % 97 == 0 && !dynamic) {
            const ModelOptions before = workspace.options;
            ASSERT_TRUE(d.cmdStart(feedback).started);
            EXPECT_EQ(workspace.options.ModelName, before.modelName());
            EXPECT_FALSE(before.priced() && (workspace.options.RestrictWeights || workspace.options.Superefficiency));
        }
    }
}

// Start over the data of a case of fixtures/model-dialog/start-*.txt:
// "DMUs inputs weight-columns" and what the user does in the dialog first.
class Start : public testing::TestWithParam<std::vector<std::string>> {
protected:
    StartResult start()
    {
        int numDMU = 0, inputs = 0, weights = 0;
        std::istringstream(GetParam().at(0)) >> numDMU >> inputs >> weights;
        loadData(workspace, numDMU, inputs);
        if (weights)
            withWeights(workspace, weights);
        act(freshDialog(workspace), GetParam().at(1));
        // Values Start must set, or leave alone when it refuses.
        workspace.options.ModelName = "before";
        workspace.options.RestrictWeights = workspace.options.Superefficiency = false;
        return workspace.modelDialog().cmdStart(feedback);
    }
    Workspace workspace;
    RecordingFeedback feedback;
};

class StartRuns : public Start {};

TEST_P(StartRuns, AreTheRunsOfTheModelAndPeriods)
{
    const StartResult result = start();
    EXPECT_EQ(feedback.messages, std::vector<std::string>{});
    EXPECT_TRUE(result.started);
    ModelDialogState &d = workspace.modelDialog();
    std::string runs = std::string(workspace.options.Superefficiency ? "super " : "")
        + (workspace.options.RestrictWeights ? "WR " : "") + "lists " + ranges(d.lstEval) + "/" + ranges(d.lstTech);
    PlannedRun run; // one buffer for every run, as the application fills them
    for (int t = 0; t < result.runs.count(); ++t) {
        result.runs.fill(t, run);
        runs += "; " + run.caption + " " + ranges(run.eval) + "/" + ranges(run.tech);
    }
    d.finishSeries();
    EXPECT_EQ(runs + "; after " + ranges(d.lstEval) + "/" + ranges(d.lstTech), GetParam().at(2));
}

INSTANTIATE_TEST_SUITE_P(CaseFile, StartRuns, testing::ValuesIn(caseLines("model-dialog/start-runs.txt")));

class StartRefusals : public Start {};

TEST_P(StartRefusals, TellWhyAndChangeNoSetting)
{
    const StartResult result = start();
    const ModelOptions &o = workspace.options;
    EXPECT_EQ(feedback.messages, std::vector<std::string>{GetParam().at(2)});
    EXPECT_FALSE(result.started || result.runs.count() || o.RestrictWeights || o.Superefficiency);
    EXPECT_EQ(std::pair(o.ModelName, o.Periods), std::pair(std::string("before"), 1));
    EXPECT_EQ(describe(workspace.modelDialog()), GetParam().at(3));
    expectPermitted(workspace.modelDialog(), workspace);
}

INSTANTIATE_TEST_SUITE_P(CaseFile, StartRefusals, testing::ValuesIn(caseLines("model-dialog/start-refusals.txt")));

// Windows are made when asked for: a series of 100000 never holds them all.
TEST(StartRuns, ALongSeriesGivesEachWindowWhenAskedForIt)
{
    Workspace workspace;
    loadData(workspace, 100000, 1);
    act(freshDialog(workspace), "WA periods=100000 width=3");
    RecordingFeedback feedback;
    const RunSeries runs = workspace.modelDialog().cmdStart(feedback).runs;
    ASSERT_EQ(runs.count(), 100000);
    const PlannedRun last = runs.run(99999), late = runs.run(99997);
    EXPECT_EQ(last.caption + " " + ranges(last.eval) + "/" + ranges(last.tech) + " " + ranges(late.eval),
              "f_CRS_RAD_IN_Window99999 100000/100000 99998-100000");
}

// The model names, composed by hand from the codes of each choice: every
// convex combination reached by clicking its buttons, after a pass through
// FDH that must leave nothing behind, then the two FDH models. The batch
// tool's buttons for each name, clicked away from the defaults, compose it too.
TEST(ModelNames, AreTheCodesOfTheChoicesInOrderAndTheBatchToolsNamesTheSame)
{
    using Code = std::pair<const char *, const char *>; // button, code
    const Code returns[] = {{"Constant", "CRS"}, {"Variable", "VRS"}, {"Ndr", "NDR"}, {"Nir", "NIR"}},
        distances[] = {{"Radial", "RAD"}, {"Additiv", "ADD"}, {"Maxaverage", "MAXAV"}, {"Minaverage", "MINAV"}},
        orientations[] = {{"Input", "IN"}, {"Output", "OUT"}, {"Non", "NON"}};
    std::vector<std::pair<std::string, std::string>> models; // steps, name
    for (auto [rts, rtsCode] : returns)
        for (auto [distance, distanceCode] : distances)
            for (auto [orientation, orientationCode] : orientations)
                models.emplace_back(std::string("Nonconvex Convex ") + rts + " " + distance + " " + orientation,
                                    std::string(rtsCode) + "_" + distanceCode + "_" + orientationCode);
    models.emplace_back("Nir Non Minaverage Nonconvex", "FDH_RAD_IN");
    models.emplace_back("Additiv Output Nonconvex", "FDH_RAD_OUT");
    std::vector<std::string> names;
    for (const auto &[steps, name] : models) {
        Workspace workspace;
        loadData(workspace, 3);
        act(freshDialog(workspace), steps);
        RecordingFeedback feedback;
        ASSERT_TRUE(workspace.modelDialog().cmdStart(feedback).started) << steps;
        EXPECT_EQ(workspace.options.ModelName, name) << steps;
        act(freshDialog(workspace), "Nonconvex Output");
        for (OptionButton b : buttonsForModelName(name).value_or(std::vector<OptionButton>{}))
            workspace.modelDialog().click(b);
        EXPECT_EQ(workspace.options.modelName(), name);
        names.push_back(name);
    }
    EXPECT_EQ(allModelNames(), names);
    for (const char *unknown : {"FDH_RAD_NON", "FDH_ADD_IN", "crs_rad_in", "CRS_RAD", "CRS_RAD_IN_", "", "CRS_COST_OUT",
                                "VRS_REV_IN", "FDH_COST_IN", "CRS_COST_NON"})
        EXPECT_FALSE(buttonsForModelName(unknown)) << unknown;
}

} // namespace
} // namespace zelvar::test
