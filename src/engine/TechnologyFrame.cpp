#include "engine/TechnologyFrame.h"

#include "engine/SpatialOrder.h"

#include "ClpSimplex.hpp"
#include "CoinFinite.hpp"

#include <algorithm>
#include <cmath>
#include <thread>

namespace zelvar {

namespace {

// How far outside the frame's hull a candidate may lie and still count as
// spanned, in the LPs' units (values near 1): far inside the tolerance the
// restricted LPs check rows with.
constexpr double SpanTolerance = 1e-12;

// The span LP of candidate j: intensities lambda_f >= 0 of frame DMUs adding
// up to 1, and a free margin t; for every coefficient c
// sum_f lambda_f c_f - t >= c_j. Its largest margin says how far the frame's
// hull with free disposal reaches beyond j. Its rows are few (one per input
// and output, and the sum); from one candidate to the next only the
// right-hand sides change, so the dual method goes on from the last basis.
//
// The solver holds only some frame DMUs; after each solve the duals pi of
// the coefficient rows and pi0 of the sum row price the others, and those
// with pi . c_f + pi0 > 0 join, until none would improve the margin. When j
// lies outside, the duals separate it: pi . c_f + pi0 <= 0 on every frame
// DMU, pi . c_j + pi0 > 0.
class SpanLp {
public:
    SpanLp(const double *columns, std::size_t count, int width, bool cone)
        : m_columns(columns), m_count(count), m_width(width), m_columnOf(count, -1)
    {
        m_model.setLogLevel(0);
        m_model.scaling(0);
        m_model.setDualTolerance(1e-10);
        std::vector<int> rows;
        std::vector<double> values;
        for (int c = 0; c < m_width; ++c) {
            rows.push_back(c);
            values.push_back(-1.0);
        }
        const CoinBigIndex starts[2] = {0, static_cast<CoinBigIndex>(rows.size())};
        const double lower = -COIN_DBL_MAX;
        const double upper = COIN_DBL_MAX;
        const double cost = -1.0; // the solver minimises: -t
        std::vector<double> rowLower(static_cast<std::size_t>(m_width) + 1, 0.0);
        std::vector<double> rowUpper(static_cast<std::size_t>(m_width) + 1, COIN_DBL_MAX);
        // Under constant returns the intensities are free in scale: the sum
        // row binds nothing.
        rowLower.back() = cone ? -COIN_DBL_MAX : 1.0;
        rowUpper.back() = cone ? COIN_DBL_MAX : 1.0;
        m_model.loadProblem(1, m_width + 1, starts, rows.data(), values.data(), &lower, &upper, &cost,
                            rowLower.data(), rowUpper.data());
    }

    // Candidate p is a frame DMU from now on.
    void join(std::size_t p)
    {
        m_frame.push_back(static_cast<std::int32_t>(p));
        hold(p);
    }

    enum class Answer { Spanned, Outside, Failed };

    // Whether the frame spans candidate j; when not, pi receives the
    // separating weights.
    Answer span(std::size_t j, std::vector<double> &pi)
    {
        for (int k = 0; k < m_width; ++k)
            m_model.setRowLower(k, value(j, static_cast<std::size_t>(k)));
        for (;;) {
            m_model.dual(0, 1);
            if (m_model.status() != 0) {
                m_model.allSlackBasis(true);
                m_model.primal();
            }
            if (m_model.status() != 0)
                return Answer::Failed;
            // The margin with part of the frame is at most the margin with
            // all of it: reached, it settles the question.
            if (-m_model.objectiveValue() >= -SpanTolerance)
                return Answer::Spanned;
            if (!priceIn())
                break;
        }
        const double *dual = m_model.dualRowSolution();
        pi.assign(dual, dual + m_width);
        for (double &weight : pi)
            weight = std::max(weight, 0.0);
        return Answer::Outside;
    }

private:
    // Rows held at most; beyond it the frame DMUs that are not in the basis
    // leave the solver (they can join again when priced in).
    static constexpr int MostHeld = 128;
    // Frame DMUs priced in per round.
    static constexpr std::size_t Batch = 8;

    double value(std::size_t p, std::size_t c) const { return m_columns[c * m_count + p]; }

