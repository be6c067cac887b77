#include "engine/SolverCode.h"
#include "engine/RestrictedLp.h"

#include "engine/LpFrame.h"
#include "engine/LpOutcome.h"
#include "engine/LpSolver.h"
#include "engine/TechnologyRows.h"

#include "ClpSimplex.hpp"
#include "CoinFinite.hpp"

#include <algorithm>
#include <cmath>

namespace zelvar {

namespace {

bool finiteLower(double value) { return value > -COIN_DBL_MAX; }
bool finiteUpper(double value) { return value < COIN_DBL_MAX; }

// Scaled optimal, but with small infeasibilities once unscaled: a primal pass
// from the current basis cleans them up (as LpSolver does).
bool needsCleanUp(const ClpSimplex &model)
{
    return model.status() == 0 && model.secondaryStatus() >= 2 && model.secondaryStatus() <= 4;
}

bool allAcceptable(const std::vector<double> &values)
{
    for (const double value : values)
        if (!LpSolver::acceptable(value))
            return false;
    return true;
}

// The solver's open sides are +-COIN_DBL_MAX; every other bound must be
// acceptable.
bool boundsAcceptable(const std::vector<double> &lower, const std::vector<double> &upper)
{
    for (std::size_t k = 0; k < lower.size() && k < upper.size(); ++k) {
        if (std::isnan(lower[k]) || (lower[k] > -COIN_DBL_MAX && !LpSolver::acceptable(lower[k])))
            return false;
        if (std::isnan(upper[k]) || (upper[k] < COIN_DBL_MAX && !LpSolver::acceptable(upper[k])))
            return false;
    }
    return true;
}

// Whether the solver can take the frame's values (LpSolver::MaxMagnitude).
bool frameAcceptable(const LpFrame &frame)
{
    return allAcceptable(frame.objective) && allAcceptable(frame.ownRow) && allAcceptable(frame.restrictionRows)
        && LpSolver::acceptable(frame.scaleCoefficient) && boundsAcceptable(frame.columnLower, frame.columnUpper)
        && boundsAcceptable({frame.ownLower}, {frame.ownUpper})
        && boundsAcceptable(frame.restrictionLower, frame.restrictionUpper);
}

// A multiplier row's activity at weights w (from `start`, the u0 term) and
// the size of its terms on the weights.
struct Activity {
    double value = 0.0;
    double terms = 0.0;
};

Activity activityOf(const double *row, const double *w, std::size_t n, double start = 0.0)
{
    Activity a{start, 0.0};
    for (std::size_t c = 0; c < n; ++c) {
        const double term = row[c] * w[c];
        a.value += term;
        a.terms += std::fabs(term);
    }
    return a;
}

} // namespace

RestrictedLp::RestrictedLp(const TechnologyRows &rows)
    : m_rows(rows), m_width(rows.width())
{
    m_columnOf.assign(static_cast<std::size_t>(rows.count()), -1);
}

RestrictedLp::~RestrictedLp() = default;

void RestrictedLp::reset(const std::vector<std::int32_t> &initial)
{
    m_initial = initial;
    m_fresh = true;
}

// The solver holds the dual of the multiplier LP (the envelopment form): a
// row per weight column and a column per side of every bound of the
// multiplier LP. A lower side lo of a row a . w >= lo is a column a with
// profit lo, an upper side up a column -a with profit -up; so are the bounds
// of the weights (columns e_c and -e_c), and every technology row
// c_j . w + s u0 <= 0 is the column -(c_j, s) of intensity lambda_j with no
// profit. Row c asks that the columns add up to the weight's objective
// coefficient. The solver minimises, so profits go in negated.
//
// An open side gets its column fixed at 0: the layout stays the same for
// every DMU, only values and bounds change.
void RestrictedLp::load(const LpFrame &frame)
{
    for (const std::int32_t row : m_techRowOf)
        m_columnOf[static_cast<std::size_t>(row)] = -1;
    m_techRowOf.clear();
    m_heldValues.clear();

    m_columns = frame.columns;
    m_restrictions = static_cast<int>(frame.restrictionLower.size());
    m_scale = frame.scaleCoefficient;
    const auto n = static_cast<std::size_t>(m_columns);

    std::vector<CoinBigIndex> starts{0};
    std::vector<int> rows;
    std::vector<double> values;
    std::vector<double> lower;
    std::vector<double> upper;
    std::vector<double> cost;
    auto side = [&](double bound, bool finite, double sign) {
        lower.push_back(0.0);
        upper.push_back(finite ? COIN_DBL_MAX : 0.0);
        cost.push_back(finite ? -sign * bound : 0.0);
        starts.push_back(static_cast<CoinBigIndex>(rows.size()));
    };
    // The own row: an entry on every weight (placeholders here, its values
    // come with each frame, zeros kept), so that later DMUs change values,
    // never the structure of the matrix.
    for (const double sign : {1.0, -1.0}) {
        for (std::size_t c = 0; c < n; ++c) {
            rows.push_back(static_cast<int>(c));
            values.push_back(sign);
        }
        const double bound = sign > 0 ? frame.ownLower : frame.ownUpper;
        side(bound, sign > 0 ? finiteLower(bound) : finiteUpper(bound), sign);
    }
    for (int k = 0; k < m_restrictions; ++k) {
        const auto kk = static_cast<std::size_t>(k);
        for (const double sign : {1.0, -1.0}) {
            for (std::size_t c = 0; c < n; ++c) {
                const double value = frame.restrictionRows[kk * n + c];
                if (value != 0.0) {
                    rows.push_back(static_cast<int>(c));
                    values.push_back(sign * value);
                }
            }
            const double bound = sign > 0 ? frame.restrictionLower[kk] : frame.restrictionUpper[kk];
            side(bound, sign > 0 ? finiteLower(bound) : finiteUpper(bound), sign);
        }
    }
    // Columns e_c and -e_c, closed here, twice: the sides of the weights'
    // bounds (bounds and profits come with applyFrame), then artificial
    // columns, open only while a proof of infeasibility is sought
    // (infeasibilityProof).
    for (int copy = 0; copy < 2; ++copy)
        for (std::size_t c = 0; c < n; ++c)
            for (const double sign : {1.0, -1.0}) {
                rows.push_back(static_cast<int>(c));
                values.push_back(sign);
                side(0.0, false, sign);
            }
    const std::vector<double> rowBound(n, 0.0);

    m_model = std::make_unique<ClpSimplex>();
    m_model->setLogLevel(0);
    // Unscaled, as LpSolver solves, and with a dual tolerance a hundred times
    // tighter than the solver's default: an intensity priced in within the
    // default tolerance is a multiplier row left violated, which shifts the
    // optimum by about 1e-9, and in a restricted LP always towards the
    // smaller value.
    m_model->scaling(0);
    m_model->setDualTolerance(1e-9);
    m_model->setPrimalTolerance(1e-9);
    m_model->loadProblem(static_cast<int>(lower.size()), m_columns, starts.data(), rows.data(), values.data(),
                         lower.data(), upper.data(), cost.data(), rowBound.data(), rowBound.data());

    std::vector<Violation> initial;
    for (const std::int32_t row : m_initial)
        initial.push_back({0.0, row});
    addRows(initial);
    m_fresh = false;
    applyFrame(frame);
}

void RestrictedLp::applyFrame(const LpFrame &frame)
{
    for (int c = 0; c < m_columns; ++c) {
        const auto cc = static_cast<std::size_t>(c);
        m_model->setRowBounds(c, frame.objective[cc], frame.objective[cc]);
        m_model->modifyCoefficient(c, 0, frame.ownRow[cc], true);
        m_model->modifyCoefficient(c, 1, -frame.ownRow[cc], true);
        const int lowerSide = boundColumn(c);
        const double lower = frame.columnLower[cc];
        const double upper = frame.columnUpper[cc];
        m_model->setColumnBounds(lowerSide, 0.0, finiteLower(lower) ? COIN_DBL_MAX : 0.0);
        m_model->setObjectiveCoefficient(lowerSide, finiteLower(lower) ? -lower : 0.0);
        m_model->setColumnBounds(lowerSide + 1, 0.0, finiteUpper(upper) ? COIN_DBL_MAX : 0.0);
        m_model->setObjectiveCoefficient(lowerSide + 1, finiteUpper(upper) ? upper : 0.0);
    }
    const bool lowerOpen = !finiteLower(frame.ownLower);
    const bool upperOpen = !finiteUpper(frame.ownUpper);
    m_model->setColumnBounds(0, 0.0, lowerOpen ? 0.0 : COIN_DBL_MAX);
    m_model->setObjectiveCoefficient(0, lowerOpen ? 0.0 : -frame.ownLower);
    m_model->setColumnBounds(1, 0.0, upperOpen ? 0.0 : COIN_DBL_MAX);
    m_model->setObjectiveCoefficient(1, upperOpen ? 0.0 : frame.ownUpper);
}

void RestrictedLp::addRows(std::vector<Violation> &found)
{
    std::vector<CoinBigIndex> starts{0};
    std::vector<int> rows;
    std::vector<double> values;
    std::vector<double> lower;
    std::vector<double> upper;
    std::vector<double> cost;
    const bool scaled = m_columns > m_width;
    for (const Violation &v : found) {
        const auto row = static_cast<std::size_t>(v.row);
        if (m_columnOf[row] >= 0)
            continue;
        for (int c = 0; c < m_width; ++c) {
            const double value = m_rows.value(v.row, c);
            if (value != 0.0) {
                rows.push_back(c);
                values.push_back(-value);
            }
        }
        if (scaled && m_scale != 0.0) {
            rows.push_back(m_width);
            values.push_back(-m_scale);
        }
        starts.push_back(static_cast<CoinBigIndex>(rows.size()));
        lower.push_back(0.0);
        upper.push_back(COIN_DBL_MAX);
        cost.push_back(0.0);
        m_columnOf[row] = techColumn(m_techRowOf.size());
        m_techRowOf.push_back(v.row);
        for (int c = 0; c < m_width; ++c)
            m_heldValues.push_back(m_rows.value(v.row, c));
    }
    if (!lower.empty())
        m_model->addColumns(static_cast<int>(lower.size()), lower.data(), upper.data(), cost.data(), starts.data(),
                            rows.data(), values.data());
}

void RestrictedLp::findViolated(const double *w, int skip, bool direction, bool allRows,
                                std::vector<Violation> &found)
{
    const double scaleTerm = m_columns > m_width ? m_scale * w[m_width] : 0.0;
    // Along a ray any positive slope matters, whatever the ray's length.
    auto take = [&](std::int32_t row, double activity, double terms) {
        const double size = direction ? terms : std::max(1.0, terms);
        if (!(activity > ViolationTolerance * size) || size == 0.0)
            return;
        if (row == skip || m_columnOf[static_cast<std::size_t>(row)] >= 0)
            return;
        found.push_back({activity / size, row});
    };
    // A row is violated only where its activity passes the tolerance (and,
    // along a ray, 0): the trees pass over the rest.
    const double threshold = direction ? 0.0 : ViolationTolerance;
    if (allRows) {
        m_rows.rowTree().forEachAbove(w, scaleTerm, threshold, m_stack, take);
        return;
    }
    const std::vector<std::int32_t> &frame = m_rows.frame();
    m_rows.frameTree().forEachAbove(w, scaleTerm, threshold, m_stack,
                                    [&](std::int32_t k, double activity, double terms) {
                                        take(frame[static_cast<std::size_t>(k)], activity, terms);
                                    });
}

bool RestrictedLp::solve(int d, const LpFrame &frame, bool checkAllRows, LpOutcome &outcome)
{
    // Values the solver cannot take are left to the full LP, which reports them.
    if (!frameAcceptable(frame))
        return false;
    if (m_fresh || m_model == nullptr)
        load(frame);
    else
        applyFrame(frame);
    ++m_counters.lps;

    // While d is evaluated its own at-most row leaves the LP (frame's own row
    // stands for it): its intensity is held at 0. It is freed again
    // afterwards for the DMUs that follow.
    const int ownTechRow = m_rows.rowOf(d);
    int heldColumn = -1;
    if (ownTechRow >= 0 && m_columnOf[static_cast<std::size_t>(ownTechRow)] >= 0) {
        heldColumn = m_columnOf[static_cast<std::size_t>(ownTechRow)];
        m_model->setColumnUpper(heldColumn, 0.0);
    }
    struct Restore {
        ClpSimplex &model;
        int column;
        ~Restore()
        {
            if (column >= 0)
                model.setColumnUpper(column, COIN_DBL_MAX);
        }
    } restore{*m_model, heldColumn};

    // Every round adds at least one row that was not there, so the rounds
    // end; the limit only guards against a solver that keeps contradicting
    // itself.
    const int rounds = 2 * (m_rows.count() / BatchSize + 2) + 50;
    for (int round = 0; round < rounds; ++round) {
        solveOnce();
        bool everyRow = false;
        switch (rowsToAdd(ownTechRow, checkAllRows, everyRow)) {
        case Round::Optimal:
            extract(heldColumn, frame, outcome);
            return true;
        case Round::NoFiniteOptimum:
            outcome.clear(m_columns, m_restrictions, SolverCode::NoFiniteOptimum);
            return true;
        case Round::Failed:
            return false;
        case Round::AddRows:
            break;
        }
        // The most violated first; ties by row so that the choice never
        // depends on anything but the data.
        auto before = [](const Violation &a, const Violation &b) {
            return a.measure > b.measure || (a.measure == b.measure && a.row < b.row);
        };
        if (!everyRow && m_found.size() > static_cast<std::size_t>(BatchSize)) {
            std::nth_element(m_found.begin(), m_found.begin() + BatchSize, m_found.end(), before);
            m_found.resize(static_cast<std::size_t>(BatchSize));
        }
        std::sort(m_found.begin(), m_found.end(), before);
        addRows(m_found);
    }
    return false;
}

// The dual method on the envelopment form: from one DMU to the next mostly
// the right-hand side (the DMU's objective coefficients) changes, and the
// last basis stays nearly dual feasible. The solver keeps its work areas
// between solves.
void RestrictedLp::solveOnce()
{
    m_model->dual(0, 1);
    ++m_counters.solves;
    m_counters.iterations += m_model->numberIterations();
    if (needsCleanUp(*m_model)) {
        m_model->primal(1);
        m_counters.iterations += m_model->numberIterations();
    }
}

// The weights are the duals of the envelopment rows, negated: the solver's
// row duals y satisfy cost - M'y >= 0 on every column, which for w = -y reads
// as the multiplier LP's rows.
void RestrictedLp::readWeights()
{
    const double *dual = m_model->dualRowSolution();
    m_w.resize(static_cast<std::size_t>(m_columns));
    for (int c = 0; c < m_columns; ++c)
        m_w[static_cast<std::size_t>(c)] = -dual[c];
}

// Whether r is a ray along which the multiplier LP improves without end
// under the rows it holds: its objective falls, and every open column of the
// envelopment form (a side of a multiplier row) keeps its row satisfied.
bool RestrictedLp::isImprovingRay(const double *r) const
{
    const double *objective = m_model->rowLower();
    double slope = 0.0;
    double size = 0.0;
    for (int c = 0; c < m_columns; ++c) {
        slope += objective[c] * r[c];
        size += std::fabs(objective[c] * r[c]);
    }
    if (!(slope < -ViolationTolerance * std::max(size, 1e-300)))
        return false;
    const CoinPackedMatrix &matrix = *m_model->matrix();
    const CoinBigIndex *starts = matrix.getVectorStarts();
    const int *lengths = matrix.getVectorLengths();
    const int *rows = matrix.getIndices();
    const double *values = matrix.getElements();
    const double *upper = m_model->columnUpper();
    for (int j = 0; j < m_model->numberColumns(); ++j) {
        if (upper[j] <= 0.0)
            continue;
        double along = 0.0;
        double terms = 0.0;
        for (CoinBigIndex e = starts[j]; e < starts[j] + lengths[j]; ++e) {
            along += values[e] * r[rows[e]];
            terms += std::fabs(values[e] * r[rows[e]]);
        }
        if (along < -ViolationTolerance * terms)
            return false;
    }
    return true;
}

// The envelopment form has no solution: the least total of artificial
// columns that makes it one has duals y with M'y <= 0 on every open column
// and a positive value c'y; w = -y is then a ray of the multiplier LP that
// keeps every row it holds and lowers the objective without end. The
// objective is set aside for that solve and put back.
bool RestrictedLp::infeasibilityProof()
{
    const int columns = m_model->numberColumns();
    const double *cost = m_model->objective();
    m_savedCost.assign(cost, cost + columns);
    const int first = artificialColumn(0);
    for (int j = 0; j < columns; ++j)
        m_model->setObjectiveCoefficient(j, 0.0);
    for (int j = first; j < first + 2 * m_columns; ++j) {
        m_model->setColumnUpper(j, COIN_DBL_MAX);
        m_model->setObjectiveCoefficient(j, 1.0);
    }
    m_model->primal();
    ++m_counters.solves;
    m_counters.iterations += m_model->numberIterations();
    const bool found = m_model->status() == 0 && m_model->objectiveValue() > 0.0;
    if (found)
        readWeights();
    for (int j = first; j < first + 2 * m_columns; ++j)
        m_model->setColumnUpper(j, 0.0);
    for (int j = 0; j < columns; ++j)
        m_model->setObjectiveCoefficient(j, m_savedCost[static_cast<std::size_t>(j)]);
    return found;
}

// What the last solve says, and in m_found the rows it violates: at an
// optimum the rows its weights break, along an unbounded ray the rows that
// would bound it (every row that still could, when the solver gives no ray:
// everyRow).
RestrictedLp::Round RestrictedLp::rowsToAdd(int ownTechRow, bool checkAllRows, bool &everyRow)
{
    m_found.clear();
    const int status = m_model->status();
    // No envelopment solution with a finite value: no feasible weights even
    // with only part of the rows.
    if (status == 2)
        return Round::NoFiniteOptimum;
    if (status != 0 && status != 1)
        return Round::Failed;
    if (status == 0) {
        if (!std::isfinite(m_model->objectiveValue()))
            return Round::Failed;
        readWeights();
        findViolated(m_w.data(), ownTechRow, false, false, m_found);
        if (m_found.empty() && checkAllRows)
            findViolated(m_w.data(), ownTechRow, false, true, m_found);
        return m_found.empty() ? Round::Optimal : Round::AddRows;
    }
    // No envelopment solution: the multiplier LP, as far as it is held, has
    // no finite optimum. A ray of it is the solver's proof of infeasibility,
    // read with either sign.
    bool rayFound = infeasibilityProof() && isImprovingRay(m_w.data());
    if (rayFound) {
        findViolated(m_w.data(), ownTechRow, true, false, m_found);
        if (m_found.empty() && checkAllRows)
            findViolated(m_w.data(), ownTechRow, true, true, m_found);
    } else {
        everyRow = true;
        auto addUnheld = [&](std::int32_t row) {
            if (row != ownTechRow && m_columnOf[static_cast<std::size_t>(row)] < 0)
                m_found.push_back({1.0, row});
        };
        for (const std::int32_t row : m_rows.frame())
            addUnheld(row);
        if (m_found.empty() && checkAllRows)
            for (std::int32_t row = 0; row < m_rows.count(); ++row)
                addUnheld(row);
    }
    // No technology row bounds the direction: the full LP is unbounded.
    return m_found.empty() ? Round::NoFiniteOptimum : Round::AddRows;
}

void RestrictedLp::extract(int heldColumn, const LpFrame &frame, LpOutcome &outcome)
{
    const auto n = static_cast<std::size_t>(m_columns);
    // Degenerate basic columns come out a rounding error away from 0; they
    // are 0 (an intensity of 1e-12 on a DMU of amounts in billions would
    // otherwise show in the projection).
    const double *solution = m_model->primalColumnSolution();
    m_y.resize(static_cast<std::size_t>(m_model->numberColumns()));
    for (std::size_t j = 0; j < m_y.size(); ++j)
        m_y[j] = std::fabs(solution[j]) < ZeroTolerance ? 0.0 : solution[j];
    const double *y = m_y.data();
    outcome.clear(m_columns, m_restrictions, SolverCode::Optimal);
    double objective = 0.0;
    for (std::size_t c = 0; c < n; ++c) {
        objective += frame.objective[c] * m_w[c];
        outcome.primal[c + 1] = m_w[c];
        const auto lowerSide = static_cast<std::size_t>(boundColumn(static_cast<int>(c)));
        outcome.reducedCost[c + 1] = y[lowerSide] - y[lowerSide + 1];
    }
    outcome.objective = objective;

    const Activity own = activityOf(frame.ownRow.data(), m_w.data(), n);
    outcome.ownTight = LpSolver::isTight(own.value, frame.ownLower, frame.ownUpper, own.terms);
    m_ownMargin = (frame.ownUpper - own.value) / std::max({1.0, std::fabs(frame.ownUpper), own.terms});
    outcome.ownDual = y[0] - y[1];
    for (int k = 0; k < m_restrictions; ++k) {
        const auto kk = static_cast<std::size_t>(k);
        const Activity restriction = activityOf(&frame.restrictionRows[kk * n], m_w.data(), n);
        const auto column = static_cast<std::size_t>(2 + 2 * k);
        outcome.restrictionDual[kk + 1] = y[column] - y[column + 1];
        outcome.restrictionTight[kk + 1] = LpSolver::isTight(restriction.value, frame.restrictionLower[kk],
                                                             frame.restrictionUpper[kk], restriction.terms)
            ? 1
            : 0;
    }

    const double u0Term = m_columns > m_width ? m_scale * m_w[static_cast<std::size_t>(m_width)] : 0.0;
    for (std::size_t k = 0; k < m_techRowOf.size(); ++k) {
        const int column = techColumn(k);
        if (column == heldColumn)
            continue;
        // The row's coefficients from the solver's own copy, which lies close
        // together: the technology's columns lie far apart at a million DMUs.
        const auto width = static_cast<std::size_t>(m_width);
        const Activity row = activityOf(&m_heldValues[k * width], m_w.data(), width, u0Term);
        if (LpSolver::isTight(row.value, -COIN_DBL_MAX, 0.0, row.terms + std::fabs(u0Term)))
            outcome.tightRows.push_back({m_rows.dmu(m_techRowOf[k]), -y[column]});
    }
    std::sort(outcome.tightRows.begin(), outcome.tightRows.end(),
              [](const LpOutcome::Row &a, const LpOutcome::Row &b) { return a.dmu < b.dmu; });

    const long long active = static_cast<long long>(m_techRowOf.size()) - (heldColumn >= 0 ? 1 : 0);
    m_counters.finalRows += active;
    m_counters.maxFinalRows = std::max(m_counters.maxFinalRows, active);
}

} // namespace zelvar
