#include "ScoreCharts.h"

#include "results/TextGrid.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QLineSeries>
#include <QScatterSeries>
#include <QStackedBarSeries>
#include <QValueAxis>

#include <algorithm>

namespace zelvar {

namespace {

// Spots the frontier picture is drawn at: about a marker each on a chart of
// some 900 x 600 pixels.
constexpr int PlotColumns = 120;
constexpr int PlotRows = 80;

// The table's highlight, a little darker so that a bar or point stands out
// from the white of the chart.
const QColor EfficientColour = QColor::fromRgb(0x00, 0xC8, 0xC8);
const QColor OtherColour = QColor::fromRgb(0x50, 0x6E, 0x96);
// Space above the largest value, so that no point sits on the frame.
constexpr double Margin = 0.05;

QValueAxis *valueAxis(const QString &title, double low, double high)
{
    auto *axis = new QValueAxis;
    axis->setTitleText(title);
    if (high <= low)
        high = low + 1.0;
    axis->setRange(low, high + (high - low) * Margin);
    axis->applyNiceNumbers();
    return axis;
}

} // namespace

QChart *histogramChart(const ScoreHistogram &histogram, const QString &title)
{
    auto *chart = new QChart;
    chart->setTitle(title);
    auto *others = new QBarSet(QStringLiteral("Inefficient"));
    others->setColor(OtherColour);
    auto *efficient = new QBarSet(QStringLiteral("Efficient"));
    efficient->setColor(EfficientColour);
    QStringList labels;
    int highest = 0;
    for (const HistogramBin &bin : histogram.bins) {
        *others << bin.count - bin.efficient;
        *efficient << bin.efficient;
        labels << QString::fromStdString(bin.lowerLabel);
        highest = std::max(highest, bin.count);
    }
    auto *series = new QStackedBarSeries;
    series->append(others);
    series->append(efficient);
    series->setBarWidth(0.95);
    chart->addSeries(series);

    auto *categories = new QBarCategoryAxis;
    categories->append(labels);
    categories->setTitleText(QStringLiteral("Score: each bar from its value up to the next"));
    chart->addAxis(categories, Qt::AlignBottom);
    series->attachAxis(categories);
    auto *counts = valueAxis(QStringLiteral("DMUs"), 0.0, highest);
    counts->setLabelFormat(QStringLiteral("%d"));
    chart->addAxis(counts, Qt::AlignLeft);
    series->attachAxis(counts);
    chart->legend()->setAlignment(Qt::AlignBottom);
    return chart;
}

QChart *frontierChart(const FrontierPicture &picture, const QString &title, const QString &inputName,
                      const QString &outputName)
{
    auto *chart = new QChart;
    const std::vector<PlotDmu> drawn = dmusToDraw(picture, PlotColumns, PlotRows);
    chart->setTitle(drawn.size() < picture.dmus.size()
                        ? title + QStringLiteral("; of DMUs in the same spot one is drawn")
                        : title);

    auto *others = new QScatterSeries;
    others->setName(QStringLiteral("DMUs"));
    others->setColor(OtherColour);
    others->setBorderColor(OtherColour);
    others->setMarkerSize(7.0);
    auto *efficient = new QScatterSeries;
    efficient->setName(QStringLiteral("Efficient"));
    efficient->setColor(EfficientColour);
    efficient->setBorderColor(Qt::black);
    efficient->setMarkerSize(10.0);
    QList<QPointF> otherPoints;
    QList<QPointF> efficientPoints;
    for (const PlotDmu &dmu : drawn)
        (dmu.efficient ? efficientPoints : otherPoints) << QPointF(dmu.x, dmu.y);
    others->replace(otherPoints);
    efficient->replace(efficientPoints);

    auto *crs = new QLineSeries;
    crs->setName(QStringLiteral("CRS frontier"));
    if (picture.crsEnd)
        crs->replace({QPointF(0.0, 0.0), QPointF(picture.crsEnd->x, picture.crsEnd->y)});
    QPen crsPen(QColor::fromRgb(0xC0, 0x40, 0x40));
    crsPen.setWidthF(1.5);
    crsPen.setStyle(Qt::DashLine);
    crs->setPen(crsPen);
    auto *vrs = new QLineSeries;
    vrs->setName(QStringLiteral("VRS frontier"));
    QList<QPointF> hull;
    for (const PlotPoint &point : picture.vrsHull)
        hull << QPointF(point.x, point.y);
    vrs->replace(hull);
    QPen vrsPen(QColor::fromRgb(0x20, 0x80, 0x20));
    vrsPen.setWidthF(2.0);
    vrs->setPen(vrsPen);

    for (QAbstractSeries *series : {static_cast<QAbstractSeries *>(crs), static_cast<QAbstractSeries *>(vrs),
                                    static_cast<QAbstractSeries *>(others),
                                    static_cast<QAbstractSeries *>(efficient)})
        chart->addSeries(series);
    QValueAxis *x = valueAxis(inputName, picture.xMin, picture.xMax);
    QValueAxis *y = valueAxis(outputName, picture.yMin, picture.yMax);
    // The frontiers run on to the axes' ends, which nice numbers put beyond the data.
    if (picture.crsEnd && picture.crsEnd->x > 0.0) {
        const double slope = picture.crsEnd->y / picture.crsEnd->x;
        const double end = std::min(x->max(), y->max() / slope);
        crs->replace({QPointF(0.0, 0.0), QPointF(end, end * slope)});
    }
    if (hull.size() >= 2 && hull.last().x() < x->max() && hull.last().y() == hull[hull.size() - 2].y())
        vrs->replace(static_cast<int>(hull.size() - 1), QPointF(x->max(), hull.last().y()));
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    for (QAbstractSeries *series : chart->series()) {
        series->attachAxis(x);
        series->attachAxis(y);
    }
    chart->legend()->setAlignment(Qt::AlignBottom);
    return chart;
}

} // namespace zelvar
