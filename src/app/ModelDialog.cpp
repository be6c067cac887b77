#include "ModelDialog.h"

#include "DmuListView.h"
#include "NumberListModel.h"
#include "session/Workspace.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>

#include <tuple>

namespace zelvar {

namespace {

using enum OptionButton;

QGroupBox *frame(const char *name, const QString &caption, QWidget *parent)
{
    auto *box = new QGroupBox(caption, parent);
    box->setObjectName(QLatin1String(name));
    return box;
}

// A drop-down of 1..NumDMU that stays quick for very many DMUs.
QComboBox *numberList(const char *name, int count, QWidget *parent)
{
    auto *combo = new QComboBox(parent);
    combo->setObjectName(QLatin1String(name));
    combo->setModel(new NumberListModel(count, combo));
    if (auto *view = qobject_cast<QListView *>(combo->view()))
        view->setUniformItemSizes(true);
    combo->setMaxVisibleItems(12);
    // Sized by the longest number, not by measuring every item.
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combo->setMinimumContentsLength(static_cast<int>(QString::number(count).size()) + 1);
    return combo;
}

} // namespace

ModelDialog::ModelDialog(ModelDialogState &state, Feedback &feedback, StartHandler onStart,
                         QWidget *parent)
    : QDialog(parent), m_state(state), m_feedback(feedback), m_onStart(std::move(onStart))
{
    setObjectName(QStringLiteral("frmModell"));
    setWindowTitle(QStringLiteral("Run model"));
    setModal(true);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("SSTab1"));
    m_tabs->addTab(createModelTab(), QStringLiteral("&Model"));
    m_tabs->addTab(createOptionsTab(), QStringLiteral("O&ptions"));

    auto *cmdStart = new QPushButton(QStringLiteral("&Start"), this);
    cmdStart->setObjectName(QStringLiteral("cmdStart"));
    cmdStart->setDefault(true);
    auto *cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setAutoDefault(false);
    connect(cmdStart, &QPushButton::clicked, this, &ModelDialog::start);
    // Escape rejects the dialog as well; both only hide it.
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdStart);
    buttons->addWidget(cmdCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addLayout(buttons);

    showState();
}

QRadioButton *ModelDialog::addOption(OptionButton button, const char *name, const QString &caption,
                                     QWidget *parent)
{
    auto *radio = new QRadioButton(caption, parent);
    radio->setObjectName(QLatin1String(name));
    m_options[static_cast<std::size_t>(button)] = radio;
    connect(radio, &QRadioButton::clicked, this, [this, button] {
        m_state.click(button);
        showState();
    });
    return radio;
}

