#pragma once

// The generated data sets of the benchmarks: log-normal inputs, outputs from
// a noisy Cobb-Douglas frontier with one-sided inefficiency, fixed seed, so
// every benchmark and every build sees the same DMUs.

#include "data/DataSet.h"
#include "data/Feedback.h"
#include "session/ModelNames.h"
#include "session/Workspace.h"

#include <cstdio>

#include <cmath>
#include <functional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace zelvar::bench {

// The shape and seed of every generated benchmark data set.
constexpr int Inputs = 3;
constexpr int Outputs = 2;
constexpr unsigned Seed = 20261206u;

inline std::vector<std::string> split(const std::string &text)
{
    std::vector<std::string> parts;
    std::stringstream in(text);
    std::string part;
    while (std::getline(in, part, ','))
        if (!part.empty())
            parts.push_back(part);
    return parts;
}

inline void generate(DataSet &data, int numDMU, int inputs, int outputs, unsigned seed)
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

// Prices for the generated data, one row per DMU: log-normal around 1 for
// every input and output, so that each DMU's cheapest mix differs.
inline void generatePrices(DataSet &data, unsigned seed)
{
    std::mt19937_64 random(seed);
    std::lognormal_distribution<double> price(0.0, 0.3);
    const int prices = data.NumInputs + data.NumOutputs;
    data.Prices = Matrix(prices, data.NumDMU);
    for (int d = 1; d <= data.NumDMU; ++d)
        for (int c = 1; c <= prices; ++c)
            data.Prices(c, d) = price(random);
    data.PricesFileName = "generated-prices.txt";
    data.PricesName = "generated-prices";
}

// What a run in a child process handed back: the text it wrote and the
// child's peak resident memory.
struct ChildRun {
    std::string text;
    long peakKiB = 0;
    double cpuSeconds = 0; // user and system time of all its threads
    double peakMB() const { return static_cast<double>(peakKiB) / 1024.0; }
};

// Runs `work` in a child process, so that the peak memory measured is that
// run's alone; the text work returns comes back through a pipe.
inline ChildRun runInChild(const std::function<std::string()> &work)
{
    int channel[2];
    if (::pipe(channel) != 0)
        return {};
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        const std::string text = work();
        const bool written = ::write(channel[1], text.data(), text.size()) == static_cast<ssize_t>(text.size());
        ::_exit(written ? 0 : 2);
    }
    ::close(channel[1]);
    ChildRun run;
    char buffer[512];
    for (ssize_t got; (got = ::read(channel[0], buffer, sizeof buffer)) > 0;)
        run.text.append(buffer, static_cast<std::size_t>(got));
    ::close(channel[0]);
    int status = 0;
    rusage usage{};
    ::wait4(child, &status, 0, &usage);
    run.peakKiB = usage.ru_maxrss;
    run.cpuSeconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
        + static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    return run;
}

// Messages of a benchmark run go to standard error; a solver error counts as Cancel.
struct StderrFeedback : Feedback {
    void message(const std::string &text) override { std::fprintf(stderr, "%s\n", text.c_str()); }
    bool confirm(const std::string &text) override
    {
        message(text);
        return false;
    }
};

// The model options of `model` set up as the model dialog would, for the
// data the workspace holds.
inline void setUpModel(Workspace &workspace, const std::string &model, int threads)
{
    workspace.threadCount = threads;
    ModelDialogState &dialog = workspace.modelDialog();
    const std::vector<OptionButton> buttons = buttonsForModelName(model).value();
    for (OptionButton button : buttons)
        dialog.click(button);
    workspace.options.Superefficiency = dialog.chbSuper.checked;
    workspace.options.ModelName = model;
}

// A workspace holding the generated data (3 inputs, 2 outputs, the fixed
// seed) with the model set up as the model dialog would for `model`.
inline void setUpRun(Workspace &workspace, int numDMU, const std::string &model, int threads)
{
    generate(workspace.data, numDMU, Inputs, Outputs, Seed);
    setUpModel(workspace, model, threads);
}

// The same with prices loaded (before the dialog, which shows the priced
// distances only then).
inline void setUpPricedRun(Workspace &workspace, int numDMU, const std::string &model, int threads)
{
    generate(workspace.data, numDMU, Inputs, Outputs, Seed);
    generatePrices(workspace.data, Seed + 1);
    setUpModel(workspace, model, threads);
}

} // namespace zelvar::bench
