#pragma once

#include "data/DataSet.h"
#include "data/Feedback.h"
#include "engine/LpProblem.h"
#include "engine/ResultStore.h"
#include "engine/RunSinks.h"
#include "session/SelectionSet.h"

#include <functional>
#include <string>
#include <vector>

namespace zelvar::test {

// One DMU's data: inputs, then outputs.
struct Unit {
    std::vector<double> x;
    std::vector<double> y;
};

// A data set of the given DMUs named "    D1", "    D2", ...; the marks say
// which inputs / outputs (1-based) are non-discretionary.
DataSet makeData(const std::vector<Unit> &units, const std::vector<int> &ndInputs = {},
                 const std::vector<int> &ndOutputs = {});

// Adds a weight restriction table with the given rows (each one coefficient
// per input and output weight) from file `file`.
void addWeights(DataSet &data, const std::vector<std::vector<double>> &rows,
                const std::string &file = "weights.txt");

// A selection of count DMUs with exactly the listed DMUs selected.
SelectionSet selection(int count, const std::vector<int> &dmus);

// Feedback that records every text and answers confirm() as told.
class RecordingFeedback : public Feedback {
public:
    void message(const std::string &text) override { messages.push_back(text); }
    bool confirm(const std::string &text) override
    {
        confirms.push_back(text);
        return confirmAnswer;
    }
    std::vector<std::string> messages;
    std::vector<std::string> confirms;
    bool confirmAnswer = true;
};

// Records the progress calls as text ("show 3", "progress 1 33% completed.",
// "repaint", "close"); asks to stop once `cancelAfter` progress updates were made.
class RecordingProgress : public ProgressSink {
public:
    void show(int maximum) override { events.push_back("show " + std::to_string(maximum)); }
    void setProgress(int value, const std::string &text) override
    {
        ++updates;
        events.push_back("progress " + std::to_string(value) + " " + text);
    }
    void repaint() override { events.push_back("repaint"); }
    bool cancelRequested() const override { return cancelAfter >= 0 && updates >= cancelAfter; }
    void close() override { events.push_back("close"); }

    std::vector<std::string> events;
    int updates = 0;
    int cancelAfter = -1;
};

// What a results table saw of one evaluated DMU when its row was filled.
struct RowSeen {
    int d = 0;
    std::string name;
    double score = 0.0;
    bool efficient = false;
    bool noFiniteOptimum = false;
    bool noScore = false;
    std::string benchmarks;
    std::vector<double> primal;
    std::vector<double> dual;
    std::vector<std::int32_t> status;
    std::int32_t dominatingCount = 0;
    std::string dominatingList;
    bool techSelected = false; // d in the technology while its row is filled
};

// Records the fill calls in order ("redraw off", "Showresults 2", ...) and a
// copy of what each row could read.
class RecordingResults : public ResultsSink {
public:
    void setRedraw(bool on) override { calls.push_back(on ? "redraw on" : "redraw off"); }
    void Showresults(int d, const RunView &run, const LpProblem &lp) override;
    void ShowFDHresults(int d, const RunView &run) override;
    void ShowReferences(const RunView &run) override;
    void WriteNonevaluated(const RunView &run) override;

    // The row of DMU d; fails the test when there is none.
    const RowSeen &row(int d) const;
    bool hasRow(int d) const;

    std::vector<std::string> calls;
    std::vector<RowSeen> rows;
    SelectionSet techAtEnd; // tech as WriteNonevaluated saw it
    std::vector<char> efficientAtEnd;
    std::vector<std::int32_t> referencesAtEnd;
};

// Counts solves and hands each LP to `outcome` (the solve number from 1 and
// the LP); by default the LP is left as it is.
struct ScriptedSolver {
    std::function<void(int, LpProblem &)> outcome;
    int solves = 0;
    std::function<void(LpProblem &)> function()
    {
        return [this](LpProblem &lp) {
            ++solves;
            if (outcome)
                outcome(solves, lp);
        };
    }
};

// Parses a benchmark text " j (lambda)  k (lambda) " into (j, lambda) pairs.
std::vector<std::pair<int, double>> parseBenchmarks(const std::string &text);

// The envelopment form of an efficiency model, solved with CLP directly.
struct EnvelopmentResult {
    bool optimal = false;
    double value = 0.0;
    std::vector<double> lambda; // by DMU number, 0 for DMUs not in the LP
};

// Radial model of DMU d ("IN": min theta, "OUT": max phi, "NON": max theta of
// the simultaneous contraction/expansion) against the DMUs of `reference`
// (d excluded: a DMU never serves as its own reference), with the returns to
// scale on the intensities and the weight restrictions of data when
// `restricted`.
EnvelopmentResult solveRadialEnvelopment(const DataSet &data, int d, const std::vector<int> &reference,
                                         const std::string &orientation, const std::string &rts,
                                         bool restricted = false);

// Non-radial model: max sum of priced slacks against the DMUs of `reference`
// (d included); inputPrice(i) and outputPrice(r) (1-based) price the slacks.
EnvelopmentResult solveSlackEnvelopment(const DataSet &data, int d, const std::vector<int> &reference,
                                        const std::string &rts, const std::vector<double> &inputPrice,
                                        const std::vector<double> &outputPrice,
                                        bool restricted = false);

} // namespace zelvar::test
