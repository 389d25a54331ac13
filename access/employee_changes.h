// The employees' changed fields (MolChange): what a completed request of the
// employee form altered, field by field with the label the form shows and the
// old and new value, kept under the MolLOG entry of that request (employee,
// date, time). Passwords are never written: a changed one reads "Пароль:
// изменён".
#pragma once

#include "storage/record.h"

#include <string>
#include <vector>

namespace storage {
class DataFile;
}

namespace dostup {

// The fields the form edits that the journal follows, with their labels
// (code page 1251); MOL:CHDATE, which every save sets, is not among them.
struct JournaledField {
    const char* field;  // "MOL:TITLE"
    const char* label;  // UTF-8: "Должность"
};
const std::vector<JournaledField>& journaledEmployeeFields();

// A field's value as the journal shows it: text without trailing blanks, a
// date as dd.mm.yyyy (blank for none), a number as it is.
std::string employeeFieldText(const storage::Record& employee, const char* field);

// The changed fields of a request (1 insert: the filled fields; 2 change: the
// fields that differ; 3 delete: the last values) of `before` and `after` (MOL
// records), each a MolChange record under the MolLOG entry `logEntry`.
std::vector<storage::Record> employeeChanges(int request, const storage::Record& before,
                                             const storage::Record& after, const storage::Record& logEntry);

// Moves the MolLOG entry to the first hundredth from its own at which the
// employee has no entry yet (the log in use), so that its changed fields are
// kept under the key the entry is stored with.
void takeFreeLogMoment(storage::Record& logEntry);

// Adds a changed field (the file in use); a number taken under its entry moves
// to the next free one: 0 or the storage's error code.
int addEmployeeChange(const storage::Record& change);

// "Должность: Кладовщик -> Старший кладовщик; Пароль: изменён": the changed
// fields of one MolLOG entry (the MolChange file in use), empty when none.
std::string changesOfEntry(const storage::Record& logEntry);

}  // namespace dostup
