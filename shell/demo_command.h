// Sample data from the command line: `tarvo --demo`, run in the working folder
// like every command of the program, fills an empty data folder with the
// sample data of a trading company (demo/) so that a newcomer sees full lists
// at once, prints who can log in, and ends the program. The program starts up as
// usual, so the data folders are those its INI files name: the library writes its
// staff through DOSTUP_SAMPLESTAFF, then the program its reference books.
//
// A data folder that holds any data file, or a database server that holds any of
// the files, is refused before anything is written; a missing folder is created.
//
// Exit codes: 0 the data was written; 1 a wrong command line, or a folder or a
// record that could not be written or examined (with a message on standard
// error); 2 the data folder holds data already, and nothing was changed.
#pragma once

#include "demo/data_presence.h"

#include <optional>
#include <vector>

namespace shell {

enum DemoExit : int {
    kDemoWritten = 0,
    kDemoFailed = 1,
    kDemoRefused = 2,
};

// Call first thing in main(). Returns nothing when the command line does not ask
// for the sample data; otherwise writes it and returns the exit code.
std::optional<int> runDemoCommand(int argc, char** argv);

// Every data file of the program and of the library under the names the INI
// files gave them (after start-up), with their layouts and owner passwords.
std::vector<demo::DataFileRef> allDataFiles();

}  // namespace shell
