#pragma once

#include <cstdint>

namespace zelvar {

// How many decimals results show, and whether weights are shown as virtual
// inputs and outputs (weight times the DMU's own value) or as pure weights.
struct DisplayFormat {
    static constexpr int MinDecimals = 1;
    static constexpr int MaxDecimals = 8;
    static constexpr int DefaultDecimals = 2;

    std::int16_t DecScore = DefaultDecimals;
    std::int16_t DecWeights = DefaultDecimals;
    std::int16_t DecIntensities = DefaultDecimals;
    std::int16_t DecSlacks = DefaultDecimals;
    bool VirtualWeights = true;

    // A stored value outside 1..8 is brought to the nearer of 1 and 8.
    static std::int16_t clampDecimals(long long value)
    {
        if (value < MinDecimals)
            return MinDecimals;
        if (value > MaxDecimals)
            return MaxDecimals;
        return static_cast<std::int16_t>(value);
    }

    friend bool operator==(const DisplayFormat &, const DisplayFormat &) = default;
};

} // namespace zelvar
