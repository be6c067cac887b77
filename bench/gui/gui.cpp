// zelvar-bench-gui [DMUS]: the desktop application on a large run, offscreen.
// Makes a CRS_RAD_IN run over DMUS (default 100,000) DMUs of one input and
// one output, then times what the user waits for: the run with its results
// window, scrolling that window, and the chart window (the histogram and
// the frontier picture drawn whole).

#include "app/ChartWindow.h"
#include "app/MainWindow.h"
#include "app/ModelDialog.h"
#include "app/ResultsWindow.h"
#include "app/UserDialogs.h"

#include <QAction>
#include <QApplication>
#include <QChartView>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>
#include <vector>

using namespace zelvar;

namespace {

// Answers every question with OK and every file dialog with Cancel.
class Unattended : public UserDialogs {
public:
    void message(const QString &text) override { std::printf("message: %s\n", qPrintable(text)); }
    bool confirm(const QString &) override { return true; }
    QString openFileName(const QString &, const QString &, const QStringList &) override { return {}; }
    QString saveFileName(const QString &, const QString &, const QStringList &) override { return {}; }
};

// Staff log-normal; loans a noisy power of staff below a frontier.
DataSet generated(int dmus)
{
    std::mt19937_64 random(20261206u);
    std::lognormal_distribution<double> staff(3.0, 0.6);
    std::exponential_distribution<double> shortfall(4.0);
    DataSet data;
    data.NumDMU = dmus;
    data.NumInputs = 1;
    data.NumOutputs = 1;
    data.DMUNames.assign(1, "");
    data.InputNames = {"", "{I}Staff"};
    data.OutputNames = {"", "{O}Loans"};
    data.InputNonDisc.assign(2, 0);
    data.OutputNonDisc.assign(2, 0);
    data.InputData = Matrix(1, dmus);
    data.OutputData = Matrix(1, dmus);
    for (int d = 1; d <= dmus; ++d) {
        data.DMUNames.push_back("    Branch " + std::to_string(d));
        const double x = std::round(staff(random) * 10.0) / 10.0;
        data.InputData(1, d) = x;
        data.OutputData(1, d) = std::round(std::pow(x, 0.8) * std::exp(-shortfall(random)) * 1000.0) / 10.0;
    }
    data.DataFileName = "generated-" + std::to_string(dmus) + ".txt";
    data.DataFileStem = "generated-" + std::to_string(dmus);
    return data;
}

double milliseconds(const QElapsedTimer &timer) { return static_cast<double>(timer.nsecsElapsed()) / 1e6; }

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int dmus = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100000;

    QTemporaryDir folder;
    Unattended dialogs;
    MainWindow window(dialogs, SettingsStore::iniFile(folder.filePath(QStringLiteral("settings.ini"))));
    window.setGeometry(0, 0, 1280, 900);
    window.show();
    window.workspace().data = generated(dmus);
    window.workspace().modelDialog().lstEval.selectAll(true);
    window.workspace().modelDialog().lstTech.selectAll(true);

    QElapsedTimer timer;
    timer.start();
    window.findChild<QAction *>(QStringLiteral("mnuDEARun"))->trigger();
    window.modelDialog()->findChild<QPushButton *>(QStringLiteral("cmdStart"))->click();
    ResultsWindow *results = window.resultsWindows().value(0);
    if (results == nullptr)
        return 1;
    results->view()->viewport()->repaint();
    std::printf("%d DMUs, CRS_RAD_IN: run and results window %.0f ms\n", dmus, milliseconds(timer));

    // Scrolling: 200 steps from top to bottom, each one repainted.
    QScrollBar *bar = results->view()->verticalScrollBar();
    std::vector<double> steps;
    for (int k = 0; k <= 200; ++k) {
        timer.restart();
        bar->setValue(static_cast<int>(static_cast<long long>(bar->maximum()) * k / 200));
        results->view()->viewport()->repaint();
        QCoreApplication::processEvents();
        steps.push_back(milliseconds(timer));
    }
    std::sort(steps.begin(), steps.end());
    double sum = 0.0;
    for (double step : steps)
        sum += step;
    std::printf("scrolling: %zu steps, mean %.1f ms, median %.1f ms, slowest %.1f ms\n", steps.size(),
                sum / static_cast<double>(steps.size()), steps[steps.size() / 2], steps.back());
    std::printf("summary: %s\n", qPrintable(results->summary()->text()));

    // The chart window: computed, built and each chart drawn whole.
    timer.restart();
    window.findChild<QAction *>(QStringLiteral("mnuDEAChart"))->trigger();
    ChartWindow *chart = window.chartWindowOf(results);
    if (chart == nullptr)
        return 1;
    chart->resize(900, 650);
    QCoreApplication::processEvents();
    const double opened = milliseconds(timer);
    timer.restart();
    const QPixmap histogram = chart->histogramView()->grab();
    const double histogramDrawn = milliseconds(timer);
    double frontierDrawn = 0.0;
    if (chart->frontierView() != nullptr) {
        timer.restart();
        const QPixmap frontier = chart->frontierView()->grab();
        frontierDrawn = milliseconds(timer);
    }
    std::printf("chart: window %.0f ms, histogram drawn %.0f ms, frontier drawn %.0f ms, total %.0f ms\n", opened,
                histogramDrawn, frontierDrawn, opened + histogramDrawn + frontierDrawn);
    return 0;
}
