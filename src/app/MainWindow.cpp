#include "MainWindow.h"

#include "AboutDialog.h"
#include "AppIcon.h"
#include "AppInfo.h"
#include "ChartWindow.h"
#include "DataWindow.h"
#include "FormatDialog.h"
#include "MdiLayout.h"
#include "ModelDialog.h"
#include "ProgressWindow.h"
#include "ResultsWindow.h"
#include "Twips.h"
#include "UserDialogs.h"
#include "engine/MalmquistIndex.h"
#include "engine/ScaleEfficiency.h"
#include "results/AnalysisTables.h"
#include "session/DataCommands.h"
#include "session/NegativeData.h"

#include <QAction>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLocale>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPointer>
#include <QStatusBar>
#include <QTableView>
#include <QUrl>

#include <algorithm>

namespace zelvar {

MainWindow::MainWindow(UserDialogs &dialogs, SettingsStore settings, QWidget *parent)
    : QMainWindow(parent), m_dialogs(dialogs), m_settings(std::move(settings)),
      m_feedback(dialogs), m_export(m_workspace, dialogs), m_driver(m_workspace)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(AppInfo::title());
    setWindowIcon(AppIcon::icon());
    // Result tables show numbers the way the user's locale writes them.
    m_workspace.decimalSeparator = QLocale().decimalPoint().toStdString();

    m_mdiArea = new QMdiArea(this);
    m_mdiArea->setObjectName(QStringLiteral("mdiArea"));
    m_mdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_mdiArea);

    m_guideFile = AppInfo::guideFile();
    m_openDocument = [](const QString &path) { return QDesktopServices::openUrl(QUrl::fromLocalFile(path)); };

    createMenus();
    createStatusBar();
    readSettings();
    showStatus();
}

MainWindow::~MainWindow()
{
    // The results windows go before the workspace whose runs they show.
    for (QMdiSubWindow *window : m_mdiArea->subWindowList())
        delete window;
}

QAction *MainWindow::addCommand(QMenu *menu, const char *name, const QString &caption,
                                const QKeySequence &shortcut, void (MainWindow::*handler)())
{
    // Owned by the window, not the menu: the Window menu is rebuilt on each
    // showing and must not take its fixed items with it.
    auto *action = new QAction(caption, this);
    if (menu != nullptr)
        menu->addAction(action);
    action->setObjectName(QLatin1String(name));
    if (!shortcut.isEmpty()) {
        action->setShortcut(shortcut);
        // The results tables would otherwise take Ctrl+C and Ctrl+A themselves.
        action->setShortcutContext(Qt::WindowShortcut);
    }
    connect(action, &QAction::triggered, this, handler);
    return action;
}

