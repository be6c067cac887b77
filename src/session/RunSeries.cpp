#include "session/RunSeries.h"

#include <algorithm>
#include <cassert>
#include <utility>

namespace zelvar {

RunSeries RunSeries::single(std::string caption, SelectionSet eval, SelectionSet tech)
{
    RunSeries series;
    series.m_kind = SeriesKind::Single;
    series.m_count = 1;
    series.m_base = std::move(caption);
    series.m_numDMU = eval.size();
    series.m_eval = std::move(eval);
    series.m_tech = std::move(tech);
    return series;
}

RunSeries RunSeries::windows(std::string base, int numDMU, int periods, int dmusPerPeriod,
                             int windowWidth)
{
    RunSeries series;
    series.m_kind = SeriesKind::Window;
    series.m_count = periods;
    series.m_base = std::move(base);
    series.m_numDMU = numDMU;
    series.m_dmusPerPeriod = dmusPerPeriod;
    series.m_width = windowWidth;
    return series;
}

RunSeries RunSeries::malmquist(std::string base, int numDMU, int periods, int dmusPerPeriod)
{
    RunSeries series;
    series.m_kind = SeriesKind::Malmquist;
    series.m_count = periods > 1 ? periods - 1 : 0;
    series.m_base = std::move(base);
    series.m_numDMU = numDMU;
    series.m_dmusPerPeriod = dmusPerPeriod;
    series.m_width = 1;
    return series;
}

std::string RunSeries::caption(int index) const
{
    assert(index >= 0 && index < m_count);
    switch (m_kind) {
    case SeriesKind::Window:
        return m_base + "_Window" + std::to_string(index);
    case SeriesKind::Malmquist:
        return m_base + "_Malmquist-E(" + std::to_string(index) + ")-T(" + std::to_string(index + 1)
            + ")";
    case SeriesKind::Single:
        break;
    }
    return m_base;
}

void RunSeries::fill(int index, PlannedRun &run) const
{
    assert(index >= 0 && index < m_count);
    run.caption = caption(index);
    if (m_kind == SeriesKind::Single) {
        run.eval = m_eval;
        run.tech = m_tech;
        return;
    }
    if (run.eval.size() != m_numDMU)
        run.eval = SelectionSet(m_numDMU);
    if (run.tech.size() != m_numDMU)
        run.tech = SelectionSet(m_numDMU);

    // Bounds in 64 bits: the end of a late window, (t + width) * DMUsPerPeriod,
    // lies up to width - 1 periods beyond the last DMU before it is cut.
    const long long per = m_dmusPerPeriod;
    const auto cut = [this](long long dmu) {
        return static_cast<int>(dmu < m_numDMU ? dmu : m_numDMU);
    };
    const long long t = index;
    if (m_kind == SeriesKind::Window) {
        const int first = static_cast<int>(t * per + 1);
        const int last = cut((t + m_width) * per);
        run.eval.selectRange(first, last);
        run.tech.selectRange(first, last);
    } else {
        run.eval.selectRange(static_cast<int>(t * per + 1), cut((t + 1) * per));
        run.tech.selectRange(static_cast<int>((t + 1) * per + 1), static_cast<int>((t + 2) * per));
    }
}

PlannedRun RunSeries::run(int index) const
{
    PlannedRun planned;
    fill(index, planned);
    return planned;
}

} // namespace zelvar
