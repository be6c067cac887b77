// How run time and memory grow with the number of DMUs and of dimensions,
// the way zelvar-batch runs a model: the run, its results table, and the
// table written out row by row (here to /dev/null). Generated data as in the
// other benchmarks (log-normal inputs, outputs a noisy Cobb-Douglas of them,
// fixed seed). Each run goes to a child process so that its peak memory is
// its own.
//
//   zelvar-bench-growth          10,000 and 100,000 DMUs; dimensions at 10,000
//   zelvar-bench-growth --full   also 1,000,000 DMUs; dimensions at 100,000
//   zelvar-bench-growth DMUS INPUTS OUTPUTS MODEL    one run
//
// Threads: one per core.

#include "BenchData.h"
#include "engine/RunDriver.h"
#include "results/ResultsFile.h"
#include "results/ResultsTable.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

using namespace zelvar;

struct Measured {
    double seconds = 0;
    double peakMB = 0;
    bool completed = false;
};

// One whole run of `model` on numDMU generated DMUs with the given numbers
// of inputs and outputs, in a child process.
Measured measure(int numDMU, int inputs, int outputs, const std::string &model)
{
    const bench::ChildRun run = bench::runInChild([&] {
        Workspace workspace;
        bench::generate(workspace.data, numDMU, inputs, outputs, bench::Seed);
        bench::setUpModel(workspace, model, 0);
        SelectionSet eval(numDMU, true);
        SelectionSet tech(numDMU, true);
        bench::StderrFeedback feedback;
        NoProgress progress;
        const auto start = std::chrono::steady_clock::now();
        ResultsTable table(workspace.data, workspace.options, workspace.format);
        RunDriver driver(workspace);
        const bool completed = driver.RunModel(eval, tech, table, progress, feedback) == RunOutcome::Completed;
        std::ofstream sink("/dev/null", std::ios::binary);
        writeResultsText(table.grid(), sink);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        return std::to_string(seconds) + " " + (completed ? "1" : "0") + "\n";
    });
    Measured m;
    int completed = 0;
    if (std::sscanf(run.text.c_str(), "%lf %d", &m.seconds, &completed) == 2)
        m.completed = completed == 1;
    m.peakMB = run.peakMB();
    return m;
}

void printRow(int numDMU, int inputs, int outputs, const std::string &model)
{
    const Measured m = measure(numDMU, inputs, outputs, model);
    std::printf("| %9d | %d+%d | %-11s | %8.1f | %7.0f |%s\n", numDMU, inputs, outputs, model.c_str(), m.seconds,
                m.peakMB, m.completed ? "" : " run did not complete");
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 5) {
        std::printf("| DMUs | in+out | model | seconds | peak MB |\n|---:|:---:|---|---:|---:|\n");
        printRow(std::atoi(argv[1]), std::atoi(argv[2]), std::atoi(argv[3]), argv[4]);
        return 0;
    }
    const bool full = argc > 1 && std::strcmp(argv[1], "--full") == 0;
    std::printf("Whole runs with the table written out, one thread per core (%ld cores)%s.\n\n",
                ::sysconf(_SC_NPROCESSORS_ONLN), full ? "" : "; --full adds 1,000,000 DMUs");
    std::printf("| DMUs | in+out | model | seconds | peak MB |\n|---:|:---:|---|---:|---:|\n");
    std::vector<int> sizes{10000, 100000};
    if (full)
        sizes.push_back(1000000);
    for (const char *model : {"CRS_RAD_IN", "VRS_RAD_IN"})
        for (int numDMU : sizes)
            printRow(numDMU, bench::Inputs, bench::Outputs, model);
    const int dimensionSize = full ? 100000 : 10000;
    for (int k = 2; k <= 5; ++k)
        printRow(dimensionSize, k, k, "CRS_RAD_IN");
    printRow(100000, bench::Inputs, bench::Outputs, "FDH_RAD_IN");
    return 0;
}
