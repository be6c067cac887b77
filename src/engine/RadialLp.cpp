#include "engine/RadialLp.h"

#include "data/DataSet.h"
#include "engine/LpProblem.h"
#include "engine/Technology.h"
#include "engine/WeightColumns.h"
#include "session/ModelOptions.h"

#include <vector>

namespace zelvar {

namespace {

// What the radial LP of DMU d reads of the data and the options.
struct RadialLpView {
    const DataSet &data;
    int d;
    bool in;
    bool out;
    bool non;
    double x(int i) const { return data.InputData(i, d); }
    double y(int r) const { return data.OutputData(r, d); }
    bool inputNd(int i) const { return data.InputNonDisc[static_cast<std::size_t>(i)] != 0; }
    bool outputNd(int r) const { return data.OutputNonDisc[static_cast<std::size_t>(r)] != 0; }
};

// DMU d's row carries the normalisation instead of its own at-most row:
// only the discretionary values on the side(s) the orientation scales stay
// (inputs with a sign flip for "NON", so the row reads +x v + y u = 1).
// Returns the number of nonzero values dropped from d's row.
int normalisationRow(const RadialLpView &v, std::vector<double> &ownInputs, std::vector<double> &ownOutputs)
{
    ownInputs.assign(static_cast<std::size_t>(v.data.NumInputs) + 1, 0.0);
    ownOutputs.assign(static_cast<std::size_t>(v.data.NumOutputs) + 1, 0.0);
    int dropped = 0;
    for (int i = 1; i <= v.data.NumInputs; ++i) {
        if (!v.out && !v.inputNd(i))
            ownInputs[static_cast<std::size_t>(i)] = v.non ? -v.x(i) : v.x(i);
        else if (v.x(i) != 0.0)
            ++dropped;
    }
    for (int r = 1; r <= v.data.NumOutputs; ++r) {
        if (!v.in && !v.outputNd(r))
            ownOutputs[static_cast<std::size_t>(r)] = v.y(r);
        else if (v.y(r) != 0.0)
            ++dropped;
    }
    return dropped;
}

// The scale variable u0 enters every row but d's: the normalisation row fixes
// the size of the weights, not the position of the hyperplane. Nondecreasing
// returns allow only hyperplanes through or above the origin on the side the
// orientation measures; nonincreasing the opposite.
void writeScaleColumn(const RadialLpView &v, ModelReturns returns, int own, int numTech, int e, LpProblem &lp)
{
    const int n = lp.LpCols;
    const double big = lp.Big;
    lp.ColCount[static_cast<std::size_t>(n)] = numTech - 1;
    for (int k = 1; k <= numTech; ++k) {
        if (k == own)
            continue;
        ++e;
        lp.RowIndex[static_cast<std::size_t>(e)] = k;
        lp.ColValue[static_cast<std::size_t>(e)] = v.out ? -1.0 : 1.0;
    }
    lp.Obj[static_cast<std::size_t>(n)] = v.out ? 1.0 : -1.0;
    double lower = -big;
    double upper = big;
    if (returns == ModelReturns::NDR) {
        lower = v.out ? -big : 0.0;
        upper = v.out ? 0.0 : big;
    } else if (returns == ModelReturns::NIR) {
        lower = v.out ? 0.0 : -big;
        upper = v.out ? big : 0.0;
    }
    lp.LowerBound[static_cast<std::size_t>(n)] = lower;
    lp.UpperBound[static_cast<std::size_t>(n)] = upper;
}

// Weights at least 0; technology rows at most 0, d's row (the
// normalisation) an equality; restriction rows at least 0.
void writeRowBounds(int own, int numTech, LpProblem &lp)
{
    const int n = lp.LpCols;
    const double big = lp.Big;
    for (int k = 1; k <= numTech; ++k) {
        lp.LowerBound[static_cast<std::size_t>(n + k)] = -big;
        lp.UpperBound[static_cast<std::size_t>(n + k)] = 0.0;
    }
    lp.LowerBound[static_cast<std::size_t>(n + own)] = 0.0;
    lp.UpperBound[static_cast<std::size_t>(n + own)] = 0.0;
    for (int k = numTech + 1; k <= lp.LpRows; ++k) {
        lp.LowerBound[static_cast<std::size_t>(n + k)] = 0.0;
        lp.UpperBound[static_cast<std::size_t>(n + k)] = big;
    }
}

} // namespace

void buildRadialLp(int d, const DataSet &data, const ModelOptions &options, const Technology &technology,
                   LpProblem &lp)
{
    const int m = data.NumInputs;
    const int s = data.NumOutputs;
    const int N = technology.NumTech;
    const int own = technology.TechPos[static_cast<std::size_t>(d)];
    const bool crs = options.constantReturns();
    const RadialLpView v{data, d, options.Orientation == ModelOrientation::IN,
                         options.Orientation == ModelOrientation::OUT, options.Orientation == ModelOrientation::NON};

    std::vector<double> ownInputs;
    std::vector<double> ownOutputs;
    const int dropped = normalisationRow(v, ownInputs, ownOutputs);
    lp.LpNonzeros = technology.MatrixNonzeros - dropped + (crs ? 0 : N - 1);
    lp.RowIndex.assign(static_cast<std::size_t>(lp.LpNonzeros) + 1, 0);
    lp.ColValue.assign(static_cast<std::size_t>(lp.LpNonzeros) + 1, 0.0);

    const int e = writeWeightColumns(data, technology, d, ownInputs, ownOutputs, lp);
    for (int c = 1; c <= m + s; ++c) {
        lp.LowerBound[static_cast<std::size_t>(c)] = 0.0;
        lp.UpperBound[static_cast<std::size_t>(c)] = lp.Big;
    }
    if (!crs)
        writeScaleColumn(v, options.ReturnsToScale, own, N, e, lp);

    // Objective: the side the orientation does not scale is priced at the
    // DMU's own values; non-discretionary values on the scaled side too.
    for (int k = 1; k <= lp.LpRows; ++k)
        lp.Rhs[static_cast<std::size_t>(k)] = 0.0;
    for (int i = 1; i <= m; ++i)
        lp.Obj[static_cast<std::size_t>(i)] = (v.in && !v.inputNd(i)) ? 0.0 : v.x(i);
    for (int r = 1; r <= s; ++r)
        lp.Obj[static_cast<std::size_t>(m + r)] = (v.out && !v.outputNd(r)) ? 0.0 : -v.y(r);
    lp.Rhs[static_cast<std::size_t>(own)] = v.in ? -1.0 : 1.0;
    writeRowBounds(own, N, lp);
}

} // namespace zelvar
