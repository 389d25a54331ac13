// What the frame's toolbar (buttons 2000 to 2012) needs from the active child
// window: a press forwarded to it, and the state it wants the buttons in.
#pragma once

#include <map>
#include <string>

namespace ui {

struct ToolbarButtonState {
    bool enabled = false;
    std::string tip;  // code page 1251; empty keeps the frame's own tip
};

class ToolbarTarget {
public:
    virtual ~ToolbarTarget() = default;
    // The frame forwards a press of button 2000..2012; a window that has no use
    // for the button ignores it.
    virtual void toolbarPressed(int button) = 0;
    // The states of the buttons the window prepared (absent buttons: disabled).
    virtual std::map<int, ToolbarButtonState> toolbarStates() const = 0;
};

}  // namespace ui
