#include "staffdocs/report_context.h"

#include "platform/cp1251.h"

#include <cstddef>

namespace staffdocs {

std::function<framework::RecordStatus()> chosenEmployeeOnly(const ReportContext& context) {
    return [&context] {
        const std::int64_t code = context.values.code();
        if (code < context.employee) return framework::RecordStatus::Filtered;
        if (code > context.employee) return framework::RecordStatus::OutOfRange;
        return framework::RecordStatus::Accepted;
    };
}

}  // namespace staffdocs

namespace staffdocs::layout_parts {

r::ValueGetter textOf(const std::string& text) {
    return [&text] { return r::Value{text}; };
}

r::ValueGetter molText(const ReportContext& context, const char* field) {
    const auto index = context.mol.layout().indexOf(field);
    const storage::DataFile* mol = &context.mol;
    return [mol, index] { return r::Value{mol->record().getText(index)}; };
}

r::ValueGetter molNumber(const ReportContext& context, const char* field) {
    const auto index = context.mol.layout().indexOf(field);
    const storage::DataFile* mol = &context.mol;
    return [mol, index] { return r::Value{mol->record().getInt(index)}; };
}

r::Item label(r::Box box, const char* utf8, r::Align align) {
    return r::text(box, platform::ru(utf8), align);
}

r::Item underline(r::Box box) {
    r::Item line = r::line({box.x, box.y + box.height, box.width, 0});
    line.lineWidth = 0.2;
    return line;
}

}  // namespace staffdocs::layout_parts
