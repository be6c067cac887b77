#include "engine/FdhEvaluation.h"

#include "data/DataSet.h"
#include "engine/LpProblem.h"
#include "engine/ResultStore.h"
#include "session/ModelOptions.h"

#include <algorithm>
#include <charconv>

namespace zelvar {

namespace {

std::size_t decimalDigits(std::int32_t n)
{
    std::size_t digits = 1;
    for (; n >= 10; n /= 10)
        ++digits;
    return digits;
}

} // namespace

void appendDmuList(std::string &text, const std::vector<std::int32_t> &dmus)
{
    std::size_t length = text.size();
    for (std::int32_t j : dmus)
        length += 2 + decimalDigits(j);
    // One allocation of the exact size: at 100,000 DMUs these lists run to
    // hundreds of megabytes, and growing them piece by piece would leave up
    // to half of that unused.
    std::size_t at = text.size();
    text.resize(length);
    char *out = text.data();
    for (std::int32_t j : dmus) {
        out[at++] = ' ';
        out[at++] = ' ';
        at = static_cast<std::size_t>(std::to_chars(out + at, out + length, j).ptr - out);
    }
}

FdhEvaluation::FdhEvaluation(const DataSet &data, const ModelOptions &options, const DominanceIndex &technology)
    : m_data(data), m_inputOriented(options.Orientation == ModelOrientation::IN), m_technology(technology)
{
}

void FdhEvaluation::evaluateFdh(int d, FdhOutcome &outcome, Scratch &scratch) const
{
    outcome = FdhOutcome();
    std::vector<std::int32_t> &dominators = scratch.dominators;
    m_technology.dominating(d, dominators, scratch.search);
    if (dominators.empty()) {
        outcome.efficient = true;
        return;
    }
    outcome.dominatingCount = static_cast<std::int32_t>(dominators.size());

    const DataSet &data = m_data;
    bool hasRatio = false;
    if (m_inputOriented) {
        for (int i = 1; i <= data.NumInputs; ++i)
            hasRatio = hasRatio || data.InputData(i, d) > 0.0;
    } else {
        for (int r = 1; r <= data.NumOutputs; ++r)
            hasRatio = hasRatio || data.OutputData(r, d) > 0.0;
    }
    if (!hasRatio) {
        outcome.noScore = true;
        outcome.score = 0.0;
        outcome.benchmarks = m_inputOriented ? FdhNoPositiveInput : FdhNoPositiveOutput;
        return;
    }

    // The best factor starts at 1 (no improvement); a dominating DMU offering
    // exactly 1 ties with it and becomes a benchmark too.
    double score = 1.0;
    std::string &text = outcome.benchmarks;
    std::vector<std::int32_t> &marks = outcome.benchmarkDmus;
    for (int j : dominators) {
        double t = 0.0;
        if (m_inputOriented) {
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
        const bool better = m_inputOriented ? t < score : t > score;
        if (better) {
            marks.clear();
            score = t;
            text = (m_inputOriented ? "" : " ") + std::to_string(j);
            marks.push_back(j);
        } else if (t == score) {
            text += " " + std::to_string(j);
            marks.push_back(j);
        }
    }
    outcome.score = score;
}

void recordFdhOutcome(int d, FdhOutcome &&outcome, ResultStore &store)
{
    const auto dd = static_cast<std::size_t>(d);
    store.DominatingCount = outcome.dominatingCount;
    if (outcome.efficient) {
        store.Efficient[dd] = 1;
        store.Score[dd] = 1.0;
        return;
    }
    store.Score[dd] = outcome.score;
    store.Benchmarks[dd] = std::move(outcome.benchmarks);
    if (outcome.noScore) {
        store.NoScore[dd] = 1;
        return;
    }
    for (std::int32_t k : outcome.benchmarkDmus)
        ++store.ReferenceCount[static_cast<std::size_t>(k)];
}

} // namespace zelvar
