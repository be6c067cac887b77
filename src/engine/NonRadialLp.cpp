#include "engine/NonRadialLp.h"

#include "data/DataSet.h"
#include "engine/LpProblem.h"
#include "engine/Technology.h"
#include "engine/WeightColumns.h"
#include "session/ModelOptions.h"

namespace zelvar {

namespace {

// Lower bounds on the weights are the prices of the slacks in the
// envelopment reading: 1 each for the additive model, 1 / (K * own value)
// for the average of the K relative slacks, on the discretionary variables
// the orientation counts.
void writeWeightBounds(int d, const DataSet &data, const ModelOptions &options,
                       const std::vector<std::int16_t> &inputNonDisc, const std::vector<std::int16_t> &outputNonDisc,
                       LpProblem &lp)
{
    const int m = data.NumInputs;
    const int s = data.NumOutputs;
    auto value = [&](int k) { return k <= m ? data.InputData(k, d) : data.OutputData(k - m, d); };
    auto discretionary = [&](int k) {
        return k <= m ? inputNonDisc[static_cast<std::size_t>(k)] == 0
                      : outputNonDisc[static_cast<std::size_t>(k - m)] == 0;
    };
    auto counted = [&](int k) {
        return k <= m ? options.Orientation != ModelOrientation::OUT : options.Orientation != ModelOrientation::IN;
    };
    const bool additive = options.Distance == ModelDistance::ADD;
    int K = 0;
    for (int k = 1; k <= m + s; ++k)
        if (!additive && discretionary(k) && value(k) != 0.0)
            ++K;
    for (int k = 1; k <= m + s; ++k) {
        double lower = 0.0;
        if (discretionary(k) && counted(k)) {
            if (additive)
                lower = 1.0;
            else if (value(k) != 0.0)
                lower = 1.0 / (K * value(k));
        }
        lp.LowerBound[static_cast<std::size_t>(k)] = lower;
        lp.UpperBound[static_cast<std::size_t>(k)] = lp.Big;
    }
}

// The scale variable enters every DMU row, d's own included: free under
// variable returns, at least 0 under nondecreasing, at most 0 under
// nonincreasing ones.
void writeScaleColumn(ModelReturns returns, int numTech, int e, LpProblem &lp)
{
    const int n = lp.LpCols;
    lp.ColCount[static_cast<std::size_t>(n)] = numTech;
    for (int k = 1; k <= numTech; ++k) {
        ++e;
        lp.RowIndex[static_cast<std::size_t>(e)] = k;
        lp.ColValue[static_cast<std::size_t>(e)] = 1.0;
    }
    lp.Obj[static_cast<std::size_t>(n)] = -1.0;
    lp.LowerBound[static_cast<std::size_t>(n)] = returns == ModelReturns::NDR ? 0.0 : -lp.Big;
    lp.UpperBound[static_cast<std::size_t>(n)] = returns == ModelReturns::NIR ? 0.0 : lp.Big;
}

} // namespace

void buildNonRadialLp(int d, const DataSet &data, const ModelOptions &options, const Technology &technology,
                      const std::vector<std::int16_t> &inputNonDisc, const std::vector<std::int16_t> &outputNonDisc,
                      LpProblem &lp)
{
    const int m = data.NumInputs;
    const int s = data.NumOutputs;
    const int n = lp.LpCols;
    const int N = technology.NumTech;
    const bool crs = options.constantReturns();

    lp.LpNonzeros = technology.MatrixNonzeros + (crs ? 0 : N);
    lp.RowIndex.assign(static_cast<std::size_t>(lp.LpNonzeros) + 1, 0);
    lp.ColValue.assign(static_cast<std::size_t>(lp.LpNonzeros) + 1, 0.0);

    // d's own row stays as it is: an at-most row like every other.
    std::vector<double> ownInputs(static_cast<std::size_t>(m) + 1, 0.0);
    std::vector<double> ownOutputs(static_cast<std::size_t>(s) + 1, 0.0);
    for (int i = 1; i <= m; ++i)
        ownInputs[static_cast<std::size_t>(i)] = data.InputData(i, d);
    for (int r = 1; r <= s; ++r)
        ownOutputs[static_cast<std::size_t>(r)] = data.OutputData(r, d);
    const int e = writeWeightColumns(data, technology, d, ownInputs, ownOutputs, lp);
    writeWeightBounds(d, data, options, inputNonDisc, outputNonDisc, lp);
    if (!crs)
        writeScaleColumn(options.ReturnsToScale, N, e, lp);

    for (int k = 1; k <= lp.LpRows; ++k)
        lp.Rhs[static_cast<std::size_t>(k)] = 0.0;
    for (int i = 1; i <= m; ++i)
        lp.Obj[static_cast<std::size_t>(i)] = data.InputData(i, d);
    for (int r = 1; r <= s; ++r)
        lp.Obj[static_cast<std::size_t>(m + r)] = -data.OutputData(r, d);
    // Technology rows at most 0, restriction rows at least 0.
    for (int k = 1; k <= lp.LpRows; ++k) {
        const bool technologyRow = k <= N;
        lp.LowerBound[static_cast<std::size_t>(n + k)] = technologyRow ? -lp.Big : 0.0;
        lp.UpperBound[static_cast<std::size_t>(n + k)] = technologyRow ? 0.0 : lp.Big;
    }
}

void buildNonRadialLp(int d, const DataSet &data, const ModelOptions &options,
                      const Technology &technology, LpProblem &lp)
{
    buildNonRadialLp(d, data, options, technology, data.InputNonDisc, data.OutputNonDisc, lp);
}

} // namespace zelvar
