#include "staffdocs/rights_reports.h"

#include "access/access_files.h"
#include "access/employee_names.h"
#include "access/rights.h"
#include "framework/data_file_source.h"
#include "framework/file_access.h"
#include "framework/shared_state.h"
#include "platform/cp1251.h"
#include "staff/d_rights_inspector.h"
#include "staffdocs/employee_changes_report.h"
#include "staffdocs/report_context.h"
#include "storage/data_file.h"

#include <strings.h>

#include <algorithm>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace staffdocs {

namespace {

using namespace layout_parts;
using platform::ru;

// The seven bans above their marks, in the inspector's order.
const char* const kMarkHeadings[] = {"Дост.", "Доб.", "Изм.", "Удал.", "Печ.", "Утв.", "Разут."};

dostup::AccessFiles& files() { return dostup::accessFiles(); }

r::ValueGetter textField(storage::DataFile& file, const char* field) {
    return [&file, field] { return r::Value{std::string(platform::clip(file.record().getText(field)))}; };
}
r::ValueGetter numberField(storage::DataFile& file, const char* field) {
    return [&file, field] { return r::Value{file.record().getInt(field)}; };
}

// Title, subtitle, page number and the column headings between two rules.
r::Band pageHeader(const std::string& title, const std::string& subtitle, std::vector<r::Item> headings) {
    r::Band band;
    band.height = 24;
    band.items = {
        r::text({0, 0, kJournalBodyWidth - 40, 7}, title).withFont(kJournalTitleFont),
        r::text({0, 8, kJournalBodyWidth - 40, 5}, subtitle),
        r::pageNumber({kJournalBodyWidth - 40, 0, 40, 5}, ru("pСтраница <<#p"), r::Align::Right),
        r::line({0, 16, kJournalBodyWidth, 0}),
        r::line({0, 22, kJournalBodyWidth, 0}),
    };
    for (r::Item& heading : headings) {
        heading.box.y = 16.8;
        heading.box.height = 5;
        band.items.push_back(heading.withFont(kJournalHeadingFont));
    }
    return band;
}

// ---- The journal ----------------------------------------------------------

framework::ReportDefinition rightsLogReport(const std::string& subtitle) {
    storage::DataFile& log = files().rightsLog;
    framework::ReportDefinition report;
    report.layout.name = ru("Журнал изменений прав");
    report.layout.font = r::Font{"Arial Cyr", 7};
    report.cycle.secondText = ru("Журнал изменений прав");
    report.layout.pageHeader = pageHeader(ru("Журнал изменений прав"), subtitle,
                                          {label({0, 0, 18, 0}, "Дата"), label({19, 0, 14, 0}, "Время"),
                                           label({34, 0, 12, 0}, "Опер."), label({47, 0, 34, 0}, "Категория"),
                                           label({82, 0, 34, 0}, "Объект"), label({117, 0, 55, 0}, "Действие"),
                                           label({173, 0, 12, 0}, "Раз", r::Align::Right)});
    // The old and the new value each on a line of their own, at their full 80
    // characters.
    report.layout.detail.height = 3 * kJournalLine + 1;
    report.layout.detail.items = {
        r::field({0, 0, 18, kJournalLine}, "d6.", numberField(log, "RLG:DATE")),
        r::field({19, 0, 14, kJournalLine}, "t4", numberField(log, "RLG:TIME")),
        r::field({34, 0, 12, kJournalLine}, "n3", numberField(log, "RLG:OPERATOR")),
        r::field({47, 0, 34, kJournalLine}, "s20", textField(log, "RLG:KATEG")),
        r::field({82, 0, 34, kJournalLine}, "s20", textField(log, "RLG:OBOZN")),
        r::field({117, 0, 55, kJournalLine}, "s40", textField(log, "RLG:ACTION")),
        r::field({173, 0, 12, kJournalLine}, "n5b", numberField(log, "RLG:COUNT"), r::Align::Right),
        label({19, kJournalLine, 14, kJournalLine}, "Было:"),
        r::field({34, kJournalLine, 151, kJournalLine}, "s80", textField(log, "RLG:OLDVALUE")),
        label({19, 2 * kJournalLine, 14, kJournalLine}, "Стало:"),
        r::field({34, 2 * kJournalLine, 151, kJournalLine}, "s80", textField(log, "RLG:NEWVALUE")),
        r::line({0, 3 * kJournalLine + 0.5, kJournalBodyWidth, 0}),
    };
    return report;
}

// ---- The rights -------------------------------------------------------------

struct Category {
    std::int16_t code;
    std::string name;
};

// The objects in designation order once per category: the records of the
// matrix. The category's row of the object is read into the Dostup buffer
// before its line prints.
class MatrixSource : public framework::RecordSource {
public:
    explicit MatrixSource(std::vector<Category> categories) : categories_(std::move(categories)) {}

