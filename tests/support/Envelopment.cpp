#include "support/Envelopment.h"

#include "support/PriceSupport.h"
#include "support/TestSupport.h"

#include "ClpSimplex.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace zelvar::test {

namespace {

const double Inf = COIN_DBL_MAX;

// An envelopment LP built column by column and row by row in CLP: first an
// intensity column per reference DMU and a multiplier per restriction row,
// then the model's own columns; minimised.
struct EnvelopmentLp {
    EnvelopmentLp(const DataSet &dataSet, const std::vector<int> &reference, int skip, bool restricted) : data(dataSet)
    {
        model.setLogLevel(0);
        for (int j : reference)
            if (j != skip) {
                dmus.push_back(j);
                column(0.0);
            }
        restrictions = restricted ? data.NumWeightRows : 0;
        for (int k = 0; k < restrictions; ++k)
            column(0.0);
    }
    int column(double objective, double lower = 0.0)
    {
        model.addColumn(0, nullptr, nullptr, lower, Inf, objective);
        return model.numberColumns() - 1;
    }
    // Input (output) v: the sum of the intensities times the reference DMUs'
    // values, + W pi (- W pi) for the restriction multipliers, and `own`
    // times column `theta` when theta >= 0.
    void row(bool input, int v, int theta, double own, double lower, double upper)
    {
        std::vector<int> columns;
        std::vector<double> values;
        for (std::size_t k = 0; k < dmus.size(); ++k) {
            columns.push_back(static_cast<int>(k));
            values.push_back(input ? data.InputData(v, dmus[k]) : data.OutputData(v, dmus[k]));
        }
        for (int k = 1; k <= restrictions; ++k) {
            columns.push_back(static_cast<int>(dmus.size()) + k - 1);
            values.push_back((input ? 1.0 : -1.0) * data.WeightRestrictions(input ? v : data.NumInputs + v, k));
        }
        if (theta >= 0) {
            columns.push_back(theta);
            values.push_back(own);
        }
        model.addRow(static_cast<int>(columns.size()), columns.data(), values.data(), lower, upper);
    }
    EnvelopmentResult solve(const std::string &rts, double sign)
    {
        if (rts != "CRS") {
            std::vector<int> columns(dmus.size());
            std::iota(columns.begin(), columns.end(), 0);
            const std::vector<double> ones(dmus.size(), 1.0);
            model.addRow(static_cast<int>(dmus.size()), columns.data(), ones.data(), rts == "NIR" ? -Inf : 1.0,
                         rts == "NDR" ? Inf : 1.0);
        }
        model.primal();
        EnvelopmentResult result;
        result.optimal = model.status() == 0;
        result.lambda.assign(static_cast<std::size_t>(data.NumDMU) + 1, 0.0);
        if (result.optimal) {
            result.value = sign * model.objectiveValue();
            for (std::size_t k = 0; k < dmus.size(); ++k)
                result.lambda[static_cast<std::size_t>(dmus[k])] = model.primalColumnSolution()[k];
        }
        return result;
    }

    const DataSet &data;
    ClpSimplex model;
    std::vector<int> dmus; // the DMU of each intensity column
    int restrictions = 0;
};

} // namespace

EnvelopmentResult solveRadialEnvelopment(const DataSet &data, int d, const std::vector<int> &reference,
                                         const std::string &orientation, const std::string &rts,
                                         bool restricted)
{
    EnvelopmentLp lp(data, reference, d, restricted);
    // theta: minimised for "IN", maximised (minus minimised) otherwise.
    const int theta = lp.column(orientation == "IN" ? 1.0 : -1.0, -Inf);
    for (int i = 1; i <= data.NumInputs; ++i) {
        const double own = data.InputData(i, d);
        if (data.InputNonDisc[static_cast<std::size_t>(i)] != 0 || orientation == "OUT")
            lp.row(true, i, -1, 0.0, -Inf, own);
        else if (orientation == "IN")
            lp.row(true, i, theta, -own, -Inf, 0.0); // sum lambda x <= theta x_d
        else
            lp.row(true, i, theta, own, -Inf, own); // sum lambda x <= (1 - theta) x_d
    }
    for (int r = 1; r <= data.NumOutputs; ++r) {
        const double own = data.OutputData(r, d);
        if (data.OutputNonDisc[static_cast<std::size_t>(r)] != 0 || orientation == "IN")
            lp.row(false, r, -1, 0.0, own, Inf);
        else if (orientation == "OUT")
            lp.row(false, r, theta, -own, 0.0, Inf); // sum lambda y >= phi y_d
        else
            lp.row(false, r, theta, -own, own, Inf); // sum lambda y >= (1 + theta) y_d
    }
    return lp.solve(rts, orientation == "IN" ? 1.0 : -1.0);
}

EnvelopmentResult solveSlackEnvelopment(const DataSet &data, int d, const std::vector<int> &reference,
                                        const std::string &rts, const std::vector<double> &inputPrice,
                                        const std::vector<double> &outputPrice, bool restricted)
{
    // sum lambda x + s = x_d and sum lambda y - s = y_d, the slacks s priced.
    EnvelopmentLp lp(data, reference, 0, restricted);
    for (int i = 1; i <= data.NumInputs; ++i)
        lp.row(true, i, lp.column(-inputPrice[static_cast<std::size_t>(i)]), 1.0, data.InputData(i, d),
               data.InputData(i, d));
    for (int r = 1; r <= data.NumOutputs; ++r)
        lp.row(false, r, lp.column(-outputPrice[static_cast<std::size_t>(r)]), -1.0, data.OutputData(r, d),
               data.OutputData(r, d));
    return lp.solve(rts, -1.0);
}

