#include "staff/d_mol.h"

#include "access/access_files.h"
#include "access/dostup.h"
#include "framework/browse/browse_engine.h"
#include "framework/file_access.h"
#include "framework/record_binding.h"
#include "framework/shared_state.h"
#include "framework/standard_messages.h"
#include "platform/cp1251.h"
#include "platform/expression.h"
#include "platform/user_services.h"
#include "storage/data_file.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <unordered_map>
#include <vector>
#include <memory>
#include <optional>

namespace staff {

namespace {

using platform::ru;
using Side = framework::browse::CellAlignment::Side;
using Control = framework::browse::ListControl;
using framework::browse::BrowseEngine;

dostup::AccessFiles& files() { return dostup::accessFiles(); }

constexpr std::size_t kSearchLength = 30;
constexpr std::size_t kSurnameLength = 25;

// The lists' locals that rows carry: LOC:NAME, the full name (surname and
// first names, one blank between), and LOC:OTD_ID.
storage::DataFile& locals() {
    static const storage::RecordLayout layout = [] {
        storage::RecordLayout l("LOC", "LOC", "", "");
        l.string("NAME", 60).uint16("OTD_ID");
        return l;
    }();
    static storage::DataFile file(layout);
    return file;
}

// The departments and categories the list has read, by code: a page needs
// only a handful of them, so a row costs no keyed read once its department and
// category were met. A forced refresh (the window regained focus, a control
// of the list) reads them afresh. A list that closes hands what it read to the
// next one, which takes it only while the file stands as it stood when the
// first of those names was read (nothing written to it since, here or
// elsewhere): opening the list again reads no department twice.
class LookupCache {
public:
    LookupCache() = default;
    LookupCache(const LookupCache&) = delete;
    LookupCache& operator=(const LookupCache&) = delete;
    ~LookupCache() {
        for (auto& [file, known] : entries_)
            if (known.since) handedOver()[file] = std::move(known);
    }

    // Fetches `code` into the file's buffer by its key (cleared when missing).
    void fetch(storage::DataFile& file, const char* field, const char* key, std::int64_t code) {
        auto& codes = known(file).codes;
        const auto found = codes.find(code);
        if (found != codes.end()) {
            file.record().assign(found->second);
            return;
        }
        file.record().clear();
        file.record().setInt(file.layout().indexOf(field), code);
        if (file.get(*file.layout().key(key)) != storage::error::kNone) file.record().clear();
        codes.emplace(code, file.record().bytes());
    }
    void clear() { entries_.clear(); }

private:
    struct Known {
        std::optional<storage::ChangeStamp> since;  // the file before the first name was read
        std::unordered_map<std::int64_t, std::vector<std::uint8_t>> codes;
    };
    static std::map<const storage::DataFile*, Known>& handedOver() {
        static std::map<const storage::DataFile*, Known> names;
        return names;
    }
    Known& known(storage::DataFile& file) {
        const auto found = entries_.find(&file);
        if (found != entries_.end()) return found->second;
        Known& known = entries_[&file];
        known.since = file.changeStamp();
        const auto previous = handedOver().find(&file);
        if (previous != handedOver().end()) {
            if (known.since && previous->second.since == known.since) known = std::move(previous->second);
            handedOver().erase(previous);
        }
        return known;
    }

