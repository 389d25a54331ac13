#include "ui/key_codes.h"

#include <QKeyEvent>

namespace ui {

namespace {

Qt::Key virtualKey(int vk) {
    if (vk >= 0x30 && vk <= 0x39) return static_cast<Qt::Key>(Qt::Key_0 + (vk - 0x30));
    if (vk >= 0x41 && vk <= 0x5A) return static_cast<Qt::Key>(Qt::Key_A + (vk - 0x41));
    if (vk >= 0x70 && vk <= 0x7B) return static_cast<Qt::Key>(Qt::Key_F1 + (vk - 0x70));
    switch (vk) {
        case 0x08: return Qt::Key_Backspace;
        case 0x09: return Qt::Key_Tab;
        case 0x0D: return Qt::Key_Return;
        case 0x1B: return Qt::Key_Escape;
        case 0x20: return Qt::Key_Space;
        case 0x2D: return Qt::Key_Insert;
        case 0x2E: return Qt::Key_Delete;
        case 0xBA: return Qt::Key_Semicolon;
        case 0xBB: return Qt::Key_Equal;
        case 0xBC: return Qt::Key_Comma;
        case 0xBD: return Qt::Key_Minus;
        case 0xBE: return Qt::Key_Period;
        case 0xBF: return Qt::Key_Slash;
        case 0xC0: return Qt::Key_QuoteLeft;
        case 0xDB: return Qt::Key_BracketLeft;
        case 0xDC: return Qt::Key_Backslash;
        case 0xDD: return Qt::Key_BracketRight;
        case 0xDE: return Qt::Key_Apostrophe;
        default: return Qt::Key_unknown;
    }
}

}  // namespace

KeyCode keyFromCode(int code) {
    KeyCode key;
    key.key = virtualKey(code & 0xFF);
    if (code & 0x100) key.modifiers |= Qt::ShiftModifier;
    if (code & 0x200) key.modifiers |= Qt::ControlModifier;
    if (code & 0x400) key.modifiers |= Qt::AltModifier;
    return key;
}

bool matches(const QKeyEvent& event, const KeyCode& key) {
    if (key.key == Qt::Key_unknown || event.key() != key.key) return false;
    const Qt::KeyboardModifiers relevant =
        Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
    return (event.modifiers() & relevant) == key.modifiers;
}

}  // namespace ui
