// The cost and revenue models. Their technical score comes from the radial
// run of the same returns to scale and orientation; their own LPs (PriceLp.h)
// are solved against restricted LPs on all threads, chunk by chunk as the
// other LP models are, or whole, one after the other (the straightforward
// method, for a test's solver or data the restricted LPs cannot take). The
// driver's thread reads each DMU's LP in DMU order: scores, plan, messages,
// progress and rows.

#include "engine/RunDriver.h"

#include "data/DataSet.h"
#include "data/Feedback.h"
#include "data/NumberText.h"
#include "engine/ColumnScaling.h"
#include "engine/LpFrame.h"
#include "engine/LpOutcome.h"
#include "engine/LpSolver.h"
#include "engine/OrderedChunks.h"
#include "engine/PriceLp.h"
#include "engine/RadialDistances.h"
#include "engine/RestrictedLp.h"
#include "engine/RunContext.h"
#include "engine/SolverCode.h"
#include "engine/TechnologyRows.h"
#include "session/SelectionSet.h"
#include "session/Workspace.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <utility>

namespace zelvar {

namespace {

// Evaluated DMUs per chunk; each chunk starts from the same fresh restricted
// LP, so what a DMU's LP reports does not depend on the number of threads.
constexpr std::size_t ChunkSize = 64;

// An intensity counts in the plan's benchmarks only when it clearly exceeds
// the solver's rounding noise, as for the score table's references.
constexpr double IntensityThreshold = 9e-08;

// Scores are compared after rounding to this many decimals, as the
// efficiency flags of the other models are.
constexpr int EfficiencyDecimals = 7;

struct PriceChunk {
    std::vector<LpOutcome> outcomes;
    RestrictedLp::Counters counters;
    long long fallbacks = 0;
};

// What the workers share; none of it changes while they run.
struct SharedPrices {
    const PriceLpBuilder &builder;
    const TechnologyRows &rows;
    const std::vector<std::int32_t> &initialRows;
    const std::vector<int> &evaluated;
    const std::vector<int> &techDmus;
    SolverSettings settings;
    const std::function<void(int, LpOutcome &)> &filter;
};

// Rows every chunk starts with: at the mean prices, for each output the
// candidate with the most of it per unit of cost and the cheapest candidate
// (cost); for each input the candidate with the most revenue per unit of it
// and the one of most revenue (revenue). They bound most LPs from the first
// solve on; the rows found for one DMU serve the next in its chunk.
std::vector<std::int32_t> startingRows(const TechnologyRows &rows, const DataSet &lpData, const DataSet &data,
                                       const ColumnScaling &scaling, bool cost)
{
    const int m = lpData.NumInputs;
    const int width = rows.width();
    std::vector<double> price(static_cast<std::size_t>(width), 0.0);
    for (int c = 1; c <= width; ++c) {
        const bool nd = c <= m ? lpData.InputNonDisc[static_cast<std::size_t>(c)] != 0
                               : lpData.OutputNonDisc[static_cast<std::size_t>(c - m)] != 0;
        if (nd || (cost != (c <= m)))
            continue;
        double sum = 0.0;
        for (int k = 1; k <= data.Prices.cols(); ++k)
            sum += data.Prices(c, k);
        const double factor = scaling.identity() ? 1.0 : scaling.factor(c);
        price[static_cast<std::size_t>(c - 1)] = sum / data.Prices.cols() / factor;
    }
    const std::vector<std::int32_t> &candidates = rows.candidates();
    std::vector<double> money(candidates.size(), 0.0);
    for (int c = 0; c < width; ++c)
        for (std::size_t p = 0; p < candidates.size(); ++p)
            money[p] += std::fabs(rows.candidateColumn(c)[p]) * price[static_cast<std::size_t>(c)];

    std::vector<std::int32_t> chosen;
    auto best = [&](auto score) {
        std::int32_t row = -1;
        double top = 0.0;
        for (std::size_t p = 0; p < candidates.size(); ++p) {
            const double value = score(p);
            if (std::isfinite(value) && (row < 0 || value > top)) {
                row = candidates[p];
                top = value;
            }
        }
        if (row >= 0)
            chosen.push_back(row);
    };
    if (cost) {
        for (int r = m; r < width; ++r)
            best([&](std::size_t p) { return money[p] > 0.0 ? rows.candidateColumn(r)[p] / money[p] : -HUGE_VAL; });
        best([&](std::size_t p) { return -money[p]; });
    } else {
        for (int i = 0; i < m; ++i)
            best([&](std::size_t p) {
                const double x = -rows.candidateColumn(i)[p];
                return x > 0.0 ? money[p] / x : -HUGE_VAL;
            });
        best([&](std::size_t p) { return money[p]; });
    }
    std::sort(chosen.begin(), chosen.end());
    chosen.erase(std::unique(chosen.begin(), chosen.end()), chosen.end());
    return chosen;
}

// Solves chunks of evaluated DMUs; one per thread.
class PriceWorker {
public:
    using ChunkResult = PriceChunk;

