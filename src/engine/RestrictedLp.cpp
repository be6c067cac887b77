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

} // namespace

RestrictedLp::RestrictedLp(const TechnologyRows &rows)
    : m_rows(rows), m_width(rows.width())
{
    m_modelRowOf.assign(static_cast<std::size_t>(rows.count()), -1);
}

RestrictedLp::~RestrictedLp() = default;

void RestrictedLp::reset(const std::vector<std::int32_t> &initial)
{
    m_initial = initial;
    m_fresh = true;
}

void RestrictedLp::load(const LpFrame &frame)
{
    for (const std::int32_t row : m_techRowOf)
        if (row >= 0)
            m_modelRowOf[static_cast<std::size_t>(row)] = -1;
    m_techRowOf.clear();

    m_columns = frame.columns;
    m_restrictions = static_cast<int>(frame.restrictionLower.size());
    m_scale = frame.scaleCoefficient;
    const auto n = static_cast<std::size_t>(m_columns);

    // Columns first, then the own row and the restriction rows. The own row
    // stores an entry on every column (placeholders here, its values come with
    // each frame, zeros kept), so that later DMUs change values, never the
    // structure of the matrix.
    const std::vector<CoinBigIndex> noEntries(n + 1, 0);
    m_model = std::make_unique<ClpSimplex>();
    m_model->setLogLevel(0);
    // Unscaled, as LpSolver solves, and with a primal tolerance a hundred
    // times tighter than the solver's default: a row left violated within the
    // default tolerance shifts the optimum by about 1e-9, and in a restricted
    // LP always towards the smaller value.
    m_model->scaling(0);
    m_model->setPrimalTolerance(1e-9);
    m_model->loadProblem(m_columns, 0, noEntries.data(), nullptr, nullptr, frame.columnLower.data(),
                         frame.columnUpper.data(), frame.objective.data(), nullptr, nullptr);

    std::vector<CoinBigIndex> starts{0};
    std::vector<int> columns;
    std::vector<double> values;
    std::vector<double> lower{frame.ownLower};
    std::vector<double> upper{frame.ownUpper};
    for (std::size_t c = 0; c < n; ++c) {
        columns.push_back(static_cast<int>(c));
        values.push_back(1.0);
    }
    starts.push_back(static_cast<CoinBigIndex>(columns.size()));
    for (int k = 0; k < m_restrictions; ++k) {
        for (std::size_t c = 0; c < n; ++c) {
            const double value = frame.restrictionRows[static_cast<std::size_t>(k) * n + c];
            if (value != 0.0) {
                columns.push_back(static_cast<int>(c));
                values.push_back(value);
            }
        }
        starts.push_back(static_cast<CoinBigIndex>(columns.size()));
        lower.push_back(frame.restrictionLower[static_cast<std::size_t>(k)]);
        upper.push_back(frame.restrictionUpper[static_cast<std::size_t>(k)]);
    }
    m_model->addRows(static_cast<int>(lower.size()), lower.data(), upper.data(), starts.data(),
                     columns.data(), values.data());
    m_techRowOf.assign(lower.size(), -1);

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
        m_model->setObjectiveCoefficient(c, frame.objective[cc]);
        m_model->setColumnBounds(c, frame.columnLower[cc], frame.columnUpper[cc]);
        m_model->modifyCoefficient(0, c, frame.ownRow[cc], true);
    }
    m_model->setRowBounds(0, frame.ownLower, frame.ownUpper);
}

