#include "access/first_administrator.h"

#include "access/access_files.h"
#include "framework/file_access.h"
#include "framework/form/form_numbering.h"
#include "framework/standard_messages.h"
#include "platform/cp1251.h"
#include "staff/d_mollog.h"
#include "storage/data_file.h"

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

bool anyoneCanLogIn() {
    storage::DataFile& mol = accessFiles().mol;
    framework::FileUse use(mol);
    const storage::Record saved = mol.record();
    bool found = false;
    mol.set(*mol.layout().key("SCODE_KEY"));
    while (mol.next() == storage::error::kNone) {
        if (mol.record().getInt(mol.layout().fieldIndex("MOL:SCODE")) == 0) continue;
        if (platform::clip(*mol.record().value("MOL:PASSWORD")).empty()) continue;
        found = true;
        break;
    }
    mol.record() = saved;
    return found;
}

std::string administratorCategoryName() { return platform::ru("Администраторы"); }

std::optional<std::uint16_t> createFirstAdministrator(const FirstAdministrator& administrator) {
    if (platform::clip(administrator.password).empty() || anyoneCanLogIn()) return std::nullopt;
    AccessFiles& files = accessFiles();
    framework::FileUse categories(files.katMol);
    framework::FileUse employees(files.mol);

    const std::optional<std::int64_t> category = nextCode(files.katMol, "CODE_KEY");
    if (!category) return std::nullopt;
    storage::Record& kat = files.katMol.record();
    kat.clear();
    kat.setValue("KTM:COD", std::to_string(*category));
    kat.setText(static_cast<std::size_t>(kat.layout().fieldIndex("KTM:KATEG")), administratorCategoryName());
    if (files.katMol.add() != storage::error::kNone) {
        framework::standardMessage(14, files.katMol.label(), files.katMol.lastError());
        return std::nullopt;
    }

    std::optional<std::int64_t> code = nextCode(files.mol, "SCODE_KEY");
    if (!code) return std::nullopt;
    code = std::max(*code, staff::highestLoggedEmployee() + 1);
    if (*code > 65535) return std::nullopt;
    storage::Record& mol = files.mol.record();
    auto text = [&mol](const char* field, const std::string& value) {
        mol.setText(static_cast<std::size_t>(mol.layout().fieldIndex(field)), value);
    };
    mol.clear();
    mol.setValue("MOL:SCODE", std::to_string(*code));
    mol.setValue("MOL:KATEGCODE", std::to_string(*category));
    text("MOL:LNAME", administrator.surname);
    text("MOL:FNAME", administrator.names);
    text("MOL:LOGIN", administrator.login);
    text("MOL:PASSWORD", administrator.password);
    if (files.mol.add() != storage::error::kNone) {
        framework::standardMessage(14, files.mol.label(), files.mol.lastError());
        return std::nullopt;
    }
    staff::putEmployeeLog(platform::ru("Добавление"));
    return static_cast<std::uint16_t>(*code);
}

}  // namespace dostup
