#include "results/FrontierPicture.h"

#include <algorithm>

namespace zelvar {

namespace {

// Positive when o -> a -> b turns left (counter-clockwise).
double cross(const PlotPoint &o, const PlotPoint &a, const PlotPoint &b)
{
    return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

} // namespace

std::vector<PlotPoint> vrsCorners(std::vector<PlotPoint> points)
{
    // By input, and among equal inputs the most output first: every later
    // point of the same input is dominated.
    std::sort(points.begin(), points.end(), [](const PlotPoint &a, const PlotPoint &b) {
        return a.x != b.x ? a.x < b.x : a.y > b.y;
    });
    std::vector<PlotPoint> corners;
    for (const PlotPoint &p : points) {
        // More input without more output lies inside the technology.
        if (!corners.empty() && p.y <= corners.back().y)
            continue;
        // A corner that does not lie strictly above the segment from its
        // predecessor to p is inside the hull (or on its edge).
        while (corners.size() >= 2 && cross(corners[corners.size() - 2], corners.back(), p) >= 0.0)
            corners.pop_back();
        corners.push_back(p);
    }
    return corners;
}

std::vector<PlotDmu> dmusToDraw(const FrontierPicture &picture, int columns, int rows)
{
    columns = std::max(columns, 1);
    rows = std::max(rows, 1);
    const double width = picture.xMax - picture.xMin;
    const double height = picture.yMax - picture.yMin;
    const auto spot = [](double value, double low, double span, int count) {
        if (span <= 0.0)
            return 0;
        return std::clamp(static_cast<int>((value - low) / span * count), 0, count - 1);
    };
    std::vector<char> taken(static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows), 0);
    std::vector<PlotDmu> drawn;
    for (const PlotDmu &dmu : picture.dmus) {
        if (!dmu.efficient) {
            const std::size_t k = static_cast<std::size_t>(spot(dmu.y, picture.yMin, height, rows)) * columns
                + static_cast<std::size_t>(spot(dmu.x, picture.xMin, width, columns));
            if (taken[k] != 0)
                continue;
            taken[k] = 1;
        }
        drawn.push_back(dmu);
    }
    return drawn;
}

std::optional<FrontierPicture> frontierPicture(const RunScores &scores)
{
    if (scores.plot.empty())
        return std::nullopt;
    FrontierPicture picture;
    picture.dmus = scores.plot;
    std::vector<PlotPoint> technology;
    double bestRatio = 0.0;
    for (const PlotDmu &dmu : scores.plot) {
        picture.xMin = std::min(picture.xMin, dmu.x);
        picture.xMax = std::max(picture.xMax, dmu.x);
        picture.yMin = std::min(picture.yMin, dmu.y);
        picture.yMax = std::max(picture.yMax, dmu.y);
        if (!dmu.technology)
            continue;
        technology.push_back({dmu.x, dmu.y});
        if (dmu.x > 0.0 && dmu.y > 0.0)
            bestRatio = std::max(bestRatio, dmu.y / dmu.x);
    }
    if (bestRatio > 0.0) {
        // The ray leaves the area through its right or its top edge.
        const double x = std::min(picture.xMax, picture.yMax / bestRatio);
        picture.crsEnd = PlotPoint{x, x * bestRatio};
    }
    const std::vector<PlotPoint> corners = vrsCorners(std::move(technology));
    if (!corners.empty()) {
        if (corners.front().y > 0.0)
            picture.vrsHull.push_back({corners.front().x, 0.0});
        picture.vrsHull.insert(picture.vrsHull.end(), corners.begin(), corners.end());
        if (corners.back().x < picture.xMax)
            picture.vrsHull.push_back({picture.xMax, corners.back().y});
    }
    return picture;
}

} // namespace zelvar
