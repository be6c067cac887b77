#pragma once

#include "data/DataSet.h"
#include "engine/DominanceIndex.h"

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

namespace zelvar {

class SelectionSet;

// The dominance lists of one FDH run, formed when a table shows them rather
// than held: at 100,000 DMUs the pairs run to hundreds of millions, and their
// text to gigabytes. A list is "  j" per DMU, ascending.
//
// The lists keep their own copy of the inputs and outputs, so a table shows
// its run's lists after another data file has been loaded. Create one with
// std::make_shared and do not move it: its search trees refer to that copy.
class FdhLists {
public:
    // The technology of the run: the DMUs selected in tech.
    FdhLists(const DataSet &data, const SelectionSet &tech);
    FdhLists(const FdhLists &) = delete;
    FdhLists &operator=(const FdhLists &) = delete;

    // DMU d has been evaluated: its list of dominating DMUs may be shown.
    void addEvaluated(int d);
    // The run is over: the DMUs evaluated up to now are those each
    // technology DMU's dominated list is drawn from.
    void finish();
    bool finished() const { return m_finished; }
    // The search tree over the technology DMUs.
    const DominanceIndex &technology() const { return m_technology; }

    // The technology DMUs j != d that dominate d; empty for a DMU not evaluated.
    std::string dominating(int d) const;
    // The evaluated DMUs k != j that technology DMU j dominates; empty before
    // finish() and for a DMU outside the technology.
    std::string dominated(int j) const;
    // Their number, with scratch lists of the calling thread.
    std::int32_t dominatedCount(int j, DominanceIndex::Scratch &scratch, std::vector<std::int32_t> &found) const;

private:
    bool flag(const std::vector<char> &flags, int d) const
    {
        return d >= 1 && static_cast<std::size_t>(d) < flags.size() && flags[static_cast<std::size_t>(d)] != 0;
    }

    DataSet m_points; // inputs and outputs only
    std::vector<char> m_inTechnology;
    std::vector<char> m_evaluated;
    DominanceIndex m_technology;
    DominanceIndex m_evaluatedIndex;
    bool m_finished = false;
    // One question at a time: a table asks from one thread, but the scratch
    // lists are shared.
    mutable std::mutex m_mutex;
    mutable DominanceIndex::Scratch m_scratch;
    mutable std::vector<std::int32_t> m_found;
};

} // namespace zelvar
