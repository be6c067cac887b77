#pragma once

class QMdiArea;

namespace zelvar {

// The arrangements of the Window menu that QMdiArea lacks.

// Windows stacked from top to bottom, each as wide as the area.
void tileHorizontally(QMdiArea &area);
// Windows side by side from left to right, each as high as the area.
void tileVertically(QMdiArea &area);
// Minimized windows lined up along the bottom edge of the area.
void arrangeIcons(QMdiArea &area);

} // namespace zelvar
