#include "ui/toolbar_states.h"

namespace ui {

void ToolbarStates::set(int button, bool enabled, const std::string& tip) {
    if (button < kFirstToolbarButton || button > kLastToolbarButton) return;
    ToolbarButtonState& state = states_[button];
    state.enabled = enabled;
    if (!tip.empty()) state.tip = tip;
}

bool ToolbarStates::enabled(int button) const {
    const auto found = states_.find(button);
    return found != states_.end() && found->second.enabled;
}

std::map<int, ToolbarButtonState> ToolbarStates::disabled() const {
    std::map<int, ToolbarButtonState> states = states_;
    for (auto& [button, state] : states) state.enabled = false;
    return states;
}

}  // namespace ui
