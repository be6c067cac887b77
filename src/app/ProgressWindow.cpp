#include "ProgressWindow.h"

#include "AppInfo.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace zelvar {

namespace {

// Often enough that the bar moves smoothly and Cancel answers at once,
// seldom enough that a run of many small LPs does not spend its time painting.
constexpr qint64 EventIntervalMs = 50;

} // namespace

ProgressWindow::ProgressWindow(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmProgress"));
    setWindowTitle(AppInfo::title());
    setWindowModality(Qt::ApplicationModal);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto *label = new QLabel(QStringLiteral("Computing DEA Scores..."), this);
    label->setObjectName(QStringLiteral("Label1"));
    m_bar = new QProgressBar(this);
    m_bar->setObjectName(QStringLiteral("ProgressBar1"));
    m_bar->setTextVisible(false);
    m_bar->setMinimumWidth(300);
    m_status = new QLabel(QStringLiteral("0% computed."), this);
    m_status->setObjectName(QStringLiteral("Label2"));
    m_cancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    m_cancelButton->setObjectName(QStringLiteral("cmdCancel"));
    m_cancelButton->setAutoDefault(false);
    connect(m_cancelButton, &QPushButton::clicked, this, [this] { m_cancel = true; });

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_status, 1);
    buttons->addWidget(m_cancelButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_bar);
    layout->addLayout(buttons);
}

// Escape and the window's close button mean Cancel while a run lasts; the
// window itself goes only when the run has ended.
void ProgressWindow::reject()
{
    if (m_running)
        m_cancel = true;
    else
        QDialog::reject();
}

void ProgressWindow::closeEvent(QCloseEvent *event)
{
    if (m_running) {
        m_cancel = true;
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void ProgressWindow::begin(int maximum)
{
    m_running = true;
    m_bar->setRange(0, maximum > 0 ? maximum : 1);
    m_bar->setValue(0);
    m_status->setText(QStringLiteral("0% computed."));
    show();
    raise();
    // Paint the window now; the first DMU may take a while.
    if (m_refresh)
        m_refresh();
    QCoreApplication::processEvents();
    m_sinceEvents.start();
}

void ProgressWindow::processEventsNowAndThen()
{
    if (m_sinceEvents.isValid() && m_sinceEvents.elapsed() < EventIntervalMs)
        return;
    if (m_refresh)
        m_refresh();
    QCoreApplication::processEvents();
    m_sinceEvents.start();
}

void ProgressWindow::end()
{
    m_running = false;
    hide();
}

void ProgressWindow::Sink::show(int maximum) { m_window.begin(maximum); }

void ProgressWindow::Sink::setProgress(int value, const std::string &text)
{
    m_window.m_bar->setValue(value);
    m_window.m_status->setText(QString::fromStdString(text));
}

void ProgressWindow::Sink::repaint() { m_window.processEventsNowAndThen(); }

void ProgressWindow::Sink::close() { m_window.end(); }

} // namespace zelvar
