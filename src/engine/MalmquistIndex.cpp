#include "engine/MalmquistIndex.h"

#include "data/DataSet.h"
#include "session/SelectionSet.h"
#include "session/Workspace.h"

#include <cmath>

namespace zelvar {

namespace {

using Value = std::optional<double>;

Value ratio(Value a, Value b)
{
    if (!a || !b || *b == 0.0)
        return std::nullopt;
    const double value = *a / *b;
    return std::isfinite(value) ? Value(value) : std::nullopt;
}

Value product(Value a, Value b)
{
    if (!a || !b)
        return std::nullopt;
    return *a * *b;
}

// E from a distance: theta itself, or 1 / phi; nothing for a distance that
// does not exist or is not positive.
Value efficiency(Value distance, ModelOrientation orientation)
{
    if (!distance || !(*distance > 0.0) || !std::isfinite(*distance))
        return std::nullopt;
    return orientation == ModelOrientation::OUT ? 1.0 / *distance : *distance;
}

MalmquistIndex::Values meanOf(const std::vector<MalmquistIndex::Values> &values)
{
    auto column = [&](Value MalmquistIndex::Values::*member) {
        std::vector<Value> list;
        for (const MalmquistIndex::Values &v : values)
            list.push_back(v.*member);
        return geometricMean(list);
    };
    using V = MalmquistIndex::Values;
    return {column(&V::ec), column(&V::tc), column(&V::pec), column(&V::sec), column(&V::mi)};
}

} // namespace

std::optional<double> geometricMean(const std::vector<std::optional<double>> &values)
{
    double logs = 0.0;
    int count = 0;
    for (const Value &value : values)
        if (value && *value > 0.0) {
            logs += std::log(*value);
            ++count;
        }
    if (count == 0)
        return std::nullopt;
    return std::exp(logs / count);
}

MalmquistIndex MalmquistIndex::fromRuns(int periods, int unitsPerPeriod, const std::vector<RadialDistances> &crs,
                                        const std::vector<RadialDistances> &vrs)
{
    MalmquistIndex index;
    index.periods = periods;
    index.unitsPerPeriod = unitsPerPeriod;
    const int K = unitsPerPeriod;
    auto dmu = [K](int period, int k) { return period * K + k + 1; };
    // E(s, t) of unit k and V(t, t).
    auto E = [&](int s, int t, int k) { return efficiency(crs[static_cast<std::size_t>(s)].standard(dmu(t, k)), crs[static_cast<std::size_t>(s)].orientation); };
    auto V = [&](int t, int k) { return efficiency(vrs[static_cast<std::size_t>(t)].standard(dmu(t, k)), vrs[static_cast<std::size_t>(t)].orientation); };

    std::vector<std::vector<Values>> byUnit(static_cast<std::size_t>(K));
    for (int t = 0; t + 1 < periods; ++t) {
        Step step;
        for (int k = 0; k < K; ++k) {
            Values v;
            v.ec = ratio(E(t + 1, t + 1, k), E(t, t, k));
            const Value tcSquared = product(ratio(E(t, t + 1, k), E(t + 1, t + 1, k)), ratio(E(t, t, k), E(t + 1, t, k)));
            if (tcSquared && *tcSquared >= 0.0)
                v.tc = std::sqrt(*tcSquared);
            v.mi = product(v.ec, v.tc);
            v.pec = ratio(V(t + 1, k), V(t, k));
            v.sec = ratio(v.ec, v.pec);
            step.units.push_back(v);
            byUnit[static_cast<std::size_t>(k)].push_back(v);
        }
        step.mean = meanOf(step.units);
        index.steps.push_back(std::move(step));
    }
    for (const std::vector<Values> &unit : byUnit)
        index.overall.push_back(meanOf(unit));
    index.overallMean = meanOf(index.overall);
    return index;
}

RunOutcome MalmquistIndex::compute(Workspace &workspace, int periods, ProgressSink &progress, Feedback &feedback,
                                   MalmquistIndex &out)
{
    const int numDMU = workspace.data.NumDMU;
    if (periods < 2 || numDMU % periods != 0)
        return RunOutcome::NoData;
    const int K = numDMU / periods;
    std::vector<RadialDistances> crs(static_cast<std::size_t>(periods));
    std::vector<RadialDistances> vrs(static_cast<std::size_t>(periods));
    RunOutcome outcome = RunOutcome::Completed;
    auto periodRange = [K](SelectionSet &set, int first, int last) {
        set.selectAll(false);
        set.selectRange(first * K + 1, (last + 1) * K);
    };
    SelectionSet eval(numDMU);
    SelectionSet tech(numDMU);
    for (int s = 0; s < periods; ++s) {
        periodRange(eval, std::max(s - 1, 0), std::min(s + 1, periods - 1));
        periodRange(tech, s, s);
        RunOutcome run = radialDistances(workspace, ModelReturns::CRS, eval, tech, progress, feedback,
                                         crs[static_cast<std::size_t>(s)]);
        if (run == RunOutcome::NoData || run == RunOutcome::Stopped)
            return run;
        if (run == RunOutcome::Incomplete)
            outcome = run;
        periodRange(eval, s, s);
        run = radialDistances(workspace, ModelReturns::VRS, eval, tech, progress, feedback,
                              vrs[static_cast<std::size_t>(s)]);
        if (run == RunOutcome::NoData || run == RunOutcome::Stopped)
            return run;
        if (run == RunOutcome::Incomplete)
            outcome = run;
    }
    out = fromRuns(periods, K, crs, vrs);
    return outcome;
}

} // namespace zelvar