PricedEnvelopment solvePricedEnvelopment(const DataSet &data, int d, const std::vector<int> &reference,
                                         ModelDistance distance, ModelReturns returns)
{
    // Cost: min w q with sum lambda x <= q (revenue: max p q with sum lambda
    // y >= q), the other side bounded by d's values; a non-discretionary
    // quantity is d's own value, bounding its row instead.
    const bool cost = distance == ModelDistance::COST;
    const int m = data.NumInputs;
    EnvelopmentLp lp(data, reference, 0, false);
    std::vector<int> quantity(static_cast<std::size_t>(cost ? m : data.NumOutputs) + 1, -1);
    std::vector<double> own(quantity.size(), 0.0);
    for (int c = 1; c <= m + data.NumOutputs; ++c) {
        const bool input = c <= m;
        const int v = input ? c : c - m;
        const double value = input ? data.InputData(v, d) : data.OutputData(v, d);
        const bool nd = (input ? data.InputNonDisc : data.OutputNonDisc)[static_cast<std::size_t>(v)] != 0;
        if (input == cost)
            own[static_cast<std::size_t>(v)] = value;
        if (input != cost || nd) {
            lp.row(input, v, -1, 0.0, input ? -Inf : value, input ? value : Inf);
            continue;
        }
        const int q = lp.column(cost ? data.price(c, d) : -data.price(c, d));
        quantity[static_cast<std::size_t>(v)] = q;
        lp.row(input, v, q, -1.0, input ? -Inf : 0.0, input ? 0.0 : Inf);
    }
    const EnvelopmentResult e = lp.solve(std::string(codeOf(returns)), cost ? 1.0 : -1.0);
    PricedEnvelopment result{e.optimal, e.value, own, e.lambda};
    for (std::size_t k = 1; k < quantity.size() && e.optimal; ++k)
        if (quantity[k] >= 0)
            result.quantities[k] = lp.model.primalColumnSolution()[quantity[k]];
    return result;
}

void expectProjection(const DataSet &data, const ModelOptions &options, const RowSeen &row,
                      const std::vector<int> &lpDmus)
{
    const int d = row.d;
    const int m = data.NumInputs;
    const int n = m + data.NumOutputs + (options.constantReturns() ? 0 : 1);
    const auto rows = static_cast<int>(lpDmus.size());
    const int restrictions = options.RestrictWeights ? data.NumWeightRows : 0;
    auto dual = [&](int k) { return row.dual[static_cast<std::size_t>(k)]; };
    // Intensity of each DMU: minus the dual of its row. The radial LP's own
    // row is the normalisation, not a DMU.
    std::vector<double> lambda(static_cast<std::size_t>(data.NumDMU) + 1, 0.0);
    double sum = 0.0;
    for (int k = 1; k <= rows; ++k) {
        const int j = lpDmus[static_cast<std::size_t>(k - 1)];
        if (j == d && options.radial())
            continue;
        lambda[static_cast<std::size_t>(j)] = -dual(n + k);
        sum += -dual(n + k);
        EXPECT_GE(-dual(n + k), -1e-9) << "intensity of DMU " << j;
    }
    // The benchmarks name the DMUs of those rows.
    for (auto [j, value] : parseBenchmarks(row.benchmarks))
        EXPECT_NEAR(value, lambda[static_cast<std::size_t>(j)], 1e-8) << "benchmark " << j;
    // Restriction row k moves W(c, k) times its dual onto weight c.
    auto restricted = [&](int c) {
        double total = 0.0;
        for (int k = 1; k <= restrictions; ++k)
            total += data.WeightRestrictions(c, k) * dual(n + rows + k);
        return total;
    };
    const bool radial = options.radial();
    const ModelOrientation o = options.Orientation;
    for (int c = 1; c <= m + data.NumOutputs; ++c) {
        const bool input = c <= m;
        const int v = input ? c : c - m;
        const Matrix &values = input ? data.InputData : data.OutputData;
        const bool nd = (input ? data.InputNonDisc : data.OutputNonDisc)[static_cast<std::size_t>(v)] != 0;
        double rebuilt = 0.0;
        for (int j = 1; j <= data.NumDMU; ++j)
            rebuilt += lambda[static_cast<std::size_t>(j)] * values(v, j);
        rebuilt += input ? restricted(c) + std::fabs(dual(c)) : -restricted(c) - std::fabs(dual(c));
        double target = values(v, d);
        if (radial && !nd && input && o != ModelOrientation::OUT)
            target *= o == ModelOrientation::IN ? row.score : 1.0 - row.score;
        if (radial && !nd && !input && o != ModelOrientation::IN)
            target *= o == ModelOrientation::OUT ? row.score : 1.0 + row.score;
        EXPECT_NEAR(rebuilt, target, 1e-6 * std::max(1.0, std::fabs(target)))
            << "DMU " << d << (input ? " input " : " output ") << v;
    }
    const ModelReturns returns = options.ReturnsToScale;
    EXPECT_TRUE(returns == ModelReturns::CRS
                || ((returns == ModelReturns::NIR || sum >= 1.0 - 1e-6)
                    && (returns == ModelReturns::NDR || sum <= 1.0 + 1e-6)))
        << "DMU " << d << ": intensities add up to " << sum;
}

} // namespace zelvar::test
