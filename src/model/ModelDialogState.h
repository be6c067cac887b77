#pragma once

#include "model/SelectionSet.h"

#include <string>

namespace zelvar {

class Feedback;
struct Workspace;

// The option buttons of the model dialog, one value per control.
enum class OptionButton {
    optConvex, optNonconvex,                           // group Structure
    optConstant, optVariable, optNdr, optNir,          // group Returns to scale
    optInput, optOutput, optNon,                       // group Orientation
    optRadial, optAdditiv, optMaxaverage, optMinaverage, // group Distance
    optNone, optWA, optMalmquist,                      // group Dynamics
};

struct CheckBoxState {
    bool checked = false;
    bool enabled = true;
};

enum class ListKind { Evaluation, Technology };

// One run of a series: its caption and the two selections it runs with.
struct PlannedRun {
    std::string caption;
    SelectionSet eval;
    SelectionSet tech;
};

// The runs Start asked for: one for a single model, one per window of a
// window analysis, one per Malmquist step. Runs are made one at a time so a
// long series never holds every selection at once.
class RunSeries {
public:
    RunSeries() = default;
    RunSeries(std::string base, bool windowAnalysis, bool malmquist, int numDMU, int periods,
              int dmusPerPeriod, int windowWidth, std::string singleCaption);

    int count() const;
    PlannedRun run(int index) const;

private:
    std::string m_base;
    std::string m_singleCaption;
    bool m_window = false;
    bool m_malmquist = false;
    int m_numDMU = 0;
    int m_periods = 1;
    int m_dmusPerPeriod = 0;
    int m_width = 1;
};

struct StartResult {
    bool started = false; // false: a message was shown and the dialog stays open
    RunSeries runs;
};

// The model dialog without widgets: option buttons with their selected and
// enabled states, the two check boxes, the evaluation and technology lists,
// the period and width lists, All / Clear and Start. The Qt dialog forwards
// every click here and mirrors the states; tests drive it directly.
//
// Constructing it performs the dialog's Load: the model options go back to
// their defaults, the weights box is ticked and enabled exactly when weights
// are loaded, both lists get one unselected item per DMU and both period
// lists select "1".
class ModelDialogState {
public:
    explicit ModelDialogState(Workspace &workspace);

    // Selects the button within its group and performs its operation on the
    // model options and the control states.
    void click(OptionButton button);
    bool isSelected(OptionButton button) const;
    bool isEnabled(OptionButton button) const;

    CheckBoxState chbSuper;
    CheckBoxState chbWR;

    SelectionSet lstEval;
    SelectionSet lstTech;
    bool lstEvalEnabled = true;
    bool lstTechEnabled = true;
    bool lblEvaluationEnabled = true;
    bool lblTechnologyEnabled = true;

    // Drop-down lists of 1..NumDMU: the selected item's index (value = index + 1).
    int cmbPeriodsIndex = 0;
    int cmbWidthIndex = 0;
    bool cmbPeriodsEnabled = false;
    bool lblPeriodsEnabled = false;
    bool cmbWidthEnabled = false;
    bool lblWidthEnabled = false;

    // The list that last had the focus; All and Clear act on it.
    ListKind ActiveList = ListKind::Technology;
    void focus(ListKind list) { ActiveList = list; }
    void cmdAll();
    void cmdClear();

    // Start: validates the selections and the period arithmetic (telling the
    // user through feedback), composes ModelName, copies the check boxes
    // into the model options and returns the runs to make. The caller makes
    // each run with its selections, then calls finishSeries().
    StartResult cmdStart(Feedback &feedback);
    // After the last run of a window or Malmquist series every DMU is
    // selected in both lists again.
    void finishSeries();

private:
    Workspace &m_workspace;
    // selected button per group and enabled flag per button, indexed by OptionButton
    bool m_selected[16] = {};
    bool m_enabled[16] = {};
};

} // namespace zelvar
