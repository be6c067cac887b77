#pragma once

#include "engine/LpProblem.h"
#include "engine/ResultStore.h"
#include "engine/RunSinks.h"

namespace zelvar {

class Feedback;
class SelectionSet;
struct Workspace;

enum class RunOutcome {
    Completed, // every selected DMU was evaluated
    NoData,    // "Can't run without input output data." (or weights that do not fit); nothing computed
    Stopped,   // a solver failure or the user's Cancel ended the DMU loop early
};

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
    RunOutcome RunModel(SelectionSet &eval, SelectionSet &tech, ResultsSink &results,
                        ProgressSink &progress, Feedback &feedback);

    const ResultStore &store() const { return m_store; }
    const LpProblem &lp() const { return m_lp; }

private:
    Workspace &m_workspace;
    ResultStore m_store;
    LpProblem m_lp;
};

} // namespace zelvar
