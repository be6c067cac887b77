#include "cli/BatchRun.h"

#include "data/Feedback.h"
#include "engine/MalmquistIndex.h"
#include "engine/RunDriver.h"
#include "engine/ScaleEfficiency.h"
#include "results/AnalysisTables.h"
#include "session/DataCommands.h"
#include "session/ModelNames.h"
#include "session/NegativeData.h"
#include "session/Workspace.h"
#include "results/ResultsFile.h"
#include "results/ResultsTable.h"
#include "results/TableExport.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <ostream>

namespace zelvar {

namespace {

// Messages go to standard error as one block each. A solver error asks
// OK / Cancel in the desktop program; unattended, it counts as Cancel.
class StreamFeedback : public Feedback {
public:
    explicit StreamFeedback(std::ostream &err) : m_err(err) {}

    void message(const std::string &text) override { m_err << terminalText(text) << '\n'; }
    bool confirm(const std::string &text) override
    {
        message(text);
        return false;
    }

private:
    // Dialog texts break lines with LF CR; a terminal wants LF alone.
    static std::string terminalText(const std::string &text)
    {
        std::string result;
        result.reserve(text.size());
        for (char c : text)
            if (c != '\r')
                result += c;
        return result;
    }

    std::ostream &m_err;
};

bool applySelection(SelectionSet &set, const std::string &list, int numDMU, const char *option,
                    Feedback &feedback)
{
    if (list.empty())
        return true;
    const DmuListResult parsed = parseDmuList(list, numDMU);
    if (!parsed.error.empty()) {
        feedback.message(std::string(option) + ": " + parsed.error);
        return false;
    }
    set.selectAll(false);
    for (int d : parsed.dmus)
        set.select(d, true);
    return true;
}

bool checkOptions(const BatchOptions &options, Feedback &feedback)
{
    if (options.decimals.size() != 4) {
        feedback.message("--decimals takes four numbers: score, weights, intensities, slacks (e.g. 2,2,2,2).");
        return false;
    }
    for (int decimals : options.decimals)
        if (decimals < DisplayFormat::MinDecimals || decimals > DisplayFormat::MaxDecimals) {
            feedback.message("--decimals: each number must be between 1 and 8.");
            return false;
        }
    if (options.windowPeriods > 0 && options.malmquistPeriods > 0) {
        feedback.message("--window and --malmquist cannot be combined.");
        return false;
    }
    if (options.malmquistIndexPeriods > 0
        && (options.windowPeriods > 0 || options.malmquistPeriods > 0 || options.scale)) {
        feedback.message("--malmquist-index prints the index alone: it cannot be combined with --window, "
                         "--malmquist or --scale.");
        return false;
    }
    if ((options.windowPeriods > 0 || options.malmquistPeriods > 0)
        && (!options.evalList.empty() || !options.techList.empty())) {
        feedback.message("--eval and --tech cannot be combined with --window or --malmquist: "
                         "the periods decide which DMUs each run evaluates.");
        return false;
    }
    const std::optional<ExportFormat> format = exportFormatNamed(options.format);
    if (!format) {
        feedback.message("--format takes txt, csv or xlsx.");
        return false;
    }
    if (*format == ExportFormat::Xlsx && options.outDir.empty()) {
        feedback.message("--format xlsx writes workbooks into a folder: give one with --out DIR.");
        return false;
    }
    if (!buttonsForModelName(options.model)) {
        std::string known;
        for (const std::string &name : allModelNames())
            known += (known.empty() ? "" : ", ") + name;
        std::string priced;
        for (const std::string &name : priceModelNames())
            priced += (priced.empty() ? "" : ", ") + name;
        feedback.message("Unknown model \"" + options.model + "\". Known models: " + known
                         + ". With --prices also: " + priced + ".");
        return false;
    }
    const std::vector<std::string> pricedModels = priceModelNames();
    if (std::find(pricedModels.begin(), pricedModels.end(), options.model) != pricedModels.end()) {
        if (options.pricesFile.empty()) {
            feedback.message(options.model + " needs prices: give them with --prices FILE.");
            return false;
        }
        if (!options.weightsFile.empty()) {
            feedback.message("Weight restrictions do not apply to " + options.model
                             + " (the prices weigh the inputs and outputs): leave out --weights.");
            return false;
        }
    }
    return true;
}

bool periodsFit(int periods, int width, int numDMU, const char *option, Feedback &feedback)
{
    if (periods > numDMU || width > numDMU) {
        feedback.message(std::string(option) + ": the number of periods and the window width must lie between 1 and "
                         + std::to_string(numDMU) + ", the number of DMUs.");
        return false;
    }
    // The model dialog's own refusal, and why.
    std::string why;
    if (numDMU % periods != 0) {
        std::string divisors;
        for (int p = 1; p <= numDMU; ++p)
            if (numDMU % p == 0 && divisors.size() < 200)
                divisors += (divisors.empty() ? "" : ", ") + std::to_string(p);
        why = std::string(option) + ": " + std::to_string(periods) + " periods do not divide the "
            + std::to_string(numDMU) + " DMUs; the number of periods must divide the number of DMUs (here one of "
            + divisors + ").";
    } else if (width > periods) {
        why = std::string(option) + ": the window width " + std::to_string(width) + " exceeds the "
            + std::to_string(periods) + " periods; the width may not exceed the number of periods.";
    }
    if (!why.empty()) {
        feedback.message("Wrong Number of Periods (Options).\n" + why);
        return false;
    }
    return true;
}

std::string outputPath(const std::string &outDir, const std::string &caption, ExportFormat format)
{
    const std::string fileName = std::filesystem::path(caption).filename().string() + std::string(extensionOf(format));
    return (std::filesystem::path(outDir) / fileName).string();
}

} // namespace

int runBatch(const BatchOptions &options, std::ostream &out, std::ostream &err)
{
    StreamFeedback feedback(err);
    if (!checkOptions(options, feedback))
        return BatchInputError;

    Workspace workspace;
    workspace.decimalSeparator = ".";
    workspace.format.DecScore = static_cast<std::int16_t>(options.decimals[0]);
    workspace.format.DecWeights = static_cast<std::int16_t>(options.decimals[1]);
    workspace.format.DecIntensities = static_cast<std::int16_t>(options.decimals[2]);
    workspace.format.DecSlacks = static_cast<std::int16_t>(options.decimals[3]);
    workspace.format.VirtualWeights = !options.pureWeights;
    workspace.threadCount = options.threads;

    std::error_code ignored;
    const std::string dataPath = std::filesystem::absolute(options.dataFile, ignored).string();
    if (!openDataFile(workspace, dataPath, feedback))
        return BatchInputError;
    if (!options.weightsFile.empty()) {
        const std::string weightsPath = std::filesystem::absolute(options.weightsFile, ignored).string();
        if (!canOpenWeights(workspace, feedback) || !openWeightsFile(workspace, weightsPath, feedback))
            return BatchInputError;
    }
    if (!options.pricesFile.empty()) {
        const std::string pricesPath = std::filesystem::absolute(options.pricesFile, ignored).string();
        if (!canOpenPrices(workspace, feedback) || !openPricesFile(workspace, pricesPath, feedback))
            return BatchInputError;
    }

    // Set the dialog up the way a user would click it.
    ModelDialogState &dialog = workspace.modelDialog();
    const std::vector<OptionButton> buttons = buttonsForModelName(options.model).value();
    for (OptionButton button : buttons)
        dialog.click(button);
    if (!options.superefficiency)
        dialog.chbSuper.checked = false;
    dialog.chbWR.checked = !options.weightsFile.empty();

    const int numDMU = workspace.data.NumDMU;
    const bool index = options.malmquistIndexPeriods > 0;
    // The periods define the sets of the index.
    if (!index
        && (!applySelection(dialog.lstEval, options.evalList, numDMU, "--eval", feedback)
            || !applySelection(dialog.lstTech, options.techList, numDMU, "--tech", feedback)))
        return BatchInputError;
    if ((index || options.scale) && !dialog.chbScale.enabled) {
        feedback.message(std::string(index ? "--malmquist-index" : "--scale")
                         + " needs a radial input- or output-oriented model (CRS_RAD_IN, VRS_RAD_OUT, "
                           "NIR_RAD_IN, ...); "
                         + options.model + " is not one.");
        return BatchInputError;
    }

    const bool dynamic = options.windowPeriods > 0 || options.malmquistPeriods > 0;
    if (options.windowPeriods > 0) {
        if (!periodsFit(options.windowPeriods, options.windowWidth, numDMU, "--window", feedback))
            return BatchInputError;
        dialog.click(OptionButton::optWA);
        dialog.cmbPeriodsIndex = options.windowPeriods - 1;
        dialog.cmbWidthIndex = options.windowWidth - 1;
    } else if (options.malmquistPeriods > 0 || index) {
        const int periods = index ? options.malmquistIndexPeriods : options.malmquistPeriods;
        const char *option = index ? "--malmquist-index" : "--malmquist";
        if (!periodsFit(periods, 1, numDMU, option, feedback))
            return BatchInputError;
        dialog.click(OptionButton::optMalmquist);
        dialog.cmbPeriodsIndex = periods - 1;
        dialog.chbMalmquistIndex.checked = index;
    }
    dialog.chbScale.checked = options.scale;

    const StartResult start = dialog.cmdStart(feedback);
    if (!start.started)
        return BatchInputError;

    if (!options.outDir.empty()) {
        std::error_code error;
        std::filesystem::create_directories(options.outDir, error);
        if (error) {
            feedback.message("Can't create the folder " + options.outDir + ": " + error.message() + ".");
            return BatchInputError;
        }
    }

    // The application asks whether to run anyway; unattended, the runs go on.
    if (const std::string note = negativeDataNote(workspace.data, workspace.options, start.runs); !note.empty())
        feedback.message("Note: " + note);

    const ExportFormat format = exportFormatNamed(options.format).value_or(ExportFormat::Text);
    int status = BatchCompleted;
    auto account = [&status](RunOutcome outcome) {
        if (outcome == RunOutcome::NoData)
            status = BatchInputError;
        else if ((outcome == RunOutcome::Stopped || outcome == RunOutcome::Incomplete) && status == BatchCompleted)
            status = BatchRunStopped;
    };
    // One table to standard output, or into the output folder named after
    // its caption, in the chosen format.
    auto write = [&](const ResultsTable &table, const std::string &caption) {
        if (options.outDir.empty()) {
            // Row by row: the text of a large FDH table runs to gigabytes.
            if (format == ExportFormat::Csv)
                writeCsv(table, out);
            else
                writeResultsText(table.grid(), out);
            return true;
        }
        const std::string error = exportResults(table, outputPath(options.outDir, caption, format), format);
        if (!error.empty())
            feedback.message(error);
        return error.empty();
    };
    // The table of an analysis, written like a run's table.
    auto writeGrid = [&](TextGrid grid, const std::string &caption) {
        ResultsTable table(workspace.data, workspace.options, workspace.format);
        table.grid() = std::move(grid);
        return write(table, caption);
    };

    NoProgress progress;
    if (index) {
        MalmquistIndex malmquist;
        const RunOutcome outcome = MalmquistIndex::compute(workspace, workspace.options.Periods, progress, feedback, malmquist);
        account(outcome);
        if (outcome != RunOutcome::NoData && outcome != RunOutcome::Stopped
            && !writeGrid(malmquistIndexTable(malmquist, workspace.data, workspace.format, workspace.decimalSeparator),
                      start.indexCaption))
            return BatchInputError;
        dialog.finishSeries();
        out.flush();
        return status;
    }

    RunDriver driver(workspace);
    for (int k = 0; k < start.runs.count(); ++k) {
        PlannedRun run = start.runs.run(k);
        if (start.scale) {
            ScaleEfficiency scale;
            const RunOutcome outcome = ScaleEfficiency::compute(workspace, run.eval, run.tech, progress, feedback, scale);
            account(outcome);
            if (outcome != RunOutcome::NoData
                && !writeGrid(scaleTable(scale, workspace.data, workspace.format, workspace.decimalSeparator),
                          run.caption + "_Scale"))
                return BatchInputError;
            continue;
        }
        ResultsTable table(workspace.data, workspace.options, workspace.format);
        const RunOutcome outcome = driver.RunModel(run.eval, run.tech, table, progress, feedback);
        account(outcome);
        if (outcome != RunOutcome::NoData && !write(table, run.caption))
            return BatchInputError;
    }
    if (dynamic)
        dialog.finishSeries();
    out.flush();
    return status;
}

} // namespace zelvar
