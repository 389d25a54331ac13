#include "staff/d_object.h"

#include "access/access_files.h"
#include "framework/browse/browse_engine.h"
#include "platform/cp1251.h"
#include "staff/d_rights_grid.h"
#include "storage/data_file.h"

namespace staff {

namespace {

using platform::ru;
using Side = framework::browse::CellAlignment::Side;

storage::DataFile& object() { return dostup::accessFiles().object; }

}  // namespace

framework::browse::BrowseDefinition objectList(std::function<void()> updateForm) {
    framework::browse::BrowseDefinition list{object()};
    list.sorts = {{"OBJ:ID_KEY", ru("по &Коду"), "OBJ:ID"},
                  {"OBJ:OBOZN_KEY", ru("по &Обозначению"), "OBJ:OBOZN"}};
    list.columns = {
        {"OBJ:ID", ru("Код"), 20, "@n3", {Side::Right, 2}, {Side::Centre, 0}},
        {"OBJ:OBOZN", ru("Обозначение"), 80, "@s20", {Side::Left, 2}, {Side::Left, 2}},
        {"OBJ:NAME", ru("Наименование"), 160, "@s50", {Side::Left, 2}, {Side::Left, 2}},
        {"OBJ:TYPE", ru("Тип"), 64, "@s16", {Side::Left, 2}, {Side::Left, 2}},
    };
    list.title = ru("Обьекты системы");
    list.buttons.select = true;
    // The print button stands before insert and starts nothing.
    list.extraButtons = {{{ru("Печать"), {}}, {}, "Print.ico", true}};
    list.iniSection = "Object_t";
    list.helpTopic = "Sprav\\Object.htm";
    list.updateForm = std::move(updateForm);
    return list;
}

framework::form::FormDefinition objectForm() {
    namespace of = object_form;
    framework::form::FormDefinition form;
    form.file = &object();
    form.actions = {ru(" Новый Обьект"), ru(" Изменение Обьекта"), ru(" Удаление Обьекта")};
    form.fields = {
        {of::kId, "OBJ:ID", "n3b", ru("Код обьекта:"), ""},
        {of::kDesignation, "OBJ:OBOZN", "@s20", ru("Обозначение:"), ""},
        {of::kName, "OBJ:NAME", "@s50", ru("Наименование:"), ""},
        {of::kType, "OBJ:TYPE", "", ru("Тип"), "", framework::form::FieldControl::DropList},
    };
    for (const std::string& type : objectTypes())
        form.fields.back().options.emplace_back(type, type);
    form.numberedKey = "OBJ:ID_KEY";
    // Several stations may hold a new object reserved at once: its designation is
    // unique to it until the operator's own is saved.
    form.provisional = [](storage::Record& reserved) {
        reserved.setValue("OBJ:OBOZN", "#" + std::string(platform::clip(*reserved.value("OBJ:ID"))));
    };
    form.hooks.prime = [](framework::form::FormEngine&) {
        object().record().setValue("OBJ:TYPE", objectTypes()[0]);
    };
    form.duplicateKeys = {{"OBJ:ID_KEY", "Id"}, {"OBJ:OBOZN_KEY", "Obozn"}};
    form.section = "Object_u";  // the form has no help of its own
    return form;
}

}  // namespace staff
