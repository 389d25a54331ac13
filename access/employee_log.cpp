#include "access/employee_log.h"

#include "access/access_files.h"
#include "access/dated_journal.h"
#include "access/dostup.h"
#include "access/employee_changes.h"
#include "framework/file_access.h"
#include "framework/standard_messages.h"
#include "platform/dates.h"
#include "storage/data_file.h"
#include "storage/journaled_write.h"

namespace dostup {

namespace {

storage::DataFile& log() { return accessFiles().molLog; }
storage::DataFile& employees() { return accessFiles().mol; }

// The employee, the operator, today and now in the MolLOG buffer.
void primeEntry() {
    storage::Record& entry = log().record();
    entry.setInt("MLO:DATE", platform::today());
    entry.setInt("MLO:TIME", platform::clock());
    entry.setValue("MLO:SCODE", *employees().record().value("MOL:SCODE"));
    entry.setInt("MLO:OPERATOR", g_SCode);
}

// The last clock value of a day, in hundredths of a second after midnight plus one.

}  // namespace

storage::Record employeeLogEntry(const std::string& operation) {
    storage::Record& buffer = log().record();
    const storage::Record saved = buffer;
    buffer.clear();
    primeEntry();
    buffer.setText("MLO:OPERATION", operation);
    storage::Record entry = buffer;
    buffer = saved;
    return entry;
}

int addLogEntry(const storage::Record& entry) {
    return addDatedEntry(log(), entry, "MLO:DATE", "MLO:TIME");
}

int putEmployeeLog(const std::string& operation) {
    storage::DataFile& file = log();
    framework::FileUse use(file);
    const int code = addLogEntry(employeeLogEntry(operation));
    if (code != storage::error::kNone) framework::standardMessage(14, file.label(), file.lastError());
    return code;
}

int addEmployeeLogged(const std::string& operation) {
    storage::DataFile& file = employees();
    return storage::writeWithJournal(
        file, [&file] { file.clearCurrent(); return file.add(); }, log(), employeeLogEntry(operation),
        addLogEntry);
}

void finishEmployeeLog(storage::DataFile& employeeFile) {
    AccessFiles& files = accessFiles();
    // Each journal is taken into use only when the employee file holds entries
    // for it: opening the employee list then costs the employee file alone.
    employeeFile.beginReadSnapshot();  // the three questions under one read lock
    const bool log = storage::holdsEntriesFor(employeeFile, files.molLog);
    const bool changes = storage::holdsEntriesFor(employeeFile, files.molChange);
    const bool category = storage::holdsEntriesFor(employeeFile, files.katMol);
    employeeFile.endReadSnapshot();
    if (log) {
        framework::FileUse use(files.molLog);
        storage::finishHeldEntries(employeeFile, files.molLog, addLogEntry);
    }
    // and the fields those entries' requests changed.
    if (changes && framework::tryUseFile(files.molChange)) {
        storage::finishHeldEntries(employeeFile, files.molChange, addEmployeeChange);
        framework::releaseFile(files.molChange);
    }
    // The first administrator's category travels the same way.
    if (!category) return;
    framework::FileUse use(files.katMol);
    storage::finishHeldEntries(employeeFile, files.katMol, [&files](const storage::Record& category) {
        files.katMol.record() = category;
        files.katMol.clearCurrent();
        return files.katMol.add();
    });
}

std::optional<std::int64_t> highestLoggedEmployee() {
    storage::DataFile& file = log();
    framework::FileUse use(file);
    // The last entry below the first code the employee form cannot show: an
    // entry above it names nobody who could be numbered.
    storage::Record& key = file.record();
    const storage::Record saved = key;
    key.clear();
    key.setInt("MLO:SCODE", kHighestEmployeeCode + 1);
    int code = file.setToValue(*file.layout().key("SCODE_KEY"));
    if (code == storage::error::kNone) code = file.previous();
    std::optional<std::int64_t> highest = 0;
    if (code == storage::error::kNone)
        highest = file.record().getInt("MLO:SCODE");
    else if (code != storage::error::kRecordNotAvailable) {
        framework::standardMessage(35, file.label(), file.lastError());
        highest = std::nullopt;
    }
    file.record() = saved;
    return highest;
}

}  // namespace dostup
