#pragma once

#include "engine/LpOutcome.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

namespace zelvar {

struct DataSet;
class SelectionSet;

// DMUs with the same inputs and outputs and the same technology membership
// (twins) have the same efficiency LP: the rows are the same but for which
// twin's at-most row stands where, and a twin's at-most row says exactly what
// the other's says. Where the efficiency flag of an LP hangs on rounding noise
// the full LP settles it; for a group of twins it is solved once, for the
// group's first DMU, and its outcome serves every twin with the roles of the
// two DMUs' rows exchanged. A file that repeats a few DMUs many times then
// costs a handful of full LPs instead of one per row.
//
// Safe to use from several threads at once; what a twin gets never depends on
// which thread asked first.
class TwinLps {
public:
    // Solves the full LP of DMU dmu (for the variable of the LP being settled).
    using FullSolve = std::function<void(int dmu, LpOutcome &outcome)>;

    // data and tech (as the run found it) must outlive this object. The groups
    // are found at the first call of settle.
    TwinLps(const DataSet &data, const SelectionSet &tech);

    // The outcome of d's full LP (`variable` tells the LPs of one DMU apart:
    // 0, or the min-average variable): solveFull(d) when d has no twin, else
    // the mapped outcome of solveFull(first twin), solved once, without the
    // tight rows whose dual is 0.
    void settle(int d, int variable, LpOutcome &outcome, const FullSolve &solveFull);

    // The outcome of twin `from`'s LP read as that of twin `to`: `to`'s row
    // in it is `from`'s row in the other.
    [[nodiscard]] static LpOutcome mapped(const LpOutcome &outcome, int from, int to);

private:
    struct Entry {
        std::once_flag solved;
        LpOutcome outcome;
    };

    void findGroups();

    const DataSet &m_data;
    const SelectionSet &m_tech;
    std::once_flag m_grouped;
    std::vector<std::int32_t> m_first; // by DMU; 0 for a DMU without twins
    std::mutex m_mutex;
    std::map<std::pair<int, int>, std::unique_ptr<Entry>> m_entries;
};

} // namespace zelvar
