// Small dialogs whose controls need less room than their caption: the window is
// made wide enough for the whole caption beside the title bar's icon and buttons,
// so the window system does not cut it short.
#pragma once

class QWidget;

namespace ui {

// The width a window's title bar needs for its caption, its icon and its buttons.
int titleBarWidth(const QWidget* window);

// Raises the window's minimum width to titleBarWidth(); call after the caption is set.
void keepCaptionVisible(QWidget* window);

}  // namespace ui
