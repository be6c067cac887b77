#pragma once

#include "engine/RadialDistances.h"

#include <optional>
#include <vector>

namespace zelvar {

// The Malmquist productivity index between consecutive periods, split into
// efficiency change and technical change, with efficiency change split again
// into pure efficiency change and scale efficiency change.
//
// The DMUs in file order form `periods` equal periods of K units; unit k of
// period t is the same firm as unit k of period t + 1. E(s, t) is the
// efficiency of a unit's period-t data against the technology spanned by all
// units of period s, under constant returns to scale: theta (input
// orientation) or 1 / phi (output). In its own period (s = t) the unit is
// part of the technology (standard score, at most 1); in the other it is not,
// so E may pass 1 or not exist. V(t, t) is the own-period score under
// variable returns. For the step t -> t + 1:
//   EC  = E(t+1, t+1) / E(t, t)
//   TC  = sqrt(E(t, t+1) / E(t+1, t+1) * E(t, t) / E(t+1, t))
//   MI  = EC * TC
//   PEC = V(t+1, t+1) / V(t, t)
//   SEC = EC / PEC
// Above 1 is progress in every one, in both orientations. A distance with no
// finite optimum, a distance of 0 (or, output oriented, a phi of 0 whose
// 1 / phi is infinite) does not exist, and neither does any index built on it.
struct MalmquistIndex {
    struct Values {
        std::optional<double> ec, tc, pec, sec, mi;
    };
    struct Step {
        std::vector<Values> units; // unit k of the step
        Values mean;               // geometric means over the units where a value exists
    };

    int periods = 0;
    int unitsPerPeriod = 0;
    std::vector<Step> steps;     // t -> t + 1, t = 0 .. periods - 2
    std::vector<Values> overall; // unit k: geometric means over its steps
    Values overallMean;          // geometric means of `overall`

    // From the runs: crs[s] holds the constant-returns distances of the units
    // of periods s - 1, s and s + 1 to the technology of period s, vrs[s] the
    // variable-returns distances of period s to its own technology.
    [[nodiscard]] static MalmquistIndex fromRuns(int periods, int unitsPerPeriod, const std::vector<RadialDistances> &crs,
                                                 const std::vector<RadialDistances> &vrs);

    // Runs what the index needs for the workspace's data, radial model and
    // weight restriction choice (its returns to scale are not used): per
    // period, one constant-returns run of that period and its neighbours
    // against its technology and one variable-returns run of the period
    // against itself. Needs periods >= 2 dividing NumDMU. Returns the first
    // outcome that stops a run (the index is then not formed) or Incomplete
    // when solver failures left gaps.
    [[nodiscard]] static RunOutcome compute(Workspace &workspace, int periods, ProgressSink &progress,
                                            Feedback &feedback, MalmquistIndex &out);
};

// The geometric mean of the values that exist (and are positive); nothing
// when none does.
[[nodiscard]] std::optional<double> geometricMean(const std::vector<std::optional<double>> &values);

} // namespace zelvar
