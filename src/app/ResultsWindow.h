#pragma once

#include "results/ResultsTable.h"

#include <QMdiSubWindow>

class QLabel;
class QTableView;

namespace zelvar {

class GridTableModel;

// The window of one run (frmResults): a child of the main window's MDI area
// showing the run's results grid, and under it, once the run has ended, a
// summary pane (the user can hide it). The grid is the truth; the table view
// shows it and reports the user's cell selection back into the grid's
// current cell and selection end, which Copy reads. Cells and headers a
// newcomer may puzzle over explain themselves in tooltips.
//
// The tables of the analyses built on runs (scale efficiency, the Malmquist
// index) show in windows of this kind too, but no run of their own stands
// behind them: they have neither scores to sum up or chart nor the numbers
// of a run's cells.
class ResultsWindow : public QMdiSubWindow {
    Q_OBJECT
public:
    // Lays out the grid for the model, data set and display format as they
    // are now. dotsPerInch converts the grid's twips to pixels.
    ResultsWindow(const DataSet &dataSet, const ModelOptions &options, const DisplayFormat &format,
                  double dotsPerInch, QWidget *parent = nullptr);
    // The window of an analysis table, shown whole at once.
    ResultsWindow(TextGrid analysisTable, const DisplayFormat &format, double dotsPerInch,
                  QWidget *parent = nullptr);
    ~ResultsWindow() override;

    // True for the window of an analysis table.
    [[nodiscard]] bool analysisTable() const { return m_analysis; }
    // True once a run has ended with scored DMUs: only then are there a
    // summary and charts.
    [[nodiscard]] bool hasRunScores() const;

    ResultsTable &table() { return m_table; }
    const ResultsTable &table() const { return m_table; }
    TextGrid &grid() { return m_table.grid(); }
    QTableView *view() const { return m_view; }
    // The summary pane's text (empty until the run has ended).
    QLabel *summary() const { return m_summary; }
    void setSummaryVisible(bool visible);

    // Shows what changed in the grid (cells, colours, layout).
    void refreshView();
    // After the run: shows the whole table, widens the columns whose texts
    // would be cut and puts the current cell at the first DMU's name.
    void runEnded();
    // Makes the view's selection show the grid's current cell and selection
    // end, after a command moved them.
    void showGridSelection();

private:
    void applyLayout();
    void fitColumns();
    void takeViewSelection();
    void showSummary();

    ResultsTable m_table;
    double m_dpi;
    QTableView *m_view = nullptr;
    QWidget *m_summaryPane = nullptr;
    QLabel *m_summary = nullptr;
    bool m_summaryShown = true;
    GridTableModel *m_model = nullptr;
    bool m_syncing = false;
    bool m_analysis = false;
};

} // namespace zelvar
