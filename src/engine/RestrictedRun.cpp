// The LP models evaluated against restricted LPs on all cores. Workers solve
// the evaluated DMUs in fixed chunks; the driver's thread takes the chunks'
// outcomes in DMU order and does everything a user or a results table can
// see (scores, flags, references, messages, progress, rows) exactly as the
// one-LP-after-the-other loop does.

#include "engine/SolverCode.h"
#include "engine/RunDriver.h"

#include "data/DataSet.h"
#include "data/Feedback.h"
#include "engine/ColumnScaling.h"
#include "engine/LpFrame.h"
#include "engine/LpOutcome.h"
#include "engine/LpSolver.h"
#include "engine/MinAverage.h"
#include "engine/NonRadialLp.h"
#include "engine/OrderedChunks.h"
#include "engine/RadialLp.h"
#include "engine/RestrictedLp.h"
#include "engine/RunContext.h"
#include "engine/SpatialOrder.h"
#include "engine/TechnologyRows.h"
#include "engine/TwinLps.h"
#include "session/SelectionSet.h"
#include "session/Workspace.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#if defined(__GLIBC__)
#include <malloc.h>
#endif
#include <memory>
#include <mutex>

namespace zelvar {

namespace {

// Evaluated DMUs per chunk. Each chunk starts from the same fresh restricted
// LP, so what a DMU's LP reports never depends on which thread solved it or
// what that thread solved before: degenerate LPs, which have several optimal
// solutions, report the same one with any number of threads. Within a chunk
// the rows found for one DMU serve the next.
constexpr std::size_t ChunkSize = 64;

// Evaluated DMUs are solved a block at a time (consecutive DMUs, whole
// chunks, RunDriver's block size), in an order where neighbours in space
// follow each other, so that the chunks of a block hold DMUs whose LPs share
// most of their basis: the dual simplex then goes from one DMU to the next in
// a few iterations. The outcomes of a block wait until the whole block is
// solved and are then taken in DMU order.
//
// Positions in `evaluated` in the order they are solved: block by block, and
// within a block in spatial order of the DMUs' inputs and outputs, each
// divided by its mean size over the block (units do not decide). The order
// depends on the data alone, not on the number of threads.
std::vector<std::int32_t> solveOrder(const DataSet &data, const std::vector<int> &evaluated, std::size_t blockSize)
{
    std::vector<std::int32_t> order(evaluated.size());
    const int width = data.NumInputs + data.NumOutputs;
    std::vector<double> columns;
    for (std::size_t start = 0; start < evaluated.size(); start += blockSize) {
        const std::size_t count = std::min(blockSize, evaluated.size() - start);
        columns.assign(count * static_cast<std::size_t>(width), 0.0);
        for (int c = 0; c < width; ++c) {
            double *column = columns.data() + static_cast<std::size_t>(c) * count;
            const Matrix &values = c < data.NumInputs ? data.InputData : data.OutputData;
            const int k = c < data.NumInputs ? c + 1 : c - data.NumInputs + 1;
            double sum = 0.0;
            for (std::size_t p = 0; p < count; ++p) {
                column[p] = values(k, evaluated[start + p]);
                sum += std::fabs(column[p]);
            }
            if (sum > 0.0 && std::isfinite(sum))
                for (std::size_t p = 0; p < count; ++p)
                    column[p] *= static_cast<double>(count) / sum;
        }
        const std::vector<std::int32_t> within = spatialOrder(columns.data(), count, width);
        for (std::size_t p = 0; p < count; ++p)
            order[start + p] = static_cast<std::int32_t>(start) + within[p];
    }
    return order;
}

// The LPs of one evaluated DMU: one, or one per variable of min-average
// (in the order of minAverageVariables).
struct DmuSolution {
    std::vector<LpOutcome> outcomes;
};

struct ChunkResult {
    std::vector<DmuSolution> dmus;
    RestrictedLp::Counters counters;
    long long fallbacks = 0;
    long long tieBreaks = 0;
};

// What the workers share; none of it changes while they run.
struct SharedRun {
    const DataSet &data;
    const ModelOptions &options;
    const TechnologyRows &rows;
    const std::vector<std::int32_t> &initialRows;
    const std::vector<int> &evaluated;
    const std::vector<std::int32_t> &order; // positions in evaluated, as solved
    const SelectionSet &tech; // as the run found it
    SolverSettings settings;
    int weightRows = 0;
    int columns = 0;
    const std::function<void(int, LpOutcome &)> &filter;
    TwinLps &twins; // full LPs that settle ties, shared by twins
};

// Rows every chunk starts with: for each input and output pair the
// candidate with the best ratio of that output to that input, the largest
// value of each output and the smallest of each input. They bound most LPs
// from the first solve on.
std::vector<std::int32_t> startingRows(const TechnologyRows &rows, int inputs)
{
    std::vector<std::int32_t> chosen;
    const std::vector<std::int32_t> &candidates = rows.candidates();
    const int width = rows.width();
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
    for (int i = 0; i < inputs; ++i)
        for (int r = inputs; r < width; ++r)
            best([&](std::size_t p) {
                const double x = -rows.candidateColumn(i)[p];
                return x > 0.0 ? rows.candidateColumn(r)[p] / x : -HUGE_VAL;
            });
    for (int r = inputs; r < width; ++r)
        best([&](std::size_t p) { return rows.candidateColumn(r)[p]; });
    for (int i = 0; i < inputs; ++i)
        best([&](std::size_t p) { return rows.candidateColumn(i)[p]; });
    std::sort(chosen.begin(), chosen.end());
    chosen.erase(std::unique(chosen.begin(), chosen.end()), chosen.end());
    return chosen;
}

// Solves chunks of evaluated DMUs; one per thread.
class Worker {
public:
    using ChunkResult = zelvar::ChunkResult;