void RestrictedLp::addRows(std::vector<Violation> &found)
{
    std::vector<CoinBigIndex> starts{0};
    std::vector<int> columns;
    std::vector<double> values;
    std::vector<double> lower;
    std::vector<double> upper;
    const bool scaled = m_columns > m_width;
    for (const Violation &v : found) {
        const auto row = static_cast<std::size_t>(v.row);
        if (m_modelRowOf[row] >= 0)
            continue;
        for (int c = 0; c < m_width; ++c) {
            const double value = m_rows.value(v.row, c);
            if (value != 0.0) {
                columns.push_back(c);
                values.push_back(value);
            }
        }
        if (scaled) {
            columns.push_back(m_width);
            values.push_back(m_scale);
        }
        starts.push_back(static_cast<CoinBigIndex>(columns.size()));
        lower.push_back(-COIN_DBL_MAX);
        upper.push_back(0.0);
        m_modelRowOf[row] = static_cast<std::int32_t>(m_techRowOf.size());
        m_techRowOf.push_back(v.row);
    }
    if (!lower.empty())
        m_model->addRows(static_cast<int>(lower.size()), lower.data(), upper.data(), starts.data(),
                         columns.data(), values.data());
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
        if (row == skip || m_modelRowOf[static_cast<std::size_t>(row)] >= 0)
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
    const std::vector<std::int32_t> &candidates = m_rows.candidates();
    m_rows.candidateTree().forEachAbove(w, scaleTerm, threshold, m_stack,
                                        [&](std::int32_t k, double activity, double terms) {
                                            take(candidates[static_cast<std::size_t>(k)], activity, terms);
                                        });
}

