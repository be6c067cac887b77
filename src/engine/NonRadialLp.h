#pragma once

#include <cstdint>
#include <vector>

namespace zelvar {

struct DataSet;
struct LpProblem;
struct ModelOptions;
struct Technology;

// Fills lp with the non-radial efficiency LP of DMU d in the multiplier form:
// "ADD" (sum of slacks) or, for any other distance, the average of the
// relative slacks ("MAXAV", and each single-variable LP of "MINAV"). Every
// technology DMU keeps its at-most row, d's own included, so the optimum is
// never negative and is 0 exactly when d is efficient. The weights are held
// away from zero by lower bounds on the discretionary variables the
// orientation acts on.
//
// Needs: technology set up for d (d belongs to it) and lp sized by
// Technology::setupTechnology. inputNonDisc and outputNonDisc (indexed from
// 1, 1 = non-discretionary) say which variables are discretionary; the
// overload without them takes the marks of the data set.
void buildNonRadialLp(int d, const DataSet &data, const ModelOptions &options,
                      const Technology &technology, const std::vector<std::int16_t> &inputNonDisc,
                      const std::vector<std::int16_t> &outputNonDisc, LpProblem &lp);
void buildNonRadialLp(int d, const DataSet &data, const ModelOptions &options,
                      const Technology &technology, LpProblem &lp);

} // namespace zelvar
