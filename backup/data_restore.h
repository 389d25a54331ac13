// Restoring a backup in place of the data: the copy is checked against its
// manifest first and must be of this installation's files; every data file is
// taken alone (no other station may have it open); the current files are moved
// to a folder "before-restore-<moment>" beside them, never deleted; then the
// copies are put in place. A marker in the data folder tells the next start
// that a restore was cut short, and where the data it replaced is.
#pragma once

#include "backup/data_backup.h"

namespace backup {

struct RestoreOutcome {
    std::vector<std::string> asideFolders;  // where the replaced data is, host paths
    int files = 0;
    std::string error;  // code page 1251; empty after a complete restore
};

// `files` are the installation's data files as the INI files name them now.
RestoreOutcome restoreBackup(const std::string& backupFolder, const std::vector<DataFileName>& files,
                             std::int32_t day, std::int32_t clock);

// The message for a restore that was cut short (a marker left in a data folder
// of these files), empty when there is none.
std::string interruptedRestore(const std::vector<DataFileName>& files);

}  // namespace backup
