#include "engine/RowTree.h"

#include <algorithm>
#include <numeric>

namespace zelvar {

namespace {

// Rows per leaf: a leaf is scanned row by row, a node costs one bound.
constexpr std::int32_t LeafSize = 16;

} // namespace

RowTree::RowTree(const double *columns, std::size_t count, int width) : m_width(width)
{
    if (count == 0)
        return;
    m_rows.resize(count);
    std::iota(m_rows.begin(), m_rows.end(), 0);
    m_nodes.reserve(2 * count / static_cast<std::size_t>(LeafSize) + 2);
    build(0, static_cast<std::int32_t>(count), columns, count);
    const auto w = static_cast<std::size_t>(width);
    m_values.resize(count * w);
    for (std::size_t p = 0; p < count; ++p)
        for (std::size_t c = 0; c < w; ++c)
            m_values[p * w + c] = columns[c * count + static_cast<std::size_t>(m_rows[p])];
}

std::int32_t RowTree::build(std::int32_t begin, std::int32_t end, const double *columns, std::size_t count)
{
    const auto width = static_cast<std::size_t>(m_width);
    const auto index = static_cast<std::int32_t>(m_nodes.size());
    m_nodes.push_back({begin, end, -1, -1});
    const std::size_t box = m_low.size();
    m_low.resize(box + width);
    m_high.resize(box + width);
    auto value = [&](std::int32_t row, std::size_t c) { return columns[c * count + static_cast<std::size_t>(row)]; };
    std::size_t widest = 0;
    double spread = -1.0;
    for (std::size_t c = 0; c < width; ++c) {
        double low = value(m_rows[static_cast<std::size_t>(begin)], c);
        double high = low;
        for (std::int32_t p = begin + 1; p < end; ++p) {
            const double v = value(m_rows[static_cast<std::size_t>(p)], c);
            low = std::min(low, v);
            high = std::max(high, v);
        }
        m_low[box + c] = low;
        m_high[box + c] = high;
        if (high - low > spread) {
            spread = high - low;
            widest = c;
        }
    }
    if (end - begin <= LeafSize || spread <= 0.0)
        return index;
    const std::int32_t middle = begin + (end - begin) / 2;
    std::nth_element(m_rows.begin() + begin, m_rows.begin() + middle, m_rows.begin() + end,
                     [&](std::int32_t a, std::int32_t b) { return value(a, widest) < value(b, widest); });
    const std::int32_t left = build(begin, middle, columns, count);
    const std::int32_t right = build(middle, end, columns, count);
    m_nodes[static_cast<std::size_t>(index)].left = left;
    m_nodes[static_cast<std::size_t>(index)].right = right;
    return index;
}

} // namespace zelvar
