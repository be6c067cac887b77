#include "session/ModelOptions.h"

namespace zelvar {

std::string_view codeOf(ModelReturns returns)
{
    switch (returns) {
    case ModelReturns::CRS:
        return "CRS";
    case ModelReturns::VRS:
        return "VRS";
    case ModelReturns::NDR:
        return "NDR";
    case ModelReturns::NIR:
        return "NIR";
    }
    return {};
}

std::string_view codeOf(ModelOrientation orientation)
{
    switch (orientation) {
    case ModelOrientation::IN:
        return "IN";
    case ModelOrientation::OUT:
        return "OUT";
    case ModelOrientation::NON:
        return "NON";
    }
    return {};
}

std::string_view codeOf(ModelDistance distance)
{
    switch (distance) {
    case ModelDistance::RAD:
        return "RAD";
    case ModelDistance::ADD:
        return "ADD";
    case ModelDistance::MAXAV:
        return "MAXAV";
    case ModelDistance::MINAV:
        return "MINAV";
    case ModelDistance::COST:
        return "COST";
    case ModelDistance::REV:
        return "REV";
    }
    return {};
}

namespace {

template <typename Choice, std::size_t Count>
std::optional<Choice> fromCode(std::string_view code, const Choice (&choices)[Count])
{
    for (Choice choice : choices)
        if (codeOf(choice) == code)
            return choice;
    return std::nullopt;
}

} // namespace

std::optional<ModelReturns> returnsFromCode(std::string_view code)
{
    const ModelReturns all[] = {ModelReturns::CRS, ModelReturns::VRS, ModelReturns::NDR, ModelReturns::NIR};
    return fromCode(code, all);
}

std::optional<ModelOrientation> orientationFromCode(std::string_view code)
{
    const ModelOrientation all[] = {ModelOrientation::IN, ModelOrientation::OUT, ModelOrientation::NON};
    return fromCode(code, all);
}

std::optional<ModelDistance> distanceFromCode(std::string_view code)
{
    const ModelDistance all[] = {ModelDistance::RAD,   ModelDistance::ADD,  ModelDistance::MAXAV,
                                 ModelDistance::MINAV, ModelDistance::COST, ModelDistance::REV};
    return fromCode(code, all);
}

std::string ModelOptions::modelName() const
{
    if (fdh())
        return "FDH_RAD_" + std::string(codeOf(Orientation));
    return std::string(codeOf(ReturnsToScale)) + "_" + std::string(codeOf(Distance)) + "_"
        + std::string(codeOf(Orientation));
}

} // namespace zelvar
