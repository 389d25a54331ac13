#include "refbooks/typeop_report.h"

#include "platform/cp1251.h"
#include "refbooks/ref_files.h"
#include "storage/data_file.h"

#include <cstddef>

namespace refbooks {

namespace {

namespace r = framework::report;
using platform::ru;

// A4 portrait, 185 mm between the margins. Columns, in millimetres from the left
// margin: code, designation, name, then the three flags, each check box centred
// under its heading.
constexpr double kCodeX = 0, kCodeWidth = 10;
constexpr double kOboznX = 14, kOboznWidth = 24;
constexpr double kNameX = 40, kNameWidth = 80;
constexpr double kGoodsX = 122, kGoodsWidth = 20;
constexpr double kMoneyX = 143, kMoneyWidth = 23;
constexpr double kReceiptX = 167, kReceiptWidth = 18;
constexpr double kBodyWidth = 185;

constexpr double kHeaderHeight = 30;
constexpr double kHeadingsTop = 22;
constexpr double kLineHeight = 5;
constexpr double kCheckSide = 3.5;

r::Item flagBox(double columnX, double columnWidth, storage::DataFile& file, int field) {
    const r::Box box{columnX + (columnWidth - kCheckSide) / 2, (kLineHeight - kCheckSide) / 2,
                     kCheckSide, kCheckSide};
    return r::checkBox(box, [&file, field] {
        return file.record().getInt(static_cast<std::size_t>(field)) == 1;
    });
}

}  // namespace

framework::ReportDefinition typeOpReport(storage::DataFile& file) {
    const storage::RecordLayout& fields = file.layout();
    const int id = fields.fieldIndex("TOP:ID");
    const int obozn = fields.fieldIndex("TOP:OBOZN");
    const int name = fields.fieldIndex("TOP:NAME");
    const int goods = fields.fieldIndex("TOP:TOWFLAG");
    const int money = fields.fieldIndex("TOP:MANYFLAG");
    const int receipt = fields.fieldIndex("TOP:PRICHODFLAG");
    auto number = [&file](int field) {
        return [&file, field] {
            return r::Value{file.record().getInt(static_cast<std::size_t>(field))};
        };
    };
    auto text = [&file](int field) {
        return [&file, field] {
            return r::Value{file.record().getText(static_cast<std::size_t>(field))};
        };
    };

    framework::ReportDefinition report;
    r::Layout& layout = report.layout;
    layout.name = ru("Типы Операций");
    layout.font = r::Font{"Arial Cyr", 9};

    const r::Font title{"Arial Cyr", 14, true};
    const r::Font heading{"Arial Cyr", 9, true};
    layout.pageHeader.height = kHeaderHeight;
    layout.pageHeader.items = {
        r::text({0, 2, kBodyWidth, 8}, ru("Типы Операций"), r::Align::Center).withFont(title),
        r::pageNumber({kBodyWidth - 40, 13, 40, 5}, ru("pСтраница <#p"), r::Align::Right),
        r::line({0, kHeadingsTop - 1, kBodyWidth, 0}),
        r::text({kCodeX, kHeadingsTop, kCodeWidth, 5}, ru("Код"), r::Align::Right)
            .withFont(heading),
        r::text({kOboznX, kHeadingsTop, kOboznWidth, 5}, ru("Обозначение")).withFont(heading),
        r::text({kNameX, kHeadingsTop, kNameWidth, 5}, ru("Наименование")).withFont(heading),
        r::text({kGoodsX, kHeadingsTop, kGoodsWidth, 5}, ru("Товарная"), r::Align::Center)
            .withFont(heading),
        // The heading begins with the Latin capital C.
        r::text({kMoneyX, kHeadingsTop, kMoneyWidth, 5}, ru("C деньгами"), r::Align::Center)
            .withFont(heading),
        r::text({kReceiptX, kHeadingsTop, kReceiptWidth, 5}, ru("Приход"), r::Align::Center)
            .withFont(heading),
        r::line({0, kHeadingsTop + 6, kBodyWidth, 0}),
    };

    layout.detail.height = kLineHeight;
    layout.detail.items = {
        r::field({kCodeX, 0, kCodeWidth, kLineHeight}, "n3", number(id), r::Align::Right),
        r::field({kOboznX, 0, kOboznWidth, kLineHeight}, "s5", text(obozn)),
        r::field({kNameX, 0, kNameWidth, kLineHeight}, "s36", text(name)),
        flagBox(kGoodsX, kGoodsWidth, file, goods),
        flagBox(kMoneyX, kMoneyWidth, file, money),
        flagBox(kReceiptX, kReceiptWidth, file, receipt),
    };
    return report;
}

int printTypeOpList() {
    storage::DataFile& file = referenceFiles().typeOp;
    return framework::runFileReport(typeOpReport(file), file, kTypeOpReportKey);
}

}  // namespace refbooks
