#pragma once

#include "engine/RunDriver.h"
#include "session/ModelOptions.h"

#include <optional>
#include <vector>

namespace zelvar {

class Feedback;
class ProgressSink;
class SelectionSet;
struct Workspace;

// Radial distances of the evaluated DMUs of one run, as the analyses built
// on several runs need them (scale efficiency, the Malmquist index).
//
// The LP of a DMU leaves out its own row, so a run gives the distance of each
// DMU to the technology spanned by the others: for a DMU outside the
// technology set that is its distance to that technology; for one inside, its
// standard (Farrell) score is that distance capped at 1 (input orientation:
// theta <= 1; output: phi >= 1), since its own row can only add the point
// itself, whose distance is 1, and does not move the frontier where another
// DMU envelops it. A DMU that no other DMU envelops (no finite optimum) is
// then on the frontier: 1.
struct RadialDistances {
    // By DMU number; no value where the LP has no finite optimum, or where
    // the DMU was not evaluated or the run stopped before it.
    std::vector<std::optional<double>> distance; // theta (input) or phi (output), as computed
    std::vector<char> reached;                   // the run evaluated the DMU
    std::vector<char> inTechnology;
    ModelOrientation orientation = ModelOrientation::IN;

    // The standard score: capped at 1 for a DMU of the technology set (and 1
    // without a finite optimum there); the distance as computed otherwise;
    // nothing for a DMU the run did not reach.
    [[nodiscard]] std::optional<double> standard(int d) const;
    // Reached, and no standard score: outside the technology with no finite optimum.
    [[nodiscard]] bool noFiniteOptimum(int d) const
    {
        const auto dd = static_cast<std::size_t>(d);
        return dd < reached.size() && reached[dd] != 0 && !standard(d);
    }
};

// One radial run of `returns` and the workspace's orientation over eval and
// tech, quietly (no results table), with the workspace's weight restriction
// choice; the other options are left as they were on return. Messages go to
// feedback; progress shows the run. method: how its LPs are solved.
[[nodiscard]] RunOutcome radialDistances(Workspace &workspace, ModelReturns returns, SelectionSet &eval,
                                         SelectionSet &tech, ProgressSink &progress, Feedback &feedback,
                                         RadialDistances &out, LpMethod method = LpMethod::Restricted);

} // namespace zelvar
