#pragma once

#include "engine/RunSinks.h"
#include "results/TextGrid.h"

namespace zelvar {

struct DataSet;
struct DisplayFormat;
struct ModelOptions;

// The results table of one run: laid out when created from the model
// options, data set and display format as they are then, and filled by the
// run through the four fill operations. Later changes of options or
// settings do not touch it.
class ResultsTable : public ResultsSink {
public:
    ResultsTable(const DataSet &data, const ModelOptions &options, const DisplayFormat &format);

    TextGrid &grid() { return m_grid; }
    const TextGrid &grid() const { return m_grid; }

    void setRedraw(bool on) override { m_grid.setRedraw(on); }
    void Showresults(int d, const RunView &run, const LpProblem &lp) override;
    void ShowFDHresults(int d, const RunView &run) override;
    void ShowReferences(const RunView &run) override;
    void WriteNonevaluated(const RunView &run) override;

private:
    TextGrid m_grid;
    bool m_fdh = false;
};

} // namespace zelvar
