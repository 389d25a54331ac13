#include "refbooks/c_typeop.h"

#include "framework/browse/browse_engine.h"
#include "refbooks/ref_files.h"
#include "refbooks/typeop_report.h"

namespace refbooks {

namespace {

using framework::form::FieldControl;
using platform::ru;
using Side = framework::browse::CellAlignment::Side;

constexpr const char* kAccessObject = "TypeOp";
constexpr const char* kHelpTopic = "Sprav\\TypeOp.htm";
// Codes 3 characters wide; a flag shows as 1 or stays blank.
constexpr const char* kCodePicture = "n3";
constexpr const char* kFlagPicture = "n1b";

}  // namespace

framework::browse::BrowseDefinition typeOpList(std::function<void()> updateForm) {
    framework::browse::BrowseDefinition list{referenceFiles().typeOp};
    list.title = ru("Справочник Типов Операций");
    list.sorts = {{"TOP:ID_KEY"}};
    list.columns = {
        {"TOP:ID", ru("Код операции"), 52, kCodePicture, {Side::Right, 4}, {Side::Centre, 0}},
        {"TOP:OBOZN", ru("Обозначение"), 48, "s5", {Side::Left, 2}, {Side::Left, 2}},
        {"TOP:NAME", ru("Наименование"), 140, "s36", {Side::Left, 2}, {Side::Left, 2}},
        {"TOP:TOWFLAG", ru("Товарная операция"), 66, kFlagPicture, {Side::Centre, 0},
         {Side::Centre, 0}},
        {"TOP:MANYFLAG", ru("Деньги"), 30, kFlagPicture, {Side::Centre, 0}, {Side::Centre, 0}},
        {"TOP:PRICHODFLAG", ru("Приход"), 30, kFlagPicture, {Side::Centre, 0},
         {Side::Centre, 0}},
    };
    list.accessObject = kAccessObject;
    list.iniSection = "TypeOp_t";
    list.helpTopic = kHelpTopic;

    list.buttons.select = true;  // shown and enabled only when opened for select
    list.labels.select = {ru("выбрать"), ru("Выбрать операцию")};
    list.labels.insert = {ru("Добавить"), ru("Добавить Операцию")};
    list.labels.change = {ru("Изменить"), {}};
    list.labels.remove = {{}, {}};  // the delete button has its icon only
    list.labels.close = {ru("Выход"), ru("Выход из окна")};
    list.labels.help = {ru("Помощь"), {}};
    list.extraButtons = {
        {{ru("Печатать"), {}},
         [](framework::browse::BrowseEngine& engine) {
             printTypeOpList();
             engine.refresh();
         }},
    };

    list.updateForm = std::move(updateForm);
    return list;
}

framework::form::FormDefinition typeOpForm() {
    framework::form::FormDefinition form;
    form.file = &referenceFiles().typeOp;
    form.accessObject = kAccessObject;
    form.actions = {ru(" Новый Тип Операции"), ru(" Изменение Типа Операции"),
                    ru(" Удаление Типа операции")};
    form.namingField = "TOP:NAME";
    form.buttons.ok = ru("Записать");
    form.buttons.okTip.clear();
    form.buttons.cancel = ru("Выход без записи");
    form.buttons.helpTip = ru("Вызов Помощи");
    // The money flag's tip repeats the goods flag's text, as the book has it.
    form.fields = {
        {2, "TOP:ID", kCodePicture, ru("Код операции:"), ru("Код операции")},
        {4, "TOP:OBOZN", "s5", ru("Обозначение:"), ru("Краткое обозначение типа операции")},
        {6, "TOP:NAME", "s36", ru("Наименование:"), ru("Наименование")},
        {7, "TOP:TOWFLAG", {}, ru(" Товарная операция"), ru("Признак \"Товарная операция\""),
         FieldControl::Check},
        {8, "TOP:MANYFLAG", {}, ru(" Операция с деньгами"), ru("Признак \"Товарная операция\""),
         FieldControl::Check},
        {9, "TOP:PRICHODFLAG", {}, ru(" Приход"), ru("Признак \"Приход\""), FieldControl::Check},
    };
    // The code is typed, not numbered; TOP:ID_KEY refuses a second record with it.
    form.duplicateKeys = {{"TOP:ID_KEY", "Id"}};
    form.section = "TypeOp_u";
    form.helpTopic = kHelpTopic;
    return form;
}

}  // namespace refbooks
