#include "engine/WeightColumns.h"

#include "data/DataSet.h"
#include "engine/LpProblem.h"
#include "engine/Technology.h"

namespace zelvar {

int writeWeightColumns(const DataSet &data, const Technology &technology, int d,
                       const std::vector<double> &ownInputs, const std::vector<double> &ownOutputs,
                       LpProblem &lp)
{
    int e = 0;
    auto add = [&](int column, int row, double value) {
        ++e;
        ++lp.ColCount[static_cast<std::size_t>(column)];
        lp.RowIndex[static_cast<std::size_t>(e)] = row;
        lp.ColValue[static_cast<std::size_t>(e)] = value;
    };

    const int m = data.NumInputs;
    const int weights = data.NumInputs + data.NumOutputs;
    for (int c = 1; c <= weights; ++c) {
        lp.ColCount[static_cast<std::size_t>(c)] = 0;
        const bool input = c <= m;
        for (int k = 1; k <= technology.NumTech; ++k) {
            const int j = technology.TechDmu[static_cast<std::size_t>(k)];
            double value = 0.0;
            if (input)
                value = j == d ? ownInputs[static_cast<std::size_t>(c)] : data.InputData(c, j);
            else
                value = j == d ? ownOutputs[static_cast<std::size_t>(c - m)] : data.OutputData(c - m, j);
            if (value != 0.0)
                add(c, k, input ? -value : value);
        }
        for (int k = 1; k <= technology.WeightRows; ++k) {
            const double w = data.WeightRestrictions(c, k);
            if (w != 0.0)
                add(c, technology.NumTech + k, w);
        }
    }
    return e;
}

} // namespace zelvar
