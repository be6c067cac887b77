#pragma once

#include "data/DataSet.h"
#include "engine/RunDriver.h"
#include "session/SelectionSet.h"

#include <cmath>
#include <cstddef>
#include <string>

namespace zelvar {

class ColumnScaling;
struct ModelOptions;

// What one call of RunModel works with.
struct RunDriver::RunContext {
    DataSet &data;         // the loaded data: names, and the values the table shows
    const DataSet &lpData; // the numbers the LPs are built from, in the LPs' units
    const ColumnScaling &scaling;
    const ModelOptions &options;
    SelectionSet &eval;
    SelectionSet &tech;
    ResultsSink &results;
    ProgressSink &progress;
    Feedback &feedback;
    const RunView &view;
    const SolveContext &solve;
    int threads = 1; // evaluating DMUs, the calling thread included
    int toEvaluate = 0;
    int processed = 0;

    // Overwrites the four-character prefix of d's name: blanks, or "{X}"
    // for a DMU evaluated outside its technology. A name too short to hold
    // the prefix gets blanks appended first.
    void markName(int d, bool outside)
    {
        std::string &name = data.DMUNames[static_cast<std::size_t>(d)];
        if (name.size() < 4)
            name.resize(4, ' ');
        name.replace(0, outside ? 3 : 4, outside ? "{X}" : "    ");
    }

    // The LP models measure d against a technology it belongs to: a DMU
    // from outside is added for the time of its evaluation, and marked.
    // Returns whether d was part of it; leaveTechnology puts it back.
    bool enterTechnology(int d)
    {
        const bool wasTech = tech.selected(d);
        if (!wasTech) {
            tech.select(d, true);
            markName(d, true);
        }
        return wasTech;
    }
    void leaveTechnology(int d, bool wasTech) { tech.select(d, wasTech); }
};

// The walk of every run: d = 1..NumDMU in order, the progress window
// repainted for each, the DMUs not selected for evaluation skipped, the
// user's Cancel checked before each evaluated DMU. evaluate(d, position)
// evaluates the position-th evaluated DMU (false: the run stops there,
// without a row); then the progress ("40% completed.") and show(d), which
// fills d's row.
template <typename Evaluate, typename Show>
RunOutcome RunDriver::forEachEvaluated(RunContext &run, Evaluate evaluate, Show show)
{
    std::size_t position = 0;
    for (int d = 1; d <= run.data.NumDMU; ++d) {
        run.progress.repaint();
        if (!run.eval.selected(d))
            continue;
        if (run.progress.cancelRequested())
            return RunOutcome::Stopped;
        m_store.Efficient[static_cast<std::size_t>(d)] = 0;
        if (!evaluate(d, position++))
            return RunOutcome::Stopped;
        ++run.processed;
        const double fraction = static_cast<double>(run.processed) / run.toEvaluate;
        run.progress.setProgress(run.processed, std::to_string(std::lround(fraction * 100.0)) + "% completed.");
        show(d);
    }
    return RunOutcome::Completed;
}

} // namespace zelvar
