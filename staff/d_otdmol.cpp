#include "staff/d_otdmol.h"

#include "access/access_files.h"
#include "framework/browse/browse_engine.h"
#include "framework/file_access.h"
#include "framework/form/form_engine.h"
#include "platform/cp1251.h"
#include "storage/data_file.h"

#include <memory>

namespace staff {

namespace {

using platform::ru;
using Side = framework::browse::CellAlignment::Side;

dostup::AccessFiles& files() { return dostup::accessFiles(); }

// A file taken into use for as long as the object lives.
class FileInUse {
public:
    explicit FileInUse(storage::DataFile& file) : file_(file) { framework::useFile(file_); }
    ~FileInUse() { framework::releaseFile(file_); }
    FileInUse(const FileInUse&) = delete;
    FileInUse& operator=(const FileInUse&) = delete;

private:
    storage::DataFile& file_;
};

// The category of each employee row, read into the KatMOL buffer; a category
// that does not exist shows empty.
void readCategory(const storage::Record& employee) {
    storage::DataFile& katMol = files().katMol;
    storage::Record& category = katMol.record();
    category.clear();
    category.setValue("KTM:COD", *employee.value("MOL:KATEGCODE"));
    if (katMol.get(*katMol.layout().key("CODE_KEY")) != storage::error::kNone) category.clear();
}

}  // namespace

framework::browse::BrowseDefinition departmentList(std::function<void()> updateForm) {
    framework::browse::BrowseDefinition list{files().otdMol};
    list.sorts = {{"OMO:ID_KEY", "", "OMO:OTD_ID"}};
    list.columns = {
        {"OMO:OTD_ID", ru("№"), 15, "n2", {Side::Centre, 0}, {Side::Centre, 0}},
        {"OMO:NAME", ru("Название"), 103, "s40", {Side::Left, 2}, {Side::Left, 2}},
    };
    list.title = ru("Справочник Подразделений");
    list.accessObject = "OtdMOL";
    // Rows: no menu. Empty: three entries without text, the first inserts.
    list.popup = {"", "|~|~", false};
    list.buttons.select = true;
    list.labels.select = {ru("Выбрать"), ru("Выбрать подразделение")};
    list.labels.close = {ru("Закрыть")};
    list.labels.help = {ru("Помощь"), ru("Вызов справки")};
    // "Печать" only re-reads the highlighted department; it prints nothing.
    list.extraButtons = {{{ru("Печать"), {}},
                          [](framework::browse::BrowseEngine& engine) { engine.readHighlightedRecord(); },
                          {}}};
    list.iniSection = "OtdMOL_t";
    list.helpTopic = "Sprav\\OtdMOL.htm";
    list.updateForm = std::move(updateForm);
    return list;
}

framework::browse::BrowseDefinition departmentEmployees() {
    framework::browse::BrowseDefinition list{files().mol};
    list.listNumber = 2;
    list.embedded = true;
    list.sorts = {{"OTD_KEY", "", "", framework::browse::RangeDefinition{
                                          [] { return *files().otdMol.record().value("OMO:OTD_ID"); },
                                          "MOL:OTD_ID", "BRW2::Sort1:Reset:omo:Otd_ID",
                                          "MOL:Otd_ID = BRW2::Sort1:Reset:omo:Otd_ID"}}};
    list.columns = {
        {"MOL:LNAME", ru("Фамилия"), 67, "s25", {Side::Left, 2}, {Side::Left, 2}},
        {"MOL:FNAME", ru("Имя, Отчество"), 107, "s40", {Side::Left, 2}, {Side::Left, 2}},
        {"MOL:BPHONE", ru("Телефон"), 43, "s15", {Side::Left, 2}, {Side::Left, 2}},
        {"KTM:KATEG", ru("Категория"), 80, "s20", {Side::Left, 2}, {Side::Left, 2}, &files().katMol},
    };
    list.carriedFields = {"MOL:SCODE", "MOL:OTD_ID", "MOL:KATEGCODE"};
    list.buttons = {false, false, false, false};
    list.popup = framework::browse::PopupMenuTexts::none();
    // The categories are read for every row while the list lives.
    auto categories = std::make_shared<FileInUse>(files().katMol);
    list.rowRead = [categories](const storage::Record& employee) { readCategory(employee); };
    list.rowFields = std::vector<std::string>{"MOL:KATEGCODE"};
    return list;
}

framework::form::FormDefinition departmentForm() {
    namespace df = department_form;
    framework::form::FormDefinition form;
    form.file = &files().otdMol;
    form.accessObject = "OtdMOL";
    form.actions = {ru(" Новая запись"), ru(" Изменение записи"), ru(" УДАЛЕНИЕ ЗАПИСИ")};
    form.namingField = "OMO:OTD_ID";
    form.fields = {
        {df::kCode, "OMO:OTD_ID", "n2", ru("Код отдела:"), ""},
        {df::kName, "OMO:NAME", "s40", ru("Название:"), ru("Название  отдела")},
        {df::kLeader, "OMO:LIDER", "s40", ru("Руководитель:"), ru("Фамилия И.О. руководителя")},
        {df::kNote, "OMO:NOTE", "s120", ru("Примечание:"), ""},
    };
    for (framework::form::FormField& field : form.fields) field.group = ru(" Подразделение ");
    form.lists = {{df::kEmployees, "", departmentEmployees, false, ru(" Сотрудники ")}};
    form.buttons.ok = ru("OK");
    form.buttons.okTip = ru("Выход с записью");
    form.buttons.cancel = ru("Отменить");
    form.buttons.helpTip = ru("Вызов Справки");
    form.numberedKey = "OMO:ID_KEY";
    form.duplicateKeys = {{"OMO:ID_KEY", "Otd_ID"}};
    form.section = "OtdMOL_u";
    form.helpTopic = "Sprav\\OtdMOL";
    // A new code on the form shows the employees of that code.
    form.hooks.accepted = [](framework::form::FormEngine& engine, int entry) {
        if (entry == df::kCode) engine.redisplay();
    };
    return form;
}

}  // namespace staff
