// Moving the data to another data directory, typically from the SQLite files of
// one workstation to a PostgreSQL server for many: `tarvo --copy-data TARGET`,
// run in the working folder, copies every data file of the program and of the
// library that exists (under the names the INI files give) to TARGET, record
// for record, each file in one transaction. TARGET is a data directory as the
// INI files name one: "postgresql://role@host/database/schema/" or a folder
// (".\New\"). Nothing is copied when any target file exists already. The INI
// files are not changed: the administrator names TARGET in COMP.INI ("Path",
// "BasePATH") and Dostup.INI ("Path", "BasePath") once the copy is done.
//
// Exit codes: 0 copied; 1 a file that could not be read or written (a target
// file it created is removed); 2 a wrong command line, or a target that holds
// data already (nothing changed).
#pragma once

#include <optional>

namespace shell {

// Returns nothing when the command line does not ask for a copy.
std::optional<int> runCopyDataCommand(int argc, char** argv);

}  // namespace shell
