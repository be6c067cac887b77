#include "engine/DominanceIndex.h"

#include "data/DataSet.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace zelvar {

namespace {

// Points per leaf: small enough that a leaf on the orthant's boundary costs
// little to compare point by point, large enough that the boxes stay few.
constexpr std::int32_t LeafSize = 32;

// How widely a node spreads along one coordinate, against the spread of all
// points: inputs and outputs come in unrelated units, so the raw widths
// cannot be compared. 0 when the node cannot be split along it.
double relativeSpread(double low, double high, double rootSpread)
{
    const double spread = high - low;
    if (!(spread > 0.0)) // also inf - inf
        return 0.0;
    if (std::isfinite(rootSpread))
        return spread / rootSpread;
    return std::isinf(spread) ? 1.0 : 0.5;
}

} // namespace

DominanceIndex::DominanceIndex(const DataSet &data, const std::vector<std::int32_t> &dmus)
    : m_data(&data), m_dims(static_cast<std::size_t>(data.NumInputs + data.NumOutputs))
{
    Scratch scratch;
    std::vector<double> points;
    std::vector<std::int32_t> kept;
    points.reserve(dmus.size() * m_dims);
    kept.reserve(dmus.size());
    for (std::int32_t d : dmus) {
        if (!loadPoint(d, scratch))
            continue;
        points.insert(points.end(), scratch.point.begin(), scratch.point.end());
        kept.push_back(d);
    }
    if (kept.empty())
        return;

    const auto count = static_cast<std::int32_t>(kept.size());
    m_largestDmu = *std::max_element(kept.begin(), kept.end());
    std::vector<std::int32_t> order(kept.size());
    for (std::int32_t p = 0; p < count; ++p)
        order[static_cast<std::size_t>(p)] = p;

    std::vector<double> rootSpread(m_dims, 0.0);
    for (std::size_t c = 0; c < m_dims; ++c) {
        double low = points[c];
        double high = points[c];
        for (std::size_t p = 1; p < kept.size(); ++p) {
            low = std::min(low, points[p * m_dims + c]);
            high = std::max(high, points[p * m_dims + c]);
        }
        rootSpread[c] = high - low;
    }
    m_nodes.reserve(static_cast<std::size_t>(4 * (count / LeafSize + 1)));
    build(order, 0, count, points, rootSpread);

    // The points in tree order, so that a node's points lie together.
    m_points.resize(points.size());
    m_dmus.resize(kept.size());
    for (std::size_t p = 0; p < order.size(); ++p) {
        const auto from = static_cast<std::size_t>(order[p]);
        std::copy_n(points.begin() + static_cast<std::ptrdiff_t>(from * m_dims), m_dims,
                    m_points.begin() + static_cast<std::ptrdiff_t>(p * m_dims));
        m_dmus[p] = kept[from];
    }
}

bool DominanceIndex::loadPoint(int d, Scratch &scratch) const
{
    const DataSet &data = *m_data;
    scratch.point.resize(m_dims);
    std::size_t c = 0;
    for (int i = 1; i <= data.NumInputs; ++i)
        scratch.point[c++] = data.InputData(i, d);
    // Negated outputs turn "makes no less" into "<=" like the inputs.
    for (int r = 1; r <= data.NumOutputs; ++r)
        scratch.point[c++] = -data.OutputData(r, d);
    return std::none_of(scratch.point.begin(), scratch.point.end(), [](double v) { return std::isnan(v); });
}

std::int32_t DominanceIndex::build(std::vector<std::int32_t> &order, std::int32_t begin, std::int32_t end,
                                   const std::vector<double> &points, const std::vector<double> &rootSpread)
{
    const auto index = static_cast<std::int32_t>(m_nodes.size());
    m_nodes.push_back(Node{begin, end, -1, -1});
    const std::size_t box = m_low.size();
    for (std::size_t c = 0; c < m_dims; ++c) {
        const double first = points[static_cast<std::size_t>(order[static_cast<std::size_t>(begin)]) * m_dims + c];
        m_low.push_back(first);
        m_high.push_back(first);
    }
    for (std::int32_t p = begin + 1; p < end; ++p) {
        const double *point = &points[static_cast<std::size_t>(order[static_cast<std::size_t>(p)]) * m_dims];
        for (std::size_t c = 0; c < m_dims; ++c) {
            m_low[box + c] = std::min(m_low[box + c], point[c]);
            m_high[box + c] = std::max(m_high[box + c], point[c]);
        }
    }
    if (end - begin <= LeafSize)
        return index;

    std::size_t dim = 0;
    double widest = 0.0;
    for (std::size_t c = 0; c < m_dims; ++c) {
        const double spread = relativeSpread(m_low[box + c], m_high[box + c], rootSpread[c]);
        if (spread > widest) {
            widest = spread;
            dim = c;
        }
    }
    if (widest == 0.0) // all points alike: nothing to tell apart
        return index;

    const std::int32_t middle = begin + (end - begin) / 2;
    std::nth_element(order.begin() + begin, order.begin() + middle, order.begin() + end,
                     [&](std::int32_t a, std::int32_t b) {
                         return points[static_cast<std::size_t>(a) * m_dims + dim]
                             < points[static_cast<std::size_t>(b) * m_dims + dim];
                     });
    const std::int32_t left = build(order, begin, middle, points, rootSpread);
    const std::int32_t right = build(order, middle, end, points, rootSpread);
    m_nodes[static_cast<std::size_t>(index)].left = left;
    m_nodes[static_cast<std::size_t>(index)].right = right;
    return index;
}