void MainWindow::createMenus()
{
    QMenu *file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    addCommand(file, "mnuFileOpen", QStringLiteral("L&oad data"), QKeySequence(QStringLiteral("Ctrl+O")),
               &MainWindow::mnuFileOpen);
    file->addSeparator();
    addCommand(file, "mnuWeightsOpen", QStringLiteral("Load &Weight Restr"),
               QKeySequence(QStringLiteral("Ctrl+W")), &MainWindow::mnuWeightsOpen);
    m_closeWeights = addCommand(file, "mnuCloseWeights", QStringLiteral("&Close Weight Restr"), {},
                                &MainWindow::mnuCloseWeights);
    m_fileMenu = file;
    m_pricesCommands << addCommand(nullptr, "mnuPricesOpen", QStringLiteral("Load &Prices"), {},
                                   &MainWindow::mnuPricesOpen)
                     << addCommand(nullptr, "mnuClosePrices", QStringLiteral("Close P&rices"), {},
                                   &MainWindow::mnuClosePrices);
    file->addSeparator();
    addCommand(file, "mnuFileSave", QStringLiteral("&Save"), QKeySequence(QStringLiteral("Ctrl+S")),
               &MainWindow::mnuFileSave);
    addCommand(file, "mnuFileSaveAs", QStringLiteral("Save &As"), {}, &MainWindow::mnuFileSaveAs);
    QMenu *exportMenu = file->addMenu(QStringLiteral("&Export"));
    exportMenu->setObjectName(QStringLiteral("mnuFileExportMenu"));
    exportMenu->menuAction()->setObjectName(QStringLiteral("mnuFileExport"));
    addCommand(exportMenu, "mnuFileExportXlsx", QStringLiteral("&Excel workbook (.xlsx)..."),
               QKeySequence(QStringLiteral("Ctrl+E")), &MainWindow::mnuFileExportXlsx);
    addCommand(exportMenu, "mnuFileExportCsv", QStringLiteral("&CSV (.csv)..."), {}, &MainWindow::mnuFileExportCsv);
    file->addSeparator();
    addCommand(file, "mnuFileExit", QStringLiteral("E&xit"), {}, &MainWindow::mnuFileExit);

    QMenu *edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    edit->setObjectName(QStringLiteral("mnuEdit"));
    addCommand(edit, "mnuEditCopy", QStringLiteral("&Copy"), QKeySequence(QStringLiteral("Ctrl+C")),
               &MainWindow::mnuEditCopy);
    addCommand(edit, "mnuEditCopyAll", QStringLiteral("Copy &All"),
               QKeySequence(QStringLiteral("Ctrl+A")), &MainWindow::mnuEditCopyAll);

    QMenu *dea = menuBar()->addMenu(QStringLiteral("&DEA"));
    dea->setObjectName(QStringLiteral("mnuDEA"));
    addCommand(dea, "mnuDEARun", QStringLiteral("Run &model"), QKeySequence(QStringLiteral("Ctrl+M")),
               &MainWindow::mnuDEARun);
    addCommand(dea, "mnuDEAFormat", QStringLiteral("&Format"), QKeySequence(QStringLiteral("Ctrl+F")),
               &MainWindow::mnuDEAFormat);
    dea->addSeparator();
    addCommand(dea, "mnuDEAShowData", QStringLiteral("Show &data"), QKeySequence(QStringLiteral("Ctrl+D")),
               &MainWindow::mnuDEAShowData);
    m_chartAction = addCommand(dea, "mnuDEAChart", QStringLiteral("&Chart"), QKeySequence(QStringLiteral("Ctrl+G")),
                               &MainWindow::mnuDEAChart);
    connect(m_mdiArea, &QMdiArea::subWindowActivated, this, &MainWindow::updateChartCommand);
    m_summaryAction = addCommand(dea, "mnuDEASummary", QStringLiteral("&Summary"), {}, &MainWindow::mnuDEASummary);
    m_summaryAction->setCheckable(true);
    m_summaryAction->setChecked(true);

    m_windowMenu = menuBar()->addMenu(QStringLiteral("&Window"));
    m_windowMenu->setObjectName(QStringLiteral("mnuWindow"));
    m_arrangeActions
        << addCommand(m_windowMenu, "mnuWindowCascade", QStringLiteral("&Cascade"), {},
                      &MainWindow::mnuWindowCascade)
        << addCommand(m_windowMenu, "mnuWindowTileHorizontal", QStringLiteral("Tile &horizontal"), {},
                      &MainWindow::mnuWindowTileHorizontal)
        << addCommand(m_windowMenu, "mnuWindowTileVertical", QStringLiteral("Tile &vertical"), {},
                      &MainWindow::mnuWindowTileVertical)
        << addCommand(m_windowMenu, "mnuWindowArrangeIcons", QStringLiteral("&Arrange"), {},
                      &MainWindow::mnuWindowArrangeIcons);
    connect(m_windowMenu, &QMenu::aboutToShow, this, &MainWindow::updateWindowMenu);

    QMenu *help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    addCommand(help, "mnuHelpGuide", QStringLiteral("&User's guide"), QKeySequence(Qt::Key_F1),
               &MainWindow::mnuHelpGuide);
    addCommand(help, "mnuHelpAbout", QStringLiteral("&About"), {}, &MainWindow::mnuHelpAbout);
}

