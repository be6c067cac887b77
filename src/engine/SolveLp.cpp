#include "engine/SolverCode.h"
#include "engine/SolveLp.h"

#include "data/Feedback.h"
#include "data/NumberText.h"
#include "engine/LpOutcome.h"
#include "engine/LpProblem.h"
#include "engine/ResultStore.h"
#include "engine/Technology.h"
#include "session/DisplayFormat.h"
#include "session/ModelOptions.h"

#include <cmath>

namespace zelvar {

namespace {


// A row counts as a reference only when its intensity clearly exceeds the
// solver's rounding noise; a dual of exactly -9e-08 does not.
constexpr double ReferenceThreshold = -9e-08;

// Scores and slack sums are compared after rounding to this many decimals, so
// that solver noise around 1 (or 0) does not decide the efficiency flag.
constexpr int EfficiencyDecimals = 7;

double slackOf(const LpOutcome &outcome, int c)
{
    const auto cc = static_cast<std::size_t>(c);
    return cc < outcome.reducedCost.size() ? outcome.reducedCost[cc] : 0.0;
}

} // namespace

std::string solverErrorText(int d)
{
    return "Solver error for DMU " + std::to_string(d)
        + ". Remove it from the set of DMUs to evaluate, or add the line" + "\n\r"
        + "SMETHOD1 = 0." + "\n\r" + "before END_OPT in the file bpmpd.par and try again.";
}

std::string solverCodeText(int d, int code)
{
    return "DMU " + std::to_string(d) + " error code: " + std::to_string(code);
}

bool SolveLP(int d, LpProblem &lp, ResultStore &store, const SolveContext &context)
{
    context.solve(lp);
    return recordLpOutcome(d, outcomeOf(lp, context.technology, d), store, context);
}

bool recordLpOutcome(int d, const LpOutcome &outcome, ResultStore &store, const SolveContext &context,
                     std::vector<std::int32_t> *references)
{
    const auto dd = static_cast<std::size_t>(d);
    const ModelOptions &options = context.options;
    const bool radial = options.Distance == ModelDistance::RAD;

    if (outcome.code == SolverCode::NoFiniteOptimum) {
        store.Score[dd] = -1.0;
        store.Efficient[dd] = 1;
        store.NoFiniteOptimum[dd] = 1;
        return true;
    }
    if (outcome.code == SolverCode::Optimal) {
        // An "optimum" that is no finite number is a solver breakdown.
        if (!std::isfinite(outcome.objective)) {
            ++store.SolverFailures;
            context.feedback.message(withFilePath(solverErrorText(d), context.dataFile));
            return false;
        }
        const double score = (options.Orientation == ModelOrientation::NON && radial) ? outcome.objective
                                                                       : std::fabs(outcome.objective);
        store.Score[dd] = score;

        bool efficient = false;
        if (radial) {
            if (options.Orientation == ModelOrientation::IN)
                efficient = score >= 1.0;
            else if (options.Orientation == ModelOrientation::OUT)
                efficient = score <= 1.0;
            else if (options.Orientation == ModelOrientation::NON)
                efficient = score <= 0.0;
            // A score that is 1 (or 0) up to solver noise, with no slack left.
            const double rounded = roundDecimals(score, EfficiencyDecimals);
            if (!efficient && (rounded == 1.0 || rounded == 0.0)) {
                double slacks = 0.0;
                for (int c = 1; c <= context.numWeights; ++c)
                    slacks += std::fabs(slackOf(outcome, c));
                efficient = roundDecimals(slacks, EfficiencyDecimals) == 0.0;
            }
        } else {
            // The DMU's own at-most row is tight: it lies on the frontier.
            efficient = outcome.ownTight;
        }
        if (efficient)
            store.Efficient[dd] = 1;
    } else {
        ++store.SolverFailures;
        if (!context.feedback.confirm(withFilePath(solverCodeText(d, outcome.code), context.dataFile)))
            return false;
    }

    if (store.Efficient[dd] != 0)
        return true;

    // The reference DMUs are the tight rows with a positive intensity (minus
    // the row's dual), in row order; the DMU's own row never counts as its
    // own reference and is not among them. The list is kept at its own
    // length (a million of them are held to the end of the run).
    std::string &listed = store.Benchmarks[dd];
    for (const LpOutcome::Row &row : outcome.tightRows) {
        if (!(row.dual < ReferenceThreshold))
            continue;
        const int j = row.dmu;
        const auto jj = static_cast<std::size_t>(j);
        listed += " " + std::to_string(j) + " ("
            + formatFixed(-row.dual, context.format.DecIntensities, context.decimalSeparator) + ") ";
        if (references != nullptr)
            references->push_back(j);
        else
            ++store.ReferenceCount[jj];
        store.Efficient[jj] = 1;
    }
    listed.shrink_to_fit();
    return true;
}

} // namespace zelvar