    std::map<const storage::DataFile*, Known> entries_;
};

// The employee's fields a row reads, by index.
struct EmployeeFields {
    std::size_t department, category, surname, firstNames;
    std::size_t fullName, listDepartment;  // LOC:NAME, LOC:OTD_ID
};

const EmployeeFields& employeeFields() {
    static const EmployeeFields fields = [] {
        const storage::RecordLayout& mol = files().mol.layout();
        const storage::RecordLayout& loc = locals().layout();
        return EmployeeFields{mol.indexOf("MOL:OTD_ID"), mol.indexOf("MOL:KATEGCODE"),
                              mol.indexOf("MOL:LNAME"), mol.indexOf("MOL:FNAME"),
                              loc.indexOf("LOC:NAME"), loc.indexOf("LOC:OTD_ID")};
    }();
    return fields;
}

// The department and the category of the employee just read, into the OtdMOL
// and KatMOL buffers (cleared when missing), and the full name.
void readRow(const storage::Record& employee, LookupCache& cache) {
    const EmployeeFields& f = employeeFields();
    cache.fetch(files().otdMol, "OMO:OTD_ID", "ID_KEY", employee.getInt(f.department));
    cache.fetch(files().katMol, "KTM:COD", "CODE_KEY", employee.getInt(f.category));
    std::string name(platform::clip(employee.getText(f.surname)));
    name += ' ';
    name += platform::clip(employee.getText(f.firstNames));
    storage::Record& loc = locals().record();
    loc.setText(f.fullName, name);
    loc.setInt(f.listDepartment, listDepartment());
}

// The files a list's rows read besides MOL, taken while the list lives. The
// change log is not among them: what uses it (a delete's check, the form, the
// log window) takes it itself.
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
        return {&files().katMol, &files().otdMol};
    }
};

// The saved filter, compiled once per expression: a row whose result is "0" is
// passed over; an expression that does not evaluate keeps every row.
class SavedFilter {
public:
    bool accepts(const storage::Record& row) {
        if (!G_FilterFlag) return true;
        const std::string text(platform::clip(std::string_view(G_FilterStr, strnlen(G_FilterStr, 200))));
        if (text.empty()) return true;
        if (text != compiledText_) {
            compiledText_ = text;
            expression_ = platform::Expression::compile(text);
        }
        binding_.rebind(row);
        const platform::ExpressionResult result = expression_.evaluate(names_);
        return !(result.ok() && platform::clip(result.text) == "0");
    }
    // The names the filter reads while it is on: the employee's fields among them
    // must be read with each row.
    std::vector<std::string> names() {
        if (!G_FilterFlag) return {};
        const std::string text(platform::clip(std::string_view(G_FilterStr, strnlen(G_FilterStr, 200))));
        if (text.empty()) return {};
        if (text != compiledText_) {
            compiledText_ = text;
            expression_ = platform::Expression::compile(text);
        }
        return expression_.names();
    }

private:
    std::string compiledText_;
    platform::Expression expression_;
    storage::Record blank_{files().mol.layout()};
    framework::RecordBinding binding_{blank_};
    framework::RecordBinding department_{files().otdMol.record()};
    framework::RecordBinding category_{files().katMol.record()};
    platform::ResolverChain names_{&binding_, &department_, &category_};
};

std::string filterExpression() {
    return std::string(platform::clip(std::string_view(G_FilterStr, strnlen(G_FilterStr, 200))));
}

// Switching the saved filter on: an expression that does not compile would
// show every employee under the filter's name, so the operator is told once
// and the filter stays off.
void switchFilter(bool on) {
    G_FilterFlag = 0;
    if (!on) return;
    const std::string expression = filterExpression();
    if (!expression.empty() && !platform::Expression::compile(expression).valid()) {
        platform::messageBox(ru("Фильтр \"") +
                                 std::string(platform::clip(std::string_view(G_FilterName, strnlen(G_FilterName, 100)))) +
                                 ru("\" не может быть применен: ошибка в выражении ") + expression,
                             ru(" Ошибка"), platform::Icon::Exclamation);
        return;
    }
    G_FilterFlag = 1;
}

void setText(char* target, std::size_t size, std::string_view text) {
    const std::size_t n = std::min(text.size(), size - 1);
    std::memcpy(target, text.data(), n);
    target[n] = '\0';
}

