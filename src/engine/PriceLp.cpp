#include "engine/PriceLp.h"

#include "data/DataSet.h"
#include "engine/ColumnScaling.h"
#include "engine/LpFrame.h"
#include "engine/LpOutcome.h"
#include "engine/LpProblem.h"
#include "session/ModelOptions.h"

#include "CoinFinite.hpp"

#include <cmath>
#include <type_traits>

namespace zelvar {

PriceLpBuilder::PriceLpBuilder(const DataSet &data, const DataSet &lpData, const ColumnScaling &scaling,
                               const ModelOptions &options)
    : m_data(data), m_lpData(lpData), m_scaling(scaling), m_options(options),
      m_cost(options.Distance == ModelDistance::COST)
{
}

// Weight column c (inputs, then outputs) prices c's values in the LPs'
// units, which are the data's values times the factor.
double PriceLpBuilder::price(int c, int d) const
{
    return m_data.price(c, d) / (m_scaling.identity() ? 1.0 : m_scaling.factor(c));
}

double PriceLpBuilder::observed(int d) const
{
    double total = 0.0;
    if (m_cost) {
        for (int i = 1; i <= m_data.NumInputs; ++i)
            if (m_data.InputNonDisc[static_cast<std::size_t>(i)] == 0)
                total += m_data.price(i, d) * m_data.InputData(i, d);
    } else {
        const int m = m_data.NumInputs;
        for (int r = 1; r <= m_data.NumOutputs; ++r)
            if (m_data.OutputNonDisc[static_cast<std::size_t>(r)] == 0)
                total += m_data.price(m + r, d) * m_data.OutputData(r, d);
    }
    return total;
}

// 1 / the observed cost where that is a positive number; else 1 / the
// largest priced weight, so that the fixed weights stay near 1.
double PriceLpBuilder::moneyScale(int d) const
{
    const int m = m_data.NumInputs;
    double total = 0.0;
    double largest = 0.0;
    const int first = m_cost ? 1 : m + 1;
    const int last = m_cost ? m : m + m_data.NumOutputs;
    for (int c = first; c <= last; ++c) {
        const bool nd = c <= m ? m_data.InputNonDisc[static_cast<std::size_t>(c)] != 0
                               : m_data.OutputNonDisc[static_cast<std::size_t>(c - m)] != 0;
        if (nd)
            continue;
        const double value = c <= m ? m_lpData.InputData(c, d) : m_lpData.OutputData(c - m, d);
        total += price(c, d) * value;
        largest = std::max(largest, price(c, d));
    }
    if (total > 0.0 && std::isfinite(total) && std::isfinite(1.0 / total) && 1.0 / total > 0.0)
        return 1.0 / total;
    if (largest > 0.0 && std::isfinite(largest) && 1.0 / largest > 0.0)
        return 1.0 / largest;
    return 1.0;
}

void PriceLpBuilder::buildFrame(int d, bool inTechnology, LpFrame &frame) const
{
    const int m = m_lpData.NumInputs;
    const int s = m_lpData.NumOutputs;
    const bool crs = m_options.constantReturns();
    const int n = m + s + (crs ? 0 : 1);
    const auto un = static_cast<std::size_t>(n);
    const double scale = moneyScale(d);
    frame.columns = n;
    frame.objective.assign(un, 0.0);
    frame.columnLower.assign(un, 0.0);
    frame.columnUpper.assign(un, COIN_DBL_MAX);
    frame.ownRow.assign(un, 0.0);
    frame.restrictionRows.clear();
    frame.restrictionLower.clear();
    frame.restrictionUpper.clear();

    // Input weights: a priced one is fixed at its price and adds nothing to
    // the objective (its cost is on the technology rows); a free one prices
    // the DMU's own value, which bounds the plan.
    for (int i = 1; i <= m; ++i) {
        const auto c = static_cast<std::size_t>(i - 1);
        const bool nd = m_lpData.InputNonDisc[static_cast<std::size_t>(i)] != 0;
        if (m_cost && !nd) {
            frame.columnLower[c] = frame.columnUpper[c] = scale * price(i, d);
        } else {
            frame.objective[c] = m_lpData.InputData(i, d);
        }
        frame.ownRow[c] = -m_lpData.InputData(i, d);
    }
    for (int r = 1; r <= s; ++r) {
        const auto c = static_cast<std::size_t>(m + r - 1);
        const bool nd = m_lpData.OutputNonDisc[static_cast<std::size_t>(r)] != 0;
        if (!m_cost && !nd) {
            frame.columnLower[c] = frame.columnUpper[c] = scale * price(m + r, d);
        } else {
            frame.objective[c] = -m_lpData.OutputData(r, d);
        }
        frame.ownRow[c] = m_lpData.OutputData(r, d);
    }
    frame.scaleCoefficient = 0.0;
    if (!crs) {
        const std::size_t c = un - 1;
        // Cost: the dual of sum lambda (=, >=, <=) 1 in a minimisation; the
        // revenue LP maximises, so its row carries -u0 and the signs swap.
        frame.scaleCoefficient = m_cost ? 1.0 : -1.0;
        frame.objective[c] = m_cost ? -1.0 : 1.0;
        frame.ownRow[c] = frame.scaleCoefficient;
        const ModelReturns returns = m_options.ReturnsToScale;
        frame.columnLower[c] = returns == (m_cost ? ModelReturns::NDR : ModelReturns::NIR) ? 0.0 : -COIN_DBL_MAX;
        frame.columnUpper[c] = returns == (m_cost ? ModelReturns::NIR : ModelReturns::NDR) ? 0.0 : COIN_DBL_MAX;
    }

    frame.ownLower = -COIN_DBL_MAX;
    frame.ownUpper = 0.0;
    if (!inTechnology) {
        // A DMU evaluated from outside is measured against the technology alone.
        frame.ownRow.assign(un, 0.0);
        frame.ownUpper = COIN_DBL_MAX;
    }
}

void PriceLpBuilder::buildFullLp(const LpFrame &frame, const std::vector<int> &techDmus, LpProblem &lp) const
{
    const int m = m_lpData.NumInputs;
    const int s = m_lpData.NumOutputs;
    const int n = frame.columns;
    const auto rows = static_cast<int>(techDmus.size());
    auto value = [&](int c, int j) {
        return c <= m ? -m_lpData.InputData(c, j) : m_lpData.OutputData(c - m, j);
    };
    int nonzeros = n > m + s ? rows : 0;
    for (int c = 1; c <= m + s; ++c)
        for (const int j : techDmus)
            nonzeros += value(c, j) != 0.0 ? 1 : 0;

    lp.Big = LpProblem::BigValue;
    lp.resize(rows, n, nonzeros);
    lp.LpNonzeros = nonzeros;
    int e = 0;
    for (int c = 1; c <= n; ++c) {
        const auto cc = static_cast<std::size_t>(c);
        int count = 0;
        for (int k = 1; k <= rows; ++k) {
            const double a = c <= m + s ? value(c, techDmus[static_cast<std::size_t>(k - 1)]) : frame.scaleCoefficient;
            if (a == 0.0)
                continue;
            ++e;
            ++count;
            lp.RowIndex[static_cast<std::size_t>(e)] = k;
            lp.ColValue[static_cast<std::size_t>(e)] = a;
        }
        lp.ColCount[cc] = count;
        lp.Obj[cc] = frame.objective[cc - 1];
        lp.LowerBound[cc] = frame.columnLower[cc - 1] <= -COIN_DBL_MAX ? -lp.Big : frame.columnLower[cc - 1];
        lp.UpperBound[cc] = frame.columnUpper[cc - 1] >= COIN_DBL_MAX ? lp.Big : frame.columnUpper[cc - 1];
    }
    lp.LpNonzeros = e;
    // Each technology row: at most 0.
    for (int k = 1; k <= rows; ++k) {
        lp.Rhs[static_cast<std::size_t>(k)] = 0.0;
        lp.LowerBound[static_cast<std::size_t>(n + k)] = -lp.Big;
        lp.UpperBound[static_cast<std::size_t>(n + k)] = 0.0;
    }
}

LpOutcome PriceLpBuilder::outcomeOf(const LpProblem &lp, const std::vector<int> &techDmus, int d)
{
    const int n = lp.LpCols;
    LpOutcome outcome;
    outcome.clear(n, 0, lp.SolverCode);
    outcome.objective = lp.ObjValue;
    // A record that the solver left shorter than it should be reads as zeros.
    auto at = [](const auto &values, int k) {
        using Value = typename std::decay_t<decltype(values)>::value_type;
        return k >= 0 && static_cast<std::size_t>(k) < values.size() ? values[static_cast<std::size_t>(k)] : Value{};
    };
    for (int c = 1; c <= n; ++c) {
        outcome.primal[static_cast<std::size_t>(c)] = at(lp.Primal, c);
        outcome.reducedCost[static_cast<std::size_t>(c)] = at(lp.Dual, c);
    }
    for (std::size_t k = 1; k <= techDmus.size(); ++k) {
        const int row = n + static_cast<int>(k);
        if (at(lp.VarStatus, row) != 0)
            continue;
        const int j = techDmus[k - 1];
        if (j == d) {
            outcome.ownTight = true;
            outcome.ownDual = at(lp.Dual, row);
        } else {
            outcome.tightRows.push_back({j, at(lp.Dual, row)});
        }
    }
    return outcome;
}

} // namespace zelvar
