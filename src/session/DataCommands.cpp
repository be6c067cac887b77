#include "session/DataCommands.h"

#include "data/DataFileReader.h"
#include "data/Feedback.h"
#include "data/PricesReader.h"
#include "data/WeightsReader.h"
#include "session/Workspace.h"

namespace zelvar {

namespace {

// The busy pointer shows while a file is read and goes whatever happens.
class BusyPointer {
public:
    explicit BusyPointer(Feedback &feedback) : m_feedback(feedback) { m_feedback.busy(true); }
    ~BusyPointer() { release(); }
    BusyPointer(const BusyPointer &) = delete;
    BusyPointer &operator=(const BusyPointer &) = delete;
    void release()
    {
        if (m_on) {
            m_on = false;
            m_feedback.busy(false);
        }
    }

private:
    Feedback &m_feedback;
    bool m_on = true;
};

// The weight restrictions belong to no one data file: they stay when
// another data file is loaded.
void keepWeights(DataSet &target, DataSet &previous)
{
    target.WeightsFileName = std::move(previous.WeightsFileName);
    target.WeightsName = std::move(previous.WeightsName);
    target.NumWeightRows = previous.NumWeightRows;
    target.WeightRestrictions = std::move(previous.WeightRestrictions);
    target.WeightNonzeros = previous.WeightNonzeros;
}

// Prices belong to the DMUs of one data set, but the same firms often come
// back in another file of the same layout: they stay where they still fit.
// Returns false when prices were loaded and had to go.
bool keepPrices(DataSet &target, DataSet &previous)
{
    if (!previous.pricesLoaded())
        return true;
    target.PricesFileName = std::move(previous.PricesFileName);
    target.PricesName = std::move(previous.PricesName);
    target.Prices = std::move(previous.Prices);
    if (!target.loaded() || target.pricesFitData())
        return true;
    target.PricesFileName.clear();
    target.PricesName.clear();
    target.Prices = Matrix();
    return false;
}

} // namespace

bool openDataFile(Workspace &workspace, const std::string &path, Feedback &feedback)
{
    workspace.openDialogFile = path;

    BusyPointer busy(feedback);
    DataReadResult result = readDataFile(path);
    busy.release();

    if (result.outcome != DataReadResult::Outcome::Loaded) {
        // The loaded data set stays whole and usable: its data, names and file
        // name (the captions of later runs), the status line and the model
        // dialog with every choice in it.
        feedback.message(result.message);
        return false;
    }

    DataSet &loaded = result.data;
    keepWeights(loaded, workspace.data);
    const std::string pricesFile = workspace.data.PricesFileName;
    const bool pricesKept = keepPrices(loaded, workspace.data);
    workspace.data = std::move(loaded);
    if (!pricesKept) {
        workspace.status.panel3.clear();
        feedback.message("The prices in " + pricesFile
                         + " do not fit the data just loaded (one price column per input and output, one "
                           "row or one row per DMU) and were closed.\n"
                         + path);
    }
    workspace.status.DataStatus = "Input Output Data " + path;
    workspace.status.panel1 = workspace.status.DataStatus;

    ModelOptions &options = workspace.options;
    options.Periods = 1;
    options.DMUsPerPeriod = workspace.data.NumDMU;
    options.WindowWidth = 1;

    workspace.discardModelDialog();
    ModelDialogState &dialog = workspace.modelDialog();
    dialog.lstEval.selectAll(true);
    dialog.lstTech.selectAll(true);
    return true;
}

bool canOpenWeights(const Workspace &workspace, Feedback &feedback)
{
    if (workspace.data.loaded())
        return true;
    feedback.message("Please load first input output data (Ctrl+O).");
    return false;
}

bool openWeightsFile(Workspace &workspace, const std::string &path, Feedback &feedback)
{
    if (!canOpenWeights(workspace, feedback))
        return false;

    BusyPointer busy(feedback);
    WeightsReadResult result =
        readWeightsFile(path, workspace.data.NumInputs + workspace.data.NumOutputs);
    busy.release();

    if (result.outcome != WeightsReadResult::Outcome::Loaded) {
        // Whatever restrictions were loaded stay, with their file name,
        // status text and the dialog's box.
        feedback.message(result.message);
        return false;
    }

    DataSet &data = workspace.data;
    data.WeightsFileName = path;
    data.WeightsName = std::move(result.WeightsName);
    data.NumWeightRows = result.NumWeightRows;
    data.WeightRestrictions = std::move(result.WeightRestrictions);
    data.WeightNonzeros = result.WeightNonzeros;
    workspace.status.WeightsStatus = "Weight Restriction " + path;
    workspace.status.panel2 = workspace.status.WeightsStatus;

    ModelDialogState &dialog = workspace.modelDialog();
    dialog.chbWR.checked = true;
    // The priced distances take no weight restrictions.
    dialog.chbWR.enabled = !workspace.options.priced();
    return true;
}

void closeWeights(Workspace &workspace, Feedback &feedback)
{
    if (!workspace.data.loaded()) {
        feedback.message("Please load data.");
        return;
    }
    DataSet &data = workspace.data;
    data.WeightsFileName.clear();
    workspace.status.panel2.clear();
    data.NumWeightRows = 0;
    ModelDialogState &dialog = workspace.modelDialog();
    dialog.chbWR.checked = false;
    dialog.chbWR.enabled = false;
    // WeightNonzeros keeps its value; nothing reads it while no rows are loaded.
    data.WeightRestrictions = Matrix();
}

} // namespace zelvar

namespace zelvar {

bool canOpenPrices(const Workspace &workspace, Feedback &feedback)
{
    return canOpenWeights(workspace, feedback);
}

bool openPricesFile(Workspace &workspace, const std::string &path, Feedback &feedback)
{
    if (!canOpenPrices(workspace, feedback))
        return false;

    BusyPointer busy(feedback);
    const DataSet &loaded = workspace.data;
    PricesReadResult result = readPricesFile(path, loaded.NumInputs, loaded.NumOutputs, loaded.NumDMU);
    busy.release();

    if (result.outcome != PricesReadResult::Outcome::Loaded) {
        feedback.message(result.message);
        return false;
    }

    DataSet &data = workspace.data;
    data.PricesFileName = path;
    data.PricesName = std::move(result.PricesName);
    data.Prices = std::move(result.Prices);
    workspace.status.PricesStatus = "Prices " + path;
    workspace.status.panel3 = workspace.status.PricesStatus;
    workspace.modelDialog().setPricesLoaded(true);
    return true;
}

void closePrices(Workspace &workspace, Feedback &feedback)
{
    if (!workspace.data.loaded()) {
        feedback.message("Please load data.");
        return;
    }
    DataSet &data = workspace.data;
    data.PricesFileName.clear();
    data.PricesName.clear();
    data.Prices = Matrix();
    workspace.status.panel3.clear();
    workspace.modelDialog().setPricesLoaded(false);
}

} // namespace zelvar