double RestrictedLp::rowTerms(int row, const double *x) const
{
    double terms = 0.0;
    for (int c = 0; c < m_width; ++c)
        terms += std::fabs(m_rows.value(row, c) * x[c]);
    if (m_columns > m_width)
        terms += std::fabs(m_scale * x[m_width]);
    return terms;
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
    // stands for it); it is put back afterwards for the DMUs that follow.
    const int ownTechRow = m_rows.rowOf(d);
    int freedRow = -1;
    if (ownTechRow >= 0 && m_modelRowOf[static_cast<std::size_t>(ownTechRow)] >= 0) {
        freedRow = m_modelRowOf[static_cast<std::size_t>(ownTechRow)];
        m_model->setRowBounds(freedRow, -COIN_DBL_MAX, COIN_DBL_MAX);
    }
    struct Restore {
        ClpSimplex &model;
        int row;
        ~Restore()
        {
            if (row >= 0)
                model.setRowBounds(row, -COIN_DBL_MAX, 0.0);
        }
    } restore{*m_model, freedRow};

    // Every round adds at least one row that was not there, so the rounds
    // end; the limit only guards against a solver that keeps contradicting
    // itself.
    const int rounds = 2 * (m_rows.count() / BatchSize + 2) + 50;
    for (int round = 0; round < rounds; ++round) {
        solveOnce();
        bool everyRow = false;
        switch (rowsToAdd(ownTechRow, checkAllRows, everyRow)) {
        case Round::Optimal:
            extract(freedRow, frame, outcome);
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

// The primal method: it stays on vertices of the restricted LP. The dual
// method bounds free directions by large artificial bounds and can stop on
// one of them when a direction costs nothing, where the rounding of values
// near 1e10 spoils the objective.
void RestrictedLp::solveOnce()
{
    m_model->primal();
    ++m_counters.solves;
    m_counters.iterations += m_model->numberIterations();
    if (needsCleanUp(*m_model)) {
        m_model->primal(1);
        m_counters.iterations += m_model->numberIterations();
    }
}

// What the last solve says, and in m_found the rows it violates: at an
// optimum the rows its weights break, along an unbounded ray the rows that
// would bound it (every row that still could, when the solver gives no ray:
// everyRow).
RestrictedLp::Round RestrictedLp::rowsToAdd(int ownTechRow, bool checkAllRows, bool &everyRow)
{
    m_found.clear();
    const int status = m_model->status();
    if (status == 1)
        return Round::NoFiniteOptimum; // no feasible point even with only part of the rows
    if (status != 0 && status != 2)
        return Round::Failed;
    if (status == 0) {
        if (!std::isfinite(m_model->objectiveValue()))
            return Round::Failed;
        const double *w = m_model->primalColumnSolution();
        findViolated(w, ownTechRow, false, false, m_found);
        if (m_found.empty() && checkAllRows)
            findViolated(w, ownTechRow, false, true, m_found);
        return m_found.empty() ? Round::Optimal : Round::AddRows;
    }
    const std::unique_ptr<double[]> ray(m_model->unboundedRay());
    if (ray != nullptr) {
        findViolated(ray.get(), ownTechRow, true, false, m_found);
        if (m_found.empty() && checkAllRows)
            findViolated(ray.get(), ownTechRow, true, true, m_found);
    } else {
        everyRow = true;
        for (const std::int32_t row : m_rows.candidates())
            if (row != ownTechRow && m_modelRowOf[static_cast<std::size_t>(row)] < 0)
                m_found.push_back({1.0, row});
        if (m_found.empty() && checkAllRows)
            for (int row = 0; row < m_rows.count(); ++row)
                if (row != ownTechRow && m_modelRowOf[static_cast<std::size_t>(row)] < 0)
                    m_found.push_back({1.0, row});
    }
    // No technology row bounds the direction: the full LP is unbounded.
    return m_found.empty() ? Round::NoFiniteOptimum : Round::AddRows;
}

void RestrictedLp::extract(int freedRow, const LpFrame &frame, LpOutcome &outcome)
{
    const auto n = static_cast<std::size_t>(m_columns);
    outcome.clear(m_columns, m_restrictions, SolverCode::Optimal);
    outcome.objective = m_model->objectiveValue();
    const double *x = m_model->primalColumnSolution();
    const double *reducedCost = m_model->dualColumnSolution();
    const double *activity = m_model->primalRowSolution();
    const double *dual = m_model->dualRowSolution();
    for (std::size_t c = 0; c < n; ++c) {
        outcome.primal[c + 1] = x[c];
        outcome.reducedCost[c + 1] = reducedCost[c];
    }

    double ownTerms = 0.0;
    for (std::size_t c = 0; c < n; ++c)
        ownTerms += std::fabs(frame.ownRow[c] * x[c]);
    outcome.ownTight = LpSolver::isTight(activity[0], frame.ownLower, frame.ownUpper, ownTerms);
    m_ownMargin = (frame.ownUpper - activity[0]) / std::max({1.0, std::fabs(frame.ownUpper), ownTerms});
    outcome.ownDual = dual[0];
    for (int k = 0; k < m_restrictions; ++k) {
        const auto kk = static_cast<std::size_t>(k);
        double terms = 0.0;
        for (std::size_t c = 0; c < n; ++c)
            terms += std::fabs(frame.restrictionRows[kk * n + c] * x[c]);
        const auto row = static_cast<std::size_t>(1 + k);
        outcome.restrictionDual[kk + 1] = dual[row];
        outcome.restrictionTight[kk + 1] =
            LpSolver::isTight(activity[row], frame.restrictionLower[kk], frame.restrictionUpper[kk], terms) ? 1 : 0;
    }

    const auto rows = static_cast<int>(m_techRowOf.size());
    for (int row = 1 + m_restrictions; row < rows; ++row) {
        if (row == freedRow)
            continue;
        const std::int32_t techRow = m_techRowOf[static_cast<std::size_t>(row)];
        const auto r = static_cast<std::size_t>(row);
        if (LpSolver::isTight(activity[r], -COIN_DBL_MAX, 0.0, rowTerms(techRow, x)))
            outcome.tightRows.push_back({m_rows.dmu(techRow), dual[r]});
    }
    std::sort(outcome.tightRows.begin(), outcome.tightRows.end(),
              [](const LpOutcome::Row &a, const LpOutcome::Row &b) { return a.dmu < b.dmu; });

    const long long active = rows - 1 - m_restrictions - (freedRow >= 0 ? 1 : 0);
    m_counters.finalRows += active;
    m_counters.maxFinalRows = std::max(m_counters.maxFinalRows, active);
}

} // namespace zelvar
