#include "engine/RunDriver.h"

#include "data/DataSet.h"
#include "engine/Fdh.h"
#include "model/SelectionSet.h"
#include "model/Workspace.h"

#include <cmath>
#include <string>

namespace zelvar {

namespace {

// A DMU evaluated from outside its technology set shows "{X}" over the first
// three characters of its name prefix.
void markOutside(std::string &name)
{
    if (name.size() < 4)
        name.resize(4, ' ');
    name.replace(0, 3, "{X}");
}

std::string progressText(int processed, int toEvaluate)
{
    const double fraction = static_cast<double>(processed) / toEvaluate;
    return std::to_string(std::lround(fraction * 100.0)) + "% completed.";
}

} // namespace

RunOutcome RunDriver::runFdh(ResultsSink &results, ProgressSink &progress, const RunView &view)
{
    DataSet &data = m_workspace.data;
    const int toEvaluate = view.eval.selectedCount();
    int processed = 0;
    RunOutcome outcome = RunOutcome::Completed;
    for (int d = 1; d <= data.NumDMU; ++d) {
        progress.repaint();
        if (!view.eval.selected(d))
            continue;
        if (progress.cancelRequested()) {
            outcome = RunOutcome::Stopped;
            break;
        }
        m_store.Efficient[static_cast<std::size_t>(d)] = 0;
        // FDH compares d with the selected technology DMUs only; the
        // selection is not changed, the name just shows that d is outside.
        if (!view.tech.selected(d))
            markOutside(data.DMUNames[static_cast<std::size_t>(d)]);
        EvaluateFDH(d, data, view.options, view.tech, m_store);
        ++processed;
        progress.setProgress(processed, progressText(processed, toEvaluate));
        results.ShowFDHresults(d, view);
    }
    buildDominatedLists(data.NumDMU, m_store);
    return outcome;
}

} // namespace zelvar
