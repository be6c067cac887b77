#include "engine/RunDriver.h"

#include "data/Feedback.h"
#include "engine/ColumnScaling.h"
#include "engine/FdhEvaluation.h"
#include "engine/LpOutcome.h"
#include "engine/LpSolver.h"
#include "engine/NonRadialLp.h"
#include "engine/RadialLp.h"
#include "engine/RunContext.h"
#include "session/SelectionSet.h"
#include "session/Workspace.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace zelvar {

namespace {

constexpr const char *NoDataText = "Can't run without input output data.";
constexpr const char *BlankPrefix = "    ";
constexpr const char *OutsideMark = "{X}";

// Names carry a four-character prefix; a name too short to hold one gets
// blanks appended first so the prefix never runs past its end.
void overwritePrefix(std::string &name, const char *text)
{
    const std::string prefix(text);
    if (name.size() < 4)
        name.resize(4, ' ');
    name.replace(0, prefix.size(), prefix);
}

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
    if (options.RestrictWeights && !options.fdh() && !data.weightsFitData()) {
        feedback.message(weightsMismatchText(data));
        return RunOutcome::NoData;
    }

    for (int d = 1; d <= data.NumDMU; ++d)
        overwritePrefix(data.DMUNames[static_cast<std::size_t>(d)], BlankPrefix);

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

    run.toEvaluate = eval.selectedCount();
    progress.show(run.toEvaluate);

    m_statistics = RunStatistics{};
    RunOutcome outcome = RunOutcome::Completed;
    if (fdh)
        outcome = runFdh(results, progress, view);
    else if (restrictedApplies(run))
        outcome = runRestricted(run);
    else
        outcome = runLpModel(run);

    if (outcome == RunOutcome::Completed && m_store.SolverFailures > 0)
        outcome = RunOutcome::Incomplete;

    results.ShowReferences(view);
    results.WriteNonevaluated(view);
    progress.close();
    results.setRedraw(true);
    return outcome;
}

RunOutcome RunDriver::runLpModel(RunContext &run)
{
    const bool minAverage = run.options.Distance == ModelDistance::MINAV;
    const bool radial = run.options.Distance == ModelDistance::RAD;
    for (int d = 1; d <= run.data.NumDMU; ++d) {
        run.progress.repaint();
        if (!run.eval.selected(d))
            continue;
        if (run.progress.cancelRequested())
            return RunOutcome::Stopped;
        m_store.Efficient[static_cast<std::size_t>(d)] = 0;

        // The evaluated DMU always belongs to the technology it is measured
        // against; one from outside is added for its own evaluation and marked.
        const bool wasTech = run.tech.selected(d);
        if (!wasTech) {
            run.tech.select(d, true);
            overwritePrefix(run.data.DMUNames[static_cast<std::size_t>(d)], OutsideMark);
        }
        m_technology.setupTechnology(d, run.lpData, run.options, run.tech, m_lp);
        ++run.processed;

        if (minAverage) {
            evaluateMinAverage(d, run);
        } else {
            if (radial)
                buildRadialLp(d, run.lpData, run.options, m_technology, m_lp);
            else
                buildNonRadialLp(d, run.lpData, run.options, m_technology, m_lp);
            if (!SolveLP(d, m_lp, m_store, run.solve)) {
                run.tech.select(d, wasTech);
                return RunOutcome::Stopped;
            }
        }
        run.scaling.unscale(m_lp);

        reportProgress(run);
        run.results.Showresults(d, run.view, m_lp);
        run.tech.select(d, wasTech);
    }
    return RunOutcome::Completed;
}

// One LP per discretionary input (orientations "IN", "NON") and per
// discretionary output ("OUT", "NON") with a nonzero value, each with that
// variable alone discretionary; the smallest optimum, divided by the number
// of discretionary nonzero variables, is the score (MinAverageEvaluation).
void RunDriver::evaluateMinAverage(int d, RunContext &run)
{
    MinAverageEvaluation book(d, run.lpData, run.options, m_store, run.solve);
    std::vector<std::int16_t> inputNonDisc;
    std::vector<std::int16_t> outputNonDisc;
    std::vector<double> bestPrimal;
    std::vector<double> bestDual;
    std::vector<std::int32_t> bestStatus;
    for (const int variable : book.variables()) {
        if (!book.wanted(variable))
            continue;
        minAverageMarks(variable, run.lpData, inputNonDisc, outputNonDisc);
        buildNonRadialLp(d, run.lpData, run.options, m_technology, inputNonDisc, outputNonDisc, m_lp);
        run.solve.solve(m_lp);
        if (book.add(variable, outcomeOf(m_lp, m_technology, d))) {
            bestPrimal = m_lp.Primal;
            bestDual = m_lp.Dual;
            bestStatus = m_lp.VarStatus;
        }
    }
    book.finish();

    // The results table shows the winning LP's solution, or none.
    if (book.improved()) {
        m_lp.Primal = bestPrimal;
        m_lp.Dual = bestDual;
        m_lp.VarStatus = bestStatus;
    } else {
        std::fill(m_lp.Primal.begin(), m_lp.Primal.end(), 0.0);
        std::fill(m_lp.Dual.begin(), m_lp.Dual.end(), 0.0);
        std::fill(m_lp.VarStatus.begin(), m_lp.VarStatus.end(), 0);
    }
}

void RunDriver::reportProgress(RunContext &run)
{
    const double fraction = static_cast<double>(run.processed) / run.toEvaluate;
    const long percent = std::lround(fraction * 100.0);
    run.progress.setProgress(run.processed, std::to_string(percent) + "% completed.");
}

} // namespace zelvar
