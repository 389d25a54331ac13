#include "staffdocs/staff_lists.h"

#include "platform/cp1251.h"

namespace staffdocs {

namespace {

using namespace layout_parts;
using platform::ru;

// A4 portrait, 185 mm between the margins.
constexpr double kBodyWidth = 185;
constexpr double kHeaderHeight = 30;
constexpr double kHeadingsTop = 23;
constexpr double kLineHeight = 5;
constexpr double kStatementRow = 8;  // room for a signature

const r::Font kTitleFont{"Arial Cyr", 14, true};
const r::Font kHeadingFont{"Arial Cyr", 9, true};
const r::Font kGroupFont{"Arial Cyr", 10, true};

// The page header of the three lists: logo, title, page number, the headings
// given (each its text and box) between two rules.
r::Band pageHeader(ReportContext& context, const char* title,
                   std::vector<r::Item> headings) {
    r::Band band;
    band.height = kHeaderHeight;
    band.items = {
        r::image({0, 0, 30, 15}, [&context] { return logoPath(context.requisites.logoFile); }),
        label({32, 3, kBodyWidth - 64, 8}, title, r::Align::Center).withFont(kTitleFont),
        r::pageNumber({kBodyWidth - 40, 15, 40, 5}, ru("pСтраница <<#p"), r::Align::Right),
        r::line({0, kHeadingsTop - 1, kBodyWidth, 0}),
        r::line({0, kHeadingsTop + 5.5, kBodyWidth, 0}),
    };
    for (r::Item& heading : headings) {
        heading.box.y = kHeadingsTop;
        heading.box.height = 5;
        band.items.push_back(heading.withFont(kHeadingFont));
    }
    return band;
}

void common(framework::ReportDefinition& report, ReportContext& context, const char* name) {
    report.layout.name = ru(name);
    report.layout.font = r::Font{"Arial Cyr", 9};
    report.cycle.secondText = ru("Список Сотрудников");
    report.cycle.fixedTotal = 500;
    report.cycle.beforeDetail = [&context] {
        context.values.lookUpDepartment();
        context.values.storeShortName();
    };
}

// Departments in MOL:OTD_KEY order: a group per department code, its header the
// department's name. An unknown code makes one group with an empty name.
r::Group departmentGroup(ReportContext& context) {
    r::Group group;
    group.key = [&context] { return r::Value{context.values.departmentCode()}; };
    group.header.height = 9;
    group.repeatHeader = true;  // a department that goes on over a page is named again
    group.header.items = {
        r::field({0, 2.5, 130, 6}, "s40", textOf(context.values.department()))
            .withFont(kGroupFont),
    };
    return group;
}

}  // namespace

framework::ReportDefinition staffListReport(ReportContext& context) {
    framework::ReportDefinition report;
    common(report, context, "Список сотрудников");
    report.layout.pageHeader = pageHeader(context, "Список сотрудников",
                                          {label({0, 0, 12, 0}, "Код", r::Align::Right),
                                           label({15, 0, 55, 0}, "Фамилия И.О."),
                                           label({72, 0, 30, 0}, "Телефон"),
                                           label({104, 0, 81, 0}, "Подразделение")});
    report.layout.detail.height = kLineHeight;
    report.layout.detail.items = {
        r::field({0, 0, 12, kLineHeight}, "n_4", molNumber(context, "MOL:SCODE")),
        r::field({15, 0, 55, kLineHeight}, "s30", molText(context, "MOL:LNAME")),
        r::field({72, 0, 30, kLineHeight}, "s15", molText(context, "MOL:BPHONE")),
        r::field({104, 0, 81, kLineHeight}, "s40", textOf(context.values.department())),
    };
    return report;
}

framework::ReportDefinition staffByDepartmentReport(ReportContext& context) {
    framework::ReportDefinition report;
    common(report, context, "Сотрудники по Подразделениям");
    report.layout.pageHeader = pageHeader(context, "Сотрудники по Подразделениям",
                                          {label({0, 0, 12, 0}, "Код", r::Align::Right),
                                           label({15, 0, 55, 0}, "Фамилия И.О."),
                                           label({72, 0, 113, 0}, "Должность")});
    report.layout.groups = {departmentGroup(context)};
    report.layout.detail.height = kLineHeight;
    report.layout.detail.items = {
        r::field({0, 0, 12, kLineHeight}, "n_4", molNumber(context, "MOL:SCODE")),
        r::field({15, 0, 55, kLineHeight}, "s30", molText(context, "MOL:LNAME")),
        r::field({72, 0, 113, kLineHeight}, "s40", molText(context, "MOL:TITLE")),
    };
    return report;
}

framework::ReportDefinition staffStatementReport(ReportContext& context) {
    // Columns: name, title, then the two cells left for the hand.
    constexpr double kNameW = 58, kTitleX = 58, kTitleW = 77, kGotX = 135, kGotW = 25,
                     kSignX = 160, kSignW = 25;
    framework::ReportDefinition report;
    common(report, context, "Ведомость сотрудников");
    report.layout.pageHeader = pageHeader(context, "Ведомость сотрудников",
                                          {label({1, 0, kNameW - 2, 0}, "Фамилия И.О."),
                                           label({kTitleX + 1, 0, kTitleW - 2, 0}, "Должность"),
                                           label({kGotX, 0, kGotW, 0}, "Получено", r::Align::Center),
                                           label({kSignX, 0, kSignW, 0}, "Подпись", r::Align::Center)});
    report.layout.groups = {departmentGroup(context)};
    report.layout.detail.height = kStatementRow;
    const double textTop = (kStatementRow - kLineHeight) / 2;
    report.layout.detail.items = {
        r::field({1, textTop, kNameW - 2, kLineHeight}, "s30", molText(context, "MOL:LNAME")),
        r::field({kTitleX + 1, textTop, kTitleW - 2, kLineHeight}, "s40",
                 molText(context, "MOL:TITLE")),
        r::frame({0, 0, kNameW, kStatementRow}),
        r::frame({kTitleX, 0, kTitleW, kStatementRow}),
        r::frame({kGotX, 0, kGotW, kStatementRow}),
        r::frame({kSignX, 0, kSignW, kStatementRow}),
    };
    return report;
}

}  // namespace staffdocs
