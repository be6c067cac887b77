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
// rows that matter in the solver: the evaluated DMU's own row, the weight
// restrictions and a set of active technology rows. After each solve every
// candidate row (TechnologyRows::candidates) is checked at the solution; the
// most violated ones join and the LP is solved again from the last basis,
// until no row is violated. The solution then satisfies every row of the full
// LP (the others are implied by candidates) and is optimal for it, since the
// full LP's feasible set lies inside the restricted one's. Rows outside the
// restricted LP get dual 0, a valid dual solution by complementary slackness.
//
// If the restricted LP has no finite optimum, rows violated along the
// unbounded direction join; the full LP is unbounded only when no technology
// row bounds that direction. A restricted LP without a feasible point means
// the full LP has none either.
//
// The active rows carry over from one LP to the next, which is what makes the
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
    // checkAllRows: after the candidates, check every technology row too; the
    // radial LP needs it when d is a candidate, because rows that only d's
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
    void extract(int freedRow, const LpFrame &frame, LpOutcome &outcome);
    double rowTerms(int row, const double *x) const;

    const TechnologyRows &m_rows;
    std::unique_ptr<ClpSimplex> m_model;
    bool m_fresh = true;
    int m_columns = 0;
    int m_width = 0;
    int m_restrictions = 0;
    double m_scale = 0.0;
    std::vector<std::int32_t> m_initial;
    std::vector<std::int32_t> m_modelRowOf; // technology row -> solver row, -1 when inactive
    std::vector<std::int32_t> m_techRowOf;  // solver row -> technology row (-1 for own and restriction rows)
    std::vector<Violation> m_found;
    std::vector<std::int32_t> m_stack; // the candidate tree's work list
    Counters m_counters;
    double m_ownMargin = 0.0;
};

} // namespace zelvar
