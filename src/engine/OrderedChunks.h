#pragma once

#include <algorithm>
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace zelvar {

// The one way runs use several threads: the work is cut into chunks
// (consecutive evaluated DMUs), worker threads solve chunks in any order,
// and the calling thread takes the results chunk by chunk in order, so
// everything a user sees still happens on it, in DMU order.
//
// Worker is one thread's state (its solver, its scratch lists):
//   using ChunkResult = ...;
//   void solveChunk(std::size_t chunk, ChunkResult &result);
// What a chunk's result holds must not depend on which worker solved it.
//
// Workers stay at most a few chunks ahead of the chunk being taken, which
// keeps the memory of results waiting to be taken bounded. Rather than wait,
// the calling thread solves a chunk itself (with a worker of its own) when no
// thread has started the one it needs. With one thread there are no workers
// at all. Destruction stops the workers and waits for them; results not
// taken are dropped.
template <typename Worker>
class OrderedChunks {
public:
    using ChunkResult = typename Worker::ChunkResult;
    using MakeWorker = std::function<std::unique_ptr<Worker>()>;

    // `threads` counts the calling thread: threads - 1 workers are started.
    // `lead`: chunks the workers may solve beyond the window they keep ahead
    // anyway, for a caller that takes many chunks at once and then works on
    // them for a while.
    OrderedChunks(std::size_t chunks, int threads, MakeWorker makeWorker, std::size_t lead = 0)
        : m_makeWorker(std::move(makeWorker)), m_slots(chunks),
          m_window(2 * static_cast<std::size_t>(std::max(threads, 1)) + 1 + lead)
    {
        const std::size_t helpers = std::min(static_cast<std::size_t>(std::max(threads, 1) - 1), chunks);
        try {
            for (std::size_t t = 0; t < helpers; ++t)
                m_threads.emplace_back([this] { work(); });
        } catch (const std::system_error &) {
            // No more threads to be had: those running and the caller share the work.
        }
    }

    ~OrderedChunks()
    {
        {
            const std::lock_guard lock(m_mutex);
            m_stop = true;
        }
        m_aheadCv.notify_all();
        for (std::thread &thread : m_threads)
            thread.join();
    }

    OrderedChunks(const OrderedChunks &) = delete;
    OrderedChunks &operator=(const OrderedChunks &) = delete;

    // The result of chunk c, valid until the next call; chunks must be taken
    // in ascending order. The results of earlier chunks are dropped. Rethrows
    // what solving the chunk threw.
    ChunkResult &take(std::size_t c)
    {
        {
            const std::lock_guard lock(m_mutex);
            for (std::size_t done = m_taken; done < c; ++done)
                m_slots[done].result.reset();
            m_taken = c;
        }
        m_aheadCv.notify_all();
        std::unique_lock lock(m_mutex);
        while (!m_slots[c].ready) {
            if (m_next < m_slots.size() && m_next < m_taken + m_window) {
                const std::size_t mine = m_next++;
                lock.unlock();
                if (!m_own)
                    m_own = m_makeWorker();
                solve(*m_own, mine);
                lock.lock();
                m_slots[mine].ready = true;
                continue;
            }
            m_readyCv.wait(lock);
        }
        lock.unlock();
        if (m_slots[c].error)
            std::rethrow_exception(m_slots[c].error);
        return *m_slots[c].result;
    }

private:
    struct Slot {
        std::unique_ptr<ChunkResult> result;
        std::exception_ptr error;
        bool ready = false;
    };

    void work()
    {
        std::unique_ptr<Worker> worker;
        try {
            worker = m_makeWorker();
        } catch (...) {
            return; // the others, the caller among them, do the work
        }
        for (;;) {
            std::size_t c = 0;
            {
                std::unique_lock lock(m_mutex);
                m_aheadCv.wait(lock, [this] {
                    return m_stop || m_next >= m_slots.size() || m_next < m_taken + m_window;
                });
                if (m_stop || m_next >= m_slots.size())
                    return;
                c = m_next++;
            }
            solve(*worker, c);
            {
                const std::lock_guard lock(m_mutex);
                m_slots[c].ready = true;
            }
            m_readyCv.notify_all();
        }
    }

    // Chunk c belongs to the one thread that claimed it until it is ready.
    void solve(Worker &worker, std::size_t c)
    {
        try {
            auto result = std::make_unique<ChunkResult>();
            worker.solveChunk(c, *result);
            m_slots[c].result = std::move(result);
        } catch (...) {
            m_slots[c].error = std::current_exception();
        }
    }

    MakeWorker m_makeWorker;
    std::vector<Slot> m_slots;
    const std::size_t m_window; // chunks that may be claimed beyond the one being taken
    std::unique_ptr<Worker> m_own; // the calling thread's

    std::mutex m_mutex; // guards m_next, m_taken, m_stop and every ready flag
    std::condition_variable m_readyCv;
    std::condition_variable m_aheadCv;
    std::size_t m_next = 0;
    std::size_t m_taken = 0;
    bool m_stop = false;
    std::vector<std::thread> m_threads;
};

} // namespace zelvar
