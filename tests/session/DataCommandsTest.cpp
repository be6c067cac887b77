#include "support/SameData.h"
#include "session/DataCommands.h"

#include "data/Feedback.h"
#include "session/Workspace.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace zelvar {
namespace {

using testing::ElementsAre;
using testing::IsEmpty;

std::string fixture(const std::string &name)
{
    return std::string(ZELVAR_FIXTURES) + "/" + name;
}

std::string example(const std::string &name)
{
    return std::string(ZELVAR_EXAMPLES) + "/" + name;
}

// Records messages and the busy pointer instead of showing them.
class Recorder : public Feedback {
public:
    void message(const std::string &text) override { messages.push_back(text); }
    bool confirm(const std::string &text) override
    {
        messages.push_back(text);
        return true;
    }
    void busy(bool on) override { pointer.push_back(on); }

    std::vector<std::string> messages;
    std::vector<bool> pointer;
};

class DataCommands : public testing::Test {
protected:
    // Loads the bank sample (20 branches, 2 inputs, 2 outputs).
    void loadBanks()
    {
        ASSERT_TRUE(openDataFile(workspace, example("banks.txt"), feedback)) << messagesText();
        feedback.messages.clear();
        feedback.pointer.clear();
    }
    void loadBankWeights()
    {
        ASSERT_TRUE(openWeightsFile(workspace, example("banks-weights.txt"), feedback))
            << messagesText();
        feedback.messages.clear();
        feedback.pointer.clear();
    }
    std::string messagesText() const
    {
        std::string all;
        for (const std::string &m : feedback.messages)
            all += m + "\n";
        return all;
    }

    Workspace workspace;
    Recorder feedback;
};

// The data set without its file name, for "stays whole" checks.
void expectSameDataSet(const DataSet &a, const DataSet &b)
{
    test::expectSameTable(a, b);
    EXPECT_EQ(a.DataFileStem, b.DataFileStem);
    EXPECT_EQ(a.WeightsFileName, b.WeightsFileName);
    EXPECT_EQ(a.WeightsName, b.WeightsName);
    EXPECT_EQ(a.NumWeightRows, b.NumWeightRows);
    EXPECT_EQ(a.WeightRestrictions, b.WeightRestrictions);
    EXPECT_EQ(a.WeightNonzeros, b.WeightNonzeros);
}

TEST_F(DataCommands, LoadingDataFillsTheDataSetStatusAndModelDialog)
{
    // A window analysis set up before goes back to one period.
    workspace.options.Periods = 4;
    workspace.options.WindowWidth = 2;
    workspace.options.DMUsPerPeriod = 5;
    workspace.options.WindowAnalysis = true;

    const std::string path = example("banks.xlsx");
    EXPECT_TRUE(openDataFile(workspace, path, feedback));
    EXPECT_THAT(feedback.messages, IsEmpty());
    EXPECT_THAT(feedback.pointer, ElementsAre(true, false));

    EXPECT_EQ(workspace.data.NumDMU, 20);
    EXPECT_EQ(workspace.data.DataFileName, path);
    EXPECT_EQ(workspace.data.DataFileStem, example("banks"));
    EXPECT_EQ(workspace.status.DataStatus, "Input Output Data " + path);
    EXPECT_EQ(workspace.status.panel1, "Input Output Data " + path);
    EXPECT_EQ(workspace.options.Periods, 1);
    EXPECT_EQ(workspace.options.WindowWidth, 1);
    EXPECT_EQ(workspace.options.DMUsPerPeriod, 20);
    EXPECT_FALSE(workspace.options.WindowAnalysis);

    ASSERT_TRUE(workspace.hasModelDialog());
    ModelDialogState &dialog = workspace.modelDialog();
    EXPECT_EQ(dialog.lstEval.size(), 20);
    EXPECT_EQ(dialog.lstEval.selectedCount(), 20);
    EXPECT_EQ(dialog.lstTech.selectedCount(), 20);
    EXPECT_FALSE(dialog.chbWR.checked);
    EXPECT_FALSE(dialog.chbWR.enabled);
}

TEST_F(DataCommands, AFailedReadLeavesTheLoadedDataSetWholeAndNamesTheCell)
{
    loadBanks();
    loadBankWeights();
    const DataSet before = workspace.data;
    const StatusTexts statusBefore = workspace.status;

    const std::string path = fixture("text/bad-cell.txt");
    EXPECT_FALSE(openDataFile(workspace, path, feedback));
    EXPECT_THAT(feedback.messages,
                ElementsAre("Cannot read " + path
                            + ": record 7, column {I}Staff holds \"n/a\", which is not a number."));
    EXPECT_THAT(feedback.pointer, ElementsAre(true, false));
    expectSameDataSet(workspace.data, before);
    EXPECT_EQ(workspace.data.DataFileName, before.DataFileName);
    EXPECT_EQ(workspace.status.panel1, statusBefore.panel1);
    EXPECT_EQ(workspace.status.panel2, statusBefore.panel2);
    EXPECT_TRUE(workspace.data.loaded());
}

TEST_F(DataCommands, ARefusedFileLeavesTheLoadedDataSetWhole)
{
    loadBanks();
    const DataSet before = workspace.data;
    struct Case {
        std::string path;
        std::string message;
    };
    const Case cases[] = {
        {fixture("no-schema/data.csv"), "Unknown data format (use suffix .xls or .txt)\n" + fixture("no-schema/data.csv")},
        {fixture("text/unknown-column.txt"),
         "CostData file contains unknown column (missing {I} or {O})\n" + fixture("text/unknown-column.txt")},
        {fixture("workbooks/no-data-sheet.xls"),
         "Cannot read " + fixture("workbooks/no-data-sheet.xls")
             + ": the workbook has no sheet named Data."},
        {fixture("text/missing.txt"),
         "Cannot read " + fixture("text/missing.txt") + ": the file does not exist."},
        {fixture("workbooks/truncated.xlsx"),
         "Cannot read " + fixture("workbooks/truncated.xlsx")
             + ": the workbook is damaged (Not a zip archive)."},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.path);
        feedback.messages.clear();
        EXPECT_FALSE(openDataFile(workspace, c.path, feedback));
        EXPECT_THAT(feedback.messages, ElementsAre(c.message));
        expectSameDataSet(workspace.data, before);
        EXPECT_EQ(workspace.data.DataFileName, before.DataFileName);
        EXPECT_EQ(workspace.status.panel1, "Input Output Data " + example("banks.txt"));
    }
}

