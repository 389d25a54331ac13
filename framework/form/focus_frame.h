// The focus frame of a form: whenever a control is selected the frame moves to
// enclose it, two units outside the control on every side.
#pragma once

#include "framework/window_placement.h"

namespace framework::form {

inline WindowRect focusFrameAround(const WindowRect& control) {
    return {control.x - 2, control.y - 2, control.width + 4, control.height + 4};
}

}  // namespace framework::form
