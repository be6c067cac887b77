#pragma once

namespace zelvar {

class TextGrid;
struct DataSet;
struct DisplayFormat;
struct ModelOptions;
struct RunView;

// The columns of the results table of a cost or revenue run: DMU, Score,
// Technical, Allocative, then "{*}" and the header of each input (cost: the
// cost-minimising quantities) or output (revenue: the revenue-maximising
// ones), then Benchmarks (the DMUs of the optimal plan with their
// intensities). Score, Technical and Allocative are percentages with the
// score decimals ("big" where the LP had no finite optimum, empty where a
// score does not exist), quantities have the slack decimals.
class PriceColumns {
public:
    static void layOut(TextGrid &grid, const DataSet &data, const ModelOptions &options, const DisplayFormat &format);
    // Column of the benchmarks, after the quantities.
    static int benchmarksColumn(const DataSet &data, const ModelOptions &options);
    // The quantity columns: the discretionary and non-discretionary inputs
    // (cost) or outputs (revenue).
    static int quantityCount(const DataSet &data, const ModelOptions &options);
};

} // namespace zelvar
