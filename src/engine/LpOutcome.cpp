#include "engine/LpOutcome.h"

#include "engine/LpProblem.h"
#include "engine/Technology.h"

#include <algorithm>
#include <type_traits>

namespace zelvar {

void LpOutcome::clear(int columns, int weightRows, int solverCode)
{
    code = solverCode;
    objective = 0.0;
    primal.assign(static_cast<std::size_t>(columns) + 1, 0.0);
    reducedCost.assign(static_cast<std::size_t>(columns) + 1, 0.0);
    ownTight = false;
    ownDual = 0.0;
    tightRows.clear();
    restrictionDual.assign(static_cast<std::size_t>(weightRows) + 1, 0.0);
    restrictionTight.assign(static_cast<std::size_t>(weightRows) + 1, 0);
}

LpOutcome outcomeOf(const LpProblem &lp, const Technology &technology, int d)
{
    const int n = lp.LpCols;
    const int numTech = technology.NumTech;
    const int weightRows = std::max(0, lp.LpRows - numTech);
    // A record that the solver left shorter than it should be reads as zeros.
    auto at = [](const auto &values, int k) {
        using Value = typename std::decay_t<decltype(values)>::value_type;
        return k >= 0 && static_cast<std::size_t>(k) < values.size() ? values[static_cast<std::size_t>(k)]
                                                                      : Value{};
    };
    auto tight = [&](int k) {
        return k >= 0 && static_cast<std::size_t>(k) < lp.VarStatus.size()
            && lp.VarStatus[static_cast<std::size_t>(k)] == 0;
    };

    LpOutcome outcome;
    outcome.clear(n, weightRows, lp.SolverCode);
    outcome.objective = lp.ObjValue;
    for (int c = 1; c <= n; ++c) {
        outcome.primal[static_cast<std::size_t>(c)] = at(lp.Primal, c);
        outcome.reducedCost[static_cast<std::size_t>(c)] = at(lp.Dual, c);
    }
    const int own = n + technology.TechPos[static_cast<std::size_t>(d)];
    outcome.ownTight = tight(own);
    outcome.ownDual = at(lp.Dual, own);
    for (int k = n + 1; k <= n + numTech; ++k)
        if (k != own && tight(k))
            outcome.tightRows.push_back(
                {technology.TechDmu[static_cast<std::size_t>(k - n)], at(lp.Dual, k)});
    for (int k = 1; k <= weightRows; ++k) {
        outcome.restrictionDual[static_cast<std::size_t>(k)] = at(lp.Dual, n + numTech + k);
        outcome.restrictionTight[static_cast<std::size_t>(k)] = tight(n + numTech + k) ? 1 : 0;
    }
    return outcome;
}

void SolutionRecord::prepare(LpProblem &lp, int rows, int weightRows, int n)
{
    undo(lp);
    m_rows = rows;
    lp.LpRows = rows + weightRows;
    lp.LpCols = n;
    const auto all = static_cast<std::size_t>(n + rows + weightRows) + 1;
    if (lp.Primal.size() != all) {
        lp.Primal.resize(all, 0.0);
        lp.Dual.resize(all, 0.0);
        lp.VarStatus.resize(all, 1);
    }
}

void SolutionRecord::writeColumns(LpProblem &lp, const LpOutcome &outcome)
{
    lp.SolverCode = outcome.code;
    lp.ObjValue = outcome.objective;
    const auto n = static_cast<std::size_t>(lp.LpCols);
    for (std::size_t c = 1; c <= n && c < outcome.primal.size(); ++c) {
        lp.Primal[c] = outcome.primal[c];
        lp.Dual[c] = outcome.reducedCost[c];
    }
}

void SolutionRecord::writeRow(LpProblem &lp, int row, double dual, bool tight)
{
    if (row < 1 || row > lp.LpRows)
        return;
    const auto k = static_cast<std::size_t>(lp.LpCols + row);
    lp.Dual[k] = dual;
    lp.VarStatus[k] = tight ? 0 : 1;
    m_written.push_back(lp.LpCols + row);
}

void SolutionRecord::writeRestrictions(LpProblem &lp, const LpOutcome &outcome)
{
    const int weightRows = lp.LpRows - m_rows;
    for (int k = 1; k <= weightRows && static_cast<std::size_t>(k) < outcome.restrictionDual.size(); ++k)
        writeRow(lp, m_rows + k, outcome.restrictionDual[static_cast<std::size_t>(k)],
                 outcome.restrictionTight[static_cast<std::size_t>(k)] != 0);
}

void SolutionRecord::undo(LpProblem &lp)
{
    for (const std::int32_t k : m_written) {
        const auto kk = static_cast<std::size_t>(k);
        if (kk < lp.Dual.size()) {
            lp.Dual[kk] = 0.0;
            lp.VarStatus[kk] = 1;
        }
    }
    m_written.clear();
    const std::size_t columns = std::min(lp.Primal.size(), static_cast<std::size_t>(lp.LpCols) + 1);
    for (std::size_t c = 1; c < columns; ++c) {
        lp.Primal[c] = 0.0;
        lp.Dual[c] = 0.0;
    }
}

} // namespace zelvar