// The Window menu: the four arrangements, then one entry per open results
// window, the active one checked.
void MainWindow::updateWindowMenu()
{
    m_windowMenu->clear();
    m_windowMenu->addActions(m_arrangeActions);
    const QList<QMdiSubWindow *> windows = m_mdiArea->subWindowList();
    if (windows.isEmpty())
        return;
    m_windowMenu->addSeparator();
    int number = 1;
    for (QMdiSubWindow *window : windows) {
        const QString prefix = number < 10 ? QStringLiteral("&%1 ").arg(number) : QStringLiteral("%1 ").arg(number);
        QString title = window->windowTitle();
        title.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction *action = m_windowMenu->addAction(prefix + title);
        action->setCheckable(true);
        action->setChecked(window == m_mdiArea->currentSubWindow());
        QPointer<QMdiSubWindow> target(window);
        connect(action, &QAction::triggered, this, [this, target] {
            if (target)
                bringToFront(target);
        });
        ++number;
    }
}

void MainWindow::createStatusBar()
{
    statusBar()->setObjectName(QStringLiteral("sbStatusBar"));
    m_panel1 = new QLabel(this);
    m_panel1->setObjectName(QStringLiteral("sbPanel1"));
    m_panel1->setMinimumWidth(1);
    m_panel2 = new QLabel(this);
    m_panel2->setObjectName(QStringLiteral("sbPanel2"));
    m_panel2->setMinimumWidth(1);
    m_panel3 = new QLabel(this);
    m_panel3->setObjectName(QStringLiteral("sbPanel3"));
    m_panel3->setMinimumWidth(1);
    statusBar()->addWidget(m_panel1, 3);
    statusBar()->addWidget(m_panel2, 2);
    statusBar()->addWidget(m_panel3, 2);
}

void MainWindow::showPricesCommands()
{
    if (!m_workspace.data.loaded() || m_fileMenu->actions().contains(m_pricesCommands.first()))
        return;
    const QList<QAction *> items = m_fileMenu->actions();
    const qsizetype after = items.indexOf(m_closeWeights);
    m_fileMenu->insertActions(after + 1 < items.size() ? items[after + 1] : nullptr, m_pricesCommands);
}

void MainWindow::showStatus()
{
    m_panel1->setText(QString::fromStdString(m_workspace.status.panel1));
    m_panel1->setToolTip(m_panel1->text());
    m_panel2->setText(QString::fromStdString(m_workspace.status.panel2));
    m_panel2->setToolTip(m_panel2->text());
    m_panel3->setText(QString::fromStdString(m_workspace.status.panel3));
    m_panel3->setToolTip(m_panel3->text());
    // The weight restriction and price panels take room only when they have
    // a file to name; the data panel has the whole line otherwise.
    m_panel2->setVisible(!m_panel2->text().isEmpty());
    m_panel3->setVisible(!m_panel3->text().isEmpty());
    statusBar()->repaint();
}

void MainWindow::readSettings()
{
    const double dpiX = logicalDpiX();
    const double dpiY = logicalDpiY();
    MainSettings stored;
    stored.left = pixelsToTwips(x(), dpiX);
    stored.top = pixelsToTwips(y(), dpiY);
    stored.width = pixelsToTwips(width(), dpiX);
    stored.height = pixelsToTwips(height(), dpiY);
    stored.format = m_workspace.format;
    stored.dataFileName = m_workspace.data.DataFileName;
    m_settings.read(stored);
    setGeometry(twipsToPixels(stored.left, dpiX), twipsToPixels(stored.top, dpiY),
                twipsToPixels(stored.width, dpiX), twipsToPixels(stored.height, dpiY));
    m_workspace.format = stored.format;
    m_workspace.data.DataFileName = stored.dataFileName;
    m_workspace.openDialogFile = stored.dataFileName;
    m_workspace.status.panel1 = StatusTexts::NoDataStatus;
    m_workspace.data.NumWeightRows = 0;
}