    explicit Worker(const SharedRun &run)
        : m_run(run), m_frames(run.data, run.options), m_lp(run.rows), m_tech(run.tech),
          m_radial(run.options.Distance == ModelDistance::RAD), m_minAverage(run.options.Distance == ModelDistance::MINAV)
    {
    }

    void solveChunk(std::size_t chunk, ChunkResult &result)
    {
        const std::size_t first = chunk * ChunkSize;
        const std::size_t last = std::min(first + ChunkSize, m_run.evaluated.size());
        const RestrictedLp::Counters before = m_lp.counters();
        m_fallbacks = 0;
        m_tieBreaks = 0;
        m_lp.reset(m_run.initialRows);
        result.dmus.resize(last - first);
        for (std::size_t e = first; e < last; ++e) {
            const int d = m_run.evaluated[static_cast<std::size_t>(m_run.order[e])];
            std::vector<LpOutcome> &outcomes = result.dmus[e - first].outcomes;
            if (m_minAverage) {
                const std::vector<int> variables = minAverageVariables(d, m_run.data, m_run.options);
                outcomes.resize(variables.size());
                for (std::size_t v = 0; v < variables.size(); ++v) {
                    minAverageMarks(variables[v], m_run.data, m_inputMarks, m_outputMarks);
                    solveLp(d, variables[v], outcomes[v]);
                }
            } else {
                outcomes.resize(1);
                solveLp(d, 0, outcomes[0]);
            }
            if (m_run.filter)
                for (LpOutcome &outcome : outcomes)
                    m_run.filter(d, outcome);
        }
        const RestrictedLp::Counters &after = m_lp.counters();
        result.counters.lps = after.lps - before.lps;
        result.counters.solves = after.solves - before.solves;
        result.counters.iterations = after.iterations - before.iterations;
        result.counters.finalRows = after.finalRows - before.finalRows;
        result.counters.maxFinalRows = after.maxFinalRows;
        result.fallbacks = m_fallbacks;
        result.tieBreaks = m_tieBreaks;
    }

private:
    // variable: the min-average variable whose marks are set, or 0.
    void solveLp(int d, int variable, LpOutcome &outcome)
    {
        const bool marked = variable != 0;
        try {
            if (marked)
                m_frames.build(d, m_frame, &m_inputMarks, &m_outputMarks);
            else
                m_frames.build(d, m_frame);
            const int own = m_run.rows.rowOf(d);
            const bool checkAll = m_radial && own >= 0 && m_run.rows.isFrame(own);
            if (m_lp.solve(d, m_frame, checkAll, outcome)) {
                if (!hangsOnTies(outcome, m_lp.ownMargin()))
                    return;
                // Settled by the full LP, as the one-after-the-other loop would.
                ++m_tieBreaks;
                m_run.twins.settle(d, variable, outcome,
                                   [&](int dmu, LpOutcome &full) { solveFullLp(dmu, marked, full); });
                return;
            }
        } catch (...) {
            // CLP reports some errors by throwing; the full LP decides.
        }
        // The solver failed on the restricted LP: the full LP has the last
        // word, with the method retries and codes of LpSolver. The restricted
        // LP starts afresh for the next DMU.
        ++m_fallbacks;
        m_lp.reset(m_run.initialRows);
        solveFullLp(d, marked, outcome);
    }

