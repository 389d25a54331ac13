// The default place of a new child window of the frame: cascaded, each one a
// title bar's height further right and lower than the windows already open,
// starting one step in from the corner and starting again there when the next
// step would leave the area. No child window's default place is the corner (0, 0),
// so a list that is never moved still keeps the size the user gave it.
#pragma once

#include <QPoint>

class QMdiArea;
class QMdiSubWindow;

namespace ui {

QPoint cascadedPlace(const QMdiArea* area, const QMdiSubWindow* window);

}  // namespace ui
