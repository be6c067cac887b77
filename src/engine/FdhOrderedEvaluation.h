#pragma once

#include "engine/FdhEvaluation.h"

#include <condition_variable>
#include <cstdint>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace zelvar {

// Evaluates the DMUs of a list in chunks on up to `threads` threads, the
// calling thread among them, while the caller takes the outcomes one by one
// in list order. Workers stay at most a few chunks ahead of the caller, so
// the outcomes waiting to be taken (their dominating lists can be long)
// stay few. Destruction stops the workers and waits for them; outcomes not
// taken are dropped. evaluation and dmus must outlive the object.
class FdhOrderedEvaluation {
public:
    FdhOrderedEvaluation(const FdhEvaluation &evaluation, const std::vector<std::int32_t> &dmus, int threads);
    ~FdhOrderedEvaluation();

    FdhOrderedEvaluation(const FdhOrderedEvaluation &) = delete;
    FdhOrderedEvaluation &operator=(const FdhOrderedEvaluation &) = delete;

    // The outcome of dmus[index], valid until the next call; indexes must
    // come in ascending order. Rethrows what evaluating its chunk threw.
    FdhOutcome &take(std::size_t index);

private:
    struct Chunk {
        std::vector<FdhOutcome> outcomes;
        std::exception_ptr error;
        bool ready = false;
    };

    void work();
    void evaluate(std::size_t c, FdhEvaluation::Scratch &scratch);

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

} // namespace zelvar
