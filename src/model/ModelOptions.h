#pragma once

#include <cstdint>
#include <string>

namespace zelvar {

// The codes and flags that say which model the next run computes. Codes are
// compared exactly. Never persisted: each new model dialog starts from these
// defaults.
struct ModelOptions {
    std::string Structure;              // "" convex, "FDH" free disposal hull
    std::string ReturnsToScale = "CRS"; // "CRS", "VRS", "NDR", "NIR"
    std::string Orientation = "IN";     // "IN", "OUT", "NON"
    std::string Distance = "RAD";       // "RAD", "ADD", "MAXAV", "MINAV"
    bool Superefficiency = true;
    bool RestrictWeights = false;
    bool WindowAnalysis = false;
    bool Malmquist = false;
    std::int32_t Periods = 1;
    std::int32_t WindowWidth = 1;
    std::int32_t DMUsPerPeriod = 0;
    std::string ModelName;

    bool fdh() const { return Structure == "FDH"; }
    bool radial() const { return Distance == "RAD"; }
};

} // namespace zelvar
