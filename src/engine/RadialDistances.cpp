#include "engine/RadialDistances.h"

#include "engine/RunSinks.h"
#include "session/SelectionSet.h"
#include "session/Workspace.h"

#include <algorithm>

namespace zelvar {

namespace {

// The runs feed an analysis, not a table of their own; what counts is which
// DMUs the run reached (a stopped run leaves the rest without a row).
class ReachedRows : public ResultsSink {
public:
    explicit ReachedRows(std::size_t size) : reached(size, 0) {}
    void setRedraw(bool) override {}
    void Showresults(int d, const RunView &, const LpProblem &) override { reached[static_cast<std::size_t>(d)] = 1; }
    void ShowFDHresults(int, const RunView &) override {}
    void ShowReferences(const RunView &) override {}
    void WriteNonevaluated(const RunView &) override {}
    std::vector<char> reached;
};

// Puts the options of a radial run in place and back again.
class RadialOptions {
public:
    RadialOptions(ModelOptions &options, ModelReturns returns) : m_options(options), m_saved(options)
    {
        options.Structure = ModelStructure::Convex;
        options.Distance = ModelDistance::RAD;
        options.ReturnsToScale = returns;
    }
    ~RadialOptions() { m_options = m_saved; }
    RadialOptions(const RadialOptions &) = delete;
    RadialOptions &operator=(const RadialOptions &) = delete;

private:
    ModelOptions &m_options;
    ModelOptions m_saved;
};

} // namespace

std::optional<double> RadialDistances::standard(int d) const
{
    const auto dd = static_cast<std::size_t>(d);
    if (dd >= reached.size() || reached[dd] == 0)
        return std::nullopt;
    const std::optional<double> value = distance[dd];
    if (inTechnology[dd] == 0)
        return value;
    if (!value)
        return 1.0;
    return orientation == ModelOrientation::OUT ? std::max(1.0, *value) : std::min(1.0, *value);
}

RunOutcome radialDistances(Workspace &workspace, ModelReturns returns, SelectionSet &eval, SelectionSet &tech,
                           ProgressSink &progress, Feedback &feedback, RadialDistances &out, LpMethod method)
{
    const int numDMU = workspace.data.NumDMU;
    out.orientation = workspace.options.Orientation;
    out.distance.assign(static_cast<std::size_t>(std::max(numDMU, 0)) + 1, std::nullopt);
    out.inTechnology.assign(static_cast<std::size_t>(std::max(numDMU, 0)) + 1, 0);
    out.reached.assign(out.inTechnology.size(), 0);
    for (int d = 1; d <= numDMU && d <= tech.size(); ++d)
        out.inTechnology[static_cast<std::size_t>(d)] = tech.selected(d) ? 1 : 0;

    const RadialOptions options(workspace.options, returns);
    RunDriver driver(workspace);
    driver.setLpMethod(method);
    ReachedRows results(out.distance.size());
    const RunOutcome outcome = driver.RunModel(eval, tech, results, progress, feedback);
    if (outcome == RunOutcome::NoData)
        return outcome;
    const ResultStore &store = driver.store();
    out.reached = results.reached;
    for (int d = 1; d <= numDMU; ++d) {
        const auto dd = static_cast<std::size_t>(d);
        if (results.reached[dd] != 0 && store.NoFiniteOptimum[dd] == 0)
            out.distance[dd] = store.Score[dd];
    }
    return outcome;
}

} // namespace zelvar
