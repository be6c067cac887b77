#pragma once

#include <cstdint>
#include <memory>
#include <vector>

class ClpSimplex;

namespace zelvar {

struct LpFrame;
struct LpOutcome;
class TechnologyRows;

// Solves efficiency LPs against a technology of many DMUs by keeping only the
// technology DMUs that matter in the solver. The LP is the multiplier LP
// (weights w: the evaluated DMU's own row, the weight restrictions, a row
// c_j . w + s u0 <= 0 per technology DMU j), but the solver holds its dual,
// the envelopment form: a row per weight and a column per side of every
// multiplier row, so a technology DMU is an intensity column. Its rows are as
// few as the weights, its columns grow with the DMUs held, and the weights
// are its duals (readWeights).
//
// After each solve the frame's rows (TechnologyRows::frame) are checked at
// the weights; the most violated DMUs join as columns and the LP is solved
// again from the last basis, until no row is violated. The weights then
// satisfy every row of the full LP (the frame's rows imply the others) and
// are optimal for it, since the full LP's feasible set lies inside the
// restricted one's. DMUs outside the solver get intensity 0, a valid dual
// solution by complementary slackness.
//
// If the envelopment form has no solution, the multiplier LP held so far
// has no finite optimum: rows violated along a ray of it (infeasibilityProof)
// join; the full LP is unbounded only when no technology row bounds that ray.
// An envelopment form without a finite optimum means the multiplier LP has
// no feasible point, with or without the other rows.
//
// The held DMUs carry over from one LP to the next, which is what makes the
// next LP cheap; reset() starts afresh. One object per thread.
class RestrictedLp {
public:
    struct Counters {
        long long lps = 0;
        long long solves = 0;
        long long iterations = 0;
        long long finalRows = 0;
        long long maxFinalRows = 0;
    };

    explicit RestrictedLp(const TechnologyRows &rows);
    ~RestrictedLp();
    RestrictedLp(const RestrictedLp &) = delete;
    RestrictedLp &operator=(const RestrictedLp &) = delete;

    // The next LP starts from a fresh solver with the technology rows
    // `initial` (row numbers of TechnologyRows) active.
    void reset(const std::vector<std::int32_t> &initial);

    // Solves the LP of evaluated DMU d described by frame. The row of d itself
    // (when d is a technology DMU) is left out: frame's own row stands for it.
    // checkAllRows: after the frame, check every technology row too; the
    // radial LP needs it when d is in the frame, because rows that only d's
    // own at-most row implies are not implied by the normalisation replacing it.
    //
    // Returns false when the solver failed (iteration limit, numerical
    // trouble); outcome is then unspecified and the caller solves the full LP.
    [[nodiscard]] bool solve(int d, const LpFrame &frame, bool checkAllRows, LpOutcome &outcome);

    const Counters &counters() const { return m_counters; }
    // How far the own row of the last optimal LP stays below its upper bound,
    // as a share of the size of its terms (at least 1); LpSolver calls the
    // row tight up to TightTolerance.
    double ownMargin() const { return m_ownMargin; }

    // A row is violated when its activity exceeds this share of the size of
    // its terms (at least 1): the tightness tolerance of LpSolver, far inside
    // the solver's own feasibility tolerance.
    static constexpr double ViolationTolerance = 1e-9;
    // Values of the envelopment solution closer to 0 than this are 0: the
    // solver's own feasibility tolerance, below which it cannot tell a value
    // from 0.
    static constexpr double ZeroTolerance = 1e-9;
    // Rows added at most per round.
    static constexpr int BatchSize = 32;

private:
    struct Violation {
        double measure;
        std::int32_t row;
    };

    enum class Round { Optimal, NoFiniteOptimum, AddRows, Failed };

    void load(const LpFrame &frame);
    void solveOnce();
    Round rowsToAdd(int ownTechRow, bool checkAllRows, bool &everyRow);
    void applyFrame(const LpFrame &frame);
    void addRows(std::vector<Violation> &found);
    // Rows (not active, not `skip`) with a . w > tolerance; direction: w is an
    // unbounded ray, measured against the size of its terms alone.
    void findViolated(const double *w, int skip, bool direction, bool allRows, std::vector<Violation> &found);
    void extract(int heldColumn, const LpFrame &frame, LpOutcome &outcome);
    void readWeights();
    bool isImprovingRay(const double *r) const;
    bool infeasibilityProof();
    int artificialColumn(int c) const { return boundColumn(m_columns) + 2 * c; }
    // The solver's column of the k-th technology row held.
    int techColumn(std::size_t k) const { return artificialColumn(m_columns) + static_cast<int>(k); }
    // The solver's column for the lower side of the bound of weight c; the
    // upper side's follows it.
    int boundColumn(int c) const { return 2 + 2 * m_restrictions + 2 * c; }

    const TechnologyRows &m_rows;
    std::unique_ptr<ClpSimplex> m_model;
    bool m_fresh = true;
    int m_columns = 0;
    int m_width = 0;
    int m_restrictions = 0;
    double m_scale = 0.0;
    std::vector<std::int32_t> m_initial;
    std::vector<std::int32_t> m_columnOf; // technology row -> solver column, -1 when inactive
    std::vector<std::int32_t> m_techRowOf;  // k -> the technology row in techColumn(k)
    std::vector<double> m_heldValues;       // the coefficients of m_techRowOf's rows, row after row
    std::vector<double> m_savedCost;
    std::vector<double> m_y;                // the envelopment solution of the last solve
    std::vector<double> m_w;                // the weights (or a ray of them) of the last solve
    std::vector<Violation> m_found;
    std::vector<std::int32_t> m_stack; // the candidate tree's work list
    Counters m_counters;
    double m_ownMargin = 0.0;
};

} // namespace zelvar
