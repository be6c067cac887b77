#pragma once

namespace zelvar {

struct DataSet;
struct LpProblem;
struct ModelOptions;
struct Technology;

// Fills lp with the radial efficiency LP of DMU d in the multiplier form
// (columns: input weights, output weights, scale variable unless "CRS"; rows:
// the technology DMUs, then the weight restrictions). DMU d's own row becomes
// the normalisation (equality) row, so d is measured against the other
// technology DMUs only and frontier DMUs can score beyond 1 (superefficiency).
//
// Needs: technology set up for d (d belongs to it) and lp sized by
// Technology::setupTechnology. Orientation "IN", "OUT" or "NON" and the
// non-discretionary marks of data decide the objective and the normalisation.
// The data set is not changed: d's row is written from a copy of its values.
void buildRadialLp(int d, const DataSet &data, const ModelOptions &options,
                   const Technology &technology, LpProblem &lp);

} // namespace zelvar
