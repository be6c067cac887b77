#include "MdiLayout.h"

#include <QAction>
#include <QKeySequence>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>

#include <algorithm>

namespace zelvar {

namespace {

QList<QMdiSubWindow *> openWindows(QMdiArea &area)
{
    QList<QMdiSubWindow *> windows;
    for (QMdiSubWindow *window : area.subWindowList(QMdiArea::CreationOrder))
        if (!window->isHidden() && !window->isMinimized())
            windows << window;
    return windows;
}

void tile(QMdiArea &area, bool stacked)
{
    const QList<QMdiSubWindow *> windows = openWindows(area);
    if (windows.isEmpty())
        return;
    const QRect space = area.viewport()->rect();
    const int n = static_cast<int>(windows.size());
    const int step = (stacked ? space.height() : space.width()) / n;
    for (int i = 0; i < n; ++i) {
        QMdiSubWindow *window = windows[i];
        if (window->isMaximized())
            window->showNormal();
        const int extent = i == n - 1 ? (stacked ? space.height() : space.width()) - step * i : step;
        if (stacked)
            window->setGeometry(0, step * i, space.width(), extent);
        else
            window->setGeometry(step * i, 0, extent, space.height());
    }
}

} // namespace

void tileHorizontally(QMdiArea &area) { tile(area, true); }

void tileVertically(QMdiArea &area) { tile(area, false); }

void arrangeIcons(QMdiArea &area)
{
    const QRect space = area.viewport()->rect();
    int x = 0;
    int row = 0;
    for (QMdiSubWindow *window : area.subWindowList(QMdiArea::CreationOrder)) {
        if (!window->isMinimized() || window->isHidden())
            continue;
        const QSize size = window->size();
        if (x > 0 && x + size.width() > space.width()) {
            x = 0;
            ++row;
        }
        window->move(x, space.height() - (row + 1) * size.height());
        x += size.width();
    }
}

void keepInView(QMdiArea &area, QMdiSubWindow &window)
{
    const QRect space = area.viewport()->rect();
    // An area not on screen has no size to go by yet.
    if (window.isMaximized() || window.isMinimized() || !area.isVisible() || space.isEmpty())
        return;
    QRect place = window.geometry();
    place.setSize(place.size().boundedTo(space.size()));
    place.moveLeft(std::clamp(place.left(), space.left(), space.right() + 1 - place.width()));
    place.moveTop(std::clamp(place.top(), space.top(), space.bottom() + 1 - place.height()));
    if (place != window.geometry())
        window.setGeometry(place);
}

void leaveCtrlWToTheMenu(QMdiSubWindow &window)
{
    QMenu *menu = window.systemMenu();
    if (menu == nullptr)
        return;
    const QKeySequence ctrlW(Qt::CTRL | Qt::Key_W);
    for (QAction *action : menu->actions()) {
        QList<QKeySequence> keys = action->shortcuts();
        if (keys.removeAll(ctrlW) > 0)
            action->setShortcuts(keys);
    }
}

} // namespace zelvar
