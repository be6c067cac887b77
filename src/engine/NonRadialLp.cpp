#include "engine/NonRadialLp.h"

#include "data/DataSet.h"
#include "engine/LpProblem.h"
#include "engine/Technology.h"
#include "engine/WeightColumns.h"
#include "session/ModelOptions.h"

namespace zelvar {

void buildNonRadialLp(int d, const DataSet &data, const ModelOptions &options,
                      const Technology &technology, const std::vector<std::int16_t> &inputNonDisc,
                      const std::vector<std::int16_t> &outputNonDisc, LpProblem &lp)
{
    const int m = data.NumInputs;
    const int s = data.NumOutputs;
    const int n = lp.LpCols;
    const int rows = lp.LpRows;
    const int N = technology.NumTech;
    const bool crs = options.ReturnsToScale == ModelReturns::CRS;
    const double big = lp.Big;

    auto x = [&](int i) { return data.InputData(i, d); };
    auto y = [&](int r) { return data.OutputData(r, d); };
    auto inputDisc = [&](int i) { return inputNonDisc[static_cast<std::size_t>(i)] == 0; };
    auto outputDisc = [&](int r) { return outputNonDisc[static_cast<std::size_t>(r)] == 0; };

    lp.LpNonzeros = technology.MatrixNonzeros + (crs ? 0 : N);
    lp.RowIndex.assign(static_cast<std::size_t>(lp.LpNonzeros) + 1, 0);
    lp.ColValue.assign(static_cast<std::size_t>(lp.LpNonzeros) + 1, 0.0);

    std::vector<double> ownInputs(static_cast<std::size_t>(m) + 1, 0.0);
    std::vector<double> ownOutputs(static_cast<std::size_t>(s) + 1, 0.0);
    for (int i = 1; i <= m; ++i)
        ownInputs[static_cast<std::size_t>(i)] = x(i);
    for (int r = 1; r <= s; ++r)
        ownOutputs[static_cast<std::size_t>(r)] = y(r);
    int e = writeWeightColumns(data, technology, d, ownInputs, ownOutputs, lp);

    // The scale variable enters every DMU row, d's own included.
    if (!crs) {
        lp.ColCount[static_cast<std::size_t>(n)] = N;
        for (int k = 1; k <= N; ++k) {
            ++e;
            lp.RowIndex[static_cast<std::size_t>(e)] = k;
            lp.ColValue[static_cast<std::size_t>(e)] = 1.0;
        }
        lp.Obj[static_cast<std::size_t>(n)] = -1.0;
    }

    for (int k = 1; k <= rows; ++k)
        lp.Rhs[static_cast<std::size_t>(k)] = 0.0;
    for (int i = 1; i <= m; ++i)
        lp.Obj[static_cast<std::size_t>(i)] = x(i);
    for (int r = 1; r <= s; ++r)
        lp.Obj[static_cast<std::size_t>(m + r)] = -y(r);

    // Lower bounds on the weights are the prices of the slacks in the
    // envelopment reading: 1 each for the additive model, 1 / (K * own value)
    // for the average of the K relative slacks.
    const bool additive = options.Distance == ModelDistance::ADD;
    const bool inputsCount = options.Orientation != ModelOrientation::OUT;
    const bool outputsCount = options.Orientation != ModelOrientation::IN;
    int K = 0;
    if (!additive) {
        for (int i = 1; i <= m; ++i)
            if (inputDisc(i) && x(i) != 0.0)
                ++K;
        for (int r = 1; r <= s; ++r)
            if (outputDisc(r) && y(r) != 0.0)
                ++K;
    }
    for (int i = 1; i <= m; ++i) {
        double lower = 0.0;
        if (inputDisc(i) && inputsCount) {
            if (additive)
                lower = 1.0;
            else if (x(i) != 0.0)
                lower = 1.0 / (K * x(i));
        }
        lp.LowerBound[static_cast<std::size_t>(i)] = lower;
        lp.UpperBound[static_cast<std::size_t>(i)] = big;
    }
    for (int r = 1; r <= s; ++r) {
        double lower = 0.0;
        if (outputDisc(r) && outputsCount) {
            if (additive)
                lower = 1.0;
            else if (y(r) != 0.0)
                lower = 1.0 / (K * y(r));
        }
        lp.LowerBound[static_cast<std::size_t>(m + r)] = lower;
        lp.UpperBound[static_cast<std::size_t>(m + r)] = big;
    }
    if (!crs) {
        double lower = -big;
        double upper = big;
        if (options.ReturnsToScale == ModelReturns::NDR)
            lower = 0.0;
        else if (options.ReturnsToScale == ModelReturns::NIR)
            upper = 0.0;
        lp.LowerBound[static_cast<std::size_t>(n)] = lower;
        lp.UpperBound[static_cast<std::size_t>(n)] = upper;
    }
    for (int k = 1; k <= N; ++k) {
        lp.LowerBound[static_cast<std::size_t>(n + k)] = -big;
        lp.UpperBound[static_cast<std::size_t>(n + k)] = 0.0;
    }
    for (int k = N + 1; k <= rows; ++k) {
        lp.LowerBound[static_cast<std::size_t>(n + k)] = 0.0;
        lp.UpperBound[static_cast<std::size_t>(n + k)] = big;
    }
}

void buildNonRadialLp(int d, const DataSet &data, const ModelOptions &options,
                      const Technology &technology, LpProblem &lp)
{
    buildNonRadialLp(d, data, options, technology, data.InputNonDisc, data.OutputNonDisc, lp);
}

} // namespace zelvar
