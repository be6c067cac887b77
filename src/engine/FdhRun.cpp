#include "engine/RunDriver.h"

#include "data/DataSet.h"
#include "engine/FdhEvaluation.h"
#include "engine/FdhOrderedEvaluation.h"
#include "session/SelectionSet.h"
#include "session/Workspace.h"

#include <algorithm>
#include <atomic>
#include <cmath>
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
        FdhOrderedEvaluation ordered(evaluation, toEvaluate, threads);
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
