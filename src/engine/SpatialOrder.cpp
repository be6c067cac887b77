#include "engine/SpatialOrder.h"

#include <algorithm>
#include <numeric>

namespace zelvar {

void spatialOrder(const double *columns, std::size_t count, int width, std::int32_t *begin, std::int32_t *end)
{
    if (end - begin <= 8)
        return;
    std::size_t widest = 0;
    double spread = -1.0;
    for (std::size_t c = 0; c < static_cast<std::size_t>(width); ++c) {
        const double *column = columns + c * count;
        auto [low, high] = std::minmax_element(begin, end, [&](std::int32_t a, std::int32_t b) {
            return column[static_cast<std::size_t>(a)] < column[static_cast<std::size_t>(b)];
        });
        const double range = column[static_cast<std::size_t>(*high)] - column[static_cast<std::size_t>(*low)];
        if (range > spread) {
            spread = range;
            widest = c;
        }
    }
    if (spread <= 0.0)
        return;
    const double *column = columns + widest * count;
    std::int32_t *middle = begin + (end - begin) / 2;
    std::nth_element(begin, middle, end, [&](std::int32_t a, std::int32_t b) {
        return column[static_cast<std::size_t>(a)] < column[static_cast<std::size_t>(b)]
            || (column[static_cast<std::size_t>(a)] == column[static_cast<std::size_t>(b)] && a < b);
    });
    spatialOrder(columns, count, width, begin, middle);
    spatialOrder(columns, count, width, middle, end);
}

std::vector<std::int32_t> spatialOrder(const double *columns, std::size_t count, int width)
{
    std::vector<std::int32_t> order(count);
    std::iota(order.begin(), order.end(), 0);
    spatialOrder(columns, count, width, order.data(), order.data() + count);
    return order;
}

} // namespace zelvar
