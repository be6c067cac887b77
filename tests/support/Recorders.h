#pragma once

#include "data/Feedback.h"
#include "engine/LpProblem.h"
#include "engine/RunSinks.h"
#include "session/SelectionSet.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace zelvar::test {

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
    void repaint() override
    {
        ++repaints;
        events.push_back("repaint");
    }
    bool cancelRequested() const override
    {
        return (cancelAfter >= 0 && updates >= cancelAfter)
            || (cancelAfterRepaints >= 0 && repaints >= cancelAfterRepaints);
    }
    void close() override { events.push_back("close"); }

    std::vector<std::string> events;
    int updates = 0;
    int repaints = 0;
    int cancelAfter = -1;
    int cancelAfterRepaints = -1;
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

    // The calls of a run that filled the rows of `shown` in this order.
    static std::vector<std::string> callsFor(const std::vector<int> &shown, const std::string &fill = "Showresults");
    // The row of DMU d; fails the test when there is none.
    const RowSeen &row(int d) const;
    bool hasRow(int d) const;

    std::vector<std::string> calls;
    std::vector<RowSeen> rows;
    // Whether a row keeps the LP's arrays (primal, dual, status); a run of
    // many DMUs that checks only their scores leaves them.
    bool keepLp = true;
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

} // namespace zelvar::test
