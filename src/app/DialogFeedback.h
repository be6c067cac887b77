#pragma once

#include "data/Feedback.h"

namespace zelvar {

class UserDialogs;

// The core's messages as message boxes, and its busy signal as the busy
// mouse pointer. Busy calls may nest; the pointer is normal again when every
// busy(true) has had its busy(false), and at the latest when this object goes.
class DialogFeedback : public Feedback {
public:
    explicit DialogFeedback(UserDialogs &dialogs) : m_dialogs(dialogs) {}
    ~DialogFeedback() override;
    DialogFeedback(const DialogFeedback &) = delete;
    DialogFeedback &operator=(const DialogFeedback &) = delete;

    void message(const std::string &text) override;
    bool confirm(const std::string &text) override;
    void busy(bool on) override;

    [[nodiscard]] bool isBusy() const { return m_busyDepth > 0; }

private:
    UserDialogs &m_dialogs;
    int m_busyDepth = 0;
};

// Busy pointer for the lifetime of a scope.
class BusyScope {
public:
    explicit BusyScope(Feedback &feedback) : m_feedback(feedback) { m_feedback.busy(true); }
    ~BusyScope() { m_feedback.busy(false); }
    BusyScope(const BusyScope &) = delete;
    BusyScope &operator=(const BusyScope &) = delete;

private:
    Feedback &m_feedback;
};

} // namespace zelvar
