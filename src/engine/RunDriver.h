#pragma once

#include "engine/LpProblem.h"
#include "engine/MinAverage.h"
#include "engine/ResultStore.h"
#include "engine/RunSinks.h"
#include "engine/SolveLp.h"
#include "engine/Technology.h"

#include <functional>
#include <string>
#include <utility>

namespace zelvar {

class Feedback;
class SelectionSet;
struct RadialDistances;
struct Workspace;

enum class RunOutcome {
    Completed, // every selected DMU was evaluated
    NoData,    // "Can't run without input output data." (or weights that do not fit); nothing computed
    Stopped,   // a solver failure or the user's Cancel ended the DMU loop early
    Incomplete, // every selected DMU was gone through, but the solver failed on
                // some LP and the run went on (the user chose OK, or a
                // min-average variable was skipped): some rows lack a result
};

// How the LP models are solved. Both solve the same LPs and give the same
// scores and efficiency flags; where an LP has several optimal solutions
// (degenerate benchmarks) they may report different, equally valid ones.
enum class LpMethod {
    // Each DMU against the part of the technology that matters: a small LP of
    // candidate rows grown until no technology row is violated, on all cores.
    Restricted,
    // Each DMU's LP built and solved whole, one after the other. A solver set
    // with setSolver always gets these, and so does data with a value that is
    // not a finite number or too large for the solver (LpSolver::MaxMagnitude).
    FullLp,
};

// What the last LP run of a driver cost (zero for FDH runs and full LPs).
struct RunStatistics {
    long long dmus = 0;          // evaluated DMUs solved
    long long lps = 0;           // single-variable LPs count one each (min-average)
    long long solves = 0;        // solver calls, the re-solves after adding rows included
    long long iterations = 0;    // simplex iterations
    long long finalRows = 0;     // rows of the restricted LPs when each was optimal, summed over LPs
    long long maxFinalRows = 0;
    long long fullLpFallbacks = 0; // LPs handed to the full-LP solve after a solver failure
    long long fullLpTieBreaks = 0; // LPs whose efficiency flag the full LP settled (ties)
    int technologyRows = 0;      // technology DMUs
    int candidateRows = 0;       // of which no other technology DMU dominates
    int frameRows = 0;           // of which the frame: extreme points of the hull, or rays of the cone (they imply all rows)
    double frameSeconds = 0.0;   // finding the candidates and the frame
    int threads = 0;
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
    //
    // The DMUs of an LP model are evaluated on workspace.threadCount threads
    // (0 = one per core); everything the sinks and feedback see happens on
    // the calling thread, in DMU order, and does not depend on the number of
    // threads.
    //
    // Returns NoData without computing anything (and without showing
    // progress) when a count of the data set is below 1, when the selections
    // do not have one item per DMU, when weight restrictions are asked for
    // but the loaded table does not have one column per input and output, or
    // when a cost or revenue model finds no prices that fit the data. Those
    // two models first make the radial run that gives their technical
    // scores (with its own progress); the weight restrictions do not apply
    // to them.
    RunOutcome RunModel(SelectionSet &eval, SelectionSet &tech, ResultsSink &results,
                        ProgressSink &progress, Feedback &feedback);

    // The solver the LPs go to. By default each run solves with CLP under the
    // settings of the bpmpd.par found when the run starts; tests put a
    // prepared outcome here. An empty function restores the default.
    void setSolver(LpSolveFunction solve) { m_solve = std::move(solve); }
    void setLpMethod(LpMethod method) { m_method = method; }
    // For tests: sees (and may change) the outcome of every LP the restricted
    // method solved for DMU d, before the run uses it. Called on the worker
    // threads, so it must be safe to call from several threads at once.
    void setOutcomeFilter(std::function<void(int d, LpOutcome &outcome)> filter)
    {
        m_outcomeFilter = std::move(filter);
    }

    // For tests: evaluated DMUs the restricted method solves at once, in
    // spatial order, before it applies them in DMU order (rounded up to whole
    // chunks).
    void setBlockSize(std::size_t dmus) { m_blockSize = dmus; }

    const RunStatistics &statistics() const { return m_statistics; }

    const ResultStore &store() const { return m_store; }
    // The LP of the DMU evaluated last; after a restricted run only its
    // solution as the results table read it (Primal, Dual, VarStatus).
    const LpProblem &lp() const { return m_lp; }
    // The technology of the DMU evaluated last (LP models).
    const Technology &technology() const { return m_technology; }

private:
    struct RunContext;

    // Each DMU's full LP, one after the other (FullLpRun.cpp).
    RunOutcome runFullLp(RunContext &run);
    void evaluateMinAverage(int d, RunContext &run);
    // The LP models against restricted LPs on all threads (RestrictedRun.cpp).
    RunOutcome runRestricted(RunContext &run);
    // Whether runRestricted can take this run.
    bool restrictedApplies(const RunContext &run) const;
    // The free disposal hull on all threads (FdhRun.cpp).
    RunOutcome runFdh(RunContext &run);
    // The cost and revenue models (PriceRun.cpp): the radial run of the same
    // returns to scale and orientation that gives the technical scores, then
    // the priced LPs, restricted on all threads or whole.
    RunOutcome technicalScores(SelectionSet &eval, SelectionSet &tech, ProgressSink &progress,
                               Feedback &feedback, RadialDistances &out);
    RunOutcome runPrices(RunContext &run, const RadialDistances &technical);
    // The DMU loop the three share (RunContext.h).
    template <typename Evaluate, typename Show>
    RunOutcome forEachEvaluated(RunContext &run, Evaluate evaluate, Show show);

    Workspace &m_workspace;
    ResultStore m_store;
    LpProblem m_lp;
    Technology m_technology;
    LpSolveFunction m_solve;
    LpMethod m_method = LpMethod::Restricted;
    std::function<void(int, LpOutcome &)> m_outcomeFilter;
    std::size_t m_blockSize = 16384;
    RunStatistics m_statistics;
};

} // namespace zelvar