template <bool Below>
void DominanceIndex::search(int self, std::vector<std::int32_t> &found, Scratch &scratch) const
{
    found.clear();
    if (m_nodes.empty() || !loadPoint(self, scratch))
        return;
    const double *query = scratch.point.data();
    const std::size_t dims = m_dims;
    // Below: points p <= query (they dominate self); otherwise p >= query
    // (self dominates them).
    auto atMost = [](double a, double b) { return Below ? a <= b : a >= b; };

    // Every point is a hit at most once, so hits cannot overflow. Leaves
    // are tested without branches: whether a point is a hit is as hard to
    // guess as a coin toss, and a mispredicted branch costs more than the
    // comparisons.
    if (scratch.hits.size() < m_dmus.size())
        scratch.hits.resize(m_dmus.size());
    std::int32_t *hits = scratch.hits.data();
    std::size_t count = 0;

    std::vector<std::int32_t> &stack = scratch.stack;
    stack.clear();
    stack.push_back(0);
    while (!stack.empty()) {
        const std::int32_t index = stack.back();
        stack.pop_back();
        const Node &node = m_nodes[static_cast<std::size_t>(index)];
        const double *low = &m_low[static_cast<std::size_t>(index) * dims];
        const double *high = &m_high[static_cast<std::size_t>(index) * dims];

        bool outside = false;
        bool inside = true;
        for (std::size_t c = 0; c < dims; ++c) {
            // The far corner of the box decides whether any point can be
            // in the orthant, the near corner whether all are.
            const double far = Below ? low[c] : high[c];
            const double near = Below ? high[c] : low[c];
            if (!atMost(far, query[c])) {
                outside = true;
                break;
            }
            inside = inside && atMost(near, query[c]);
        }
        if (outside)
            continue;
        if (inside) {
            for (std::int32_t p = node.begin; p < node.end; ++p) {
                const std::int32_t dmu = m_dmus[static_cast<std::size_t>(p)];
                hits[count] = dmu;
                count += dmu != self ? 1 : 0;
            }
        } else if (node.left < 0) {
            for (std::int32_t p = node.begin; p < node.end; ++p) {
                const std::int32_t dmu = m_dmus[static_cast<std::size_t>(p)];
                const double *point = &m_points[static_cast<std::size_t>(p) * dims];
                unsigned hit = dmu != self ? 1u : 0u;
                for (std::size_t c = 0; c < dims; ++c)
                    hit &= atMost(point[c], query[c]) ? 1u : 0u;
                hits[count] = dmu;
                count += hit;
            }
        } else {
            stack.push_back(node.right);
            stack.push_back(node.left);
        }
    }
    ascending(count, found, scratch);
}

void DominanceIndex::ascending(std::size_t count, std::vector<std::int32_t> &found, Scratch &scratch) const
{
    const std::int32_t *hits = scratch.hits.data();
    // The tree hands the DMUs out in its own order. Long lists (hundreds of
    // DMUs are common) are put in order faster through a bitmap of all DMU
    // numbers than by sorting.
    const std::size_t words = static_cast<std::size_t>(m_largestDmu) / 64 + 1;
    if (count * 8 < words) {
        found.assign(hits, hits + count);
        std::sort(found.begin(), found.end());
        return;
    }
    std::vector<std::uint64_t> &bits = scratch.bits;
    if (bits.size() < words)
        bits.resize(words, 0);
    for (std::size_t k = 0; k < count; ++k)
        bits[static_cast<std::size_t>(hits[k]) / 64] |= std::uint64_t{1} << (static_cast<unsigned>(hits[k]) % 64);
    found.resize(count);
    std::size_t at = 0;
    for (std::size_t w = 0; w < words; ++w) {
        std::uint64_t word = bits[w];
        bits[w] = 0;
        while (word != 0) {
            found[at++] = static_cast<std::int32_t>(w * 64 + static_cast<std::size_t>(std::countr_zero(word)));
            word &= word - 1;
        }
    }
}

void DominanceIndex::dominating(int d, std::vector<std::int32_t> &found, Scratch &scratch) const
{
    search<true>(d, found, scratch);
}

void DominanceIndex::dominatedBy(int j, std::vector<std::int32_t> &found, Scratch &scratch) const
{
    search<false>(j, found, scratch);
}

} // namespace zelvar