// The "expression|name" of FILTER_S: a text with "|" splits into the expression
// and the name (without trailing blanks); a text without it is the expression alone.
void takeFilter(const std::string& chosen) {
    std::string expression = chosen;
    const std::size_t bar = chosen.find('|');
    if (!chosen.empty() && bar != std::string::npos) {
        expression = chosen.substr(0, bar);
        setText(G_FilterName, sizeof G_FilterName, platform::clip(chosen.substr(bar + 1)));
    }
    setText(G_FilterStr, sizeof G_FilterStr, expression);
}

// The surname in the MOL buffer, for a locate on the first tab.
void putSurname(const std::string& text) {
    std::string surname = text.substr(0, std::min(text.size(), kSurnameLength));
    files().mol.record().clear();
    files().mol.record().setValue("MOL:LNAME", surname);
}

// The search entry completed: locate on it (first tab) and remember it.
void searchCompleted(BrowseEngine& list, const std::string& text, const EmployeeCallouts& callouts) {
    surnameSearch() = std::string(platform::clip(text.substr(0, std::min(text.size(), kSearchLength))));
    if (!surnameSearch().empty() && list.state().sortOrder <= 1) {
        putSurname(surnameSearch());
        list.locateOnValue();
    }
    if (callouts.putHistory) callouts.putHistory("MOL:LNAME", surnameSearch());
}

void historyPressed(BrowseEngine& list, const EmployeeCallouts& callouts) {
    if (!callouts.pickHistory) return;
    std::string chosen = callouts.pickHistory("MOL:LNAME");
    if (chosen.size() > 32) chosen.resize(32);
    if (chosen.empty()) return;
    putSurname(chosen);
    if (list.state().sortOrder <= 1) {
        surnameSearch() = std::string(platform::clip(chosen.substr(0, kSurnameLength)));
        list.locateOnValue();
    }
}

framework::browse::RangeDefinition departmentRange() {
    return {[] { return std::to_string(listDepartment()); }, "MOL:OTD_ID", "loc:Otd_ID",
            "MOL:Otd_ID = loc:Otd_ID"};
}

std::uint16_t departmentOf(const std::string& text) {
    const long value = std::strtol(text.c_str(), nullptr, 10);
    return static_cast<std::uint16_t>(std::clamp(value, 0L, 65535L));
}

// What both lists share: file, sorts, rows, search, history and tab change.
framework::browse::BrowseDefinition common(const EmployeeCallouts& callouts) {
    framework::browse::BrowseDefinition list{files().mol};
    list.sorts = {{"MOL:NAME_KEY", ru(" по &Фамилии "), "", {}, "(mol:SCode>0)"},
                  {"MOL:OTD_KEY", ru(" по &Подразделению "), "MOL:LNAME", departmentRange(),
                   "(mol:SCode>0)"}};
    list.carriedFields = {"MOL:SCODE", "MOL:OTD_ID", "MOL:LNAME", "MOL:KATEGCODE"};
    auto held = std::make_shared<FilesInUse>();
    auto cache = std::make_shared<LookupCache>();
    list.rowRead = [held, cache](const storage::Record& row) { readRow(row, *cache); };
    list.rowFields = std::vector<std::string>{"MOL:OTD_ID", "MOL:KATEGCODE", "MOL:LNAME", "MOL:FNAME"};
    list.forcedRefresh = [cache] { cache->clear(); };
    list.controls.resize(employee_list::kPickDepartment + 1);
    list.controls[employee_list::kSearch] = {
        Control::Kind::Entry, {ru("Поиск:"), ru("Фамилия  для поиска")}, 30, 1,
        [] { return surnameSearch(); },
        [callouts](BrowseEngine& engine, const std::string& text) { searchCompleted(engine, text, callouts); }};
    list.tabChanging = [](BrowseEngine& engine) {
        const std::string department = engine.highlighted("MOL:OTD_ID");
        if (!department.empty()) listDepartment() = departmentOf(department);
    };
    // On the first tab a typed character goes into the search entry.
    list.typed = [](BrowseEngine& engine, char typed) {
        if (engine.state().sortOrder > 1) return false;
        if (surnameSearch().size() < kSearchLength) surnameSearch().push_back(typed);
        return true;
    };
    list.helpTopic = "Sprav\\MOL.htm";
    list.popup = framework::browse::PopupMenuTexts::none();
    return list;
}

