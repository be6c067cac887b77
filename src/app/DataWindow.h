#pragma once

#include "results/DataSheet.h"

#include <QMdiSubWindow>

class QTableView;

namespace zelvar {

// "Show data" (frmData): the loaded data at a glance, read-only, in a
// sub-window: the DMU names, every input and every output, each header
// saying what the column is; non-discretionary columns are shaded. The
// window shows the data as they were when it opened.
class DataWindow : public QMdiSubWindow {
    Q_OBJECT
public:
    explicit DataWindow(DataSheet sheet, QWidget *parent = nullptr);

    [[nodiscard]] QTableView *view() const { return m_view; }
    [[nodiscard]] const DataSheet &sheet() const { return m_sheet; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    DataSheet m_sheet;
    QTableView *m_view = nullptr;
};

} // namespace zelvar
