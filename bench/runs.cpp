// Times whole model runs on generated data sets: log-normal inputs, outputs
// from a noisy Cobb-Douglas frontier with one-sided inefficiency, fixed seed.
// Each (size, model) pair runs in a child process so that its peak memory
// is its own.
//
//   zelvar-bench-runs [SIZES] [MODELS]
//   zelvar-bench-runs 1000,2000 CRS_RAD_IN,VRS_RAD_IN,CRS_ADD_NON,FDH_RAD_IN

#include "data/Feedback.h"
#include "engine/RunDriver.h"
#include "model/ModelNames.h"
#include "model/Workspace.h"
#include "results/ResultsTable.h"

#include <chrono>
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

std::vector<std::string> split(const std::string &text)
{
    std::vector<std::string> parts;
    std::stringstream in(text);
    std::string part;
    while (std::getline(in, part, ','))
        if (!part.empty())
            parts.push_back(part);
    return parts;
}

void generate(DataSet &data, int numDMU, int inputs, int outputs, unsigned seed)
{
    std::mt19937_64 random(seed);
    std::lognormal_distribution<double> size(0.0, 0.6);
    std::normal_distribution<double> noise(0.0, 0.15);
    std::exponential_distribution<double> inefficiency(4.0);

    data.NumDMU = numDMU;
    data.NumInputs = inputs;
    data.NumOutputs = outputs;
    data.DMUNames.assign(static_cast<std::size_t>(numDMU) + 1, "");
    data.InputNames = {""};
    data.OutputNames = {""};
    data.InputNonDisc.assign(static_cast<std::size_t>(inputs) + 1, 0);
    data.OutputNonDisc.assign(static_cast<std::size_t>(outputs) + 1, 0);
    for (int i = 1; i <= inputs; ++i)
        data.InputNames.push_back("{I}x" + std::to_string(i));
    for (int r = 1; r <= outputs; ++r)
        data.OutputNames.push_back("{O}y" + std::to_string(r));
    data.InputData = Matrix(inputs, numDMU);
    data.OutputData = Matrix(outputs, numDMU);
    for (int d = 1; d <= numDMU; ++d) {
        data.DMUNames[static_cast<std::size_t>(d)] = "    u" + std::to_string(d);
        double logFrontier = 0.0;
        for (int i = 1; i <= inputs; ++i) {
            const double x = 10.0 * size(random);
            data.InputData(i, d) = x;
            logFrontier += std::log(x) * 0.8 / inputs;
        }
        const double efficiency = std::exp(-inefficiency(random));
        for (int r = 1; r <= outputs; ++r)
            data.OutputData(r, d) = std::exp(logFrontier + noise(random)) * efficiency;
    }
    data.DataFileName = "generated.txt";
    data.DataFileStem = "generated";
}

struct Measured {
    double seconds = 0;
    long peakKiB = 0;
    int efficient = 0;
    bool ok = false;
};

Measured runInChild(int numDMU, const std::string &model)
{
    int channel[2];
    if (::pipe(channel) != 0)
        return {};
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        Workspace workspace;
        generate(workspace.data, numDMU, 3, 2, 20261206u);
        ModelDialogState &dialog = workspace.modelDialog();
        const std::vector<OptionButton> buttons = buttonsForModelName(model).value();
        for (OptionButton button : buttons)
            dialog.click(button);
        workspace.options.Superefficiency = dialog.chbSuper.checked;
        workspace.options.ModelName = model;
        SelectionSet eval(numDMU, true);
        SelectionSet tech(numDMU, true);

        struct Quiet : Feedback {
            void message(const std::string &text) override { std::fprintf(stderr, "%s\n", text.c_str()); }
            bool confirm(const std::string &text) override { message(text); return false; }
        } feedback;
        ResultsTable table(workspace.data, workspace.options, workspace.format);
        RunDriver driver(workspace);
        NoProgress progress;
        const auto start = std::chrono::steady_clock::now();
        const RunOutcome outcome = driver.RunModel(eval, tech, table, progress, feedback);
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        int efficient = 0;
        for (int d = 1; d <= numDMU; ++d)
            efficient += driver.store().Efficient[static_cast<std::size_t>(d)] ? 1 : 0;
        const std::string line = std::to_string(seconds) + " " + std::to_string(efficient) + " "
            + (outcome == RunOutcome::Completed ? "1" : "0") + "\n";
        if (::write(channel[1], line.data(), line.size()) < 0)
            ::_exit(2);
        ::_exit(0);
    }
    ::close(channel[1]);
    char buffer[256] = {};
    const ssize_t got = ::read(channel[0], buffer, sizeof buffer - 1);
    ::close(channel[0]);
    int status = 0;
    rusage usage{};
    ::wait4(child, &status, 0, &usage);
    Measured measured;
    int ok = 0;
    if (got > 0 && std::sscanf(buffer, "%lf %d %d", &measured.seconds, &measured.efficient, &ok) == 3)
        measured.ok = ok == 1;
    measured.peakKiB = usage.ru_maxrss;
    return measured;
}

} // namespace

int main(int argc, char **argv)
{
    const std::vector<std::string> sizes = split(argc > 1 ? argv[1] : "1000,2000");
    const std::vector<std::string> models =
        split(argc > 2 ? argv[2] : "CRS_RAD_IN,VRS_RAD_IN,CRS_ADD_NON,FDH_RAD_IN");

    std::printf("%-8s %-12s %10s %10s %10s %10s\n", "DMUs", "model", "seconds", "ms/DMU",
                "peak MB", "efficient");
    for (const std::string &sizeText : sizes) {
        const int numDMU = std::stoi(sizeText);
        for (const std::string &model : models) {
            if (!buttonsForModelName(model)) {
                std::fprintf(stderr, "unknown model %s\n", model.c_str());
                return 1;
            }
            const Measured m = runInChild(numDMU, model);
            std::printf("%-8d %-12s %10.2f %10.3f %10.1f %10d%s\n", numDMU, model.c_str(), m.seconds,
                        1000.0 * m.seconds / numDMU, m.peakKiB / 1024.0, m.efficient,
                        m.ok ? "" : "  (run did not complete)");
            std::fflush(stdout);
        }
    }
    return 0;
}