// The departments of the selection's drop list, read from OtdMOL in code order
// when the window opens: "code (2 digits) name". An empty file sets loc:Otd_ID
// to 0; a read error is reported naming OtdMOL and leaves the list empty.
std::vector<std::pair<std::string, std::string>> departmentChoices() {
    std::vector<std::pair<std::string, std::string>> rows;
    storage::DataFile& otd = files().otdMol;
    framework::useFile(otd);
    otd.set(*otd.layout().key("ID_KEY"));
    int code = 0;
    while ((code = otd.next()) == storage::error::kNone) {
        const std::string id = *otd.record().value("OMO:OTD_ID");
        std::string shown = id.size() < 2 ? std::string(2 - id.size(), ' ') + id : id;
        rows.emplace_back(id, shown + "  " + std::string(platform::clip(*otd.record().value("OMO:NAME"))));
    }
    if (code != storage::error::kRecordNotAvailable) framework::standardMessage(35, "OtdMOL", otd.lastError());
    framework::releaseFile(otd);
    if (rows.empty()) listDepartment() = 0;
    return rows;
}

}  // namespace

std::uint16_t& listDepartment() {
    static std::uint16_t department = 0;
    return department;
}

std::string& surnameSearch() {
    static std::string text;
    return text;
}

framework::browse::BrowseDefinition employeeList(EmployeeCallouts callouts) {
    namespace el = employee_list;
    G_FilterFlag = 0;
    framework::browse::BrowseDefinition list = common(callouts);
    list.columns = {
        {"LOC:NAME", ru("Фамилия Имя Отчество"), 111, "s40", {Side::Left, 2}, {Side::Left, 2}, &locals()},
        {"MOL:BPHONE", ru("Телефон"), 60, "s15", {Side::Left, 2}, {Side::Left, 2}},
        {"OMO:NAME", ru("Подразделение"), 82, "s60", {Side::Left, 2}, {Side::Left, 2}, &files().otdMol},
        {"KTM:KATEG", ru("Категория"), 80, "s20", {Side::Left, 2}, {Side::Left, 2}, &files().katMol},
    };
    list.title = ru("Справочник Сотрудников");
    list.accessObject = "MOL";
    list.personalData = true;
    list.refusals.changeCaption = ru(" Ошибка");
    list.refusals.change = ru("Изменение запрещено ");
    list.iniSection = "MOL_t";
    auto filter = std::make_shared<SavedFilter>();
    list.rowAccepted = [filter](const storage::Record& row) { return filter->accepts(row); };
    list.rowFieldsNow = [filter] { return filter->names(); };
    list.controls[el::kFilterOn] = {
        Control::Kind::Check, {ru(" Фильтр:"), ru("Включить/Выключить фильтр")}, 0, 0,
        [] { return std::string(G_FilterFlag ? "1" : "0"); },
        [](BrowseEngine& engine, const std::string& on) {
            switchFilter(on == "1");
            engine.forceRefresh();
        }};
    list.controls[el::kFilterName] = {
        Control::Kind::Display, {"", ru("Название фильтра")}, 30, 0,
        [] { return std::string(G_FilterName, strnlen(G_FilterName, 100)); }, {}};
    list.controls[el::kFilters] = {
        Control::Kind::Button, {ru("Фильтры"), ru("Список фильтров")}, 0, 0, {},
        [callouts](BrowseEngine& engine, const std::string&) {
            if (callouts.pickFilter) takeFilter(callouts.pickFilter("MOL_t"));
            if (G_FilterFlag) switchFilter(true);
            engine.forceRefresh();
        }};
    list.controls[el::kHistory] = {
        Control::Kind::Button, {ru("История"), ru("История ввода")}, 0, 1, {},
        [callouts](BrowseEngine& engine, const std::string&) { historyPressed(engine, callouts); }};
    list.controls[el::kDepartment] = {
        Control::Kind::Entry, {ru("Отдел:"), ru("Код отдела")}, 5, 2,
        [] { return std::to_string(listDepartment()); },
        [](BrowseEngine& engine, const std::string& text) {
            listDepartment() = departmentOf(text);
            engine.forceRefresh();
        }};
    list.controls[el::kPickDepartment] = {
        Control::Kind::Button, {ru("Выбрать"), ru("Выбрать подразделение")}, 0, 2, {},
        [callouts](BrowseEngine& engine, const std::string&) {
            const int request = framework::globalRequest();
            framework::globalRequest() = framework::kRequestSelect;
            if (callouts.pickDepartment) callouts.pickDepartment();
            framework::globalRequest() = request;
            listDepartment() = static_cast<std::uint16_t>(
                files().otdMol.record().getInt("OMO:OTD_ID"));
            engine.forceRefresh();
        }};
    list.extraButtons = {{{ru("Печатать"), {}},
                          [callouts](BrowseEngine& engine) {
                              engine.readHighlightedRecord();
                              if (callouts.print) callouts.print();
                              engine.refresh();
                          },
                          {}}};
    if (callouts.inspect)
        list.extraButtons.push_back({{ru("Права"), ru("Права сотрудника по объектам системы")},
                                     [callouts](BrowseEngine& engine) {
                                         if (engine.page().empty()) return;
                                         engine.readHighlightedRecord();
                                         callouts.inspect(static_cast<std::uint16_t>(
                                             files().mol.record().getInt("MOL:SCODE")));
                                         engine.refresh();
                                     },
                                     {}});
    // The form writes the change-log entry of every completed request itself,
    // in one write with the employee.
    list.updateForm = [callouts] {
        if (callouts.updateForm) callouts.updateForm();
    };
    return list;
}

