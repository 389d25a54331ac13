#include "framework/form/entry_values.h"

#include "platform/cp1251.h"
#include "platform/picture.h"
#include "storage/record.h"

#include <cmath>
#include <cstdio>
#include <variant>

namespace framework::form {

namespace {

int indexOf(const storage::Record& record, const FormField& field) {
    return field.field.empty() ? -1 : record.layout().fieldIndex(field.field);
}

// A number kept in a text field: its shortest exact form.
std::string numberText(double number) {
    char text[32];
    std::snprintf(text, sizeof text, "%.15g", number);
    return text;
}

}  // namespace

std::string entryText(const storage::Record& record, const FormField& field) {
    if (field.field.empty() && field.shown) return field.shown();
    const int index = indexOf(record, field);
    if (index < 0) return {};
    const auto i = static_cast<std::size_t>(index);
    const storage::FieldDef& def = record.layout().fields()[i];
    if (field.picture.empty()) return record.value(i);
    const platform::Picture picture(field.picture);
    if (def.isText()) {
        const std::string shown = platform::format(picture, record.getText(i));
        return picture.kind() == platform::PictureKind::Text
                   ? std::string(platform::clip(shown))
                   : shown;
    }
    if (def.isInteger()) return platform::format(picture, record.getInt(i));
    return platform::format(picture, record.getReal(i));
}

bool storeEntry(storage::Record& record, const FormField& field, std::string_view text) {
    const int index = indexOf(record, field);
    if (index < 0) return false;
    const auto i = static_cast<std::size_t>(index);
    if (field.picture.empty()) {
        record.setValue(i, text);
        return true;
    }
    const std::optional<platform::PictureValue> value =
        platform::parse(platform::Picture(field.picture), text);
    if (!value) return false;
    const storage::FieldDef& def = record.layout().fields()[i];
    if (const std::string* typed = std::get_if<std::string>(&*value)) {
        record.setValue(i, *typed);
    } else {
        const double number = std::get<double>(*value);
        if (def.isText())
            record.setText(i, numberText(number));
        else if (def.isInteger())
            record.setInt(i, static_cast<std::int64_t>(std::llround(number)));
        else
            record.setReal(i, number);
    }
    return true;
}

bool checkState(const storage::Record& record, const FormField& field) {
    const int index = indexOf(record, field);
    return index >= 0 && record.getInt(static_cast<std::size_t>(index)) != 0;
}

void storeCheck(storage::Record& record, const FormField& field, bool ticked) {
    const int index = indexOf(record, field);
    if (index >= 0) record.setInt(static_cast<std::size_t>(index), ticked ? 1 : 0);
}

}  // namespace framework::form
