#pragma once

#include <vector>

namespace zelvar {

struct DataSet;
struct LpProblem;
struct Technology;

// Writes the input and output weight columns of an efficiency LP in the
// multiplier form, column by column from entry 1 of lp.RowIndex/ColValue:
// column i holds -x(i,j) on the row of each technology DMU j with a nonzero
// value, column NumInputs + r holds +y(r,j); each column then holds its
// nonzero coefficients on the restriction rows NumTech + k (technology.WeightRows
// of them, none when weights are not restricted).
// On the row of DMU d the values ownInputs(i) and ownOutputs(r) (indexed from
// 1) stand in for d's data, which lets the radial LP turn that row into its
// normalisation. Sets ColCount of the weight columns and returns the number
// of entries written. lp.RowIndex and lp.ColValue must have room for them.
int writeWeightColumns(const DataSet &data, const Technology &technology, int d,
                       const std::vector<double> &ownInputs, const std::vector<double> &ownOutputs,
                       LpProblem &lp);

} // namespace zelvar
