#include "support/TestSupport.h"

#include <cstdlib>
#include <sstream>

namespace zelvar::test {

DataSet makeData(const std::vector<Unit> &units, const std::vector<int> &ndInputs,
                 const std::vector<int> &ndOutputs)
{
    DataSet data;
    data.NumDMU = static_cast<std::int32_t>(units.size());
    data.NumInputs = static_cast<std::int32_t>(units.front().x.size());
    data.NumOutputs = static_cast<std::int32_t>(units.front().y.size());
    data.DMUNames.assign(units.size() + 1, "");
    data.InputNames.assign(static_cast<std::size_t>(data.NumInputs) + 1, "");
    data.OutputNames.assign(static_cast<std::size_t>(data.NumOutputs) + 1, "");
    data.InputNonDisc.assign(static_cast<std::size_t>(data.NumInputs) + 1, 0);
    data.OutputNonDisc.assign(static_cast<std::size_t>(data.NumOutputs) + 1, 0);
    for (int i : ndInputs)
        data.InputNonDisc[static_cast<std::size_t>(i)] = 1;
    for (int r : ndOutputs)
        data.OutputNonDisc[static_cast<std::size_t>(r)] = 1;
    data.InputData = Matrix(data.NumInputs, data.NumDMU);
    data.OutputData = Matrix(data.NumOutputs, data.NumDMU);
    for (int d = 1; d <= data.NumDMU; ++d) {
        const Unit &unit = units[static_cast<std::size_t>(d - 1)];
        data.DMUNames[static_cast<std::size_t>(d)] = "    D" + std::to_string(d);
        for (int i = 1; i <= data.NumInputs; ++i)
            data.InputData(i, d) = unit.x[static_cast<std::size_t>(i - 1)];
        for (int r = 1; r <= data.NumOutputs; ++r)
            data.OutputData(r, d) = unit.y[static_cast<std::size_t>(r - 1)];
    }
    data.DataFileName = "test.txt";
    return data;
}

void addWeights(DataSet &data, const std::vector<std::vector<double>> &rows, const std::string &file)
{
    const int weights = static_cast<int>(rows.front().size());
    data.WeightsFileName = file;
    data.NumWeightRows = static_cast<std::int32_t>(rows.size());
    data.WeightRestrictions = Matrix(weights, data.NumWeightRows);
    data.WeightNonzeros = 0;
    for (int k = 1; k <= data.NumWeightRows; ++k)
        for (int c = 1; c <= weights; ++c) {
            const double w = rows[static_cast<std::size_t>(k - 1)][static_cast<std::size_t>(c - 1)];
            data.WeightRestrictions(c, k) = w;
            if (w != 0.0)
                ++data.WeightNonzeros;
        }
}

SelectionSet selection(int count, const std::vector<int> &dmus)
{
    SelectionSet set(count, false);
    for (int d : dmus)
        set.select(d, true);
    return set;
}

bool dominates(const DataSet &data, int j, int d)
{
    for (int i = 1; i <= data.NumInputs; ++i)
        if (!(data.InputData(i, j) <= data.InputData(i, d)))
            return false;
    for (int r = 1; r <= data.NumOutputs; ++r)
        if (!(data.OutputData(r, j) >= data.OutputData(r, d)))
            return false;
    return true;
}

std::vector<std::pair<int, double>> parseBenchmarks(const std::string &text)
{
    std::vector<std::pair<int, double>> result;
    std::istringstream in(text);
    int j = 0;
    std::string lambda;
    while (in >> j >> lambda) {
        // "(0.50)" -> 0.50
        result.emplace_back(j, std::strtod(lambda.substr(1, lambda.size() - 2).c_str(), nullptr));
    }
    return result;
}

} // namespace zelvar::test
