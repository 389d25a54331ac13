#include "staff/d_mollog.h"

#include "access/access_files.h"
#include "access/dostup.h"
#include "framework/file_access.h"
#include "framework/form/form_engine.h"
#include "platform/cp1251.h"
#include "platform/dates.h"
#include "storage/data_file.h"

namespace staff {

namespace {

using platform::ru;
using Side = framework::browse::CellAlignment::Side;

storage::DataFile& log() { return dostup::accessFiles().molLog; }
storage::DataFile& employees() { return dostup::accessFiles().mol; }

std::size_t field(const char* name) { return static_cast<std::size_t>(log().layout().fieldIndex(name)); }

// The employee, the operator, today and now in the MolLOG buffer.
void primeEntry() {
    storage::Record& entry = log().record();
    entry.setInt(field("MLO:DATE"), platform::today());
    entry.setInt(field("MLO:TIME"), platform::clock());
    entry.setValue(field("MLO:SCODE"), *employees().record().value("MOL:SCODE"));
    entry.setInt(field("MLO:OPERATOR"), g_SCode);
}

}  // namespace

void putEmployeeLog(const std::string& operation) {
    storage::DataFile& file = log();
    framework::useFile(file);
    file.record().clear();
    primeEntry();
    file.record().setText(field("MLO:OPERATION"), operation);
    file.add();  // not reported
    framework::releaseFile(file);
}

std::int64_t highestLoggedEmployee() {
    storage::DataFile& file = log();
    framework::useFile(file);
    std::int64_t highest = 0;
    file.set(*file.layout().key("SCODE_KEY"));
    if (file.previous() == storage::error::kNone) highest = file.record().getInt(field("MLO:SCODE"));
    framework::releaseFile(file);
    return highest;
}

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
    form.deletesWithoutWindow = true;
    form.secondWallpaper = true;
    form.section = "MolLOG_u";
    form.helpTopic = "Sprav\\MOL";
    form.hooks.prime = [](framework::form::FormEngine&) { primeEntry(); };
    return form;
}

}  // namespace staff
