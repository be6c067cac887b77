#include "data/NumberText.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>

namespace zelvar {

std::string DecimalPattern(int decimals)
{
    return "0." + std::string(static_cast<std::size_t>(decimals > 0 ? decimals : 0), '0');
}

double roundDecimals(double value, int decimals)
{
    if (!std::isfinite(value))
        return value;
    const double scale = std::pow(10.0, decimals);
    const double scaled = value * scale;
    // Beyond 2^52 a double has no fractional part left to round.
    if (std::fabs(scaled) >= 4503599627370496.0)
        return value;
    return std::round(scaled) / scale;
}

std::string formatFixed(double value, int decimals, std::string_view separator)
{
    if (decimals < 0)
        decimals = 0;
    if (std::isnan(value))
        return "NaN";
    if (std::isinf(value))
        return value > 0 ? "Infinity" : "-Infinity";

    double rounded = roundDecimals(value, decimals);
    if (rounded == 0.0)
        rounded = 0.0; // no "-0.00"
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, rounded);
    std::string text(buffer);
    const std::size_t point = text.find('.');
    if (point == std::string::npos)
        return text + std::string(separator);
    text.replace(point, 1, separator);
    return text;
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
    std::string normal;
    normal.reserve(end - begin);
    bool digits = false;
    bool point = false;
    bool exponent = false;
    for (std::size_t k = begin; k < end; ++k) {
        char c = text[k];
        if (c >= '0' && c <= '9') {
            digits = true;
            normal += c;
        } else if (c == decimalSymbol && !point && !exponent) {
            point = true;
            normal += '.';
        } else if ((c == '+' || c == '-') && (k == begin || normal.back() == 'e')) {
            if (c == '-')
                normal += c;
        } else if ((c == 'e' || c == 'E') && digits && !exponent) {
            exponent = true;
            normal += 'e';
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
