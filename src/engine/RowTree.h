#pragma once

#include <cstdint>
#include <vector>

namespace zelvar {

// A search tree over LP rows c_k . w + s <= 0 (c_k one coefficient per input
// and output weight, s the same term for every row: the scale variable's) for
// the question a restricted LP asks after each solve: which rows does the
// weight vector w violate? The rows are split at medians, and every node keeps
// the bounding box of its rows' coefficients; the largest activity any row of
// a node can reach under w is s + sum over c of max(low_c w_c, high_c w_c). A
// node whose bound stays below the violation threshold is passed over whole;
// near the optimum most rows lie well inside, so only the few nodes near the
// hyperplane are looked at row by row.
//
// A row that is looked at gets its activity and the size of its terms
// computed exactly as a plain scan computes them (the same sums in the same
// order), so the rows reported, and their measures, are those of the scan.
class RowTree {
public:
    RowTree() = default;
    // The rows of `count` rows of `width` coefficients, stored column by
    // column (coefficient c of row k at columns[c * count + k]).
    RowTree(const double *columns, std::size_t count, int width);

    // Calls visit(k, activity, terms) for every row k whose activity
    // c_k . w + s might exceed `threshold` (at least: every row whose
    // activity does). activity and terms (|s| + sum of |c_kc w_c|) are
    // computed as the scan computes them. `stack` is the caller's work list:
    // several threads may search at once.
    template <typename Visit>
    void forEachAbove(const double *w, double s, double threshold, std::vector<std::int32_t> &stack,
                      Visit visit) const;

    std::size_t size() const { return m_rows.size(); }

private:
    struct Node {
        std::int32_t begin = 0;
        std::int32_t end = 0;
        std::int32_t left = -1; // -1 for a leaf
        std::int32_t right = -1;
    };

    std::int32_t build(std::int32_t begin, std::int32_t end, const double *columns, std::size_t count);

    int m_width = 0;
    std::vector<std::int32_t> m_rows;  // row number at each place, tree order
    std::vector<double> m_values;      // tree order, m_width values per row
    std::vector<Node> m_nodes;
    std::vector<double> m_low;         // m_width values per node
    std::vector<double> m_high;
};

template <typename Visit>
void RowTree::forEachAbove(const double *w, double s, double threshold, std::vector<std::int32_t> &stack,
                           Visit visit) const
{
    if (m_nodes.empty())
        return;
    const auto width = static_cast<std::size_t>(m_width);
    // The bound is computed in other steps than the activities; a margin of
    // the size of its rounding keeps it an upper bound of every computed
    // activity in the node.
    constexpr double Rounding = 1e-12;
    stack.clear();
    stack.push_back(0);
    while (!stack.empty()) {
        const Node &node = m_nodes[static_cast<std::size_t>(stack.back())];
        const std::size_t box = static_cast<std::size_t>(stack.back()) * width;
        stack.pop_back();
        double bound = s;
        double size = s < 0 ? -s : s;
        for (std::size_t c = 0; c < width; ++c) {
            const double a = m_low[box + c] * w[c];
            const double b = m_high[box + c] * w[c];
            bound += a > b ? a : b;
            size += (a < 0 ? -a : a) + (b < 0 ? -b : b);
        }
        if (bound + Rounding * size <= threshold)
            continue;
        if (node.left >= 0) {
            stack.push_back(node.right);
            stack.push_back(node.left);
            continue;
        }
        for (std::int32_t p = node.begin; p < node.end; ++p) {
            const double *row = &m_values[static_cast<std::size_t>(p) * width];
            double activity = s;
            double terms = s < 0 ? -s : s;
            for (std::size_t c = 0; c < width; ++c) {
                const double term = row[c] * w[c];
                activity += term;
                terms += term < 0 ? -term : term;
            }
            visit(m_rows[static_cast<std::size_t>(p)], activity, terms);
        }
    }
}

} // namespace zelvar