    // Whether the efficiency flag that the solve step will derive from this
    // outcome hangs on rounding noise, so that another solve of the same LP
    // may flag the DMU differently. The radial rules flag a score of 1 or
    // more (input orientation), 1 or less (output) or 0 or less
    // (non-oriented) by its exact value, and a score that only rounds to it
    // at 7 decimals by the slacks, which are not unique where the DMU lies on
    // the frontier with slack: a DMU whose score is 1 (0) up to rounding is
    // flagged by whichever side of it the arithmetic lands. The other models
    // flag by the own row's tightness, up to LpSolver's tolerance.
    bool hangsOnTies(const LpOutcome &outcome, double ownMargin) const
    {
        if (outcome.code != SolverCode::Optimal)
            return false;
        if (!m_radial)
            return ownMargin > 0.1 * LpSolver::TightTolerance && ownMargin < 10.0 * LpSolver::TightTolerance;
        const ModelOrientation orientation = m_run.options.Orientation;
        const double score = orientation == ModelOrientation::NON ? outcome.objective : std::fabs(outcome.objective);
        // Beyond the 7-decimal rounding; the scores of two optimal solutions
        // agree far closer than `clear`.
        constexpr double near = 1e-7;
        constexpr double clear = 1e-9;
        if (orientation == ModelOrientation::IN)
            return std::fabs(score - 1.0) <= near && score < 1.0 + clear;
        if (orientation == ModelOrientation::OUT)
            return std::fabs(score - 1.0) <= near && score > 1.0 - clear;
        return std::fabs(score) <= near && score > -clear;
    }

    void solveFullLp(int d, bool marked, LpOutcome &outcome)
    {
        const bool wasTech = m_tech.selected(d);
        try {
            m_tech.select(d, true);
            m_full.Big = LpProblem::BigValue;
            m_technology.setupTechnology(d, m_run.data, m_run.options, m_tech, m_full);
            if (m_radial)
                buildRadialLp(d, m_run.data, m_run.options, m_technology, m_full);
            else if (marked)
                buildNonRadialLp(d, m_run.data, m_run.options, m_technology, m_inputMarks, m_outputMarks, m_full);
            else
                buildNonRadialLp(d, m_run.data, m_run.options, m_technology, m_full);
            LpSolver(m_run.settings).solve(m_full);
            outcome = outcomeOf(m_full, m_technology, d);
        } catch (...) {
            outcome.clear(m_run.columns, m_run.weightRows, SolverCode::LibraryError);
        }
        m_tech.select(d, wasTech);
        m_full = LpProblem();
    }

