#pragma once

#include "data/DataSet.h"
#include "engine/RunDriver.h"
#include "engine/RunSinks.h"
#include "session/ModelOptions.h"

#include <optional>
#include <string>
#include <vector>

namespace zelvar::test {

// Loads prices into data: each row one price per input, then per output;
// one row for every DMU, or one row per DMU.
void addPrices(DataSet &data, const std::vector<std::vector<double>> &rows, const std::string &file = "prices.txt");

// n DMUs from a fixed seed: log-normal inputs (the third one
// non-discretionary), two outputs from a noisy frontier below them, and one
// row of prices per DMU (every price positive).
DataSet randomPricedData(int n, unsigned seed);

// What a cost or revenue table row holds, as numbers.
struct PricedRow {
    bool shown = false;
    bool big = false;
    std::optional<double> score; // none: empty cell or "big"
    std::optional<double> technical;
    bool technicalBig = false;
    std::optional<double> allocative;
    std::vector<std::optional<double>> quantities; // 1..m (cost) or 1..s (revenue)
    std::string benchmarks;
    bool efficient = false;
    std::string name;
};

// Records the rows of a priced run as numbers, by DMU number.
class PricedRows : public ResultsSink {
public:
    void setRedraw(bool) override {}
    void Showresults(int, const RunView &, const LpProblem &) override {}
    void ShowFDHresults(int, const RunView &) override {}
    void showPriceResults(int d, const RunView &run) override;
    void ShowReferences(const RunView &run) override;
    void WriteNonevaluated(const RunView &) override {}

    std::vector<PricedRow> rows;
};

// The cost (distance COST, input side) or revenue (REV, output side) model
// of the given returns to scale, as Start leaves the options.
ModelOptions pricedOptions(ModelDistance distance, ModelReturns returns);

// The cost or revenue model in its envelopment form, solved with CLP
// directly: minimise the cost of explicit input quantities x (maximise the
// revenue of output quantities y) over intensities on the DMUs of
// `reference`, at DMU d's prices, non-discretionary variables held at d's
// values.
struct PricedEnvelopment {
    bool optimal = false;
    double value = 0.0;             // minimal cost or maximal revenue
    std::vector<double> quantities; // 1..m (cost) or 1..s (revenue); the observed value where non-discretionary
    std::vector<double> lambda;     // by DMU number
};
PricedEnvelopment solvePricedEnvelopment(const DataSet &data, int d, const std::vector<int> &reference,
                                         ModelDistance distance, ModelReturns returns);

} // namespace zelvar::test
