#pragma once

#include "engine/DominanceIndex.h"

#include <cstdint>
#include <string>
#include <vector>

namespace zelvar {

struct DataSet;
struct ModelOptions;
struct ResultStore;

// Explanations left in Benchmarks(d) when a dominated DMU has no radial FDH
// score: with no positive input (input orientation) or output (output
// orientation) there is no ratio by which a dominating DMU improves on it.
inline const std::string FdhNoPositiveInput = "no score: no positive input";
inline const std::string FdhNoPositiveOutput = "no score: no positive output";

// What the evaluation of one DMU found, before it goes into the result store.
struct FdhOutcome {
    bool efficient = false; // no technology DMU dominates it
    bool noScore = false;   // dominated, but no positive input (output) to form a ratio
    double score = 1.0;
    std::string benchmarks;
    std::vector<std::int32_t> benchmarkDmus; // whose ReferenceCount rises
    std::int32_t dominatingCount = 0;
};

// Free disposal hull evaluation by pairwise dominance, without LP, for one
// run: the technology DMUs are indexed once, then any number of DMUs are
// evaluated against them.
//
// A technology DMU j (selected in tech, j != d; d itself need not belong to
// tech) dominates d when it uses no more of every input and makes no less of
// every output; comparisons are exact, so a duplicate of d dominates it.
// An undominated d is efficient with score 1; a dominated d gets the best
// radial factor a single dominating DMU offers (input orientation "IN": the
// smallest largest input ratio, at most 1; any other orientation: the
// largest smallest output ratio, at least 1) and, as benchmarks, the DMUs
// reaching it. A dominated d without a positive input (or output) has no
// such factor: no score, the explanation above and no benchmarks.
class FdhEvaluation {
public:
    // Work lists of one thread.
    struct Scratch {
        DominanceIndex::Scratch search;
        std::vector<std::int32_t> dominators;
    };

    // technology indexes the technology DMUs with the values of data; data,
    // options and the index must outlive the evaluation and stay unchanged
    // (DMU names excepted).
    FdhEvaluation(const DataSet &data, const ModelOptions &options, const DominanceIndex &technology);

    // The evaluation of DMU d (1..NumDMU), into outcome (overwritten). Reads
    // only the data and the index, so several threads may evaluate at once.
    void evaluateFdh(int d, FdhOutcome &outcome, Scratch &scratch) const;

private:
    const DataSet &m_data;
    bool m_inputOriented;
    const DominanceIndex &m_technology;
};

// Files the outcome of DMU d into the store: Efficient, Score, NoScore and
// Benchmarks of d, the ReferenceCount of its benchmarks, and DominatingCount.
// Needs the store allocated for an FDH run with Efficient(d) cleared.
void recordFdhOutcome(int d, FdhOutcome &&outcome, ResultStore &store);

// "  j" per DMU number in dmus, appended to text in one allocation.
void appendDmuList(std::string &text, const std::vector<std::int32_t> &dmus);

} // namespace zelvar
