// The printed list of the stores, "Справочник Участков": every store in code
// order, one line each with its code, name, first address line and telephone;
// the title, the page number and the column headings on every page. The list's
// "Печатать" button and the command line (tarvo --print Store --pdf FILE) print
// it. It asks no rights.
#include "platform/cp1251.h"
#include "refbooks/c_store.h"
#include "refbooks/ref_files.h"
#include "storage/data_file.h"

namespace refbooks {

namespace {

namespace r = framework::report;
using platform::ru;

// A4 portrait, 185 mm between the margins; columns in millimetres from the left.
constexpr double kCodeX = 0, kCodeWidth = 10;
constexpr double kNameX = 14, kNameWidth = 64;
constexpr double kAddressX = 80, kAddressWidth = 70;
constexpr double kPhoneX = 152, kPhoneWidth = 33;
constexpr double kBodyWidth = 185;
constexpr double kHeaderHeight = 30;
constexpr double kHeadingsTop = 22;
constexpr double kLineHeight = 5;

}  // namespace

framework::ReportDefinition storeReport(storage::DataFile& file) {
    const storage::RecordLayout& fields = file.layout();
    auto number = [&file](int field) {
        return [&file, field] { return r::Value{file.record().getInt(static_cast<std::size_t>(field))}; };
    };
    auto text = [&file](int field) {
        return [&file, field] { return r::Value{file.record().getText(static_cast<std::size_t>(field))}; };
    };

    framework::ReportDefinition report;
    r::Layout& layout = report.layout;
    layout.name = ru("Справочник Участков");
    layout.font = r::Font{"Arial Cyr", 9};
    const r::Font title{"Arial Cyr", 14, true};
    const r::Font heading{"Arial Cyr", 9, true};
    layout.pageHeader.height = kHeaderHeight;
    layout.pageHeader.items = {
        r::text({0, 2, kBodyWidth, 8}, ru("Справочник Участков"), r::Align::Center).withFont(title),
        r::pageNumber({kBodyWidth - 40, 13, 40, 5}, ru("pСтраница <#p"), r::Align::Right),
        r::line({0, kHeadingsTop - 1, kBodyWidth, 0}),
        r::text({kCodeX, kHeadingsTop, kCodeWidth, 5}, ru("Код"), r::Align::Right).withFont(heading),
        r::text({kNameX, kHeadingsTop, kNameWidth, 5}, ru("Участок")).withFont(heading),
        r::text({kAddressX, kHeadingsTop, kAddressWidth, 5}, ru("Адрес")).withFont(heading),
        r::text({kPhoneX, kHeadingsTop, kPhoneWidth, 5}, ru("Телефон")).withFont(heading),
        r::line({0, kHeadingsTop + 6, kBodyWidth, 0}),
    };
    layout.detail.height = kLineHeight;
    layout.detail.items = {
        r::field({kCodeX, 0, kCodeWidth, kLineHeight}, "n3", number(fields.fieldIndex("STO:COD")),
                 r::Align::Right),
        r::field({kNameX, 0, kNameWidth, kLineHeight}, "s40", text(fields.fieldIndex("STO:NAME"))),
        r::field({kAddressX, 0, kAddressWidth, kLineHeight}, "s40",
                 text(fields.fieldIndex("STO:ADRESS1"))),
        r::field({kPhoneX, 0, kPhoneWidth, kLineHeight}, "s15", text(fields.fieldIndex("STO:PHONE"))),
    };
    return report;
}

int printStoreList() {
    storage::DataFile& file = referenceFiles().store;
    return framework::runFileReport(storeReport(file), file, kStoreReportKey);
}

}  // namespace refbooks
