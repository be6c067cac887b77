#pragma once

#include "data/Feedback.h"
#include "session/ModelDialogState.h"
#include "session/Workspace.h"

#include <string>
#include <vector>

namespace zelvar::dialogtest {

// Records every message instead of showing it.
class RecordingFeedback : public Feedback {
public:
    void message(const std::string &text) override { messages.push_back(text); }
    bool confirm(const std::string &text) override
    {
        messages.push_back(text);
        return true;
    }
    std::vector<std::string> messages;
};

// A data set as the data file reader leaves it, without reading a file: the
// counts and names the dialog reads. Weights are added by withWeights().
inline void loadData(Workspace &workspace, int numDMU, int numInputs = 2, int numOutputs = 1,
                     const std::string &path = "/data/firms.xls")
{
    DataSet &data = workspace.data;
    data.NumDMU = numDMU;
    data.NumInputs = numInputs;
    data.NumOutputs = numOutputs;
    data.DataFileName = path;
    data.DataFileStem = path.substr(0, path.rfind('.'));
    workspace.options.Periods = 1;
    workspace.options.WindowWidth = 1;
    workspace.options.DMUsPerPeriod = numDMU;
}

// A restriction table of `columns` weights and `rows` restrictions.
inline void withWeights(Workspace &workspace, int columns, int rows = 2,
                        const std::string &path = "/w/limits.txt", const std::string &name = "limits")
{
    DataSet &data = workspace.data;
    data.WeightsFileName = path;
    data.WeightsName = name;
    data.NumWeightRows = rows;
    data.WeightRestrictions = Matrix(columns, rows);
    for (int k = 1; k <= rows; ++k)
        data.WeightRestrictions(1, k) = 1.0;
    data.WeightNonzeros = rows;
}

// The model dialog as a data-file load leaves it: created, every DMU selected.
inline ModelDialogState &freshDialog(Workspace &workspace)
{
    workspace.discardModelDialog();
    ModelDialogState &dialog = workspace.modelDialog();
    dialog.lstEval.selectAll(true);
    dialog.lstTech.selectAll(true);
    return dialog;
}

// DMU numbers selected in a list, ascending.
inline std::vector<int> selectedDMUs(const SelectionSet &list)
{
    std::vector<int> dmus;
    for (int d = 1; d <= list.size(); ++d)
        if (list.selected(d))
            dmus.push_back(d);
    return dmus;
}

inline std::vector<int> range(int first, int last)
{
    std::vector<int> dmus;
    for (int d = first; d <= last; ++d)
        dmus.push_back(d);
    return dmus;
}

} // namespace zelvar::dialogtest
