#include "support/Recorders.h"

#include "engine/FdhLists.h"

#include "data/DataSet.h"
#include "engine/ResultStore.h"

#include <gtest/gtest.h>

namespace zelvar::test {

namespace {

RowSeen seen(int d, const RunView &run)
{
    const auto dd = static_cast<std::size_t>(d);
    RowSeen row;
    row.d = d;
    row.name = run.data.DMUNames[dd];
    row.score = run.store.Score[dd];
    row.efficient = run.store.Efficient[dd] != 0;
    row.noFiniteOptimum = run.store.NoFiniteOptimum[dd] != 0;
    row.noScore = run.store.NoScore[dd] != 0;
    row.benchmarks = run.store.Benchmarks[dd];
    row.techSelected = run.tech.selected(d);
    return row;
}

} // namespace

void RecordingResults::Showresults(int d, const RunView &run, const LpProblem &lp)
{
    calls.push_back("Showresults " + std::to_string(d));
    RowSeen row = seen(d, run);
    if (keepLp) {
        row.primal = lp.Primal;
        row.dual = lp.Dual;
        row.status = lp.VarStatus;
    }
    rows.push_back(row);
}

void RecordingResults::ShowFDHresults(int d, const RunView &run)
{
    calls.push_back("ShowFDHresults " + std::to_string(d));
    RowSeen row = seen(d, run);
    row.dominatingCount = run.store.DominatingCount;
    row.dominatingList = run.store.DominanceLists ? run.store.DominanceLists->dominating(d) : "";
    rows.push_back(row);
}

void RecordingResults::ShowReferences(const RunView &run)
{
    calls.push_back("ShowReferences");
    efficientAtEnd = run.store.Efficient;
    referencesAtEnd = run.store.ReferenceCount;
}

void RecordingResults::WriteNonevaluated(const RunView &run)
{
    calls.push_back("WriteNonevaluated");
    techAtEnd = run.tech;
}

std::vector<std::string> RecordingResults::callsFor(const std::vector<int> &shown, const std::string &fill)
{
    std::vector<std::string> calls{"redraw off"};
    for (int d : shown)
        calls.push_back(fill + " " + std::to_string(d));
    for (const char *end : {"ShowReferences", "WriteNonevaluated", "redraw on"})
        calls.emplace_back(end);
    return calls;
}

bool RecordingResults::hasRow(int d) const
{
    for (const RowSeen &row : rows)
        if (row.d == d)
            return true;
    return false;
}

const RowSeen &RecordingResults::row(int d) const
{
    for (const RowSeen &row : rows)
        if (row.d == d)
            return row;
    ADD_FAILURE() << "no row for DMU " << d;
    static const RowSeen none;
    return none;
}

} // namespace zelvar::test