void MainWindow::writeSettings() const
{
    const double dpiX = logicalDpiX();
    const double dpiY = logicalDpiY();
    // A maximized window is stored with the place it goes back to.
    QRect place = isMaximized() || isFullScreen() ? normalGeometry() : geometry();
    if (place.isEmpty())
        place = geometry();
    MainSettings settings;
    settings.left = pixelsToTwips(place.x(), dpiX);
    settings.top = pixelsToTwips(place.y(), dpiY);
    settings.width = pixelsToTwips(place.width(), dpiX);
    settings.height = pixelsToTwips(place.height(), dpiY);
    settings.format = m_workspace.format;
    settings.dataFileName = m_workspace.data.DataFileName;
    m_settings.write(settings);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (m_running) {
        // The run ends at its next DMU; the window can be closed then.
        if (m_progress)
            m_progress->requestCancel();
        event->ignore();
        return;
    }
    if (!isMinimized())
        writeSettings();
    // Every other window goes with the main window, the latest first.
    const QList<QMdiSubWindow *> windows = m_mdiArea->subWindowList(QMdiArea::StackingOrder);
    for (auto it = windows.rbegin(); it != windows.rend(); ++it)
        (*it)->close();
    for (QDialog *dialog : {static_cast<QDialog *>(m_modelDialog.get()),
                            static_cast<QDialog *>(m_formatDialog.get()),
                            static_cast<QDialog *>(m_about.get()),
                            static_cast<QDialog *>(m_progress.get())})
        if (dialog != nullptr)
            dialog->hide();
    event->accept();
}

ResultsWindow *MainWindow::activeResultsWindow() const
{
    // currentSubWindow, not activeSubWindow: the latter is null whenever the
    // application itself is not the active one.
    return qobject_cast<ResultsWindow *>(m_mdiArea->currentSubWindow());
}

QList<ResultsWindow *> MainWindow::resultsWindows() const
{
    QList<ResultsWindow *> windows;
    for (QMdiSubWindow *window : m_mdiArea->subWindowList(QMdiArea::CreationOrder))
        if (auto *results = qobject_cast<ResultsWindow *>(window))
            windows << results;
    return windows;
}

void MainWindow::closeModelDialog()
{
    if (m_modelDialog) {
        m_modelDialog->hide();
        m_modelDialog.reset();
    }
}

// The dialog is a view of the workspace's dialog state; it is built anew
// whenever a data file load has replaced that state.
ModelDialog &MainWindow::modelDialogView()
{
    if (!m_modelDialog) {
        m_modelDialog = std::make_unique<ModelDialog>(
            m_workspace.modelDialog(), m_feedback,
            [this](const StartResult &start) { runSeries(start); }, this);
    }
    return *m_modelDialog;
}

// The open dialogs start from the last data file when it still exists, else
// from its folder, else from the sample data.
QString MainWindow::openDialogStart() const
{
    const QString last = QString::fromStdString(m_workspace.openDialogFile.empty() ? m_workspace.data.DataFileName
                                                                                   : m_workspace.openDialogFile);
    if (!last.isEmpty()) {
        const QFileInfo info(last);
        if (info.isFile())
            return info.absoluteFilePath();
        if (info.absoluteDir().exists() && info.absoluteDir() != QDir::current())
            return info.absolutePath();
    }
    return AppInfo::examplesFolder();
}

void MainWindow::mnuFileOpen()
{
    if (m_running)
        return;
    closeModelDialog();
    const QString path = m_dialogs.openFileName(
        QStringLiteral("Load data"), openDialogStart(),
        {QStringLiteral("All data files (*.xls *.xlsx *.txt)"), QStringLiteral("Excel (*.xls *.xlsx)"),
         QStringLiteral("Text (*.txt)")});
    if (path.isEmpty()) {
        // Cancelled: the next model dialog starts afresh. A file that cannot
        // be read leaves the dialog's state as it was instead.
        m_workspace.discardModelDialog();
        return;
    }
    bool loaded = false;
    {
        const BusyScope busy(m_feedback);
        loaded = openDataFile(m_workspace, QDir::toNativeSeparators(path).toStdString(), m_feedback);
    }
    if (loaded)
        ++m_dataLoads;
    showStatus();
    showPricesCommands();
}

