#include "engine/Technology.h"

#include "data/DataSet.h"
#include "engine/LpProblem.h"
#include "session/ModelOptions.h"
#include "session/SelectionSet.h"

namespace zelvar {

bool restrictsWeights(const DataSet &data, const ModelOptions &options)
{
    // The priced models have their weights fixed by the prices instead.
    return options.RestrictWeights && !options.priced() && data.weightsFitData();
}

void Technology::setupTechnology(int /*d*/, const DataSet &data, const ModelOptions &options,
                                 const SelectionSet &tech, LpProblem &lp)
{
    setupMembers(data, options, tech);
    const int rows = NumTech + WeightRows;
    const int cols = data.NumInputs + data.NumOutputs + (options.ReturnsToScale == ModelReturns::CRS ? 0 : 1);
    lp.resize(rows, cols, MatrixNonzeros);
}

void Technology::setupMembers(const DataSet &data, const ModelOptions &options, const SelectionSet &tech)
{
    TechNonzeros = 0;
    NumTech = tech.selectedCount();
    TechDmu.assign(static_cast<std::size_t>(NumTech) + 1, 0);
    TechPos.assign(static_cast<std::size_t>(data.NumDMU) + 1, 0);

    int k = 0;
    for (int j = 1; j <= data.NumDMU; ++j) {
        if (!tech.selected(j))
            continue;
        ++k;
        TechDmu[static_cast<std::size_t>(k)] = j;
        TechPos[static_cast<std::size_t>(j)] = k;
        // Exact comparison: every value the builders will store, negative ones included.
        for (int i = 1; i <= data.NumInputs; ++i)
            if (data.InputData(i, j) != 0.0)
                ++TechNonzeros;
        for (int r = 1; r <= data.NumOutputs; ++r)
            if (data.OutputData(r, j) != 0.0)
                ++TechNonzeros;
    }

    WeightRows = 0;
    MatrixNonzeros = TechNonzeros;
    if (restrictsWeights(data, options)) {
        WeightRows = data.NumWeightRows;
        const int weights = data.NumInputs + data.NumOutputs;
        for (int row = 1; row <= WeightRows; ++row)
            for (int c = 1; c <= weights; ++c)
                if (data.WeightRestrictions(c, row) != 0.0)
                    ++MatrixNonzeros;
    }
}

} // namespace zelvar
