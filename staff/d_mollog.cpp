#include "staff/d_mollog.h"

#include "access/access_files.h"
#include "access/employee_changes.h"
#include "access/employee_log.h"
#include "access/dostup.h"
#include "framework/file_access.h"
#include "framework/form/form_engine.h"
#include "framework/standard_messages.h"
#include "platform/user_services.h"
#include "platform/cp1251.h"
#include "platform/dates.h"
#include "storage/data_file.h"

#include <memory>

namespace staff {

namespace {

using platform::ru;
using Side = framework::browse::CellAlignment::Side;

storage::DataFile& log() { return dostup::accessFiles().molLog; }
storage::DataFile& employees() { return dostup::accessFiles().mol; }


// The employee, the operator, today and now in the MolLOG buffer.
void primeEntry() { log().record() = dostup::employeeLogEntry({}); }

// The changed fields of the entry a row shows.
storage::DataFile& locals() {
    static const storage::RecordLayout layout = [] {
        storage::RecordLayout l("LOC", "LOC", "", "");
        l.string("CHANGES", 250);
        return l;
    }();
    static storage::DataFile file(layout);
    return file;
}

// The changed fields' file, in use while the log tab lives when it can be
// opened (without it the entries show no changes).
class ChangesInUse {
public:
    ChangesInUse() : used_(framework::tryUseFile(dostup::accessFiles().molChange)) {}
    ~ChangesInUse() {
        if (used_) framework::releaseFile(dostup::accessFiles().molChange);
    }
    ChangesInUse(const ChangesInUse&) = delete;
    ChangesInUse& operator=(const ChangesInUse&) = delete;
    bool used() const { return used_; }

private:
    bool used_;
};

}  // namespace

framework::browse::BrowseDefinition employeeLog(std::function<void()> updateForm) {
    framework::browse::BrowseDefinition list{log()};
    list.listNumber = 9;
    list.embedded = true;
    list.sorts = {{"MLO:SCODE_KEY", "", "",
                   framework::browse::RangeDefinition{
                       [] { return *employees().record().value("MOL:SCODE"); }, "MLO:SCODE",
                       "BRW9::Sort1:Reset:MOL:SCode", "mlo:SCode = BRW9::Sort1:Reset:MOL:SCode"}}};
    list.columns = {
        {"MLO:DATE", ru("Дата"), 32, "d5.", {Side::Centre, 0}, {Side::Centre, 0}},
        {"MLO:TIME", ru("Время"), 32, "t4", {Side::Centre, 0}, {Side::Centre, 0}},
        {"MLO:OPERATION", ru("Операция"), 85, "s26", {Side::Left, 2}, {Side::Left, 2}},
        {"MLO:NOTE", ru("Примечание"), 100, "s80", {Side::Left, 2}, {Side::Left, 2}},
        {"MLO:OPERATOR", ru("Оператор"), 16, "n3", {Side::Right, 1}, {Side::Left, 1}},
        // Under each entry, what its request changed: "Должность: A -> B; ...".
        {"LOC:CHANGES", ru("Изменения"), 200, "s250", {Side::Left, 2}, {Side::Left, 2}, &locals()},
    };
    auto changes = std::make_shared<ChangesInUse>();
    list.rowRead = [changes](const storage::Record& entry) {
        locals().record().setText("LOC:CHANGES", changes->used() ? dostup::changesOfEntry(entry) : std::string());
    };
    list.carriedFields = {"MLO:SCODE"};
    list.buttons = {true, true, true, false};
    list.labels.insert = {ru("&Добавить")};
    list.labels.change = {ru("&Изменить")};
    list.labels.remove = {ru("&Удалить")};
    list.popup = framework::browse::PopupMenuTexts::standard();
    list.updateForm = std::move(updateForm);
    return list;
}

framework::form::FormDefinition logEntryForm() {
    namespace lf = log_form;
    framework::form::FormDefinition form;
    form.file = &log();
    form.accessObject = "MolLOG";
    form.actions = {ru(" Новая запись"), ru(" Изменение записи"), ru(" Изменение записи")};
    form.fields = {
        {lf::kDate, "MLO:DATE", "d5.", ru("Дата:"), ru("Дата операции")},
        {lf::kTime, "MLO:TIME", "t4", ru("Время:"), ru("Время операции")},
        {lf::kEmployee, "MLO:SCODE", "n4", ru("Сотрудник:"), ""},
        {lf::kOperator, "MLO:OPERATOR", "n4", ru("Оператор:"), ""},
        {lf::kOperation, "MLO:OPERATION", "s26", ru("Операция:"), ""},
        {lf::kNote, "MLO:NOTE", "s80", ru("Примечание:"), ""},
    };
    form.buttons.ok = ru("OK");
    form.buttons.okTip = ru("Выход с записью");
    form.buttons.cancel = ru("Отменить");
    form.duplicateKeys = {{"MLO:SCODE_KEY", "SCode+Date+Time"}};
    // An entry names an employee the employee form can hold, or it would number
    // the next employee beyond what the form can show.
    form.hooks.validate = [](framework::form::FormEngine&) {
        const std::int64_t code = log().record().getInt("MLO:SCODE");
        if (code >= 0 && code <= dostup::kHighestEmployeeCode) return true;
        platform::messageBox(ru("Личный код сотрудника не может быть больше ") +
                                 std::to_string(dostup::kHighestEmployeeCode),
                             ru(" Ошибка"), platform::Icon::Exclamation);
        return false;
    };
    form.deletesWithoutWindow = true;
    form.secondWallpaper = true;
    form.section = "MolLOG_u";
    form.helpTopic = "Sprav\\MOL";
    form.hooks.prime = [](framework::form::FormEngine&) { primeEntry(); };
    return form;
}

}  // namespace staff
