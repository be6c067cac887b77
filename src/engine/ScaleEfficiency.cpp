#include "engine/ScaleEfficiency.h"

#include "data/NumberText.h"
#include "session/SelectionSet.h"
#include "session/Workspace.h"

namespace zelvar {

namespace {

// The digits that decide efficiency decide "equal" here too.
constexpr int EqualDecimals = 7;

bool sameAtRounding(double a, double b)
{
    return roundDecimals(a, EqualDecimals) == roundDecimals(b, EqualDecimals);
}

} // namespace

std::string returnsCode(ScaleEfficiency::Returns returns)
{
    switch (returns) {
    case ScaleEfficiency::Returns::Constant:
        return "crs";
    case ScaleEfficiency::Returns::Decreasing:
        return "drs";
    case ScaleEfficiency::Returns::Increasing:
        return "irs";
    }
    return {};
}

ScaleEfficiency ScaleEfficiency::fromRuns(const std::vector<int> &evaluated, const RadialDistances &crs,
                                          const RadialDistances &vrs, const RadialDistances &nir)
{
    ScaleEfficiency result;
    const bool output = crs.orientation == ModelOrientation::OUT;
    for (const int d : evaluated) {
        Row row;
        row.dmu = d;
        row.crs = crs.standard(d);
        row.vrs = vrs.standard(d);
        const std::optional<double> nirs = nir.standard(d);
        row.crsBig = crs.noFiniteOptimum(d);
        row.vrsBig = vrs.noFiniteOptimum(d);
        if (row.crs && row.vrs && *row.crs != 0.0 && *row.vrs != 0.0) {
            row.scale = output ? *row.vrs / *row.crs : *row.crs / *row.vrs;
            if (sameAtRounding(*row.scale, 1.0))
                row.returns = Returns::Constant;
            else if (nirs && sameAtRounding(*nirs, *row.vrs))
                row.returns = Returns::Decreasing;
            else
                row.returns = Returns::Increasing;
        }
        result.rows.push_back(row);
    }
    return result;
}

RunOutcome ScaleEfficiency::compute(Workspace &workspace, SelectionSet &eval, SelectionSet &tech,
                                    ProgressSink &progress, Feedback &feedback, ScaleEfficiency &out)
{
    std::vector<int> evaluated;
    for (int d = 1; d <= eval.size(); ++d)
        if (eval.selected(d))
            evaluated.push_back(d);
    RadialDistances scores[3];
    const ModelReturns returns[3] = {ModelReturns::CRS, ModelReturns::VRS, ModelReturns::NIR};
    RunOutcome outcome = RunOutcome::Completed;
    for (int k = 0; k < 3; ++k) {
        const RunOutcome run = radialDistances(workspace, returns[k], eval, tech, progress, feedback, scores[k]);
        if (run == RunOutcome::NoData)
            return run;
        // A run that went on after solver failures leaves gaps, not wrong rows.
        if (run == RunOutcome::Incomplete)
            outcome = RunOutcome::Incomplete;
        if (run == RunOutcome::Stopped) {
            outcome = run;
            break;
        }
    }
    out = fromRuns(evaluated, scores[0], scores[1], scores[2]);
    return outcome;
}

} // namespace zelvar
