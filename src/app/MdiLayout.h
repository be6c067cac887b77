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
// Ctrl+W belongs to the File menu's Load Weight Restr; a sub-window's own
// Close (in its system menu) keeps Ctrl+F4. Were both bound, the key would
// do nothing while the sub-window is in front.
void leaveCtrlWToTheMenu(QMdiSubWindow &window);

} // namespace zelvar
