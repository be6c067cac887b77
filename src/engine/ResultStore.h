#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zelvar {

class FdhLists;

// What one run leaves for its results table, by DMU number (index 0 unused).
struct ResultStore {
    std::vector<double> Score;
    std::vector<char> Efficient;
    std::vector<std::string> Benchmarks;
    std::vector<std::int32_t> ReferenceCount;

    // The LP had no finite optimum (infeasible or unbounded): Score is -1 and
    // the table shows "big". A true optimum of -1 (non-oriented radial) is
    // not flagged and shows -100%.
    std::vector<char> NoFiniteOptimum;
    // No score could be formed (min-average without a discretionary nonzero
    // variable, or without any solved LP; FDH for a dominated DMU without a
    // positive input, input oriented, or output, output oriented): Score is
    // 0, the score cell stays empty and Benchmarks says why.
    std::vector<char> NoScore;

    // Free disposal hull. No dominance matrix or list of pairs is kept: the
    // counts are found with the scores, and the lists are formed again from
    // the data when a table shows them.
    std::vector<std::int32_t> DominatedCount;
    // The DMU evaluated last.
    std::int32_t DominatingCount = 0;
    std::shared_ptr<FdhLists> DominanceLists;

    // Min-average: the smallest objective over the single-variable LPs, and
    // its variable (input i is i, output r is NumInputs + r; 0 = none).
    std::vector<double> MinAvgBest;
    std::vector<std::int32_t> MinAvgVariable;

    // Cost and revenue models. Score is the cost (revenue) efficiency, NoScore
    // set where the DMU's observed cost (revenue) at its prices is 0 and
    // NoFiniteOptimum where its LP has none; Efficient means a Score of 1 at
    // 7 decimals, and Benchmarks lists the DMUs of the optimal plan. Beside
    // them, by DMU: the technical (radial, standard) score, the allocative
    // score Score / Technical, nothing where a value does not exist, and
    // whether the radial LP had no finite optimum.
    std::vector<std::optional<double>> Technical;
    std::vector<std::optional<double>> Allocative;
    std::vector<char> TechnicalBig;
    // The DMU evaluated last: the cost-minimising input quantities (revenue:
    // the revenue-maximising output quantities), 1..NumInputs (NumOutputs);
    // no value where the LP has no optimal plan.
    std::vector<std::optional<double>> PricedQuantities;

    // LPs of this run that the solver failed on (a code other than optimal
    // and no finite optimum), whether the run went on after them or not.
    std::int32_t SolverFailures = 0;

    // Fresh lists for numDMU DMUs; the dominance lists only for FDH runs.
    void allocateResults(int numDMU, bool fdh);
    // Fresh lists of the cost and revenue models, for numDMU DMUs.
    void allocatePriceResults(int numDMU);
};

} // namespace zelvar
