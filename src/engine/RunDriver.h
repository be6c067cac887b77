#pragma once

#include "engine/LpProblem.h"
#include "engine/ResultStore.h"
#include "engine/RunSinks.h"
#include "engine/SolveLp.h"
#include "engine/Technology.h"

#include <string>
#include <utility>

namespace zelvar {

class Feedback;
class SelectionSet;
struct Workspace;

enum class RunOutcome {
    Completed, // every selected DMU was evaluated
    NoData,    // "Can't run without input output data." (or weights that do not fit); nothing computed
    Stopped,   // a solver failure or the user's Cancel ended the DMU loop early
};

// Explanations left in Benchmarks(d) when a min-average DMU gets no score.
inline const std::string MinAvgNoVariable = "no discretionary input or output with a nonzero value";
inline const std::string MinAvgNoInput = "no discretionary input with a nonzero value";
inline const std::string MinAvgNoOutput = "no discretionary output with a nonzero value";
inline const std::string MinAvgNoSolution = "no min-average LP could be solved";

// Computes model runs for a workspace: the model options, data set and
// display format of the workspace as they are at the call. Owns the result
// store and the LP of the run.
class RunDriver {
public:
    explicit RunDriver(Workspace &workspace);
    ~RunDriver();

    // One run: evaluates every DMU selected in eval against the DMUs selected
    // in tech and has `results` fill its table. tech is changed while a DMU
    // outside it is evaluated and is back as it was on return. DMU names get
    // their "{X}" marks. Messages (solver errors) go to feedback.
    //
    // Returns NoData without computing anything (and without showing
    // progress) when a count of the data set is below 1, when the selections
    // do not have one item per DMU, or when weight restrictions are asked for
    // but the loaded table does not have one column per input and output.
    RunOutcome RunModel(SelectionSet &eval, SelectionSet &tech, ResultsSink &results,
                        ProgressSink &progress, Feedback &feedback);

    // The solver the LPs go to. By default each run solves with CLP under the
    // settings of the bpmpd.par found when the run starts; tests put a
    // prepared outcome here. An empty function restores the default.
    void setSolver(LpSolveFunction solve) { m_solve = std::move(solve); }

    const ResultStore &store() const { return m_store; }
    const LpProblem &lp() const { return m_lp; }
    // The technology of the DMU evaluated last (LP models).
    const Technology &technology() const { return m_technology; }

private:
    struct RunContext;

    RunOutcome runLpModel(RunContext &run);
    // The FDH loop (FdhRun.cpp); eval, tech and the data come through view.
    RunOutcome runFdh(ResultsSink &results, ProgressSink &progress, const RunView &view);
    void evaluateMinAverage(int d, RunContext &run);
    void reportProgress(RunContext &run);

    Workspace &m_workspace;
    ResultStore m_store;
    LpProblem m_lp;
    Technology m_technology;
    LpSolveFunction m_solve;
};

} // namespace zelvar
