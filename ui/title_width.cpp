#include "ui/title_width.h"

#include <QApplication>
#include <QFontMetrics>
#include <QStyle>
#include <QWidget>

#include <algorithm>

namespace ui {

int titleBarWidth(const QWidget* window) {
    // Title bars usually show a bold caption in the application's font, larger
    // than the window's own font at times: measure in bold, and allow the icon and
    // three buttons (minimize, maximize, close) a title bar's height each.
    QFont font = QApplication::font("QMdiSubWindowTitleBar");
    font.setBold(true);
    const int caption = QFontMetrics(font).horizontalAdvance(window->windowTitle());
    const int control = std::max(24, window->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, window));
    return caption + 4 * control + control / 2;
}

void keepCaptionVisible(QWidget* window) {
    window->setMinimumWidth(std::max(window->minimumWidth(), titleBarWidth(window)));
}

}  // namespace ui