    explicit PriceWorker(const SharedPrices &run) : m_run(run), m_lp(run.rows) {}

    void solveChunk(std::size_t chunk, PriceChunk &result)
    {
        const std::size_t first = chunk * ChunkSize;
        const std::size_t last = std::min(first + ChunkSize, m_run.evaluated.size());
        const RestrictedLp::Counters before = m_lp.counters();
        m_lp.reset(m_run.initialRows);
        result.outcomes.resize(last - first);
        for (std::size_t e = first; e < last; ++e) {
            const int d = m_run.evaluated[e];
            LpOutcome &outcome = result.outcomes[e - first];
            m_run.builder.buildFrame(d, m_run.rows.rowOf(d) >= 0, m_frame);
            bool solved = false;
            try {
                // The technology's frame implies every other row, and d's
                // own at-most row stays in the LP (m_frame's own row): no need
                // to check every row.
                solved = m_lp.solve(d, m_frame, false, outcome);
            } catch (...) {
                // CLP reports some errors by throwing; the full LP decides.
            }
            if (!solved) {
                ++result.fallbacks;
                m_lp.reset(m_run.initialRows);
                solveFull(d, outcome);
            }
            if (m_run.filter)
                m_run.filter(d, outcome);
        }
        const RestrictedLp::Counters &after = m_lp.counters();
        result.counters.lps = after.lps - before.lps;
        result.counters.solves = after.solves - before.solves;
        result.counters.iterations = after.iterations - before.iterations;
        result.counters.finalRows = after.finalRows - before.finalRows;
        result.counters.maxFinalRows = after.maxFinalRows;
    }

private:
    // The whole LP, with the method retries and codes of LpSolver.
    void solveFull(int d, LpOutcome &outcome)
    {
        try {
            LpProblem full;
            m_run.builder.buildFullLp(m_frame, m_run.techDmus, full);
            LpSolver(m_run.settings).solve(full);
            outcome = PriceLpBuilder::outcomeOf(full, m_run.techDmus, d);
        } catch (...) {
            outcome.clear(m_frame.columns, 0, SolverCode::LibraryError);
        }
    }

