// Writes the sample staff into the library's own data files through the
// library's file objects, as its screens would: the access objects a new Object
// file starts with, each employee followed by the change-log entry that adding
// him from the employee list writes, the input history through PUTHLIST's own
// routine.
#pragma once

#include "demo/data_presence.h"

#include <vector>

namespace demo {

enum StaffFill : int {
    kStaffWritten = 0,
    kStaffDataPresent = 1,  // the data folder holds data: nothing was written
    kStaffFailed = 2,       // a folder or a record could not be written (reported)
};

// The library's eight data files under the names DOSTUP_INITDLL gave them.
std::vector<DataFileRef> libraryDataFiles();

// Fills the library's files when their data folder holds no data, creating the
// folder when it is missing. The entries of the change log are made by the
// sample administrator; g_SCode is as it was afterwards.
StaffFill writeSampleStaff();

}  // namespace demo