    std::string label() const override { return "Object"; }
    std::int64_t count() override {
        return static_cast<std::int64_t>(categories_.size()) * objects_.count();
    }
    void setQuickScan(bool on) override { files().object.setQuickScan(on); }
    int start() override {
        index_ = 0;
        return objects_.start();
    }
    int next() override {
        while (index_ < categories_.size()) {
            const int code = objects_.next();
            if (code != storage::error::kRecordNotAvailable) return code;
            if (++index_ == categories_.size()) break;
            if (const int restart = objects_.start()) return restart;
        }
        return storage::error::kRecordNotAvailable;
    }
    storage::ErrorState lastError() const override { return objects_.lastError(); }
    const Category& category() const { return categories_[std::min(index_, categories_.size() - 1)]; }

private:
    std::vector<Category> categories_;
    std::size_t index_ = 0;
    framework::DataFileSource objects_{files().object, files().object.layout().key("OBOZN_KEY")};
};

struct MatrixState {
    std::unique_ptr<MatrixSource> source;
    staff::InspectedRights rights;
};

framework::ReportDefinition rightsReport(MatrixState& state, const std::string& subtitle) {
    storage::DataFile& object = files().object;
    framework::ReportDefinition report;
    report.layout.name = ru("Права доступа");
    report.layout.font = r::Font{"Arial Cyr", 8};
    report.cycle.secondText = ru("Права доступа");
    std::vector<r::Item> headings = {label({0, 0, 30, 0}, "Обозначение"), label({31, 0, 58, 0}, "Наименование"),
                                     label({90, 0, 22, 0}, "Тип")};
    const double marksX = 113, markW = 9;
    for (std::size_t i = 0; i < staff::inspectedBans().size(); ++i) {
        // The bans' names shortened to fit above a mark.
        const std::string header = ru(kMarkHeadings[i]);
        headings.push_back(r::text({marksX + markW * static_cast<double>(i), 0, markW, 0}, header, r::Align::Center));
    }
    headings.push_back(label({marksX + markW * 7, 0, 9, 0}, "Стр."));
    report.layout.pageHeader = pageHeader(ru("Права доступа"), subtitle, std::move(headings));

    r::Group group;
    group.key = [&state] { return r::Value{std::int64_t{state.source->category().code}}; };
    group.header.height = 7;
    group.repeatHeader = true;
    group.header.items = {r::field({0, 1.5, kJournalBodyWidth, 5}, "s60", [&state] {
                              const Category& c = state.source->category();
                              return r::Value{ru("Категория ") + std::to_string(c.code) + " " + c.name};
                          }).withFont(kJournalHeadingFont)};
    report.layout.groups = {group};
    report.cycle.beforeDetail = [&state, &object] {
        state.rights = staff::inspectRights(state.source->category().code,
                                            static_cast<std::uint16_t>(object.record().getInt("OBJ:ID")));
    };
    report.layout.detail.height = kJournalLine;
    report.layout.detail.items = {
        r::field({0, 0, 30, kJournalLine}, "s20", textField(object, "OBJ:OBOZN")),
        r::field({31, 0, 58, kJournalLine}, "s50", textField(object, "OBJ:NAME")),
        r::field({90, 0, 22, kJournalLine}, "s16", textField(object, "OBJ:TYPE")),
    };
    for (std::size_t i = 0; i < staff::inspectedBans().size(); ++i) {
        const int bit = staff::inspectedBans()[i].bit;
        report.layout.detail.items.push_back(
            r::field({marksX + markW * static_cast<double>(i), 0, markW, kJournalLine}, "s1",
                     [&state, bit] { return r::Value{std::string(state.rights.mask & bit ? "X" : "")}; },
                     r::Align::Center));
    }
    report.layout.detail.items.push_back(r::field({marksX + markW * 7, 0, 9, kJournalLine}, "s4", [&state] {
        return r::Value{state.rights.hasRow ? ru("есть") : ru("нет")};
    }));
    return report;
}

// Category 0 (nobody logged in) first, then every category in code order.
std::vector<Category> allCategories() {
    std::vector<Category> categories = {{0, ru("(без регистрации)")}};
    storage::DataFile& katMol = files().katMol;
    katMol.set(*katMol.layout().key("CODE_KEY"));
    while (katMol.next() == storage::error::kNone) {
        const auto code = static_cast<std::int16_t>(katMol.record().getInt("KTM:COD"));
        if (code != 0) categories.push_back({code, std::string(platform::clip(katMol.record().getText("KTM:KATEG")))});
    }
    return categories;
}

std::string categoryName(std::int16_t code) {
    storage::DataFile& katMol = files().katMol;
    katMol.record().clear();
    katMol.record().setInt("KTM:COD", code);
    if (katMol.get(*katMol.layout().key("CODE_KEY")) != storage::error::kNone) return {};
    return std::string(platform::clip(katMol.record().getText("KTM:KATEG")));
}

std::string periodText(const staff::RightsLogFilter& filter) {
    std::string text;
    if (filter.from || filter.to) text += ru("Период отобран. ");
    if (filter.category) text += ru("Категория ") + std::to_string(*filter.category) + ". ";
    if (!filter.object.empty()) text += ru("Объект ") + filter.object + ". ";
    if (filter.operatorCode) text += ru("Оператор ") + std::to_string(*filter.operatorCode) + ".";
    return text.empty() ? ru("Все записи") : text;
}

int runEmployeeChanges(std::optional<std::uint16_t> employee, const staff::RightsLogFilter& filter,
                       const RightsRunner& runner) {
    storage::DataFile& changes = files().molChange;
    if (!framework::tryUseFile(changes)) return framework::kResponseCancelled;
    framework::FileUse log(files().molLog), employees(files().mod);  // the entries' headings
    std::string subtitle = ru("Все сотрудники");
    if (employee) {
        const std::optional<std::int16_t> category = dostup::readEmployeeCategory(*employee);
        if (category && files().mod.record().getInt("MOD:SCODE") != *employee) {
            framework::releaseFile(changes);
            return -2;  // nobody has the code
        }
        subtitle = ru("Сотрудник ") + std::to_string(*employee) + " " +
                   dostup::fullName(files().mod.record().getText("MOD:LNAME"), files().mod.record().getText("MOD:FNAME"));
    }
    EmployeeChangesContext context;
    const framework::ReportDefinition report = employeeChangesReport(context, subtitle);
    framework::DataFileSource source(changes, changes.layout().key("ENTRY_KEY"), [employee, &filter] {
        return changeWanted(employee, filter.from, filter.to);
    });
    const int result = runner(report, source);
    framework::releaseFile(changes);
    return result;
}

}  // namespace