    void hold(std::size_t p)
    {
        if (static_cast<int>(m_held.size()) >= MostHeld)
            release();
        std::vector<int> rows;
        std::vector<double> values;
        for (int k = 0; k < m_width; ++k)
            if (const double v = value(p, static_cast<std::size_t>(k)); v != 0.0) {
                rows.push_back(k);
                values.push_back(v);
            }
        rows.push_back(m_width);
        values.push_back(1.0);
        const CoinBigIndex starts[2] = {0, static_cast<CoinBigIndex>(rows.size())};
        const double lower = 0.0;
        const double upper = COIN_DBL_MAX;
        const double cost = 0.0;
        m_model.addColumns(1, &lower, &upper, &cost, starts, rows.data(), values.data());
        m_columnOf[p] = m_model.numberColumns() - 1;
        m_held.push_back(static_cast<std::int32_t>(p));
    }

    // Frame DMUs not held whose intensity would raise the margin join the
    // solver, the most promising first; false when there is none.
    bool priceIn()
    {
        const double *dual = m_model.dualRowSolution();
        const auto width = static_cast<std::size_t>(m_width);
        m_found.clear();
        for (const std::int32_t f : m_frame) {
            const auto p = static_cast<std::size_t>(f);
            if (m_columnOf[p] >= 0)
                continue;
            double gain = dual[width];
            for (std::size_t c = 0; c < width; ++c)
                gain += dual[c] * value(p, c);
            if (gain > PriceTolerance)
                m_found.push_back({gain, f});
        }
        if (m_found.empty())
            return false;
        const std::size_t take = std::min(Batch, m_found.size());
        std::partial_sort(m_found.begin(), m_found.begin() + static_cast<std::ptrdiff_t>(take), m_found.end(),
                          [](const Gain &a, const Gain &b) { return a.gain > b.gain || (a.gain == b.gain && a.p < b.p); });
        for (std::size_t k = 0; k < take; ++k)
            hold(static_cast<std::size_t>(m_found[k].p));
        return true;
    }

    // Lets go of the held frame DMUs outside the basis: the basis stays.
    void release()
    {
        std::vector<int> drop;
        std::vector<std::int32_t> kept;
        for (const std::int32_t p : m_held) {
            const int column = m_columnOf[static_cast<std::size_t>(p)];
            if (m_model.getColumnStatus(column) == ClpSimplex::basic)
                kept.push_back(p);
            else
                drop.push_back(column);
        }
        m_model.deleteColumns(static_cast<int>(drop.size()), drop.data());
        for (const std::int32_t p : m_held)
            m_columnOf[static_cast<std::size_t>(p)] = -1;
        m_held = kept;
        for (std::size_t k = 0; k < m_held.size(); ++k)
            m_columnOf[static_cast<std::size_t>(m_held[k])] = static_cast<int>(k) + 1;
    }

    struct Gain {
        double gain;
        std::int32_t p;
    };
    static constexpr double PriceTolerance = 1e-11;

