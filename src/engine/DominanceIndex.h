#pragma once

#include <cstdint>
#include <vector>

namespace zelvar {

struct DataSet;

// A search tree over a set of DMUs for the two questions of the free
// disposal hull: which DMUs of the set dominate a given DMU (use no more of
// every input and make no less of every output), and which DMUs of the set
// a given DMU dominates.
//
// Each DMU is the point (x1..xm, -y1..-ys); j dominates d exactly when every
// coordinate of j is <= the same coordinate of d, so both questions ask for
// the points in an orthant. The tree splits the points at medians and keeps
// the bounding box of every node: a node whose box lies wholly outside the
// orthant is passed over, one wholly inside is taken whole, only the leaves
// on the orthant's boundary are compared point by point. Every comparison
// is exact (negation is exact, and the boxes are made of the points' own
// values), so the answers are those of the pairwise comparison.
//
// A DMU with a NaN value neither dominates nor is dominated (every
// comparison with NaN fails): it is left out of the tree, and a question
// about it finds nothing.
//
// After construction the tree is read-only: several threads may ask at once,
// each with its own Scratch. The data set must outlive the tree unchanged.
class DominanceIndex {
public:
    // Work lists of one thread, reused from question to question.
    struct Scratch {
        std::vector<std::int32_t> stack;
        std::vector<double> point;
        std::vector<std::uint64_t> bits;  // one bit per DMU number, all clear between questions
        std::vector<std::int32_t> hits;   // as many places as the tree has points
    };

    DominanceIndex() = default;
    // Indexes the DMUs numbered in dmus (each 1..data.NumDMU, no repeats).
    DominanceIndex(const DataSet &data, const std::vector<std::int32_t> &dmus);

    // found := the DMUs j != d of the tree that dominate DMU d of the data
    // set, ascending. d need not belong to the tree.
    void dominating(int d, std::vector<std::int32_t> &found, Scratch &scratch) const;
    // found := the DMUs k != j of the tree that DMU j dominates, ascending.
    void dominatedBy(int j, std::vector<std::int32_t> &found, Scratch &scratch) const;
    // Whether some DMU j != d of the tree dominates d and accept(j) holds;
    // stops at the first one found.
    template <typename Accept>
    [[nodiscard]] bool anyDominating(int d, Accept accept, Scratch &scratch) const;

    int size() const { return static_cast<int>(m_dmus.size()); }

private:
    struct Node {
        std::int32_t begin = 0; // points begin..end-1 in tree order
        std::int32_t end = 0;
        std::int32_t left = -1; // -1 for a leaf
        std::int32_t right = -1;
    };

    // Sets the point of DMU d into scratch.point; false when it holds a NaN.
    bool loadPoint(int d, Scratch &scratch) const;
    std::int32_t build(std::vector<std::int32_t> &order, std::int32_t begin, std::int32_t end,
                       const std::vector<double> &points, const std::vector<double> &rootSpread);
    template <bool Below>
    void search(int self, std::vector<std::int32_t> &found, Scratch &scratch) const;
    // Calls visit(dmu) for the points in d's orthant (Below: those that
    // dominate it) until visit returns true; true when one did.
    template <bool Below, typename Visit>
    bool visitOrthant(int self, Visit visit, Scratch &scratch) const;
    // found := hits[0..count-1] in ascending order.
    void ascending(std::size_t count, std::vector<std::int32_t> &found, Scratch &scratch) const;

    const DataSet *m_data = nullptr;
    std::size_t m_dims = 0;
    std::int32_t m_largestDmu = 0;
    std::vector<double> m_points;     // tree order, m_dims values per point
    std::vector<std::int32_t> m_dmus; // DMU number of each point, tree order
    std::vector<Node> m_nodes;        // m_nodes[0] is the root
    std::vector<double> m_low;        // bounding box, m_dims values per node
    std::vector<double> m_high;
};

template <bool Below, typename Visit>
bool DominanceIndex::visitOrthant(int self, Visit visit, Scratch &scratch) const
{
    if (m_nodes.empty() || !loadPoint(self, scratch))
        return false;
    const double *query = scratch.point.data();
    const std::size_t dims = m_dims;
    auto atMost = [](double a, double b) { return Below ? a <= b : a >= b; };
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
        if (inside || node.left < 0) {
            for (std::int32_t p = node.begin; p < node.end; ++p) {
                const std::int32_t dmu = m_dmus[static_cast<std::size_t>(p)];
                if (dmu == self)
                    continue;
                bool hit = true;
                if (!inside) {
                    const double *point = &m_points[static_cast<std::size_t>(p) * dims];
                    for (std::size_t c = 0; c < dims && hit; ++c)
                        hit = atMost(point[c], query[c]);
                }
                if (hit && visit(dmu))
                    return true;
            }
        } else {
            stack.push_back(node.right);
            stack.push_back(node.left);
        }
    }
    return false;
}

template <typename Accept>
bool DominanceIndex::anyDominating(int d, Accept accept, Scratch &scratch) const
{
    return visitOrthant<true>(d, accept, scratch);
}

} // namespace zelvar