TEST_F(DataCommands, MissingDataLeavesTheLoadedDataSetAndTheWeights)
{
    loadBanks();
    loadBankWeights();
    const std::string path = fixture("text/inputs-only.txt");
    EXPECT_FALSE(openDataFile(workspace, path, feedback));
    EXPECT_THAT(feedback.messages,
                ElementsAre("Unknown or missing data in " + path + ". Perhaps wrong schema.ini?"));
    EXPECT_TRUE(workspace.data.loaded());
    EXPECT_EQ(workspace.data.NumInputs, 2);
    EXPECT_EQ(workspace.data.DataFileName, example("banks.txt"));
    EXPECT_EQ(workspace.status.panel1, "Input Output Data " + example("banks.txt"));
    EXPECT_EQ(workspace.data.WeightsFileName, example("banks-weights.txt"));
    EXPECT_EQ(workspace.data.NumWeightRows, 3);
    EXPECT_EQ(workspace.status.panel2, "Weight Restriction " + example("banks-weights.txt"));
}

TEST_F(DataCommands, LoadingAnotherDataFileKeepsTheWeights)
{
    loadBanks();
    loadBankWeights();
    const DataSet before = workspace.data;

    // Another file with other column counts: the restrictions stay, and the
    // new model dialog offers them.
    EXPECT_TRUE(openDataFile(workspace, fixture("text/order.txt"), feedback));
    EXPECT_EQ(workspace.data.NumDMU, 3);
    EXPECT_EQ(workspace.data.WeightsFileName, before.WeightsFileName);
    EXPECT_EQ(workspace.data.WeightsName, "banks-weights");
    EXPECT_EQ(workspace.data.NumWeightRows, 3);
    EXPECT_EQ(workspace.data.WeightRestrictions, before.WeightRestrictions);
    EXPECT_EQ(workspace.data.WeightNonzeros, 6);
    EXPECT_EQ(workspace.status.panel2, "Weight Restriction " + example("banks-weights.txt"));
    EXPECT_TRUE(workspace.modelDialog().chbWR.checked);
    EXPECT_TRUE(workspace.modelDialog().chbWR.enabled);
}

TEST_F(DataCommands, WeightsNeedLoadedData)
{
    EXPECT_FALSE(canOpenWeights(workspace, feedback));
    EXPECT_FALSE(openWeightsFile(workspace, example("banks-weights.txt"), feedback));
    closeWeights(workspace, feedback);
    EXPECT_THAT(feedback.messages, ElementsAre("Please load first input output data (Ctrl+O).",
                                               "Please load first input output data (Ctrl+O).",
                                               "Please load data."));
    EXPECT_FALSE(workspace.data.weightsLoaded());
    EXPECT_THAT(feedback.pointer, IsEmpty());
}

