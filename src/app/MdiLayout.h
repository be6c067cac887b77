#pragma once

class QMdiArea;
class QMdiSubWindow;

namespace zelvar {

// The arrangements of the Window menu that QMdiArea lacks.

// Windows stacked from top to bottom, each as wide as the area.
void tileHorizontally(QMdiArea &area);
// Windows side by side from left to right, each as high as the area.
void tileVertically(QMdiArea &area);
// Minimized windows lined up along the bottom edge of the area.
void arrangeIcons(QMdiArea &area);
// A window just shown moved (and if need be shrunk) to lie whole inside the
// visible area: the area places a new window beside the others, which may be
// half beyond its right or bottom edge.
void keepInView(QMdiArea &area, QMdiSubWindow &window);

} // namespace zelvar
