#pragma once

#include "session/ModelDialogState.h"

#include <QDialog>

#include <array>
#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace zelvar {

class DmuListView;
class Feedback;

// The model dialog (frmModell, "Run model"): a view of the workspace's
// ModelDialogState. Every click goes to the state, and the widgets then show
// the state's selections and enabled flags. Cancel only hides the dialog;
// the state keeps every choice for the next showing.
class ModelDialog : public QDialog {
    Q_OBJECT
public:
    using StartHandler = std::function<void(const StartResult &)>;

    // state and feedback must outlive the dialog. onStart makes the runs of
    // a started series; the dialog is hidden by then.
    ModelDialog(ModelDialogState &state, Feedback &feedback, StartHandler onStart,
                QWidget *parent = nullptr);

    [[nodiscard]] ModelDialogState &state() { return m_state; }

    // Shows every widget as the state has it.
    void showState();

    QRadioButton *optionButton(OptionButton button) const
    {
        return m_options[static_cast<std::size_t>(button)];
    }

protected:
    void showEvent(QShowEvent *event) override;

private:
    QWidget *createModelTab();
    QWidget *createOptionsTab();
    QRadioButton *addOption(OptionButton button, const char *name, const QString &caption,
                            QWidget *parent);
    void start();

    ModelDialogState &m_state;
    Feedback &m_feedback;
    StartHandler m_onStart;

    std::array<QRadioButton *, AllOptionButtonCount> m_options{};
    QTabWidget *m_tabs = nullptr;
    QCheckBox *m_chbSuper = nullptr;
    QCheckBox *m_chbWR = nullptr;
    QCheckBox *m_chbScale = nullptr;
    QCheckBox *m_chbMalmquistIndex = nullptr;
    QLabel *m_lblEvaluation = nullptr;
    QLabel *m_lblTechnology = nullptr;
    DmuListView *m_lstEval = nullptr;
    DmuListView *m_lstTech = nullptr;
    QLabel *m_lblPeriods = nullptr;
    QLabel *m_lblWidth = nullptr;
    QComboBox *m_cmbPeriods = nullptr;
    QComboBox *m_cmbWidth = nullptr;
};

} // namespace zelvar
