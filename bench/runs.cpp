// Times whole model runs on generated data sets: log-normal inputs, outputs
// from a noisy Cobb-Douglas frontier with one-sided inefficiency, fixed seed.
// Each (size, model) pair runs in a child process so that its peak memory is
// its own. LP runs also report what the restricted LPs cost: LPs and simplex
// iterations per DMU and rows in the final restricted LP.
//
// Then the peer baseline: bench/scipy_baseline.py (one scipy linprog per DMU
// on the envelopment form) on the same data at PEER_SIZE DMUs, evaluated for
// the first PEER_SAMPLE DMUs and extrapolated per DMU to all of them, next to
// our whole run on that data; its scores are compared with ours on the sample.
// It needs /usr/bin/python3 with scipy and is skipped without.
//
//   zelvar-bench-runs [SIZES] [MODELS] [THREADS] [PEER_SIZE] [PEER_SAMPLE]
//   zelvar-bench-runs 10000,100000 CRS_RAD_IN,VRS_RAD_IN,CRS_ADD_NON,FDH_RAD_IN 0 5000 200
//
// THREADS 0 = one per core. A PEER_SIZE of 0 skips the baseline.

#include "data/Feedback.h"
#include "BenchData.h"
#include "engine/RunDriver.h"
#include "session/ModelNames.h"
#include "session/Workspace.h"
#include "results/ResultsTable.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using namespace zelvar;
using bench::generate;
using bench::split;

using bench::Inputs;
using bench::Outputs;
using bench::Seed;

struct Measured {
    double seconds = 0;
    double peakMB = 0;
    int efficient = 0;
    bool ok = false;
    RunStatistics stats;
};

// One run in a child process; `scoresPath` (when not empty) receives the
// scores, one line per DMU, "big" for no finite optimum.
Measured measure(int numDMU, const std::string &model, int threads, const std::string &scoresPath)
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
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        int efficient = 0;
        for (int d = 1; d <= numDMU; ++d)
            efficient += driver.store().Efficient[static_cast<std::size_t>(d)] ? 1 : 0;
        if (!scoresPath.empty()) {
            std::ofstream out(scoresPath);
            out.precision(17);
            for (int d = 1; d <= numDMU; ++d) {
                const auto dd = static_cast<std::size_t>(d);
                if (driver.store().NoFiniteOptimum[dd])
                    out << "big\n";
                else
                    out << driver.store().Score[dd] << "\n";
            }
        }
        const RunStatistics &s = driver.statistics();
        std::ostringstream line;
        line.precision(17);
        line << seconds << " " << efficient << " " << (outcome == RunOutcome::Completed ? 1 : 0) << " " << s.dmus
             << " " << s.lps << " " << s.solves << " " << s.iterations << " " << s.finalRows << " "
             << s.maxFinalRows << " " << s.fullLpFallbacks << " " << s.technologyRows << " " << s.candidateRows << " " << s.frameRows << " " << s.frameSeconds
             << " " << s.threads << " " << s.fullLpTieBreaks << "\n";
        return line.str();
    });
    Measured m;
    std::istringstream in(run.text);
    int ok = 0;
    RunStatistics &s = m.stats;
    if (in >> m.seconds >> m.efficient >> ok >> s.dmus >> s.lps >> s.solves >> s.iterations >> s.finalRows
        >> s.maxFinalRows >> s.fullLpFallbacks >> s.technologyRows >> s.candidateRows >> s.frameRows >> s.frameSeconds >> s.threads
        >> s.fullLpTieBreaks)
        m.ok = ok == 1;
    m.peakMB = run.peakMB();
    return m;
}

void printHeader()
{
    std::printf("%-7s %-12s %8s %8s %8s %6s %7s %8s %9s %9s %7s %6s\n", "DMUs", "model", "seconds", "ms/DMU",
                "peak MB", "eff.", "thr.", "LPs/DMU", "solves/LP", "iter/DMU", "rows", "maxrow");
}

void printRow(int numDMU, const std::string &model, const Measured &m)
{
    const RunStatistics &s = m.stats;
    std::printf("%-7d %-12s %8.2f %8.3f %8.1f %6d", numDMU, model.c_str(), m.seconds, 1000.0 * m.seconds / numDMU,
                m.peakMB, m.efficient);
    if (s.dmus > 0) {
        const auto dmus = static_cast<double>(s.dmus);
        const auto lps = static_cast<double>(std::max(1LL, s.lps));
        std::printf(" %7d %8.2f %9.2f %9.1f %7.1f %6lld", s.threads, static_cast<double>(s.lps) / dmus,
                    static_cast<double>(s.solves) / lps, static_cast<double>(s.iterations) / dmus,
                    static_cast<double>(s.finalRows) / lps, s.maxFinalRows);
    }
    std::printf("%s\n", m.ok ? "" : "  (run did not complete)");
    if (s.dmus > 0)
        std::printf("        %d technology rows, %d candidates (undominated), %d in the frame (%.1f s); full LPs: %lld "
                    "after solver failures, %lld for flags on a tie\n",
                    s.technologyRows, s.candidateRows, s.frameRows, s.frameSeconds, s.fullLpFallbacks, s.fullLpTieBreaks);
    std::fflush(stdout);
}

