#include "FormatDialog.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace zelvar {

FormatDialog::FormatDialog(DisplayFormat &format, QWidget *parent)
    : QDialog(parent), m_format(format), m_state(format)
{
    setObjectName(QStringLiteral("frmFormat"));
    setWindowTitle(QStringLiteral("Format"));
    setModal(true);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto *decimals = new QGroupBox(QStringLiteral("Decimals"), this);
    decimals->setObjectName(QStringLiteral("fraDecimals"));
    auto *decimalsLayout = new QFormLayout(decimals);
    const std::array<QString, FormatDialogState::ListCount> captions = {
        QStringLiteral("&Score"), QStringLiteral("&Weights"), QStringLiteral("&Intensities"),
        QStringLiteral("S&lacks")};
    for (int i = 0; i < FormatDialogState::ListCount; ++i) {
        auto *combo = new QComboBox(decimals);
        combo->setObjectName(QStringLiteral("Combo1_%1").arg(i));
        for (int entry = 0; entry < FormatDialogState::EntryCount; ++entry)
            combo->addItem(QString::fromStdString(FormatDialogState::entryText(entry)));
        connect(combo, &QComboBox::activated, this, [this, i](int index) {
            m_state.Combo1[static_cast<std::size_t>(i)] = index;
        });
        auto *label = new QLabel(captions[static_cast<std::size_t>(i)], decimals);
        label->setBuddy(combo);
        decimalsLayout->addRow(label, combo);
        m_lists[static_cast<std::size_t>(i)] = combo;
    }

    auto *weights = new QGroupBox(QStringLiteral("Display weights"), this);
    weights->setObjectName(QStringLiteral("fraWeights"));
    m_optPure = new QRadioButton(QStringLiteral("&pure weights "), weights);
    m_optPure->setObjectName(QStringLiteral("optPure"));
    m_optVirtual = new QRadioButton(QStringLiteral("&virtual inputs/outputs"), weights);
    m_optVirtual->setObjectName(QStringLiteral("optVirtual"));
    auto *exclusive = new QButtonGroup(weights);
    exclusive->addButton(m_optPure);
    exclusive->addButton(m_optVirtual);
    connect(m_optPure, &QRadioButton::clicked, this, [this] { m_state.clickPure(); });
    connect(m_optVirtual, &QRadioButton::clicked, this, [this] { m_state.clickVirtual(); });
    auto *weightsLayout = new QVBoxLayout(weights);
    weightsLayout->addWidget(m_optPure);
    weightsLayout->addWidget(m_optVirtual);
    weightsLayout->addStretch(1);

    auto *cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    auto *cmdCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setAutoDefault(false);
    connect(cmdOK, &QPushButton::clicked, this, &FormatDialog::ok);
    connect(cmdCancel, &QPushButton::clicked, this, &FormatDialog::cancel);
    // Escape and the close button are Cancel.
    connect(this, &QDialog::rejected, this, [this] { m_state.cmdCancel(); });

    auto *frames = new QHBoxLayout;
    frames->addWidget(decimals);
    frames->addWidget(weights);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(frames);
    layout->addLayout(buttons);

    showState();
}

void FormatDialog::showState()
{
    for (int i = 0; i < FormatDialogState::ListCount; ++i) {
        QComboBox *combo = m_lists[static_cast<std::size_t>(i)];
        const QSignalBlocker blocker(combo);
        combo->setCurrentIndex(m_state.Combo1[static_cast<std::size_t>(i)]);
    }
    m_optPure->setChecked(m_state.isPureSelected());
    m_optVirtual->setChecked(m_state.isVirtualSelected());
}

void FormatDialog::ok()
{
    m_state.cmdOK(m_format);
    accept();
}

void FormatDialog::cancel() { reject(); }

} // namespace zelvar
