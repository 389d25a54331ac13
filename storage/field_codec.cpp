#include "storage/field_codec.h"

#include "platform/cp1251.h"

namespace storage {

ColumnKind columnKind(const FieldDef& field) {
    if (field.isText()) return ColumnKind::Text;
    if (field.type == FieldType::Real) return ColumnKind::Real;
    return ColumnKind::Integer;
}

std::int64_t integerOf(const Record& record, std::size_t field) {
    if (record.layout().fields()[field].type == FieldType::Decimal)
        return record.getDecimalCents(field);
    return record.getInt(field);
}

double realOf(const Record& record, std::size_t field) { return record.getReal(field); }

std::string textOf(const Record& record, std::size_t field) {
    return platform::cp1251ToUtf8(platform::clip(record.getText(field)));
}

std::string keyTextOf(const Record& record, std::size_t field) {
    return platform::upper(platform::clip(record.getText(field)));
}

void setFromInteger(Record& record, std::size_t field, std::int64_t value) {
    if (record.layout().fields()[field].type == FieldType::Decimal)
        record.setDecimalCents(field, value);
    else
        record.setInt(field, value);
}

void setFromReal(Record& record, std::size_t field, double value) { record.setReal(field, value); }

void setFromText(Record& record, std::size_t field, std::string_view utf8) {
    record.setText(field, platform::utf8ToCp1251(utf8));
}

void setFromNull(Record& record, std::size_t field) {
    const FieldDef& f = record.layout().fields()[field];
    if (f.isText())
        record.setText(field, {});
    else if (f.type == FieldType::Decimal)
        record.setDecimalCents(field, 0);
    else if (f.type == FieldType::Real)
        record.setReal(field, 0.0);
    else
        record.setInt(field, 0);
}

std::string columnName(const RecordLayout& layout, std::size_t field) {
    const FieldDef& f = layout.fields().at(field);
    if (f.name.empty()) return "reserved_" + std::to_string(f.offset);
    const std::size_t colon = f.name.find(':');
    return colon == std::string::npos ? f.name : f.name.substr(colon + 1);
}

std::string keyColumnName(const RecordLayout& layout, std::size_t field) {
    return "upper_" + columnName(layout, field);
}

std::string indexName(const RecordLayout& layout, const KeyDef& key) {
    const std::size_t colon = key.name.find(':');
    return layout.label() + "_" +
           (colon == std::string::npos ? key.name : key.name.substr(colon + 1));
}

std::string sqlName(std::string_view identifier) {
    std::string out = "\"";
    for (char c : identifier) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
    return out;
}

}  // namespace storage
