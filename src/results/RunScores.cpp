#include "results/RunScores.h"

#include "data/DataSet.h"
#include "data/NumberText.h"
#include "engine/ResultStore.h"
#include "engine/RunSinks.h"
#include "session/DisplayFormat.h"
#include "session/ModelOptions.h"
#include "session/SelectionSet.h"

#include <algorithm>

namespace zelvar {

namespace {

template <typename T>
T valueAt(const std::vector<T> &list, int index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= list.size())
        return T{};
    return list[static_cast<std::size_t>(index)];
}

bool flagAt(const std::vector<char> &list, int index) { return valueAt(list, index) != 0; }

} // namespace

ShownScore shownScore(int d, const RunView &run)
{
    const ModelOptions &options = run.options;
    const ResultStore &store = run.store;
    const double score = valueAt(store.Score, d);
    ShownScore shown;
    shown.kind = ShownScore::Kind::Number;
    if (options.fdh()) {
        if (flagAt(store.NoScore, d))
            shown.kind = ShownScore::Kind::None;
        shown.value = score;
        return shown;
    }
    // Without superefficiency an efficient DMU is shown as fully efficient,
    // whatever its LP reached ("big" included).
    if (options.radial() && !options.Superefficiency && flagAt(store.Efficient, d)) {
        shown.value = options.Orientation == ModelOrientation::NON ? 0.0 : 1.0;
        return shown;
    }
    if (flagAt(store.NoScore, d)) {
        shown.kind = ShownScore::Kind::None;
        return shown;
    }
    if (flagAt(store.NoFiniteOptimum, d)) {
        shown.kind = ShownScore::Kind::Big;
        return shown;
    }
    if (options.Distance == ModelDistance::ADD) {
        shown.percent = false;
        shown.value = score;
    } else if (options.radial() || options.priced() || options.Orientation == ModelOrientation::NON) {
        shown.value = score;
    } else if (options.Orientation == ModelOrientation::IN) {
        shown.value = 1.0 - score;
    } else {
        shown.value = 1.0 + score;
    }
    return shown;
}

RunScores collectRunScores(const RunView &run, const std::vector<char> &filled)
{
    const DataSet &data = run.data;
    RunScores scores;
    scores.percent = run.options.fdh() || run.options.Distance != ModelDistance::ADD;
    scores.decimals = run.format.DecScore;
    scores.decimalSeparator = std::string(run.decimalSeparator);
    scores.modelName = run.options.ModelName;
    for (int d = 1; d <= data.NumDMU; ++d)
        if (flagAt(filled, d))
            scores.evaluated.push_back({d, shownScore(d, run), flagAt(run.store.Efficient, d)});

    if (data.NumInputs == 1 && data.NumOutputs == 1) {
        scores.inputName = valueAt(data.InputNames, 1);
        scores.outputName = valueAt(data.OutputNames, 1);
        const int selectable = std::min({data.NumDMU, run.eval.size(), run.tech.size()});
        for (int d = 1; d <= selectable; ++d) {
            const bool evaluated = flagAt(filled, d);
            const bool technology = run.tech.selected(d);
            if (evaluated || technology)
                scores.plot.push_back({d, data.InputData(1, d), data.OutputData(1, d), evaluated, technology,
                                       flagAt(run.store.Efficient, d)});
        }
    }
    return scores;
}

std::string scoreText(const RunScores &scores, double value)
{
    return scores.percent ? formatPercent(value, scores.decimals, scores.decimalSeparator)
                          : formatFixed(value, scores.decimals, scores.decimalSeparator);
}

} // namespace zelvar
