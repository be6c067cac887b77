// Times the cost and revenue models on generated data (3 inputs, 2 outputs,
// log-normal, fixed seed) with log-normal prices per DMU, each in a child
// process so that its peak memory is its own. A priced run is two runs: the
// radial run of the same returns to scale and orientation (the technical
// scores) and the priced LPs; both are timed, and the priced LPs report what
// the restricted LPs cost.
//
// Target: CRS_COST_IN and VRS_COST_IN on 100,000 DMUs each under 60 s.
//
//   zelvar-bench-prices [SIZES] [MODELS] [THREADS]
//   zelvar-bench-prices 100000 CRS_COST_IN,VRS_COST_IN,CRS_REV_OUT 0

#include "BenchData.h"
#include "engine/RunDriver.h"
#include "results/ResultsTable.h"
#include "session/Workspace.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using namespace zelvar;
using Clock = std::chrono::steady_clock;

// The two runs of a priced model show and close the progress in turn: the
// first pair is the radial run.
class PhaseTimes : public ProgressSink {
public:
    void show(int) override { m_start = Clock::now(); }
    void setProgress(int, const std::string &) override {}
    void close() override { phases.push_back(std::chrono::duration<double>(Clock::now() - m_start).count()); }
    std::vector<double> phases;

private:
    Clock::time_point m_start;
};

struct Measured {
    bool ok = false;
    double seconds = 0;
    double radial = 0;
    double priced = 0;
    double peakMB = 0;
    double cpu = 0; // user and system seconds of the child, all threads
    int efficient = 0;
    RunStatistics stats;
};

Measured measure(int numDMU, const std::string &model, int threads)
{
    const bench::ChildRun run = bench::runInChild([&] {
        Workspace workspace;
        bench::setUpPricedRun(workspace, numDMU, model, threads);
        SelectionSet eval(numDMU, true);
        SelectionSet tech(numDMU, true);
        bench::StderrFeedback feedback;
        ResultsTable table(workspace.data, workspace.options, workspace.format);
        RunDriver driver(workspace);
        PhaseTimes progress;
        const auto start = Clock::now();
        const RunOutcome outcome = driver.RunModel(eval, tech, table, progress, feedback);
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        int efficient = 0;
        for (int d = 1; d <= numDMU; ++d)
            efficient += driver.store().Efficient[static_cast<std::size_t>(d)] ? 1 : 0;
        const RunStatistics &s = driver.statistics();
        std::ostringstream line;
        line.precision(17);
        line << (outcome == RunOutcome::Completed && progress.phases.size() == 2 ? 1 : 0) << " " << seconds << " "
             << (progress.phases.empty() ? 0.0 : progress.phases.front()) << " "
             << (progress.phases.size() < 2 ? 0.0 : progress.phases.back()) << " " << efficient << " " << s.dmus
             << " " << s.solves << " " << s.iterations << " " << s.finalRows << " " << s.maxFinalRows << " "
             << s.fullLpFallbacks << " " << s.candidateRows << " " << s.threads << "\n";
        return line.str();
    });
    Measured m;
    int ok = 0;
    RunStatistics &s = m.stats;
    std::istringstream in(run.text);
    if (in >> ok >> m.seconds >> m.radial >> m.priced >> m.efficient >> s.dmus >> s.solves >> s.iterations
        >> s.finalRows >> s.maxFinalRows >> s.fullLpFallbacks >> s.candidateRows >> s.threads)
        m.ok = ok == 1;
    m.peakMB = run.peakMB();
    m.cpu = run.cpuSeconds;
    return m;
}

} // namespace

int main(int argc, char **argv)
{
    const std::vector<std::string> sizes = bench::split(argc > 1 ? argv[1] : "100000");
    const std::vector<std::string> models = bench::split(argc > 2 ? argv[2] : "CRS_COST_IN,VRS_COST_IN");
    const int threads = argc > 3 ? std::atoi(argv[3]) : 0;
    std::printf("%d inputs, %d outputs, log-normal data and prices per DMU, seed %u; %u cores; threads %s.\n",
                bench::Inputs, bench::Outputs, bench::Seed, std::thread::hardware_concurrency(),
                threads == 0 ? "one per core" : std::to_string(threads).c_str());
    std::printf("seconds: wall clock, of which radial (the technical run) and priced (the cost or revenue LPs); "
                "cpu: processor seconds of all threads, less inflated by other work on the machine; "
                "iter/DMU and rows (mean/max) of the priced restricted LPs.\n");
    std::printf("%-7s %-12s %8s %8s %8s %8s %8s %9s %9s %7s %7s %10s\n", "DMUs", "model", "seconds", "radial",
                "priced", "cpu", "peak MB", "iter/DMU", "rows", "max", "full", "efficient");
    for (const std::string &size : sizes) {
        const int numDMU = std::atoi(size.c_str());
        for (const std::string &model : models) {
            const Measured m = measure(numDMU, model, threads);
            const double dmus = std::max<double>(1.0, static_cast<double>(m.stats.dmus));
            std::printf("%-7d %-12s %8.1f %8.1f %8.1f %8.1f %8.0f %9.1f %9.1f %7lld %7lld %10d%s\n", numDMU,
                        model.c_str(), m.seconds, m.radial, m.priced, m.cpu, m.peakMB,
                        static_cast<double>(m.stats.iterations) / dmus,
                        static_cast<double>(m.stats.finalRows) / dmus, m.stats.maxFinalRows,
                        m.stats.fullLpFallbacks, m.efficient, m.ok ? "" : "  (run did not complete)");
            std::fflush(stdout);
        }
    }
    return 0;
}
