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
#include "engine/RadialLp.h"
#include "engine/RestrictedLp.h"
#include "engine/RunContext.h"
#include "engine/TechnologyRows.h"
#include "engine/TwinLps.h"
#include "session/SelectionSet.h"
#include "session/Workspace.h"

#include <algorithm>
#include <cmath>
#include <condition_variable>
#if defined(__GLIBC__)
#include <malloc.h>
#endif
#include <memory>
#include <mutex>
#include <thread>

namespace zelvar {

namespace {

// Evaluated DMUs per chunk. Each chunk starts from the same fresh restricted
// LP, so what a DMU's LP reports never depends on which thread solved it or
// what that thread solved before: degenerate LPs, which have several optimal
// solutions, report the same one with any number of threads. Within a chunk
// the rows found for one DMU serve the next.
constexpr int ChunkSize = 64;

constexpr const char *OutsideMark = "{X}";

void markOutside(std::string &name)
{
    if (name.size() < 4)
        name.resize(4, ' ');
    name.replace(0, 3, OutsideMark);
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
    explicit Worker(const SharedRun &run)
        : m_run(run), m_frames(run.data, run.options), m_lp(run.rows), m_tech(run.tech),
          m_radial(run.options.Distance == ModelDistance::RAD), m_minAverage(run.options.Distance == ModelDistance::MINAV)
    {
    }

    void solveChunk(int chunk, ChunkResult &result)
    {
        const std::size_t first = static_cast<std::size_t>(chunk) * ChunkSize;
        const std::size_t last = std::min(first + ChunkSize, m_run.evaluated.size());
        const RestrictedLp::Counters before = m_lp.counters();
        m_fallbacks = 0;
        m_tieBreaks = 0;
        m_lp.reset(m_run.initialRows);
        result.dmus.resize(last - first);
        for (std::size_t e = first; e < last; ++e) {
            const int d = m_run.evaluated[e];
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
            const bool checkAll = m_radial && own >= 0 && m_run.rows.isCandidate(own);
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

// Hands chunks to the workers in order and their results to the driver's
// thread. Workers stay at most `window` chunks ahead of the chunk the driver
// is at, which keeps the memory of finished chunks bounded.
class ChunkSchedule {
public:
    ChunkSchedule(int chunks, int window) : m_results(static_cast<std::size_t>(chunks)), m_window(window) {}

    // The next chunk to solve, or -1 when none is left or the run stopped.
    int take()
    {
        std::unique_lock lock(m_mutex);
        const int chunks = static_cast<int>(m_results.size());
        m_changed.wait(lock, [&] { return m_stopped || m_next >= chunks || m_next < m_released + m_window; });
        if (m_stopped || m_next >= chunks)
            return -1;
        return m_next++;
    }
    void deliver(int chunk, std::unique_ptr<ChunkResult> result)
    {
        {
            std::lock_guard lock(m_mutex);
            m_results[static_cast<std::size_t>(chunk)] = std::move(result);
        }
        m_changed.notify_all();
    }
    // Waits for chunk's result; it stays valid until release(chunk).
    ChunkResult &await(int chunk)
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] { return m_results[static_cast<std::size_t>(chunk)] != nullptr; });
        return *m_results[static_cast<std::size_t>(chunk)];
    }
    void release(int chunk)
    {
        {
            std::lock_guard lock(m_mutex);
            m_results[static_cast<std::size_t>(chunk)].reset();
            m_released = chunk + 1;
        }
        m_changed.notify_all();
    }
    void stop()
    {
        {
            std::lock_guard lock(m_mutex);
            m_stopped = true;
        }
        m_changed.notify_all();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<std::unique_ptr<ChunkResult>> m_results;
    int m_window;
    int m_next = 0;
    int m_released = 0;
    bool m_stopped = false;
};

// Worker threads that are stopped and joined however the run ends.
class WorkerThreads {
public:
    WorkerThreads(int count, ChunkSchedule &schedule, const SharedRun &run) : m_schedule(schedule)
    {
        for (int t = 0; t < count; ++t)
            m_threads.emplace_back([&schedule, &run] {
                Worker worker(run);
                for (int chunk = schedule.take(); chunk >= 0; chunk = schedule.take()) {
                    auto result = std::make_unique<ChunkResult>();
                    worker.solveChunk(chunk, *result);
                    schedule.deliver(chunk, std::move(result));
                }
            });
    }
    ~WorkerThreads()
    {
        m_schedule.stop();
        for (std::thread &thread : m_threads)
            thread.join();
    }
    WorkerThreads(const WorkerThreads &) = delete;
    WorkerThreads &operator=(const WorkerThreads &) = delete;

private:
    ChunkSchedule &m_schedule;
    std::vector<std::thread> m_threads;
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
    const bool minAverage = options.Distance == ModelDistance::MINAV;

    keepSolverMemory();
    const TechnologyRows rows(data, run.tech);
    std::vector<int> evaluated;
    for (int d = 1; d <= data.NumDMU; ++d)
        if (run.eval.selected(d))
            evaluated.push_back(d);
    const std::vector<std::int32_t> initialRows = startingRows(rows, data.NumInputs);
    const SelectionSet techAtStart = run.tech;
    const int weightRows = restrictsWeights(data, options) ? data.NumWeightRows : 0;
    const int columns = data.NumInputs + data.NumOutputs + (options.ReturnsToScale == ModelReturns::CRS ? 0 : 1);
    TwinLps twins(data, techAtStart);
    const SharedRun shared{data,        options,   rows, initialRows, evaluated, techAtStart,
                           SolverSettings::fromStandardPlaces(), weightRows, columns, m_outcomeFilter, twins};

    const int chunks = static_cast<int>((evaluated.size() + ChunkSize - 1) / ChunkSize);
    int threads = m_workspace.threadCount > 0 ? m_workspace.threadCount
                                              : static_cast<int>(std::thread::hardware_concurrency());
    threads = std::max(1, std::min(threads, chunks));
    m_statistics.threads = threads;
    m_statistics.technologyRows = rows.count();
    m_statistics.candidateRows = static_cast<int>(rows.candidates().size());

    // The record the results table reads: the full LP's solution, written
    // sparsely from each outcome.
    m_lp = LpProblem();
    SolutionRecord record;

    ChunkSchedule schedule(chunks, 2 * threads + 2);
    std::unique_ptr<WorkerThreads> pool;
    std::unique_ptr<Worker> inlineWorker;
    ChunkResult inlineResult;
    if (threads > 1)
        pool = std::make_unique<WorkerThreads>(threads, schedule, shared);
    else
        inlineWorker = std::make_unique<Worker>(shared);

    auto account = [&](const ChunkResult &result) {
        m_statistics.lps += result.counters.lps;
        m_statistics.solves += result.counters.solves;
        m_statistics.iterations += result.counters.iterations;
        m_statistics.finalRows += result.counters.finalRows;
        m_statistics.maxFinalRows = std::max(m_statistics.maxFinalRows, result.counters.maxFinalRows);
        m_statistics.fullLpFallbacks += result.fallbacks;
        m_statistics.fullLpTieBreaks += result.tieBreaks;
    };

    RunOutcome outcome = RunOutcome::Completed;
    int lastDmu = 0;
    std::size_t next = 0; // position in evaluated
    ChunkResult *chunk = nullptr;
    for (int d = 1; d <= data.NumDMU; ++d) {
        run.progress.repaint();
        if (!run.eval.selected(d))
            continue;
        if (run.progress.cancelRequested()) {
            outcome = RunOutcome::Stopped;
            break;
        }
        const int chunkIndex = static_cast<int>(next / ChunkSize);
        if (next % ChunkSize == 0) {
            if (pool) {
                chunk = &schedule.await(chunkIndex);
            } else {
                inlineResult = ChunkResult();
                inlineWorker->solveChunk(chunkIndex, inlineResult);
                chunk = &inlineResult;
            }
            account(*chunk);
        }
        const DmuSolution &solution = chunk->dmus[next % ChunkSize];
        ++next;
        lastDmu = d;

        const auto dd = static_cast<std::size_t>(d);
        m_store.Efficient[dd] = 0;
        const bool wasTech = run.tech.selected(d);
        if (!wasTech) {
            run.tech.select(d, true);
            markOutside(run.data.DMUNames[dd]);
        }
        ++run.processed;
        ++m_statistics.dmus;

        // The table shows the solution of d's LP (min-average: of the winning
        // one, or none).
        record.prepare(m_lp, rows.count() + (wasTech ? 0 : 1), weightRows, columns);
        if (minAverage) {
            MinAverageEvaluation book(d, data, options, m_store, run.solve);
            const std::vector<int> &variables = book.variables();
            for (std::size_t v = 0; v < variables.size() && v < solution.outcomes.size(); ++v)
                if (book.wanted(variables[v]))
                    book.add(variables[v], solution.outcomes[v]);
            book.finish();
            if (book.improved())
                writeRecord(record, m_lp, book.best(), run.scaling, rows, d, wasTech);
        } else {
            const LpOutcome &lpOutcome = solution.outcomes.front();
            if (!recordLpOutcome(d, lpOutcome, m_store, run.solve)) {
                run.tech.select(d, wasTech);
                outcome = RunOutcome::Stopped;
                break;
            }
            writeRecord(record, m_lp, lpOutcome, run.scaling, rows, d, wasTech);
        }

        reportProgress(run);
        run.results.Showresults(d, run.view, m_lp);
        run.tech.select(d, wasTech);

        if (next % ChunkSize == 0 || next == evaluated.size()) {
            if (pool)
                schedule.release(chunkIndex);
            chunk = nullptr;
        }
    }
    pool.reset();

    // The technology of the DMU evaluated last, as the full-LP loop leaves it.
    if (lastDmu > 0) {
        const bool wasTech = run.tech.selected(lastDmu);
        run.tech.select(lastDmu, true);
        LpProblem sizes;
        m_technology.setupTechnology(lastDmu, data, options, run.tech, sizes);
        run.tech.select(lastDmu, wasTech);
    }
    return outcome;
}

} // namespace zelvar
