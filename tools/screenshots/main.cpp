// zelvar-screenshots OUTDIR: the README's pictures of the summary, the
// histogram, the frontier chart and Show data, drawn offscreen:
//   cmake --build build --target zelvar-screenshots
//   build/tools/screenshots/zelvar-screenshots docs

#include "app/AppInfo.h"
#include "app/ChartWindow.h"
#include "app/DataWindow.h"
#include "app/MainWindow.h"
#include "app/ModelDialog.h"
#include "app/ResultsWindow.h"
#include "app/UserDialogs.h"

#include <QAction>
#include <QApplication>
#include <QChartView>
#include <QLocale>
#include <QMdiArea>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>

#include <cmath>
#include <cstdio>
#include <random>

using namespace zelvar;

namespace {

// Opens the file it was given; answers everything else with OK or Cancel.
class Scripted : public UserDialogs {
public:
    QString file;
    void message(const QString &text) override { std::printf("message: %s\n", qPrintable(text)); }
    bool confirm(const QString &) override { return true; }
    QString openFileName(const QString &, const QString &, const QStringList &) override { return file; }
    QString saveFileName(const QString &, const QString &, const QStringList &) override { return {}; }
};

void trigger(MainWindow &window, const char *name)
{
    window.findChild<QAction *>(QLatin1String(name))->trigger();
}

void start(MainWindow &window, const char *model)
{
    trigger(window, "mnuDEARun");
    ModelDialog *dialog = window.modelDialog();
    if (model != nullptr)
        dialog->findChild<QRadioButton *>(QLatin1String(model))->click();
    dialog->findChild<QPushButton *>(QStringLiteral("cmdStart"))->click();
}

bool save(QWidget *widget, const QString &path)
{
    const bool saved = widget->grab().save(path, "PNG");
    std::printf("%s %s\n", saved ? "wrote" : "could not write", qPrintable(path));
    return saved;
}

// 60 branches of one input and one output, a noisy power law below a frontier.
void writeOneByOne(const QString &path)
{
    std::mt19937_64 random(7u);
    std::lognormal_distribution<double> staff(2.5, 0.5);
    std::exponential_distribution<double> shortfall(5.0);
    FILE *file = std::fopen(path.toLocal8Bit().constData(), "w");
    std::fprintf(file, "Branch,{I}Staff,{O}Loans\n");
    for (int d = 1; d <= 60; ++d) {
        const double x = std::round(staff(random) * 10.0) / 10.0;
        std::fprintf(file, "B%d,%.1f,%.1f\n", d, x, std::round(std::pow(x, 0.7) * std::exp(-shortfall(random)) * 100.0) / 10.0);
    }
    std::fclose(file);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: zelvar-screenshots OUTDIR\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    QTemporaryDir folder;
    Scripted dialogs;
    MainWindow window(dialogs, SettingsStore::iniFile(folder.filePath(QStringLiteral("settings.ini"))));
    window.setGeometry(0, 0, 1040, 640);
    window.show();

    // The bank sample: its results window with the summary, its histogram, its data.
    dialogs.file = AppInfo::examplesFolder() + QStringLiteral("/banks.txt");
    trigger(window, "mnuFileOpen");
    start(window, nullptr);
    ResultsWindow *results = window.resultsWindows().value(0);
    results->showMaximized();
    QApplication::processEvents();
    bool saved = save(&window, out + QStringLiteral("/summary.png"));

    trigger(window, "mnuDEAChart");
    ChartWindow *chart = window.chartWindowOf(results);
    chart->showNormal();
    chart->resize(760, 500);
    QApplication::processEvents();
    saved = save(chart->histogramView(), out + QStringLiteral("/histogram.png")) && saved;
    chart->close();

    trigger(window, "mnuDEAShowData");
    window.dataWindow()->showMaximized();
    QApplication::processEvents();
    saved = save(&window, out + QStringLiteral("/data.png")) && saved;

    // One input, one output: the frontier of a VRS run.
    dialogs.file = folder.filePath(QStringLiteral("branches.txt"));
    writeOneByOne(dialogs.file);
    trigger(window, "mnuFileOpen");
    start(window, "optVariable");
    trigger(window, "mnuDEAChart");
    chart = window.chartWindowOf(window.resultsWindows().last());
    chart->showNormal();
    chart->resize(760, 540);
    chart->tabs()->setCurrentWidget(chart->frontierView());
    QApplication::processEvents();
    saved = save(chart->frontierView(), out + QStringLiteral("/frontier.png")) && saved;
    return saved ? 0 : 1;
}
