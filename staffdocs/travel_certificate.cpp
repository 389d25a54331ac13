#include "staffdocs/travel_certificate.h"

#include "platform/cp1251.h"

namespace staffdocs {

namespace {

using namespace layout_parts;
using platform::ru;

constexpr double kWidth = 185;     // A4 portrait between the margins
constexpr double kHalf = 92.5;     // a column of the reverse
constexpr double kFold = 140;      // where the reverse begins
constexpr double kPageBody = 276;  // the whole page is the one detail band

const r::Font kSmall{"Arial Cyr", 7};
const r::Font kCaption{"Arial Cyr", 6.5, false, true};
const r::Font kTitle{"Arial Cyr", 13, true};
const r::Font kNormal{"Arial Cyr", 10};
const r::Font kFilled{"Arial Cyr", 10, true};
const r::Font kReverse{"Arial Cyr", 8.5};

// A line for a date written by hand: day, month, the century and blanks.
r::Item dateLine(r::Box box, const std::string& century) {
    return r::field(box, "s60", [&century] {
        return r::Value{ru("\"____\" ________________ ") + century + ru("____ г.")};
    });
}

void front(std::vector<r::Item>& items, ReportContext& context, const std::string& century) {
    const auto add = [&items](r::Item item) { items.push_back(std::move(item)); };
    // The form's stamp of approval, top right.
    add(label({120, 0, 65, 3.5}, "Типовая форма No 283").withFont(kSmall));
    add(label({120, 3.5, 65, 3.5}, "Утверждено МФ СССР,").withFont(kSmall));
    add(label({120, 7, 65, 3.5}, "15.02.80 г.  No 80").withFont(kSmall));
    add(label({120, 10.5, 65, 3.5}, "Госкомтрудом СССР,  ВЦСПС").withFont(kSmall));

    add(label({0, 15, 100, 4}, "Штамп").withFont(kSmall));
    add(label({0, 19, 100, 4}, "учереждения  (организации)").withFont(kSmall));

    add(label({0, 28, kWidth, 8}, "КОМАНДИРОВОЧНОЕ  УДОСТОВЕРЕНИЕ", r::Align::Center)
            .withFont(kTitle));

    // Issued to: full name and title on two filled lines.
    add(label({0, 42, 16, 5}, "Выдано").withFont(kNormal));
    add(r::field({17, 42, kWidth - 17, 5}, "s50", textOf(context.values.fullName()))
            .withFont(kFilled));
    add(underline({17, 42, kWidth - 17, 5.5}));
    add(r::field({0, 49, kWidth, 5}, "s35", molText(context, "MOL:TITLE")).withFont(kFilled));
    add(underline({0, 49, kWidth, 5.5}));
    add(label({0, 55, kWidth, 3}, "фамилия, имя и отчество,  должность", r::Align::Center)
            .withFont(kCaption));

    // The issuing organisation, and where the employee is sent.
    add(r::field({0, 60, 140, 5}, "s50", textOf(context.requisites.shopName)).withFont(kFilled));
    add(underline({0, 60, 140, 5.5}));
    add(label({142, 60, 43, 5}, "командированному в").withFont(kNormal));
    add(label({0, 66, 140, 3}, "наименование объединения,  предприятия,  учреждения,",
              r::Align::Center)
            .withFont(kCaption));
    add(label({0, 69, 140, 3}, "организации, выдавших удостоверение", r::Align::Center)
            .withFont(kCaption));
    add(underline({0, 73, kWidth, 5}));
    add(label({0, 79, kWidth, 3}, "пункты назначения,", r::Align::Center).withFont(kCaption));
    add(underline({0, 82, kWidth, 5}));
    add(label({0, 88, kWidth, 3},
              "наименование объединения, предприятия, учреждения, организации",
              r::Align::Center)
            .withFont(kCaption));

    add(label({0, 93, 40, 5}, "Срок командировки").withFont(kNormal));
    add(underline({40, 93, 20, 5}));
    add(label({62, 93, 15, 5}, "дней").withFont(kNormal));
    add(underline({0, 99, kWidth, 5}));
    add(label({0, 105, kWidth, 3}, "цель командировки", r::Align::Center).withFont(kCaption));

    add(label({0, 109, 68, 5}, "Основание:  приказ (распоряжение) ").withFont(kNormal));
    add(r::field({68, 109, kWidth - 68, 5}, "s80", [&century] {
            return r::Value{ru("от \"____\" ______________ ") + century +
                            ru("____ г.   No ________")};
        }).withFont(kNormal));

    add(label({0, 116, 80, 5}, "Действительно по предъявлении паспорта").withFont(kNormal));
    add(r::field({82, 116, 34, 5}, "s15", molText(context, "MOL:PASPSER")).withFont(kFilled));
    add(underline({82, 116, 34, 5.5}));
    add(r::field({118, 116, 67, 5}, "s15", molText(context, "MOL:PASPNUMBER")).withFont(kFilled));
    add(underline({118, 116, 67, 5.5}));

    add(label({0, 125, 20, 4}, "М.П.").withFont(kNormal));
    add(label({60, 124, 70, 4}, "Подпись руководителя объединения,").withFont(kSmall));
    add(label({60, 127.5, 70, 4}, "учреждения, организации").withFont(kSmall));
    add(underline({130, 127, 55, 4}));
}

void reverse(std::vector<r::Item>& items, const std::string& century) {
    const auto add = [&items](r::Item item) { items.push_back(std::move(item)); };
    // The fold between the two sides.
    add(r::line({0, kFold - 3, kWidth, 0}));
    add(label({0, kFold, kWidth, 5},
              "Отметки о выбытии в командировку, прибытии в пункты назначения и выбытии из них",
              r::Align::Center)
            .withFont(r::Font{"Arial Cyr", 9, true}));
    // Four blocks: departure on the left, arrival on the right.
    constexpr double kBlockTop = kFold + 8, kBlock = 29;
    for (int block = 0; block < 4; ++block) {
        const double y = kBlockTop + block * kBlock;
        add(label({0, y, kHalf - 4, 5}, "Выбыл из  _____________________________________")
                .withFont(kReverse));
        add(label({kHalf, y, kHalf, 5}, "Прибыл в  ______________________________________")
                .withFont(kReverse));
        add(dateLine({0, y + 6.5, kHalf - 4, 5}, century).withFont(kReverse));
        add(dateLine({kHalf, y + 6.5, kHalf, 5}, century).withFont(kReverse));
        for (double x : {0.0, kHalf}) {
            add(label({x, y + 13, 16, 5}, "Подпись").withFont(kReverse));
            add(underline({x + 16, y + 13, 45, 4.5}));
            add(label({x + 64, y + 13, 20, 5}, "печать").withFont(kSmall));
        }
        if (block < 3) {
            r::Item rule = r::line({0, y + kBlock - 5, kWidth, 0});
            rule.lineWidth = 0.1;
            add(rule);
        }
    }
    add(label({0, kPageBody - 8, kWidth, 5},
              "П р и м е ч а н и е.  При выезде в несколько пунктов отметки о прибытии "
              "делаются отдельно в каждом из них.")
            .withFont(kSmall));
}

}  // namespace

framework::ReportDefinition travelCertificateReport(ReportContext& context) {
    framework::ReportDefinition report;
    report.layout.name = ru("Командировочное удостоверение");
    report.layout.font = kNormal;
    report.cycle.secondText = ru("Командиров.удостоверение");
    report.cycle.fixedTotal = 500;
    report.cycle.check = chosenEmployeeOnly(context);
    report.cycle.beforeDetail = [&context] { context.values.computeFullName(); };

    const std::string& century = context.century;
    report.layout.detail.height = kPageBody;
    front(report.layout.detail.items, context, century);
    reverse(report.layout.detail.items, century);
    return report;
}

}  // namespace staffdocs
