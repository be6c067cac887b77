#include "data/NumberText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstdio>
#include <string>

namespace zelvar {

namespace {

// The value rounded half away from zero to `decimals` decimals, as the digits
// of its magnitude with the decimal point `pointAt` digits from the left.
// Rounding works on the value's first 15 significant decimal digits, the
// digits a user sees for it, so 2.675 (stored as 2.67499999999999982...)
// rounds to 2.68 as written, not to 2.67 as stored.
std::string roundedDigits(double magnitude, int decimals, int &pointAt)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.14e", magnitude);
    // "d.dddddddddddddde+XX"
    std::string significant;
    significant += buffer[0];
    significant.append(buffer + 2, 14);
    int exponent = std::atoi(buffer + 17);
    int keep = exponent + 1 + decimals; // digits left after rounding
    std::string digits;
    if (keep >= 0) {
        digits = significant.substr(0, static_cast<std::size_t>(std::min(keep, 15)));
        if (keep < 15 && significant[static_cast<std::size_t>(keep)] >= '5') {
            int k = static_cast<int>(digits.size()) - 1;
            while (k >= 0 && digits[static_cast<std::size_t>(k)] == '9')
                digits[static_cast<std::size_t>(k--)] = '0';
            if (k >= 0) {
                ++digits[static_cast<std::size_t>(k)];
            } else {
                digits.insert(digits.begin(), '1');
                ++exponent;
                ++keep;
            }
        }
        digits.resize(static_cast<std::size_t>(keep), '0');
    }
    pointAt = exponent + 1;
    if (keep < 0) {
        digits.assign(static_cast<std::size_t>(decimals), '0');
        pointAt = 0;
    }
    return digits;
}

} // namespace

std::string formatFixed(double value, int decimals, std::string_view separator)
{
    if (decimals < 0)
        decimals = 0;
    if (std::isnan(value))
        return "NaN";
    if (std::isinf(value))
        return value > 0 ? "Infinity" : "-Infinity";

    int pointAt = 0;
    const std::string digits = roundedDigits(std::fabs(value), decimals, pointAt);
    std::string whole;
    std::string fraction;
    if (pointAt > 0) {
        whole = digits.substr(0, static_cast<std::size_t>(pointAt));
        fraction = digits.substr(static_cast<std::size_t>(pointAt));
    } else {
        fraction = std::string(static_cast<std::size_t>(-pointAt), '0') + digits;
    }
    fraction.resize(static_cast<std::size_t>(decimals), '0');
    const std::size_t firstDigit = whole.find_first_not_of('0');
    whole = firstDigit == std::string::npos ? "0" : whole.substr(firstDigit);
    // No "-0.00": the sign only when a digit other than 0 is left.
    const bool negative = value < 0
        && (whole != "0" || fraction.find_first_not_of('0') != std::string::npos);
    return (negative ? "-" : "") + whole + std::string(separator) + fraction;
}

double roundDecimals(double value, int decimals)
{
    if (!std::isfinite(value))
        return value;
    const std::string text = formatFixed(value, decimals, ".");
    double rounded = 0.0;
    std::from_chars(text.data(), text.data() + text.size(), rounded);
    return rounded;
}

std::string formatPercent(double value, int decimals, std::string_view separator)
{
    return formatFixed(value * 100.0, decimals, separator) + "%";
}

std::optional<double> parseNumber(std::string_view text, char decimalSymbol)
{
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && (text[begin] == ' ' || text[begin] == '\t'))
        ++begin;
    while (end > begin && (text[end - 1] == ' ' || text[end - 1] == '\t'))
        --end;
    if (begin == end)
        return std::nullopt;

    // Normalise to the C form: '.' as the decimal symbol, no leading '+'.
    // A sign may stand first, and once more right after the exponent mark.
    std::string normal;
    normal.reserve(end - begin);
    bool digits = false;
    bool point = false;
    bool exponent = false;
    bool signAllowed = true;
    for (std::size_t k = begin; k < end; ++k) {
        const char c = text[k];
        if (c >= '0' && c <= '9') {
            digits = true;
            normal += c;
            signAllowed = false;
        } else if (c == decimalSymbol && !point && !exponent) {
            point = true;
            normal += '.';
            signAllowed = false;
        } else if ((c == '+' || c == '-') && signAllowed) {
            if (c == '-')
                normal += c;
            signAllowed = false;
        } else if ((c == 'e' || c == 'E') && digits && !exponent) {
            exponent = true;
            normal += 'e';
            signAllowed = true;
        } else {
            return std::nullopt;
        }
    }
    if (!digits)
        return std::nullopt;

    double value = 0.0;
    const char *first = normal.data();
    const char *last = normal.data() + normal.size();
    auto [ptr, ec] = std::from_chars(first, last, value);
    if (ec != std::errc() || ptr != last || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::string numberToText(double value)
{
    char buffer[64];
    auto [ptr, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    if (ec != std::errc())
        return "0";
    return std::string(buffer, ptr);
}

} // namespace zelvar
