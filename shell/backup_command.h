// Backups from the command line and the File menu: `tarvo --backup DIR` copies
// every data file of the program and of the library, with the INI files and a
// manifest, into a dated folder of DIR; `tarvo --restore DIR/2026-12-09_1530`
// puts such a copy back in place of the data, keeping the replaced data aside.
//
// Exit codes: 0 done; 2 anything wrong (the command line, a folder, a copy that
// does not match its manifest, a file another station has open), with a Russian
// message on standard error and the data untouched.
#pragma once

#include "backup/data_backup.h"

#include <optional>
#include <vector>

namespace shell {

// Returns nothing when the command line asks for neither.
std::optional<int> runBackupCommand(int argc, char** argv);

// The data files as the INI files name them now, and the INI files themselves.
std::vector<backup::DataFileName> backedUpFiles();
std::vector<std::string> backedUpIniFiles();

}  // namespace shell
