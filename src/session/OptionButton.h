#pragma once

namespace zelvar {

// The option buttons of the model dialog, one value per control.
enum class OptionButton {
    optConvex, optNonconvex,                           // group Structure
    optConstant, optVariable, optNdr, optNir,          // group Returns to scale
    optInput, optOutput, optNon,                       // group Orientation
    optRadial, optAdditiv, optMaxaverage, optMinaverage, // group Distance
    optNone, optWA, optMalmquist,                      // group Dynamics
    optCost, optRevenue,                               // group Distance, shown once prices are loaded
};
// The buttons every model dialog shows.
inline constexpr int OptionButtonCount = 16;
// Those and the two distances of the loaded prices: every button there is.
inline constexpr int AllOptionButtonCount = OptionButtonCount + 2;

} // namespace zelvar
