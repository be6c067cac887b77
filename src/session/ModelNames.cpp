#include "session/ModelNames.h"

#include <array>

namespace zelvar {

namespace {

struct Code {
    const char *text;
    OptionButton button;
};

// One table feeds both directions: the names and the buttons that make them.
constexpr std::array<Code, 4> ReturnsToScaleCodes{{
    {"CRS", OptionButton::optConstant},
    {"VRS", OptionButton::optVariable},
    {"NDR", OptionButton::optNdr},
    {"NIR", OptionButton::optNir},
}};
constexpr std::array<Code, 4> DistanceCodes{{
    {"RAD", OptionButton::optRadial},
    {"ADD", OptionButton::optAdditiv},
    {"MAXAV", OptionButton::optMaxaverage},
    {"MINAV", OptionButton::optMinaverage},
}};
// The priced distances name their orientation with them.
constexpr std::array<Code, 2> PriceCodes{{
    {"COST_IN", OptionButton::optCost},
    {"REV_OUT", OptionButton::optRevenue},
}};
constexpr std::array<Code, 3> OrientationCodes{{
    {"IN", OptionButton::optInput},
    {"OUT", OptionButton::optOutput},
    {"NON", OptionButton::optNon},
}};

} // namespace

std::vector<std::string> allModelNames()
{
    std::vector<std::string> names;
    for (const Code &rts : ReturnsToScaleCodes)
        for (const Code &distance : DistanceCodes)
            for (const Code &orientation : OrientationCodes)
                names.push_back(std::string(rts.text) + "_" + distance.text + "_" + orientation.text);
    names.emplace_back("FDH_RAD_IN");
    names.emplace_back("FDH_RAD_OUT");
    return names;
}

std::vector<std::string> priceModelNames()
{
    std::vector<std::string> names;
    for (const Code &price : PriceCodes)
        for (const Code &rts : ReturnsToScaleCodes)
            names.push_back(std::string(rts.text) + "_" + price.text);
    return names;
}

std::optional<std::vector<OptionButton>> buttonsForModelName(std::string_view name)
{
    if (name == "FDH_RAD_IN")
        return std::vector{OptionButton::optNonconvex, OptionButton::optInput};
    if (name == "FDH_RAD_OUT")
        return std::vector{OptionButton::optNonconvex, OptionButton::optOutput};

    for (const Code &rts : ReturnsToScaleCodes)
        for (const Code &distance : DistanceCodes)
            for (const Code &orientation : OrientationCodes) {
                const std::string composed =
                    std::string(rts.text) + "_" + distance.text + "_" + orientation.text;
                if (composed == name)
                    return std::vector{OptionButton::optConvex, rts.button, distance.button,
                                       orientation.button};
            }
    for (const Code &rts : ReturnsToScaleCodes)
        for (const Code &price : PriceCodes)
            if (std::string(rts.text) + "_" + price.text == name)
                return std::vector{OptionButton::optConvex, rts.button, price.button};
    return std::nullopt;
}

} // namespace zelvar
