#include "results/AnalysisTables.h"

#include "data/DataSet.h"
#include "data/NumberText.h"
#include "engine/MalmquistIndex.h"
#include "engine/ScaleEfficiency.h"
#include "session/DisplayFormat.h"

#include <optional>
#include <string>
#include <vector>

namespace zelvar {

namespace {

constexpr int NameWidth = 1000; // twips, as the score table's DMU column

// The name of DMU d with a blank four-character prefix: the index speaks of
// firms, not of how one run saw them.
std::string unitName(const DataSet &data, int d)
{
    const std::string &name = data.DMUNames[static_cast<std::size_t>(d)];
    return "    " + (name.size() > 4 ? name.substr(4) : std::string());
}

std::string ratioText(const std::optional<double> &value, const DisplayFormat &format, std::string_view sep)
{
    return value ? formatFixed(*value, format.DecScore, sep) : std::string();
}

} // namespace

TextGrid scaleTable(const ScaleEfficiency &scale, const DataSet &data, const DisplayFormat &format,
                    std::string_view sep)
{
    std::vector<std::string> labels{" "};
    for (const ScaleEfficiency::Row &row : scale.rows)
        labels.push_back(std::to_string(row.dmu));
    TextGrid grid;
    grid.setLayout({"", "DMU", "CRS", "VRS", "Scale", "RTS"}, std::move(labels));
    grid.setColumnWidth(1, NameWidth);
    auto score = [&](const std::optional<double> &value, bool big) {
        if (big)
            return std::string("big");
        return value ? formatPercent(*value, format.DecScore, sep) : std::string();
    };
    int r = 0;
    for (const ScaleEfficiency::Row &row : scale.rows) {
        ++r;
        grid.setText(r, 1, data.DMUNames[static_cast<std::size_t>(row.dmu)]);
        grid.setText(r, 2, score(row.crs, row.crsBig));
        grid.setText(r, 3, score(row.vrs, row.vrsBig));
        if (row.scale)
            grid.setText(r, 4, formatPercent(*row.scale, format.DecScore, sep));
        if (row.returns)
            grid.setText(r, 5, returnsCode(*row.returns));
    }
    return grid;
}

TextGrid malmquistIndexTable(const MalmquistIndex &index, const DataSet &data, const DisplayFormat &format,
                             std::string_view sep)
{
    const int K = index.unitsPerPeriod;
    struct Line {
        std::string name;
        std::string step;
        const MalmquistIndex::Values *values;
    };
    std::vector<Line> lines;
    for (std::size_t t = 0; t < index.steps.size(); ++t) {
        const std::string step = std::to_string(t) + "-" + std::to_string(t + 1);
        for (int k = 0; k < K; ++k)
            lines.push_back({unitName(data, static_cast<int>(t + 1) * K + k + 1), step,
                             &index.steps[t].units[static_cast<std::size_t>(k)]});
        lines.push_back({"Mean", step, &index.steps[t].mean});
    }
    for (int k = 0; k < K && !index.steps.empty(); ++k)
        lines.push_back({unitName(data, (index.periods - 1) * K + k + 1), "all",
                         &index.overall[static_cast<std::size_t>(k)]});
    if (!index.steps.empty())
        lines.push_back({"Mean", "all", &index.overallMean});

    std::vector<std::string> labels{" "};
    for (std::size_t k = 1; k <= lines.size(); ++k)
        labels.push_back(std::to_string(k));
    TextGrid grid;
    grid.setLayout({"", "DMU", "Step", "EC", "TC", "PEC", "SEC", "MI"}, std::move(labels));
    grid.setColumnWidth(1, NameWidth);
    int r = 0;
    for (const Line &line : lines) {
        ++r;
        const MalmquistIndex::Values &v = *line.values;
        grid.setText(r, 1, line.name);
        grid.setText(r, 2, line.step);
        grid.setText(r, 3, ratioText(v.ec, format, sep));
        grid.setText(r, 4, ratioText(v.tc, format, sep));
        grid.setText(r, 5, ratioText(v.pec, format, sep));
        grid.setText(r, 6, ratioText(v.sec, format, sep));
        grid.setText(r, 7, ratioText(v.mi, format, sep));
    }
    return grid;
}

} // namespace zelvar
