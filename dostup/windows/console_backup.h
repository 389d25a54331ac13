// "Резервная копия" and "Восстановить из копии..." in the console's File menu.
#pragma once

#include "ui/frame_window.h"

namespace dostup {

void installConsoleBackup(ui::FrameSetup& setup);

}  // namespace dostup
