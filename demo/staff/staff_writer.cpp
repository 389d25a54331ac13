#include "demo/staff/staff_writer.h"

#include "access/access_files.h"
#include "access/access_layouts.h"
#include "access/dostup.h"
#include "access/employee_log.h"
#include "access/employee_names.h"
#include "access/first_administrator.h"
#include "demo/sample_logins.h"
#include "demo/staff/sample_staff.h"
#include "framework/file_access.h"
#include "framework/standard_messages.h"
#include "inputaids/d_hist.h"
#include "platform/cp1251.h"
#include "platform/dates.h"
#include "platform/user_services.h"
#include "staff/d_mollog.h"
#include "staff/d_rights_grid.h"
#include "storage/data_file.h"

#include <map>
#include <string>

namespace demo {

namespace {

using platform::ru;

dostup::AccessFiles& files() { return dostup::accessFiles(); }

void setNumber(storage::Record& record, const char* field, std::int64_t value) {
    record.setInt(field, value);
}

// The buffer as a new record; a refusal is reported with the add's standard message.
bool add(storage::DataFile& file) {
    if (file.add() == storage::error::kNone) return true;
    framework::standardMessage(14, file.label(), file.lastError());
    return false;
}

// The log entries name the operator in g_SCode: the sample administrator while
// the staff is written, whoever it was before afterwards.
class OperatorWhileWriting {
public:
    explicit OperatorWhileWriting(std::uint16_t code) : previous_(g_SCode) { g_SCode = code; }
    ~OperatorWhileWriting() { g_SCode = previous_; }
    OperatorWhileWriting(const OperatorWhileWriting&) = delete;
    OperatorWhileWriting& operator=(const OperatorWhileWriting&) = delete;

private:
    std::uint16_t previous_;
};

bool writeCategories() {
    storage::DataFile& file = files().katMol;
    framework::FileUse use(file);
    for (const SampleCategory& category : sampleCategories()) {
        storage::Record& record = file.record();
        record.clear();
        setNumber(record, "KTM:COD", category.code);
        record.setValue("KTM:KATEG",
                        category.name ? ru(category.name) : dostup::administratorCategoryName());
        if (!add(file)) return false;
    }
    return true;
}

const SampleEmployee* employee(std::uint16_t code) {
    for (const SampleEmployee& e : sampleEmployees())
        if (e.code == code) return &e;
    return nullptr;
}

bool writeDepartments() {
    storage::DataFile& file = files().otdMol;
    framework::FileUse use(file);
    for (const SampleDepartment& department : sampleDepartments()) {
        storage::Record& record = file.record();
        record.clear();
        setNumber(record, "OMO:OTD_ID", department.code);
        record.setValue("OMO:NAME", ru(department.name));
        if (const SampleEmployee* head = employee(department.head))
            record.setValue("OMO:LIDER",
                            dostup::surnameWithInitials(ru(head->surname), ru(head->names)));
        record.setValue("OMO:NOTE", ru(department.note));
        if (!add(file)) return false;
    }
    return true;
}

// The objects of other programs, numbered after the starter objects that the
// file-open check put into the new file.
bool writeObjects() {
    storage::DataFile& file = files().object;
    framework::FileUse use(file);
    file.set(*file.layout().key("ID_KEY"));
    std::int64_t code = 0;
    if (file.previous() == storage::error::kNone)
        code = file.record().getInt("OBJ:ID");
    for (const SampleObject& object : sampleObjects()) {
        storage::Record& record = file.record();
        record.clear();
        setNumber(record, "OBJ:ID", ++code);
        record.setValue("OBJ:TYPE", ru(object.type));
        record.setValue("OBJ:OBOZN", object.designation);
        record.setValue("OBJ:NAME", ru(object.name));
        if (!add(file)) return false;
    }
    return true;
}

bool writeBans() {
    storage::DataFile& objects = files().object;
    storage::DataFile& rights = files().dostup;
    framework::FileUse objectsInUse(objects);
    framework::FileUse rightsInUse(rights);
    for (const SampleBan& ban : sampleBans()) {
        objects.record().clear();
        objects.record().setValue("OBJ:OBOZN", ban.object);
        if (objects.get(*objects.layout().key("OBOZN_KEY")) != storage::error::kNone) {
            framework::standardMessage(35, objects.label(), objects.lastError());
            return false;
        }
        storage::Record& row = rights.record();
        row.clear();
        setNumber(row, "DOS:KATEGCODE", ban.category);
        row.setValue("DOS:OBJECTID", *objects.record().value("OBJ:ID"));
        for (std::size_t bit = 0; bit < staff::kBanFlags.size(); ++bit)
            setNumber(row, staff::kBanFlags[bit], (ban.mask >> bit) & 1);
        if (!add(rights)) return false;
    }
    return true;
}

void fillEmployee(storage::Record& record, const SampleEmployee& e) {
    record.clear();
    setNumber(record, "MOL:SCODE", e.code);
    record.setValue("MOL:LNAME", ru(e.surname));
    record.setValue("MOL:FNAME", ru(e.names));
    setNumber(record, "MOL:OTD_ID", e.department);
    setNumber(record, "MOL:KATEGCODE", e.category);
    setNumber(record, "MOL:STORE", e.store);
    setNumber(record, "MOL:BOSS", e.boss);
    record.setValue("MOL:TITLE", ru(e.title));
    setNumber(record, "MOL:BDATE", platform::dayNumber(e.born.year, e.born.month, e.born.day));
    setNumber(record, "MOL:NDATE", platform::dayNumber(e.hired.year, e.hired.month, e.hired.day));
    record.setValue("MOL:SALARY", std::to_string(e.salary));
    record.setValue("MOL:CPHONE", e.mobile);
    record.setValue("MOL:ADRESS1", ru(e.address));
    for (const auto& [field, value] : personalDetails(e)) record.setValue(field, ru(value));
    for (const SampleLogin& login : sampleLogins()) {
        if (login.employee != e.code) continue;
        record.setValue("MOL:LOGIN", login.login);
        record.setValue("MOL:PASSWORD", login.password);
    }
    setNumber(record, "MOL:CHDATE", platform::today());
}

// Each employee as the employee form adds one: the record and its log entry in
// one write.
bool writeEmployees() {
    storage::DataFile& file = files().mol;
    framework::FileUse use(file);
    framework::FileUse log(files().molLog);
    for (const SampleEmployee& e : sampleEmployees()) {
        fillEmployee(file.record(), e);
        if (dostup::addEmployeeLogged(ru("Добавление")) == storage::error::kNone) continue;
        const storage::DataFile& failed = file.errorCode() != storage::error::kNone ? file : files().molLog;
        framework::standardMessage(14, failed.label(), failed.lastError());
        return false;
    }
    return true;
}

bool writeFilters() {
    storage::DataFile& file = files().filter;
    framework::FileUse use(file);
    std::map<std::string, int> numbers;  // within each table
    for (const SampleFilter& filter : sampleFilters()) {
        storage::Record& record = file.record();
        record.clear();
        record.setValue("FIL:TABLE", filter.table);
        setNumber(record, "FIL:NUMBER", ++numbers[filter.table]);
        record.setValue("FIL:NAME", ru(filter.name));
        record.setValue("FIL:EXPRESSION", ru(filter.expression));
        if (!add(file)) return false;
    }
    return true;
}

void writeHistory() {
    for (const SampleHistory& entry : sampleHistory())
        inputaids::putHistory(entry.field, ru(entry.value));
}

}  // namespace

std::vector<DataFileRef> libraryDataFiles() {
    dostup::AccessFiles& f = files();
    std::vector<DataFileRef> refs;
    for (storage::DataFile* file :
         {&f.mol, &f.katMol, &f.otdMol, &f.object, &f.dostup, &f.molLog, &f.filter, &f.histList})
        refs.push_back({&file->layout(), file->name(), dostup::ownerPasswordOf(file->layout())});
    return refs;
}

StaffFill writeSampleStaff() {
    const std::vector<DataFileRef> refs = libraryDataFiles();
    const Occupancy occupied = occupancy(refs);
    if (occupied.state == Occupancy::State::HoldsData) return kStaffDataPresent;
    if (occupied.state == Occupancy::State::Unknown) {
        platform::messageBox(platform::utf8ToCp1251(occupied.where + ": " + occupied.reason),
                             ru(" Ошибка"), platform::Icon::Hand);
        return kStaffFailed;
    }
    if (const std::string failed = createFolders(refs); !failed.empty()) {
        platform::messageBox(platform::utf8ToCp1251(failed), ru(" Ошибка"), platform::Icon::Hand);
        return kStaffFailed;
    }
    const OperatorWhileWriting administrator(sampleLogins().front().employee);
    if (!writeCategories() || !writeDepartments() || !writeObjects() || !writeBans() ||
        !writeEmployees() || !writeFilters())
        return kStaffFailed;
    writeHistory();
    return kStaffWritten;
}

}  // namespace demo