    const SharedRun &m_run;
    LpFrameBuilder m_frames;
    RestrictedLp m_lp;
    LpFrame m_frame;
    std::vector<std::int16_t> m_inputMarks;
    std::vector<std::int16_t> m_outputMarks;
    SelectionSet m_tech;
    Technology m_technology;
    LpProblem m_full;
    bool m_radial;
    bool m_minAverage;
    long long m_fallbacks = 0;
    long long m_tieBreaks = 0;
};

// d's solution in the record as the full LP of d lays out its rows: the
// technology DMUs in DMU order, with d among them even when it comes from
// outside the technology.
// The weights and slacks are written in the data's units.
void writeRecord(SolutionRecord &record, LpProblem &lp, const LpOutcome &outcome, const ColumnScaling &scaling,
                 const TechnologyRows &rows, int d, bool dInTechnology)
{
    const int ownRow = rows.rank(d) + 1;
    auto rowOf = [&](int j) { return rows.rank(j) + 1 + (!dInTechnology && j > d ? 1 : 0); };
    if (scaling.identity()) {
        record.write(lp, outcome, ownRow, rowOf);
        return;
    }
    LpOutcome unscaled = outcome;
    scaling.unscale(unscaled);
    record.write(lp, unscaled, ownRow, rowOf);
}

// The solver allocates and frees its work arrays at every solve, tens of
// thousands of times a second. glibc would give each freed block back to the
// system and fault the pages in again at the next solve (a quarter of the
// time of a run); it keeps them once blocks of up to 32 MB come from the heap
// and up to 256 MB of free heap stay with the process.
void keepSolverMemory()
{
#if defined(__GLIBC__)
    static std::once_flag once;
    std::call_once(once, [] {
        mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
        mallopt(M_TRIM_THRESHOLD, 256 * 1024 * 1024);
    });
#endif
}

bool allAcceptable(const Matrix &matrix)
{
    for (int col = 1; col <= matrix.cols(); ++col)
        for (int row = 1; row <= matrix.rows(); ++row)
            if (!LpSolver::acceptable(matrix(row, col)))
                return false;
    return true;
}

void account(RunStatistics &statistics, const ChunkResult &result)
{
    statistics.lps += result.counters.lps;
    statistics.solves += result.counters.solves;
    statistics.iterations += result.counters.iterations;
    statistics.finalRows += result.counters.finalRows;
    statistics.maxFinalRows = std::max(statistics.maxFinalRows, result.counters.maxFinalRows);
    statistics.fullLpFallbacks += result.fallbacks;
    statistics.fullLpTieBreaks += result.tieBreaks;
}

// Where the outcomes of a DMU go on the driver's thread.
struct OutcomeTarget {
    const DataSet &lpData;
    const ModelOptions &options;
    const SolveContext &solve;
    const ColumnScaling &scaling;
    const TechnologyRows &rows;
    ResultStore &store;
    LpProblem &lp; // the record the results table reads
    SolutionRecord &record;
};

// What the solve step makes of d's LPs (min-average: of the winning one),
// and d's solution in the record, or none. False: the run stops at d.
bool applyOutcomes(int d, bool wasTech, const std::vector<LpOutcome> &outcomes, OutcomeTarget &to)
{
    if (to.options.Distance == ModelDistance::MINAV) {
        MinAverageEvaluation book(d, to.lpData, to.options, to.store, to.solve);
        const std::vector<int> &variables = book.variables();
        for (std::size_t v = 0; v < variables.size() && v < outcomes.size(); ++v)
            if (book.wanted(variables[v]))
                book.add(variables[v], outcomes[v]);
        book.finish();
        if (book.improved())
            writeRecord(to.record, to.lp, book.best(), to.scaling, to.rows, d, wasTech);
        return true;
    }
    const LpOutcome &outcome = outcomes.front();
    if (!recordLpOutcome(d, outcome, to.store, to.solve))
        return false;
    writeRecord(to.record, to.lp, outcome, to.scaling, to.rows, d, wasTech);
    return true;
}

} // namespace

bool RunDriver::restrictedApplies(const RunContext &run) const
{
    if (m_solve || m_method != LpMethod::Restricted)
        return false;
    // A value that is not a finite number, or one too large for the solver
    // (in the LPs' units), makes the LPs invalid, which the full LP reports
    // DMU by DMU.
    if (!allAcceptable(run.lpData.InputData) || !allAcceptable(run.lpData.OutputData))
        return false;
    return !restrictsWeights(run.lpData, run.options) || allAcceptable(run.lpData.WeightRestrictions);
}

RunOutcome RunDriver::runRestricted(RunContext &run)
{
    const DataSet &data = run.lpData;
    const ModelOptions &options = run.options;

    keepSolverMemory();
    const auto rowsStart = std::chrono::steady_clock::now();
    const TechnologyRows rows(data, run.tech, options.constantReturns(), run.threads);
    m_statistics.frameSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - rowsStart).count();
    std::vector<int> evaluated;
    for (int d = 1; d <= data.NumDMU; ++d)
        if (run.eval.selected(d))
            evaluated.push_back(d);
    const std::vector<std::int32_t> initialRows = startingRows(rows, data.NumInputs);
    const SelectionSet techAtStart = run.tech;
    const int weightRows = restrictsWeights(data, options) ? data.NumWeightRows : 0;
    const int columns = data.NumInputs + data.NumOutputs + (options.constantReturns() ? 0 : 1);
    TwinLps twins(data, techAtStart);
    const std::size_t blockSize = std::max<std::size_t>(1, (m_blockSize + ChunkSize - 1) / ChunkSize) * ChunkSize;
    const std::vector<std::int32_t> order = solveOrder(data, evaluated, blockSize);
    const SharedRun shared{data,
                           options,
                           rows,
                           initialRows,
                           evaluated,
                           order,
                           techAtStart,
                           SolverSettings::fromStandardPlaces(),
                           weightRows,
                           columns,
                           m_outcomeFilter,
                           twins};

