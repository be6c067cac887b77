#pragma once

#include "session/OptionButton.h"
#include "session/RunSeries.h"
#include "session/SelectionSet.h"

#include <array>
#include <string>
#include <vector>

namespace zelvar {

class Feedback;
struct Workspace;

struct CheckBoxState {
    bool checked = false;
    bool enabled = true;
};

enum class ListKind { Evaluation, Technology };

struct StartResult {
    bool started = false; // false: a message was shown and the dialog stays open
    RunSeries runs;
    // Analyses asked for beside the runs: a scale-efficiency table after each
    // run (captioned with the run's caption plus "_Scale"), and after a
    // Malmquist series its index (captioned indexCaption).
    bool scale = false;
    bool malmquistIndex = false;
    std::string indexCaption;
};

// The model dialog without widgets: option buttons with their selected and
// enabled states, the two check boxes, the evaluation and technology lists,
// the period and width lists, All / Clear and Start. The Qt dialog forwards
// every click here and mirrors the states; tests drive it directly.
//
// Constructing it performs the dialog's Load: the model options go back to
// their defaults, the weights box is ticked and enabled exactly when weights
// are loaded, the Cost and Revenue distances are shown and enabled exactly
// when prices are loaded, both lists get one unselected item per DMU and both
// period lists select "1". The workspace must outlive the dialog state.
class ModelDialogState {
public:
    explicit ModelDialogState(Workspace &workspace);

    // Selects the button within its group and performs its operation on the
    // model options and the control states. Like an option button, which
    // reports only a change, a click on the button already selected in its
    // group does nothing (radial clicked again under FDH must not tick
    // superefficiency). A click on a disabled button does nothing either: the
    // user cannot reach it, and it would break the permitted combinations (an
    // additive FDH model, say).
    void click(OptionButton button);
    [[nodiscard]] bool isSelected(OptionButton button) const;
    [[nodiscard]] bool isEnabled(OptionButton button) const;

    // Whether the dialog shows optCost and optRevenue: prices are loaded.
    [[nodiscard]] bool priceDistancesShown() const { return m_pricesShown; }
    // Prices were loaded or closed. Closing them while a priced distance is
    // selected brings back the radial distance, as a click on it would.
    void setPricesLoaded(bool loaded);

    // The user toggles them directly while they are enabled; Start reads the
    // checked state whether enabled or not.
    CheckBoxState chbSuper;
    CheckBoxState chbWR;
    // Scale efficiency (radial input- or output-oriented models) and the
    // Malmquist index (those models under Malmquist). Unticked at Load;
    // enabled only where they apply, and Start reads them only then.
    CheckBoxState chbScale{false, true};
    CheckBoxState chbMalmquistIndex{false, false};
    // Why the Malmquist index box is disabled, for its tooltip; empty when enabled.
    [[nodiscard]] std::string malmquistIndexNote() const;

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

    // The list that last had the focus; All and Clear act on it, also while
    // the lists are disabled under window analysis or Malmquist.
    ListKind ActiveList = ListKind::Technology;
    void focus(ListKind list) { ActiveList = list; }
    void cmdAll();
    void cmdClear();

    // Start: validates the selections, the weight restrictions and the period
    // arithmetic; on a failure tells the user through feedback and returns
    // started == false (the dialog stays open). Otherwise sets Periods,
    // DMUsPerPeriod and WindowWidth (dynamic models), ModelName,
    // RestrictWeights and Superefficiency and returns the runs to make. The
    // caller makes each run with its selections, then calls finishSeries().
    [[nodiscard]] StartResult cmdStart(Feedback &feedback);
    // After the last run of a window or Malmquist series (also one of no
    // steps) every DMU is selected in both lists again. After a single run
    // it changes nothing.
    void finishSeries();

    // The names of the DMUs the lists stand for (DMUNames of the data set:
    // index d, a four-character mark before each name).
    [[nodiscard]] const std::vector<std::string> &dmuNames() const;

private:
    void setEnabled(OptionButton button, bool on);
    void select(OptionButton button);
    void selectAllDMUs();
    void enableAnalyses();
    [[nodiscard]] bool weightsRefused(Feedback &feedback) const;
    [[nodiscard]] bool pricesRefused(Feedback &feedback) const;
    // The orientation a distance allows: a priced one fixes it, the others
    // leave every orientation to the user (the free disposal hull takes
    // care of "NON" itself).
    void enableOrientations(OptionButton distance);

    Workspace &m_workspace;
    // Selected flag (exactly one per group) and enabled flag per button,
    // indexed by OptionButton.
    std::array<bool, AllOptionButtonCount> m_selected{};
    std::array<bool, AllOptionButtonCount> m_enabled{};
    bool m_seriesStarted = false;
    bool m_pricesShown = false;
};

} // namespace zelvar