void MainWindow::mnuWeightsOpen()
{
    if (m_running || !canOpenWeights(m_workspace, m_feedback))
        return;
    const QString dataFile = QString::fromStdString(m_workspace.data.DataFileName);
    const QString start =
        !dataFile.isEmpty() && QFileInfo(dataFile).isFile() ? dataFile : openDialogStart();
    const QString path = m_dialogs.openFileName(
        QStringLiteral("Load Weight Restr"), start,
        {QStringLiteral("Excel 5.0 (*.xls)"), QStringLiteral("Text (*.txt)")});
    if (path.isEmpty())
        return;
    {
        const BusyScope busy(m_feedback);
        (void)openWeightsFile(m_workspace, QDir::toNativeSeparators(path).toStdString(), m_feedback);
    }
    showStatus();
    if (m_modelDialog)
        m_modelDialog->showState();
}

void MainWindow::mnuCloseWeights()
{
    if (m_running)
        return;
    closeWeights(m_workspace, m_feedback);
    showStatus();
    if (m_modelDialog)
        m_modelDialog->showState();
}

void MainWindow::mnuPricesOpen()
{
    if (m_running || !canOpenPrices(m_workspace, m_feedback))
        return;
    const QString dataFile = QString::fromStdString(m_workspace.data.DataFileName);
    const QString start =
        !dataFile.isEmpty() && QFileInfo(dataFile).isFile() ? dataFile : openDialogStart();
    const QString path = m_dialogs.openFileName(
        QStringLiteral("Load Prices"), start,
        {QStringLiteral("Excel (*.xls *.xlsx)"), QStringLiteral("Text (*.txt)")});
    if (path.isEmpty())
        return;
    {
        const BusyScope busy(m_feedback);
        (void)openPricesFile(m_workspace, QDir::toNativeSeparators(path).toStdString(), m_feedback);
    }
    showStatus();
    if (m_modelDialog)
        m_modelDialog->showState();
}

void MainWindow::mnuClosePrices()
{
    if (m_running)
        return;
    closePrices(m_workspace, m_feedback);
    showStatus();
    if (m_modelDialog)
        m_modelDialog->showState();
}

void MainWindow::mnuFileSave()
{
    if (!m_running)
        (void)m_export.save(activeResultsWindow());
}

void MainWindow::mnuFileSaveAs()
{
    if (!m_running)
        (void)m_export.saveAs(activeResultsWindow());
}

void MainWindow::mnuFileExportXlsx()
{
    if (!m_running)
        (void)m_export.exportTable(activeResultsWindow(), ExportFormat::Xlsx);
}

void MainWindow::mnuFileExportCsv()
{
    if (!m_running)
        (void)m_export.exportTable(activeResultsWindow(), ExportFormat::Csv);
}

void MainWindow::mnuFileExit() { close(); }

void MainWindow::mnuEditCopy()
{
    if (!m_running)
        m_export.copy(activeResultsWindow());
}

void MainWindow::mnuEditCopyAll()
{
    if (!m_running)
        m_export.copyAll(activeResultsWindow());
}

void MainWindow::mnuDEARun()
{
    if (m_running)
        return;
    if (!m_workspace.data.loaded()) {
        m_dialogs.message(QStringLiteral("Please load data."));
        return;
    }
    ModelDialog &dialog = modelDialogView();
    dialog.show();
    dialog.raise();
    dialog.activateWindow();
}

void MainWindow::mnuDEAFormat()
{
    if (m_running)
        return;
    if (!m_formatDialog)
        m_formatDialog = std::make_unique<FormatDialog>(m_workspace.format, this);
    m_formatDialog->show();
    m_formatDialog->raise();
    m_formatDialog->activateWindow();
}

