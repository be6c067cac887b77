#pragma once

#include "results/RunScores.h"

#include <string>
#include <utility>
#include <vector>

namespace zelvar {

// The few numbers that say how a run came out. Mean, median and minimum are
// over the finite scores (the numbers the score column shows); a DMU shown
// "big" or without a score counts only as evaluated.
struct RunSummary {
    int evaluated = 0;
    int efficient = 0;
    int big = 0;
    int finite = 0; // scores the statistics are taken over
    double mean = 0.0;
    double median = 0.0;
    double minimum = 0.0;
};

[[nodiscard]] RunSummary summarize(const RunScores &scores);

// The summary as label and text pairs, the scores written as the score
// column writes them ("–" when there is no finite score):
// "DMUs evaluated", "Efficient", "big", "Mean score", "Median score", "Minimum score".
[[nodiscard]] std::vector<std::pair<std::string, std::string>> summaryFields(const RunSummary &summary,
                                                                             const RunScores &scores);

} // namespace zelvar
