#include "session/ModelDialogState.h"

#include "data/Feedback.h"
#include "session/Workspace.h"

#include <utility>

namespace zelvar {

namespace {

using enum OptionButton;

constexpr std::size_t at(OptionButton button) { return static_cast<std::size_t>(button); }

// The group of each button, in the order of OptionButton: selecting one
// button deselects the others of its group.
enum class Group { Structure, Returns, Orientation, Distance, Dynamics };
constexpr Group GroupOf[AllOptionButtonCount] = {
    Group::Structure,   Group::Structure,                                                  // optConvex ..
    Group::Returns,     Group::Returns,     Group::Returns,   Group::Returns,              // optConstant ..
    Group::Orientation, Group::Orientation, Group::Orientation,                            // optInput ..
    Group::Distance,    Group::Distance,    Group::Distance,  Group::Distance,             // optRadial ..
    Group::Dynamics,    Group::Dynamics,    Group::Dynamics,                               // optNone ..
    Group::Distance,    Group::Distance,                                                   // optCost ..
};

} // namespace

ModelDialogState::ModelDialogState(Workspace &workspace)
    : lstEval(workspace.data.NumDMU), lstTech(workspace.data.NumDMU), m_workspace(workspace)
{
    ModelOptions &options = m_workspace.options;
    options.Orientation = ModelOrientation::IN;
    options.Distance = ModelDistance::RAD;
    options.ReturnsToScale = ModelReturns::CRS;
    options.Structure = ModelStructure::Convex;
    options.Superefficiency = true;
    chbSuper = {true, true};
    options.WindowAnalysis = false;
    options.Malmquist = false;
    const bool weights = m_workspace.data.weightsLoaded();
    chbWR = {weights, weights};

    m_enabled.fill(true);
    m_pricesShown = m_workspace.data.pricesLoaded();
    setEnabled(optCost, m_pricesShown);
    setEnabled(optRevenue, m_pricesShown);
    for (OptionButton button : {optConvex, optConstant, optInput, optRadial, optNone})
        m_selected[at(button)] = true;
    enableAnalyses();
    // optNone's control states (period lists off, DMU lists on) and "1" in
    // both period lists are the members' initial values.
}

bool ModelDialogState::isSelected(OptionButton button) const { return m_selected[at(button)]; }

bool ModelDialogState::isEnabled(OptionButton button) const { return m_enabled[at(button)]; }

void ModelDialogState::setEnabled(OptionButton button, bool on) { m_enabled[at(button)] = on; }

void ModelDialogState::select(OptionButton button)
{
    for (std::size_t b = 0; b < m_selected.size(); ++b)
        if (GroupOf[b] == GroupOf[at(button)])
            m_selected[b] = false;
    m_selected[at(button)] = true;
}

void ModelDialogState::setPricesLoaded(bool loaded)
{
    m_pricesShown = loaded;
    if (!loaded && (isSelected(optCost) || isSelected(optRevenue)))
        click(optRadial);
    const bool convex = !m_workspace.options.fdh();
    setEnabled(optCost, loaded && convex);
    setEnabled(optRevenue, loaded && convex);
}

void ModelDialogState::enableOrientations(OptionButton distance)
{
    setEnabled(optInput, distance != optRevenue);
    setEnabled(optOutput, distance != optCost);
    setEnabled(optNon, distance != optCost && distance != optRevenue);
}

void ModelDialogState::selectAllDMUs()
{
    lstEval.selectAll(true);
    lstTech.selectAll(true);
}

void ModelDialogState::click(OptionButton button)
{
    if (!isEnabled(button) || isSelected(button))
        return;
    select(button);

    ModelOptions &options = m_workspace.options;
    switch (button) {
    case optConvex:
        options.Structure = ModelStructure::Convex;
        for (OptionButton b : {optAdditiv, optConstant, optVariable, optNir, optNdr, optMinaverage,
                               optMaxaverage, optNon})
            setEnabled(b, true);
        if (isSelected(optRadial))
            chbSuper = {true, true};
        // The box keeps its tick: a choice made before switching to FDH and
        // back stays as the user left it.
        if (m_workspace.data.weightsLoaded())
            chbWR.enabled = true;
        setEnabled(optCost, m_pricesShown);
        setEnabled(optRevenue, m_pricesShown);
        break;
    case optNonconvex:
        options.Structure = ModelStructure::FDH;
        options.Distance = ModelDistance::RAD;
        chbSuper = {false, false};
        // FDH has no distance choice: radial is selected without radial's own
        // operation, which would tick superefficiency again.
        select(optRadial);
        if (options.Orientation == ModelOrientation::NON) {
            select(optInput);
            options.Orientation = ModelOrientation::IN;
        }
        for (OptionButton b : {optAdditiv, optNon, optConstant, optVariable, optNir, optNdr,
                               optMaxaverage, optMinaverage, optCost, optRevenue})
            setEnabled(b, false);
        // A priced distance chosen before fixed the orientation; FDH takes
        // input and output orientation.
        setEnabled(optInput, true);
        setEnabled(optOutput, true);
        chbWR.enabled = false;
        break;
    case optRadial:
        options.Distance = ModelDistance::RAD;
        chbSuper = {true, true};
        enableOrientations(button);
        chbWR.enabled = m_workspace.data.weightsLoaded();
        break;
    case optAdditiv:
    case optMaxaverage:
    case optMinaverage:
        // Superefficiency only has a meaning for radial scores.
        options.Distance = button == optAdditiv      ? ModelDistance::ADD
                           : button == optMaxaverage ? ModelDistance::MAXAV
                                                     : ModelDistance::MINAV;
        chbSuper = {false, false};
        enableOrientations(button);
        chbWR.enabled = m_workspace.data.weightsLoaded();
        break;
    case optCost:
    case optRevenue:
        // Cost is measured on the input side, revenue on the output side;
        // neither knows superefficiency or weight restrictions (the prices
        // are the weights). The weights box keeps its tick for later.
        options.Distance = button == optCost ? ModelDistance::COST : ModelDistance::REV;
        options.Orientation = button == optCost ? ModelOrientation::IN : ModelOrientation::OUT;
        select(button == optCost ? optInput : optOutput);
        enableOrientations(button);
        chbSuper = {false, false};
        chbWR.enabled = false;
        break;
    case optInput:
        options.Orientation = ModelOrientation::IN;
        break;
    case optOutput:
        options.Orientation = ModelOrientation::OUT;
        break;
    case optNon:
        options.Orientation = ModelOrientation::NON;
        break;
    case optConstant:
        options.ReturnsToScale = ModelReturns::CRS;
        break;
    case optVariable:
        options.ReturnsToScale = ModelReturns::VRS;
        break;
    case optNdr:
        options.ReturnsToScale = ModelReturns::NDR;
        break;
    case optNir:
        options.ReturnsToScale = ModelReturns::NIR;
        break;
    case optNone:
        options.WindowAnalysis = false;
        options.Malmquist = false;
        lblWidthEnabled = lblPeriodsEnabled = cmbWidthEnabled = cmbPeriodsEnabled = false;
        lstEvalEnabled = lstTechEnabled = lblEvaluationEnabled = lblTechnologyEnabled = true;
        break;
    case optWA:
        options.WindowAnalysis = true;
        options.Malmquist = false;
        lblWidthEnabled = lblPeriodsEnabled = cmbWidthEnabled = cmbPeriodsEnabled = true;
        // Start chooses the DMUs of each window; the lists only show that
        // every DMU takes part.
        selectAllDMUs();
        lstEvalEnabled = lstTechEnabled = lblEvaluationEnabled = lblTechnologyEnabled = false;
        break;
    case optMalmquist:
        options.WindowAnalysis = false;
        options.Malmquist = true;
        // A Malmquist step always compares one period with the next.
        cmbWidthIndex = 0;
        lblWidthEnabled = false;
        lblPeriodsEnabled = true;
        cmbWidthEnabled = false;
        cmbPeriodsEnabled = true;
        selectAllDMUs();
        lstEvalEnabled = lstTechEnabled = lblEvaluationEnabled = lblTechnologyEnabled = false;
        break;
    }
    enableAnalyses();
}

// Both analyses rest on radial distances measured from one side.
void ModelDialogState::enableAnalyses()
{
    const ModelOptions &options = m_workspace.options;
    const bool oriented = !options.fdh() && options.radial() && options.Orientation != ModelOrientation::NON;
    chbScale.enabled = oriented;
    chbMalmquistIndex.enabled = oriented && options.Malmquist;
}

std::string ModelDialogState::malmquistIndexNote() const
{
    const ModelOptions &options = m_workspace.options;
    if (!options.Malmquist)
        return "The index needs a Malmquist analysis (Dynamics).";
    if (options.fdh() || !options.radial() || options.Orientation == ModelOrientation::NON)
        return "The index needs a convex radial model, input or output oriented.";
    return {};
}

void ModelDialogState::cmdAll()
{
    (ActiveList == ListKind::Evaluation ? lstEval : lstTech).selectAll(true);
}

void ModelDialogState::cmdClear()
{
    (ActiveList == ListKind::Evaluation ? lstEval : lstTech).selectAll(false);
}

// Restrictions kept from a data set with another number of inputs plus
// outputs would make the LP builders read coefficients that do not exist.
// The free disposal hull never reads them, so it runs whatever the box says.
bool ModelDialogState::weightsRefused(Feedback &feedback) const
{
    const DataSet &data = m_workspace.data;
    if (m_workspace.options.fdh() || m_workspace.options.priced() || !chbWR.checked || !data.weightsLoaded()
        || data.weightsFitData())
        return false;
    const int columns = data.WeightRestrictions.rows();
    const int needed = data.NumInputs + data.NumOutputs;
    if (columns != needed) {
        feedback.message("The weight restrictions in " + data.WeightsFileName + " have "
                         + std::to_string(columns)
                         + (columns == 1 ? " coefficient column" : " coefficient columns")
                         + ", but the data has " + std::to_string(needed)
                         + " inputs and outputs. Load matching weight restrictions or untick "
                           "Restrict weights.");
    } else {
        feedback.message("The weight restrictions in " + data.WeightsFileName
                         + " hold no complete restriction. Load them again or untick "
                           "Restrict weights.");
    }
    return true;
}

bool ModelDialogState::pricesRefused(Feedback &feedback) const
{
    const DataSet &data = m_workspace.data;
    if (!m_workspace.options.priced() || data.pricesFitData())
        return false;
    feedback.message("The cost and revenue models need prices for the inputs and outputs of this data: "
                     "load a prices file (File, Load Prices).");
    return true;
}

StartResult ModelDialogState::cmdStart(Feedback &feedback)
{
    ModelOptions &options = m_workspace.options;
    const DataSet &data = m_workspace.data;
    const int numDMU = data.NumDMU;

    if (lstEval.selectedCount() == 0 || lstTech.selectedCount() == 0) {
        feedback.message("Please select at least one DMU!");
        return {};
    }
    if (weightsRefused(feedback) || pricesRefused(feedback))
        return {};

    const bool dynamic = options.WindowAnalysis || options.Malmquist;
    if (dynamic) {
        const int periods = cmbPeriodsIndex + 1;
        const int width = cmbWidthIndex + 1;
        // An index outside the lists (nothing selected) counts as a wrong
        // choice too; it would otherwise divide by zero.
        const bool inLists = periods >= 1 && periods <= numDMU && width >= 1 && width <= numDMU;
        if (!inLists || width > periods || numDMU % periods != 0) {
            feedback.message("Wrong Number of Periods (Options).");
            cmbPeriodsIndex = 0;
            cmbWidthIndex = 0;
            options.WindowAnalysis = false;
            click(optNone);
            return {};
        }
        options.Periods = periods;
        options.DMUsPerPeriod = numDMU / periods;
        options.WindowWidth = width;
        const int firstWindowEnd = options.WindowWidth * options.DMUsPerPeriod;
        lstEval.selectRange(1, firstWindowEnd);
        lstTech.selectRange(1, firstWindowEnd);
    }

    options.ModelName = options.modelName();

    options.RestrictWeights = chbWR.checked && !options.priced();
    const std::string weightsSuffix = options.RestrictWeights ? "_WR-" + data.WeightsName : "";
    options.Superefficiency = chbSuper.checked;

    StartResult result;
    result.started = true;
    result.scale = chbScale.checked && chbScale.enabled;
    result.malmquistIndex = chbMalmquistIndex.checked && chbMalmquistIndex.enabled;
    result.indexCaption = data.DataFileStem + "_" + options.ModelName + weightsSuffix + "_MalmquistIndex";
    m_seriesStarted = dynamic;
    if (dynamic) {
        const std::string base = data.DataFileStem + "_" + options.ModelName + weightsSuffix;
        if (options.WindowAnalysis)
            result.runs = RunSeries::windows(base, numDMU, options.Periods, options.DMUsPerPeriod,
                                             options.WindowWidth);
        else
            result.runs = RunSeries::malmquist(base, numDMU, options.Periods, options.DMUsPerPeriod);
    } else {
        result.runs = RunSeries::single(data.DataFileName + "_" + options.ModelName + weightsSuffix,
                                        lstEval, lstTech);
    }
    return result;
}

const std::vector<std::string> &ModelDialogState::dmuNames() const { return m_workspace.data.DMUNames; }

void ModelDialogState::finishSeries()
{
    if (!m_seriesStarted)
        return;
    m_seriesStarted = false;
    selectAllDMUs();
}

} // namespace zelvar
