#pragma once

#include "session/SelectionSet.h"

#include <string>

namespace zelvar {

// One run of a series: its caption and the two selections it runs with.
struct PlannedRun {
    std::string caption;
    SelectionSet eval;
    SelectionSet tech;
};

enum class SeriesKind { Single, Window, Malmquist };

// The runs Start asked for: one for a single model, one per window of a
// window analysis, one per Malmquist step. The selections of a window or
// step are computed when asked for, so a long series never holds more than
// the one being run.
//
// Periods are blocks of DMUsPerPeriod consecutive DMUs in data-set order;
// period q (0-based) is DMUs q * DMUsPerPeriod + 1 .. (q + 1) * DMUsPerPeriod.
// Window t evaluates and spans the technology with periods t .. t + width - 1,
// cut at the last period. Malmquist step t evaluates period t against the
// technology of period t + 1 alone.
class RunSeries {
public:
    // No runs at all.
    RunSeries() = default;

    // One run with the dialog's selections as they stood at Start.
    static RunSeries single(std::string caption, SelectionSet eval, SelectionSet tech);
    // `periods` windows, captions base + "_Window" + t.
    static RunSeries windows(std::string base, int numDMU, int periods, int dmusPerPeriod,
                             int windowWidth);
    // `periods` - 1 steps, captions base + "_Malmquist-E(" + t + ")-T(" + (t + 1) + ")".
    static RunSeries malmquist(std::string base, int numDMU, int periods, int dmusPerPeriod);

    [[nodiscard]] SeriesKind kind() const { return m_kind; }
    // Window analysis or Malmquist: the lists are to be refilled afterwards.
    [[nodiscard]] bool dynamic() const { return m_kind != SeriesKind::Single; }
    [[nodiscard]] int count() const { return m_count; }

    // Run `index` (0 .. count() - 1). fill() reuses the buffers of `run`,
    // which saves an allocation per window in long series.
    [[nodiscard]] PlannedRun run(int index) const;
    void fill(int index, PlannedRun &run) const;
    [[nodiscard]] std::string caption(int index) const;

private:
    SeriesKind m_kind = SeriesKind::Single;
    int m_count = 0;
    std::string m_base; // the whole caption of a single run
    SelectionSet m_eval; // single run only
    SelectionSet m_tech;
    int m_numDMU = 0;
    int m_dmusPerPeriod = 0;
    int m_width = 1;
};

} // namespace zelvar
