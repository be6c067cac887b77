#include "engine/SolverSettings.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string_view>
#include <system_error>

namespace zelvar {

namespace {

std::string_view trimmed(std::string_view text)
{
    const auto blank = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::string upper(std::string_view text)
{
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); });
    return result;
}

// Reads "0", "0.", "0.0", "1e-3": the parameter files write numbers in the
// Fortran manner with a trailing period. Independent of the locale.
bool readNumber(std::string_view text, double &value)
{
    if (text.empty())
        return false;
    const char *end = text.data() + text.size();
    const auto [rest, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc())
        return false;
    return rest == end || (rest + 1 == end && *rest == '.');
}

} // namespace

SolverSettings SolverSettings::fromFile(const std::string &path)
{
    SolverSettings settings;
    std::ifstream file(path);
    if (!file)
        return settings;
    std::string line;
    while (std::getline(file, line)) {
        const std::string_view text = trimmed(line);
        if (text.empty() || text.front() == '*' || text.front() == ';')
            continue;
        const std::size_t equals = text.find('=');
        const std::string key = upper(trimmed(text.substr(0, equals)));
        if (key == "END_OPT")
            break;
        if (equals == std::string_view::npos)
            continue;
        double value = 0.0;
        if (!readNumber(trimmed(text.substr(equals + 1)), value))
            continue;
        if (key == "SMETHOD1")
            settings.robustMethod = value == 0.0;
    }
    return settings;
}

std::vector<std::string> SolverSettings::standardPlaces()
{
    namespace fs = std::filesystem;
    std::vector<std::string> places;
    std::error_code error;
    const fs::path here = fs::current_path(error);
    places.push_back(error ? std::string("bpmpd.par") : (here / "bpmpd.par").string());

    // XDG base directories: a relative XDG_CONFIG_HOME is to be ignored.
    const char *configHome = std::getenv("XDG_CONFIG_HOME");
    if (configHome != nullptr && fs::path(configHome).is_absolute()) {
        places.push_back((fs::path(configHome) / "zelvar" / "bpmpd.par").string());
    } else if (const char *home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        places.push_back((fs::path(home) / ".config" / "zelvar" / "bpmpd.par").string());
    }
    return places;
}

SolverSettings SolverSettings::fromStandardPlaces()
{
    for (const std::string &place : standardPlaces()) {
        std::error_code error;
        if (std::filesystem::is_regular_file(place, error))
            return fromFile(place);
    }
    return {};
}

} // namespace zelvar
