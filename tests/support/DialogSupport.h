#pragma once

#include "support/TestSupport.h"

#include "session/ModelDialogState.h"
#include "session/Workspace.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <string>
#include <tuple>

namespace zelvar::test {

// A data set of numDMU units with `inputs` inputs and one output as a load
// of "f.xls" leaves it, without reading a file: what the model dialog reads.
inline void loadData(Workspace &workspace, int numDMU, int inputs = 2)
{
    DataSet &data = workspace.data;
    ModelOptions &options = workspace.options;
    std::tie(data.NumDMU, data.NumInputs, data.NumOutputs) = std::tuple(numDMU, inputs, 1);
    std::tie(data.DataFileName, data.DataFileStem) = std::pair("f.xls", "f");
    std::tie(options.Periods, options.WindowWidth, options.DMUsPerPeriod) = std::tuple(1, 1, numDMU);
}

// Restrictions of `columns` weights in two rows, read from "/w/limits.txt".
inline void withWeights(Workspace &workspace, int columns)
{
    addWeights(workspace.data, std::vector(2, std::vector(static_cast<std::size_t>(columns), 1.0)), "/w/limits.txt");
    workspace.data.WeightsName = "limits";
}

// The model dialog as a data-file load leaves it: loaded afresh, every DMU
// selected in both lists.
inline ModelDialogState &freshDialog(Workspace &workspace)
{
    workspace.discardModelDialog();
    workspace.modelDialog().lstEval.selectAll(true);
    workspace.modelDialog().lstTech.selectAll(true);
    return workspace.modelDialog();
}

// The option buttons by their names without "opt", in OptionButton order.
inline constexpr const char *ButtonNames[] = {"Convex",     "Nonconvex",  "Constant", "Variable", "Ndr",   "Nir",
                                              "Input",      "Output",     "Non",      "Radial",   "Additiv",
                                              "Maxaverage", "Minaverage", "None",     "WA",       "Malmquist",
                                              "Cost",       "Revenue"};
static_assert(std::size(ButtonNames) == AllOptionButtonCount);

// One row of prices for the inputs and outputs of the loaded data.
inline void withPrices(Workspace &workspace)
{
    DataSet &data = workspace.data;
    data.PricesFileName = "/p/prices.txt";
    data.PricesName = "prices";
    data.Prices = Matrix(data.NumInputs + data.NumOutputs, 1);
}

// What the user does in the model dialog, as words separated by blanks: a
// button name clicks the button; "super-", "super+", "wr-", "wr+" untick or
// tick a box; "periods=3" and "width=2" choose in the period lists;
// "eval=2-4" and "tech=1-3" select those DMUs alone; "focusEval" and
// "focusTech" give a list the focus, "all" and "clear" press All and Clear.
inline void act(ModelDialogState &dialog, const std::string &steps)
{
    std::istringstream words(steps);
    for (std::string w; words >> w;) {
        const auto button = std::find(std::begin(ButtonNames), std::end(ButtonNames), w);
        const std::string value = w.substr(w.find('=') + 1);
        const int first = std::atoi(value.c_str()), last = std::atoi(value.c_str() + (value.find('-') + 1)); // no '-': first
        if (button != std::end(ButtonNames))
            dialog.click(static_cast<OptionButton>(button - std::begin(ButtonNames)));
        else if (w == "super-" || w == "super+" || w == "wr-" || w == "wr+")
            (w[0] == 's' ? dialog.chbSuper : dialog.chbWR).checked = w.back() == '+';
        else if (w.starts_with("periods=") || w.starts_with("width="))
            (w[0] == 'p' ? dialog.cmbPeriodsIndex : dialog.cmbWidthIndex) = first - 1;
        else if (w.starts_with("eval=") || w.starts_with("tech="))
            (w[0] == 'e' ? dialog.lstEval : dialog.lstTech).selectRange(first, last);
        else if (w == "focusEval" || w == "focusTech")
            dialog.focus(w == "focusEval" ? ListKind::Evaluation : ListKind::Technology);
        else if (w == "all" || w == "clear")
            w == "all" ? dialog.cmdAll() : dialog.cmdClear();
        else
            ADD_FAILURE() << "no such step: " << w;
    }
}

// The DMUs selected in a list as ranges, "1-3,5"; "none" when there are none.
inline std::string ranges(const SelectionSet &list)
{
    std::string text;
    for (int d = 1, last = 1; d <= list.size(); d = last + 1) {
        for (last = d; list.selected(d) && last < list.size() && list.selected(last + 1);)
            ++last;
        if (list.selected(d))
            text += (text.empty() ? "" : ",") + std::to_string(d) + (last > d ? "-" + std::to_string(last) : "");
    }
    return text.empty() ? "none" : text;
}

} // namespace zelvar::test
