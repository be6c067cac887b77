#pragma once

#include "support/ModelRun.h"
#include "support/TestSupport.h"

#include "results/TextGrid.h"
#include "session/DisplayFormat.h"
#include "session/ModelOptions.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace zelvar::test {

// A fresh empty folder, removed with everything in it at the end of the test.
class ScratchFolder {
public:
    ScratchFolder() : m_root((std::filesystem::temp_directory_path() / "zelvar-test-XXXXXX").string())
    {
        if (::mkdtemp(m_root.data()) == nullptr)
            ADD_FAILURE() << "no scratch folder " << m_root;
    }
    ~ScratchFolder() { std::filesystem::remove_all(m_root); }
    std::string path(const std::string &name = {}) const { return m_root + "/" + name; }

private:
    std::string m_root;
};

// The bytes of a file; empty when it cannot be read.
inline std::string fileText(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// What a results table reads while a run fills it, made by hand: makeData's DMUs with inputs
// "{I}In1", ..., outputs "{O}Out1", ..., a fresh store, every DMU in both lists, an LP solution.
struct TableRun {
    DataSet data;
    ModelOptions options;
    DisplayFormat format;
    ResultStore store;
    SelectionSet eval, tech;
    LpProblem lp;
    std::string separator = ".";

    explicit TableRun(const std::vector<Unit> &units)
        : data(makeData(units)), eval(data.NumDMU, true), tech(data.NumDMU, true)
    {
        for (int i = 1; i <= data.NumInputs; ++i)
            data.InputNames[static_cast<std::size_t>(i)] = "{I}In" + std::to_string(i);
        for (int r = 1; r <= data.NumOutputs; ++r)
            data.OutputNames[static_cast<std::size_t>(r)] = "{O}Out" + std::to_string(r);
        store.allocateResults(data.NumDMU, true);
    }
    // The model of a name such as "VRS_MAXAV_OUT" or "FDH_RAD_IN".
    void model(const std::string &name, bool superefficiency)
    {
        options = modelOptions(name);
        options.Superefficiency = superefficiency;
    }
    // The weight columns' values and reduced costs of the LP solved last.
    void solution(const std::vector<double> &primal, const std::vector<double> &dual)
    {
        lp.resize(data.NumDMU, static_cast<int>(primal.size()), 0);
        std::copy(primal.begin(), primal.end(), lp.Primal.begin() + 1);
        std::copy(dual.begin(), dual.end(), lp.Dual.begin() + 1);
    }
    RunView view() const { return RunView{data, options, format, store, eval, tech, separator}; }
};

// Cells 1 .. last of a grid row, joined by "|".
inline std::string rowText(const TextGrid &grid, int row)
{
    std::string text = grid.text(row, 1);
    for (int c = 2; c < grid.cols(); ++c)
        text += "|" + grid.text(row, c);
    return text;
}

} // namespace zelvar::test
