#pragma once
// Arranging the image windows of the MDI area. QMdiArea tiles in a grid
// only; the window menu also offers rows and columns.
class QMdiArea;
class QMenu;

namespace px {

// "&Cascade": the windows stacked from the top-left corner, each one step
// down and right of the previous, keeping their sizes (cut to the area).
void cascade(QMdiArea* area);
// "Mosaïque  &horizontale": the windows one above the other, each as wide as
// the area.
void tileHorizontally(QMdiArea* area);
// "Mosaïque &verticale": the windows side by side, each as tall as the area.
void tileVertically(QMdiArea* area);

// Replaces the list of open windows at the end of the window menu: one
// ticked-when-active item per window, in creation order, that activates it.
void refreshWindowList(QMenu* menu, QMdiArea* area);

} // namespace px
