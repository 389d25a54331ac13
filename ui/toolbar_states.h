// The states of the frame's toolbar buttons (2000 to 2012) that a list or form
// window keeps for the frame: all disabled at first; a tip given once stays until
// another replaces it (an empty tip leaves the frame's own).
#pragma once

#include "ui/toolbar_target.h"

#include <map>
#include <string>

namespace ui {

inline constexpr int kFirstToolbarButton = 2000;
inline constexpr int kLastToolbarButton = 2012;

class ToolbarStates {
public:
    void set(int button, bool enabled, const std::string& tip = {});
    bool enabled(int button) const;
    const std::map<int, ToolbarButtonState>& states() const { return states_; }
    // The same buttons, every one disabled (a window that is busy or closed).
    std::map<int, ToolbarButtonState> disabled() const;

private:
    std::map<int, ToolbarButtonState> states_;
};

}  // namespace ui
