#include "data/CellNumber.h"

#include "data/NumberText.h"
#include "data/TextUtil.h"

#include <cmath>

namespace zelvar {

std::optional<double> cellNumber(const FieldValue &value)
{
    switch (value.kind) {
    case FieldValue::Kind::Number:
        if (std::isfinite(value.number))
            return value.number;
        return std::nullopt;
    case FieldValue::Kind::Text:
        return parseNumber(value.text, '.');
    case FieldValue::Kind::Null:
        break;
    }
    return std::nullopt;
}

std::string cellText(const FieldValue &value)
{
    switch (value.kind) {
    case FieldValue::Kind::Number:
        return value.text.empty() ? numberToText(value.number) : value.text;
    case FieldValue::Kind::Text:
        return value.text;
    case FieldValue::Kind::Null:
        break;
    }
    return {};
}

std::string badCellMessage(const std::string &path, int record, const std::string &column,
                           const FieldValue &value)
{
    std::string message =
        "Cannot read " + path + ": record " + std::to_string(record) + ", column " + column;
    if (value.isNull())
        return message + " holds no value.";
    return message + " holds \"" + shortened(cellText(value)) + "\", which is not a number.";
}

} // namespace zelvar
