// DEA > Chart: the histogram and the frontier picture of the active results
// window in a sub-window that goes with it, saved as PNG and SVG.

#include "app/AppTestSupport.h"

#include "app/ChartWindow.h"

#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QImage>
#include <QLineSeries>
#include <QScatterSeries>
#include <QStackedBarSeries>
#include <QTabWidget>
#include <QValueAxis>

namespace zelvar::test {
namespace {

using ChartsTest = AppTest;

template <typename Series>
Series *seriesNamed(QChartView *view, const QString &name)
{
    for (QAbstractSeries *series : view->chart()->series())
        if (auto *typed = qobject_cast<Series *>(series); typed != nullptr && typed->name() == name)
            return typed;
    ADD_FAILURE() << "no series " << name.toStdString();
    throw std::runtime_error("no series");
}

QList<QPointF> points(QXYSeries *series) { return series->points(); }

// six.txt: A(2,4) B(4,4) C(5,10) D(8,4) E(4,6) F(5,5), one input and one
// output. CRS_RAD_IN scores 100% 50% 100% 25% 75% 50%; bins of 10 points
// from 20%; the frontiers as worked in the core's test.
TEST_F(ChartsTest, ShowTheHistogramAndTheFrontierOfTheActiveRun)
{
    loadSix();
    runModel();
    trigger("mnuDEAChart");
    ChartWindow *chart = window().chartWindowOf(window().resultsWindows()[0]);
    ASSERT_NE(chart, nullptr);
    EXPECT_TRUE(chart->isVisibleTo(&window()));
    EXPECT_EQ(chart->windowTitle(), window().resultsWindows()[0]->windowTitle() + QStringLiteral(" \u2013 Chart"));
    ASSERT_EQ(chart->tabs()->count(), 2);

    QChartView *histogram = chart->histogramView();
    auto *bars = qobject_cast<QStackedBarSeries *>(histogram->chart()->series().value(0));
    ASSERT_NE(bars, nullptr);
    ASSERT_EQ(bars->count(), 2);
    // The core's bins (its own test): four DMUs below 100%, the two efficient
    // ones in the last bin.
    const QBarSet &below = *bars->barSets()[0], &top = *bars->barSets()[1];
    qreal count = 0;
    for (int k = 0; k < below.count(); ++k)
        count += below.at(k);
    EXPECT_EQ(std::pair(count, top.at(top.count() - 1)), std::pair(qreal(4), qreal(2)));

    QChartView *frontier = chart->frontierView();
    ASSERT_NE(frontier, nullptr);
    // The core's corners; both frontiers run on to the ends of the axes.
    auto *x = qobject_cast<QValueAxis *>(frontier->chart()->axes(Qt::Horizontal).value(0));
    auto *y = qobject_cast<QValueAxis *>(frontier->chart()->axes(Qt::Vertical).value(0));
    ASSERT_TRUE(x != nullptr && y != nullptr);
    EXPECT_GE(x->max(), 8.0);
    EXPECT_GE(y->max(), 10.0);
    EXPECT_EQ(points(seriesNamed<QLineSeries>(frontier, "VRS frontier")),
              QList<QPointF>({{2, 0}, {2, 4}, {5, 10}, {x->max(), 10}}));
    const qreal rayEnd = std::min(x->max(), y->max() / 2.0);
    EXPECT_EQ(points(seriesNamed<QLineSeries>(frontier, "CRS frontier")),
              QList<QPointF>({{0, 0}, {rayEnd, 2.0 * rayEnd}}));
    EXPECT_EQ(points(seriesNamed<QScatterSeries>(frontier, "Efficient")), QList<QPointF>({{2, 4}, {5, 10}}));
    EXPECT_EQ(points(seriesNamed<QScatterSeries>(frontier, "DMUs")).size(), 4);

    // Asked again, the same window comes to the front; it goes with its results window.
    trigger("mnuDEAChart");
    EXPECT_EQ(window().findChildren<ChartWindow *>().size(), 1);
    QPointer<ChartWindow> shown = chart;
    window().resultsWindows()[0]->close();
    for (int round = 0; round < 2; ++round) // the results window goes, then the chart
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(shown.isNull());
    trigger("mnuDEAChart");
    EXPECT_EQ(dialogs.messages, QStringList{"There's nothing to chart: choose a results window first."});
}

TEST_F(ChartsTest, SavesTheChartInViewAsPngOrSvg)
{
    loadSix();
    runModel();
    trigger("mnuDEAChart");
    ChartWindow *chart = window().chartWindowOf(window().resultsWindows()[0]);
    ASSERT_NE(chart, nullptr);
    chart->resize(640, 480);
    chart->tabs()->setCurrentWidget(chart->frontierView());

    dialogs.answers = {path("frontier"), path("frontier.svg")};
    click(*chart, "cmdSavePicture");
    click(*chart, "cmdSavePicture");
    ASSERT_EQ(dialogs.starts.size(), 3); // the load, then the two saves
    EXPECT_EQ(dialogs.starts[1], window().resultsWindows()[0]->windowTitle() + "_frontier.png");
    EXPECT_EQ(dialogs.filters[1], QStringList({"PNG image (*.png)", "SVG image (*.svg)"}));
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join("|").toStdString();

    // Not a blank picture: it holds the cyan of the efficient points.
    const QImage png(path("frontier.png"));
    EXPECT_EQ(png.size(), chart->frontierView()->size() * chart->frontierView()->devicePixelRatioF());
    EXPECT_FALSE(png.allGray());
    QFile svg(path("frontier.svg"));
    ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
    const QByteArray text = svg.readAll();
    EXPECT_TRUE(text.contains("<svg")) << text.left(200).toStdString();
    EXPECT_TRUE(text.contains("VRS frontier"));
}

} // namespace
} // namespace zelvar::test
