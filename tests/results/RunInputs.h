#pragma once

#include "data/DataSet.h"
#include "engine/LpProblem.h"
#include "engine/ResultStore.h"
#include "engine/RunSinks.h"
#include "session/DisplayFormat.h"
#include "session/ModelOptions.h"
#include "session/SelectionSet.h"
#include "results/TextGrid.h"

#include <string>
#include <vector>

namespace zelvar::test {

// Everything a results table reads during a run, built by hand: a data set
// of DMUs with given inputs and outputs, options, display format, a fresh
// result store, both selections and the LP solution of the DMU last solved.
struct RunInputs {
    DataSet data;
    ModelOptions options;
    DisplayFormat format;
    ResultStore store;
    SelectionSet eval;
    SelectionSet tech;
    LpProblem lp;
    std::string separator = ".";

    // x[d-1] and y[d-1] are the inputs and outputs of DMU d. Inputs are
    // named "{I}In1", "{I}In2", ..., outputs "{O}Out1", ...; DMU d is named
    // "    Unit<d>". Every DMU is selected in both lists.
    RunInputs(const std::vector<std::vector<double>> &x, const std::vector<std::vector<double>> &y)
    {
        const int n = static_cast<int>(x.size());
        const int m = n > 0 ? static_cast<int>(x[0].size()) : 0;
        const int s = n > 0 ? static_cast<int>(y[0].size()) : 0;
        data.NumDMU = n;
        data.NumInputs = m;
        data.NumOutputs = s;
        data.DMUNames.assign(1, "");
        for (int d = 1; d <= n; ++d)
            data.DMUNames.push_back("    Unit" + std::to_string(d));
        data.InputNames.assign(1, "");
        for (int i = 1; i <= m; ++i)
            data.InputNames.push_back("{I}In" + std::to_string(i));
        data.OutputNames.assign(1, "");
        for (int r = 1; r <= s; ++r)
            data.OutputNames.push_back("{O}Out" + std::to_string(r));
        data.InputNonDisc.assign(static_cast<std::size_t>(m + 1), 0);
        data.OutputNonDisc.assign(static_cast<std::size_t>(s + 1), 0);
        data.InputData = Matrix(m, n);
        data.OutputData = Matrix(s, n);
        for (int d = 1; d <= n; ++d) {
            for (int i = 1; i <= m; ++i)
                data.InputData(i, d) = x[static_cast<std::size_t>(d - 1)][static_cast<std::size_t>(i - 1)];
            for (int r = 1; r <= s; ++r)
                data.OutputData(r, d) = y[static_cast<std::size_t>(d - 1)][static_cast<std::size_t>(r - 1)];
        }

        const auto size = static_cast<std::size_t>(n + 1);
        store.Score.assign(size, 0.0);
        store.Efficient.assign(size, 0);
        store.Benchmarks.assign(size, "");
        store.ReferenceCount.assign(size, 0);
        store.NoFiniteOptimum.assign(size, 0);
        store.NoScore.assign(size, 0);
        store.DominatedCount.assign(size, 0);
        store.DominatedList.assign(size, "");
        store.MinAvgBest.assign(size, 0.0);
        store.MinAvgVariable.assign(size, 0);

        eval = SelectionSet(n, true);
        tech = SelectionSet(n, true);
    }

    // The solution of an LP with the m + s weight columns (no scale column):
    // primal[k - 1] is the weight of variable k, dual[k - 1] its reduced cost.
    void solution(const std::vector<double> &primal, const std::vector<double> &dual)
    {
        const int cols = static_cast<int>(primal.size());
        lp.resize(data.NumDMU, cols, 0);
        for (int k = 1; k <= cols; ++k) {
            lp.Primal[static_cast<std::size_t>(k)] = primal[static_cast<std::size_t>(k - 1)];
            lp.Dual[static_cast<std::size_t>(k)] = dual[static_cast<std::size_t>(k - 1)];
        }
    }

    RunView view() const { return RunView{data, options, format, store, eval, tech, separator}; }
};

using Row = std::vector<std::string>;

// Cells 1 .. last of row d.
inline Row rowCells(const TextGrid &grid, int d)
{
    Row cells;
    for (int c = 1; c < grid.cols(); ++c)
        cells.push_back(grid.text(d, c));
    return cells;
}

} // namespace zelvar::test
