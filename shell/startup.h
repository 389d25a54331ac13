// Start-up of the program: what happens between the start of the process and the
// moment its main frame waits for commands.
#pragma once

namespace shell {

// Steps before the frame window opens: clears the request globals, initialises
// the access library (which names its own files from ".\Dostup.INI") and then
// initialises the program's paths; the program's lists and forms then take their
// INI file and wallpapers from the library's globals. Nothing is checked on disk.
void startUp();

// Points the library at ".\TARVO.INI", takes the data directory of the reference
// files from ".\COMP.INI" (section "Path", key "BasePATH") when it is set, and
// names the six reference files from it.
void initialisePaths();

}  // namespace shell
