#pragma once

#include "data/TableSource.h"

#include <optional>
#include <string>

namespace zelvar {

// The number a cell holds, as both readers take it: a number cell as it is;
// a text cell when its text reads as a number with "." as the decimal
// symbol (a workbook cell formatted as text, a column declared Text);
// nothing for an empty cell or any other text.
[[nodiscard]] std::optional<double> cellNumber(const FieldValue &value);

// The text of a cell as a name: a text as it is, a number as the source
// wrote it or else in its shortest form ("17"), nothing for an empty cell.
[[nodiscard]] std::string cellText(const FieldValue &value);

// "Cannot read <path>: record 7, column {I}Staff holds \"n/a\", which is not
// a number." (or "... holds no value.") for a cell that cellNumber refused.
[[nodiscard]] std::string badCellMessage(const std::string &path, int record,
                                         const std::string &column, const FieldValue &value);

} // namespace zelvar
