#pragma once

#include "session/ModelDialogState.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zelvar {

// Every model name Start can compose ("CRS_RAD_IN", "VRS_ADD_NON",
// "FDH_RAD_OUT", ...), in the order the dialog offers the choices.
std::vector<std::string> allModelNames();

// The option buttons to click, in order, so that the model dialog composes
// `name`; nothing when Start could never compose it.
std::optional<std::vector<OptionButton>> buttonsForModelName(std::string_view name);

} // namespace zelvar