std::vector<std::string> readLines(const std::string &path)
{
    std::vector<std::string> lines;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

bool scipyAvailable()
{
    return std::system("/usr/bin/python3 -c 'import scipy.optimize' >/dev/null 2>&1") == 0;
}

// The peer baseline at numDMU DMUs, sample of them evaluated by scipy.
void peerBaseline(int numDMU, int sample, const std::vector<std::string> &models, int threads)
{
    std::printf("\nPeer baseline: scipy.optimize.linprog(method=\"highs\"), envelopment form, one LP per DMU, "
                "%d DMUs; scipy evaluates the first %d and its time is extrapolated per DMU to all %d.\n"
                "Ours: the whole run, best of 3; scipy: best of 2. Scores compared on scipy's sample.\n",
                numDMU, sample, numDMU);
    if (!scipyAvailable()) {
        std::printf("skipped: /usr/bin/python3 has no scipy (Debian: apt-get install python3-scipy)\n");
        return;
    }
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("zelvar-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string csv = (dir / "data.csv").string();
    {
        DataSet data;
        generate(data, numDMU, Inputs, Outputs, Seed);
        std::ofstream out(csv);
        out.precision(17);
        out << "x1,x2,x3,y1,y2\n";
        for (int d = 1; d <= numDMU; ++d) {
            for (int i = 1; i <= Inputs; ++i)
                out << data.InputData(i, d) << ",";
            for (int r = 1; r <= Outputs; ++r)
                out << data.OutputData(r, d) << (r < Outputs ? "," : "\n");
        }
    }
    // The script lies beside this source file.
    const std::string script = (std::filesystem::path(__FILE__).parent_path() / "scipy_baseline.py").string();
    std::printf("%-12s %10s %12s %12s %10s %12s %14s\n", "model", "ours s", "scipy ms/DMU", "scipy s (ext.)",
                "ratio", "max |diff|", "scores compared");
    for (const std::string &model : models) {
        // Best of three runs of ours and of two of the baseline: the machine's
        // other work counts for neither.
        const std::string ours = (dir / (model + ".ours")).string();
        Measured m = measure(numDMU, model, threads, ours);
        for (int again = 0; again < 2; ++again)
            m.seconds = std::min(m.seconds, measure(numDMU, model, threads, "").seconds);
        const std::string command = "/usr/bin/python3 " + script + " " + csv + " " + model + " "
            + std::to_string(sample) + " > " + (dir / "peer.txt").string();
        int evaluated = 0;
        double msPerDmu = 0.0;
        bool failed = false;
        for (int round = 0; round < 2 && !failed; ++round) {
            if (std::system(command.c_str()) != 0) {
                failed = true;
                break;
            }
            // "MODEL DMUS SAMPLE SECONDS MS_PER_DMU"
            std::istringstream peer(readLines((dir / "peer.txt").string()).at(0));
            std::string name;
            int dmus = 0;
            double seconds = 0.0;
            double perDmu = 0.0;
            peer >> name >> dmus >> evaluated >> seconds >> perDmu;
            msPerDmu = round == 0 ? perDmu : std::min(msPerDmu, perDmu);
        }
        if (failed) {
            std::printf("%-12s scipy baseline failed\n", model.c_str());
            continue;
        }
        const double extrapolated = msPerDmu * numDMU / 1000.0;

        const std::vector<std::string> ourScores = readLines(ours);
        const std::vector<std::string> peerScores = readLines(csv + "." + model + ".scores");
        double maxDiff = 0.0;
        int compared = 0;
        int disagreements = 0;
        for (std::size_t k = 0; k < peerScores.size() && k < ourScores.size(); ++k) {
            const bool ourBig = ourScores[k] == "big";
            const bool peerBig = peerScores[k] == "big";
            if (ourBig || peerBig) {
                disagreements += ourBig != peerBig ? 1 : 0;
                continue;
            }
            maxDiff = std::max(maxDiff, std::fabs(std::stod(ourScores[k]) - std::stod(peerScores[k])));
            ++compared;
        }
        std::printf("%-12s %10.3f %12.3f %12.1f %9.0fx %12.2e %9d of %d%s\n", model.c_str(), m.seconds, msPerDmu,
                    extrapolated, extrapolated / std::max(m.seconds, 1e-9), maxDiff, compared, evaluated,
                    disagreements > 0 ? ("  " + std::to_string(disagreements) + " disagree on \"big\"").c_str() : "");
        std::fflush(stdout);
    }
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
}

} // namespace

int main(int argc, char **argv)
{
    const std::vector<std::string> sizes = split(argc > 1 ? argv[1] : "10000,100000");
    const std::vector<std::string> models =
        split(argc > 2 ? argv[2] : "CRS_RAD_IN,VRS_RAD_IN,CRS_ADD_NON,FDH_RAD_IN");
    const int threads = argc > 3 ? std::atoi(argv[3]) : 0;
    const int peerSize = argc > 4 ? std::atoi(argv[4]) : 5000;
    const int peerSample = argc > 5 ? std::atoi(argv[5]) : 200;
    for (const std::string &model : models)
        if (!buttonsForModelName(model)) {
            std::fprintf(stderr, "unknown model %s\n", model.c_str());
            return 1;
        }

    std::printf("%d inputs, %d outputs, log-normal data, seed %u; %u cores; threads %s.\n", Inputs, Outputs, Seed,
                std::thread::hardware_concurrency(), threads > 0 ? std::to_string(threads).c_str() : "one per core");
    std::printf("LPs/DMU: LPs per evaluated DMU; solves/LP: solver calls per LP (re-solves after adding rows); "
                "iter/DMU: simplex iterations; rows: technology rows in the final restricted LP (mean, max).\n\n");
    printHeader();
    for (const std::string &sizeText : sizes) {
        const int numDMU = std::stoi(sizeText);
        for (const std::string &model : models)
            printRow(numDMU, model, measure(numDMU, model, threads, ""));
    }
    if (peerSize > 0)
        peerBaseline(peerSize, peerSample, models, threads);
    return 0;
}
