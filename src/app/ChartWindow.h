#pragma once

#include <QMdiSubWindow>
#include <QPointer>

class QChartView;
class QTabWidget;

namespace zelvar {

class ResultsWindow;
class UserDialogs;

// The charts of one results window (frmChart), in a sub-window of their own:
// the distribution of scores, and for data of one input and one output the
// frontier picture. Made from the run as it ended; the window closes with
// the results window it was made from. "Save picture" writes the chart in
// view as PNG or SVG.
class ChartWindow : public QMdiSubWindow {
    Q_OBJECT
public:
    // source and dialogs must outlive the window, or close it when they go
    // (the source does).
    ChartWindow(ResultsWindow &source, UserDialogs &dialogs, QWidget *parent = nullptr);

    [[nodiscard]] ResultsWindow *source() const { return m_source; }
    [[nodiscard]] QTabWidget *tabs() const { return m_tabs; }
    // The histogram, and the frontier picture (null for other data).
    [[nodiscard]] QChartView *histogramView() const { return m_histogram; }
    [[nodiscard]] QChartView *frontierView() const { return m_frontier; }

    // Writes the chart in view to path: SVG when it ends in ".svg", else PNG.
    // True when the file was written.
    bool savePicture(const QString &path) const;

private:
    void askAndSave();

    QPointer<ResultsWindow> m_source;
    UserDialogs &m_dialogs;
    QTabWidget *m_tabs = nullptr;
    QChartView *m_histogram = nullptr;
    QChartView *m_frontier = nullptr;
};

} // namespace zelvar
