#pragma once

#include "data/DataSet.h"

#include <vector>

namespace zelvar {

struct LpOutcome;
struct LpProblem;
struct ModelOptions;

// Units of measurement for the LPs. The weight of a column is measured in
// "per unit of that input or output", so data in large units (amounts of
// money in currency units) gives weights of 1e-12 and less, below the
// solver's absolute tolerances, and a weight that the solver takes as
// feasible at -1e-10 then moves the score by whole percents. Each input and
// output column whose values lie far from unit size is therefore divided by
// a power of two near its largest value before the LPs are built; the LP of
// the scaled data is the same LP in other units (weight w becomes w * f, the
// slack of the envelopment reading s / f, intensities and scores stay), and
// its weights and slacks are mapped back before anything is shown.
//
// Powers of two are exact in floating point: a scaled value times its scaled
// weight is bit for bit the original value times the original weight, and a
// column of ordinary size keeps the factor 1, so its LPs are the ones solved
// without scaling.
//
// The additive model sums slacks of different units, its score depends on
// them, and its weights have a lower bound of 1 in the data's own units: its
// columns are never scaled.
class ColumnScaling {
public:
    // A column keeps its units when its largest absolute value lies below
    // 2^LargestKeptExponent and at or above 2^(SmallestKeptExponent - 1):
    // counts, amounts in thousands or millions, shares. Unscaled LPs were
    // seen to lose digits with a column of values near 2^17 beside columns
    // of ordinary size, and near 2^-14; the band keeps a margin to both.
    static constexpr int SmallestKeptExponent = -8;
    static constexpr int LargestKeptExponent = 16;

    // The identity: no column scaled.
    ColumnScaling() = default;

    // The factors for the LPs of a run of `options` on `data`. A column
    // outside the band is divided by the power of two that brings its
    // largest finite absolute value over every DMU to [1/2, 1), so the
    // factor depends on the data set alone and not on which DMUs a run
    // selects. A column keeps
    // the factor 1 when some nonzero value (or a weight restriction
    // coefficient of its weight, when the run restricts weights) would leave
    // the range of normal doubles, where scaling would no longer be exact.
    [[nodiscard]] static ColumnScaling forRun(const DataSet &data, const ModelOptions &options);

    bool identity() const { return m_identity; }
    // Factor of weight column c: inputs 1..NumInputs, then outputs.
    double factor(int c) const { return m_factor[static_cast<std::size_t>(c)]; }

    // The numbers of data in the LPs' units: counts, non-discretionary
    // marks, input and output values, and the weight restrictions with the
    // coefficient of each weight multiplied by its column's factor (the
    // restriction then says the same of the scaled weights). Names are not
    // copied.
    [[nodiscard]] DataSet scaled(const DataSet &data) const;

    // Back to the data's units: the weights (primal values) of the weight
    // columns times their factor, their reduced costs (the slacks) divided by it.
    void unscale(LpOutcome &outcome) const;
    void unscale(LpProblem &lp) const;

private:
    bool m_identity = true;
    std::vector<double> m_factor; // 1..weights
};

} // namespace zelvar
