#pragma once

namespace zelvar {

// The option buttons of the model dialog, one value per control.
enum class OptionButton {
    optConvex, optNonconvex,                           // group Structure
    optConstant, optVariable, optNdr, optNir,          // group Returns to scale
    optInput, optOutput, optNon,                       // group Orientation
    optRadial, optAdditiv, optMaxaverage, optMinaverage, // group Distance
    optNone, optWA, optMalmquist,                      // group Dynamics
};
inline constexpr int OptionButtonCount = 16;

} // namespace zelvar
