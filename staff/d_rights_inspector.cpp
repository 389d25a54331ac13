#include "staff/d_rights_inspector.h"

#include "access/access_files.h"
#include "access/employee_names.h"
#include "access/rights.h"
#include "framework/browse/browse_engine.h"
#include "framework/file_access.h"
#include "platform/cp1251.h"
#include "staff/d_rights_grid.h"
#include "storage/data_file.h"

#include <map>
#include <memory>

namespace staff {

namespace {

using platform::ru;
using Side = framework::browse::CellAlignment::Side;
using framework::browse::BrowseEngine;

dostup::AccessFiles& files() { return dostup::accessFiles(); }

// The values the inspector's lists show beside their files' own: the source
// of a mask, an employee's name and category.
storage::DataFile& locals() {
    static const storage::RecordLayout layout = [] {
        storage::RecordLayout l("LOC", "LOC", "", "");
        l.string("SOURCE", 50).string("NAME", 66).string("KATEG", 20);
        return l;
    }();
    static storage::DataFile file(layout);
    return file;
}

// The files the inspector reads while it lives besides its own list file.
struct FilesInUse {
    framework::FileUse dostup{files().dostup};
    framework::FileUse katMol{files().katMol};
    framework::FileUse mol{files().mol};
};

// A category's name by code, kept for the life of a list (a page meets few).
class CategoryNames {
public:
    const std::string& of(std::int64_t code) {
        auto found = names_.find(code);
        if (found != names_.end()) return found->second;
        storage::DataFile& katMol = files().katMol;
        const storage::Record saved = katMol.record();
        katMol.record().clear();
        katMol.record().setInt("KTM:COD", code);
        std::string name;
        if (katMol.get(*katMol.layout().key("CODE_KEY")) == storage::error::kNone)
            name = std::string(platform::clip(katMol.record().getText("KTM:KATEG")));
        katMol.record() = saved;
        return names_.emplace(code, name).first->second;
    }

private:
    std::map<std::int64_t, std::string> names_;
};

void addMarks(framework::browse::BrowseDefinition& list) {
    for (const InspectedBan& ban : inspectedBans()) {
        framework::browse::ColumnDefinition mark{ban.flag, ru(ban.header), 36, "@s1",
                                                  {Side::Centre, 0}, {Side::Centre, 0}, &files().dostup};
        mark.flagMark = "X";
        list.columns.push_back(std::move(mark));
    }
}

void common(framework::browse::BrowseDefinition& list) {
    list.title = ru("Проверка доступа");
    list.accessObject = "Dostup";
    list.reaskRights = false;
    list.buttons = {false, false, false, false};
    list.popup = framework::browse::PopupMenuTexts::none();
    list.labels.close = {ru("Выход"), ru("Закрыть окно")};
    list.iniSection = "Inspect_t";
    list.helpTopic = "Sprav\\Inspect.htm";
}

}  // namespace

const std::array<InspectedBan, 7>& inspectedBans() {
    static const std::array<InspectedBan, 7> bans = {{
        {"DOS:OPENFLAG", "Доступ", 1},
        {"DOS:INSERTFLAG", "Добавление", 2},
        {"DOS:CHANGEFLAG", "Изменение", 4},
        {"DOS:DELETEFLAG", "Удаление", 8},
        {"DOS:PRINTFLAG", "Печать", 128},
        {"DOS:UTWFLAG", "Утверждение", 32},
        {"DOS:RUTWFLAG", "Разутверждение", 64},
    }};
    return bans;
}

InspectedRights inspectRights(std::int16_t category, std::uint16_t object) {
    storage::DataFile& dostup = files().dostup;
    storage::Record& row = dostup.record();
    row.clear();
    row.setInt("DOS:KATEGCODE", category);
    row.setInt("DOS:OBJECTID", object);
    InspectedRights rights;
    const int read = dostup.get(*dostup.layout().key("KATEG_KEY"));
    if (read == storage::error::kRecordNotFound) {
        row.clear();
        return rights;
    }
    if (read != storage::error::kNone) {
        // Unread rights are shown as the check applies them: everything banned.
        row.clear();
        for (const char* flag : kBanFlags) row.setInt(flag, 1);
        rights.mask = dostup::kEveryBan;
        rights.hasRow = true;
        return rights;
    }
    rights.hasRow = true;
    for (std::size_t bit = 0; bit < kBanFlags.size(); ++bit)
        if (row.getInt(kBanFlags[bit]) != 0) rights.mask = static_cast<std::int16_t>(rights.mask | (1 << bit));
    return rights;
}

std::string rightsSource(const InspectedRights& rights, const std::string& categoryName) {
    if (!rights.hasRow) return ru("нет строки — всё разрешено");
    return ru("строка категории «") + categoryName + ru("»");
}

framework::browse::BrowseDefinition rightsInspector(std::uint16_t code, InspectorCallouts callouts) {
    auto inUse = std::make_shared<FilesInUse>();
    const std::optional<std::int16_t> read = dostup::readEmployeeCategory(code);
    const std::int16_t category = read.value_or(dostup::kUnreadCategory);
    auto names = std::make_shared<CategoryNames>();
    const std::string categoryName = names->of(category);
    const storage::Record& employee = files().mod.record();
    const std::string name = read ? dostup::surnameWithInitials(employee.getText("MOD:LNAME"),
                                                                employee.getText("MOD:FNAME"))
                                  : std::string();

    framework::browse::BrowseDefinition list{files().object};
    common(list);
    list.sorts = {{"OBJ:OBOZN_KEY", "", ""}};
    list.columns = {
        {"OBJ:OBOZN", ru("Обозначение"), 70, "@s20", {Side::Left, 2}, {Side::Left, 2}},
        {"OBJ:NAME", ru("Наименование"), 100, "@s50", {Side::Left, 2}, {Side::Left, 2}},
        {"OBJ:TYPE", ru("Тип"), 46, "@s16", {Side::Left, 2}, {Side::Left, 2}},
    };
    addMarks(list);
    list.columns.push_back(
        {"LOC:SOURCE", ru("Источник"), 110, "@s50", {Side::Left, 2}, {Side::Left, 2}, &locals()});
    list.carriedFields = {"OBJ:ID"};
    list.heading = ru("Сотрудник: ") + name + " (" + std::to_string(code) + ru("), категория: ") +
                   std::to_string(category) + " " + categoryName;
    list.rowRead = [inUse, category, categoryName](const storage::Record& object) {
        const InspectedRights rights =
            inspectRights(category, static_cast<std::uint16_t>(object.getInt("OBJ:ID")));
        locals().record().setText("LOC:SOURCE", rightsSource(rights, categoryName));
    };
    list.extraButtons = {
        {{ru("Объект"), ru("Кому запрещён выделенный объект")},
         [callouts](BrowseEngine& engine) {
             if (engine.page().empty() || !callouts.openObject) return;
             engine.readHighlightedRecord();
             const storage::Record& object = files().object.record();
             callouts.openObject(static_cast<std::uint16_t>(object.getInt("OBJ:ID")),
                                 std::string(platform::clip(object.getText("OBJ:OBOZN"))));
             engine.forceRefresh();
         },
         ""},
        {{ru("Печать"), ru("Печать прав сотрудника")},
         [callouts, code](BrowseEngine& engine) {
             if (callouts.print) callouts.print(code);
             engine.forceRefresh();
         },
         "Print.ico", true},
    };
    return list;
}

framework::browse::BrowseDefinition objectBans(std::uint16_t object, const std::string& designation) {
    auto inUse = std::make_shared<FilesInUse>();
    auto names = std::make_shared<CategoryNames>();
    framework::browse::BrowseDefinition list{files().mol};
    common(list);
    list.sorts = {{"MOL:NAME_KEY", "", ""}};
    list.columns = {
        {"MOL:SCODE", ru("Код"), 20, "n3", {Side::Right, 1}, {Side::Right, 1}},
        {"LOC:NAME", ru("Сотрудник"), 110, "@s66", {Side::Left, 2}, {Side::Left, 2}, &locals()},
        {"LOC:KATEG", ru("Категория"), 70, "@s20", {Side::Left, 2}, {Side::Left, 2}, &locals()},
    };
    addMarks(list);
    list.heading = ru("Объект «") + designation + ru("»: кому запрещён");
    list.rowRead = [inUse, names, object](const storage::Record& employee) {
        const std::int64_t category = employee.getInt("MOL:KATEGCODE");
        inspectRights(static_cast<std::int16_t>(category), object);
        locals().record().setText("LOC:NAME", dostup::fullName(employee.getText("MOL:LNAME"),
                                                               employee.getText("MOL:FNAME")));
        locals().record().setText("LOC:KATEG", std::to_string(category) + " " + names->of(category));
    };
    list.rowAccepted = [](const storage::Record&) {
        for (const char* flag : kBanFlags)
            if (files().dostup.record().getInt(flag) != 0) return true;
        return false;
    };
    return list;
}

}  // namespace staff
