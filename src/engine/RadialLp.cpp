#include "engine/RadialLp.h"

#include "data/DataSet.h"
#include "engine/LpProblem.h"
#include "engine/Technology.h"
#include "engine/WeightColumns.h"
#include "session/ModelOptions.h"

#include <vector>

namespace zelvar {

void buildRadialLp(int d, const DataSet &data, const ModelOptions &options,
                   const Technology &technology, LpProblem &lp)
{
    const int m = data.NumInputs;
    const int s = data.NumOutputs;
    const int n = lp.LpCols;
    const int rows = lp.LpRows;
    const int N = technology.NumTech;
    const int own = technology.TechPos[static_cast<std::size_t>(d)];
    const bool inOriented = options.Orientation == ModelOrientation::IN;
    const bool outOriented = options.Orientation == ModelOrientation::OUT;
    const bool nonOriented = options.Orientation == ModelOrientation::NON;
    const bool crs = options.ReturnsToScale == ModelReturns::CRS;
    const double big = lp.Big;

    auto x = [&](int i) { return data.InputData(i, d); };
    auto y = [&](int r) { return data.OutputData(r, d); };
    auto inputNd = [&](int i) { return data.InputNonDisc[static_cast<std::size_t>(i)] != 0; };
    auto outputNd = [&](int r) { return data.OutputNonDisc[static_cast<std::size_t>(r)] != 0; };

    // DMU d's row carries the normalisation instead of its own at-most row:
    // only the discretionary values on the side(s) the orientation scales stay
    // (inputs with a sign flip for "NON", so the row reads +x v + y u = 1).
    // Z counts the nonzero values dropped from d's row.
    std::vector<double> ownInputs(static_cast<std::size_t>(m) + 1, 0.0);
    std::vector<double> ownOutputs(static_cast<std::size_t>(s) + 1, 0.0);
    int Z = 0;
    for (int i = 1; i <= m; ++i) {
        const bool keep = !outOriented && !inputNd(i);
        if (keep)
            ownInputs[static_cast<std::size_t>(i)] = nonOriented ? -x(i) : x(i);
        else if (x(i) != 0.0)
            ++Z;
    }
    for (int r = 1; r <= s; ++r) {
        const bool keep = !inOriented && !outputNd(r);
        if (keep)
            ownOutputs[static_cast<std::size_t>(r)] = y(r);
        else if (y(r) != 0.0)
            ++Z;
    }

    lp.LpNonzeros = technology.MatrixNonzeros - Z + (crs ? 0 : N - 1);
    lp.RowIndex.assign(static_cast<std::size_t>(lp.LpNonzeros) + 1, 0);
    lp.ColValue.assign(static_cast<std::size_t>(lp.LpNonzeros) + 1, 0.0);

    int e = writeWeightColumns(data, technology, d, ownInputs, ownOutputs, lp);

    // The scale variable u0 enters every row but d's: the normalisation row
    // fixes the size of the weights, not the position of the hyperplane.
    if (!crs) {
        const double sign = outOriented ? -1.0 : 1.0;
        lp.ColCount[static_cast<std::size_t>(n)] = N - 1;
        for (int k = 1; k <= N; ++k) {
            if (k == own)
                continue;
            ++e;
            lp.RowIndex[static_cast<std::size_t>(e)] = k;
            lp.ColValue[static_cast<std::size_t>(e)] = sign;
        }
        lp.Obj[static_cast<std::size_t>(n)] = outOriented ? 1.0 : -1.0;
    }

    for (int k = 1; k <= rows; ++k)
        lp.Rhs[static_cast<std::size_t>(k)] = 0.0;

    // Objective: the side the orientation does not scale is priced at the
    // DMU's own values; non-discretionary values on the scaled side too.
    for (int i = 1; i <= m; ++i)
        lp.Obj[static_cast<std::size_t>(i)] = (inOriented && !inputNd(i)) ? 0.0 : x(i);
    for (int r = 1; r <= s; ++r)
        lp.Obj[static_cast<std::size_t>(m + r)] = (outOriented && !outputNd(r)) ? 0.0 : -y(r);
    lp.Rhs[static_cast<std::size_t>(own)] = inOriented ? -1.0 : 1.0;

    for (int c = 1; c <= n; ++c) {
        lp.LowerBound[static_cast<std::size_t>(c)] = 0.0;
        lp.UpperBound[static_cast<std::size_t>(c)] = big;
    }
    if (!crs) {
        double lower = -big;
        double upper = big;
        // Nondecreasing returns allow only hyperplanes through or above the
        // origin on the side the orientation measures; nonincreasing the opposite.
        if (options.ReturnsToScale == ModelReturns::NDR) {
            lower = outOriented ? -big : 0.0;
            upper = outOriented ? 0.0 : big;
        } else if (options.ReturnsToScale == ModelReturns::NIR) {
            lower = outOriented ? 0.0 : -big;
            upper = outOriented ? big : 0.0;
        }
        lp.LowerBound[static_cast<std::size_t>(n)] = lower;
        lp.UpperBound[static_cast<std::size_t>(n)] = upper;
    }
    for (int k = 1; k <= N; ++k) {
        lp.LowerBound[static_cast<std::size_t>(n + k)] = -big;
        lp.UpperBound[static_cast<std::size_t>(n + k)] = 0.0;
    }
    lp.LowerBound[static_cast<std::size_t>(n + own)] = 0.0;
    lp.UpperBound[static_cast<std::size_t>(n + own)] = 0.0;
    for (int k = N + 1; k <= rows; ++k) {
        lp.LowerBound[static_cast<std::size_t>(n + k)] = 0.0;
        lp.UpperBound[static_cast<std::size_t>(n + k)] = big;
    }
}

} // namespace zelvar