std::optional<RightsDocument> findRightsDocument(std::string_view name) {
    for (auto [document, text] : {std::pair{RightsDocument::RightsLog, "RightsLog"},
                                  std::pair{RightsDocument::Rights, "Rights"},
                                  std::pair{RightsDocument::EmployeeChanges, "EmployeeChanges"}})
        if (std::string_view(text).size() == name.size() && strncasecmp(text, name.data(), name.size()) == 0)
            return document;
    return std::nullopt;
}

int runRightsDocument(RightsDocument document, std::optional<std::uint16_t> employee,
                      const staff::RightsLogFilter& filter, const RightsRunner& runner) {
    if (document == RightsDocument::RightsLog) {
        storage::DataFile& log = files().rightsLog;
        if (!framework::tryUseFile(log)) return framework::kResponseCancelled;
        const framework::ReportDefinition report = rightsLogReport(periodText(filter));
        framework::DataFileSource source(log, log.layout().key("DATE_KEY"),
                                         [&log, &filter] { return filter.accepts(log.record()); });
        const int result = runner(report, source);
        framework::releaseFile(log);
        return result;
    }
    if (document == RightsDocument::EmployeeChanges) return runEmployeeChanges(employee, filter, runner);
    framework::FileUse object(files().object), rights(files().dostup), katMol(files().katMol);
    std::vector<Category> categories;
    std::string subtitle;
    if (employee) {
        const std::optional<std::int16_t> category = dostup::readEmployeeCategory(*employee);
        if (!category) return framework::kResponseCancelled;
        const storage::Record& found = files().mod.record();
        if (found.getInt("MOD:SCODE") != *employee) return -2;  // nobody has the code
        categories = {{*category, categoryName(*category)}};
        subtitle = ru("Сотрудник ") + std::to_string(*employee) + " " +
                   dostup::fullName(found.getText("MOD:LNAME"), found.getText("MOD:FNAME"));
    } else {
        categories = allCategories();
        subtitle = ru("Все категории");
    }
    MatrixState state;
    state.source = std::make_unique<MatrixSource>(std::move(categories));
    const framework::ReportDefinition report = rightsReport(state, subtitle);
    return runner(report, *state.source);
}

int printRightsDocument(RightsDocument document, std::optional<std::uint16_t> employee,
                        const staff::RightsLogFilter& filter) {
    return runRightsDocument(document, employee, filter,
                             [](const framework::ReportDefinition& report, framework::RecordSource& source) {
                                 return framework::runReport(report, source);
                             });
}

}  // namespace staffdocs
