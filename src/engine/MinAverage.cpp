#include "engine/SolverCode.h"
#include "engine/MinAverage.h"

#include "data/DataSet.h"
#include "engine/LpProblem.h"
#include "engine/ResultStore.h"
#include "engine/SolveLp.h"
#include "session/ModelOptions.h"

namespace zelvar {

namespace {


bool inputCounts(const DataSet &data, int d, int i)
{
    return data.InputNonDisc[static_cast<std::size_t>(i)] == 0 && data.InputData(i, d) != 0.0;
}

bool outputCounts(const DataSet &data, int d, int r)
{
    return data.OutputNonDisc[static_cast<std::size_t>(r)] == 0 && data.OutputData(r, d) != 0.0;
}

} // namespace

std::vector<int> minAverageVariables(int d, const DataSet &data, const ModelOptions &options)
{
    std::vector<int> variables;
    if (options.Orientation == ModelOrientation::IN || options.Orientation == ModelOrientation::NON)
        for (int i = 1; i <= data.NumInputs; ++i)
            if (inputCounts(data, d, i))
                variables.push_back(i);
    if (options.Orientation == ModelOrientation::OUT || options.Orientation == ModelOrientation::NON)
        for (int r = 1; r <= data.NumOutputs; ++r)
            if (outputCounts(data, d, r))
                variables.push_back(data.NumInputs + r);
    return variables;
}

void minAverageMarks(int variable, const DataSet &data, std::vector<std::int16_t> &inputNonDisc,
                     std::vector<std::int16_t> &outputNonDisc)
{
    inputNonDisc.assign(static_cast<std::size_t>(data.NumInputs) + 1, 1);
    outputNonDisc.assign(static_cast<std::size_t>(data.NumOutputs) + 1, 1);
    if (variable <= data.NumInputs)
        inputNonDisc[static_cast<std::size_t>(variable)] = 0;
    else
        outputNonDisc[static_cast<std::size_t>(variable - data.NumInputs)] = 0;
}

MinAverageEvaluation::MinAverageEvaluation(int d, const DataSet &data, const ModelOptions &options,
                                           ResultStore &store, const SolveContext &context)
    : m_d(d), m_inputs(data.NumInputs), m_options(options), m_store(store), m_context(context),
      m_variables(minAverageVariables(d, data, options))
{
    for (int i = 1; i <= data.NumInputs; ++i)
        m_count += inputCounts(data, d, i) ? 1 : 0;
    for (int r = 1; r <= data.NumOutputs; ++r)
        m_count += outputCounts(data, d, r) ? 1 : 0;
    const auto dd = static_cast<std::size_t>(d);
    m_store.MinAvgBest[dd] = LpProblem::BigValue;
    m_store.MinAvgVariable[dd] = 0;
}

bool MinAverageEvaluation::wanted(int variable) const
{
    return variable <= m_inputs ? !m_inputsStopped : !m_outputsStopped;
}

bool MinAverageEvaluation::add(int variable, const LpOutcome &outcome)
{
    const auto dd = static_cast<std::size_t>(m_d);
    m_attempted = true;
    m_store.Benchmarks[dd].clear();
    m_references.clear();
    const char efficientBefore = m_store.Efficient[dd];
    if (!recordLpOutcome(m_d, outcome, m_store, m_context, &m_references)) {
        // A solver failure skips the remaining variables of its side.
        (variable <= m_inputs ? m_inputsStopped : m_outputsStopped) = true;
        return false;
    }
    if (outcome.code == SolverCode::NoFiniteOptimum) {
        // No candidate for the minimum, and no statement about d.
        m_store.Efficient[dd] = efficientBefore;
        m_store.NoFiniteOptimum[dd] = 0;
        return false;
    }
    // Strictly smaller wins: on a tie the earlier variable stays.
    if (outcome.code != SolverCode::Optimal || !(outcome.objective < m_store.MinAvgBest[dd]))
        return false;
    m_improved = true;
    m_store.MinAvgBest[dd] = outcome.objective;
    m_store.MinAvgVariable[dd] = variable;
    m_best = outcome;
    m_bestBenchmarks = m_store.Benchmarks[dd];
    m_bestReferences = m_references;
    return true;
}

void MinAverageEvaluation::finish()
{
    const auto dd = static_cast<std::size_t>(m_d);
    if (m_improved) {
        m_store.Score[dd] = m_store.MinAvgBest[dd] / m_count;
        m_store.Benchmarks[dd] = m_bestBenchmarks;
        for (const std::int32_t j : m_bestReferences)
            ++m_store.ReferenceCount[static_cast<std::size_t>(j)];
        return;
    }
    // No score can be formed: say why, count no references, claim nothing.
    m_store.NoScore[dd] = 1;
    m_store.Score[dd] = 0.0;
    m_store.Efficient[dd] = 0;
    if (m_count == 0)
        m_store.Benchmarks[dd] = MinAvgNoVariable;
    else if (!m_attempted)
        m_store.Benchmarks[dd] = m_options.Orientation == ModelOrientation::IN ? MinAvgNoInput : MinAvgNoOutput;
    else
        m_store.Benchmarks[dd] = MinAvgNoSolution;
}

} // namespace zelvar
