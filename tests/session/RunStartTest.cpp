#include "DialogTestSupport.h"

#include "session/ModelNames.h"

#include <gtest/gtest.h>

#include <tuple>

namespace zelvar {
namespace {

using namespace dialogtest;
using enum OptionButton;

const std::string WrongPeriods = "Wrong Number of Periods (Options).";

class RunStart : public ::testing::Test {
protected:
    ModelDialogState &load(int numDMU, int inputs = 2, int outputs = 1)
    {
        loadData(workspace, numDMU, inputs, outputs);
        return freshDialog(workspace);
    }
    // Chooses the dynamic model with `periods` and `width` and starts it.
    StartResult startDynamic(ModelDialogState &d, OptionButton dynamic, int periods, int width = 1)
    {
        d.click(dynamic);
        d.cmbPeriodsIndex = periods - 1;
        if (dynamic == optWA)
            d.cmbWidthIndex = width - 1;
        return d.cmdStart(feedback);
    }

    Workspace workspace;
    RecordingFeedback feedback;
    const ModelOptions &options = workspace.options;
};

// ---- Validation of the selections ---------------------------------------

TEST_F(RunStart, an_empty_evaluation_or_technology_list_is_refused_and_nothing_changes)
{
    for (ListKind emptied : {ListKind::Evaluation, ListKind::Technology}) {
        ModelDialogState &d = load(5);
        workspace.options.ModelName = "before";
        d.click(optVariable);
        d.focus(emptied);
        d.cmdClear();
        feedback.messages.clear();
        const StartResult result = d.cmdStart(feedback);
        EXPECT_FALSE(result.started);
        EXPECT_EQ(result.runs.count(), 0);
        EXPECT_EQ(feedback.messages, std::vector<std::string>{"Please select at least one DMU!"});
        EXPECT_EQ(options.ModelName, "before");
    }
}

// ---- Model names -----------------------------------------------------------

// Every name the dialog can compose, reached by clicking its buttons.
class ModelNameCase : public RunStart,
                      public ::testing::WithParamInterface<
                          std::tuple<std::pair<OptionButton, const char *>,
                                     std::pair<OptionButton, const char *>,
                                     std::pair<OptionButton, const char *>>> {};

TEST_P(ModelNameCase, a_convex_model_is_named_returns_distance_orientation)
{
    const auto [rts, distance, orientation] = GetParam();
    ModelDialogState &d = load(4);
    // Pass through the nonconvex structure first: coming back must not
    // leave anything of it behind.
    d.click(optNonconvex);
    d.click(optConvex);
    d.click(rts.first);
    d.click(distance.first);
    d.click(orientation.first);
    ASSERT_TRUE(d.cmdStart(feedback).started);
    EXPECT_EQ(options.ModelName,
              std::string(rts.second) + "_" + distance.second + "_" + orientation.second);
}

INSTANTIATE_TEST_SUITE_P(
    EveryConvexModel, ModelNameCase,
    ::testing::Combine(::testing::Values(std::pair{optConstant, "CRS"}, std::pair{optVariable, "VRS"},
                                         std::pair{optNdr, "NDR"}, std::pair{optNir, "NIR"}),
                       ::testing::Values(std::pair{optRadial, "RAD"}, std::pair{optAdditiv, "ADD"},
                                         std::pair{optMaxaverage, "MAXAV"},
                                         std::pair{optMinaverage, "MINAV"}),
                       ::testing::Values(std::pair{optInput, "IN"}, std::pair{optOutput, "OUT"},
                                         std::pair{optNon, "NON"})));

struct FdhNameCase {
    OptionButton orientationBefore;
    OptionButton distanceBefore;
    const char *name;
};

class FdhModelName : public RunStart, public ::testing::WithParamInterface<FdhNameCase> {};

TEST_P(FdhModelName, a_nonconvex_model_is_named_FDH_RAD_and_its_orientation)
{
    const FdhNameCase c = GetParam();
    ModelDialogState &d = load(4);
    d.click(optNir);
    d.click(c.orientationBefore);
    d.click(c.distanceBefore);
    d.click(optNonconvex);
    ASSERT_TRUE(d.cmdStart(feedback).started);
    EXPECT_EQ(options.ModelName, c.name);
}

INSTANTIATE_TEST_SUITE_P(EveryFdhModel, FdhModelName,
                         ::testing::Values(FdhNameCase{optInput, optRadial, "FDH_RAD_IN"},
                                           FdhNameCase{optOutput, optAdditiv, "FDH_RAD_OUT"},
                                           FdhNameCase{optNon, optMinaverage, "FDH_RAD_IN"}));

TEST_F(RunStart, every_model_name_of_the_batch_table_is_what_its_buttons_compose)
{
    for (const std::string &name : allModelNames()) {
        ModelDialogState &d = load(3);
        d.click(optNonconvex); // start away from the defaults
        const auto buttons = buttonsForModelName(name);
        ASSERT_TRUE(buttons.has_value()) << name;
        for (OptionButton b : *buttons)
            d.click(b);
        ASSERT_TRUE(d.cmdStart(feedback).started) << name;
        EXPECT_EQ(options.ModelName, name);
    }
}

// ---- Check boxes into the record -------------------------------------------

TEST_F(RunStart, superefficiency_is_taken_from_its_box)
{
    ModelDialogState &d = load(3);
    ASSERT_TRUE(d.cmdStart(feedback).started);
    EXPECT_TRUE(options.Superefficiency);

    d.chbSuper.checked = false;
    ASSERT_TRUE(d.cmdStart(feedback).started);
    EXPECT_FALSE(options.Superefficiency);

    d.click(optAdditiv);
    d.click(optRadial);
    ASSERT_TRUE(d.cmdStart(feedback).started);
    EXPECT_TRUE(options.Superefficiency);

    d.click(optMaxaverage);
    ASSERT_TRUE(d.cmdStart(feedback).started);
    EXPECT_FALSE(options.Superefficiency);
}

// ---- Captions ----------------------------------------------------------------

TEST_F(RunStart, a_single_run_is_captioned_with_the_full_data_file_name)
{
    ModelDialogState &d = load(5);
    const StartResult result = d.cmdStart(feedback);
    ASSERT_TRUE(result.started);
    EXPECT_EQ(result.runs.kind(), SeriesKind::Single);
    ASSERT_EQ(result.runs.count(), 1);
    EXPECT_EQ(result.runs.run(0).caption, "/data/firms.xls_CRS_RAD_IN");
}

TEST_F(RunStart, a_single_run_evaluates_the_DMUs_selected_in_the_dialog)
{
    ModelDialogState &d = load(5);
    d.lstEval.selectRange(2, 3);
    d.lstTech.select(4, false);
    const StartResult result = d.cmdStart(feedback);
    ASSERT_TRUE(result.started);
    const PlannedRun run = result.runs.run(0);
    EXPECT_EQ(selectedDMUs(run.eval), (std::vector<int>{2, 3}));
    EXPECT_EQ(selectedDMUs(run.tech), (std::vector<int>{1, 2, 3, 5}));
    // The dialog keeps its selection; nothing is refilled after a single run.
    d.finishSeries();
    EXPECT_EQ(selectedDMUs(d.lstEval), (std::vector<int>{2, 3}));
    EXPECT_EQ(selectedDMUs(d.lstTech), (std::vector<int>{1, 2, 3, 5}));
}

TEST_F(RunStart, restricted_weights_add_the_weights_name_to_the_caption)
{
    loadData(workspace, 4, 2, 1);
    withWeights(workspace, 3);
    ModelDialogState &d = freshDialog(workspace);
    const StartResult result = d.cmdStart(feedback);
    ASSERT_TRUE(result.started);
    EXPECT_TRUE(options.RestrictWeights);
    EXPECT_EQ(result.runs.caption(0), "/data/firms.xls_CRS_RAD_IN_WR-limits");
}

TEST_F(RunStart, unticked_weights_are_not_restricted_and_not_named)
{
    loadData(workspace, 4, 2, 1);
    withWeights(workspace, 3);
    ModelDialogState &d = freshDialog(workspace);
    d.chbWR.checked = false;
    const StartResult result = d.cmdStart(feedback);
    ASSERT_TRUE(result.started);
    EXPECT_FALSE(options.RestrictWeights);
    EXPECT_EQ(result.runs.caption(0), "/data/firms.xls_CRS_RAD_IN");
}

TEST_F(RunStart, a_nonconvex_model_with_the_weights_box_still_ticked_keeps_the_suffix)
{
    loadData(workspace, 4, 2, 1);
    withWeights(workspace, 3);
    ModelDialogState &d = freshDialog(workspace);
    d.click(optNonconvex);
    ASSERT_FALSE(d.chbWR.enabled);
    const StartResult result = d.cmdStart(feedback);
    ASSERT_TRUE(result.started);
    EXPECT_EQ(options.ModelName, "FDH_RAD_IN");
    EXPECT_TRUE(options.RestrictWeights);
    EXPECT_EQ(result.runs.caption(0), "/data/firms.xls_FDH_RAD_IN_WR-limits");
}

TEST_F(RunStart, dynamic_runs_are_captioned_with_the_data_file_stem)
{
    ModelDialogState &d = load(4);
    const StartResult windows = startDynamic(d, optWA, 2);
    ASSERT_TRUE(windows.started);
    EXPECT_EQ(windows.runs.caption(0), "/data/firms_CRS_RAD_IN_Window0");
    EXPECT_EQ(windows.runs.caption(1), "/data/firms_CRS_RAD_IN_Window1");

    withWeights(workspace, 3);
    ModelDialogState &again = freshDialog(workspace);
    const StartResult steps = startDynamic(again, optMalmquist, 4);
    ASSERT_TRUE(steps.started);
    EXPECT_EQ(steps.runs.caption(0), "/data/firms_CRS_RAD_IN_WR-limits_Malmquist-E(0)-T(1)");
    EXPECT_EQ(steps.runs.caption(2), "/data/firms_CRS_RAD_IN_WR-limits_Malmquist-E(2)-T(3)");
}

// ---- Period arithmetic ---------------------------------------------------

TEST_F(RunStart, twelve_DMUs_in_three_periods_give_three_windows_of_width_two)
{
    ModelDialogState &d = load(12);
    const StartResult result = startDynamic(d, optWA, 3, 2);
    ASSERT_TRUE(result.started);
    EXPECT_EQ(options.Periods, 3);
    EXPECT_EQ(options.DMUsPerPeriod, 4);
    EXPECT_EQ(options.WindowWidth, 2);
    EXPECT_EQ(result.runs.kind(), SeriesKind::Window);
    ASSERT_EQ(result.runs.count(), 3);

    const std::vector<int> expected[] = {range(1, 8), range(5, 12), range(9, 12)};
    for (int t = 0; t < 3; ++t) {
        const PlannedRun run = result.runs.run(t);
        EXPECT_EQ(run.caption, "/data/firms_CRS_RAD_IN_Window" + std::to_string(t));
        EXPECT_EQ(selectedDMUs(run.eval), expected[t]) << "window " << t;
        EXPECT_EQ(selectedDMUs(run.tech), expected[t]) << "window " << t;
    }
}

TEST_F(RunStart, twelve_DMUs_in_three_periods_give_two_malmquist_steps)
{
    ModelDialogState &d = load(12);
    const StartResult result = startDynamic(d, optMalmquist, 3);
    ASSERT_TRUE(result.started);
    EXPECT_EQ(options.WindowWidth, 1);
    EXPECT_EQ(result.runs.kind(), SeriesKind::Malmquist);
    ASSERT_EQ(result.runs.count(), 2);

    const PlannedRun first = result.runs.run(0);
    EXPECT_EQ(first.caption, "/data/firms_CRS_RAD_IN_Malmquist-E(0)-T(1)");
    EXPECT_EQ(selectedDMUs(first.eval), range(1, 4));
    EXPECT_EQ(selectedDMUs(first.tech), range(5, 8));
    const PlannedRun second = result.runs.run(1);
    EXPECT_EQ(second.caption, "/data/firms_CRS_RAD_IN_Malmquist-E(1)-T(2)");
    EXPECT_EQ(selectedDMUs(second.eval), range(5, 8));
    EXPECT_EQ(selectedDMUs(second.tech), range(9, 12));
}

TEST_F(RunStart, start_preselects_the_first_window_and_the_series_end_selects_every_DMU)
{
    ModelDialogState &d = load(12);
    ASSERT_TRUE(startDynamic(d, optWA, 3, 2).started);
    EXPECT_EQ(selectedDMUs(d.lstEval), range(1, 8));
    EXPECT_EQ(selectedDMUs(d.lstTech), range(1, 8));
    d.finishSeries();
    EXPECT_EQ(d.lstEval.selectedCount(), 12);
    EXPECT_EQ(d.lstTech.selectedCount(), 12);
}

TEST_F(RunStart, one_period_of_malmquist_makes_no_run_and_leaves_every_DMU_selected)
{
    ModelDialogState &d = load(6);
    const StartResult result = startDynamic(d, optMalmquist, 1);
    ASSERT_TRUE(result.started);
    EXPECT_TRUE(feedback.messages.empty());
    EXPECT_EQ(result.runs.count(), 0);
    d.finishSeries();
    EXPECT_EQ(d.lstEval.selectedCount(), 6);
    EXPECT_EQ(d.lstTech.selectedCount(), 6);
}

TEST_F(RunStart, as_many_periods_as_DMUs_with_width_one_evaluates_each_DMU_against_itself)
{
    ModelDialogState &d = load(5);
    const StartResult result = startDynamic(d, optWA, 5, 1);
    ASSERT_TRUE(result.started);
    ASSERT_EQ(result.runs.count(), 5);
    for (int t = 0; t < 5; ++t) {
        const PlannedRun run = result.runs.run(t);
        EXPECT_EQ(selectedDMUs(run.eval), std::vector<int>{t + 1});
        EXPECT_EQ(selectedDMUs(run.tech), std::vector<int>{t + 1});
    }
}

TEST_F(RunStart, a_window_as_wide_as_all_periods_starts_with_every_DMU_and_shrinks)
{
    ModelDialogState &d = load(8);
    const StartResult result = startDynamic(d, optWA, 4, 4);
    ASSERT_TRUE(result.started);
    ASSERT_EQ(result.runs.count(), 4);
    for (int t = 0; t < 4; ++t)
        EXPECT_EQ(selectedDMUs(result.runs.run(t).eval), range(2 * t + 1, 8)) << "window " << t;
}

TEST_F(RunStart, a_long_series_gives_each_window_when_asked)
{
    ModelDialogState &d = load(100000, 1, 1);
    const StartResult result = startDynamic(d, optWA, 100000, 3);
    ASSERT_TRUE(result.started);
    ASSERT_EQ(result.runs.count(), 100000);
    PlannedRun reused;
    result.runs.fill(99997, reused);
    EXPECT_EQ(selectedDMUs(reused.eval), range(99998, 100000));
    result.runs.fill(99999, reused);
    EXPECT_EQ(reused.caption, "/data/firms_CRS_RAD_IN_Window99999");
    EXPECT_EQ(selectedDMUs(reused.eval), std::vector<int>{100000});
    EXPECT_EQ(selectedDMUs(reused.tech), std::vector<int>{100000});
}

struct WrongPeriodsCase {
    int numDMU;
    OptionButton dynamic;
    int periods;
    int width;
};

class WrongPeriodSetUp : public RunStart, public ::testing::WithParamInterface<WrongPeriodsCase> {};

TEST_P(WrongPeriodSetUp, is_refused_and_the_dynamics_go_back_to_none)
{
    const WrongPeriodsCase c = GetParam();
    ModelDialogState &d = load(c.numDMU);
    d.click(optVariable);
    d.click(optOutput);
    workspace.options.ModelName = "before";
    workspace.options.Periods = 1;

    const StartResult result = startDynamic(d, c.dynamic, c.periods, c.width);

    EXPECT_FALSE(result.started);
    EXPECT_EQ(result.runs.count(), 0);
    EXPECT_EQ(feedback.messages, std::vector<std::string>{WrongPeriods});
    EXPECT_EQ(d.cmbPeriodsIndex, 0);
    EXPECT_EQ(d.cmbWidthIndex, 0);
    EXPECT_FALSE(options.WindowAnalysis);
    EXPECT_FALSE(options.Malmquist);
    EXPECT_TRUE(d.isSelected(optNone));
    EXPECT_TRUE(d.lstEvalEnabled && d.lstTechEnabled);
    EXPECT_FALSE(d.cmbPeriodsEnabled || d.cmbWidthEnabled);
    EXPECT_EQ(d.lstEval.selectedCount(), c.numDMU);
    EXPECT_EQ(d.lstTech.selectedCount(), c.numDMU);
    // The model choice and the last start's values stay.
    EXPECT_EQ(options.ReturnsToScale, ModelReturns::VRS);
    EXPECT_EQ(options.Orientation, ModelOrientation::OUT);
    EXPECT_EQ(options.ModelName, "before");
    EXPECT_EQ(options.Periods, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WrongPeriodSetUp,
    ::testing::Values(WrongPeriodsCase{10, optWA, 3, 1},        // 3 does not divide 10
                      WrongPeriodsCase{10, optWA, 5, 6},        // wider than the periods
                      WrongPeriodsCase{10, optMalmquist, 4, 1}, // 4 does not divide 10
                      WrongPeriodsCase{10, optWA, 11, 1},       // beyond the list
                      WrongPeriodsCase{10, optWA, 0, 1}));      // nothing selected

TEST_F(RunStart, window_width_equal_to_the_periods_is_accepted)
{
    ModelDialogState &d = load(10);
    EXPECT_TRUE(startDynamic(d, optWA, 5, 5).started);
    EXPECT_TRUE(feedback.messages.empty());
}

// ---- Weights from another data set ------------------------------------------

TEST_F(RunStart, weights_with_another_column_count_are_refused_naming_file_and_counts)
{
    // Weights of a data set with 2 inputs and 1 output, then data with 4 columns.
    loadData(workspace, 6, 3, 1);
    withWeights(workspace, 3, 2, "/x/w.txt", "w");
    ModelDialogState &d = freshDialog(workspace);
    workspace.options.ModelName = "before";
    workspace.options.RestrictWeights = false;
    ASSERT_TRUE(d.chbWR.checked);

    const StartResult result = d.cmdStart(feedback);

    EXPECT_FALSE(result.started);
    EXPECT_EQ(result.runs.count(), 0);
    EXPECT_EQ(feedback.messages,
              std::vector<std::string>{
                  "The weight restrictions in /x/w.txt have 3 coefficient columns, but the data "
                  "has 4 inputs and outputs. Load matching weight restrictions or untick "
                  "Restrict weights."});
    EXPECT_EQ(options.ModelName, "before");
    EXPECT_FALSE(options.RestrictWeights);
}

TEST_F(RunStart, mismatched_weights_refuse_a_dynamic_model_before_touching_the_lists)
{
    loadData(workspace, 6, 1, 1);
    withWeights(workspace, 5);
    ModelDialogState &d = freshDialog(workspace);
    const StartResult result = startDynamic(d, optWA, 3, 1);
    EXPECT_FALSE(result.started);
    ASSERT_EQ(feedback.messages.size(), 1u);
    EXPECT_NE(feedback.messages[0].find("have 5 coefficient columns, but the data has 2"),
              std::string::npos);
    EXPECT_TRUE(options.WindowAnalysis);
    EXPECT_EQ(d.lstEval.selectedCount(), 6);
}

TEST_F(RunStart, the_free_disposal_hull_runs_with_mismatched_weights_still_ticked)
{
    // FDH never reads the restrictions; the box stays ticked but greyed out.
    loadData(workspace, 6, 3, 1);
    withWeights(workspace, 3, 2, "/x/w.txt", "w");
    ModelDialogState &d = freshDialog(workspace);
    d.click(OptionButton::optNonconvex);
    ASSERT_TRUE(d.chbWR.checked);
    const StartResult result = d.cmdStart(feedback);
    EXPECT_TRUE(result.started);
    EXPECT_TRUE(feedback.messages.empty());
    EXPECT_TRUE(result.runs.run(0).caption.ends_with("_FDH_RAD_IN_WR-w")) << result.runs.run(0).caption;
}

TEST_F(RunStart, mismatched_weights_run_once_the_box_is_unticked)
{
    loadData(workspace, 6, 3, 1);
    withWeights(workspace, 3);
    ModelDialogState &d = freshDialog(workspace);
    d.chbWR.checked = false;
    const StartResult result = d.cmdStart(feedback);
    EXPECT_TRUE(result.started);
    EXPECT_TRUE(feedback.messages.empty());
    EXPECT_FALSE(options.RestrictWeights);
}

} // namespace
} // namespace zelvar
