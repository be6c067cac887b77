#include "engine/FdhLists.h"

#include "engine/FdhEvaluation.h"
#include "session/SelectionSet.h"

namespace zelvar {

namespace {

DataSet pointsOf(const DataSet &data)
{
    DataSet points;
    points.NumDMU = data.NumDMU;
    points.NumInputs = data.NumInputs;
    points.NumOutputs = data.NumOutputs;
    points.InputData = data.InputData;
    points.OutputData = data.OutputData;
    return points;
}

std::vector<std::int32_t> selectedDmus(const std::vector<char> &flags)
{
    std::vector<std::int32_t> dmus;
    for (std::size_t d = 1; d < flags.size(); ++d)
        if (flags[d] != 0)
            dmus.push_back(static_cast<std::int32_t>(d));
    return dmus;
}

} // namespace

FdhLists::FdhLists(const DataSet &data, const SelectionSet &tech)
    : m_points(pointsOf(data)), m_inTechnology(static_cast<std::size_t>(std::max(data.NumDMU, 0)) + 1, 0),
      m_evaluated(m_inTechnology.size(), 0)
{
    for (int j = 1; j <= data.NumDMU; ++j)
        m_inTechnology[static_cast<std::size_t>(j)] = tech.selected(j) ? 1 : 0;
    m_technology = DominanceIndex(m_points, selectedDmus(m_inTechnology));
}

void FdhLists::addEvaluated(int d)
{
    if (d >= 1 && static_cast<std::size_t>(d) < m_evaluated.size()) {
        m_evaluated[static_cast<std::size_t>(d)] = 1;
    }
}

void FdhLists::finish()
{
    const std::lock_guard lock(m_mutex);
    m_evaluatedIndex = DominanceIndex(m_points, selectedDmus(m_evaluated));
    m_finished = true;
}

std::string FdhLists::dominating(int d) const
{
    std::string list;
    if (!flag(m_evaluated, d))
        return list;
    const std::lock_guard lock(m_mutex);
    m_technology.dominating(d, m_found, m_scratch);
    appendDmuList(list, m_found);
    return list;
}

std::string FdhLists::dominated(int j) const
{
    std::string list;
    if (!m_finished || !flag(m_inTechnology, j))
        return list;
    const std::lock_guard lock(m_mutex);
    m_evaluatedIndex.dominatedBy(j, m_found, m_scratch);
    appendDmuList(list, m_found);
    return list;
}

std::int32_t FdhLists::dominatedCount(int j, DominanceIndex::Scratch &scratch, std::vector<std::int32_t> &found) const
{
    if (!m_finished || !flag(m_inTechnology, j))
        return 0;
    m_evaluatedIndex.dominatedBy(j, found, scratch);
    return static_cast<std::int32_t>(found.size());
}

} // namespace zelvar
