#include "engine/RunDriver.h"

#include "data/DataSet.h"
#include "engine/Fdh.h"
#include "model/SelectionSet.h"
#include "model/Workspace.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

namespace zelvar {

namespace {

// A DMU evaluated from outside its technology set shows "{X}" over the first
// three characters of its name prefix.
void markOutside(std::string &name)
{
    if (name.size() < 4)
        name.resize(4, ' ');
    name.replace(0, 3, "{X}");
}

std::string progressText(int processed, int toEvaluate)
{
    const double fraction = static_cast<double>(processed) / toEvaluate;
    return std::to_string(std::lround(fraction * 100.0)) + "% completed.";
}

int effectiveThreads(int threadCount)
{
    if (threadCount > 0)
        return threadCount;
    return std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
}

// DMUs per chunk of work: small enough to spread a few hundred DMUs over
// the threads (and to stop soon after a Cancel), large enough that handing
// out chunks costs nothing next to evaluating them.
std::size_t chunkSize(std::size_t count, int threads)
{
    const std::size_t perThread = count / (16 * static_cast<std::size_t>(threads));
    return std::clamp<std::size_t>(perThread, 1, 64);
}

// Evaluates the DMUs of a list in chunks on up to `threads` threads, the
// calling thread among them, while the caller takes the outcomes one by one
// in list order. Workers stay at most a few chunks ahead of the caller, so
// the outcomes waiting to be taken (their dominating lists can be long)
// stay few. Destruction stops the workers and waits for them; outcomes not
// taken are dropped.
class OrderedEvaluation {
public:
    OrderedEvaluation(const FdhEvaluation &evaluation, const std::vector<std::int32_t> &dmus, int threads)
        : m_evaluation(evaluation), m_dmus(dmus), m_chunk(chunkSize(dmus.size(), threads)),
          m_chunks((dmus.size() + m_chunk - 1) / m_chunk), m_window(2 * static_cast<std::size_t>(threads) + 1)
    {
        const std::size_t helpers = std::min(static_cast<std::size_t>(threads - 1), m_chunks.size());
        try {
            for (std::size_t t = 0; t < helpers; ++t)
                m_workers.emplace_back([this] { work(); });
        } catch (const std::system_error &) {
            // No more threads to be had: the ones running (and the caller) do the work.
        }
    }

    ~OrderedEvaluation()
    {
        {
            const std::lock_guard lock(m_mutex);
            m_stop = true;
        }
        m_aheadCv.notify_all();
        for (std::thread &worker : m_workers)
            worker.join();
    }

    OrderedEvaluation(const OrderedEvaluation &) = delete;
    OrderedEvaluation &operator=(const OrderedEvaluation &) = delete;

    // The outcome of dmus[index]; indexes must come in ascending order.
    // Rethrows what evaluating its chunk threw.
    FdhOutcome &take(std::size_t index)
    {
        const std::size_t c = index / m_chunk;
        if (c != m_current) {
            // Everything before chunk c has been taken: its memory goes, and
            // the workers may move on.
            for (std::size_t done = m_current; done < c; ++done)
                std::vector<FdhOutcome>().swap(m_chunks[done].outcomes);
            {
                const std::lock_guard lock(m_mutex);
                m_taken = c;
            }
            m_aheadCv.notify_all();
            m_current = c;
        }
        std::unique_lock lock(m_mutex);
        while (!m_chunks[c].ready) {
            // Rather than wait, evaluate a chunk nobody has started yet:
            // the one needed if it is still free, else one further ahead.
            if (m_next < m_chunks.size() && m_next < m_taken + m_window) {
                const std::size_t mine = m_next++;
                lock.unlock();
                evaluate(mine, m_scratch);
                lock.lock();
                m_chunks[mine].ready = true;
                continue;
            }
            m_readyCv.wait(lock);
        }
        lock.unlock();
        if (m_chunks[c].error)
            std::rethrow_exception(m_chunks[c].error);
        return m_chunks[c].outcomes[index - c * m_chunk];
    }

private:
    struct Chunk {
        std::vector<FdhOutcome> outcomes;
        std::exception_ptr error;
        bool ready = false;
    };

    void work()
    {
        FdhEvaluation::Scratch scratch;
        for (;;) {
            std::size_t c = 0;
            {
                std::unique_lock lock(m_mutex);
                m_aheadCv.wait(lock, [this] {
                    return m_stop || m_next >= m_chunks.size() || m_next < m_taken + m_window;
                });
                if (m_stop || m_next >= m_chunks.size())
                    return;
                c = m_next++;
            }
            try {
                evaluate(c, scratch);
            } catch (...) {
                m_chunks[c].error = std::current_exception();
            }
            {
                const std::lock_guard lock(m_mutex);
                m_chunks[c].ready = true;
            }
            m_readyCv.notify_all();
        }
    }

