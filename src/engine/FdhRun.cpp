// The free disposal hull on all threads. The dominance search of each DMU
// depends only on the data and the technology, so workers run it in chunks;
// everything the user or the results table sees (stored results, rows,
// progress, Cancel) happens on the calling thread, in DMU order, exactly as
// if one DMU were evaluated after the other.

#include "engine/RunDriver.h"

#include "data/DataSet.h"
#include "engine/FdhEvaluation.h"
#include "engine/FdhLists.h"
#include "engine/OrderedChunks.h"
#include "engine/RunContext.h"
#include "session/ModelOptions.h"
#include "session/SelectionSet.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace zelvar {

namespace {

// DMUs per chunk of work: small enough to spread a few hundred DMUs over
// the threads (and to stop soon after a Cancel), large enough that handing
// out chunks costs nothing next to evaluating them.
std::size_t chunkSize(std::size_t count, int threads)
{
    const std::size_t perThread = count / (16 * static_cast<std::size_t>(std::max(threads, 1)));
    return std::clamp<std::size_t>(perThread, 1, 64);
}

std::size_t chunkCount(std::size_t count, std::size_t size) { return (count + size - 1) / size; }

// The outcomes of the evaluated DMUs of one chunk.
class EvaluationWorker {
public:
    using ChunkResult = std::vector<FdhOutcome>;

    EvaluationWorker(const FdhEvaluation &evaluation, const std::vector<std::int32_t> &dmus, std::size_t size)
        : m_evaluation(evaluation), m_dmus(dmus), m_size(size)
    {
    }

    void solveChunk(std::size_t chunk, ChunkResult &outcomes)
    {
        const std::size_t first = chunk * m_size;
        const std::size_t last = std::min(first + m_size, m_dmus.size());
        outcomes.resize(last - first);
        for (std::size_t k = first; k < last; ++k)
            m_evaluation.evaluateFdh(m_dmus[k], outcomes[k - first], m_scratch);
    }

private:
    const FdhEvaluation &m_evaluation;
    const std::vector<std::int32_t> &m_dmus;
    std::size_t m_size;
    FdhEvaluation::Scratch m_scratch;
};

// The dominated counts of one chunk of technology DMUs, written straight
// into the store: each DMU's entry belongs to the one chunk holding it.
class DominatedWorker {
public:
    struct ChunkResult {};

    DominatedWorker(const FdhLists &lists, const std::vector<std::int32_t> &technology, std::size_t size,
                    ResultStore &store)
        : m_lists(lists), m_technology(technology), m_size(size), m_store(store)
    {
    }

    void solveChunk(std::size_t chunk, ChunkResult &)
    {
        const std::size_t first = chunk * m_size;
        const std::size_t last = std::min(first + m_size, m_technology.size());
        for (std::size_t k = first; k < last; ++k) {
            const auto j = static_cast<std::size_t>(m_technology[k]);
            m_store.DominatedCount[j] = m_lists.dominatedCount(m_technology[k], m_scratch.search, m_scratch.dominators);
        }
    }

private:
    const FdhLists &m_lists;
    const std::vector<std::int32_t> &m_technology;
    std::size_t m_size;
    ResultStore &m_store;
    FdhEvaluation::Scratch m_scratch;
};

} // namespace

RunOutcome RunDriver::runFdh(RunContext &run)
{
    const DataSet &data = run.data;
    std::vector<std::int32_t> evaluated;
    evaluated.reserve(static_cast<std::size_t>(run.eval.selectedCount()));
    for (int d = 1; d <= data.NumDMU; ++d)
        if (run.eval.selected(d))
            evaluated.push_back(d);

    RunOutcome outcome = RunOutcome::Completed;
    int processed = 0;
    auto lists = std::make_shared<FdhLists>(data, run.tech);
    m_store.DominanceLists = lists;
    {
        const FdhEvaluation evaluation(data, run.options, lists->technology());
        const std::size_t size = chunkSize(evaluated.size(), run.threads);
        OrderedChunks<EvaluationWorker> solved(chunkCount(evaluated.size(), size), run.threads, [&] {
            return std::make_unique<EvaluationWorker>(evaluation, evaluated, size);
        });
        std::vector<FdhOutcome> *chunk = nullptr;
        auto evaluate = [&](int d, std::size_t position) {
            if (position % size == 0)
                chunk = &solved.take(position / size);
            // FDH compares d with the selected technology DMUs only; the
            // selection is not changed, the name just shows that d is outside.
            if (!run.tech.selected(d))
                run.markName(d, true);
            recordFdhOutcome(d, std::move((*chunk)[position % size]), m_store);
            lists->addEvaluated(d);
            ++processed;
            return true;
        };
        auto show = [&](int d) { run.results.ShowFDHresults(d, run.view); };
        outcome = forEachEvaluated(run, evaluate, show);
    }

    // The dominated counts: for each technology DMU, the DMUs evaluated in
    // this run (up to a Cancel) that it dominates, by the same comparison
    // asked the other way round, so no pair is ever stored.
    lists->finish();
    if (processed > 0) {
        std::vector<std::int32_t> technology;
        for (int j = 1; j <= data.NumDMU; ++j)
            if (run.tech.selected(j))
                technology.push_back(j);
        const std::size_t size = chunkSize(technology.size(), run.threads);
        const std::size_t chunks = chunkCount(technology.size(), size);
        OrderedChunks<DominatedWorker> counts(chunks, run.threads, [&] {
            return std::make_unique<DominatedWorker>(*lists, technology, size, m_store);
        });
        for (std::size_t c = 0; c < chunks; ++c)
            (void)counts.take(c);
    }
    return outcome;
}

} // namespace zelvar
