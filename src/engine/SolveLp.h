#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace zelvar {

class Feedback;
struct DisplayFormat;
struct LpOutcome;
struct LpProblem;
struct ModelOptions;
struct ResultStore;
struct Technology;

// Solves an LP record in place: fills Primal, Dual, VarStatus, SolverCode and
// ObjValue (LpSolver::solve in a run; tests put a prepared outcome here).
using LpSolveFunction = std::function<void(LpProblem &)>;

// What SolveLP reads besides the LP and the result store.
struct SolveContext {
    const ModelOptions &options;
    const DisplayFormat &format;   // DecIntensities for the benchmark text
    std::string_view decimalSeparator;
    const Technology &technology;  // TechPos(d), TechDmu of the benchmark rows
    int numWeights;                // NumInputs + NumOutputs: the slack columns
    Feedback &feedback;            // solver failures, each naming dataFile
    const std::string &dataFile;   // DataFileName
    const LpSolveFunction &solve;
};

// Text shown when the solver reports an optimum without a number.
[[nodiscard]] std::string solverErrorText(int d);
// Text shown (with OK and Cancel) for any solver code but 2 and 3.
[[nodiscard]] std::string solverCodeText(int d, int code);

// Solves the LP just built for evaluated DMU d and records what it says:
// Score(d), Efficient(d), NoFiniteOptimum(d), and for an inefficient DMU the
// benchmark text " j (lambda) " of each reference DMU j with its
// ReferenceCount(j) raised and Efficient(j) set.
//
// Returns false when the run must stop: the solver reported an optimum that
// is not a number (the user was told), or it failed with another code and
// the user chose Cancel. A LP without a finite optimum (code 3) is silent:
// Score(d) = -1, Efficient(d) and NoFiniteOptimum(d) set, true returned.
[[nodiscard]] bool SolveLP(int d, LpProblem &lp, ResultStore &store, const SolveContext &context);

// What SolveLP does once the solver has answered, from the outcome of d's LP
// (the technology and solve function of context are not used). With
// `references` given, the benchmark DMUs are appended to it instead of having
// their ReferenceCount raised (min-average counts only its winning LP's).
[[nodiscard]] bool recordLpOutcome(int d, const LpOutcome &outcome, ResultStore &store,
                                   const SolveContext &context,
                                   std::vector<std::int32_t> *references = nullptr);

} // namespace zelvar
