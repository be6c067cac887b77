#pragma once

#include "engine/LpOutcome.h"

#include <cstdint>
#include <string>
#include <vector>

namespace zelvar {

struct DataSet;
struct ModelOptions;
struct ResultStore;
struct SolveContext;

// Explanations left in Benchmarks(d) when a min-average DMU gets no score.
inline const std::string MinAvgNoVariable = "no discretionary input or output with a nonzero value";
inline const std::string MinAvgNoInput = "no discretionary input with a nonzero value";
inline const std::string MinAvgNoOutput = "no discretionary output with a nonzero value";
inline const std::string MinAvgNoSolution = "no min-average LP could be solved";

// The single-variable LPs of min-average DMU d, in the order they are solved:
// one per discretionary input with a nonzero value (orientations "IN",
// "NON"), then one per discretionary output with a nonzero value ("OUT",
// "NON"). Input i is i, output r is NumInputs + r. A variable whose own value
// is 0 gets no LP: nothing would bound its weight from below, the optimum
// would be 0 and the DMU would look efficient.
[[nodiscard]] std::vector<int> minAverageVariables(int d, const DataSet &data, const ModelOptions &options);

// The non-discretionary marks of the LP of `variable`: every input and output
// marked (1) but that one.
void minAverageMarks(int variable, const DataSet &data, std::vector<std::int16_t> &inputNonDisc,
                     std::vector<std::int16_t> &outputNonDisc);

// Keeps the books of one min-average DMU: feed it the outcome of each
// single-variable LP in the order of minAverageVariables (while wanted() says
// so), then call finish(). The smallest optimum, divided by the number of
// discretionary nonzero variables, is the score; the winning LP's benchmarks
// and references are the DMU's.
class MinAverageEvaluation {
public:
    // context.feedback hears of solver failures; its solve function is not used.
    MinAverageEvaluation(int d, const DataSet &data, const ModelOptions &options, ResultStore &store,
                         const SolveContext &context);

    const std::vector<int> &variables() const { return m_variables; }
    // False once a solver failure ended the variable's side (inputs or outputs).
    [[nodiscard]] bool wanted(int variable) const;
    // Records the outcome of variable's LP; true when it is the best so far.
    bool add(int variable, const LpOutcome &outcome);
    // Score, benchmarks and reference counts of the winner, or no score and why.
    void finish();

    bool improved() const { return m_improved; }
    // The outcome of the winning LP (valid when improved()).
    const LpOutcome &best() const { return m_best; }

private:
    int m_d;
    int m_inputs;
    const ModelOptions &m_options;
    ResultStore &m_store;
    const SolveContext &m_context;
    std::vector<int> m_variables;
    int m_count = 0;
    bool m_inputsStopped = false;
    bool m_outputsStopped = false;
    bool m_attempted = false;
    bool m_improved = false;
    LpOutcome m_best;
    std::string m_bestBenchmarks;
    std::vector<std::int32_t> m_bestReferences;
    std::vector<std::int32_t> m_references;
};

} // namespace zelvar
