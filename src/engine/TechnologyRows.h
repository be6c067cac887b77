#pragma once

#include "engine/RowTree.h"

#include <cstdint>
#include <mutex>
#include <vector>

namespace zelvar {

struct DataSet;
class SelectionSet;

// The technology DMUs of a run as the rows of the multiplier LP: row j holds
// -x(1..m, j) on the input weights and +y(1..s, j) on the output weights (the
// scale column's entry is the same on every row and is not stored). Values
// are kept column by column (all DMUs' first input, then the second, ...), so
// the activity of every row under one weight vector is a few passes over
// contiguous memory.
//
// Also finds the candidate rows: a row is implied by the row of any DMU that
// dominates it (no more of any input, no less of any output), because the
// weights are never negative. The candidates are the rows no other technology
// DMU dominates, with exact duplicates kept once (the first in DMU order);
// every other row is implied by one of them. Of the candidates, the frame's
// (the extreme points of their hull, or the cone's rays) imply the rest.
class TechnologyRows {
public:
    // A snapshot of the DMUs selected in tech. Needs finite data.
    // cone: the LPs have no u0 (constant returns), so the frame may be the
    // cone's.
    // threads: how many may find the frame at once.
    TechnologyRows(const DataSet &data, const SelectionSet &tech, bool cone = false, int threads = 1);

    int width() const { return m_width; }                // NumInputs + NumOutputs
    int count() const { return static_cast<int>(m_dmu.size()); }
    int dmu(int row) const { return m_dmu[static_cast<std::size_t>(row)]; }
    // Row of DMU d (0-based), or -1 when d is not in the technology.
    int rowOf(int d) const { return m_rowOf[static_cast<std::size_t>(d)]; }
    // Number of technology DMUs numbered below d: the LP row of technology DMU
    // j is rank(j) + 1, shifted by one after an evaluated DMU from outside.
    int rank(int d) const { return m_rank[static_cast<std::size_t>(d)]; }
    // Coefficient c (0-based: inputs, then outputs) of every row.
    const double *column(int c) const { return m_values.data() + static_cast<std::size_t>(c) * m_dmu.size(); }
    double value(int row, int c) const { return column(c)[row]; }

    // Candidate rows, ascending, and the same values packed for them alone.
    const std::vector<std::int32_t> &candidates() const { return m_candidates; }
    const double *candidateColumn(int c) const
    {
        return m_candidateValues.data() + static_cast<std::size_t>(c) * m_candidates.size();
    }
    // The frame (TechnologyFrame): the candidate rows that imply all others,
    // ascending, and in a search tree that reports positions in frame(). The
    // restricted LPs check these rows alone.
    const std::vector<std::int32_t> &frame() const { return m_frame; }
    bool isFrame(int row) const { return m_isFrame[static_cast<std::size_t>(row)] != 0; }
    const RowTree &frameTree() const { return m_frameTree; }
    // Every row in a search tree (rows, as numbered here), built when first
    // asked for: only the radial LPs of frame DMUs check every row. Safe to ask
    // for from several threads.
    const RowTree &rowTree() const;

private:
    void findCandidates(const DataSet &data);
    void findFrame(int inputs, bool cone, int threads);
    // The values of the rows in subset, column by column.
    std::vector<double> valuesOf(const std::vector<std::int32_t> &subset) const;

    int m_width = 0;
    std::vector<std::int32_t> m_dmu;
    std::vector<std::int32_t> m_rowOf;
    std::vector<std::int32_t> m_rank;
    std::vector<double> m_values;
    std::vector<std::int32_t> m_candidates;
    std::vector<double> m_candidateValues;
    std::vector<std::int32_t> m_frame;
    std::vector<char> m_isFrame;
    std::vector<double> m_frameValues;
    RowTree m_frameTree;
    mutable std::once_flag m_rowTreeBuilt;
    mutable RowTree m_rowTree;
};

} // namespace zelvar
