// Times FDH runs on generated data sets (the data of the runs benchmark:
// log-normal inputs, outputs from a noisy Cobb-Douglas frontier with
// one-sided inefficiency, fixed seed), results table included. Each run
// goes to a child process so that its peak memory is its own. Besides time
// and peak memory it prints the number of dominating pairs and a hash of
// every cell of the table, so runs with different thread counts (or
// builds) can be compared.
//
//   zelvar-bench-fdh [SIZES] [MODELS] [THREADS]
//   zelvar-bench-fdh 100000 FDH_RAD_IN,FDH_RAD_OUT 1,2

#include "BenchData.h"
#include "data/Feedback.h"
#include "engine/RunDriver.h"
#include "session/ModelNames.h"
#include "session/Workspace.h"
#include "results/ResultsTable.h"

#include <chrono>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <random>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using namespace zelvar;
using bench::generate;
using bench::split;

// FNV-1a over every cell, with the cell and row boundaries, without
// building the table's text (which would double the memory measured).
std::uint64_t tableHash(const TextGrid &grid)
{
    std::uint64_t hash = 14695981039346656037ull;
    auto add = [&hash](unsigned char byte) {
        hash ^= byte;
        hash *= 1099511628211ull;
    };
    for (int row = 0; row < grid.rows(); ++row) {
        for (int col = 0; col < grid.cols(); ++col) {
            for (char c : grid.text(row, col))
                add(static_cast<unsigned char>(c));
            add('\t');
        }
        add('\r');
    }
    return hash;
}

struct Measured {
    double seconds = 0;
    long peakKiB = 0;
    int efficient = 0;
    long long pairs = 0;
    std::uint64_t hash = 0;
    bool ok = false;
};

Measured measure(int numDMU, const std::string &model, int threads)
{
    const bench::ChildRun run = bench::runInChild([&] {
        Workspace workspace;
        bench::setUpRun(workspace, numDMU, model, threads);
        SelectionSet eval(numDMU, true);
        SelectionSet tech(numDMU, true);

        bench::StderrFeedback feedback;
        ResultsTable table(workspace.data, workspace.options, workspace.format);
        RunDriver driver(workspace);
        NoProgress progress;
        const auto start = std::chrono::steady_clock::now();
        const RunOutcome outcome = driver.RunModel(eval, tech, table, progress, feedback);
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        int efficient = 0;
        long long pairs = 0;
        for (int d = 1; d <= numDMU; ++d) {
            efficient += driver.store().Efficient[static_cast<std::size_t>(d)] ? 1 : 0;
            pairs += driver.store().DominatedCount[static_cast<std::size_t>(d)];
        }
        char line[256];
        std::snprintf(line, sizeof line, "%f %d %lld %" PRIu64 " %d\n", seconds, efficient, pairs,
                      tableHash(table.grid()), outcome == RunOutcome::Completed ? 1 : 0);
        return std::string(line);
    });
    Measured measured;
    int ok = 0;
    if (std::sscanf(run.text.c_str(), "%lf %d %lld %" SCNu64 " %d", &measured.seconds, &measured.efficient,
                    &measured.pairs, &measured.hash, &ok)
        == 5)
        measured.ok = ok == 1;
    measured.peakKiB = run.peakKiB;
    return measured;
}

} // namespace

int main(int argc, char **argv)
{
    const std::vector<std::string> sizes = split(argc > 1 ? argv[1] : "100000");
    const std::vector<std::string> models = split(argc > 2 ? argv[2] : "FDH_RAD_IN");
    const std::vector<std::string> threadCounts = split(argc > 3 ? argv[3] : "0");

    std::printf("%-8s %-12s %7s %9s %9s %9s %10s  %s\n", "DMUs", "model", "threads", "seconds",
                "peak MB", "efficient", "pairs", "table hash");
    for (const std::string &sizeText : sizes) {
        const int numDMU = std::stoi(sizeText);
        for (const std::string &model : models) {
            if (!buttonsForModelName(model)) {
                std::fprintf(stderr, "unknown model %s\n", model.c_str());
                return 1;
            }
            for (const std::string &threadText : threadCounts) {
                const int threads = std::stoi(threadText);
                const Measured m = measure(numDMU, model, threads);
                std::printf("%-8d %-12s %7d %9.2f %9.1f %9d %10lld  %016" PRIx64 "%s\n", numDMU,
                            model.c_str(), threads, m.seconds, static_cast<double>(m.peakKiB) / 1024.0, m.efficient, m.pairs,
                            m.hash, m.ok ? "" : "  (run did not complete)");
                std::fflush(stdout);
            }
        }
    }
    return 0;
}
