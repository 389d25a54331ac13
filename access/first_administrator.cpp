#include "access/first_administrator.h"

#include "access/access_files.h"
#include "access/employee_log.h"
#include "framework/file_access.h"
#include "framework/form/form_numbering.h"
#include "framework/standard_messages.h"
#include "platform/cp1251.h"
#include "platform/dates.h"
#include "storage/data_file.h"
#include "storage/journaled_write.h"

#include <algorithm>

namespace dostup {

namespace {

// The next code of a file numbered by one key, or nothing at the top of its range.
std::optional<std::int64_t> nextCode(storage::DataFile& file, const char* key) {
    const storage::KeyDef& numbered = *file.layout().key(key);
    storage::Record blank(file.layout());
    blank.clear();
    const framework::form::LastNumber last = framework::form::readLastNumber(file, numbered, blank);
    if (last.failed) return std::nullopt;
    if (last.value >= framework::form::highestNumber(file.layout().fields()[numbered.components.back()]))
        return std::nullopt;
    return last.value + 1;
}

}  // namespace

bool noEmployees() {
    storage::DataFile& mol = accessFiles().mol;
    if (!framework::tryUseFile(mol)) return false;  // unreadable is not empty
    storage::PageRequest first;
    std::vector<storage::PageRow> rows;
    const bool empty = mol.readPage(first, rows) == storage::error::kNone && rows.empty();
    framework::releaseFile(mol);
    return empty;
}

std::string administratorCategoryName() { return platform::ru("Администраторы"); }

std::optional<std::uint16_t> createFirstAdministrator(const FirstAdministrator& administrator) {
    if (platform::clip(administrator.password).empty() || !noEmployees()) return std::nullopt;
    AccessFiles& files = accessFiles();
    framework::FileUse categories(files.katMol);
    framework::FileUse employees(files.mol);
    framework::FileUse log(files.molLog);
    framework::FileUse rights(files.dostup);

    // A category code that no rights row still carries, and an employee code
    // that no change-log entry names: the administrator inherits nobody's bans
    // or history.
    std::optional<std::int64_t> category = nextCode(files.katMol, "CODE_KEY");
    const std::optional<std::int64_t> banned = framework::form::highestInFile(files.dostup, "DOS:KATEGCODE");
    const std::optional<std::int64_t> logged = highestLoggedEmployee();
    if (!category || !banned || !logged) return std::nullopt;
    category = std::max(*category, *banned + 1);
    const std::int64_t code = *logged + 1;
    if (code > kHighestEmployeeCode) return std::nullopt;

    storage::Record kat(files.katMol.layout());
    kat.clear();
    kat.setInt("KTM:COD", *category);
    kat.setText("KTM:KATEG", administratorCategoryName());

    storage::Record& mol = files.mol.record();
    mol.clear();
    mol.setInt("MOL:SCODE", code);
    mol.setInt("MOL:KATEGCODE", *category);
    mol.setText("MOL:LNAME", administrator.surname);
    mol.setText("MOL:FNAME", administrator.names);
    mol.setText("MOL:LOGIN", administrator.login);
    mol.setText("MOL:PASSWORD", administrator.password);
    mol.setInt("MOL:CHDATE", platform::today());
    const storage::Record employee = mol;
    // The administrator adds himself: the entry names him as its operator.
    storage::Record entry = employeeLogEntry(platform::ru("Добавление"));
    entry.setInt("MLO:OPERATOR", code);

    // The employee file is held for writing while it is found empty and the
    // administrator added, so that of two stations at a first run only one
    // creates one; the category and the change-log entry are part of the write.
    const auto addCategory = [&files](const storage::Record& record) {
        files.katMol.record() = record;
        files.katMol.clearCurrent();
        return files.katMol.add();
    };
    bool someoneFirst = false;
    const int written = storage::writeWithJournals(
        files.mol,
        [&] {
            storage::PageRequest first;
            std::vector<storage::PageRow> rows;
            if (const int rc = files.mol.readPage(first, rows)) return rc;
            if (!rows.empty()) {
                someoneFirst = true;
                return static_cast<int>(storage::error::kDuplicateKey);
            }
            files.mol.record() = employee;
            files.mol.clearCurrent();
            return files.mol.add();
        },
        {{&files.katMol, &kat, addCategory}, {&files.molLog, &entry, addLogEntry}});
    if (written != storage::error::kNone) {
        if (!someoneFirst) {
            storage::DataFile* failed = &files.mol;
            for (storage::DataFile* file : {&files.katMol, &files.molLog})
                if (file->errorCode() != storage::error::kNone) failed = file;
            framework::standardMessage(14, failed->label(), failed->lastError());
        }
        return std::nullopt;
    }
    return static_cast<std::uint16_t>(code);
}

}  // namespace dostup
