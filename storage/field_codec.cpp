#include "storage/field_codec.h"

#include "platform/cp1251.h"

#include <algorithm>

namespace storage {

namespace {

// The bytes that have no character in code page 1251 (NUL, which neither
// backend's text holds, and the unassigned 0x98) are stored as the private-use
// characters U+E000 + byte; their UTF-8 forms.
constexpr std::string_view kStoredNul = "\xEE\x80\x80";     // U+E000
constexpr std::string_view kStored0x98 = "\xEE\x82\x98";    // U+E098

bool withoutCharacter(char c) { return c == '\0' || c == '\x98'; }

}  // namespace

std::string storedText(std::string_view cp1251) {
    std::string out;
    while (!cp1251.empty()) {
        std::size_t run = 0;
        while (run < cp1251.size() && !withoutCharacter(cp1251[run])) ++run;
        out += platform::cp1251ToUtf8(cp1251.substr(0, run));
        if (run == cp1251.size()) break;
        out += cp1251[run] == '\0' ? kStoredNul : kStored0x98;
        cp1251.remove_prefix(run + 1);
    }
    return out;
}

std::string textFromStored(std::string_view utf8) {
    // Most texts hold neither stored marker: converted in one piece.
    if (utf8.find(kStoredNul) == std::string_view::npos && utf8.find(kStored0x98) == std::string_view::npos)
        return platform::utf8ToCp1251(utf8);
    std::string out;
    while (!utf8.empty()) {
        const std::size_t nul = utf8.find(kStoredNul), other = utf8.find(kStored0x98);
        const std::size_t at = std::min(nul, other);
        out += platform::utf8ToCp1251(utf8.substr(0, at));
        if (at == std::string_view::npos) break;
        out += at == nul ? '\0' : '\x98';
        utf8.remove_prefix(at + kStoredNul.size());
    }
    return out;
}

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
    return storedText(platform::clip(record.getText(field)));
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
    record.setText(field, textFromStored(utf8));
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
