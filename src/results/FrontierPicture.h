#pragma once

#include "results/RunScores.h"

#include <optional>
#include <vector>

namespace zelvar {

struct PlotPoint {
    double x = 0.0;
    double y = 0.0;
    friend bool operator==(const PlotPoint &, const PlotPoint &) = default;
};

// The picture of a run on data of one input (x) and one output (y): the
// DMUs as points, the constant returns to scale frontier (a ray from the
// origin) and the variable returns to scale frontier (the boundary of the
// convex hull of the technology DMUs with free disposal), both spanned by
// the run's technology DMUs.
struct FrontierPicture {
    std::vector<PlotDmu> dmus;
    // The drawing area: from 0 (or a smaller value) to the largest value.
    double xMin = 0.0, xMax = 0.0, yMin = 0.0, yMax = 0.0;
    // The CRS ray from the origin along the largest ratio y / x among the
    // technology DMUs with x > 0 and y > 0, up to the drawing area's edge.
    std::optional<PlotPoint> crsEnd;
    // The VRS frontier as a polyline: up from (x, 0) below the technology
    // DMU of least input (the most output among those), along the upper
    // hull's corners to the DMU of most output (the least input among those),
    // then level to the area's right edge.
    std::vector<PlotPoint> vrsHull;
};

// Nothing unless the run's data have one input and one output.
[[nodiscard]] std::optional<FrontierPicture> frontierPicture(const RunScores &scores);

// The DMUs to draw when the drawing area is split into columns x rows spots:
// every efficient DMU, and of the others the first in each spot. Markers a
// spot wide would hide one another anyway, so the picture looks the same,
// and a hundred thousand DMUs draw as quickly as a few thousand.
[[nodiscard]] std::vector<PlotDmu> dmusToDraw(const FrontierPicture &picture, int columns, int rows);

// The corners of the VRS frontier of `points` (technology DMUs): from the
// point of least x (most y among ties) to the point of most y (least x among
// ties), each corner above the segment joining its neighbours.
[[nodiscard]] std::vector<PlotPoint> vrsCorners(std::vector<PlotPoint> points);

} // namespace zelvar
