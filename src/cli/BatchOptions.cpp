#include "cli/BatchOptions.h"

#include <charconv>
#include <string_view>

namespace zelvar {

namespace {

std::optional<int> parseInt(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    int value = 0;
    auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || ptr != text.data() + text.size())
        return std::nullopt;
    return value;
}

} // namespace

DmuListResult parseDmuList(const std::string &list, int numDMU)
{
    DmuListResult result;
    std::vector<char> chosen(static_cast<std::size_t>(numDMU) + 1, 0);
    std::string_view rest(list);
    while (true) {
        const std::size_t comma = rest.find(',');
        const std::string_view piece = rest.substr(0, comma);
        const std::size_t dash = piece.find('-', 1);
        std::optional<int> first = parseInt(piece.substr(0, dash));
        std::optional<int> last = dash == std::string_view::npos ? first : parseInt(piece.substr(dash + 1));
        if (!first || !last || *first < 1 || *last > numDMU || *first > *last) {
            result.error = "\"" + std::string(piece) + "\" is not a DMU number or range within 1-"
                + std::to_string(numDMU) + ".";
            result.dmus.clear();
            return result;
        }
        for (int d = *first; d <= *last; ++d)
            chosen[static_cast<std::size_t>(d)] = 1;
        if (comma == std::string_view::npos)
            break;
        rest.remove_prefix(comma + 1);
    }
    for (int d = 1; d <= numDMU; ++d)
        if (chosen[static_cast<std::size_t>(d)])
            result.dmus.push_back(d);
    return result;
}

std::optional<std::pair<int, int>> parseWindow(const std::string &text)
{
    const std::size_t colon = text.find(':');
    if (colon == std::string::npos)
        return std::nullopt;
    const std::optional<int> periods = parseInt(std::string_view(text).substr(0, colon));
    const std::optional<int> width = parseInt(std::string_view(text).substr(colon + 1));
    if (!periods || !width || *periods < 1 || *width < 1)
        return std::nullopt;
    return std::pair{*periods, *width};
}

} // namespace zelvar