    const SharedPrices &m_run;
    RestrictedLp m_lp;
    LpFrame m_frame;
};

// The intensities of d's optimal plan, ascending by DMU: minus the duals of
// the technology rows (d's own row among them when d belongs to the
// technology).
std::vector<std::pair<int, double>> planOf(int d, bool inTechnology, const LpOutcome &outcome)
{
    std::vector<std::pair<int, double>> plan;
    if (inTechnology && outcome.ownDual < 0.0)
        plan.emplace_back(d, -outcome.ownDual);
    for (const LpOutcome::Row &row : outcome.tightRows)
        if (row.dual < 0.0)
            plan.emplace_back(row.dmu, -row.dual);
    std::sort(plan.begin(), plan.end());
    return plan;
}

// The technical score as the table shows it: the radial input score, or the
// reciprocal of the output distance phi (revenue).
std::optional<double> technicalScore(const RadialDistances &technical, int d, bool cost)
{
    const std::optional<double> standard = technical.standard(d);
    if (!standard || cost)
        return standard;
    if (!(*standard > 0.0))
        return std::nullopt;
    return 1.0 / *standard;
}

// Where the outcomes go on the driver's thread.
struct PriceTarget {
    const DataSet &data; // values as loaded: the plan's quantities
    const PriceLpBuilder &builder;
    const RadialDistances &technical;
    const SolveContext &solve;
    ResultStore &store;
};

// Records what d's LP says: score, efficiency flag, plan and quantities, and
// beside them the technical and allocative scores. False: the run stops at d
// (the solver broke down, or failed and the user chose Cancel).
bool recordPriced(int d, bool inTechnology, const LpOutcome &outcome, PriceTarget &to)
{
    const auto dd = static_cast<std::size_t>(d);
    const bool cost = to.builder.cost();
    const DataSet &data = to.data;
    ResultStore &store = to.store;
    store.Technical[dd] = technicalScore(to.technical, d, cost);
    store.TechnicalBig[dd] = to.technical.noFiniteOptimum(d) ? 1 : 0;
    const int count = cost ? data.NumInputs : data.NumOutputs;
    store.PricedQuantities.assign(static_cast<std::size_t>(count) + 1, std::nullopt);

    if (outcome.code == SolverCode::NoFiniteOptimum) {
        // Only a DMU from outside the technology can get here: its own plan
        // is feasible otherwise.
        store.Score[dd] = -1.0;
        store.NoFiniteOptimum[dd] = 1;
        return true;
    }
    if (outcome.code != SolverCode::Optimal) {
        ++store.SolverFailures;
        store.NoScore[dd] = 1;
        return to.solve.feedback.confirm(withFilePath(solverCodeText(d, outcome.code), to.solve.dataFile));
    }
    if (!std::isfinite(outcome.objective)) {
        ++store.SolverFailures;
        store.NoScore[dd] = 1;
        to.solve.feedback.message(withFilePath(solverErrorText(d), to.solve.dataFile));
        return false;
    }

    const std::vector<std::pair<int, double>> plan = planOf(d, inTechnology, outcome);
    for (int k = 1; k <= count; ++k) {
        const bool nd = cost ? data.InputNonDisc[static_cast<std::size_t>(k)] != 0
                             : data.OutputNonDisc[static_cast<std::size_t>(k)] != 0;
        const Matrix &values = cost ? data.InputData : data.OutputData;
        double quantity = 0.0;
        if (nd) {
            quantity = values(k, d);
        } else {
            for (const auto &[j, lambda] : plan)
                quantity += lambda * values(k, j);
        }
        store.PricedQuantities[static_cast<std::size_t>(k)] = quantity;
    }
    for (const auto &[j, lambda] : plan)
        if (lambda > IntensityThreshold)
            store.Benchmarks[dd] += " " + std::to_string(j) + " ("
                + formatFixed(lambda, to.solve.format.DecIntensities, to.solve.decimalSeparator) + ") ";

    // The optimum in money: minus the LP's minimum for cost, its minimum
    // for revenue, in the units of d's prices.
    const double best = (cost ? -outcome.objective : outcome.objective) / to.builder.moneyScale(d);
    const double observed = to.builder.observed(d);
    std::optional<double> score;
    if (observed > 0.0) {
        if (cost)
            score = std::max(best, 0.0) / observed;
        else if (best > 0.0)
            score = observed / best;
    }
    // A DMU of the technology can always keep its own plan: a score above 1
    // is rounding.
    if (score && inTechnology)
        score = std::min(*score, 1.0);
    if (!score) {
        store.NoScore[dd] = 1;
        return true;
    }
    store.Score[dd] = *score;
    if (roundDecimals(*score, EfficiencyDecimals) >= 1.0)
        store.Efficient[dd] = 1;
    const std::optional<double> &technicalValue = store.Technical[dd];
    if (technicalValue && *technicalValue > 0.0) {
        double allocative = *score / *technicalValue;
        // The radial projection is a plan of the technology costing
        // Technical times the observed cost: Score <= Technical.
        if (inTechnology)
            allocative = std::min(allocative, 1.0);
        store.Allocative[dd] = allocative;
    }
    return true;
}

void account(RunStatistics &statistics, const PriceChunk &chunk)
{
    statistics.lps += chunk.counters.lps;
    statistics.solves += chunk.counters.solves;
    statistics.iterations += chunk.counters.iterations;
    statistics.finalRows += chunk.counters.finalRows;
    statistics.maxFinalRows = std::max(statistics.maxFinalRows, chunk.counters.maxFinalRows);
    statistics.fullLpFallbacks += chunk.fallbacks;
}

// Puts the options of the technical run in place and back again: no weight
// restrictions, which the priced models do not take.
class TechnicalOptions {
public:
    explicit TechnicalOptions(ModelOptions &options) : m_options(options), m_saved(options)
    {
        options.RestrictWeights = false;
    }
    ~TechnicalOptions() { m_options = m_saved; }
    TechnicalOptions(const TechnicalOptions &) = delete;
    TechnicalOptions &operator=(const TechnicalOptions &) = delete;

private:
    ModelOptions &m_options;
    ModelOptions m_saved;
};

} // namespace

RunOutcome RunDriver::technicalScores(SelectionSet &eval, SelectionSet &tech, ProgressSink &progress,
                                      Feedback &feedback, RadialDistances &out)
{
    const TechnicalOptions options(m_workspace.options);
    const LpMethod method = m_solve ? LpMethod::FullLp : m_method;
    return radialDistances(m_workspace, m_workspace.options.ReturnsToScale, eval, tech, progress, feedback, out,
                           method);
}

RunOutcome RunDriver::runPrices(RunContext &run, const RadialDistances &technical)
{
    const DataSet &data = run.lpData;
    m_store.allocatePriceResults(data.NumDMU);
    const PriceLpBuilder builder(run.data, run.lpData, run.scaling, run.options);
    std::vector<int> evaluated;
    std::vector<int> techDmus;
    for (int d = 1; d <= data.NumDMU; ++d) {
        if (run.eval.selected(d))
            evaluated.push_back(d);
        if (run.tech.selected(d))
            techDmus.push_back(d);
    }
    PriceTarget target{run.data, builder, technical, run.solve, m_store};
    m_lp = LpProblem();

    // A DMU from outside the technology is marked, and not added to it.
    auto record = [&](int d, const LpOutcome &outcome) {
        const bool inTechnology = run.tech.selected(d);
        if (!inTechnology)
            run.markName(d, true);
        ++m_statistics.dmus;
        return recordPriced(d, inTechnology, outcome, target);
    };
    auto show = [&](int d) { run.results.showPriceResults(d, run.view); };

    if (!restrictedApplies(run)) {
        LpFrame frame;
        auto evaluate = [&](int d, std::size_t) {
            builder.buildFrame(d, run.tech.selected(d), frame);
            builder.buildFullLp(frame, techDmus, m_lp);
            run.solve.solve(m_lp);
            return record(d, PriceLpBuilder::outcomeOf(m_lp, techDmus, d));
        };
        return forEachEvaluated(run, evaluate, show);
    }

    const TechnologyRows rows(data, run.tech, run.options.constantReturns(), run.threads);
    const std::vector<std::int32_t> initialRows = startingRows(rows, data, run.data, run.scaling, builder.cost());
    const SharedPrices shared{builder,  rows, initialRows, evaluated, techDmus, SolverSettings::fromStandardPlaces(),
                              m_outcomeFilter};
    const std::size_t chunks = (evaluated.size() + ChunkSize - 1) / ChunkSize;
    const int threads = std::max(1, std::min(run.threads, static_cast<int>(chunks)));
    m_statistics.threads = threads;
    m_statistics.technologyRows = rows.count();
    m_statistics.candidateRows = static_cast<int>(rows.candidates().size());
    m_statistics.frameRows = static_cast<int>(rows.frame().size());

    OrderedChunks<PriceWorker> solved(chunks, threads, [&shared] { return std::make_unique<PriceWorker>(shared); });
    const PriceChunk *chunk = nullptr;
    auto evaluate = [&](int d, std::size_t position) {
        if (position % ChunkSize == 0) {
            chunk = &solved.take(position / ChunkSize);
            account(m_statistics, *chunk);
        }
        return record(d, chunk->outcomes[position % ChunkSize]);
    };
    return forEachEvaluated(run, evaluate, show);
}

} // namespace zelvar
