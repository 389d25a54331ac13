#include "access/rights_journal.h"

#include "access/access_files.h"
#include "access/dated_journal.h"
#include "access/dostup.h"
#include "access/rights.h"
#include "framework/file_access.h"
#include "framework/shared_state.h"
#include "platform/cp1251.h"
#include "platform/dates.h"
#include "platform/ini_file.h"
#include "storage/data_file.h"
#include "storage/journaled_write.h"

#include <algorithm>
#include <cstring>
#include <random>

#include <unistd.h>

namespace dostup {

namespace {

using platform::ru;

storage::DataFile& journal() { return accessFiles().rightsLog; }

// The last clock value of a day plus one, and a day in hundredths of a second.
// Refusals of one operator, object and ban within this many hundredths of a
// second of the entry that counts them are counted, not repeated.
constexpr std::int64_t kRefusalWindow = 6'000;

std::uint32_t uniqueNumber() {
    static std::mt19937 numbers(std::random_device{}() ^ static_cast<std::uint32_t>(::getpid()));
    return static_cast<std::uint32_t>(numbers());
}

// A blank entry made now by the operator g_SCode.
storage::Record newEntry(RightsLogKind kind) {
    storage::Record entry(journal().layout());
    entry.clear();
    entry.setInt("RLG:DATE", platform::today());
    entry.setInt("RLG:TIME", platform::clock());
    entry.setInt("RLG:OPERATOR", g_SCode);
    entry.setInt("RLG:KIND", static_cast<int>(kind));
    entry.setInt("RLG:UNIQUE", uniqueNumber());
    return entry;
}

// Reads one text of the record whose key field holds `code`, leaving the file's
// buffer, current record and watch as they were; empty when there is none or
// the file cannot be read.
std::string lookUpText(storage::DataFile& file, const char* key, const char* codeField,
                       std::int64_t code, const char* wanted) {
    if (!framework::tryUseFile(file)) return {};
    const storage::Record saved = file.record();
    const storage::DataFile::Current current = file.current();
    file.record().clear();
    file.record().setInt(codeField, code);
    std::string text;
    if (file.get(*file.layout().key(key)) == storage::error::kNone)
        text = std::string(platform::clip(file.record().getText(wanted)));
    file.record() = saved;
    file.restoreCurrent(current);
    framework::releaseFile(file);
    return text;
}

std::string categoryName(std::int64_t code) {
    return lookUpText(accessFiles().katMol, "CODE_KEY", "KTM:COD", code, "KTM:KATEG");
}

std::string objectDesignation(std::int64_t id) {
    return lookUpText(accessFiles().object, "ID_KEY", "OBJ:ID", id, "OBJ:OBOZN");
}

std::string clipped(const storage::Record& record, const char* field) {
    return std::string(platform::clip(record.getText(field)));
}

// "2 Склад": a category's code and name as an old or new value.
std::string categoryValue(const storage::Record& category) {
    return std::to_string(category.getInt("KTM:COD")) + " " + clipped(category, "KTM:KATEG");
}

// "7 Firm Фирмы (Справочник)": an object's number, designation, name and type.
std::string objectValue(const storage::Record& object) {
    return std::to_string(object.getInt("OBJ:ID")) + " " + clipped(object, "OBJ:OBOZN") + " " +
           clipped(object, "OBJ:NAME") + " (" + clipped(object, "OBJ:TYPE") + ")";
}

const char* requestAction(int request) {
    return request == framework::kRequestInsert   ? "Добавление"
           : request == framework::kRequestChange ? "Изменение"
                                                  : "Удаление";
}

std::int64_t moment(const storage::Record& entry) {
    return entry.getInt("RLG:DATE") * kLastTimeOfDay + entry.getInt("RLG:TIME");
}

}  // namespace

const std::array<std::string, 8>& banNames() {
    static const std::array<std::string, 8> names = {
        ru("Доступ"), ru("Добавление"), ru("Изменение"), ru("Удаление"),
        ru("Запись"), ru("Утверждение"), ru("Разутверждение"), ru("Печать")};
    return names;
}

const std::array<std::string, 8>& banPhrases() {
    static const std::array<std::string, 8> phrases = {
        ru("запрет доступа"),     ru("запрет добавления"),    ru("запрет изменения"),
        ru("запрет удаления"),    ru("запрет записи"),        ru("запрет утверждения"),
        ru("запрет разутверждения"), ru("запрет печати")};
    return phrases;
}

int banIndex(int bit) {
    for (int i = 0; i < 8; ++i)
        if (bit == (1 << i)) return i;
    return -1;
}

storage::Record banChangeEntry(std::int16_t category, std::uint16_t object, int ban, bool before,
                               bool after) {
    storage::Record entry = newEntry(RightsLogKind::Ban);
    entry.setInt("RLG:KATEGCODE", category);
    entry.setText("RLG:KATEG", categoryName(category));
    entry.setInt("RLG:OBJECTID", object);
    entry.setText("RLG:OBOZN", objectDesignation(object));
    if (ban >= 0 && ban < 8) {
        entry.setText("RLG:ACTION", banNames()[static_cast<std::size_t>(ban)]);
        entry.setInt("RLG:MASK", 1 << ban);
    }
    entry.setText("RLG:OLDVALUE", before ? ru("запрещено") : ru("разрешено"));
    entry.setText("RLG:NEWVALUE", after ? ru("запрещено") : ru("разрешено"));
    return entry;
}

std::optional<storage::Record> categoryEntry(int request, const storage::Record& before) {
    const storage::Record& now = accessFiles().katMol.record();
    if (request == framework::kRequestChange && now == before) return std::nullopt;
    storage::Record entry = newEntry(RightsLogKind::Category);
    const storage::Record& named = request == framework::kRequestDelete ? before : now;
    entry.setInt("RLG:KATEGCODE", named.getInt("KTM:COD"));
    entry.setText("RLG:KATEG", clipped(named, "KTM:KATEG"));
    entry.setText("RLG:ACTION", ru(requestAction(request)));
    if (request != framework::kRequestInsert) entry.setText("RLG:OLDVALUE", categoryValue(before));
    if (request != framework::kRequestDelete) entry.setText("RLG:NEWVALUE", categoryValue(now));
    return entry;
}

std::optional<storage::Record> objectEntry(int request, const storage::Record& before) {
    const storage::Record& now = accessFiles().object.record();
    if (request == framework::kRequestChange && now == before) return std::nullopt;
    storage::Record entry = newEntry(RightsLogKind::Object);
    const storage::Record& named = request == framework::kRequestDelete ? before : now;
    entry.setInt("RLG:OBJECTID", named.getInt("OBJ:ID"));
    entry.setText("RLG:OBOZN", clipped(named, "OBJ:OBOZN"));
    entry.setText("RLG:ACTION", ru(requestAction(request)));
    if (request != framework::kRequestInsert) entry.setText("RLG:OLDVALUE", objectValue(before));
    if (request != framework::kRequestDelete) entry.setText("RLG:NEWVALUE", objectValue(now));
    return entry;
}

int addRightsLogEntry(const storage::Record& entry) {
    return addDatedEntry(journal(), entry, "RLG:DATE", "RLG:TIME");
}

bool useRightsLog() { return framework::tryUseFile(journal()); }
void releaseRightsLog() { framework::releaseFile(journal()); }

void finishRightsLog(storage::DataFile& written) {
    // Never ends the host: a journal that cannot be opened now keeps the entries
    // held for the next time. A file with nothing held takes no journal into use.
    if (!storage::holdsEntriesFor(written, journal()) || !useRightsLog()) return;
    storage::finishHeldEntries(written, journal(), addRightsLogEntry);
    releaseRightsLog();
}

void journalRefusal(std::string_view designation, int bit) {
    const RightsReading reading = readRights(designation);
    if (!useRightsLog()) return;
    storage::DataFile& file = journal();
    const storage::Record saved = file.record();
    storage::Record entry = newEntry(RightsLogKind::Refusal);
    entry.setInt("RLG:KATEGCODE", reading.category);
    entry.setText("RLG:KATEG", categoryName(reading.category));
    entry.setInt("RLG:OBJECTID", reading.object);
    entry.setText("RLG:OBOZN", std::string(designation.substr(0, 20)));
    entry.setText("RLG:ACTION", ru("Отказ"));
    entry.setInt("RLG:MASK", bit & 0xFF);
    entry.setInt("RLG:COUNT", 1);

    // The operator's latest entry on this object at or before now.
    file.record() = entry;
    int code = file.setToValue(*file.layout().key("OPERATOR_KEY"));
    if (code == storage::error::kNone) code = file.previous();
    const storage::Record& last = file.record();
    const bool counts = code == storage::error::kNone &&
                        last.getInt("RLG:OPERATOR") == entry.getInt("RLG:OPERATOR") &&
                        last.getInt("RLG:OBJECTID") == entry.getInt("RLG:OBJECTID") &&
                        last.getInt("RLG:KIND") == static_cast<int>(RightsLogKind::Refusal) &&
                        last.getInt("RLG:MASK") == entry.getInt("RLG:MASK") &&
                        clipped(last, "RLG:OBOZN") == clipped(entry, "RLG:OBOZN") &&
                        moment(entry) - moment(last) < kRefusalWindow;
    if (counts) {
        file.record().setInt("RLG:COUNT", last.getInt("RLG:COUNT") + 1);
        file.put();
    } else {
        addRightsLogEntry(entry);
    }
    file.record() = saved;
    releaseRightsLog();
}

std::string refusalExplanation(std::string_view designation, int bit) {
    const int ban = banIndex(bit);
    if (ban < 0) return {};
    // Only an operator whose own category may open the categories and the rights
    // grid learns why: the others see the box as it always was.
    for (const char* rightsScreen : {"KatMOL", "Dostup"}) {
        const RightsReading own = readRights(rightsScreen);
        if (own.status == RightsReading::Status::Unread || (own.mask & framework::kForbidAccess)) return {};
    }
    const RightsReading reading = readRights(designation);
    if (reading.status == RightsReading::Status::Unread) return {};
    std::string category = categoryName(reading.category);
    if (category.empty()) category = std::to_string(reading.category);
    return ru("Объект «") + std::string(designation) + ru("», категория «") + category + ru("»: ") +
           banPhrases()[static_cast<std::size_t>(ban)];
}

std::string noteRefusal(const std::string& designation, int bit) {
    journalRefusal(designation, bit);
    return refusalExplanation(designation, bit);
}

int journalKeepDays() {
    const std::string text = platform::readIni("Journal", "KeepDays", "1095", ".\\Dostup.INI");
    long days = 1095;
    try {
        days = std::stol(std::string(platform::clip(text)));
    } catch (...) {
        days = 1095;
    }
    return days < 1 ? 1 : static_cast<int>(std::min<long>(days, 100000));
}

std::optional<long> compressRightsLog(int keepDays) {
    if (!useRightsLog()) return std::nullopt;
    storage::DataFile& file = journal();
    const storage::Record saved = file.record();
    const std::int64_t firstKept = platform::today() - keepDays;
    long removed = 0;
    storage::Record entry = newEntry(RightsLogKind::Compression);
    entry.setText("RLG:ACTION", ru("Сжатие журнала"));
    int code = file.begin();
    if (code == storage::error::kNone) {
        // Oldest first, in date order: stop at the first entry that is kept.
        code = file.set(*file.layout().key("DATE_KEY"));
        while (code == storage::error::kNone) {
            code = file.next();
            if (code != storage::error::kNone) break;
            if (file.record().getInt("RLG:DATE") >= firstKept) break;
            code = file.remove();
            if (code == storage::error::kNone) ++removed;
        }
        if (code == storage::error::kRecordNotAvailable) code = storage::error::kNone;
        if (code == storage::error::kNone) {
            entry.setText("RLG:OLDVALUE", std::to_string(removed));
            entry.setText("RLG:NEWVALUE", std::to_string(keepDays));
            code = addRightsLogEntry(entry);
        }
        if (code == storage::error::kNone) code = file.commit();
        if (code != storage::error::kNone) file.abandon();
    }
    file.record() = saved;
    releaseRightsLog();
    if (code != storage::error::kNone) return std::nullopt;
    return removed;
}

std::optional<long> compressEmployeeChanges(int keepDays) {
    storage::DataFile& changes = accessFiles().molChange;
    if (!framework::tryUseFile(changes)) return std::nullopt;
    if (!useRightsLog()) {
        framework::releaseFile(changes);
        return std::nullopt;
    }
    const storage::Record saved = changes.record();
    const std::int64_t firstKept = platform::today() - keepDays;
    // The changed fields are keyed by employee first: the old ones are found in
    // file order, counted for the entry, then removed with it.
    long old = 0;
    int code = changes.set();
    while (code == storage::error::kNone && (code = changes.next()) == storage::error::kNone)
        old += changes.record().getInt("MCH:DATE") < firstKept ? 1 : 0;
    std::optional<long> result;
    if (code == storage::error::kRecordNotAvailable) {
        storage::Record entry = newEntry(RightsLogKind::Compression);
        entry.setText("RLG:ACTION", ru("Сжатие изменений сотрудников"));
        entry.setText("RLG:OLDVALUE", std::to_string(old));
        entry.setText("RLG:NEWVALUE", std::to_string(keepDays));
        long removed = 0;
        const int written = storage::writeWithJournal(
            changes,
            [&changes, &removed, firstKept] {
                int rc = changes.set();
                while (rc == storage::error::kNone && (rc = changes.next()) == storage::error::kNone) {
                    if (changes.record().getInt("MCH:DATE") >= firstKept) continue;
                    if ((rc = changes.remove()) != storage::error::kNone) return rc;
                    ++removed;
                }
                return rc == storage::error::kRecordNotAvailable ? storage::error::kNone : rc;
            },
            journal(), entry, addRightsLogEntry);
        if (written == storage::error::kNone) result = removed;
    }
    changes.record() = saved;
    releaseRightsLog();
    framework::releaseFile(changes);
    return result;
}

}  // namespace dostup

extern "C" DOSTUP_API const char* DOSTUP_REFUSAL(const char* designation, int32_t bit) {
    static std::string result;
    result = dostup::noteRefusal(designation ? std::string(designation, strnlen(designation, 20)) : std::string(),
                                 static_cast<int>(bit));
    return result.c_str();
}
