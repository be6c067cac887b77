#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zelvar {

// Puts the points begin..end (indices into `count` points given column by
// column: coefficient c of point p is columns[c * count + p]) in an order
// where neighbours in space follow each other: halves at the median of the
// most spread coefficient, again and again. LPs solved one after the other
// in this order start from a basis that nearly fits. Ties go by index, so
// the order depends on the points alone.
void spatialOrder(const double *columns, std::size_t count, int width, std::int32_t *begin, std::int32_t *end);
// All `count` points 0..count-1 in that order.
[[nodiscard]] std::vector<std::int32_t> spatialOrder(const double *columns, std::size_t count, int width);

} // namespace zelvar
