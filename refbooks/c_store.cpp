#include "refbooks/c_store.h"

#include "framework/browse/browse_engine.h"
#include "framework/form/form_engine.h"
#include "refbooks/ref_files.h"
#include "storage/data_file.h"

#include <memory>

namespace refbooks {

namespace {

using framework::form::FieldControl;
using platform::ru;
using Side = framework::browse::CellAlignment::Side;

constexpr const char* kAccessObject = "Store";
constexpr const char* kHelpTopic = "Sprav\\Store.htm";

storage::DataFile& store() { return referenceFiles().store; }

std::uint16_t responsible() {
    const storage::Record& record = store().record();
    return static_cast<std::uint16_t>(
        record.getInt("STO:SCODE"));
}

// The short name shown beside the responsible employee's code: looked up when the
// form opens, when the code is accepted and when an employee is picked.
struct ResponsibleName {
    StoreStaff staff;
    std::string shown;

    void lookUp(std::uint16_t code) { shown = staff.shortName ? staff.shortName(code) : std::string(); }
};

}  // namespace

framework::browse::BrowseDefinition storeList(std::function<void()> updateForm) {
    framework::browse::BrowseDefinition list{store()};
    list.title = ru("Справочник Участков");
    list.sorts = {{"STO:CODE_KEY"}};
    list.columns = {
        {"STO:COD", ru("№"), 20, "n3", {Side::Right, 2}, {Side::Centre, 0}},
        {"STO:NAME", ru("Название"), 160, "s40", {Side::Left, 2}, {Side::Left, 2}},
        {"STO:PHONE", ru("Телефон"), 64, "s15", {Side::Left, 2}, {Side::Left, 2}},
    };
    list.accessObject = kAccessObject;
    list.iniSection = "Store_t";
    list.helpTopic = kHelpTopic;
    list.buttons.select = true;  // enabled only when the list was opened for select
    list.labels.select = {"Select", ru("Выбор выделенного Участка и выход")};
    list.labels.insert = {"Insert", ru("Добавить новую запись")};
    list.labels.change = {"Change (open)", ru("Изменить (открыть) запись")};
    list.labels.remove = {"Delete", ru("Удалить выделенную запись")};
    list.labels.close = {"Exit", ru("Выход из Справочника Участков")};
    list.labels.help = {ru("Помощь"), ru("Описание Справочника Участков")};
    list.extraButtons = {
        {{ru("Печатать"), ru("Печать Справочника Участков")},
         [](framework::browse::BrowseEngine& engine) {
             printStoreList();
             engine.refresh();
         }},
    };
    list.updateForm = std::move(updateForm);
    return list;
}

framework::form::FormDefinition storeForm(StoreStaff staff) {
    namespace sf = store_form;
    auto name = std::make_shared<ResponsibleName>();
    name->staff = std::move(staff);

    framework::form::FormDefinition form;
    form.file = &store();
    form.accessObject = kAccessObject;
    form.actions = {ru("  Новый Участок"), ru("  Изменение Участка"), ru("  Удаление Участка")};
    form.namingField = "STO:COD";
    form.buttons.ok = ru("Записать");
    form.buttons.okTip = ru("Выход с записью в базу");
    form.buttons.cancel = ru("Выход без записи");
    form.buttons.cancelTip = ru("Выход из окна без записи");
    form.buttons.helpTip = ru("Вызов Помощи");
    form.fields = {
        {sf::kCode, "STO:COD", "n2", ru("Код Участка:"), ru("Учетный код участка")},
        {sf::kName, "STO:NAME", "s40", ru("Наименование:"), ru("Наименование участка")},
        {sf::kAddress1, "STO:ADRESS1", "s40", ru("Адрес:"), ru("Адрес Участка")},
        {sf::kAddress2, "STO:ADRESS2", "s40", "", ru("Адрес")},
        {sf::kPhone, "STO:PHONE", "s15", ru("Телефон:"), "Phone"},
        {sf::kFax, "STO:FAX", "s15", ru("Факс:"), ru("Факс")},
        {sf::kPrice, "STO:NUMPR", "n1", ru("Номер цены:"), ru("Номер цены по умолчанию")},
        {sf::kRemote, "STO:REMOTEFLAG", "", ru(" Удаленный"), ru("Признак \" Удаленный\""),
         FieldControl::Check},
        {sf::kResponsible, "STO:SCODE", "n2", ru("Ответственный:"), ru("Код Ответственного")},
        {sf::kPickEmployee, "", "", ru("Выбор Сотрудника"), ru("Выбор Сотрудника"),
         FieldControl::Button},
        {sf::kEmployeeName, "", "s30", "", "", FieldControl::Display},
        {sf::kReserve, "STO:REZERV", "s20", "", ru("Резерв")},
    };
    for (framework::form::FormField& field : form.fields)
        if (field.entry == sf::kPickEmployee || field.entry == sf::kEmployeeName) field.beside = true;
    form.fields[10].shown = [name] { return name->shown; };
    form.numberedKey = "STO:CODE_KEY";
    form.duplicateKeys = {{"STO:CODE_KEY", "Cod"}};
    form.dittoKey = framework::form::kDittoKeyCtrlAltH;
    form.preparesToolbar = false;  // of the frame's toolbar only 2011 is answered
    form.keepsPlacement = false;   // "Store_up" holds the wallpaper only
    form.section = "Store_up";
    form.helpTopic = kHelpTopic;

    form.hooks.opened = [name](framework::form::FormEngine& engine) {
        name->lookUp(responsible());
        engine.redisplay();
    };
    // The engine shows the record again after this hook.
    form.hooks.accepted = [name](framework::form::FormEngine&, int entry) {
        if (entry == sf::kResponsible) name->lookUp(responsible());
    };
    form.hooks.control = [name](framework::form::FormEngine& engine, int control) {
        if (control != sf::kPickEmployee || !name->staff.pickEmployee) return;
        const std::uint16_t chosen = name->staff.pickEmployee();
        if (chosen == 0) return;  // nothing chosen: the code and the name stay
        store().record().setValue("STO:SCODE", std::to_string(chosen));
        name->lookUp(chosen);
        engine.redisplay();
    };
    return form;
}

}  // namespace refbooks
