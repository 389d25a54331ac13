#include "ui/cascade_place.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStyle>

#include <algorithm>

namespace ui {

QPoint cascadedPlace(const QMdiArea* area, const QMdiSubWindow* window) {
    const int step = std::max(8, window->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, window));
    int others = 0;
    for (const QMdiSubWindow* other : area->subWindowList())
        if (other != window && other->isVisible()) ++others;
    // The steps that keep the whole window inside the area; at least one.
    const QSize room = area->viewport()->size();
    const int across = (room.width() - window->width()) / step;
    const int down = (room.height() - window->height()) / step;
    const int steps = std::max(1, std::min(across, down));
    const int offset = step * (1 + others % steps);
    return {offset, offset};
}

}  // namespace ui