    const std::size_t chunks = (evaluated.size() + ChunkSize - 1) / ChunkSize;
    const int threads = std::max(1, std::min(run.threads, static_cast<int>(chunks)));
    m_statistics.threads = threads;
    m_statistics.technologyRows = rows.count();
    m_statistics.candidateRows = static_cast<int>(rows.candidates().size());
    m_statistics.frameRows = static_cast<int>(rows.frame().size());

    // The record the results table reads: the full LP's solution, written
    // sparsely from each outcome.
    m_lp = LpProblem();
    SolutionRecord record;
    OutcomeTarget target{data, options, run.solve, run.scaling, rows, m_store, m_lp, record};
    // Workers may solve the next block while this thread applies one.
    OrderedChunks<Worker> solved(
        chunks, threads, [&shared] { return std::make_unique<Worker>(shared); }, blockSize / ChunkSize);
    std::vector<std::vector<LpOutcome>> block; // by position in the block
    bool wasTech = true;
    int lastDmu = 0;

    // The outcomes of the block that starts at `start`, taken chunk by chunk
    // in the order solved and put in DMU order. False: Cancel was asked for
    // meanwhile.
    auto takeBlock = [&](std::size_t start) {
        const std::size_t end = std::min(start + blockSize, evaluated.size());
        block.assign(end - start, {});
        for (std::size_t c = start / ChunkSize;; ++c) {
            ChunkResult &chunk = solved.take(c);
            account(m_statistics, chunk);
            for (std::size_t k = 0; k < chunk.dmus.size(); ++k)
                block[static_cast<std::size_t>(order[c * ChunkSize + k]) - start] = std::move(chunk.dmus[k].outcomes);
            if ((c + 1) * ChunkSize >= end)
                return true;
            // More chunks to wait for: the progress window stays alive.
            run.progress.repaint();
            if (run.progress.cancelRequested())
                return false;
        }
    };
    auto evaluate = [&](int d, std::size_t position) {
        if (position % blockSize == 0 && !takeBlock(position))
            return false;
        const std::vector<LpOutcome> &outcomes = block[position % blockSize];
        lastDmu = d;
        wasTech = run.enterTechnology(d);
        ++m_statistics.dmus;
        record.prepare(m_lp, rows.count() + (wasTech ? 0 : 1), weightRows, columns);
        if (!applyOutcomes(d, wasTech, outcomes, target)) {
            run.leaveTechnology(d, wasTech);
            return false;
        }
        return true;
    };
    auto show = [&](int d) {
        run.results.Showresults(d, run.view, m_lp);
        run.leaveTechnology(d, wasTech);
    };
    const RunOutcome outcome = forEachEvaluated(run, evaluate, show);

    // The technology of the DMU evaluated last, as the full-LP loop leaves it.
    if (lastDmu > 0) {
        const bool lastWasTech = run.tech.selected(lastDmu);
        run.tech.select(lastDmu, true);
        m_technology.setupMembers(data, options, run.tech);
        run.tech.select(lastDmu, lastWasTech);
    }
    return outcome;
}

} // namespace zelvar
