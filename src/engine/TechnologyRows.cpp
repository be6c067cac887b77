#include "engine/TechnologyRows.h"

#include "data/DataSet.h"
#include "engine/DominanceIndex.h"
#include "engine/TechnologyFrame.h"
#include "session/SelectionSet.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace zelvar {

TechnologyRows::TechnologyRows(const DataSet &data, const SelectionSet &tech, bool cone, int threads)
    : m_width(data.NumInputs + data.NumOutputs)
{
    m_rowOf.assign(static_cast<std::size_t>(data.NumDMU) + 1, -1);
    m_rank.assign(static_cast<std::size_t>(data.NumDMU) + 1, 0);
    int below = 0;
    for (int j = 1; j <= data.NumDMU; ++j) {
        m_rank[static_cast<std::size_t>(j)] = below;
        if (tech.selected(j)) {
            m_rowOf[static_cast<std::size_t>(j)] = static_cast<std::int32_t>(m_dmu.size());
            m_dmu.push_back(j);
            ++below;
        }
    }
    const std::size_t rows = m_dmu.size();
    m_values.resize(rows * static_cast<std::size_t>(m_width));
    for (std::size_t k = 0; k < rows; ++k) {
        const int j = m_dmu[k];
        for (int i = 1; i <= data.NumInputs; ++i)
            m_values[static_cast<std::size_t>(i - 1) * rows + k] = -data.InputData(i, j);
        for (int r = 1; r <= data.NumOutputs; ++r)
            m_values[static_cast<std::size_t>(data.NumInputs + r - 1) * rows + k] = data.OutputData(r, j);
    }
    findCandidates(data);
    findFrame(data.NumInputs, cone, threads);
}

// A row is implied when another technology DMU weakly dominates its DMU (no
// more of any input, no less of any output); of exact duplicates the first in
// DMU order stays. The question goes to a dominance search tree, which stops
// at the first dominator it meets.
void TechnologyRows::findCandidates(const DataSet &data)
{
    const std::size_t rows = m_dmu.size();
    const auto width = static_cast<std::size_t>(m_width);
    const DominanceIndex index(data, m_dmu);
    DominanceIndex::Scratch scratch;
    auto sameRow = [&](std::size_t a, std::size_t b) {
        for (std::size_t c = 0; c < width; ++c)
            if (!(m_values[c * rows + a] == m_values[c * rows + b]))
                return false;
        return true;
    };
    m_candidates.clear();
    for (std::size_t k = 0; k < rows; ++k) {
        const int d = m_dmu[k];
        const bool implied = index.anyDominating(
            d,
            [&](std::int32_t j) {
                const auto other = static_cast<std::size_t>(m_rowOf[static_cast<std::size_t>(j)]);
                return j < d || !sameRow(k, other);
            },
            scratch);
        if (!implied)
            m_candidates.push_back(static_cast<std::int32_t>(k));
    }
    m_candidateValues = valuesOf(m_candidates);
}

std::vector<double> TechnologyRows::valuesOf(const std::vector<std::int32_t> &subset) const
{
    const std::size_t rows = m_dmu.size();
    const std::size_t count = subset.size();
    std::vector<double> values(count * static_cast<std::size_t>(m_width));
    for (std::size_t c = 0; c < static_cast<std::size_t>(m_width); ++c)
        for (std::size_t p = 0; p < count; ++p)
            values[c * count + p] = m_values[c * rows + static_cast<std::size_t>(subset[p])];
    return values;
}

void TechnologyRows::findFrame(int inputs, bool cone, int threads)
{
    m_frame.clear();
    for (const std::int32_t p :
         technologyFrame(m_candidateValues.data(), m_candidates.size(), m_width, inputs, cone, threads))
        m_frame.push_back(m_candidates[static_cast<std::size_t>(p)]);
    m_isFrame.assign(m_dmu.size(), 0);
    for (const std::int32_t row : m_frame)
        m_isFrame[static_cast<std::size_t>(row)] = 1;
    m_frameValues = valuesOf(m_frame);
    m_frameTree = RowTree(m_frameValues.data(), m_frame.size(), m_width);
}

const RowTree &TechnologyRows::rowTree() const
{
    std::call_once(m_rowTreeBuilt, [this] { m_rowTree = RowTree(m_values.data(), m_dmu.size(), m_width); });
    return m_rowTree;
}

} // namespace zelvar
