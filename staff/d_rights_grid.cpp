#include "staff/d_rights_grid.h"

#include "access/access_files.h"
#include "access/administration_guard.h"
#include "access/rights_journal.h"
#include "framework/browse/browse_engine.h"
#include "framework/file_access.h"
#include "framework/referential_rules.h"
#include "framework/standard_messages.h"
#include "platform/cp1251.h"
#include "platform/user_services.h"
#include "storage/data_file.h"
#include "storage/journaled_write.h"

#include <memory>

namespace staff {

namespace {

using platform::ru;
using Side = framework::browse::CellAlignment::Side;

dostup::AccessFiles& files() { return dostup::accessFiles(); }

// The type the grid shows, bound as loc:Type for its filter: the word padded to
// twelve characters.
struct GridState {
    std::uint16_t category = 0;
    std::string type;
    platform::NameBindings names;
};

std::string padded(const std::string& type) {
    std::string text = type;
    if (text.size() < 12) text.resize(12, ' ');
    return text;
}

const std::array<const char*, 8> kBanTips = {
    "Запретить / снять запрет доступа ко Объекту целиком",
    "Запретить / снять запрет на Добавление",
    "Запретить / снять запрет на Изменение",
    "Запретить / снять запрет на Удаление",
    "Запретить / снять запрет на Запись",
    "Запретить / снять запрет на Утверждение",
    "Запретить / снять запрет на Разутверждение",
    "Запретить / снять запрет на Печать"};

const std::array<const char*, 8> kMarkHeaders = {"Х",  "Добавление", "Изменение", "Удаление",
                                                  "Ok", "Утвержд",    "Разутв",    "Печать"};

// The files the grid reads while it lives besides its own list file.
struct FilesInUse {
    framework::FileUse dostup{files().dostup};
    framework::FileUse katMol{files().katMol};
};

// An access ban that would leave no category with an employee able to open the
// rights grid locks every administrator out: it is refused, saying why.
bool mayBanAccess(std::uint16_t category, std::uint16_t object) {
    const std::optional<bool> reachable = dostup::rightsGridStaysReachable(category, object, true);
    if (reachable.value_or(false)) return true;
    platform::messageBox(
        reachable ? ru("Запрет не записан: после него ни одна категория сотрудников не сможет "
                       "открыть права доступа (нужен доступ к KatMOL и Dostup).")
                  : ru("Запрет не записан: не удалось прочитать права доступа и сотрудников."),
        ru(" Ошибка"), platform::Icon::Exclamation);
    return false;
}

// After a failed journaled write on files of their own: whether the row was
// committed with its entry held in the rights file, only the move into the
// journal failing (another station held it past the wait). The toggle is then
// done; the entry is moved again now, or when the rights are next opened.
bool committedWithEntryHeld(storage::DataFile& dostup, storage::DataFile& journal) {
    if (dostup.sharesTransactionWith(journal) || dostup.errorCode() != storage::error::kNone) return false;
    storage::finishHeldEntries(dostup, journal, dostup::addRightsLogEntry);
    return true;
}

}  // namespace

const std::array<std::string, 5>& objectTypes() {
    static const std::array<std::string, 5> types = {ru("Справочник"), ru("Документ"), ru("Поле"),
                                                     ru("Отчет"), ru("Меню")};
    return types;
}

void readRightsRow(std::uint16_t category, std::uint16_t object) {
    storage::DataFile& dostup = files().dostup;
    storage::Record& row = dostup.record();
    row.clear();
    row.setValue("DOS:KATEGCODE", std::to_string(category));
    row.setValue("DOS:OBJECTID", std::to_string(object));
    if (dostup.get(*dostup.layout().key("KATEG_KEY")) != storage::error::kNone) row.clear();
}

bool toggleBan(std::uint16_t category, std::uint16_t object, int flag) {
    if (flag < 0 || flag >= static_cast<int>(kBanFlags.size())) return false;
    storage::DataFile& dostup = files().dostup;
    storage::DataFile& journal = files().rightsLog;
    const framework::FileUse use(dostup);
    // No ban changes without its journal entry: a journal that cannot be opened
    // (or created) refuses the toggle.
    if (!dostup::useRightsLog()) {
        framework::standardMessage(14, journal.label(), journal.lastError());
        return false;
    }
    struct Release {
        ~Release() { dostup::releaseRightsLog(); }
    } release;
    storage::Record& row = dostup.record();
    row.clear();
    row.setValue("DOS:KATEGCODE", std::to_string(category));
    row.setValue("DOS:OBJECTID", std::to_string(object));
    const char* field = kBanFlags[static_cast<std::size_t>(flag)];
    dostup.watch();
    const int found = dostup.get(*dostup.layout().key("KATEG_KEY"));
    if (found != storage::error::kNone && found != storage::error::kRecordNotFound) {
        framework::standardMessage(35, dostup.label(), dostup.lastError());
        return false;
    }
    const bool fresh = found == storage::error::kRecordNotFound;
    const bool before = !fresh && row.getInt(field) != 0;
    if (flag == 0 && !before && !mayBanAccess(category, object)) return false;
    const storage::Record entry =
        dostup::banChangeEntry(static_cast<std::int16_t>(category), object, flag, before, !before);
    if (fresh) {
        row.clear();
        row.setValue("DOS:KATEGCODE", std::to_string(category));
        row.setValue("DOS:OBJECTID", std::to_string(object));
        row.setValue(field, "1");
        const int written = storage::writeWithJournal(
            dostup, [&dostup] { dostup.clearCurrent(); return dostup.add(); }, journal, entry,
            dostup::addRightsLogEntry);
        if (written == storage::error::kNone || committedWithEntryHeld(dostup, journal)) return true;
        framework::standardMessage(14, {}, dostup.errorCode() ? dostup.lastError() : journal.lastError());
        return false;
    }
    const storage::Record original = row;
    row.setValue(field, before ? "0" : "1");
    int result = framework::kUpdateDone;
    bool attempted = false;
    const int written = storage::writeWithJournal(
        dostup,
        [&] {
            attempted = true;
            result = framework::updateRecord(dostup, original);
            return result == framework::kUpdateDone ? storage::error::kNone : storage::error::kDriverError;
        },
        journal, entry, dostup::addRightsLogEntry);
    if (written != storage::error::kNone && !attempted) {
        // The transaction could not begin (a station holds the file): the put's
        // own message, with the error of the file that refused.
        framework::standardMessage(15, {}, dostup.errorCode() ? dostup.lastError() : journal.lastError());
        return false;
    }
    if (written != storage::error::kNone && result == framework::kUpdateDone) {
        if (committedWithEntryHeld(dostup, journal)) return true;
        // The update rule reported its own failures; this is the journal's.
        framework::standardMessage(14, {}, journal.lastError());
        return false;
    }
    return result == framework::kUpdateDone;
}

framework::browse::BrowseDefinition rightsGrid(std::uint16_t code, const std::string& name,
                                               std::function<void()> openJournal) {
    auto state = std::make_shared<GridState>();
    state->category = code;
    state->type = padded(objectTypes()[0]);
    state->names.bind("loc:Type", [s = state.get()] { return s->type; });

    framework::browse::BrowseDefinition list{files().object};
    list.sorts = {{"OBJ:OBOZN_KEY", "", "", std::nullopt, "(obj:Type=loc:Type)"}};
    list.names = &state->names;
    list.columns = {
        {"OBJ:OBOZN", ru("Обьект"), 80, "@s20", {Side::Left, 2}, {Side::Left, 2}},
        {"OBJ:NAME", ru("Наименование"), 160, "@s50", {Side::Left, 2}, {Side::Left, 2}},
    };
    for (std::size_t i = 0; i < kBanFlags.size(); ++i) {
        framework::browse::ColumnDefinition mark{kBanFlags[i], ru(kMarkHeaders[i]), i == 0 ? 12 : 40,
                                                  "@s1", {Side::Centre, 0}, {Side::Centre, 0},
                                                  &files().dostup};
        mark.flagMark = "X";
        list.columns.push_back(std::move(mark));
    }
    list.carriedFields = {"OBJ:ID", "OBJ:TYPE"};
    list.title = ru("Запрет доступа к Обьектам системы");
    list.heading = ru("Категория: ") + std::string(platform::clip(name));
    list.accessObject = "Dostup";
    list.reaskRights = false;
    list.refusals.caption = ru(" Ошибка");
    list.refusals.access = ru("Доступ запрещен ");
    list.buttons = {false, false, false, false};
    list.popup = framework::browse::PopupMenuTexts::none();
    list.labels.close = {ru("Выход")};
    list.iniSection = "Dostup_t";
    list.helpTopic = "Sprav\\Object.htm";
    list.entry = framework::browse::ListEntry{
        "", 12, [state] { return state->type; },
        [state](const std::string& type) { state->type = padded(type); },
        {objectTypes().begin(), objectTypes().end()}};

    auto inUse = std::make_shared<FilesInUse>();
    list.rowFields = std::vector<std::string>{"OBJ:TYPE", "OBJ:ID"};
    list.rowRead = [state, inUse](const storage::Record& object) {
        // An object of another type is about to be filtered out: no read for it.
        if (platform::clip(*object.value("OBJ:TYPE")) != platform::clip(state->type)) {
            files().dostup.record().clear();
            return;
        }
        readRightsRow(state->category,
                      static_cast<std::uint16_t>(object.getInt("OBJ:ID")));
    };
    for (std::size_t i = 0; i < kBanFlags.size(); ++i) {
        list.extraButtons.push_back(
            // Each button is captioned like the column of marks it sets.
            {{ru(kMarkHeaders[i]), ru(kBanTips[i])},
             [state, i](framework::browse::BrowseEngine& grid) {
                 if (grid.page().empty()) return;
                 grid.readHighlightedRecord();
                 const storage::Record& object = files().object.record();
                 const auto id = static_cast<std::uint16_t>(
                     object.getInt("OBJ:ID"));
                 toggleBan(state->category, id, static_cast<int>(i));
                 grid.rereadHighlightedRow();
             },
             ""});
    }
    if (openJournal)
        list.extraButtons.push_back({{ru("Журнал"), ru("Журнал изменений прав")},
                                     [openJournal = std::move(openJournal)](framework::browse::BrowseEngine& grid) {
                                         openJournal();
                                         grid.forceRefresh();
                                     },
                                     ""});
    return list;
}

}  // namespace staff
