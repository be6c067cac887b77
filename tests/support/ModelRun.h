#pragma once

#include "engine/RunDriver.h"
#include "session/Workspace.h"
#include "support/Recorders.h"

#include <gtest/gtest.h>

#include <string>
#include <type_traits>
#include <vector>

namespace zelvar::test {

// The options of a model name: "VRS_MAXAV_NON", "FDH_RAD_OUT".
ModelOptions modelOptions(const std::string &name);
// Every LP model's name (4 returns x 4 distances x 3 orientations), or
// those of the radial models.
std::vector<std::string> lpModels(bool radialOnly = false);

// Names a parameterised test after its parameter: a string, or its `name`.
struct ParamName {
    template <typename P>
    std::string operator()(const ::testing::TestParamInfo<P> &info) const
    {
        if constexpr (std::is_convertible_v<P, std::string>)
            return info.param;
        else
            return info.param.name;
    }
};

// A workspace holding data, a model and a driver, with every sink recording.
// Every DMU is selected in both lists until a test changes them; intensities
// are written with 8 decimals; the DMUs are evaluated on two threads. The
// driver, and so its store, lives as long as the run.
struct ModelRun {
    explicit ModelRun(DataSet data, const std::string &model = "CRS_RAD_IN", int threads = 2);

    // One run with fresh recorders (keepLp, the cancel counts and confirmAnswer are kept).
    RunOutcome run();
    const ResultStore &store() const { return driver.store(); }
    // The DMUs of d's LP in row order: the technology, with d in it.
    std::vector<int> lpDmus(int d) const;

    Workspace workspace;
    SelectionSet eval;
    SelectionSet tech;
    RunDriver driver{workspace};
    RecordingResults results;
    RecordingProgress progress;
    RecordingFeedback feedback;
    RunOutcome outcome = RunOutcome::NoData;
};

} // namespace zelvar::test
