// Key codes of the original runtime, as the books name their alerted keys: a
// virtual key in the low byte with modifier bits 0x100 Shift, 0x200 Ctrl and
// 0x400 Alt (734 = Ctrl+', 1608 = Ctrl+Alt+H).
#pragma once

#include <Qt>

class QKeyEvent;

namespace ui {

struct KeyCode {
    Qt::Key key = Qt::Key_unknown;
    Qt::KeyboardModifiers modifiers;
};

// Key_unknown for a code whose virtual key has no counterpart here.
KeyCode keyFromCode(int code);

// Whether a key press is that key code (keypad modifier ignored).
bool matches(const QKeyEvent& event, const KeyCode& key);

}  // namespace ui