    const double *m_columns;
    std::size_t m_count;
    int m_width;
    ClpSimplex m_model;
    std::vector<std::int32_t> m_frame;
    std::vector<std::int32_t> m_held;  // candidates held as columns, in column order after the margin's
    std::vector<int> m_columnOf;       // candidate -> column, -1 when not held
    std::vector<Gain> m_found;
};

// The frame of `count` candidates given column by column, with their sizes
// (1, or the total input under constant returns); positions, ascending.
std::vector<std::int32_t> frameOf(const double *candidateColumns, std::size_t count, int width,
                                  const std::vector<double> &size, bool cone)
{
    std::vector<std::int32_t> frame;
    if (count == 0)
        return frame;
    const auto w = static_cast<std::size_t>(width);
    // The candidate that weights pi rank highest (per unit of size), ties
    // (to rounding) broken by the coefficients in order: the highest of a
    // face in that order is a vertex of it, so an extreme point of the hull
    // (a ray of the cone).
    std::vector<double> score(count);
    auto highest = [&](const std::vector<double> &pi) {
        double top = -HUGE_VAL;
        for (std::size_t p = 0; p < count; ++p) {
            double value = 0.0;
            for (std::size_t c = 0; c < w; ++c)
                value += pi[c] * candidateColumns[c * count + p];
            value /= size[p];
            score[p] = value;
            top = std::max(top, value);
        }
        const double near = top - 1e-12 * std::max(1.0, std::fabs(top));
        std::size_t best = count;
        for (std::size_t p = 0; p < count; ++p) {
            if (score[p] < near)
                continue;
            if (best == count) {
                best = p;
                continue;
            }
            for (std::size_t c = 0; c < w; ++c) {
                const double a = candidateColumns[c * count + p] / size[p];
                const double b = candidateColumns[c * count + best] / size[best];
                if (a != b) {
                    if (a > b)
                        best = p;
                    break;
                }
            }
        }
        return best;
    };

    std::vector<char> inFrame(count, 0);
    SpanLp lp(candidateColumns, count, width, cone);
    auto join = [&](std::size_t p) {
        inFrame[p] = 1;
        frame.push_back(static_cast<std::int32_t>(p));
        lp.join(p);
    };
    std::vector<double> pi(w, 1.0);
    join(highest(pi));
    for (const std::int32_t position : spatialOrder(candidateColumns, count, width)) {
        const auto j = static_cast<std::size_t>(position);
        if (inFrame[j])
            continue;
        for (;;) {
            const SpanLp::Answer answer = lp.span(j, pi);
            if (answer == SpanLp::Answer::Spanned)
                break;
            // A frame missing a DMU would cost exactness, one too many only
            // a little time: when in doubt j joins itself.
            std::size_t next = answer == SpanLp::Answer::Outside ? highest(pi) : j;
            if (next == count || inFrame[next])
                next = j;
            join(next);
            if (next == j)
                break;
        }
    }
    std::sort(frame.begin(), frame.end());
    return frame;
}

// The candidates at `positions` alone, column by column, and their sizes.
void gather(const double *columns, std::size_t count, int width, const std::vector<double> &size,
            const std::vector<std::int32_t> &positions, std::vector<double> &subColumns, std::vector<double> &subSize)
{
    const std::size_t n = positions.size();
    subColumns.resize(n * static_cast<std::size_t>(width));
    subSize.resize(n);
    for (std::size_t k = 0; k < n; ++k) {
        const auto p = static_cast<std::size_t>(positions[k]);
        for (std::size_t c = 0; c < static_cast<std::size_t>(width); ++c)
            subColumns[c * n + k] = columns[c * count + p];
        subSize[k] = size[p];
    }
}

// The frame of the candidates at `positions`, as positions.
std::vector<std::int32_t> frameAt(const double *columns, std::size_t count, int width, const std::vector<double> &size,
                                  bool cone, const std::vector<std::int32_t> &positions)
{
    std::vector<double> subColumns;
    std::vector<double> subSize;
    gather(columns, count, width, size, positions, subColumns, subSize);
    std::vector<std::int32_t> frame = frameOf(subColumns.data(), positions.size(), width, subSize, cone);
    for (std::int32_t &p : frame)
        p = positions[static_cast<std::size_t>(p)];
    return frame;
}

} // namespace

std::vector<std::int32_t> technologyFrame(const double *candidateColumns, std::size_t count, int width, int inputs,
                                          bool cone, int threads, std::size_t splitFrom)
{
    // Under constant returns a DMU's ray counts, not its size: candidates
    // are compared per unit of their total input. Without inputs on every
    // candidate, the hull's frame serves (it implies the cone's rows too).
    std::vector<double> size(count, 1.0);
    if (cone) {
        for (std::size_t p = 0; p < count && cone; ++p) {
            double total = 0.0;
            for (std::size_t c = 0; c < static_cast<std::size_t>(inputs); ++c)
                total -= candidateColumns[c * count + p];
            size[p] = total;
            cone = total > 0.0;
        }
        if (!cone)
            std::fill(size.begin(), size.end(), 1.0);
    }
    if (count < splitFrom)
        return frameOf(candidateColumns, count, width, size, cone);

    // Many candidates: the frames of the two halves of space, found at once
    // on two threads when there are, then the frame of their union (a frame
    // DMU of the whole is one of its half). The halves are the same for any
    // number of threads, so the frame is too.
    const std::vector<std::int32_t> order = spatialOrder(candidateColumns, count, width);
    const auto half = static_cast<std::ptrdiff_t>(count / 2);
    const std::vector<std::int32_t> first(order.begin(), order.begin() + half);
    const std::vector<std::int32_t> second(order.begin() + half, order.end());
    std::vector<std::int32_t> firstFrame;
    auto solveFirst = [&] { firstFrame = frameAt(candidateColumns, count, width, size, cone, first); };
    std::vector<std::int32_t> both;
    if (threads > 1) {
        std::thread helper(solveFirst);
        both = frameAt(candidateColumns, count, width, size, cone, second);
        helper.join();
    } else {
        solveFirst();
        both = frameAt(candidateColumns, count, width, size, cone, second);
    }
    both.insert(both.end(), firstFrame.begin(), firstFrame.end());
    std::sort(both.begin(), both.end());
    std::vector<std::int32_t> frame = frameAt(candidateColumns, count, width, size, cone, both);
    std::sort(frame.begin(), frame.end());
    return frame;
}

} // namespace zelvar
