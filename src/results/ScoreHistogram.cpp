#include "results/ScoreHistogram.h"

#include "data/NumberText.h"

#include <algorithm>
#include <cmath>

namespace zelvar {

namespace {

constexpr double EdgeTolerance = 1e-9;

// The smallest of 1, 2, 2.5 and 5 times a power of ten that is at least `raw`.
double roundWidth(double raw)
{
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (double factor : {1.0, 2.0, 2.5, 5.0, 10.0})
        if (factor * power >= raw * (1.0 - EdgeTolerance))
            return factor * power;
    return 10.0 * power;
}

// Decimals that write every edge k * width exactly, in the shown units.
int edgeDecimals(double width, bool percent)
{
    const double shown = percent ? width * 100.0 : width;
    for (int decimals = 0; decimals < 8; ++decimals) {
        const double scaled = shown * std::pow(10.0, decimals);
        if (std::fabs(scaled - std::round(scaled)) < 1e-6 * std::max(1.0, scaled))
            return decimals;
    }
    return 8;
}

// An edge in the score column's units (percent points or the additive
// model's), whole numbers without a separator ("60", not the "60." that
// formatFixed writes for no decimals).
std::string edgeText(double value, int decimals, const RunScores &scores)
{
    std::string text = formatFixed(scores.percent ? value * 100.0 : value, decimals, scores.decimalSeparator);
    if (decimals == 0 && text.size() > scores.decimalSeparator.size())
        text.resize(text.size() - scores.decimalSeparator.size());
    return text;
}

} // namespace

ScoreHistogram scoreHistogram(const RunScores &scores, int targetBins)
{
    ScoreHistogram histogram;
    std::vector<const RunScores::Entry *> finite;
    for (const RunScores::Entry &entry : scores.evaluated) {
        if (entry.score.kind == ShownScore::Kind::Number && std::isfinite(entry.score.value))
            finite.push_back(&entry);
        else
            ++histogram.notShown;
    }
    if (finite.empty())
        return histogram;

    double low = finite.front()->score.value;
    double high = low;
    for (const RunScores::Entry *entry : finite) {
        low = std::min(low, entry->score.value);
        high = std::max(high, entry->score.value);
    }
    // All scores equal: one bin a tenth of their size (or of one unit) wide.
    double span = high - low;
    if (span <= 0.0)
        span = std::max(std::fabs(low), 1.0);
    const double width = roundWidth(span / std::max(targetBins, 1));
    const double first = std::floor(low / width + EdgeTolerance);
    const auto count = static_cast<std::size_t>(std::floor((high - first * width) / width + EdgeTolerance)) + 1;

    const int decimals = edgeDecimals(width, scores.percent);
    histogram.bins.resize(count);
    for (std::size_t k = 0; k < count; ++k) {
        HistogramBin &bin = histogram.bins[k];
        bin.lower = (first + static_cast<double>(k)) * width;
        bin.upper = (first + static_cast<double>(k) + 1.0) * width;
        bin.label = edgeText(bin.lower, decimals, scores) + "\u2013" + edgeText(bin.upper, decimals, scores)
            + (scores.percent ? "%" : "");
        bin.lowerLabel = edgeText(bin.lower, decimals, scores) + (scores.percent ? "%" : "");
    }
    for (const RunScores::Entry *entry : finite) {
        const double position = std::floor((entry->score.value - first * width) / width + EdgeTolerance);
        const auto k = static_cast<std::size_t>(std::clamp(position, 0.0, static_cast<double>(count - 1)));
        ++histogram.bins[k].count;
        if (entry->efficient)
            ++histogram.bins[k].efficient;
    }
    return histogram;
}

} // namespace zelvar