void MainWindow::mnuDEAShowData()
{
    if (m_running)
        return;
    if (!m_workspace.data.loaded()) {
        m_dialogs.message(QStringLiteral("Please load data."));
        return;
    }
    // One window per loaded file; a file loaded since gets a window of its own.
    if (m_dataWindow && m_dataWindowLoad == m_dataLoads) {
        bringToFront(m_dataWindow);
        return;
    }
    auto *window = new DataWindow(DataSheet(m_workspace.data, m_workspace.decimalSeparator));
    m_mdiArea->addSubWindow(window);
    const QSize area = m_mdiArea->viewport()->size();
    window->resize(std::max(area.width() * 3 / 4, 200), std::max(area.height() * 3 / 4, 150));
    window->show();
    keepInView(*m_mdiArea, *window);
    m_dataWindow = window;
    m_dataWindowLoad = m_dataLoads;
}

void MainWindow::bringToFront(QMdiSubWindow *window)
{
    // Activating a minimized window leaves it an icon at the bottom of the area.
    if (window->isMinimized())
        window->showNormal();
    m_mdiArea->setActiveSubWindow(window);
}

DataWindow *MainWindow::dataWindow() const { return m_dataWindow; }

ChartWindow *MainWindow::chartWindowOf(const ResultsWindow *results) const
{
    for (QMdiSubWindow *window : m_mdiArea->subWindowList())
        if (auto *chart = qobject_cast<ChartWindow *>(window); chart != nullptr && chart->source() == results)
            return chart;
    return nullptr;
}

void MainWindow::mnuDEAChart()
{
    if (m_running)
        return;
    if (auto *chart = qobject_cast<ChartWindow *>(m_mdiArea->currentSubWindow())) {
        bringToFront(chart);
        return;
    }
    ResultsWindow *results = activeResultsWindow();
    if (results == nullptr) {
        m_dialogs.message(QStringLiteral("There's nothing to chart: choose a results window first."));
        return;
    }
    if (!results->hasRunScores()) {
        m_dialogs.message(QStringLiteral("There's nothing to chart: this table has no scores of a run."));
        return;
    }
    if (ChartWindow *existing = chartWindowOf(results)) {
        bringToFront(existing);
        return;
    }
    auto *chart = new ChartWindow(*results, m_dialogs);
    m_mdiArea->addSubWindow(chart);
    const QSize area = m_mdiArea->viewport()->size();
    chart->resize(std::max(area.width() * 2 / 3, 360), std::max(area.height() * 2 / 3, 300));
    chart->show();
    keepInView(*m_mdiArea, *chart);
}

void MainWindow::updateChartCommand()
{
    const ResultsWindow *results = activeResultsWindow();
    m_chartAction->setEnabled(results == nullptr || results->hasRunScores());
}

void MainWindow::mnuDEASummary()
{
    for (ResultsWindow *window : resultsWindows())
        window->setSummaryVisible(m_summaryAction->isChecked());
}

void MainWindow::mnuHelpGuide()
{
    if (m_guideFile.isEmpty() || !QFileInfo(m_guideFile).isFile()) {
        m_dialogs.message(QStringLiteral("The user's guide Zelvar.PDF was not found. It is built with the "
                                         "program and installed in share/doc/zelvar; docs/guide.md in the "
                                         "sources holds the same text."));
        return;
    }
    if (!m_openDocument || !m_openDocument(m_guideFile))
        m_dialogs.message(QStringLiteral("The user's guide could not be opened: no program to show PDF files "
                                         "was found.\n%1")
                              .arg(QDir::toNativeSeparators(m_guideFile)));
}

void MainWindow::mnuWindowCascade() { m_mdiArea->cascadeSubWindows(); }

void MainWindow::mnuWindowTileHorizontal() { tileHorizontally(*m_mdiArea); }

void MainWindow::mnuWindowTileVertical() { tileVertically(*m_mdiArea); }

void MainWindow::mnuWindowArrangeIcons() { arrangeIcons(*m_mdiArea); }

void MainWindow::mnuHelpAbout()
{
    if (!m_about)
        m_about = std::make_unique<AboutDialog>(this);
    m_about->show();
    m_about->raise();
    m_about->activateWindow();
}

