#pragma once

#include "session/FormatDialogState.h"

#include <QDialog>

#include <array>

class QComboBox;
class QRadioButton;

namespace zelvar {

// The display format dialog (frmFormat, "Format"): decimals of scores,
// weights, intensities and slacks, and pure or virtual weights. Created at its
// first showing and afterwards only hidden, so it shows the lists as the user
// left them; OK writes them into the display format, Cancel does not.
class FormatDialog : public QDialog {
    Q_OBJECT
public:
    // format must outlive the dialog; the lists are loaded from it now.
    explicit FormatDialog(DisplayFormat &format, QWidget *parent = nullptr);

    [[nodiscard]] const FormatDialogState &state() const { return m_state; }
    QComboBox *list(FormatDialogState::List which) const { return m_lists[which]; }

private:
    void showState();
    void ok();
    void cancel();

    DisplayFormat &m_format;
    FormatDialogState m_state;
    std::array<QComboBox *, FormatDialogState::ListCount> m_lists{};
    QRadioButton *m_optPure = nullptr;
    QRadioButton *m_optVirtual = nullptr;
};

} // namespace zelvar
