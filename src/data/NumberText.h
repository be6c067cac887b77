#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zelvar {

// The value with exactly `decimals` decimals, rounded half away from zero, at
// least one digit before the separator, a minus sign when negative (never
// "-0.00"), and `separator` between the whole and the fractional part.
// Rounding works on the value's first 15 significant digits, so a value
// written 2.675 gives 2.68 although its double lies just below 2.675.
// decimals = 0 gives the whole number followed by the separator ("3.").
std::string formatFixed(double value, int decimals, std::string_view separator = ".");

// formatFixed of value * 100 followed by "%".
std::string formatPercent(double value, int decimals, std::string_view separator = ".");

// Value rounded to `decimals` decimals the way formatting and reading the
// text back would give it.
double roundDecimals(double value, int decimals);

// Reads a number written with the given decimal symbol: optional blanks
// around it, an optional sign, digits with at most one decimal symbol, an
// optional exponent. Returns nothing for anything else (empty text included).
std::optional<double> parseNumber(std::string_view text, char decimalSymbol = '.');

// Shortest text that reads back as the same double ("17", "0.25", "1e+30").
std::string numberToText(double value);

} // namespace zelvar
