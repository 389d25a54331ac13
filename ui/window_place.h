// The place and size of one of the program's own windows (not an engine's list
// or form, which keep theirs through the window placement of the framework),
// kept in the working folder's TARVO.INI under a section of its own.
#pragma once

class QWidget;

namespace ui {

// Puts the window where it was closed last (a size below 200 × 150 is ignored).
void restoreWindowPlace(QWidget& window, const char* section);
void keepWindowPlace(const QWidget& window, const char* section);

}  // namespace ui
