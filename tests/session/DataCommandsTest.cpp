#include "support/DataFiles.h"
#include "support/SameData.h"
#include "support/TestSupport.h"

#include "session/DataCommands.h"
#include "session/Workspace.h"

#include <gtest/gtest.h>

namespace zelvar::test {
namespace {

using Texts = std::vector<std::string>;

// Records the busy pointer ("busy", "idle") and the messages in their order:
// the pointer goes before a message shows.
struct Recorder : RecordingFeedback {
    void busy(bool on) override { events.push_back(on ? "busy" : "idle"); }
    void message(const std::string &text) override { events.push_back(text); }
    Texts events;
};

auto weightsOf(const DataSet &d)
{
    return std::tuple(d.WeightsFileName, d.WeightsName, d.NumWeightRows, d.WeightNonzeros, d.WeightRestrictions);
}

class DataCommands : public testing::Test {
protected:
    // The bank sample (20 branches, 2 inputs, 2 outputs) and its restrictions.
    void loadBanks()
    {
        ASSERT_TRUE(openDataFile(workspace, example("banks.txt"), feedback));
        ASSERT_TRUE(openWeightsFile(workspace, example("banks-weights.txt"), feedback));
        ASSERT_EQ(feedback.events, (Texts{"busy", "idle", "busy", "idle"}));
        feedback.events.clear();
    }
    // The model dialog's weights box: ticked and enabled, or neither.
    bool weightsBox()
    {
        const CheckBoxState box = workspace.modelDialog().chbWR;
        EXPECT_EQ(box.checked, box.enabled);
        return box.checked;
    }
    Workspace workspace;
    Recorder feedback;
};

TEST_F(DataCommands, LoadingDataFillsTheDataSetAndStatusAndLoadsTheModelDialogAfreshWithTheWeightsKept)
{
    loadBanks();
    const DataSet before = workspace.data;
    // A window analysis set up before goes back to one period.
    workspace.options = {.WindowAnalysis = true, .Periods = 4, .WindowWidth = 2, .DMUsPerPeriod = 5, .ModelName = {}};
    const std::string path = fixture("text/order.txt");
    EXPECT_TRUE(openDataFile(workspace, path, feedback));
    EXPECT_EQ(feedback.events, (Texts{"busy", "idle"}));
    EXPECT_EQ(std::pair(workspace.data.NumDMU, workspace.data.DataFileName), std::pair(3, path));
    EXPECT_EQ(workspace.status.DataStatus, "Input Output Data " + path);
    EXPECT_EQ(workspace.status.panel1, workspace.status.DataStatus);
    const ModelOptions &o = workspace.options;
    EXPECT_EQ(std::tuple(o.WindowAnalysis, o.Periods, o.WindowWidth, o.DMUsPerPeriod), std::tuple(false, 1, 1, 3));
    const ModelDialogState &dialog = workspace.modelDialog();
    EXPECT_EQ(std::pair(dialog.lstEval.selectedCount(), dialog.lstTech.selectedCount()), std::pair(3, 3));
    // The restrictions belong to no one data file, even one with other columns.
    EXPECT_EQ(weightsOf(workspace.data), weightsOf(before));
    EXPECT_EQ(workspace.status.panel2, "Weight Restriction " + example("banks-weights.txt"));
    EXPECT_TRUE(weightsBox());
}

class RefusedLoads : public DataCommands, public testing::WithParamInterface<RefusedFile> {};

// Every file of fixtures/refused-files.txt loaded over the bank sample and its
// restrictions: the data set, its file name (the captions of later runs) and
// the status line stay as they were, the restrictions too, and the model
// dialog with the choices made in it. Only the next open dialog starts from
// the file that failed.
TEST_P(RefusedLoads, LeaveTheLoadedDataWeightsAndDialogWhole)
{
    loadBanks();
    ModelDialogState &dialog = workspace.modelDialog();
    dialog.click(OptionButton::optVariable);
    dialog.lstEval.select(3, false);
    const DataSet before = workspace.data;
    const StatusTexts status = workspace.status;
    const RefusedFile &c = GetParam();
    const bool data = c.reader == "data";
    EXPECT_FALSE(data ? openDataFile(workspace, c.path, feedback) : openWeightsFile(workspace, c.path, feedback));
    EXPECT_EQ(feedback.events, (Texts{"busy", "idle", c.message}));
    EXPECT_EQ(weightsOf(workspace.data), weightsOf(before));
    EXPECT_EQ(workspace.status.panel2, status.panel2);
    EXPECT_TRUE(weightsBox());
    EXPECT_EQ(workspace.data.DataFileName, before.DataFileName);
    expectSameTable(workspace.data, before);
    EXPECT_EQ(workspace.data.DataFileStem + "|" + workspace.status.panel1, before.DataFileStem + "|" + status.panel1);
    EXPECT_EQ(workspace.openDialogFile, data ? c.path : example("banks.txt"));
    ASSERT_EQ(&workspace.modelDialog(), &dialog);
    EXPECT_TRUE(dialog.isSelected(OptionButton::optVariable));
    EXPECT_EQ(dialog.lstEval.selectedCount(), 19);
    const StartResult start = dialog.cmdStart(feedback);
    ASSERT_TRUE(start.started);
    EXPECT_EQ(start.runs.caption(0).rfind(example("banks.txt") + "_VRS_RAD_IN", 0), 0u) << start.runs.caption(0);
}

INSTANTIATE_TEST_SUITE_P(CaseFile, RefusedLoads, testing::ValuesIn(refusedFiles()));

TEST_F(DataCommands, LoadingWeightsSetsTheTableStatusAndWeightsBoxAndClosingThemEmptiesAll)
{
    ASSERT_TRUE(openDataFile(workspace, example("banks.txt"), feedback));
    EXPECT_FALSE(weightsBox());
    const std::string path = example("banks-weights.xls");
    EXPECT_TRUE(canOpenWeights(workspace, feedback) && openWeightsFile(workspace, path, feedback));
    EXPECT_EQ(std::tuple(workspace.data.WeightsFileName, workspace.data.WeightsName, workspace.data.weightsFitData()),
              std::tuple(path, std::string("banks-weights"), true));
    EXPECT_EQ(workspace.status.WeightsStatus, "Weight Restriction " + path);
    EXPECT_EQ(workspace.status.panel2, workspace.status.WeightsStatus);
    EXPECT_TRUE(weightsBox());
    workspace.discardModelDialog(); // closing creates it
    closeWeights(workspace, feedback);
    EXPECT_EQ(feedback.events, (Texts{"busy", "idle", "busy", "idle"}));
    const DataSet &data = workspace.data;
    EXPECT_TRUE(!data.weightsLoaded() && data.NumWeightRows == 0 && data.WeightRestrictions.empty());
    EXPECT_EQ(workspace.status.panel2, "");
    EXPECT_FALSE(weightsBox());
    EXPECT_EQ(workspace.data.NumDMU, 20);
}

TEST_F(DataCommands, WeightsNeedLoadedData)
{
    EXPECT_FALSE(canOpenWeights(workspace, feedback));
    EXPECT_FALSE(openWeightsFile(workspace, example("banks-weights.txt"), feedback));
    closeWeights(workspace, feedback);
    const std::string first = "Please load first input output data (Ctrl+O).";
    EXPECT_EQ(feedback.events, (Texts{first, first, "Please load data."}));
    EXPECT_FALSE(workspace.data.weightsLoaded());
}

} // namespace
} // namespace zelvar::test
