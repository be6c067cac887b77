#include "engine/RunDriver.h"

#include "data/Feedback.h"
#include "engine/Fdh.h"
#include "engine/LpSolver.h"
#include "engine/NonRadialLp.h"
#include "engine/RadialLp.h"
#include "model/SelectionSet.h"
#include "model/Workspace.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace zelvar {

namespace {

constexpr const char *NoDataText = "Can't run without input output data.";
constexpr const char *BlankPrefix = "    ";
constexpr const char *OutsideMark = "{X}";
constexpr int CodeOptimal = 2;
constexpr int CodeNoFiniteOptimum = 3;

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

// What one call of RunModel works with.
struct RunDriver::RunContext {
    DataSet &data;
    const ModelOptions &options;
    SelectionSet &eval;
    SelectionSet &tech;
    ResultsSink &results;
    ProgressSink &progress;
    Feedback &feedback;
    const RunView &view;
    const SolveContext &solve;
    int toEvaluate = 0;
    int processed = 0;
};

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
    m_store.AllocateResults(data.NumDMU, fdh);
    m_lp.Big = LpProblem::BigValue;
    m_lp.QpCols = 0;
    m_lp.QpNonzeros = 0;
    m_lp.SolverMemory = 0;

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
            lpSolver.bpmpd(lp);
        };

    const RunView view{data, options, m_workspace.format, m_store, eval, tech,
                       m_workspace.decimalSeparator};
    const SolveContext solve{options, m_workspace.format, m_workspace.decimalSeparator,
                             m_technology, data.NumInputs + data.NumOutputs, feedback, solver};
    RunContext run{data, options, eval, tech, results, progress, feedback, view, solve};

    run.toEvaluate = eval.selectedCount();
    progress.show(run.toEvaluate);

    const RunOutcome outcome = fdh ? runFdh(results, progress, view) : runLpModel(run);

    results.ShowReferences(view);
    results.WriteNonevaluated(view);
    progress.close();
    results.setRedraw(true);
    return outcome;
}

RunOutcome RunDriver::runLpModel(RunContext &run)
{
    const bool minAverage = run.options.Distance == "MINAV";
    const bool radial = run.options.Distance == "RAD";
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
        m_technology.SetupTechnology(d, run.data, run.options, run.tech, m_lp);
        ++run.processed;

        if (minAverage) {
            evaluateMinAverage(d, run);
        } else {
            if (radial)
                BuildRadialLP(d, run.data, run.options, m_technology, m_lp);
            else
                BuildNonRadialLP(d, run.data, run.options, m_technology, m_lp);
            if (!SolveLP(d, m_lp, m_store, run.solve)) {
                run.tech.select(d, wasTech);
                return RunOutcome::Stopped;
            }
        }

        reportProgress(run);
        run.results.Showresults(d, run.view, m_lp);
        run.tech.select(d, wasTech);
    }
    return RunOutcome::Completed;
}

