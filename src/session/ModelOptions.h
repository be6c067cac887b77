#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zelvar {

// The choices that make a model, one type per choice. The model name joins
// their codes: "CRS_RAD_IN", "FDH_RAD_OUT".
enum class ModelStructure { Convex, FDH };
enum class ModelReturns { CRS, VRS, NDR, NIR };
enum class ModelOrientation { IN, OUT, NON };
// COST and REV are the cost (input side) and revenue (output side) models,
// which need prices.
enum class ModelDistance { RAD, ADD, MAXAV, MINAV, COST, REV };

// The code of each choice as the model name writes it.
[[nodiscard]] std::string_view codeOf(ModelReturns returns);
[[nodiscard]] std::string_view codeOf(ModelOrientation orientation);
[[nodiscard]] std::string_view codeOf(ModelDistance distance);
// The choice a code names ("VRS", "OUT", "MAXAV"); nothing for any other text.
[[nodiscard]] std::optional<ModelReturns> returnsFromCode(std::string_view code);
[[nodiscard]] std::optional<ModelOrientation> orientationFromCode(std::string_view code);
[[nodiscard]] std::optional<ModelDistance> distanceFromCode(std::string_view code);

// The choices and flags that say which model the next run computes. Never
// persisted: each new model dialog starts from these defaults.
struct ModelOptions {
    ModelStructure Structure = ModelStructure::Convex;
    ModelReturns ReturnsToScale = ModelReturns::CRS;
    ModelOrientation Orientation = ModelOrientation::IN;
    ModelDistance Distance = ModelDistance::RAD;
    bool Superefficiency = true;
    bool RestrictWeights = false;
    bool WindowAnalysis = false;
    bool Malmquist = false;
    std::int32_t Periods = 1;
    std::int32_t WindowWidth = 1;
    std::int32_t DMUsPerPeriod = 0;
    std::string ModelName;

    bool fdh() const { return Structure == ModelStructure::FDH; }
    bool radial() const { return Distance == ModelDistance::RAD; }
    // The cost and revenue models, which price the inputs or the outputs.
    bool priced() const { return Distance == ModelDistance::COST || Distance == ModelDistance::REV; }
    // Returns to scale other than constant add the scale variable u0 to the LPs.
    bool constantReturns() const { return ReturnsToScale == ModelReturns::CRS; }
    // The name Start composes: "FDH_RAD_" + orientation, else returns to
    // scale, distance and orientation joined by "_".
    [[nodiscard]] std::string modelName() const;
};

} // namespace zelvar
