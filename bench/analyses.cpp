// Times the analyses built on several runs on generated data (3 inputs,
// 2 outputs, log-normal, fixed seed): the Malmquist index over PERIODS
// periods of UNITS firms (2 runs per period), and the scale-efficiency table
// of DMUS DMUs (3 runs). Each is timed whole, tables included.
//
// Targets: the index for 10 periods x 10,000 units and the scale table for
// 100,000 DMUs each under 60 s.
//
//   zelvar-bench-analyses [PERIODS UNITS DMUS]     (default 10 10000 100000)

#include "BenchData.h"
#include "engine/MalmquistIndex.h"
#include "engine/ScaleEfficiency.h"
#include "results/AnalysisTables.h"
#include "session/Workspace.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {

using namespace zelvar;

double secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

int main(int argc, char **argv)
{
    const int periods = argc > 1 ? std::atoi(argv[1]) : 10;
    const int units = argc > 2 ? std::atoi(argv[2]) : 10000;
    const int dmus = argc > 3 ? std::atoi(argv[3]) : 100000;
    bench::StderrFeedback feedback;
    NoProgress progress;

    {
        Workspace workspace;
        bench::setUpRun(workspace, periods * units, "CRS_RAD_IN", 0);
        const auto start = std::chrono::steady_clock::now();
        MalmquistIndex index;
        const RunOutcome outcome = MalmquistIndex::compute(workspace, periods, progress, feedback, index);
        const TextGrid table = malmquistIndexTable(index, workspace.data, workspace.format, ".");
        std::printf("Malmquist index, %d periods x %d units: %.1f s (%s, %d rows)\n", periods, units,
                    secondsSince(start), outcome == RunOutcome::Completed ? "completed" : "not completed",
                    table.rows() - 1);
    }
    {
        Workspace workspace;
        bench::setUpRun(workspace, dmus, "VRS_RAD_IN", 0);
        SelectionSet eval(dmus, true);
        SelectionSet tech(dmus, true);
        const auto start = std::chrono::steady_clock::now();
        ScaleEfficiency scale;
        const RunOutcome outcome = ScaleEfficiency::compute(workspace, eval, tech, progress, feedback, scale);
        const TextGrid table = scaleTable(scale, workspace.data, workspace.format, ".");
        std::printf("Scale efficiency, %d DMUs: %.1f s (%s, %d rows)\n", dmus, secondsSince(start),
                    outcome == RunOutcome::Completed ? "completed" : "not completed", table.rows() - 1);
    }
    return 0;
}
