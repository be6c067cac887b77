#pragma once

#include <string>
#include <string_view>

namespace zelvar {

struct DataSet;
struct DisplayFormat;
struct LpProblem;
struct ModelOptions;
struct ResultStore;
class SelectionSet;

// Everything a results table reads while a run fills it.
struct RunView {
    const DataSet &data;
    const ModelOptions &options;
    const DisplayFormat &format;
    const ResultStore &store;
    const SelectionSet &eval;
    const SelectionSet &tech;
    std::string_view decimalSeparator;
};

// The results table of one run, as the engine sees it: four fill operations
// and a redraw switch. The desktop window and the batch tool both implement it.
class ResultsSink {
public:
    virtual ~ResultsSink() = default;

    virtual void setRedraw(bool on) = 0;
    // Row of evaluated DMU d of an LP model, right after its solve: lp holds
    // d's solution (Primal, Dual) and is not changed.
    virtual void Showresults(int d, const RunView &run, const LpProblem &lp) = 0;
    // Row of evaluated DMU d of an FDH run, while store.DominatingCount
    // still describes d; store.DominanceLists forms the run's lists.
    virtual void ShowFDHresults(int d, const RunView &run) = 0;
    // Row of evaluated DMU d of a cost or revenue run, while
    // store.PricedQuantities still describes d. Tables of other runs have
    // nothing to do here.
    virtual void showPriceResults(int /*d*/, const RunView & /*run*/) {}
    // Once at the end: benchmark and reference cells, highlights.
    virtual void ShowReferences(const RunView &run) = 0;
    // Once at the end, after ShowReferences: rows of technology-only DMUs.
    virtual void WriteNonevaluated(const RunView &run) = 0;
};

// The progress window of a run.
class ProgressSink {
public:
    virtual ~ProgressSink() = default;

    virtual void show(int maximum) = 0;
    // value DMUs done; text like "40% completed."
    virtual void setProgress(int value, const std::string &text) = 0;
    // Called once per DMU; a window repaints and lets the user act here.
    virtual void repaint() {}
    // True once the user asked to stop; the run then ends as after a solver failure.
    virtual bool cancelRequested() const { return false; }
    virtual void close() = 0;
};

// A progress sink that shows nothing.
class NoProgress : public ProgressSink {
public:
    void show(int) override {}
    void setProgress(int, const std::string &) override {}
    void close() override {}
};

} // namespace zelvar
