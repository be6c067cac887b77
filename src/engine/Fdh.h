#pragma once

#include <string>

namespace zelvar {

struct DataSet;
struct ModelOptions;
struct ResultStore;
class SelectionSet;

// Explanations left in Benchmarks(d) when a dominated DMU has no radial FDH
// score: with no positive input (input orientation) or output (output
// orientation) there is no ratio by which a dominating DMU improves on it.
inline const std::string FdhNoPositiveInput = "no score: no positive input";
inline const std::string FdhNoPositiveOutput = "no score: no positive output";

// Free disposal hull evaluation of DMU d by pairwise comparison, without LP.
// A technology DMU j (selected in tech, j != d; d itself need not belong to
// tech) dominates d when it uses no more of every input and makes no less of
// every output; comparisons are exact, so a duplicate of d dominates it.
//
// Writes Dominators(d) (ascending), DominatingCount and DominatingList ("  j"
// per dominating DMU), and: an undominated d is Efficient with Score 1; a
// dominated d gets the best radial factor a single dominating DMU offers
// (input orientation "IN": the smallest largest input ratio, at most 1; any
// other orientation: the largest smallest output ratio, at least 1), the
// DMUs reaching it as benchmarks and their ReferenceCount raised by one.
// A dominated d without a positive input (or output) has no such factor: it
// gets NoScore(d), Score 0, the explanation above and no benchmarks.
// Needs the store allocated for an FDH run with Efficient(d) cleared.
void EvaluateFDH(int d, const DataSet &data, const ModelOptions &options, const SelectionSet &tech,
                 ResultStore &store);

// After the DMU loop: DominatedCount(j) and DominatedList(j) ("  d" per
// evaluated DMU d that j dominates, ascending) from the Dominators lists.
void buildDominatedLists(int numDMU, ResultStore &store);

} // namespace zelvar
