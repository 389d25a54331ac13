#include "access/employee_changes.h"

#include "access/access_files.h"
#include "framework/shared_state.h"
#include "platform/cp1251.h"
#include "platform/picture.h"
#include "storage/data_file.h"

namespace dostup {

namespace {

using platform::ru;

constexpr const char* kPassword = "MOL:PASSWORD";
constexpr std::size_t kValueLength = 200;  // MCH:OLDVALUE and MCH:NEWVALUE, CSTRING(201)

bool isDate(const char* field) {
    const std::string name = field;
    return name == "MOL:PASPDATE" || name == "MOL:BDATE" || name == "MOL:NDATE";
}

// Whether a field holds anything: a text not blank, a number not zero.
bool filled(const std::string& text) { return !text.empty() && text != "0" && text != "0.00"; }

storage::Record changeRecord(const storage::Record& logEntry, int number, const std::string& label,
                             const std::string& before, const std::string& after) {
    storage::Record change(accessFiles().molChange.layout());
    change.clear();
    change.setInt("MCH:SCODE", logEntry.getInt("MLO:SCODE"));
    change.setInt("MCH:DATE", logEntry.getInt("MLO:DATE"));
    change.setInt("MCH:TIME", logEntry.getInt("MLO:TIME"));
    change.setInt("MCH:NUMBER", number);
    change.setText("MCH:LABEL", label);
    change.setText("MCH:OLDVALUE", before.substr(0, kValueLength));
    change.setText("MCH:NEWVALUE", after.substr(0, kValueLength));
    return change;
}

std::string clipped(const storage::Record& record, const char* field) {
    return std::string(platform::clip(record.getText(field)));
}

}  // namespace

const std::vector<JournaledField>& journaledEmployeeFields() {
    static const std::vector<JournaledField> fields = {
        {"MOL:SCODE", "Личный Код"},       {"MOL:LNAME", "Фамилия"},
        {"MOL:FNAME", "Имя, отчество"},    {"MOL:LOGIN", "Логин"},
        {kPassword, "Пароль"},             {"MOL:OTD_ID", "Подразделение"},
        {"MOL:TITLE", "Должность"},        {"MOL:BOSS", "Руководитель"},
        {"MOL:KATEGCODE", "Категория"},    {"MOL:TABNUM", "Табельный №"},
        {"MOL:BPHONE", "Рабочий телефон"}, {"MOL:HPHONE", "Домашний телефон"},
        {"MOL:CPHONE", "Мобильный телефон"}, {"MOL:FPHONE", "Факс"},
        {"MOL:PHONE5DEC", "Описание телефона 5"}, {"MOL:PHONE5", "Телефон 5"},
        {"MOL:EMALE", "E-Mail"},           {"MOL:ICQ", "Код ICQ"},
        {"MOL:SUPRUG", "Супруг"},          {"MOL:SUPRUGPHONE", "Телефон супруга"},
        {"MOL:CITY", "Город"},             {"MOL:POSTINDEX", "Индекс"},
        {"MOL:ADRESS1", "Адрес"},          {"MOL:ADRESS2", "Адрес, вторая строка"},
        {"MOL:PASPSER", "Серия паспорта"}, {"MOL:PASPNUMBER", "Номер паспорта"},
        {"MOL:PASPDATE", "Дата выдачи паспорта"}, {"MOL:PASPOTDEL", "Кем выдан паспорт"},
        {"MOL:BDATE", "Дата рождения"},    {"MOL:NDATE", "Дата найма"},
        {"MOL:SALARY", "Зарплата"},        {"MOL:STAVKA", "Ставка"},
        {"MOL:PHOTO", "Фотография"},       {"MOL:SIGNATURE", "Подпись"},
        {"MOL:SNDFILE", "Приветствие"},    {"MOL:NOTE", "Примечание"},
    };
    return fields;
}

std::string employeeFieldText(const storage::Record& employee, const char* field) {
    if (isDate(field)) {
        static const platform::Picture date("@d6.");
        const std::int64_t day = employee.getInt(field);
        return day ? platform::format(date, day) : std::string();
    }
    return std::string(platform::clip(*employee.value(field)));
}

std::vector<storage::Record> employeeChanges(int request, const storage::Record& before,
                                             const storage::Record& after, const storage::Record& logEntry) {
    std::vector<storage::Record> changes;
    int number = 0;
    for (const JournaledField& one : journaledEmployeeFields()) {
        const std::string old = employeeFieldText(before, one.field);
        const std::string now = employeeFieldText(after, one.field);
        const bool password = std::string(one.field) == kPassword;
        std::string from, to;
        if (request == framework::kRequestInsert) {
            if (!filled(now)) continue;
            to = password ? ru("задан") : now;
        } else if (request == framework::kRequestChange) {
            if (old == now) continue;
            if (password) {
                to = ru("изменён");
            } else {
                from = old;
                to = now;
            }
        } else {
            if (password || !filled(old)) continue;
            from = old;
        }
        changes.push_back(changeRecord(logEntry, ++number, ru(one.label), from, to));
    }
    return changes;
}

void takeFreeLogMoment(storage::Record& logEntry) {
    storage::DataFile& log = accessFiles().molLog;
    const storage::Record saved = log.record();
    const storage::DataFile::Current current = log.current();
    for (int tries = 0; tries < 1000; ++tries) {
        log.record() = logEntry;
        if (log.get(*log.layout().key("SCODE_KEY")) != storage::error::kNone) break;
        logEntry.setInt("MLO:TIME", logEntry.getInt("MLO:TIME") + 1);
    }
    log.record() = saved;
    log.restoreCurrent(current);
}

int addEmployeeChange(const storage::Record& change) {
    storage::DataFile& file = accessFiles().molChange;
    const storage::Record saved = file.record();
    file.record() = change;
    int code;
    for (;;) {
        file.clearCurrent();
        code = file.add();
        if (code != storage::error::kDuplicateKey || file.record().getInt("MCH:NUMBER") >= 65535) break;
        file.record().setInt("MCH:NUMBER", file.record().getInt("MCH:NUMBER") + 1);
    }
    file.record() = saved;
    return code;
}

std::string changesOfEntry(const storage::Record& logEntry) {
    storage::DataFile& file = accessFiles().molChange;
    const storage::Record saved = file.record();
    storage::Record& key = file.record();
    key.clear();
    key.setInt("MCH:SCODE", logEntry.getInt("MLO:SCODE"));
    key.setInt("MCH:DATE", logEntry.getInt("MLO:DATE"));
    key.setInt("MCH:TIME", logEntry.getInt("MLO:TIME"));
    std::string text;
    int code = file.setToValue(*file.layout().key("ENTRY_KEY"));
    while (code == storage::error::kNone && (code = file.next()) == storage::error::kNone) {
        const storage::Record& change = file.record();
        if (change.getInt("MCH:SCODE") != logEntry.getInt("MLO:SCODE") ||
            change.getInt("MCH:DATE") != logEntry.getInt("MLO:DATE") ||
            change.getInt("MCH:TIME") != logEntry.getInt("MLO:TIME"))
            break;
        const std::string from = clipped(change, "MCH:OLDVALUE"), to = clipped(change, "MCH:NEWVALUE");
        if (!text.empty()) text += "; ";
        text += clipped(change, "MCH:LABEL") + ": ";
        if (!from.empty() && !to.empty())
            text += from + " -> " + to;
        else if (!to.empty())
            text += to;
        else if (!from.empty())
            text += from + ru(" -> (пусто)");
        else
            text += ru("(пусто)");
    }
    file.record() = saved;
    return text;
}

}  // namespace dostup