// One LP per discretionary input (orientations "IN", "NON") and per
// discretionary output ("OUT", "NON") with a nonzero value, each with that
// variable alone discretionary; the smallest optimum, divided by the number
// of discretionary nonzero variables, is the score. A variable whose own
// value is 0 gets no LP: nothing would bound its weight from below, the
// optimum would be 0 and the DMU would look efficient.
void RunDriver::evaluateMinAverage(int d, RunContext &run)
{
    const DataSet &data = run.data;
    const ModelOptions &options = run.options;
    const auto dd = static_cast<std::size_t>(d);
    const int m = data.NumInputs;
    const int s = data.NumOutputs;
    const auto all = static_cast<std::size_t>(m_lp.LpRows + m_lp.LpCols) + 1;

    auto inputCounts = [&](int i) {
        return data.InputNonDisc[static_cast<std::size_t>(i)] == 0 && data.InputData(i, d) != 0.0;
    };
    auto outputCounts = [&](int r) {
        return data.OutputNonDisc[static_cast<std::size_t>(r)] == 0 && data.OutputData(r, d) != 0.0;
    };
    int count = 0;
    for (int i = 1; i <= m; ++i)
        count += inputCounts(i) ? 1 : 0;
    for (int r = 1; r <= s; ++r)
        count += outputCounts(r) ? 1 : 0;

    // Every variable non-discretionary but the one of the current LP.
    std::vector<std::int16_t> inputNonDisc(static_cast<std::size_t>(m) + 1, 1);
    std::vector<std::int16_t> outputNonDisc(static_cast<std::size_t>(s) + 1, 1);

    m_store.MinAvgBest[dd] = m_lp.Big;
    m_store.MinAvgVariable[dd] = 0;
    const std::vector<std::int32_t> savedReferences = m_store.ReferenceCount;
    std::vector<std::int32_t> bestReferences;
    std::string bestBenchmarks;
    std::vector<double> bestPrimal(all, 0.0);
    std::vector<double> bestDual(all, 0.0);
    std::vector<std::int32_t> bestStatus(all, 0);
    bool attempted = false;
    bool improved = false;

    // Solves the LP with `flag` as the one discretionary variable; false
    // when the solver failed and the remaining variables of its side are skipped.
    auto solveSingle = [&](std::int16_t &flag, int variable) {
        attempted = true;
        flag = 0;
        m_store.Benchmarks[dd].clear();
        std::fill(m_store.ReferenceCount.begin(), m_store.ReferenceCount.end(), 0);
        const char efficientBefore = m_store.Efficient[dd];
        BuildNonRadialLP(d, data, options, m_technology, inputNonDisc, outputNonDisc, m_lp);
        const bool solved = SolveLP(d, m_lp, m_store, run.solve);
        flag = 1;
        if (!solved)
            return false;
        if (m_lp.SolverCode == CodeNoFiniteOptimum) {
            // No candidate for the minimum, and no statement about d.
            m_store.Efficient[dd] = efficientBefore;
            m_store.NoFiniteOptimum[dd] = 0;
            return true;
        }
        // Strictly smaller wins: on a tie the earlier variable stays.
        if (m_lp.SolverCode == CodeOptimal && m_lp.ObjValue < m_store.MinAvgBest[dd]) {
            improved = true;
            m_store.MinAvgBest[dd] = m_lp.ObjValue;
            m_store.MinAvgVariable[dd] = variable;
            bestPrimal = m_lp.Primal;
            bestDual = m_lp.Dual;
            bestStatus = m_lp.VarStatus;
            bestBenchmarks = m_store.Benchmarks[dd];
            bestReferences = m_store.ReferenceCount;
        }
        return true;
    };

    if (options.Orientation == "IN" || options.Orientation == "NON")
        for (int i = 1; i <= m; ++i)
            if (inputCounts(i) && !solveSingle(inputNonDisc[static_cast<std::size_t>(i)], i))
                break;
    if (options.Orientation == "OUT" || options.Orientation == "NON")
        for (int r = 1; r <= s; ++r)
            if (outputCounts(r) && !solveSingle(outputNonDisc[static_cast<std::size_t>(r)], m + r))
                break;

    if (improved) {
        m_store.Score[dd] = m_store.MinAvgBest[dd] / count;
        m_lp.Primal = bestPrimal;
        m_lp.Dual = bestDual;
        m_lp.VarStatus = bestStatus;
        m_store.Benchmarks[dd] = bestBenchmarks;
        for (std::size_t k = 1; k < m_store.ReferenceCount.size(); ++k)
            m_store.ReferenceCount[k] = savedReferences[k] + bestReferences[k];
        return;
    }

    // No score can be formed: say why, count no references, claim nothing.
    m_store.NoScore[dd] = 1;
    m_store.Score[dd] = 0.0;
    m_store.Efficient[dd] = 0;
    m_store.ReferenceCount = savedReferences;
    if (count == 0)
        m_store.Benchmarks[dd] = MinAvgNoVariable;
    else if (!attempted)
        m_store.Benchmarks[dd] = options.Orientation == "IN" ? MinAvgNoInput : MinAvgNoOutput;
    else
        m_store.Benchmarks[dd] = MinAvgNoSolution;
    std::fill(m_lp.Primal.begin(), m_lp.Primal.end(), 0.0);
    std::fill(m_lp.Dual.begin(), m_lp.Dual.end(), 0.0);
    std::fill(m_lp.VarStatus.begin(), m_lp.VarStatus.end(), 0);
}

void RunDriver::reportProgress(RunContext &run)
{
    const double fraction = static_cast<double>(run.processed) / run.toEvaluate;
    const long percent = std::lround(fraction * 100.0);
    run.progress.setProgress(run.processed, std::to_string(percent) + "% completed.");
}

} // namespace zelvar
