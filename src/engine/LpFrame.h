#pragma once

#include "engine/LpProblem.h"
#include "engine/Technology.h"

#include <cstdint>
#include <vector>

namespace zelvar {

struct DataSet;
struct ModelOptions;

// Everything of one evaluated DMU's efficiency LP but the rows of the other
// technology DMUs: objective, column bounds, the DMU's own row (the
// normalisation of the radial LP, the own at-most row of the non-radial one)
// and the weight restriction rows. Bounds are in the solver's terms: plain
// lower and upper values, +-infinity (COIN_DBL_MAX) for an open side. Columns
// are 0-based: input weights, output weights, then u0 unless "CRS".
struct LpFrame {
    int columns = 0;
    std::vector<double> objective;
    std::vector<double> columnLower;
    std::vector<double> columnUpper;
    std::vector<double> ownRow; // coefficient of each column on d's row
    double ownLower = 0.0;
    double ownUpper = 0.0;
    // Restriction rows, row after row (columns values each), and their bounds.
    std::vector<double> restrictionRows;
    std::vector<double> restrictionLower;
    std::vector<double> restrictionUpper;
    // Coefficient of u0 on the row of every other technology DMU (0 under "CRS").
    double scaleCoefficient = 0.0;
};

// Makes LP frames with the radial and non-radial builders themselves, run on
// a technology of the evaluated DMU alone, so the frame is exactly what the
// full LP has besides the other DMUs' rows. One builder per thread.
class LpFrameBuilder {
public:
    LpFrameBuilder(const DataSet &data, const ModelOptions &options);

    // The frame of d's LP: radial when options.Distance is "RAD", else
    // non-radial with the given non-discretionary marks (those of the data
    // set when null).
    void build(int d, LpFrame &frame, const std::vector<std::int16_t> *inputNonDisc = nullptr,
               const std::vector<std::int16_t> *outputNonDisc = nullptr);

private:
    const DataSet &m_data;
    const ModelOptions &m_options;
    bool m_radial;
    int m_weightNonzeros = 0;
    Technology m_single;
    LpProblem m_lp;
};

} // namespace zelvar
