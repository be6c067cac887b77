#pragma once

#include "session/ModelDialogState.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zelvar {

// Every model name Start can compose ("CRS_RAD_IN", "VRS_ADD_NON",
// "FDH_RAD_OUT", ...), in the order the dialog offers the choices. The cost
// and revenue models, which need prices, are not among them.
std::vector<std::string> allModelNames();

// The cost and revenue models Start composes once prices are loaded:
// "CRS_COST_IN", ..., "NIR_COST_IN", then "CRS_REV_OUT", ..., "NIR_REV_OUT".
std::vector<std::string> priceModelNames();

// The option buttons to click, in order, so that the model dialog composes
// `name` (a cost or revenue model once prices are loaded); nothing when
// Start could never compose it.
std::optional<std::vector<OptionButton>> buttonsForModelName(std::string_view name);

} // namespace zelvar
