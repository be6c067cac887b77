#pragma once

#include <vector>

namespace zelvar {

class ColumnScaling;
struct DataSet;
struct LpFrame;
struct LpOutcome;
struct LpProblem;
struct ModelOptions;

// The LPs of the cost and revenue models, in the multiplier form the
// restricted LPs solve.
//
// Cost of DMU d at its prices w: minimise w . x over x and intensities
// lambda >= 0 with sum lambda_j x_j <= x on the discretionary inputs,
// sum lambda_j x_j <= x_d on the non-discretionary ones, sum lambda_j y_j >=
// y_d and the returns-to-scale row on sum lambda. With w >= 0 the optimal x
// is sum lambda_j x_j, so the LP is min sum lambda_j c_j, c_j the cost of
// DMU j's discretionary inputs at d's prices. Its dual, with v the input
// weights and u the output weights:
//   max u . y_d - v . x_d(non-discretionary) + u0
//   s.t. -v . x_j + u . y_j + u0 <= 0 for each technology DMU j,
//        v_i = w_i fixed for every discretionary input i, v, u >= 0,
// which is the radial multiplier LP without its normalisation, the
// discretionary input weights fixed at the prices. Its rows are those of the
// technology DMUs as TechnologyRows holds them, and a dominated DMU's row is
// implied by its dominator's (no more of any input, no less of any output,
// nonnegative weights), so the candidate rows serve.
//
// Revenue at prices p mirrors it: max sum lambda_j R_j with the
// non-discretionary outputs held at y_d and every input at most x_d; the
// dual minimises v . x_d - u . y_d(non-discretionary) + u0 with rows
// -v . x_j + u . y_j - u0 <= 0 and the discretionary output weights fixed at
// the prices.
//
// u0 exists unless returns are constant: free (VRS); for cost >= 0 under
// NDR (sum lambda >= 1) and <= 0 under NIR; for revenue the opposite signs.
//
// The LPs are built from the data in the LPs' units (ColumnScaling): a
// price per unit of a scaled column is the price divided by the column's
// factor, so costs stay the same. All prices of d are further multiplied by
// one factor (moneyScale) that brings d's observed cost (revenue) to 1, so
// the optimum is near 1 whatever the currency.
class PriceLpBuilder {
public:
    // data: prices and the values as loaded; lpData: the same in the LPs'
    // units by scaling. All must outlive the builder.
    PriceLpBuilder(const DataSet &data, const DataSet &lpData, const ColumnScaling &scaling,
                   const ModelOptions &options);

    bool cost() const { return m_cost; }

    // d's observed cost of its discretionary inputs (revenue of its
    // discretionary outputs) at its prices, in the data's units.
    [[nodiscard]] double observed(int d) const;
    // The factor of d's prices in its LP: the LP's optimum is moneyScale
    // times the minimal cost (minus it: the LP minimises), or moneyScale
    // times the maximal revenue.
    [[nodiscard]] double moneyScale(int d) const;

    // The frame of d's LP: objective, column bounds (fixed columns for the
    // priced weights), d's own at-most row when d belongs to the technology
    // (otherwise a row without coefficients or bounds) and the coefficient
    // of u0 on every technology row.
    void buildFrame(int d, bool inTechnology, LpFrame &frame) const;

    // The whole LP of frame over the technology DMUs techDmus (ascending):
    // row k is DMU techDmus[k - 1].
    void buildFullLp(const LpFrame &frame, const std::vector<int> &techDmus, LpProblem &lp) const;

    // What the solved full LP says, in the form of the restricted LPs'
    // outcome: d's row (when d is among techDmus) as the own row.
    [[nodiscard]] static LpOutcome outcomeOf(const LpProblem &lp, const std::vector<int> &techDmus, int d);

private:
    double price(int c, int d) const; // in the LPs' units, before moneyScale

    const DataSet &m_data;
    const DataSet &m_lpData;
    const ColumnScaling &m_scaling;
    const ModelOptions &m_options;
    bool m_cost;
};

} // namespace zelvar
