#include "staff/d_object.h"

#include "access/access_files.h"
#include "access/rights_journal.h"
#include "framework/browse/browse_engine.h"
#include "framework/file_access.h"
#include "framework/form/form_numbering.h"
#include "platform/cp1251.h"
#include "staff/d_rights_grid.h"
#include "storage/data_file.h"

namespace staff {

namespace {

using platform::ru;
using Side = framework::browse::CellAlignment::Side;

storage::DataFile& object() { return dostup::accessFiles().object; }

// The highest object code that rights rows still carry: a deleted object's bans
// stay in the rights file, so a new object is numbered above them.
std::optional<std::int64_t> highestObjectInRights() {
    storage::DataFile& rights = dostup::accessFiles().dostup;
    framework::FileUse use(rights);
    return framework::form::highestInFile(rights, "DOS:OBJECTID");
}

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
    // Renaming or deleting an object moves every ban on it: the list and the form
    // ask the rights of "Object" like every other book.
    list.accessObject = "Object";
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
    form.accessObject = "Object";
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
    form.numberedAbove = highestObjectInRights;
    form.numberedLimit = 999;  // "Код обьекта:" shows three digits
    // Several stations may hold a new object reserved at once: its designation is
    // unique to it until the operator's own is saved.
    form.provisional = [](storage::Record& reserved) {
        reserved.setValue("OBJ:OBOZN", "#" + std::string(platform::clip(*reserved.value("OBJ:ID"))));
    };
    form.hooks.prime = [](framework::form::FormEngine&) {
        object().record().setValue("OBJ:TYPE", objectTypes()[0]);
    };
    form.duplicateKeys = {{"OBJ:ID_KEY", "Id"}, {"OBJ:OBOZN_KEY", "Obozn"}};
    // An object added, renamed or deleted is journaled with the write itself.
    form.journal = {&dostup::accessFiles().rightsLog, dostup::objectEntry, dostup::addRightsLogEntry};
    form.section = "Object_u";  // the form has no help of its own
    return form;
}

}  // namespace staff
