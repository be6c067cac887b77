#pragma once

#include "engine/RadialDistances.h"

#include <optional>
#include <string>
#include <vector>

namespace zelvar {

// Scale efficiency of a radial input- or output-oriented model: the scores of
// each evaluated DMU under constant, variable and nonincreasing returns to
// scale (standard scores, RadialDistances::standard), their ratio, and the
// class of returns to scale at the DMU.
struct ScaleEfficiency {
    enum class Returns { Constant, Decreasing, Increasing };

    struct Row {
        int dmu = 0;
        std::optional<double> crs; // as the score column shows it: theta or phi
        std::optional<double> vrs;
        std::optional<double> scale;   // theta_crs / theta_vrs, or phi_vrs / phi_crs
        std::optional<Returns> returns;
        bool crsBig = false; // the run reached the DMU but its LP had no finite optimum
        bool vrsBig = false;
    };

    std::vector<Row> rows; // evaluated DMUs in DMU order

    // From the three runs over the same DMUs. Scale and class exist where
    // both scores do: "constant" when the ratio is 1 at 7 decimals (the
    // rounding that decides efficiency), else "decreasing" when the
    // nonincreasing-returns score equals the variable-returns one at 7
    // decimals (the DMU lies where the frontier bends down), else "increasing".
    [[nodiscard]] static ScaleEfficiency fromRuns(const std::vector<int> &evaluated, const RadialDistances &crs,
                                                  const RadialDistances &vrs, const RadialDistances &nir);

    // The three runs for the evaluated and technology DMUs of a run of the
    // workspace's radial model (its returns to scale are not used).
    // Returns the first outcome that is not Completed, after which the
    // remaining runs are not made; rows then cover what was computed.
    [[nodiscard]] static RunOutcome compute(Workspace &workspace, SelectionSet &eval, SelectionSet &tech,
                                            ProgressSink &progress, Feedback &feedback, ScaleEfficiency &out);
};

// "crs", "drs", "irs".
[[nodiscard]] std::string returnsCode(ScaleEfficiency::Returns returns);

} // namespace zelvar