QWidget *ModelDialog::createModelTab()
{
    auto *tab = new QWidget;
    const auto group = [&](const char *name, const QString &caption,
                           std::initializer_list<std::tuple<OptionButton, const char *, QString>> buttons) {
        QGroupBox *box = frame(name, caption, tab);
        auto *layout = new QVBoxLayout(box);
        auto *exclusive = new QButtonGroup(box);
        for (const auto &[button, buttonName, buttonCaption] : buttons) {
            QRadioButton *radio = addOption(button, buttonName, buttonCaption, box);
            exclusive->addButton(radio);
            layout->addWidget(radio);
        }
        layout->addStretch(1);
        return box;
    };

    QGroupBox *structure = group("Frame1", QStringLiteral("Structure"),
                                 {{optConvex, "optConvex", QStringLiteral("Conve&x")},
                                  {optNonconvex, "optNonconvex", QStringLiteral("Noncon&vex")}});
    QGroupBox *scale = group("fraSkalen", QStringLiteral("Returns to scale"),
                             {{optConstant, "optConstant", QStringLiteral("&Constant")},
                              {optVariable, "optVariable", QStringLiteral("Varia&ble")},
                              {optNdr, "optNdr", QStringLiteral("Non&decreasing")},
                              {optNir, "optNir", QStringLiteral("Nonincreasin&g")}});
    QGroupBox *orientation = group("Orientierung", QStringLiteral("Orientation"),
                                   {{optInput, "optInput", QStringLiteral("&Input")},
                                    {optOutput, "optOutput", QStringLiteral("&Output")},
                                    {optNon, "optNon", QStringLiteral("&Nonoriented")}});
    QGroupBox *distance = group("fraAbstand", QStringLiteral("Distance"),
                                {{optRadial, "optRadial", QStringLiteral("&Radial")},
                                 {optAdditiv, "optAdditiv", QStringLiteral("&Additive")},
                                 {optMaxaverage, "optMaxaverage", QStringLiteral("maxAverage")},
                                 {optMinaverage, "optMinaverage", QStringLiteral("minAverage")},
                                 {optCost, "optCost", QStringLiteral("Cost")},
                                 {optRevenue, "optRevenue", QStringLiteral("Revenue")}});
    optionButton(optCost)->setToolTip(QStringLiteral("Cost efficiency at the loaded input prices, split into "
                                                     "technical and allocative efficiency (input orientation)."));
    optionButton(optRevenue)->setToolTip(QStringLiteral("Revenue efficiency at the loaded output prices, split "
                                                        "into technical and allocative efficiency (output "
                                                        "orientation)."));

    m_chbSuper = new QCheckBox(QStringLiteral("Superefficiency"), tab);
    m_chbSuper->setObjectName(QStringLiteral("chbSuper"));
    connect(m_chbSuper, &QCheckBox::clicked, this, [this](bool checked) {
        m_state.chbSuper.checked = checked;
    });
    m_chbWR = new QCheckBox(QStringLiteral("Restrict weigh&ts "), tab);
    m_chbWR->setObjectName(QStringLiteral("chbWR"));
    connect(m_chbWR, &QCheckBox::clicked, this, [this](bool checked) {
        m_state.chbWR.checked = checked;
    });
    m_chbScale = new QCheckBox(QStringLiteral("Scale efficiency"), tab);
    m_chbScale->setObjectName(QStringLiteral("chbScale"));
    m_chbScale->setToolTip(QStringLiteral("Also a table of CRS and VRS scores, their ratio and the returns to "
                                          "scale of each DMU (radial input- or output-oriented models)."));
    connect(m_chbScale, &QCheckBox::clicked, this, [this](bool checked) { m_state.chbScale.checked = checked; });
    m_chbMalmquistIndex = new QCheckBox(QStringLiteral("Malmquist index"), tab);
    m_chbMalmquistIndex->setObjectName(QStringLiteral("chbMalmquistIndex"));
    connect(m_chbMalmquistIndex, &QCheckBox::clicked, this,
            [this](bool checked) { m_state.chbMalmquistIndex.checked = checked; });

    auto *layout = new QGridLayout(tab);
    layout->addWidget(structure, 0, 0);
    layout->addWidget(scale, 0, 1);
    layout->addWidget(orientation, 1, 0);
    layout->addWidget(distance, 1, 1);
    auto *checks = new QHBoxLayout;
    checks->addWidget(m_chbSuper);
    checks->addSpacing(24);
    checks->addWidget(m_chbWR);
    checks->addStretch(1);
    layout->addLayout(checks, 2, 0, 1, 2);
    auto *analyses = new QHBoxLayout;
    analyses->addWidget(m_chbScale);
    analyses->addSpacing(24);
    analyses->addWidget(m_chbMalmquistIndex);
    analyses->addStretch(1);
    layout->addLayout(analyses, 3, 0, 1, 2);
    return tab;
}

QWidget *ModelDialog::createOptionsTab()
{
    auto *tab = new QWidget;
    const int numDMU = m_state.lstEval.size();

    m_lstEval = new DmuListView(tab);
    m_lstEval->setObjectName(QStringLiteral("lstEval"));
    m_lstEval->bind(&m_state.lstEval, &m_state.dmuNames());
    m_lstEval->setFocusHook([this] { m_state.focus(ListKind::Evaluation); });
    m_lstTech = new DmuListView(tab);
    m_lstTech->setObjectName(QStringLiteral("lstTech"));
    m_lstTech->bind(&m_state.lstTech, &m_state.dmuNames());
    m_lstTech->setFocusHook([this] { m_state.focus(ListKind::Technology); });

    m_lblEvaluation = new QLabel(QStringLiteral("Eval&uation"), tab);
    m_lblEvaluation->setObjectName(QStringLiteral("lblEvaluation"));
    m_lblEvaluation->setBuddy(m_lstEval);
    m_lblTechnology = new QLabel(QStringLiteral("Technolog&y"), tab);
    m_lblTechnology->setObjectName(QStringLiteral("lblTechnology"));
    m_lblTechnology->setBuddy(m_lstTech);

    auto *cmdAll = new QPushButton(QStringLiteral("Al&l"), tab);
    cmdAll->setObjectName(QStringLiteral("cmdAll"));
    cmdAll->setAutoDefault(false);
    connect(cmdAll, &QPushButton::clicked, this, [this] {
        m_state.cmdAll();
        showState();
    });
    auto *cmdClear = new QPushButton(QStringLiteral("Clear"), tab);
    cmdClear->setObjectName(QStringLiteral("cmdClear"));
    cmdClear->setAutoDefault(false);
    connect(cmdClear, &QPushButton::clicked, this, [this] {
        m_state.cmdClear();
        showState();
    });

    QGroupBox *dynamics = frame("Frame2", QStringLiteral("Dynamics"), tab);
    auto *exclusive = new QButtonGroup(dynamics);
    auto *dynamicsLayout = new QGridLayout(dynamics);
    int row = 0;
    for (const auto &[button, name, caption] :
         {std::tuple{optNone, "optNone", QStringLiteral("Non&e")},
          std::tuple{optWA, "optWA", QStringLiteral("&Window Analysis")},
          std::tuple{optMalmquist, "optMalmquist", QStringLiteral("Malm&quist ")}}) {
        QRadioButton *radio = addOption(button, name, caption, dynamics);
        exclusive->addButton(radio);
        dynamicsLayout->addWidget(radio, row++, 0, 1, 2);
    }
    m_lblPeriods = new QLabel(QStringLiteral("Periods"), dynamics);
    m_lblPeriods->setObjectName(QStringLiteral("lblPeriods"));
    m_cmbPeriods = numberList("cmbPeriods", numDMU, dynamics);
    m_lblWidth = new QLabel(QStringLiteral("Widt&h"), dynamics);
    m_lblWidth->setObjectName(QStringLiteral("lblWidth"));
    m_cmbWidth = numberList("cmbWidth", numDMU, dynamics);
    m_lblWidth->setBuddy(m_cmbWidth);
    connect(m_cmbPeriods, &QComboBox::activated, this, [this](int index) {
        m_state.cmbPeriodsIndex = index;
    });
    connect(m_cmbWidth, &QComboBox::activated, this, [this](int index) {
        m_state.cmbWidthIndex = index;
    });
    dynamicsLayout->addWidget(m_lblPeriods, row, 0);
    dynamicsLayout->addWidget(m_cmbPeriods, row++, 1);
    dynamicsLayout->addWidget(m_lblWidth, row, 0);
    dynamicsLayout->addWidget(m_cmbWidth, row++, 1);
    dynamicsLayout->setRowStretch(row, 1);

    auto *layout = new QGridLayout(tab);
    layout->addWidget(m_lblEvaluation, 0, 0);
    layout->addWidget(m_lblTechnology, 0, 1);
    layout->addWidget(m_lstEval, 1, 0, 3, 1);
    layout->addWidget(m_lstTech, 1, 1, 3, 1);
    layout->addWidget(cmdAll, 1, 2);
    layout->addWidget(cmdClear, 2, 2);
    layout->addWidget(dynamics, 0, 3, 4, 1);
    layout->setRowStretch(3, 1);
    return tab;
}