TEST_F(DataCommands, LoadingWeightsSetsTheTableStatusAndWeightsBox)
{
    loadBanks();
    EXPECT_TRUE(canOpenWeights(workspace, feedback));
    const std::string path = example("banks-weights.xls");
    EXPECT_TRUE(openWeightsFile(workspace, path, feedback));
    EXPECT_THAT(feedback.messages, IsEmpty());
    EXPECT_THAT(feedback.pointer, ElementsAre(true, false));
    EXPECT_EQ(workspace.data.WeightsFileName, path);
    EXPECT_EQ(workspace.data.WeightsName, "banks-weights");
    EXPECT_EQ(workspace.data.NumWeightRows, 3);
    EXPECT_EQ(workspace.data.WeightNonzeros, 6);
    EXPECT_TRUE(workspace.data.weightsFitData());
    EXPECT_EQ(workspace.data.WeightRestrictions(4, 1), -0.5);
    EXPECT_EQ(workspace.status.WeightsStatus, "Weight Restriction " + path);
    EXPECT_EQ(workspace.status.panel2, "Weight Restriction " + path);
    EXPECT_TRUE(workspace.modelDialog().chbWR.checked);
    EXPECT_TRUE(workspace.modelDialog().chbWR.enabled);
}

TEST_F(DataCommands, AFailedWeightsLoadLeavesTheEarlierTableAsItWas)
{
    loadBanks();
    loadBankWeights();
    const DataSet before = workspace.data;
    const std::string panel2 = workspace.status.panel2;
    const std::string bad = fixture("text/weights-bad-cell.txt");
    const std::string noRows = fixture("text/weights-no-rows.txt");
    const std::pair<std::string, std::string> cases[] = {
        {fixture("workbooks/W.XLS"), "Unknown weight format (use suffix .xls or .txt)\n" + fixture("workbooks/W.XLS")},
        {fixture("text/weights-3-columns.txt"),
         "The No. of Columns must be equal to the No. of Inputs and Outputs. (+ first column for "
         "remarks)\n"
             + fixture("text/weights-3-columns.txt")},
        {noRows, "Unknown or missing data in " + noRows + ". Perhaps wrong schema.ini?"},
        {bad, "Cannot read " + bad + ": record 2, column b holds \"two\", which is not a number."},
        {fixture("workbooks/no-weights-sheet.xls"),
         "Cannot read " + fixture("workbooks/no-weights-sheet.xls")
             + ": the workbook has no sheet named Weights."},
    };
    for (const auto &[path, message] : cases) {
        SCOPED_TRACE(path);
        feedback.messages.clear();
        EXPECT_FALSE(openWeightsFile(workspace, path, feedback));
        EXPECT_THAT(feedback.messages, ElementsAre(message));
        expectSameDataSet(workspace.data, before);
        EXPECT_EQ(workspace.data.DataFileName, before.DataFileName);
        EXPECT_EQ(workspace.status.panel2, panel2);
        EXPECT_TRUE(workspace.modelDialog().chbWR.checked);
        EXPECT_TRUE(workspace.modelDialog().chbWR.enabled);
    }
}

TEST_F(DataCommands, ClosingWeightsEmptiesTheTableAndDisablesTheBox)
{
    loadBanks();
    loadBankWeights();
    closeWeights(workspace, feedback);
    EXPECT_THAT(feedback.messages, IsEmpty());
    EXPECT_EQ(workspace.data.WeightsFileName, "");
    EXPECT_FALSE(workspace.data.weightsLoaded());
    EXPECT_EQ(workspace.status.panel2, "");
    EXPECT_EQ(workspace.data.NumWeightRows, 0);
    EXPECT_TRUE(workspace.data.WeightRestrictions.empty());
    EXPECT_EQ(workspace.data.WeightNonzeros, 6);
    EXPECT_FALSE(workspace.modelDialog().chbWR.checked);
    EXPECT_FALSE(workspace.modelDialog().chbWR.enabled);
    // The data stay loaded.
    EXPECT_EQ(workspace.data.NumDMU, 20);
}

TEST_F(DataCommands, ClosingWeightsWithoutAModelDialogCreatesIt)
{
    loadBanks();
    loadBankWeights();
    workspace.discardModelDialog();
    closeWeights(workspace, feedback);
    ASSERT_TRUE(workspace.hasModelDialog());
    EXPECT_FALSE(workspace.modelDialog().chbWR.enabled);
}

} // namespace
} // namespace zelvar
