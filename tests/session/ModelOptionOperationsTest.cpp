#include "DialogTestSupport.h"

#include <gtest/gtest.h>

#include <random>

namespace zelvar {
namespace {

using namespace dialogtest;
using enum OptionButton;

constexpr OptionButton AllButtons[] = {
    optConvex, optNonconvex, optConstant, optVariable, optNdr, optNir, optInput, optOutput,
    optNon, optRadial, optAdditiv, optMaxaverage, optMinaverage, optNone, optWA, optMalmquist,
};
constexpr OptionButton ConvexOnlyButtons[] = {
    optConstant, optVariable, optNdr, optNir, optNon, optAdditiv, optMaxaverage, optMinaverage,
};

class ModelOptionOperations : public ::testing::Test {
protected:
    ModelOptionOperations() { loadData(workspace, 12); }
    ModelDialogState &dialog() { return freshDialog(workspace); }
    const ModelOptions &options() const { return workspace.options; }

    Workspace workspace;
};

// ---- Load ---------------------------------------------------------------

TEST_F(ModelOptionOperations, loading_the_dialog_brings_back_the_default_model)
{
    ModelOptions &o = workspace.options;
    o.Structure = ModelStructure::FDH;
    o.ReturnsToScale = ModelReturns::NIR;
    o.Orientation = ModelOrientation::NON;
    o.Distance = ModelDistance::MINAV;
    o.Superefficiency = false;
    o.WindowAnalysis = true;
    o.Periods = 4;
    o.DMUsPerPeriod = 3;

    workspace.discardModelDialog();
    ModelDialogState &d = workspace.modelDialog();

    EXPECT_EQ(o.Structure, ModelStructure::Convex);
    EXPECT_EQ(o.ReturnsToScale, ModelReturns::CRS);
    EXPECT_EQ(o.Orientation, ModelOrientation::IN);
    EXPECT_EQ(o.Distance, ModelDistance::RAD);
    EXPECT_TRUE(o.Superefficiency);
    EXPECT_FALSE(o.WindowAnalysis);
    EXPECT_FALSE(o.Malmquist);
    // The period set-up belongs to the data-file load and to Start.
    EXPECT_EQ(o.Periods, 4);
    EXPECT_EQ(o.DMUsPerPeriod, 3);

    for (OptionButton b : AllButtons) {
        const bool initial = b == optConvex || b == optConstant || b == optInput || b == optRadial
            || b == optNone;
        EXPECT_EQ(d.isSelected(b), initial) << static_cast<int>(b);
        EXPECT_TRUE(d.isEnabled(b)) << static_cast<int>(b);
    }
    EXPECT_TRUE(d.chbSuper.checked);
    EXPECT_TRUE(d.chbSuper.enabled);
}

TEST_F(ModelOptionOperations, loading_sizes_both_lists_by_the_DMUs_with_nothing_selected)
{
    workspace.discardModelDialog();
    ModelDialogState &d = workspace.modelDialog();
    EXPECT_EQ(d.lstEval.size(), 12);
    EXPECT_EQ(d.lstTech.size(), 12);
    EXPECT_EQ(d.lstEval.selectedCount(), 0);
    EXPECT_EQ(d.lstTech.selectedCount(), 0);
    EXPECT_EQ(d.cmbPeriodsIndex, 0);
    EXPECT_EQ(d.cmbWidthIndex, 0);
    EXPECT_FALSE(d.cmbPeriodsEnabled || d.lblPeriodsEnabled || d.cmbWidthEnabled || d.lblWidthEnabled);
    EXPECT_TRUE(d.lstEvalEnabled && d.lstTechEnabled && d.lblEvaluationEnabled
                && d.lblTechnologyEnabled);
    EXPECT_EQ(d.ActiveList, ListKind::Technology);
}

TEST_F(ModelOptionOperations, the_weights_box_is_ticked_and_enabled_exactly_when_weights_are_loaded)
{
    ModelDialogState &without = dialog();
    EXPECT_FALSE(without.chbWR.checked);
    EXPECT_FALSE(without.chbWR.enabled);

    withWeights(workspace, 3);
    ModelDialogState &with = dialog();
    EXPECT_TRUE(with.chbWR.checked);
    EXPECT_TRUE(with.chbWR.enabled);
}

// ---- Codes of the plain option groups ------------------------------------

struct CodeCase {
    OptionButton button;
    int part; // of the model name: 0 returns to scale, 1 distance, 2 orientation
    const char *code;
};

class OptionCodes : public ModelOptionOperations, public ::testing::WithParamInterface<CodeCase> {};

TEST_P(OptionCodes, a_button_sets_its_code_and_is_the_only_one_selected_in_its_group)
{
    const CodeCase c = GetParam();
    ModelDialogState &d = dialog();
    // Start from a different choice in every group so that each click changes something.
    for (OptionButton b : {optNir, optNon, optMaxaverage})
        if (b != c.button)
            d.click(b);
    d.click(c.button);
    std::vector<std::string> parts{""};
    for (char ch : options().modelName())
        if (ch == '_')
            parts.emplace_back();
        else
            parts.back().push_back(ch);
    EXPECT_EQ(parts.at(static_cast<std::size_t>(c.part)), c.code);
    EXPECT_TRUE(d.isSelected(c.button));
    int selectedInGroup = 0;
    for (OptionButton b : AllButtons)
        if (d.isSelected(b) && b != c.button
            && ((c.part == 0 && b >= optConstant && b <= optNir) || (c.part == 2 && b >= optInput && b <= optNon)
                || (c.part == 1 && b >= optRadial && b <= optMinaverage)))
            ++selectedInGroup;
    EXPECT_EQ(selectedInGroup, 0);
}

INSTANTIATE_TEST_SUITE_P(
    EveryButton, OptionCodes,
    ::testing::Values(CodeCase{optConstant, 0, "CRS"},
                      CodeCase{optVariable, 0, "VRS"},
                      CodeCase{optNdr, 0, "NDR"},
                      CodeCase{optNir, 0, "NIR"},
                      CodeCase{optInput, 2, "IN"},
                      CodeCase{optOutput, 2, "OUT"},
                      CodeCase{optNon, 2, "NON"},
                      CodeCase{optRadial, 1, "RAD"},
                      CodeCase{optAdditiv, 1, "ADD"},
                      CodeCase{optMaxaverage, 1, "MAXAV"},
                      CodeCase{optMinaverage, 1, "MINAV"}));

// ---- Superefficiency follows the distance --------------------------------

struct SuperCase {
    OptionButton distance;
    bool superChecked;
    bool superEnabled;
};

class SuperefficiencyBox : public ModelOptionOperations,
                           public ::testing::WithParamInterface<SuperCase> {};

TEST_P(SuperefficiencyBox, only_radial_distances_offer_superefficiency)
{
    const SuperCase c = GetParam();
    ModelDialogState &d = dialog();
    d.chbSuper.checked = false; // the user's untick is overridden by choosing radial again
    d.click(optAdditiv);
    d.click(c.distance);
    EXPECT_EQ(d.chbSuper.checked, c.superChecked);
    EXPECT_EQ(d.chbSuper.enabled, c.superEnabled);
}

INSTANTIATE_TEST_SUITE_P(EveryDistance, SuperefficiencyBox,
                         ::testing::Values(SuperCase{optRadial, true, true},
                                           SuperCase{optAdditiv, false, false},
                                           SuperCase{optMaxaverage, false, false},
                                           SuperCase{optMinaverage, false, false}));

TEST_F(ModelOptionOperations, returns_to_scale_and_orientation_leave_the_superefficiency_choice_alone)
{
    ModelDialogState &d = dialog();
    d.chbSuper.checked = false;
    for (OptionButton b : {optVariable, optNdr, optOutput, optNon, optConstant, optInput})
        d.click(b);
    EXPECT_FALSE(d.chbSuper.checked);
    EXPECT_TRUE(d.chbSuper.enabled);
}

// ---- Structure -------------------------------------------------------------

TEST_F(ModelOptionOperations, nonconvex_turns_a_nonoriented_model_input_oriented)
{
    ModelDialogState &d = dialog();
    d.click(optNon);
    d.click(optNonconvex);
    EXPECT_EQ(options().Structure, ModelStructure::FDH);
    EXPECT_EQ(options().Orientation, ModelOrientation::IN);
    EXPECT_TRUE(d.isSelected(optInput));
    EXPECT_FALSE(d.isSelected(optNon));
}

TEST_F(ModelOptionOperations, nonconvex_keeps_an_output_orientation)
{
    ModelDialogState &d = dialog();
    d.click(optOutput);
    d.click(optNonconvex);
    EXPECT_EQ(options().Orientation, ModelOrientation::OUT);
    EXPECT_TRUE(d.isSelected(optOutput));
}

TEST_F(ModelOptionOperations, nonconvex_makes_an_additive_model_radial_without_superefficiency)
{
    ModelDialogState &d = dialog();
    d.click(optAdditiv);
    d.click(optNonconvex);
    EXPECT_EQ(options().Distance, ModelDistance::RAD);
    EXPECT_TRUE(d.isSelected(optRadial));
    EXPECT_FALSE(d.isSelected(optAdditiv));
    EXPECT_FALSE(d.chbSuper.checked);
    EXPECT_FALSE(d.chbSuper.enabled);
}

TEST_F(ModelOptionOperations, nonconvex_from_radial_also_switches_superefficiency_off)
{
    ModelDialogState &d = dialog();
    d.click(optNonconvex);
    EXPECT_FALSE(d.chbSuper.checked);
    EXPECT_FALSE(d.chbSuper.enabled);
}

TEST_F(ModelOptionOperations, nonconvex_leaves_only_radial_input_and_output_available)
{
    withWeights(workspace, 3);
    ModelDialogState &d = dialog();
    d.click(optNonconvex);
    for (OptionButton b : ConvexOnlyButtons)
        EXPECT_FALSE(d.isEnabled(b)) << static_cast<int>(b);
    for (OptionButton b : {optConvex, optNonconvex, optRadial, optInput, optOutput, optNone, optWA,
                           optMalmquist})
        EXPECT_TRUE(d.isEnabled(b)) << static_cast<int>(b);
    EXPECT_FALSE(d.chbWR.enabled);
}

TEST_F(ModelOptionOperations, returns_to_scale_keeps_its_value_under_the_nonconvex_structure)
{
    ModelDialogState &d = dialog();
    d.click(optNdr);
    d.click(optNonconvex);
    EXPECT_EQ(options().ReturnsToScale, ModelReturns::NDR);
    EXPECT_TRUE(d.isSelected(optNdr));
    d.click(optConvex);
    EXPECT_EQ(options().ReturnsToScale, ModelReturns::NDR);
}

TEST_F(ModelOptionOperations, back_to_convex_everything_is_available_and_superefficiency_is_ticked)
{
    ModelDialogState &d = dialog();
    d.click(optNonconvex);
    d.click(optConvex);
    EXPECT_EQ(options().Structure, ModelStructure::Convex);
    for (OptionButton b : AllButtons)
        EXPECT_TRUE(d.isEnabled(b)) << static_cast<int>(b);
    EXPECT_TRUE(d.chbSuper.checked);
    EXPECT_TRUE(d.chbSuper.enabled);
    EXPECT_FALSE(d.chbWR.enabled); // no weights loaded
}

TEST_F(ModelOptionOperations, convex_with_a_non_radial_distance_keeps_superefficiency_off)
{
    ModelDialogState &d = dialog();
    d.click(optMaxaverage);
    d.click(optConvex);
    EXPECT_FALSE(d.chbSuper.checked);
    EXPECT_FALSE(d.chbSuper.enabled);
}

class WeightsBoxAcrossStructures : public ModelOptionOperations,
                                   public ::testing::WithParamInterface<bool> {};

TEST_P(WeightsBoxAcrossStructures, the_weights_box_keeps_its_tick_through_nonconvex_and_back)
{
    const bool ticked = GetParam();
    withWeights(workspace, 3);
    ModelDialogState &d = dialog();
    d.chbWR.checked = ticked;
    d.click(optNonconvex);
    EXPECT_EQ(d.chbWR.checked, ticked);
    EXPECT_FALSE(d.chbWR.enabled);
    d.click(optConvex);
    EXPECT_EQ(d.chbWR.checked, ticked);
    EXPECT_TRUE(d.chbWR.enabled);
}

INSTANTIATE_TEST_SUITE_P(TickedOrNot, WeightsBoxAcrossStructures, ::testing::Bool());

TEST_F(ModelOptionOperations, a_click_on_a_disabled_button_changes_nothing)
{
    ModelDialogState &d = dialog();
    d.click(optNonconvex);
    d.click(optAdditiv);
    d.click(optNon);
    d.click(optVariable);
    EXPECT_EQ(options().Distance, ModelDistance::RAD);
    EXPECT_EQ(options().Orientation, ModelOrientation::IN);
    EXPECT_EQ(options().ReturnsToScale, ModelReturns::CRS);
    EXPECT_TRUE(d.isSelected(optRadial));
    EXPECT_TRUE(d.isSelected(optInput));
    EXPECT_TRUE(d.isSelected(optConstant));
}

TEST_F(ModelOptionOperations, radial_clicked_again_under_FDH_does_not_offer_superefficiency)
{
    ModelDialogState &d = dialog();
    d.click(optNonconvex);
    d.click(optRadial);
    EXPECT_FALSE(d.chbSuper.checked);
    EXPECT_FALSE(d.chbSuper.enabled);
}

TEST_F(ModelOptionOperations, clicking_the_selected_button_keeps_the_users_choices)
{
    ModelDialogState &d = dialog();
    d.chbSuper.checked = false;
    d.click(optConvex);
    d.click(optRadial);
    EXPECT_FALSE(d.chbSuper.checked);

    d.click(optWA);
    d.focus(ListKind::Evaluation);
    d.cmdClear();
    d.click(optWA);
    EXPECT_EQ(d.lstEval.selectedCount(), 0);
}

// ---- Dynamics --------------------------------------------------------------

TEST_F(ModelOptionOperations, window_analysis_takes_every_DMU_and_offers_periods_and_width)
{
    ModelDialogState &d = dialog();
    d.lstEval.selectAll(false);
    d.lstTech.select(3, false);
    d.click(optWA);
    EXPECT_TRUE(options().WindowAnalysis);
    EXPECT_FALSE(options().Malmquist);
    EXPECT_EQ(d.lstEval.selectedCount(), 12);
    EXPECT_EQ(d.lstTech.selectedCount(), 12);
    EXPECT_TRUE(d.cmbPeriodsEnabled && d.lblPeriodsEnabled && d.cmbWidthEnabled && d.lblWidthEnabled);
    EXPECT_FALSE(d.lstEvalEnabled || d.lstTechEnabled || d.lblEvaluationEnabled
                 || d.lblTechnologyEnabled);
}

TEST_F(ModelOptionOperations, malmquist_takes_every_DMU_and_fixes_the_width_at_one)
{
    ModelDialogState &d = dialog();
    d.click(optWA);
    d.cmbWidthIndex = 3;
    d.lstEval.selectAll(false);
    d.click(optMalmquist);
    EXPECT_FALSE(options().WindowAnalysis);
    EXPECT_TRUE(options().Malmquist);
    EXPECT_EQ(d.cmbWidthIndex, 0);
    EXPECT_FALSE(d.cmbWidthEnabled);
    EXPECT_FALSE(d.lblWidthEnabled);
    EXPECT_TRUE(d.cmbPeriodsEnabled);
    EXPECT_TRUE(d.lblPeriodsEnabled);
    EXPECT_EQ(d.lstEval.selectedCount(), 12);
    EXPECT_EQ(d.lstTech.selectedCount(), 12);
    EXPECT_FALSE(d.lstEvalEnabled || d.lstTechEnabled || d.lblEvaluationEnabled
                 || d.lblTechnologyEnabled);
}

TEST_F(ModelOptionOperations, none_after_a_dynamic_choice_gives_back_the_lists_with_every_DMU_selected)
{
    for (OptionButton dynamic : {optWA, optMalmquist}) {
        ModelDialogState &d = dialog();
        d.lstEval.selectRange(2, 4);
        d.click(dynamic);
        d.click(optNone);
        EXPECT_FALSE(options().WindowAnalysis);
        EXPECT_FALSE(options().Malmquist);
        EXPECT_EQ(d.lstEval.selectedCount(), 12);
        EXPECT_EQ(d.lstTech.selectedCount(), 12);
        EXPECT_TRUE(d.lstEvalEnabled && d.lstTechEnabled && d.lblEvaluationEnabled
                    && d.lblTechnologyEnabled);
        EXPECT_FALSE(d.cmbPeriodsEnabled || d.lblPeriodsEnabled || d.cmbWidthEnabled
                     || d.lblWidthEnabled);
    }
}

TEST_F(ModelOptionOperations, dynamics_combine_freely_with_the_model_choice)
{
    ModelDialogState &d = dialog();
    d.click(optVariable);
    d.click(optOutput);
    d.click(optMinaverage);
    d.chbSuper.checked = true; // whatever the user did, dynamics leave it
    for (OptionButton dynamic : {optWA, optMalmquist, optNone}) {
        d.click(dynamic);
        EXPECT_EQ(options().ReturnsToScale, ModelReturns::VRS);
        EXPECT_EQ(options().Orientation, ModelOrientation::OUT);
        EXPECT_EQ(options().Distance, ModelDistance::MINAV);
        EXPECT_TRUE(d.chbSuper.checked);
        EXPECT_TRUE(d.isSelected(optMinaverage));
    }
}

// ---- The permitted combinations hold whatever the user clicks -------------

void expectConsistent(const ModelDialogState &d, const ModelOptions &o, const std::string &where)
{
    SCOPED_TRACE(where);
    const OptionButton groups[][4] = {
        {optConvex, optNonconvex, optNonconvex, optNonconvex},
        {optConstant, optVariable, optNdr, optNir},
        {optInput, optOutput, optNon, optNon},
        {optRadial, optAdditiv, optMaxaverage, optMinaverage},
        {optNone, optWA, optMalmquist, optMalmquist},
    };
    for (const auto &group : groups) {
        int selected = 0;
        for (int i = 0; i < 4; ++i)
            if ((i == 0 || group[i] != group[i - 1]) && d.isSelected(group[i]))
                ++selected;
        EXPECT_EQ(selected, 1);
    }
    // The record matches the selected buttons.
    EXPECT_EQ(o.Structure == ModelStructure::FDH, d.isSelected(optNonconvex));
    EXPECT_EQ(o.ReturnsToScale == ModelReturns::VRS, d.isSelected(optVariable));
    EXPECT_EQ(o.ReturnsToScale == ModelReturns::NDR, d.isSelected(optNdr));
    EXPECT_EQ(o.ReturnsToScale == ModelReturns::NIR, d.isSelected(optNir));
    EXPECT_EQ(o.Orientation == ModelOrientation::OUT, d.isSelected(optOutput));
    EXPECT_EQ(o.Orientation == ModelOrientation::NON, d.isSelected(optNon));
    EXPECT_EQ(o.Distance == ModelDistance::ADD, d.isSelected(optAdditiv));
    EXPECT_EQ(o.Distance == ModelDistance::MAXAV, d.isSelected(optMaxaverage));
    EXPECT_EQ(o.Distance == ModelDistance::MINAV, d.isSelected(optMinaverage));
    EXPECT_EQ(o.WindowAnalysis, d.isSelected(optWA));
    EXPECT_EQ(o.Malmquist, d.isSelected(optMalmquist));

    EXPECT_FALSE(o.WindowAnalysis && o.Malmquist);
    if (o.Structure == ModelStructure::FDH) {
        EXPECT_EQ(o.Distance, ModelDistance::RAD);
        EXPECT_NE(o.Orientation, ModelOrientation::NON);
        EXPECT_FALSE(d.chbWR.enabled);
        for (OptionButton b : ConvexOnlyButtons)
            EXPECT_FALSE(d.isEnabled(b));
    }
    if (o.Structure == ModelStructure::FDH || o.Distance != ModelDistance::RAD) {
        EXPECT_FALSE(d.chbSuper.checked);
        EXPECT_FALSE(d.chbSuper.enabled);
    }
    if (o.WindowAnalysis || o.Malmquist) {
        EXPECT_FALSE(d.lstEvalEnabled || d.lstTechEnabled);
        EXPECT_TRUE(d.cmbPeriodsEnabled);
        EXPECT_EQ(d.cmbWidthEnabled, o.WindowAnalysis);
    } else {
        EXPECT_TRUE(d.lstEvalEnabled && d.lstTechEnabled);
        EXPECT_FALSE(d.cmbPeriodsEnabled || d.cmbWidthEnabled);
    }
}

TEST_F(ModelOptionOperations, long_random_click_sequences_keep_every_permitted_combination)
{
    withWeights(workspace, 3);
    ModelDialogState &d = dialog();
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> pick(0, OptionButtonCount - 1);
    for (int step = 0; step < 3000; ++step) {
        const OptionButton b = AllButtons[pick(random)];
        // The user toggles the check boxes now and then, while they are enabled.
        if (step % 7 == 0 && d.chbSuper.enabled)
            d.chbSuper.checked = !d.chbSuper.checked;
        d.click(b);
        expectConsistent(d, options(), "after click " + std::to_string(static_cast<int>(b))
                                           + " at step " + std::to_string(step));
        if (HasFailure())
            return;
    }
}

} // namespace
} // namespace zelvar
