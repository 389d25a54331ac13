// The program's main frame: the application frame titled " Справочники" whose
// menus open the reference books and the library's staff screens, with its
// placement in section "Main" of ".\TARVO.INI".
#pragma once

#include "ui/frame_window.h"

namespace shell {

class MainFrame : public ui::FrameWindow {
    Q_OBJECT
public:
    explicit MainFrame(QWidget* parent = nullptr);
};

}  // namespace shell