framework::browse::BrowseDefinition employeeSelection(EmployeeCallouts callouts) {
    namespace el = employee_list;
    framework::browse::BrowseDefinition list = common(callouts);
    list.columns = {
        {"LOC:NAME", ru("Фамилия Имя Отчество"), 111, "s40", {Side::Left, 2}, {Side::Left, 2}, &locals()},
        {"OMO:NAME", ru("Подразделение"), 82, "s60", {Side::Left, 2}, {Side::Left, 2}, &files().otdMol},
        {"MOL:BPHONE", ru("Телефон"), 60, "s15", {Side::Left, 2}, {Side::Left, 2}},
        {"KTM:KATEG", ru("Категория"), 80, "s20", {Side::Left, 2}, {Side::Left, 2}, &files().katMol},
    };
    list.title = ru(" Выбор Сотрудника");
    list.iniSection = "MOL_";
    list.buttons = {false, false, false, true};
    list.labels.select = {ru("Выбрать"), ru("Выбрать Сотрудника")};
    list.labels.close = {ru("Выход"), ru("Выход из окна")};
    list.controls[el::kHistory] = {
        Control::Kind::Button, {ru("История"), ru("История ввода в поле")}, 0, 1, {},
        [callouts](BrowseEngine& engine, const std::string&) { historyPressed(engine, callouts); }};
    list.controls[el::kDepartment] = {
        Control::Kind::DropList, {"", ru("Выбор Подразделения")}, 40, 2,
        [] { return std::to_string(listDepartment()); },
        [](BrowseEngine& engine, const std::string& code) {
            listDepartment() = departmentOf(code);
            engine.forceRefresh();
        },
        [] { return departmentChoices(); }};
    return list;
}

}  // namespace staff
