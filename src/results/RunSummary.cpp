#include "results/RunSummary.h"

#include <algorithm>

namespace zelvar {

RunSummary summarize(const RunScores &scores)
{
    RunSummary summary;
    std::vector<double> finite;
    finite.reserve(scores.evaluated.size());
    for (const RunScores::Entry &entry : scores.evaluated) {
        ++summary.evaluated;
        if (entry.efficient)
            ++summary.efficient;
        if (entry.score.kind == ShownScore::Kind::Big)
            ++summary.big;
        else if (entry.score.kind == ShownScore::Kind::Number)
            finite.push_back(entry.score.value);
    }
    summary.finite = static_cast<int>(finite.size());
    if (finite.empty())
        return summary;
    double sum = 0.0;
    for (double value : finite)
        sum += value;
    summary.mean = sum / static_cast<double>(finite.size());
    std::sort(finite.begin(), finite.end());
    const std::size_t half = finite.size() / 2;
    summary.median = finite.size() % 2 == 1 ? finite[half] : (finite[half - 1] + finite[half]) / 2.0;
    summary.minimum = finite.front();
    return summary;
}

std::vector<std::pair<std::string, std::string>> summaryFields(const RunSummary &summary, const RunScores &scores)
{
    const auto statistic = [&](double value) {
        return summary.finite > 0 ? scoreText(scores, value) : std::string("\u2013");
    };
    return {
        {"DMUs evaluated", std::to_string(summary.evaluated)},
        {"Efficient", std::to_string(summary.efficient)},
        {"big", std::to_string(summary.big)},
        {"Mean score", statistic(summary.mean)},
        {"Median score", statistic(summary.median)},
        {"Minimum score", statistic(summary.minimum)},
    };
}

} // namespace zelvar
