#include "engine/Fdh.h"

#include "data/DataSet.h"
#include "engine/LpProblem.h"
#include "engine/ResultStore.h"
#include "model/ModelOptions.h"
#include "model/SelectionSet.h"

#include <vector>

namespace zelvar {

namespace {

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

} // namespace

void EvaluateFDH(int d, const DataSet &data, const ModelOptions &options, const SelectionSet &tech,
                 ResultStore &store)
{
    const auto dd = static_cast<std::size_t>(d);
    store.DominatingList.clear();
    store.DominatingCount = 0;
    std::vector<std::int32_t> &dominators = store.Dominators[dd];
    dominators.clear();

    for (int j = 1; j <= data.NumDMU; ++j)
        if (j != d && tech.selected(j) && dominates(data, j, d))
            dominators.push_back(j);

    if (dominators.empty()) {
        store.Efficient[dd] = 1;
        store.Score[dd] = 1.0;
        return;
    }

    for (int j : dominators) {
        ++store.DominatingCount;
        store.DominatingList += "  " + std::to_string(j);
    }

    const bool inputOriented = options.Orientation == "IN";
    bool hasRatio = false;
    if (inputOriented) {
        for (int i = 1; i <= data.NumInputs; ++i)
            hasRatio = hasRatio || data.InputData(i, d) > 0.0;
    } else {
        for (int r = 1; r <= data.NumOutputs; ++r)
            hasRatio = hasRatio || data.OutputData(r, d) > 0.0;
    }
    if (!hasRatio) {
        store.NoScore[dd] = 1;
        store.Score[dd] = 0.0;
        store.Benchmarks[dd] = inputOriented ? FdhNoPositiveInput : FdhNoPositiveOutput;
        return;
    }

    // The best factor starts at 1 (no improvement); a dominating DMU offering
    // exactly 1 ties with it and becomes a benchmark too.
    double score = 1.0;
    std::vector<std::int32_t> marks;
    std::string &text = store.Benchmarks[dd];
    for (int j : dominators) {
        double t = 0.0;
        if (inputOriented) {
            // The largest input ratio: how far d could shrink all its inputs
            // and still use no less than j.
            for (int i = 1; i <= data.NumInputs; ++i) {
                const double own = data.InputData(i, d);
                if (own > 0.0 && data.InputData(i, j) / own > t)
                    t = data.InputData(i, j) / own;
            }
        } else {
            // The smallest output ratio: how far d could expand all its
            // outputs and still make no more than j.
            t = LpProblem::BigValue;
            for (int r = 1; r <= data.NumOutputs; ++r) {
                const double own = data.OutputData(r, d);
                if (own > 0.0 && data.OutputData(r, j) / own < t)
                    t = data.OutputData(r, j) / own;
            }
        }
        const bool better = inputOriented ? t < score : t > score;
        if (better) {
            marks.clear();
            score = t;
            text = (inputOriented ? "" : " ") + std::to_string(j);
            marks.push_back(j);
        } else if (t == score) {
            text += " " + std::to_string(j);
            marks.push_back(j);
        }
    }
    store.Score[dd] = score;
    for (int k : marks)
        ++store.ReferenceCount[static_cast<std::size_t>(k)];
}

void buildDominatedLists(int numDMU, ResultStore &store)
{
    for (int d = 1; d <= numDMU; ++d)
        for (int j : store.Dominators[static_cast<std::size_t>(d)]) {
            const auto jj = static_cast<std::size_t>(j);
            ++store.DominatedCount[jj];
            store.DominatedList[jj] += "  " + std::to_string(d);
        }
}

} // namespace zelvar
