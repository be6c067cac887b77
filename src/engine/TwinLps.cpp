#include "engine/TwinLps.h"

#include "data/DataSet.h"
#include "session/SelectionSet.h"

#include <algorithm>
#include <bit>
#include <numeric>

namespace zelvar {

namespace {

// Equal values give equal bits (0 and -0 alike).
std::uint64_t bitsOf(double value)
{
    return value == 0.0 ? 0 : std::bit_cast<std::uint64_t>(value);
}

} // namespace

TwinLps::TwinLps(const DataSet &data, const SelectionSet &tech) : m_data(data), m_tech(tech) {}

void TwinLps::findGroups()
{
    const int n = m_data.NumDMU;
    auto same = [&](int a, int b) {
        if (m_tech.selected(a) != m_tech.selected(b))
            return false;
        for (int i = 1; i <= m_data.NumInputs; ++i)
            if (!(m_data.InputData(i, a) == m_data.InputData(i, b)))
                return false;
        for (int r = 1; r <= m_data.NumOutputs; ++r)
            if (!(m_data.OutputData(r, a) == m_data.OutputData(r, b)))
                return false;
        return true;
    };
    // A hash of each DMU's values; DMUs are compared exactly only where
    // their hashes meet.
    std::vector<std::uint64_t> hash(static_cast<std::size_t>(n) + 1, 0);
    for (int d = 1; d <= n; ++d) {
        std::uint64_t h = m_tech.selected(d) ? 0x9e3779b97f4a7c15ULL : 0x2545f4914f6cdd1dULL;
        auto mix = [&h](double value) { h = (h ^ bitsOf(value)) * 0x100000001b3ULL; h ^= h >> 29; };
        for (int i = 1; i <= m_data.NumInputs; ++i)
            mix(m_data.InputData(i, d));
        for (int r = 1; r <= m_data.NumOutputs; ++r)
            mix(m_data.OutputData(r, d));
        hash[static_cast<std::size_t>(d)] = h;
    }
    std::vector<std::int32_t> order(static_cast<std::size_t>(n));
    std::iota(order.begin(), order.end(), 1);
    std::sort(order.begin(), order.end(), [&](std::int32_t a, std::int32_t b) {
        const auto ha = hash[static_cast<std::size_t>(a)];
        const auto hb = hash[static_cast<std::size_t>(b)];
        return ha < hb || (ha == hb && a < b);
    });

    m_first.assign(static_cast<std::size_t>(n) + 1, 0);
    std::size_t begin = 0;
    while (begin < order.size()) {
        std::size_t end = begin + 1;
        while (end < order.size() && hash[static_cast<std::size_t>(order[end])] == hash[static_cast<std::size_t>(order[begin])])
            ++end;
        // Within one hash, in DMU order: each DMU joins the first earlier DMU
        // equal to it.
        for (std::size_t a = begin + 1; a < end; ++a) {
            const int d = order[a];
            for (std::size_t b = begin; b < a; ++b) {
                const int e = order[b];
                if (m_first[static_cast<std::size_t>(e)] == 0 || m_first[static_cast<std::size_t>(e)] == e) {
                    if (same(e, d)) {
                        m_first[static_cast<std::size_t>(e)] = e;
                        m_first[static_cast<std::size_t>(d)] = e;
                        break;
                    }
                }
            }
        }
        begin = end;
    }
}

void TwinLps::settle(int d, int variable, LpOutcome &outcome, const FullSolve &solveFull)
{
    std::call_once(m_grouped, [this] { findGroups(); });
    const int f = m_first[static_cast<std::size_t>(d)];
    if (f == 0) {
        solveFull(d, outcome);
        return;
    }
    Entry *entry = nullptr;
    {
        std::lock_guard lock(m_mutex);
        std::unique_ptr<Entry> &slot = m_entries[{f, variable}];
        if (!slot)
            slot = std::make_unique<Entry>();
        entry = slot.get();
    }
    std::call_once(entry->solved, [&] {
        solveFull(f, entry->outcome);
        // Every twin's row is tight in a twin's LP; the rows with a zero dual
        // name no benchmark and would make each twin's outcome as long as
        // the group. A row left out reads as slack with dual 0.
        std::erase_if(entry->outcome.tightRows, [](const LpOutcome::Row &row) { return row.dual == 0.0; });
    });
    outcome = f == d ? entry->outcome : mapped(entry->outcome, f, d);
}

LpOutcome TwinLps::mapped(const LpOutcome &outcome, int from, int to)
{
    LpOutcome result = outcome;
    for (LpOutcome::Row &row : result.tightRows) {
        if (row.dmu == to)
            row.dmu = from;
        else if (row.dmu == from)
            row.dmu = to;
    }
    std::sort(result.tightRows.begin(), result.tightRows.end(),
              [](const LpOutcome::Row &a, const LpOutcome::Row &b) { return a.dmu < b.dmu; });
    return result;
}

} // namespace zelvar
