#include "support/TestSupport.h"

#include "session/ModelNames.h"
#include "session/NegativeData.h"
#include "session/Workspace.h"

#include <gtest/gtest.h>

namespace zelvar {
namespace {

// Three DMUs of two inputs and one output; DMU 2's second input is -1.5.
void loadNegativeData(Workspace &workspace)
{
    workspace.data = test::makeData({{{1, 2}, {3}}, {{2, -1.5}, {4}}, {{3, 1}, {-2}}});
    workspace.data.InputNames = {"", "{I}Staff", "{IN}Space"};
    workspace.data.OutputNames = {"", "{O}Loans"};
    workspace.data.DMUNames[2] = "    Mill Lane";
}

struct NoteCase {
    const char *model;
    std::vector<int> eval; // DMUs evaluated, the technology the same; none: a window analysis
    const char *first;     // "DMU d (name) ... column: value", empty: no note
};

class NegativeDataNote : public testing::TestWithParam<NoteCase> {};

TEST_P(NegativeDataNote, NamesTheFirstNegativeValueOfTheModelsThatAssumeNone)
{
    const NoteCase &c = GetParam();
    Workspace workspace;
    loadNegativeData(workspace);
    ModelDialogState &dialog = workspace.modelDialog();
    const std::vector<OptionButton> buttons = buttonsForModelName(c.model).value();
    for (OptionButton button : buttons)
        dialog.click(button);
    dialog.lstEval.selectAll(c.eval.empty());
    dialog.lstTech.selectAll(c.eval.empty());
    for (int d : c.eval) {
        dialog.lstEval.select(d, true);
        dialog.lstTech.select(d, true);
    }
    if (c.eval.empty()) {
        dialog.click(OptionButton::optWA);
        dialog.cmbPeriodsIndex = 2;
    }
    test::RecordingFeedback feedback;
    const StartResult start = dialog.cmdStart(feedback);
    ASSERT_TRUE(start.started);
    const std::string note = std::string(c.first).empty()
        ? std::string()
        : std::string(c.first) + ".\nThe " + c.model
            + " model assumes inputs and outputs of at least 0: with negative data its scores are not "
              "meaningful and may not be finite (big). The additive models (ADD) take negative data.";
    EXPECT_EQ(negativeDataNote(workspace.data, workspace.options, start.runs), note);
}

INSTANTIATE_TEST_SUITE_P(
    Models, NegativeDataNote,
    testing::Values(NoteCase{"CRS_RAD_IN", {1, 2, 3}, "DMU 2 (Mill Lane) holds a negative value in column {IN}Space: -1.5"},
                    NoteCase{"VRS_MAXAV_OUT", {1, 3}, "DMU 3 (D3) holds a negative value in column {O}Loans: -2"},
                    NoteCase{"FDH_RAD_OUT", {2}, "DMU 2 (Mill Lane) holds a negative value in column {IN}Space: -1.5"},
                    NoteCase{"NIR_MINAV_NON", {1}, ""}, NoteCase{"CRS_ADD_NON", {1, 2, 3}, ""},
                    // Three windows of one period each: every period counts.
                    NoteCase{"CRS_RAD_OUT", {}, "DMU 2 (Mill Lane) holds a negative value in column {IN}Space: -1.5"},
                    NoteCase{"VRS_ADD_IN", {2, 3}, ""}),
    [](const auto &item) { return std::string(item.param.model) + (item.param.eval.empty() ? "_Windows" : ""); });

} // namespace
} // namespace zelvar
