#include "ChartWindow.h"

#include "MdiLayout.h"
#include "ResultsWindow.h"
#include "ScoreCharts.h"
#include "UserDialogs.h"
#include "results/FrontierPicture.h"
#include "results/ScoreHistogram.h"

#include <QChartView>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPainter>
#include <QPushButton>
#include <QSvgGenerator>
#include <QTabWidget>
#include <QVBoxLayout>

namespace zelvar {

namespace {

QChartView *chartView(const char *name, QChart *chart, QWidget *parent)
{
    auto *view = new QChartView(chart, parent);
    view->setObjectName(QLatin1String(name));
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(320, 240);
    return view;
}

} // namespace

ChartWindow::ChartWindow(ResultsWindow &source, UserDialogs &dialogs, QWidget *parent)
    : QMdiSubWindow(parent), m_source(&source), m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("frmChart"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(source.windowTitle() + QStringLiteral(" \u2013 Chart"));
    leaveCtrlWToTheMenu(*this);

    const RunScores &scores = source.table().scores();
    const QString model = QString::fromStdString(scores.modelName);
    const ScoreHistogram histogram = scoreHistogram(scores);
    QString title = QStringLiteral("Distribution of scores (%1, %2 DMUs)")
                        .arg(model)
                        .arg(static_cast<qsizetype>(scores.evaluated.size()));
    if (histogram.notShown > 0)
        title += QStringLiteral("; %1 big or without a score not shown").arg(histogram.notShown);

    auto *body = new QWidget(this);
    m_tabs = new QTabWidget(body);
    m_tabs->setObjectName(QStringLiteral("tabCharts"));
    m_histogram = chartView("chvHistogram", histogramChart(histogram, title), m_tabs);
    m_tabs->addTab(m_histogram, QStringLiteral("&Scores"));
    if (const std::optional<FrontierPicture> picture = frontierPicture(scores)) {
        const QString frontierTitle = QStringLiteral("Frontier (%1): efficient DMUs of the run marked").arg(model);
        m_frontier = chartView("chvFrontier",
                               frontierChart(*picture, frontierTitle, QString::fromStdString(scores.inputName),
                                             QString::fromStdString(scores.outputName)),
                               m_tabs);
        m_tabs->addTab(m_frontier, QStringLiteral("&Frontier"));
    }

    auto *save = new QPushButton(QStringLiteral("Save &picture..."), body);
    save->setObjectName(QStringLiteral("cmdSavePicture"));
    connect(save, &QPushButton::clicked, this, &ChartWindow::askAndSave);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(save);
    auto *layout = new QVBoxLayout(body);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_tabs, 1);
    layout->addLayout(buttons);
    setWidget(body);

    // The chart shows that run only: it goes with its window.
    connect(&source, &QObject::destroyed, this, &QWidget::close);
}

bool ChartWindow::savePicture(const QString &path) const
{
    auto *view = qobject_cast<QChartView *>(m_tabs->currentWidget());
    if (view == nullptr)
        return false;
    if (path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)) {
        QSvgGenerator svg;
        svg.setFileName(path);
        svg.setSize(view->size());
        svg.setViewBox(QRect(QPoint(0, 0), view->size()));
        svg.setTitle(windowTitle());
        QPainter painter;
        if (!painter.begin(&svg))
            return false;
        view->render(&painter);
        return painter.end();
    }
    return view->grab().save(path, "PNG");
}

void ChartWindow::askAndSave()
{
    const QString tab = m_tabs->currentWidget() == m_frontier ? QStringLiteral("frontier") : QStringLiteral("scores");
    const QString proposed = (m_source ? m_source->windowTitle() : windowTitle()) + QLatin1Char('_') + tab + QStringLiteral(".png");
    QString path = m_dialogs.saveFileName(QStringLiteral("Save picture"), proposed,
                                          {QStringLiteral("PNG image (*.png)"), QStringLiteral("SVG image (*.svg)")});
    if (path.isEmpty())
        return;
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix != QStringLiteral("png") && suffix != QStringLiteral("svg"))
        path += QStringLiteral(".png");
    if (!savePicture(path))
        m_dialogs.message(QStringLiteral("The picture could not be saved to %1.").arg(path));
}

} // namespace zelvar