// Each run of the series gets its own results window, shown before the run
// fills it; the scale table of a run follows it, and the Malmquist index the
// whole series. The window shown last comes to the front with the keyboard.
// A run that stops early (a solver failure) does not stop the series; the
// user's Cancel does.
void MainWindow::runSeries(const StartResult &start)
{
    const RunSeries &series = start.runs;
    // A model that assumes non-negative data asks first; Cancel runs nothing.
    const std::string note = negativeDataNote(m_workspace.data, m_workspace.options, series);
    if (!note.empty() && !m_feedback.confirm(note + "\n\nRun the model anyway?")) {
        m_workspace.modelDialog().finishSeries();
        return;
    }
    if (!m_progress)
        m_progress = std::make_unique<ProgressWindow>(this);
    m_progress->resetCancel();
    m_running = true;
    const double dpi = logicalDpiX();
    const QSize area = m_mdiArea->viewport()->size();
    PlannedRun run;
    QPointer<ResultsWindow> last;
    for (int i = 0; i < series.count() && !m_progress->cancelRequested(); ++i) {
        series.fill(i, run);
        auto *window = new ResultsWindow(m_workspace.data, m_workspace.options, m_workspace.format, dpi);
        window->setSummaryVisible(m_summaryAction->isChecked());
        last = window;
        window->setWindowTitle(QString::fromStdString(run.caption));
        m_mdiArea->addSubWindow(window);
        window->resize(std::max(area.width() * 3 / 4, 200), std::max(area.height() * 3 / 4, 150));
        window->show();
        keepInView(*m_mdiArea, *window);
        QPointer<ResultsWindow> shown(window);
        m_progress->setRefreshHook([shown] {
            if (shown)
                shown->refreshView();
        });
        (void)m_driver.RunModel(run.eval, run.tech, window->table(), m_progress->sink(), m_feedback);
        m_progress->setRefreshHook({});
        if (shown)
            shown->runEnded();
        if (start.scale && !m_progress->cancelRequested()) {
            ScaleEfficiency scale;
            if (ScaleEfficiency::compute(m_workspace, run.eval, run.tech, m_progress->sink(), m_feedback, scale)
                != RunOutcome::NoData)
                last = showTableWindow(run.caption + "_Scale", scaleTable(scale, m_workspace.data, m_workspace.format,
                                                                          m_workspace.decimalSeparator));
        }
    }
    if (start.malmquistIndex && !m_progress->cancelRequested()) {
        MalmquistIndex index;
        const RunOutcome outcome =
            MalmquistIndex::compute(m_workspace, m_workspace.options.Periods, m_progress->sink(), m_feedback, index);
        if (outcome != RunOutcome::NoData && outcome != RunOutcome::Stopped)
            last = showTableWindow(start.indexCaption, malmquistIndexTable(index, m_workspace.data, m_workspace.format,
                                                                           m_workspace.decimalSeparator));
    }
    m_workspace.modelDialog().finishSeries();
    m_running = false;
    if (last)
        focusResults(last);
    // The window in front may have been in front while it was still empty.
    updateChartCommand();
}

void MainWindow::focusResults(ResultsWindow *window)
{
    activateWindow();
    m_mdiArea->setActiveSubWindow(window);
    window->view()->setFocus(Qt::OtherFocusReason);
}

ResultsWindow *MainWindow::showTableWindow(const std::string &caption, TextGrid grid)
{
    const QSize area = m_mdiArea->viewport()->size();
    auto *window = new ResultsWindow(std::move(grid), m_workspace.format, logicalDpiX());
    window->setWindowTitle(QString::fromStdString(caption));
    m_mdiArea->addSubWindow(window);
    window->resize(std::max(area.width() * 3 / 4, 200), std::max(area.height() * 3 / 4, 150));
    window->show();
    keepInView(*m_mdiArea, *window);
    window->refreshView();
    window->runEnded();
    return window;
}

} // namespace zelvar
