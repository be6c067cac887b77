// The straightforward method and the reference the restricted LPs are held
// to: for each evaluated DMU, the LP over every technology DMU, built and
// solved whole.

#include "engine/RunDriver.h"

#include "engine/ColumnScaling.h"
#include "engine/LpOutcome.h"
#include "engine/MinAverage.h"
#include "engine/NonRadialLp.h"
#include "engine/RadialLp.h"
#include "engine/RunContext.h"
#include "session/ModelOptions.h"

#include <algorithm>
#include <vector>

namespace zelvar {

RunOutcome RunDriver::runFullLp(RunContext &run)
{
    const bool minAverage = run.options.Distance == ModelDistance::MINAV;
    const bool radial = run.options.radial();
    bool wasTech = true;
    auto evaluate = [&](int d, std::size_t) {
        wasTech = run.enterTechnology(d);
        m_technology.setupTechnology(d, run.lpData, run.options, run.tech, m_lp);
        if (minAverage) {
            evaluateMinAverage(d, run);
        } else {
            if (radial)
                buildRadialLp(d, run.lpData, run.options, m_technology, m_lp);
            else
                buildNonRadialLp(d, run.lpData, run.options, m_technology, m_lp);
            if (!SolveLP(d, m_lp, m_store, run.solve)) {
                run.leaveTechnology(d, wasTech);
                return false;
            }
        }
        run.scaling.unscale(m_lp);
        return true;
    };
    auto show = [&](int d) {
        run.results.Showresults(d, run.view, m_lp);
        run.leaveTechnology(d, wasTech);
    };
    return forEachEvaluated(run, evaluate, show);
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

} // namespace zelvar
