#include "staff/d_mol_form.h"

#include "access/access_files.h"
#include "framework/file_access.h"
#include "framework/form/form_engine.h"
#include "framework/form/form_view.h"
#include "framework/shared_state.h"
#include "framework/standard_messages.h"
#include "platform/cp1251.h"
#include "platform/dates.h"
#include "platform/user_services.h"
#include "access/employee_changes.h"
#include "access/employee_log.h"
#include "staff/d_mollog.h"
#include "storage/data_file.h"

#include <memory>
#include <optional>
#include <tuple>
#include <vector>

namespace staff {

namespace {

using platform::ru;
using framework::form::FieldControl;
using framework::form::FormEngine;
using framework::form::FormField;
using Choices = std::vector<std::pair<std::string, std::string>>;

dostup::AccessFiles& files() { return dostup::accessFiles(); }

std::string& superior() {
    static std::string name;
    return name;
}

// The files the form uses besides MOL, taken while its declaration lives.
class FilesInUse {
public:
    FilesInUse() {
        for (storage::DataFile* file : held()) framework::useFile(*file);
    }
    ~FilesInUse() {
        for (storage::DataFile* file : held()) framework::releaseFile(*file);
    }
    FilesInUse(const FilesInUse&) = delete;
    FilesInUse& operator=(const FilesInUse&) = delete;

private:
    static std::vector<storage::DataFile*> held() {
        return {&files().katMol, &files().mod, &files().molLog, &files().otdMol};
    }
};

std::string employeeValue(const char* name) { return *files().mol.record().value(name); }

// Fetches a record by its one-field key into the buffer; clears it when missing.
bool fetch(storage::DataFile& file, const char* field, const std::string& value, const char* key) {
    file.record().clear();
    file.record().setValue(field, value);
    if (file.get(*file.layout().key(key)) == storage::error::kNone) return true;
    file.record().clear();
    return false;
}

// The superior: MOD by MOL:BOSS, name "surname first names" cut to 40.
bool showSuperior() {
    const bool found = fetch(files().mod, "MOD:SCODE", employeeValue("MOL:BOSS"), "SCODE_KEY");
    std::string name = std::string(platform::clip(*files().mod.record().value("MOD:LNAME"))) + " " +
                       std::string(*files().mod.record().value("MOD:FNAME"));
    name = std::string(platform::clip(name));
    if (name.size() > 40) name.resize(40);
    superior() = name;
    return found;
}

// The rows of a drop list: the whole file in key order, code and name.
Choices choicesOf(storage::DataFile& file, const char* key, const char* code, const char* name,
                  bool centred) {
    Choices rows;
    file.set(*file.layout().key(key));
    int rc = 0;
    while ((rc = file.next()) == storage::error::kNone) {
        const std::string id = *file.record().value(code);
        std::string shown = id.size() < 2 ? (centred ? id + " " : " " + id) : id;
        if (centred && id.size() < 2) shown = " " + id;
        rows.emplace_back(id, shown + "  " + std::string(platform::clip(*file.record().value(name))));
    }
    if (rc != storage::error::kRecordNotAvailable)
        framework::standardMessage(35, file.label(), file.lastError());
    return rows;
}

const char* const kPictureFilter =
    "Все файлы|*.*|БМП-шки|*.bmp|Формат PCX|*.pcx|Формат GIF|*.gif|Формат JPG|*.jpg|Иконки|*.ico|"
    "Метафайлы|*.wmf|";

FormField entry(int id, const char* field, const char* picture, const char* prompt, const char* tab,
                const char* tip = "") {
    FormField f{id, field, picture, ru(prompt), ru(tip)};
    f.tab = ru(tab);
    return f;
}

FormField shown(int id, const char* tab, std::function<std::string()> text) {
    FormField f{id, "", "s40", "", ""};
    f.control = FieldControl::Display;
    f.tab = ru(tab);
    f.beside = true;
    f.shown = std::move(text);
    return f;
}

FormField button(int id, const char* tab, const char* tip) {
    FormField f{id, "", "", "...", ru(tip)};
    f.control = FieldControl::Button;
    f.tab = ru(tab);
    f.beside = true;
    return f;
}

FormField dropList(int id, const char* field, const char* prompt, const char* tab, const char* tip,
                   std::function<Choices()> choices) {
    FormField f = entry(id, field, "", prompt, tab, tip);
    f.control = FieldControl::DropList;
    f.choices = std::move(choices);
    return f;
}

void setEmployee(const char* name, const std::string& value) { files().mol.record().setValue(name, value); }

// MOL_S for the superior, keeping the edited record and its place in the file.
void pickSuperior(FormEngine& engine, const EmployeeFormCallouts& callouts) {
    if (!callouts.pickEmployee) return;
    storage::DataFile& mol = files().mol;
    const storage::Record edited = mol.record();
    // The watch armed when the form read its record stays as it was: the
    // look-up must not make another station's change look like the form's own.
    const storage::DataFile::Current current = mol.current();
    const std::uint16_t picked = callouts.pickEmployee();
    mol.restoreCurrent(current);
    mol.record() = edited;
    if (picked != 0) {
        setEmployee("MOL:BOSS", std::to_string(picked));
        showSuperior();
    }
    engine.view().showRecord();
}

// A file dialogue into a file-name field; a chosen picture is drawn at once.
void chooseFile(FormEngine& engine, const char* field, const char* title, const char* filter) {
    const std::optional<std::string> chosen = platform::userServices().fileDialog({ru(title), ru(filter), {}});
    if (!chosen || chosen->empty()) return;
    setEmployee(field, *chosen);
    engine.view().showRecord();
}

}  // namespace

const std::string& superiorName() { return superior(); }

framework::form::FormDefinition employeeForm(EmployeeFormCallouts callouts) {
    namespace ef = employee_form;
    auto held = std::make_shared<FilesInUse>();
    const char* person = " &Сотрудник";
    const char* phones = " &Телефоны ";
    const char* address = " &Адрес";
    const char* other = " &Прочее";
    // An operator who may not open the categories does not see the logins.
    const bool loginsHidden = (framework::rightsOf("KatMOL") & 1) != 0;

    framework::form::FormDefinition form;
    form.file = &files().mol;
    form.accessObject = "MOL";
    form.actions = {ru("Новая запись"), ru("Изменение записи"), ru("Удаление записи")};
    form.namingField = "MOL:LNAME";
    form.fields = {
        entry(ef::kCode, "MOL:SCODE", "n3", "Личный Код:", person, "Код Оператора"),
        entry(ef::kSurname, "MOL:LNAME", "s25", "Фамилия:", person),
        entry(ef::kFirstNames, "MOL:FNAME", "s40", "Имя, отчество:", person),
        entry(ef::kLogin, "MOL:LOGIN", "s20", "Логин:", person, "Регистрационное имя (ЛОГИН)"),
        entry(ef::kPassword, "MOL:PASSWORD", "s16", "Пароль:", person),
        dropList(ef::kDepartment, "MOL:OTD_ID", "Подразделение:", person, "Выбор Подразделения",
                 [held] { return choicesOf(files().otdMol, "ID_KEY", "OMO:OTD_ID", "OMO:NAME", false); }),
        shown(ef::kDepartmentName, person, [] {
            fetch(files().otdMol, "OMO:OTD_ID", employeeValue("MOL:OTD_ID"), "ID_KEY");
            return *files().otdMol.record().value("OMO:NAME");
        }),
        entry(ef::kTitle, "MOL:TITLE", "s40", "Должность:", person),
        entry(ef::kBoss, "MOL:BOSS", "n3", "Руководитель:", person),
        button(ef::kBossButton, person, "Выбор Руководителя"),
        shown(ef::kBossName, person, [] { return superior(); }),
        dropList(ef::kCategory, "MOL:KATEGCODE", "Категория:", person, "Выбор Категории Доступа сотрудника",
                 [held] { return choicesOf(files().katMol, "CODE_KEY", "KTM:COD", "KTM:KATEG", true); }),
        shown(ef::kCategoryName, person, [] {
            fetch(files().katMol, "KTM:COD", employeeValue("MOL:KATEGCODE"), "CODE_KEY");
            return *files().katMol.record().value("KTM:KATEG");
        }),
        entry(14, "MOL:TABNUM", "s20", "Табельный №:", person),
        entry(15, "MOL:BPHONE", "s15", "Рабочий:", phones),
        entry(16, "MOL:HPHONE", "s15", "Домашний:", phones),
        entry(17, "MOL:CPHONE", "s15", "Мобильный:", phones),
        entry(18, "MOL:FPHONE", "s15", "Факс:", phones),
        entry(19, "MOL:PHONE5DEC", "s8", "", phones, "Описание телефона 5"),
        entry(20, "MOL:PHONE5", "s15", "", phones, "Телефон 5"),
        entry(21, "MOL:EMALE", "s50", "E-Mail:", phones),
        entry(22, "MOL:ICQ", "s20", "Код ICQ:", phones),
        entry(23, "MOL:SUPRUG", "s50", "Супруг:", phones),
        entry(24, "MOL:SUPRUGPHONE", "s40", "Телефон супруга:", phones),
        entry(25, "MOL:CITY", "s20", "Город:", address),
        entry(26, "MOL:POSTINDEX", "s6", "Индекс:", address),
        entry(27, "MOL:ADRESS1", "s40", "Адрес:", address),
        entry(28, "MOL:ADRESS2", "s40", "", address),
        entry(29, "MOL:PASPSER", "s15", "Серия:", address),
        entry(30, "MOL:PASPNUMBER", "s15", "Номер:", address),
        entry(31, "MOL:PASPDATE", "d5.", "Дата выдачи:", address),
        entry(32, "MOL:PASPOTDEL", "s40", "Кем выдан:", address),
        entry(33, "MOL:BDATE", "d5.", "Дата рождения:", other),
        entry(34, "MOL:NDATE", "d5.", "Дата найма:", other),
        entry(35, "MOL:SALARY", "n12.2", "Зарплата:", other),
        entry(36, "MOL:STAVKA", "n12.2", "Ставка:", other),
        entry(ef::kPhotoFile, "MOL:PHOTO", "s35", "Фотография:", other),
        button(ef::kPhotoButton, other, "Выбор файла фотографии"),
        entry(ef::kSignatureFile, "MOL:SIGNATURE", "s50", "Подпись:", other),
        button(ef::kSignatureButton, other, "Выбор файла Подписи"),
        entry(ef::kSoundFile, "MOL:SNDFILE", "s48", "Приветствие:", other),
        button(ef::kSoundButton, other, "Выбор звукового файла"),
        entry(43, "MOL:NOTE", "s200", "Примечание:", other),
        entry(ef::kChanged, "MOL:CHDATE", "d5.", "Изменено:", other, "Дата последнего изменения"),
    };
    for (FormField& field : form.fields) {
        if (field.entry >= 15 && field.entry <= 24) field.group = ru(" Телефоны ");
        if (field.entry >= 25 && field.entry <= 28) field.group = ru(" Адрес ");
        if (field.entry >= 29 && field.entry <= 32) field.group = ru(" Паспорт ");
        if (field.entry == 20) field.beside = true;
        if (field.entry == ef::kChanged) field.control = FieldControl::Display;
        if (field.entry == ef::kLogin) field.visible = [loginsHidden] { return !loginsHidden; };
        // A password is never shown, and only an operator who may change the
        // rights may set one.
        if (field.entry == ef::kPassword) {
            field.secret = true;
            field.editable = [] { return (framework::rightsOf("Dostup") & framework::kForbidChange) == 0; };
        }
    }
    FormField photo{ef::kPhoto, "MOL:PHOTO", "150x180", "", ""};
    photo.control = FieldControl::Image;
    photo.shown = [] { return employeeValue("MOL:PHOTO"); };
    FormField signature{ef::kSignature, "MOL:SIGNATURE", "150x60", "", ""};
    signature.control = FieldControl::Image;
    signature.shown = [] { return employeeValue("MOL:SIGNATURE"); };
    signature.beside = true;
    form.fields.push_back(photo);
    form.fields.push_back(signature);

    form.lists = {{ef::kLog, ru(" &Операции"),
                   [callouts] { return employeeLog(callouts.logEntryForm); }, false}};
    form.buttons.ok = ru("Записать");
    form.buttons.okTip = ru("Запись изменений в базу и Выход");
    form.buttons.cancel = ru("Отменить");
    form.buttons.cancelTip = ru("Выход без записи в базу");
    form.buttons.helpTip = ru("Вызов Помощи");
    form.numberedKey = "MOL:SCODE_KEY";
    // A code that change-log entries still carry belongs to the employee who had
    // it: a new employee is numbered above it.
    form.numberedAbove = [held] { return dostup::highestLoggedEmployee(); };
    form.numberedLimit = dostup::kHighestEmployeeCode;
    // Every completed request leaves its entry in the change log, a change that
    // altered nothing too; the employee and the entry are one write.
    form.journal.file = &files().molLog;
    form.journal.entry = [](int request, const storage::Record&) -> std::optional<storage::Record> {
        const char* operation = request == framework::kRequestInsert   ? "Добавление"
                                : request == framework::kRequestChange ? "Изменение"
                                                                       : "Удаление";
        storage::Record entry = dostup::employeeLogEntry(ru(operation));
        // Its changed fields are kept under the key the entry is stored with.
        dostup::takeFreeLogMoment(entry);
        return entry;
    };
    form.journal.add = dostup::addLogEntry;
    // Beside the entry, each field the request altered, old and new.
    form.journal.details = {&files().molChange,
                            [](int request, const storage::Record& before, const storage::Record& entry) {
                                return dostup::employeeChanges(request, before, files().mol.record(), entry);
                            },
                            dostup::addEmployeeChange};
    form.duplicateKeys = {{"MOL:SCODE_KEY", "SCode"}};
    form.dittoKey = framework::form::kDittoKeyCtrlAltH;
    form.section = "MOL_u";
    form.helpTopic = "Sprav\\MOL";

    form.hooks.prime = [](FormEngine&) {
        setEmployee("MOL:OTD_ID", *files().otdMol.record().value("OMO:OTD_ID"));
    };
    form.hooks.opened = [](FormEngine& engine) {
        // An empty drop-list file leaves its field at 0.
        for (auto [file, key, field] :
             {std::tuple{&files().otdMol, "ID_KEY", "MOL:OTD_ID"}, std::tuple{&files().katMol, "CODE_KEY", "MOL:KATEGCODE"}}) {
            file->set(*file->layout().key(key));
            if (file->next() != storage::error::kNone) setEmployee(field, "0");
        }
        showSuperior();
        engine.redisplay();
    };
    form.hooks.beforeFieldCheck = [](FormEngine&) {
        files().mol.record().setInt("MOL:CHDATE", platform::today());
    };
    // A superior code that names nobody keeps the code and the name shown.
    form.hooks.accepted = [](FormEngine& engine, int control) {
        if (control != ef::kBoss) return;
        const std::string before = superior();
        if (!showSuperior()) {
            superior() = before;
            platform::messageBox(ru("Нет такого !"), ru(" Ошибка"), platform::Icon::Information);
        }
        engine.view().showRecord();
    };
    form.hooks.control = [callouts](FormEngine& engine, int control) {
        switch (control) {
            case ef::kBossButton: pickSuperior(engine, callouts); break;
            case ef::kPhotoButton:
                chooseFile(engine, "MOL:PHOTO", "  Выбор Файла Фотографии", kPictureFilter);
                break;
            case ef::kSignatureButton:
                chooseFile(engine, "MOL:SIGNATURE", "  Выбор Файла Подписи", kPictureFilter);
                break;
            case ef::kSoundButton:
                chooseFile(engine, "MOL:SNDFILE", "  Выбор Файла Звука", "Все файлы|*.*|Формат WAV|*.wav");
                break;
            default: break;
        }
    };
    return form;
}

}  // namespace staff
