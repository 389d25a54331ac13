// The rights check, the employee look-ups and the small exported services.
#include "access/access_files.h"
#include "access/dostup.h"
#include "access/employee_names.h"
#include "access/rights.h"
#include "framework/file_access.h"
#include "framework/standard_messages.h"
#include "platform/cp1251.h"
#include "platform/fixed_text.h"
#include "platform/paths.h"
#include "platform/user_services.h"

#include <dlfcn.h>

#include <filesystem>
#include <system_error>

namespace dostup {

namespace {

// The files the rights check reads stay open for the life of the process; they
// must never end the host: false when the file cannot be opened (the next check
// tries again).
bool keepOpenForCheck(storage::DataFile& file) {
    return framework::userCount(file) > 0 || framework::tryUseFile(file);
}

std::string joinSystemPath(const std::string& folder, const std::string& name) {
    if (folder.empty() || folder.back() == '\\' || folder.back() == '/') return folder + name;
    return folder + "\\" + name;
}

// Fetches the employee into the MOL buffer, clearing it when there is none.
void fetchEmployee(std::uint16_t code) {
    storage::DataFile& mol = accessFiles().mol;
    framework::useFile(mol);  // the look-ups never give the employee file back
    mol.record().setValue("MOL:SCODE", std::to_string(code));
    if (mol.get(*mol.layout().key("SCODE_KEY")) != storage::error::kNone) mol.record().clear();
}

// A read the rights check could not make: it tells the operator once, naming
// the object and the file, and the check refuses everything.
std::int16_t refuseUnread(std::string_view designation, const storage::DataFile& file) {
    platform::messageBox(platform::ru("Права доступа к обьекту ") + std::string(designation) +
                             platform::ru(" не прочитаны (файл ") + file.label() + "): " +
                             framework::errorDescription(file.lastError()) +
                             platform::ru(". Операция запрещена."),
                         platform::ru(" Ошибка"), platform::Icon::Exclamation);
    return kEveryBan;
}

}  // namespace

std::optional<std::int16_t> readEmployeeCategory(std::uint16_t code) {
    storage::DataFile& mod = accessFiles().mod;
    if (!keepOpenForCheck(mod)) return std::nullopt;
    mod.record().setValue("MOD:SCODE", std::to_string(code));
    const int rc = mod.get(*mod.layout().key("SCODE_KEY"));
    if (rc == storage::error::kRecordNotFound) {
        mod.record().clear();
        return 0;
    }
    if (rc != storage::error::kNone) {
        mod.record().clear();
        return std::nullopt;
    }
    return static_cast<std::int16_t>(mod.record().getInt("MOD:KATEGCODE"));
}

std::int16_t employeeCategory(std::uint16_t code) {
    return readEmployeeCategory(code).value_or(kUnreadCategory);
}

RightsReading readRights(std::string_view designation, std::optional<std::int16_t> category) {
    AccessFiles& files = accessFiles();
    storage::DataFile& object = files.object;
    storage::DataFile& rights = files.dostup;
    RightsReading reading;
    const auto unread = [&reading](const storage::DataFile& file) {
        reading.status = RightsReading::Status::Unread;
        reading.mask = kEveryBan;
        reading.failed = &file;
        return reading;
    };
    if (!keepOpenForCheck(object)) return unread(object);
    if (!keepOpenForCheck(rights)) return unread(rights);

    object.record().setText("OBJ:OBOZN", designation);
    const int found = object.get(*object.layout().key("OBOZN_KEY"));
    if (found == storage::error::kRecordNotFound) {
        reading.status = RightsReading::Status::NoObject;
        return reading;
    }
    if (found != storage::error::kNone) return unread(object);
    reading.object = static_cast<std::uint16_t>(object.record().getInt("OBJ:ID"));

    if (category) {
        reading.category = *category;
    } else if (const std::optional<std::int16_t> read = readEmployeeCategory(g_SCode)) {
        reading.category = *read;
    } else {
        return unread(files.mod);
    }
    storage::Record& row = rights.record();
    row.setInt("DOS:KATEGCODE", reading.category);
    row.setInt("DOS:OBJECTID", reading.object);
    const int read = rights.get(*rights.layout().key("KATEG_KEY"));
    if (read == storage::error::kRecordNotFound) return reading;
    if (read != storage::error::kNone) return unread(rights);

    static const char* const kFlags[] = {"OPENFLAG", "INSERTFLAG", "CHANGEFLAG", "DELETEFLAG",
                                         "OKFLAG",   "UTWFLAG",    "RUTWFLAG",   "PRINTFLAG"};
    int mask = 0;
    for (int bit = 0; bit < 8; ++bit) mask += static_cast<int>(row.getInt(kFlags[bit])) << bit;
    reading.mask = static_cast<std::int16_t>(mask);
    reading.hasRow = true;
    return reading;
}

std::int16_t rightsMask(std::string_view designation, std::optional<std::int16_t> category) {
    const RightsReading reading = readRights(designation, category);
    switch (reading.status) {
        case RightsReading::Status::NoObject:
            platform::messageBox(platform::ru(" Доступ. Нет обьекта: ") + std::string(designation),
                                 platform::ru(" Ошибка"), platform::Icon::Exclamation);
            return 0;
        case RightsReading::Status::Unread: return refuseUnread(designation, *reading.failed);
        case RightsReading::Status::Read: break;
    }
    return reading.mask;
}

std::string employeeFullName(std::uint16_t code) {
    fetchEmployee(code);
    const storage::Record& r = accessFiles().mol.record();
    return fullName(r.getText(r.layout().fieldIndex("MOL:LNAME")),
                    r.getText(r.layout().fieldIndex("MOL:FNAME")));
}

std::string employeeShortName(std::uint16_t code) {
    fetchEmployee(code);
    const storage::Record& r = accessFiles().mol.record();
    return surnameWithInitials(r.getText(r.layout().fieldIndex("MOL:LNAME")),
                               r.getText(r.layout().fieldIndex("MOL:FNAME")))
        .substr(0, 80);
}

std::string helpFileName(std::string_view topic) {
    const std::size_t point = topic.find('.');
    return std::string(platform::clip(topic.substr(0, point))) + ".htm";
}

std::filesystem::path installedHelpFolder() {
    namespace fs = std::filesystem;
    Dl_info info{};
    if (dladdr(reinterpret_cast<const void*>(&installedHelpFolder), &info) == 0 || !info.dli_fname)
        return {};
    std::error_code ec;
    const fs::path module = fs::canonical(info.dli_fname, ec);
    if (ec) return {};
    // Beside the binaries (a build tree), then the installed data folder.
    for (const fs::path& candidate :
         {module.parent_path() / "help", module.parent_path() / TARVO_HELP_FROM_LIBDIR}) {
        if (fs::is_directory(candidate, ec)) return candidate.lexically_normal();
    }
    return {};
}

void openHelpTopic(std::string_view topic) {
    const std::string folder = platform::readCString(g_HelpPath);
    const std::string name = helpFileName(topic);
    if (folder.empty()) {
        // No help path configured: the installed pages, when they hold this one.
        const std::filesystem::path installed = installedHelpFolder();
        if (!installed.empty()) {
            const std::string systemFolder = platform::utf8ToCp1251(installed.string());
            const std::filesystem::path page =
                platform::hostPath(joinSystemPath(systemFolder, name));
            std::error_code ec;
            if (std::filesystem::is_regular_file(page, ec)) {
                platform::userServices().openDocument(page.string(), installed.string());
                return;
            }
        }
    }
    const std::string page = joinSystemPath(folder, name);
    platform::userServices().openDocument(platform::hostPath(page).string(),
                                          folder.empty() ? std::string(".")
                                                         : platform::hostPath(folder).string());
}

void openFile(std::string_view file) {
    std::error_code ec;
    platform::userServices().openDocument(platform::hostPath(file).string(),
                                          std::filesystem::current_path(ec).string());
}

}  // namespace dostup

extern "C" {

DOSTUP_API int16_t DOSTOBJ(const char* designation, const int16_t* category) {
    const std::string text = designation ? designation : "";
    return dostup::rightsMask(text, category ? std::optional<std::int16_t>(*category) : std::nullopt);
}

DOSTUP_API int16_t GETMOL_KATEG(uint16_t code) { return dostup::employeeCategory(code); }

DOSTUP_API const char* GETMOL_NAME(uint16_t code) {
    static std::string result;
    result = dostup::employeeFullName(code);
    return result.c_str();
}

DOSTUP_API const char* GETMOL_SNAME(uint16_t code) {
    static std::string result;
    result = dostup::employeeShortName(code);
    return result.c_str();
}

DOSTUP_API void CALLHELP(const char* topic) { dostup::openHelpTopic(topic ? topic : ""); }

DOSTUP_API void FILEEXECUTE(const char* file) {
    if (file && *file) dostup::openFile(file);
}

DOSTUP_API void UPPERSTR(char* text, int32_t size) {
    if (text && size > 0) platform::upperInPlace(text, static_cast<std::size_t>(size));
}

}  // extern "C"
