// The employees' change log (MolLOG) as data: the entry a change of an employee
// makes, adding it without ever losing one, PUTMOLLOG, and the entries a killed
// process left held in the employee file.
#pragma once

#include "storage/record.h"

#include <cstdint>
#include <optional>
#include <string>

namespace storage {
class DataFile;
}

namespace dostup {

// The highest code the employee form can show ("Личный Код:", three digits):
// numbering stops there, and a change-log entry may name no higher code.
inline constexpr std::int64_t kHighestEmployeeCode = 999;

// The entry for the employee in the MOL buffer, made now by the operator
// g_SCode, with the operation's name and no note (the MolLOG buffer is left as
// it was).
storage::Record employeeLogEntry(const std::string& operation);
// Adds an entry to the change log (in use), at the next free hundredth of a
// second when its time is taken: 0 or the storage's error code.
int addLogEntry(const storage::Record& entry);

// PUTMOLLOG: the entry for the employee in the MOL buffer, added now. A failed
// add is reported (message 14) and its code returned.
int putEmployeeLog(const std::string& operation);

// Adds the employee in the MOL buffer (both files in use) and its change-log
// entry as one write: 0, or the error code of the file that failed, with nothing
// written.
int addEmployeeLogged(const std::string& operation);

// Moves the change-log entries (and a first administrator's category) that a
// killed process left held in the employee file (see storage/journaled_write.h)
// into the change log (and the categories).
void finishEmployeeLog(storage::DataFile& employeeFile);

// The highest employee code, up to kHighestEmployeeCode, that change-log
// entries carry (0 for none); nothing after message 35 when it could not read.
std::optional<std::int64_t> highestLoggedEmployee();

}  // namespace dostup
