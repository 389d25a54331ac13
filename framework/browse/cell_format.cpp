#include "framework/browse/cell_format.h"

#include "platform/cp1251.h"

namespace framework::browse {

std::string formatField(const storage::Record& record, std::size_t field,
                        const platform::Picture& picture) {
    const storage::FieldDef& def = record.layout().fields()[field];
    if (!picture.valid()) return std::string(platform::clip(record.value(field)));
    switch (def.type) {
        case storage::FieldType::Real:
        case storage::FieldType::Decimal:
            return platform::format(picture, record.getReal(field));
        case storage::FieldType::String:
        case storage::FieldType::CString:
            return platform::format(picture, std::string_view(record.getText(field)));
        default:
            return platform::format(picture, record.getInt(field));
    }
}

}  // namespace framework::browse
