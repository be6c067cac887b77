#pragma once

#include "DialogFeedback.h"
#include "ResultsExport.h"
#include "SettingsStore.h"
#include "engine/RunDriver.h"
#include "results/TextGrid.h"
#include "session/Workspace.h"

#include <QMainWindow>
#include <QPointer>

#include <functional>
#include <memory>

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;

namespace zelvar {

class AboutDialog;
class ChartWindow;
class DataWindow;
class FormatDialog;
class ModelDialog;
class ProgressWindow;
class ResultsWindow;
class UserDialogs;

// The main window (frmMain): menus, the MDI area holding one results window
// per run, and a status bar with the data file and the weight restriction
// file. It owns the session's workspace. Constructing it reads the settings;
// closing it writes them, unless it is minimized.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // dialogs must outlive the window.
    MainWindow(UserDialogs &dialogs, SettingsStore settings, QWidget *parent = nullptr);
    ~MainWindow() override;

    [[nodiscard]] Workspace &workspace() { return m_workspace; }
    [[nodiscard]] QMdiArea *mdiArea() const { return m_mdiArea; }
    // The results window the export commands act on; null when none.
    [[nodiscard]] ResultsWindow *activeResultsWindow() const;
    [[nodiscard]] QList<ResultsWindow *> resultsWindows() const;
    // The model dialog's view while it exists (hidden or shown).
    [[nodiscard]] ModelDialog *modelDialog() const { return m_modelDialog.get(); }
    [[nodiscard]] FormatDialog *formatDialog() const { return m_formatDialog.get(); }
    [[nodiscard]] ProgressWindow *progressWindow() const { return m_progress.get(); }
    [[nodiscard]] bool running() const { return m_running; }

    // The status bar panels, after each command.
    void showStatus();

    // Help > User's guide opens the guide with this (by default the
    // desktop's viewer through QDesktopServices); false when it could not.
    void setDocumentOpener(std::function<bool(const QString &path)> open) { m_openDocument = std::move(open); }
    // The user's guide Help opens; empty when none was found.
    void setGuideFile(const QString &path) { m_guideFile = path; }
    [[nodiscard]] const QString &guideFile() const { return m_guideFile; }
    // The chart window of a results window, while it is open.
    [[nodiscard]] ChartWindow *chartWindowOf(const ResultsWindow *results) const;
    // The window of Show data, while it is open.
    [[nodiscard]] DataWindow *dataWindow() const;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QAction *addCommand(QMenu *menu, const char *name, const QString &caption,
                        const QKeySequence &shortcut, void (MainWindow::*handler)());
    void createMenus();
    void createStatusBar();
    void readSettings();
    void writeSettings() const;
    void updateWindowMenu();
    // The sub-window the user asked for, restored when minimized and made the active one.
    void bringToFront(QMdiSubWindow *window);
    // DEA > Chart is there for the windows of runs with scores; the tables of
    // the analyses have none to chart.
    void updateChartCommand();
    void closeModelDialog();
    ModelDialog &modelDialogView();
    QString openDialogStart() const;

    void mnuFileOpen();
    void mnuWeightsOpen();
    void mnuCloseWeights();
    void mnuPricesOpen();
    void mnuClosePrices();
    // Load Prices and Close Prices join the File menu once data is loaded:
    // prices are read for the data's inputs and outputs.
    void showPricesCommands();
    void mnuFileSave();
    void mnuFileSaveAs();
    void mnuFileExportXlsx();
    void mnuFileExportCsv();
    void mnuFileExit();
    void mnuEditCopy();
    void mnuEditCopyAll();
    void mnuDEARun();
    void mnuDEAFormat();
    void mnuDEAShowData();
    void mnuDEAChart();
    void mnuDEASummary();
    void mnuWindowCascade();
    void mnuWindowTileHorizontal();
    void mnuWindowTileVertical();
    void mnuWindowArrangeIcons();
    void mnuHelpGuide();
    void mnuHelpAbout();

    void runSeries(const StartResult &start);
    // A table of an analysis in a results window of its own.
    ResultsWindow *showTableWindow(const std::string &caption, TextGrid grid);
    // Back to the main window once a run's windows have gone, so that its
    // keys (Ctrl+S) work without a click.
    void focusResults(ResultsWindow *window);

    UserDialogs &m_dialogs;
    SettingsStore m_settings;
    Workspace m_workspace;
    DialogFeedback m_feedback;
    ResultsExport m_export;
    RunDriver m_driver;

    QMdiArea *m_mdiArea = nullptr;
    QLabel *m_panel1 = nullptr;
    QLabel *m_panel2 = nullptr;
    QLabel *m_panel3 = nullptr;
    QMenu *m_fileMenu = nullptr;
    QAction *m_closeWeights = nullptr;
    QList<QAction *> m_pricesCommands;
    QMenu *m_windowMenu = nullptr;
    QList<QAction *> m_arrangeActions;
    QAction *m_summaryAction = nullptr;
    QAction *m_chartAction = nullptr;
    QPointer<DataWindow> m_dataWindow;
    // Counts the data files loaded, so that Show data knows whether the
    // window it opened still shows the loaded data.
    int m_dataLoads = 0;
    int m_dataWindowLoad = -1;
    QString m_guideFile;
    std::function<bool(const QString &)> m_openDocument;
    std::unique_ptr<ModelDialog> m_modelDialog;
    std::unique_ptr<FormatDialog> m_formatDialog;
    std::unique_ptr<AboutDialog> m_about;
    std::unique_ptr<ProgressWindow> m_progress;
    bool m_running = false;
};

} // namespace zelvar
