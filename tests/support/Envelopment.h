#pragma once

#include "data/DataSet.h"
#include "session/ModelOptions.h"
#include "support/Recorders.h"

#include <string>
#include <vector>

namespace zelvar::test {

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

// The projection check of an inefficient DMU's row (benchmarks written with
// 8 decimals): its benchmarks' intensities, for the non-radial models its own
// row's intensity too, plus the restriction duals and the slacks, rebuild its
// inputs and outputs, scaled by the score on the side(s) a radial model
// scales; the intensities add up as the returns to scale demand. lpDmus are
// the DMUs of its LP in row order (the technology with d in it).
void expectProjection(const DataSet &data, const ModelOptions &options, const RowSeen &row,
                      const std::vector<int> &lpDmus);

} // namespace zelvar::test