    // Chunk c belongs to the one thread that claimed it until it is ready.
    void evaluate(std::size_t c, FdhEvaluation::Scratch &scratch)
    {
        const std::size_t first = c * m_chunk;
        const std::size_t last = std::min(first + m_chunk, m_dmus.size());
        std::vector<FdhOutcome> &outcomes = m_chunks[c].outcomes;
        outcomes.resize(last - first);
        for (std::size_t k = first; k < last; ++k)
            m_evaluation.EvaluateFDH(m_dmus[k], outcomes[k - first], scratch);
    }

    const FdhEvaluation &m_evaluation;
    const std::vector<std::int32_t> &m_dmus;
    const std::size_t m_chunk;
    std::vector<Chunk> m_chunks;
    const std::size_t m_window; // chunks that may be claimed beyond the one being taken
    FdhEvaluation::Scratch m_scratch; // the caller's
    std::size_t m_current = 0;        // caller only

    std::mutex m_mutex; // guards m_next, m_taken, m_stop and every ready flag
    std::condition_variable m_readyCv;
    std::condition_variable m_aheadCv;
    std::size_t m_next = 0;
    std::size_t m_taken = 0;
    bool m_stop = false;
    std::vector<std::thread> m_workers;
};

// Calls job(k, scratch) for k = 0..count-1 on up to `threads` threads, the
// calling thread among them, in no particular order; rethrows the first
// exception a job threw once all threads have stopped.
void forEachParallel(std::size_t count, int threads,
                     const std::function<void(std::size_t, FdhEvaluation::Scratch &)> &job)
{
    std::atomic<std::size_t> next{0};
    std::atomic<bool> failed{false};
    std::exception_ptr error;
    std::mutex errorMutex;
    auto run = [&] {
        FdhEvaluation::Scratch scratch;
        try {
            for (std::size_t k = next++; k < count && !failed; k = next++)
                job(k, scratch);
        } catch (...) {
            const std::lock_guard lock(errorMutex);
            if (!error)
                error = std::current_exception();
            failed = true;
        }
    };
    std::vector<std::jthread> helpers;
    const std::size_t helperCount = std::min(static_cast<std::size_t>(threads - 1), count);
    try {
        for (std::size_t t = 0; t < helperCount; ++t)
            helpers.emplace_back(run);
    } catch (const std::system_error &) {
        // Fewer threads: the work is shared among those there are.
    }
    run();
    helpers.clear(); // joins
    if (error)
        std::rethrow_exception(error);
}

} // namespace

// The dominance search of each DMU depends only on the data and the
// technology, so it runs on all threads; everything the user or the results
// table sees (stored results, rows, progress, Cancel) happens here, on the
// calling thread, in DMU order, exactly as if one DMU were evaluated after
// the other.
RunOutcome RunDriver::runFdh(ResultsSink &results, ProgressSink &progress, const RunView &view)
{
    DataSet &data = m_workspace.data;
    const SelectionSet &eval = view.eval;
    const SelectionSet &tech = view.tech;
    const int threads = effectiveThreads(m_workspace.threadCount);

    std::vector<std::int32_t> toEvaluate;
    toEvaluate.reserve(static_cast<std::size_t>(eval.selectedCount()));
    for (int d = 1; d <= data.NumDMU; ++d)
        if (eval.selected(d))
            toEvaluate.push_back(d);

    RunOutcome outcome = RunOutcome::Completed;
    int processed = 0;
    {
        const FdhEvaluation evaluation(data, view.options, tech);
        OrderedEvaluation ordered(evaluation, toEvaluate, threads);
        for (int d = 1; d <= data.NumDMU; ++d) {
            progress.repaint();
            if (!eval.selected(d))
                continue;
            if (progress.cancelRequested()) {
                outcome = RunOutcome::Stopped;
                break;
            }
            m_store.Efficient[static_cast<std::size_t>(d)] = 0;
            // FDH compares d with the selected technology DMUs only; the
            // selection is not changed, the name just shows that d is outside.
            if (!tech.selected(d))
                markOutside(data.DMUNames[static_cast<std::size_t>(d)]);
            recordFdhOutcome(d, std::move(ordered.take(static_cast<std::size_t>(processed))), m_store);
            ++processed;
            progress.setProgress(processed, progressText(processed, static_cast<int>(toEvaluate.size())));
            results.ShowFDHresults(d, view);
        }
    }

    // The dominated lists: for each technology DMU, the DMUs evaluated in
    // this run (up to a Cancel) that it dominates, by the same comparison
    // asked the other way round, so no pair is ever stored.
    toEvaluate.resize(static_cast<std::size_t>(processed));
    if (!toEvaluate.empty()) {
        const DominanceIndex evaluated(data, toEvaluate);
        std::vector<std::int32_t> technology;
        for (int j = 1; j <= data.NumDMU; ++j)
            if (tech.selected(j))
                technology.push_back(j);
        forEachParallel(technology.size(), threads, [&](std::size_t k, FdhEvaluation::Scratch &scratch) {
            const auto j = static_cast<std::size_t>(technology[k]);
            dominatedList(technology[k], evaluated, m_store.DominatedCount[j], m_store.DominatedList[j],
                          scratch);
        });
    }
    return outcome;
}

} // namespace zelvar