void ModelDialog::showState()
{
    for (int b = 0; b < AllOptionButtonCount; ++b) {
        const auto button = static_cast<OptionButton>(b);
        QRadioButton *radio = m_options[static_cast<std::size_t>(b)];
        const QSignalBlocker blocker(radio);
        radio->setChecked(m_state.isSelected(button));
        radio->setEnabled(m_state.isEnabled(button));
    }
    // The priced distances exist once prices are loaded.
    for (OptionButton button : {optCost, optRevenue})
        optionButton(button)->setVisible(m_state.priceDistancesShown());
    m_chbSuper->setChecked(m_state.chbSuper.checked);
    m_chbSuper->setEnabled(m_state.chbSuper.enabled);
    m_chbWR->setChecked(m_state.chbWR.checked);
    m_chbWR->setEnabled(m_state.chbWR.enabled);
    m_chbScale->setChecked(m_state.chbScale.checked);
    m_chbScale->setEnabled(m_state.chbScale.enabled);
    m_chbMalmquistIndex->setChecked(m_state.chbMalmquistIndex.checked);
    m_chbMalmquistIndex->setEnabled(m_state.chbMalmquistIndex.enabled);
    const std::string note = m_state.malmquistIndexNote();
    m_chbMalmquistIndex->setToolTip(QString::fromStdString(
        note.empty() ? "Also the index table after the Malmquist windows: efficiency change, technical change, "
                       "pure and scale efficiency change and the Malmquist index of each unit."
                     : note));

    m_lstEval->showSelection();
    m_lstTech->showSelection();
    m_lstEval->setEnabled(m_state.lstEvalEnabled);
    m_lstTech->setEnabled(m_state.lstTechEnabled);
    m_lblEvaluation->setEnabled(m_state.lblEvaluationEnabled);
    m_lblTechnology->setEnabled(m_state.lblTechnologyEnabled);

    const QSignalBlocker periodsBlocker(m_cmbPeriods);
    const QSignalBlocker widthBlocker(m_cmbWidth);
    m_cmbPeriods->setCurrentIndex(m_state.cmbPeriodsIndex);
    m_cmbWidth->setCurrentIndex(m_state.cmbWidthIndex);
    m_cmbPeriods->setEnabled(m_state.cmbPeriodsEnabled);
    m_cmbWidth->setEnabled(m_state.cmbWidthEnabled);
    m_lblPeriods->setEnabled(m_state.lblPeriodsEnabled);
    m_lblWidth->setEnabled(m_state.lblWidthEnabled);
}

void ModelDialog::showEvent(QShowEvent *event)
{
    // Loading or closing weights changes the state while the dialog is hidden.
    showState();
    QDialog::showEvent(event);
}

void ModelDialog::start()
{
    StartResult result = m_state.cmdStart(m_feedback);
    if (!result.started) {
        // A refused period set-up put the dynamics back to None.
        showState();
        return;
    }
    hide();
    if (m_onStart)
        m_onStart(result);
}

} // namespace zelvar
