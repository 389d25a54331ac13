#include "staffdocs/power_of_attorney.h"

#include "platform/cp1251.h"

namespace staffdocs {

namespace {

using namespace layout_parts;
using platform::ru;

constexpr double kWidth = 185;
constexpr double kPageBody = 276;
constexpr double kRow = 5;

const r::Font kNormal{"Arial Cyr", 9};
const r::Font kBold{"Arial Cyr", 9, true};
const r::Font kName{"Arial Cyr", 11, true};
const r::Font kTitle{"Arial Cyr", 14, true};
const r::Font kFilled{"Arial Cyr", 10, true};
const r::Font kCaption{"Arial Cyr", 6.5, false, true};

// A fixed row of dots for the hand, cut at its box.
std::string dots() {
    std::string row;
    for (int i = 0; i < 90; ++i) row += ". ";
    return row;
}

void requisites(std::vector<r::Item>& items, ReportContext& context) {
    const auto add = [&items](r::Item item) { items.push_back(std::move(item)); };
    const Requisites& q = context.requisites;
    add(r::image({0, 0, 30, 18}, [&q] { return logoPath(q.logoFile); }));
    constexpr double x = 34, w = kWidth - x;
    add(r::field({x, 0, w, 6}, "s80", textOf(q.shopName)).withFont(kName));

    double y = 7;
    add(label({x, y, 9, kRow}, "Тел.:"));
    add(r::field({x + 9, y, 70, kRow}, "s40", textOf(q.phone)));
    add(label({x + 81, y, 10, kRow}, "Факс:"));
    add(r::field({x + 91, y, w - 91, kRow}, "s20", textOf(q.fax)));
    y += kRow;
    add(label({x, y, 9, kRow}, "ИНН"));
    add(r::field({x + 9, y, 45, kRow}, "s20", textOf(q.inn)));
    y += kRow;
    add(label({x, y, 22, kRow}, "Юрид. адрес:"));
    add(r::field({x + 22, y, w - 22, kRow}, "s80", textOf(q.adress2)));
    y += kRow;
    add(r::field({x + 22, y, w - 22, kRow}, "s60", textOf(q.adress)));
    y += kRow;
    add(label({x, y, 14, kRow}, "Счет No"));
    add(r::field({x + 14, y, 38, kRow}, "s20", textOf(q.schet)));
    add(label({x + 53, y, 5, kRow}, " в"));
    add(r::field({x + 58, y, w - 58, kRow}, "s120", textOf(q.bank)));
    y += kRow;
    add(label({x, y, 9, kRow}, "БИК"));
    add(r::field({x + 9, y, 30, kRow}, "s20", textOf(q.bik)));
    add(label({x + 40, y, 8, kRow}, " к/c "));
    add(r::field({x + 48, y, 42, kRow}, "s22", textOf(q.korSchet)));
    y += kRow;
    add(label({x, y, 17, kRow}, "Код ОКПО"));
    add(r::field({x + 17, y, 35, kRow}, "s20", textOf(q.okpo)));
    add(label({x + 55, y, 20, kRow}, "Код ОКОНХ"));
    add(r::field({x + 75, y, 35, kRow}, "s20", textOf(q.okonx)));
    add(r::line({0, y + kRow + 2, kWidth, 0}));
}

void body(std::vector<r::Item>& items, ReportContext& context) {
    const auto add = [&items](r::Item item) { items.push_back(std::move(item)); };
    add(label({0, 50, 95, kRow}, "Доверенность действительна по . . . . . . . . . . . . . "));
    add(r::field({95, 50, 30, kRow}, "s20",
                 [&context] { return r::Value{context.century + ru("   г.")}; }));

    add(label({0, 60, kWidth, 8}, "Доверенность No  . . . . . .", r::Align::Center)
            .withFont(kTitle));
    add(label({60, 70, 22, kRow}, "Дата выдачи"));
    add(r::field({82, 70, 40, kRow}, "d8", [&context] {
            return r::Value{static_cast<std::int64_t>(context.today)};
        }).withFont(kBold));

    add(label({0, 80, 15, kRow}, "Выдана"));
    add(r::field({15, 80, kWidth - 15, kRow}, "s50", textOf(context.values.fullName()))
            .withFont(kFilled));
    add(underline({15, 80, kWidth - 15, kRow + 0.5}));
    add(label({15, 86, kWidth - 15, 3}, "фамилия, имя, отчество", r::Align::Center)
            .withFont(kCaption));
    add(r::field({15, 89, kWidth - 15, kRow}, "s35", molText(context, "MOL:TITLE"))
            .withFont(kFilled));
    add(underline({15, 89, kWidth - 15, kRow + 0.5}));
    add(label({15, 95, kWidth - 15, 3}, "должность", r::Align::Center).withFont(kCaption));

    add(label({0, 99, 25, kRow}, "Паспорт серия"));
    add(r::field({25, 99, 30, kRow}, "s15", molText(context, "MOL:PASPSER")).withFont(kFilled));
    add(underline({25, 99, 30, kRow + 0.5}));
    add(label({57, 99, 7, kRow}, "No "));
    add(r::field({64, 99, 35, kRow}, "s15", molText(context, "MOL:PASPNUMBER"))
            .withFont(kFilled));
    add(underline({64, 99, 35, kRow + 0.5}));
    add(label({101, 99, 11, kRow}, "выдан"));
    add(r::field({112, 99, 20, kRow}, "d5.", molNumber(context, "MOL:PASPDATE"), r::Align::Left)
            .withFont(kFilled));
    add(underline({112, 99, 20, kRow + 0.5}));
    add(r::field({0, 106, kWidth, kRow}, "s40", molText(context, "MOL:PASPOTDEL"))
            .withFont(kFilled));
    add(underline({0, 106, kWidth, kRow + 0.5}));
    add(label({0, 112, kWidth, 3}, "кем выдан", r::Align::Center).withFont(kCaption));

    add(label({0, 117, 34, kRow}, "На получение от ..."));
    add(r::text({34, 117, kWidth - 34, kRow}, dots()));
    add(label({0, 124, 68, kRow}, "товарно-материальных ценностей  по ..."));
    add(r::text({68, 124, kWidth - 68, kRow}, dots()));
}

void goodsTable(std::vector<r::Item>& items) {
    const auto add = [&items](r::Item item) { items.push_back(std::move(item)); };
    add(label({0, 133, kWidth, kRow}, "Перечень товарно-материальных ценностей, подлежащих получению:")
            .withFont(kBold));
    struct Column {
        double x, width;
    };
    const Column columns[] = {{0, 16}, {16, 94}, {110, 30}, {140, 45}};
    constexpr double kTop = 140, kHead = 10, kLine = 7;
    constexpr int kLines = 10;
    for (const Column& c : columns) {
        add(r::frame({c.x, kTop, c.width, kHead}));
        for (int i = 0; i < kLines; ++i) add(r::frame({c.x, kTop + kHead + i * kLine, c.width, kLine}));
    }
    add(label({0, kTop + 2.5, 16, kRow}, "No п/п", r::Align::Center).withFont(kBold));
    add(label({16, kTop + 2.5, 94, kRow}, "Товарно-материальные ценности", r::Align::Center)
            .withFont(kBold));
    add(label({110, kTop + 0.5, 30, 4.5}, "Единица", r::Align::Center).withFont(kBold));
    add(label({110, kTop + 5, 30, 4.5}, "измерения", r::Align::Center).withFont(kBold));
    add(label({140, kTop + 2.5, 45, kRow}, "Количество (прописью)", r::Align::Center)
            .withFont(kBold));
}

void signatures(std::vector<r::Item>& items, ReportContext& context) {
    const auto add = [&items](r::Item item) { items.push_back(std::move(item)); };
    const Requisites& q = context.requisites;
    constexpr double y = 232;
    add(label({0, y, 68, kRow}, "Подпись лица, получившего доверенность"));
    add(r::text({68, y, 90, kRow}, dots()));
    add(label({160, y, 25, kRow}, "удостоверяем", r::Align::Right));

    add(label({0, y + 16, 14, kRow}, "М.П.").withFont(kBold));
    add(label({30, y + 12, 60, kRow}, "Руководитель предприятия ..."));
    add(r::field({92, y + 12, kWidth - 92, kRow}, "s35", textOf(q.director)).withFont(kFilled));
    add(underline({92, y + 12, kWidth - 92, kRow + 0.5}));
    add(label({30, y + 22, 60, kRow}, " Главный бухгалтер ..."));
    add(r::field({92, y + 22, kWidth - 92, kRow}, "s35", textOf(q.glavBuch)).withFont(kFilled));
    add(underline({92, y + 22, kWidth - 92, kRow + 0.5}));
}

}  // namespace

framework::ReportDefinition powerOfAttorneyReport(ReportContext& context) {
    framework::ReportDefinition report;
    report.layout.name = ru("Доверенность");
    report.layout.font = kNormal;
    report.cycle.secondText = ru("Доверенность");
    report.cycle.fixedTotal = 500;
    report.cycle.check = chosenEmployeeOnly(context);
    report.cycle.beforeDetail = [&context] { context.values.computeFullName(); };
    report.layout.detail.height = kPageBody;
    requisites(report.layout.detail.items, context);
    body(report.layout.detail.items, context);
    goodsTable(report.layout.detail.items);
    signatures(report.layout.detail.items, context);
    return report;
}

}  // namespace staffdocs
