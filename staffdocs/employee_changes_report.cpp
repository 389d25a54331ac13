#include "staffdocs/employee_changes_report.h"

#include "access/access_files.h"
#include "access/employee_names.h"
#include "platform/cp1251.h"
#include "platform/picture.h"
#include "staffdocs/report_context.h"
#include "storage/data_file.h"

namespace staffdocs {

namespace {

using namespace layout_parts;
using platform::ru;


dostup::AccessFiles& files() { return dostup::accessFiles(); }

r::ValueGetter changeText(const char* field) {
    return [field] { return r::Value{std::string(platform::clip(files().molChange.record().getText(field)))}; };
}

// A record of another file read by key into its buffer and put back after:
// the text `make` builds from it, or empty when there is none.
template <typename Make>
std::string lookUp(storage::DataFile& file, const char* key, const std::map<const char*, std::int64_t>& values,
                   Make make) {
    const storage::Record saved = file.record();
    file.record().clear();
    for (const auto& [field, value] : values) file.record().setInt(field, value);
    std::string text;
    if (file.get(*file.layout().key(key)) == storage::error::kNone) text = make(file.record());
    file.record() = saved;
    return text;
}

}  // namespace

const std::string& EmployeeChangesContext::headingOfCurrent() {
    const storage::Record& change = files().molChange.record();
    const std::int64_t code = change.getInt("MCH:SCODE"), date = change.getInt("MCH:DATE"),
                       time = change.getInt("MCH:TIME");
    auto found = headings.find({code, date, time});
    if (found != headings.end()) return found->second;
    static const platform::Picture day("@d6."), clock("@t4");
    std::string text = platform::format(day, date) + " " + platform::format(clock, time) + ru("  сотрудник ") +
                       std::to_string(code);
    text += " " + lookUp(files().mod, "SCODE_KEY", {{"MOD:SCODE", code}}, [](const storage::Record& employee) {
        return dostup::surnameWithInitials(employee.getText("MOD:LNAME"), employee.getText("MOD:FNAME"));
    });
    text += lookUp(files().molLog, "SCODE_KEY", {{"MLO:SCODE", code}, {"MLO:DATE", date}, {"MLO:TIME", time}},
                   [](const storage::Record& entry) {
                       return "  " + std::string(platform::clip(entry.getText("MLO:OPERATION"))) +
                              ru(", оператор ") + std::to_string(entry.getInt("MLO:OPERATOR"));
                   });
    return headings.emplace(std::tuple{code, date, time}, text).first->second;
}

framework::ReportDefinition employeeChangesReport(EmployeeChangesContext& context, const std::string& subtitle) {
    framework::ReportDefinition report;
    report.layout.name = ru("Изменения сотрудников");
    report.layout.font = r::Font{"Arial Cyr", 8};
    report.cycle.secondText = ru("Изменения сотрудников");
    r::Band header;
    header.height = 24;
    header.items = {
        r::text({0, 0, kJournalBodyWidth - 40, 7}, ru("Изменения сотрудников")).withFont(kJournalTitleFont),
        r::text({0, 8, kJournalBodyWidth - 40, 5}, subtitle),
        r::pageNumber({kJournalBodyWidth - 40, 0, 40, 5}, ru("pСтраница <<#p"), r::Align::Right),
        r::line({0, 16, kJournalBodyWidth, 0}),
        label({0, 16.8, 50, 5}, "Поле").withFont(kJournalHeadingFont),
        label({51, 16.8, 66, 5}, "Было").withFont(kJournalHeadingFont),
        label({118, 16.8, 67, 5}, "Стало").withFont(kJournalHeadingFont),
        r::line({0, 22, kJournalBodyWidth, 0}),
    };
    report.layout.pageHeader = header;

    r::Group entry;
    entry.key = [] {
        const storage::Record& change = files().molChange.record();
        return r::Value{std::to_string(change.getInt("MCH:SCODE")) + ":" + std::to_string(change.getInt("MCH:DATE")) +
                        ":" + std::to_string(change.getInt("MCH:TIME"))};
    };
    entry.header.height = 7;
    entry.header.items = {r::field({0, 1.5, kJournalBodyWidth, 5}, "s120", [&context] {
                              return r::Value{context.headingOfCurrent()};
                          }).withFont(kJournalHeadingFont)};
    entry.repeatHeader = true;
    report.layout.groups = {entry};
    report.layout.detail.height = kJournalLine;
    report.layout.detail.items = {
        r::field({0, 0, 50, kJournalLine}, "s30", changeText("MCH:LABEL")),
        r::field({51, 0, 66, kJournalLine}, "s200", changeText("MCH:OLDVALUE")),
        r::field({118, 0, 67, kJournalLine}, "s200", changeText("MCH:NEWVALUE")),
    };
    return report;
}

bool changeWanted(std::optional<std::uint16_t> employee, std::int32_t from, std::int32_t to) {
    const storage::Record& change = files().molChange.record();
    if (employee && change.getInt("MCH:SCODE") != *employee) return false;
    const std::int64_t day = change.getInt("MCH:DATE");
    return (!from || day >= from) && (!to || day <= to);
}

}  // namespace staffdocs
