#include "engine/FdhOrderedEvaluation.h"

#include <algorithm>
#include <system_error>

namespace zelvar {

namespace {

// DMUs per chunk of work: small enough to spread a few hundred DMUs over
// the threads (and to stop soon after a Cancel), large enough that handing
// out chunks costs nothing next to evaluating them.
std::size_t chunkSize(std::size_t count, int threads)
{
    const std::size_t perThread = count / (16 * static_cast<std::size_t>(threads));
    return std::clamp<std::size_t>(perThread, 1, 64);
}

} // namespace

FdhOrderedEvaluation::FdhOrderedEvaluation(const FdhEvaluation &evaluation, const std::vector<std::int32_t> &dmus,
                                           int threads)
    : m_evaluation(evaluation), m_dmus(dmus), m_chunk(chunkSize(dmus.size(), std::max(threads, 1))),
      m_chunks((dmus.size() + m_chunk - 1) / m_chunk), m_window(2 * static_cast<std::size_t>(std::max(threads, 1)) + 1)
{
    const std::size_t helpers = std::min(static_cast<std::size_t>(std::max(threads, 1) - 1), m_chunks.size());
    try {
        for (std::size_t t = 0; t < helpers; ++t)
            m_workers.emplace_back([this] { work(); });
    } catch (const std::system_error &) {
        // No more threads to be had: the ones running (and the caller) do the work.
    }
}

FdhOrderedEvaluation::~FdhOrderedEvaluation()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_aheadCv.notify_all();
    for (std::thread &worker : m_workers)
        worker.join();
}

FdhOutcome &FdhOrderedEvaluation::take(std::size_t index)
{
    const std::size_t c = index / m_chunk;
    if (c != m_current) {
        // Everything before chunk c has been taken: its memory goes, and the
        // workers may move on.
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
        // Rather than wait, evaluate a chunk nobody has started yet: the one
        // needed if it is still free, else one further ahead.
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

void FdhOrderedEvaluation::work()
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
void FdhOrderedEvaluation::evaluate(std::size_t c, FdhEvaluation::Scratch &scratch)
{
    const std::size_t first = c * m_chunk;
    const std::size_t last = std::min(first + m_chunk, m_dmus.size());
    std::vector<FdhOutcome> &outcomes = m_chunks[c].outcomes;
    outcomes.resize(last - first);
    for (std::size_t k = first; k < last; ++k)
        m_evaluation.evaluateFdh(m_dmus[k], outcomes[k - first], scratch);
}

} // namespace zelvar
