#include "engine/LpFrame.h"

#include "data/DataSet.h"
#include "engine/NonRadialLp.h"
#include "engine/RadialLp.h"
#include "session/ModelOptions.h"

#include "CoinFinite.hpp"

namespace zelvar {

namespace {

double lowerOf(double rhs, double bound, double big)
{
    return bound <= -big ? -COIN_DBL_MAX : rhs + bound;
}

double upperOf(double rhs, double bound, double big)
{
    return bound >= big ? COIN_DBL_MAX : rhs + bound;
}

} // namespace

LpFrameBuilder::LpFrameBuilder(const DataSet &data, const ModelOptions &options)
    : m_data(data), m_options(options), m_radial(options.Distance == ModelDistance::RAD)
{
    m_single.NumTech = 1;
    m_single.TechDmu.assign(2, 0);
    m_single.TechPos.assign(static_cast<std::size_t>(data.NumDMU) + 1, 0);
    m_single.WeightRows = restrictsWeights(data, options) ? data.NumWeightRows : 0;
    const int weights = data.NumInputs + data.NumOutputs;
    for (int k = 1; k <= m_single.WeightRows; ++k)
        for (int c = 1; c <= weights; ++c)
            if (data.WeightRestrictions(c, k) != 0.0)
                ++m_weightNonzeros;
    m_lp.Big = LpProblem::BigValue;
}

void LpFrameBuilder::build(int d, LpFrame &frame, const std::vector<std::int16_t> *inputNonDisc,
                           const std::vector<std::int16_t> *outputNonDisc)
{
    const auto dd = static_cast<std::size_t>(d);
    const int weights = m_data.NumInputs + m_data.NumOutputs;
    const bool crs = m_options.ReturnsToScale == ModelReturns::CRS;
    const int n = weights + (crs ? 0 : 1);
    const int weightRows = m_single.WeightRows;

    // The technology of d alone: row 1 is d's own row.
    int nonzeros = m_weightNonzeros;
    for (int i = 1; i <= m_data.NumInputs; ++i)
        nonzeros += m_data.InputData(i, d) != 0.0 ? 1 : 0;
    for (int r = 1; r <= m_data.NumOutputs; ++r)
        nonzeros += m_data.OutputData(r, d) != 0.0 ? 1 : 0;
    m_single.TechDmu[1] = d;
    m_single.TechPos[dd] = 1;
    m_single.TechNonzeros = nonzeros - m_weightNonzeros;
    m_single.MatrixNonzeros = nonzeros;
    m_lp.resize(1 + weightRows, n, nonzeros);
    if (m_radial)
        buildRadialLp(d, m_data, m_options, m_single, m_lp);
    else if (inputNonDisc != nullptr && outputNonDisc != nullptr)
        buildNonRadialLp(d, m_data, m_options, m_single, *inputNonDisc, *outputNonDisc, m_lp);
    else
        buildNonRadialLp(d, m_data, m_options, m_single, m_lp);
    m_single.TechPos[dd] = 0;

    const double big = m_lp.Big;
    const auto un = static_cast<std::size_t>(n);
    frame.columns = n;
    frame.objective.assign(un, 0.0);
    frame.columnLower.assign(un, 0.0);
    frame.columnUpper.assign(un, 0.0);
    frame.ownRow.assign(un, 0.0);
    frame.restrictionRows.assign(un * static_cast<std::size_t>(weightRows), 0.0);
    for (std::size_t c = 0; c < un; ++c) {
        frame.objective[c] = m_lp.Obj[c + 1];
        frame.columnLower[c] = lowerOf(0.0, m_lp.LowerBound[c + 1], big);
        frame.columnUpper[c] = upperOf(0.0, m_lp.UpperBound[c + 1], big);
    }
    std::size_t entry = 0;
    for (std::size_t c = 0; c < un; ++c)
        for (int e = 0; e < m_lp.ColCount[c + 1]; ++e) {
            ++entry;
            const int row = m_lp.RowIndex[entry];
            const double value = m_lp.ColValue[entry];
            if (row == 1)
                frame.ownRow[c] += value;
            else
                frame.restrictionRows[static_cast<std::size_t>(row - 2) * un + c] += value;
        }
    frame.ownLower = lowerOf(m_lp.Rhs[1], m_lp.LowerBound[un + 1], big);
    frame.ownUpper = upperOf(m_lp.Rhs[1], m_lp.UpperBound[un + 1], big);
    frame.restrictionLower.resize(static_cast<std::size_t>(weightRows));
    frame.restrictionUpper.resize(static_cast<std::size_t>(weightRows));
    for (int k = 1; k <= weightRows; ++k) {
        const auto row = static_cast<std::size_t>(1 + k);
        frame.restrictionLower[static_cast<std::size_t>(k - 1)] =
            lowerOf(m_lp.Rhs[row], m_lp.LowerBound[un + row], big);
        frame.restrictionUpper[static_cast<std::size_t>(k - 1)] =
            upperOf(m_lp.Rhs[row], m_lp.UpperBound[un + row], big);
    }
    // The builders put u0 on every technology row with +1, except the radial
    // output-oriented LP, which measures from the other side with -1.
    frame.scaleCoefficient = crs ? 0.0 : (m_radial && m_options.Orientation == ModelOrientation::OUT ? -1.0 : 1.0);
}

} // namespace zelvar
