#pragma once

#include "results/FrontierPicture.h"
#include "results/ScoreHistogram.h"

#include <QString>

class QChart;

namespace zelvar {

// The charts of a run, drawn from what the core computed: the bars of a
// score histogram (efficient DMUs stacked on the others, in the table's
// cyan) and the frontier picture of one input and one output (the DMUs as
// points, efficient ones in cyan, the CRS ray and the VRS frontier).
// The caller owns the chart.
[[nodiscard]] QChart *histogramChart(const ScoreHistogram &histogram, const QString &title);
[[nodiscard]] QChart *frontierChart(const FrontierPicture &picture, const QString &title,
                                    const QString &inputName, const QString &outputName);

} // namespace zelvar
