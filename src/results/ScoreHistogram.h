#pragma once

#include "results/RunScores.h"

#include <string>
#include <vector>

namespace zelvar {

// One bar of the distribution of scores: the finite scores from lower
// (included) to upper (excluded).
struct HistogramBin {
    double lower = 0.0;
    double upper = 0.0;
    int count = 0;
    int efficient = 0; // of count, the efficient DMUs
    std::string label; // "60–65%", in the score column's units
    std::string lowerLabel; // "60%": the lower edge alone, for an axis of many bars
};

struct ScoreHistogram {
    std::vector<HistogramBin> bins; // consecutive, equally wide, none before the first score
    int notShown = 0;               // evaluated DMUs without a finite score ("big" or none)
};

// Bins of a round width (1, 2, 2.5 or 5 times a power of ten, in the units
// the table shows: percent points or the additive model's units) chosen so
// that about `targetBins` of them span the finite scores. The first bin
// starts at a multiple of the width at or below the smallest score; the last
// one holds the largest score, so a score of exactly 100% starts a bin of
// its own. A score within a billionth of a width below an edge counts in
// the bin above it, so that 100% computed as 0.99999999999 is still 100%.
[[nodiscard]] ScoreHistogram scoreHistogram(const RunScores &scores, int targetBins = 10);

} // namespace zelvar
