#include "engine/RunDriver.h"

#include "data/Feedback.h"
#include "engine/ColumnScaling.h"
#include "engine/FdhEvaluation.h"
#include "engine/LpOutcome.h"
#include "engine/LpSolver.h"
#include "engine/NonRadialLp.h"
#include "engine/RadialDistances.h"
#include "engine/RadialLp.h"
#include "engine/RunContext.h"
#include "session/SelectionSet.h"
#include "session/Workspace.h"

#include <algorithm>
#include <cmath>
#include <thread>
#include <vector>

namespace zelvar {

namespace {

constexpr const char *NoDataText = "Can't run without input output data.";

std::string weightsMismatchText(const DataSet &data)
{
    if (!data.weightsLoaded())
        return "Weights cannot be restricted: no weight restrictions are loaded.";
    const int weights = data.NumInputs + data.NumOutputs;
    if (data.WeightRestrictions.rows() != weights)
        return "The weight restrictions in " + data.WeightsFileName + " have "
            + std::to_string(data.WeightRestrictions.rows()) + " weight columns, but the data set has "
            + std::to_string(weights) + " inputs and outputs (" + std::to_string(data.NumInputs)
            + " + " + std::to_string(data.NumOutputs)
            + "). Load the weight restrictions of this data set, or run without restricting the weights.";
    return "The weight restrictions in " + data.WeightsFileName
        + " hold no restriction. Load the weight restrictions of this data set, or run without "
          "restricting the weights.";
}

std::string pricesMismatchText(const DataSet &data)
{
    if (!data.pricesLoaded())
        return "The cost and revenue models need prices: load a prices file for " + data.DataFileName + ".";
    return "The prices in " + data.PricesFileName + " do not fit the data set of " + std::to_string(data.NumDMU)
        + " DMUs with " + std::to_string(data.NumInputs) + " inputs and " + std::to_string(data.NumOutputs)
        + " outputs: they need one price column per input and output and one row, or one row per DMU.";
}

} // namespace

RunDriver::RunDriver(Workspace &workspace) : m_workspace(workspace) {}

RunDriver::~RunDriver() = default;

RunOutcome RunDriver::RunModel(SelectionSet &eval, SelectionSet &tech, ResultsSink &results,
                               ProgressSink &progress, Feedback &feedback)
{
    DataSet &data = m_workspace.data;
    const ModelOptions &options = m_workspace.options;

    if (data.NumDMU < 1 || data.NumInputs < 1 || data.NumOutputs < 1) {
        feedback.message(NoDataText);
        return RunOutcome::NoData;
    }
    if (eval.size() != data.NumDMU || tech.size() != data.NumDMU) {
        feedback.message("The DMU selections do not match the data set of "
                         + std::to_string(data.NumDMU) + " DMUs. Choose the DMUs again.");
        return RunOutcome::NoData;
    }
    if (options.RestrictWeights && !options.fdh() && !options.priced() && !data.weightsFitData()) {
        feedback.message(weightsMismatchText(data));
        return RunOutcome::NoData;
    }
    RadialDistances technical;
    bool technicalIncomplete = false;
    if (options.priced()) {
        if (!data.pricesFitData()) {
            feedback.message(pricesMismatchText(data));
            return RunOutcome::NoData;
        }
        const RunOutcome radial = technicalScores(eval, tech, progress, feedback, technical);
        if (radial == RunOutcome::NoData || radial == RunOutcome::Stopped)
            return radial;
        technicalIncomplete = radial == RunOutcome::Incomplete;
    }

    const bool fdh = options.fdh();
    m_store.allocateResults(data.NumDMU, fdh);
    m_lp.Big = LpProblem::BigValue;

    results.setRedraw(false);
    for (int d = 1; d <= data.NumDMU; ++d) {
        const auto dd = static_cast<std::size_t>(d);
        m_store.Benchmarks[dd].clear();
        m_store.ReferenceCount[dd] = 0;
        m_store.Efficient[dd] = 0;
    }

    // bpmpd.par is read afresh for every run, so a changed file takes effect
    // at the next run.
    LpSolveFunction solver = m_solve;
    if (!solver)
        solver = [lpSolver = LpSolver(SolverSettings::fromStandardPlaces())](LpProblem &lp) mutable {
            lpSolver.solve(lp);
        };

    // The LPs see the data in units near 1 (only the copy they are built
    // from is scaled); the table shows the data as loaded.
    const ColumnScaling scaling = fdh ? ColumnScaling() : ColumnScaling::forRun(data, options);
    DataSet scaledData;
    if (!scaling.identity())
        scaledData = scaling.scaled(data);
    const DataSet &lpData = scaling.identity() ? data : scaledData;

    const RunView view{data, options, m_workspace.format, m_store, eval, tech,
                       m_workspace.decimalSeparator};
    const SolveContext solve{options, m_workspace.format, m_workspace.decimalSeparator,
                             m_technology, data.NumInputs + data.NumOutputs, feedback, data.DataFileName,
                             solver};
    RunContext run{data, lpData, scaling, options, eval, tech, results, progress, feedback, view, solve};
    // Marks of an earlier run go.
    for (int d = 1; d <= data.NumDMU; ++d)
        run.markName(d, false);
    run.threads = m_workspace.threadCount > 0 ? m_workspace.threadCount
                                              : std::max(1, static_cast<int>(std::thread::hardware_concurrency()));

    run.toEvaluate = eval.selectedCount();
    progress.show(run.toEvaluate);

    m_statistics = RunStatistics{};
    RunOutcome outcome = RunOutcome::Completed;
    if (fdh)
        outcome = runFdh(run);
    else if (options.priced())
        outcome = runPrices(run, technical);
    else if (restrictedApplies(run))
        outcome = runRestricted(run);
    else
        outcome = runFullLp(run);

    if (outcome == RunOutcome::Completed && (m_store.SolverFailures > 0 || technicalIncomplete))
        outcome = RunOutcome::Incomplete;

    results.ShowReferences(view);
    results.WriteNonevaluated(view);
    progress.close();
    results.setRedraw(true);
    return outcome;
}

} // namespace zelvar
