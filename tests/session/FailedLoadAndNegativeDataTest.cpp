#include "support/SameData.h"
#include "support/TestSupport.h"

#include "session/DataCommands.h"
#include "session/ModelNames.h"
#include "session/NegativeData.h"
#include "session/Workspace.h"

#include <gtest/gtest.h>

namespace zelvar {
namespace {

using enum OptionButton;

std::string fixture(const std::string &name) { return std::string(ZELVAR_FIXTURES) + "/" + name; }

// Every way a load can fail leaves the session as it was: the data and
// their names, the data file's name the captions use, the status texts and
// the model dialog with the choices made in it. Only the next open dialog
// starts from the file that failed.
class FailedLoad : public testing::TestWithParam<const char *> {};

TEST_P(FailedLoad, LeavesTheLoadedDataSetStatusAndDialogWhole)
{
    Workspace workspace;
    test::RecordingFeedback feedback;
    const std::string banks = std::string(ZELVAR_EXAMPLES) + "/banks.txt";
    ASSERT_TRUE(openDataFile(workspace, banks, feedback));
    ModelDialogState &dialog = workspace.modelDialog();
    dialog.click(optVariable);
    dialog.lstEval.select(3, false);
    const DataSet before = workspace.data;
    const StatusTexts status = workspace.status;

    const std::string path = fixture(GetParam());
    feedback.messages.clear();
    EXPECT_FALSE(openDataFile(workspace, path, feedback));
    ASSERT_EQ(feedback.messages.size(), 1u);

    test::expectSameTable(workspace.data, before);
    EXPECT_EQ(workspace.data.DataFileName, banks);
    EXPECT_EQ(workspace.data.DataFileStem, before.DataFileStem);
    EXPECT_EQ(workspace.status.panel1, status.panel1);
    EXPECT_EQ(workspace.status.DataStatus, status.DataStatus);
    EXPECT_EQ(workspace.openDialogFile, path);
    ASSERT_TRUE(workspace.hasModelDialog());
    EXPECT_EQ(&workspace.modelDialog(), &dialog);
    EXPECT_TRUE(dialog.isSelected(optVariable));
    EXPECT_EQ(dialog.lstEval.selectedCount(), 19);
    // A run still names the data file.
    const StartResult start = dialog.cmdStart(feedback);
    ASSERT_TRUE(start.started);
    EXPECT_EQ(start.runs.caption(0), banks + "_VRS_RAD_IN");
}

INSTANTIATE_TEST_SUITE_P(Files, FailedLoad,
                         testing::Values("text/empty.txt", "text/inputs-only.txt", "text/header-only.txt",
                                         "text/bad-cell.txt", "text/unknown-column.txt", "text/missing.txt",
                                         "no-schema/data.csv", "workbooks/truncated.xlsx"));

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
