#include "engine/ColumnScaling.h"

#include "engine/LpOutcome.h"
#include "engine/LpProblem.h"
#include "engine/Technology.h"
#include "session/ModelOptions.h"

#include <cfloat>
#include <cmath>
#include <limits>

namespace zelvar {

namespace {

// Whether value * factor is computed exactly: zero, or a normal double that
// stays normal.
bool scalesExactly(double value, double factor)
{
    if (value == 0.0)
        return true;
    const double product = std::fabs(value * factor);
    return std::isfinite(product) && product >= DBL_MIN;
}

// The power of two for one column of values (row `column` of matrix: one
// input or output over the DMUs), checked against the restriction
// coefficients of its weight (row `weight` of restrictions, may be null).
double factorFor(const Matrix &matrix, int column, const Matrix *restrictions, int weight)
{
    int largest = std::numeric_limits<int>::min();
    for (int d = 1; d <= matrix.cols(); ++d) {
        const double value = std::fabs(matrix(column, d));
        if (value == 0.0 || !std::isfinite(value))
            continue;
        int exponent = 0;
        (void)std::frexp(value, &exponent);
        largest = std::max(largest, exponent);
    }
    if (largest == std::numeric_limits<int>::min())
        return 1.0;
    if (largest >= ColumnScaling::SmallestKeptExponent && largest <= ColumnScaling::LargestKeptExponent)
        return 1.0;
    // The largest value becomes at least 1/2 and below 1. Scaling to the
    // largest value rather than to a middle one never makes a value large:
    // a stray tiny value stays as small beside the others as it was.
    const double factor = std::ldexp(1.0, -largest);
    for (int d = 1; d <= matrix.cols(); ++d)
        if (!scalesExactly(matrix(column, d), factor) && std::isfinite(matrix(column, d)))
            return 1.0;
    if (restrictions != nullptr)
        for (int k = 1; k <= restrictions->cols(); ++k)
            if (!scalesExactly((*restrictions)(weight, k), factor) && std::isfinite((*restrictions)(weight, k)))
                return 1.0;
    return factor;
}

} // namespace

ColumnScaling ColumnScaling::forRun(const DataSet &data, const ModelOptions &options)
{
    ColumnScaling scaling;
    const int m = data.NumInputs;
    const int weights = data.NumInputs + data.NumOutputs;
    scaling.m_factor.assign(static_cast<std::size_t>(std::max(weights, 0)) + 1, 1.0);
    if (options.Distance == ModelDistance::ADD)
        return scaling;
    const Matrix *restrictions = restrictsWeights(data, options) ? &data.WeightRestrictions : nullptr;
    for (int c = 1; c <= weights; ++c) {
        const double factor = c <= m ? factorFor(data.InputData, c, restrictions, c)
                                     : factorFor(data.OutputData, c - m, restrictions, c);
        scaling.m_factor[static_cast<std::size_t>(c)] = factor;
        if (factor != 1.0)
            scaling.m_identity = false;
    }
    return scaling;
}

DataSet ColumnScaling::scaled(const DataSet &data) const
{
    DataSet result;
    result.NumDMU = data.NumDMU;
    result.NumInputs = data.NumInputs;
    result.NumOutputs = data.NumOutputs;
    result.InputNonDisc = data.InputNonDisc;
    result.OutputNonDisc = data.OutputNonDisc;
    result.InputData = data.InputData;
    result.OutputData = data.OutputData;
    result.WeightsFileName = data.WeightsFileName;
    result.NumWeightRows = data.NumWeightRows;
    result.WeightRestrictions = data.WeightRestrictions;
    result.WeightNonzeros = data.WeightNonzeros;

    const int m = data.NumInputs;
    for (int c = 1; c <= data.NumInputs + data.NumOutputs; ++c) {
        const double f = factor(c);
        if (f == 1.0)
            continue;
        Matrix &values = c <= m ? result.InputData : result.OutputData;
        const int row = c <= m ? c : c - m;
        for (int d = 1; d <= values.cols(); ++d)
            values(row, d) *= f;
        if (c <= result.WeightRestrictions.rows())
            for (int k = 1; k <= result.WeightRestrictions.cols(); ++k)
                result.WeightRestrictions(c, k) *= f;
    }
    return result;
}

namespace {

// Weights (primal values) times the factor, reduced costs divided by it.
void unscaleColumns(const std::vector<double> &factor, std::vector<double> &primal, std::vector<double> &reducedCost)
{
    for (std::size_t c = 1; c < factor.size(); ++c) {
        if (c < primal.size())
            primal[c] *= factor[c];
        if (c < reducedCost.size())
            reducedCost[c] /= factor[c];
    }
}

} // namespace

void ColumnScaling::unscale(LpOutcome &outcome) const
{
    if (!m_identity)
        unscaleColumns(m_factor, outcome.primal, outcome.reducedCost);
}

void ColumnScaling::unscale(LpProblem &lp) const
{
    if (!m_identity)
        unscaleColumns(m_factor, lp.Primal, lp.Dual);
}

} // namespace zelvar
