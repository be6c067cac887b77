#pragma once

#include "engine/RunSinks.h"

#include <QDialog>
#include <QElapsedTimer>

#include <functional>

class QLabel;
class QProgressBar;
class QPushButton;

namespace zelvar {

// The progress window of a run (frmProgress). While it is shown it is
// application-modal: the run keeps the windows painted by processing events
// now and then, and the only thing the user can do meanwhile is press Cancel.
class ProgressWindow : public QDialog {
    Q_OBJECT
public:
    explicit ProgressWindow(QWidget *parent = nullptr);

    // Called before events are processed during a run, so that the results
    // window shows the rows filled so far.
    void setRefreshHook(std::function<void()> hook) { m_refresh = std::move(hook); }

    // The ProgressSink of a run; the window outlives it.
    [[nodiscard]] ProgressSink &sink() { return m_sink; }

    [[nodiscard]] bool cancelRequested() const { return m_cancel; }
    // As if the user had pressed Cancel.
    void requestCancel() { m_cancel = true; }
    // A new series starts with no Cancel pending.
    void resetCancel() { m_cancel = false; }

    QProgressBar *bar() const { return m_bar; }
    QLabel *statusLabel() const { return m_status; }
    QPushButton *cancelButton() const { return m_cancelButton; }

protected:
    void reject() override;
    void closeEvent(QCloseEvent *event) override;

private:
    class Sink : public ProgressSink {
    public:
        explicit Sink(ProgressWindow &window) : m_window(window) {}
        void show(int maximum) override;
        void setProgress(int value, const std::string &text) override;
        void repaint() override;
        [[nodiscard]] bool cancelRequested() const override { return m_window.m_cancel; }
        void close() override;

    private:
        ProgressWindow &m_window;
    };

    void begin(int maximum);
    void processEventsNowAndThen();
    void end();

    Sink m_sink{*this};
    QLabel *m_status = nullptr;
    QProgressBar *m_bar = nullptr;
    QPushButton *m_cancelButton = nullptr;
    std::function<void()> m_refresh;
    QElapsedTimer m_sinceEvents;
    bool m_cancel = false;
    bool m_running = false;
};

} // namespace zelvar
