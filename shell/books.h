// The frame's commands that open the program's reference books.
#pragma once

namespace shell {

class MainFrame;

void installBooks(MainFrame& frame);

}  // namespace shell
