#include "support/ModelRun.h"

#include <sstream>

namespace zelvar::test {

ModelOptions modelOptions(const std::string &name)
{
    std::vector<std::string> codes;
    std::istringstream in(name);
    for (std::string code; std::getline(in, code, '_');)
        codes.push_back(code);
    ModelOptions options;
    options.ModelName = name;
    options.Orientation = orientationFromCode(codes.back()).value();
    if (codes.front() == "FDH") {
        options.Structure = ModelStructure::FDH;
        return options;
    }
    options.ReturnsToScale = returnsFromCode(codes[0]).value();
    options.Distance = distanceFromCode(codes[1]).value();
    return options;
}

std::vector<std::string> lpModels(bool radialOnly)
{
    std::vector<std::string> names;
    for (const char *returns : {"CRS", "VRS", "NDR", "NIR"})
        for (const char *distance : {"RAD", "ADD", "MAXAV", "MINAV"})
            for (const char *orientation : {"IN", "OUT", "NON"})
                if (!radialOnly || std::string(distance) == "RAD")
                    names.push_back(std::string(returns) + "_" + distance + "_" + orientation);
    return names;
}

ModelRun::ModelRun(DataSet data, const std::string &model, int threads)
{
    workspace.data = std::move(data);
    workspace.options = modelOptions(model);
    workspace.format.DecIntensities = 8;
    workspace.threadCount = threads;
    eval = SelectionSet(workspace.data.NumDMU, true);
    tech = SelectionSet(workspace.data.NumDMU, true);
}

RunOutcome ModelRun::run()
{
    const bool keepLp = results.keepLp;
    results = RecordingResults();
    results.keepLp = keepLp;
    progress.events.clear();
    progress.updates = 0;
    progress.repaints = 0;
    feedback.messages.clear();
    feedback.confirms.clear();
    outcome = driver.RunModel(eval, tech, results, progress, feedback);
    return outcome;
}

std::vector<int> ModelRun::lpDmus(int d) const
{
    std::vector<int> dmus;
    for (int j = 1; j <= workspace.data.NumDMU; ++j)
        if (tech.selected(j) || j == d)
            dmus.push_back(j);
    return dmus;
}

} // namespace zelvar::test
