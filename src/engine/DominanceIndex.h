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

} // namespace zelvar
