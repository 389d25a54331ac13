#include "storage/postgres/row_codec.h"

#include "storage/field_codec.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace storage::postgres {

std::string realText(double value) {
    if (std::isnan(value)) return "NaN";
    if (std::isinf(value)) return value > 0 ? "Infinity" : "-Infinity";
    char buffer[32];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::string decimalText(std::int64_t cents) {
    const bool negative = cents < 0;
    const std::uint64_t magnitude =
        negative ? 0 - static_cast<std::uint64_t>(cents) : static_cast<std::uint64_t>(cents);
    std::string fraction = std::to_string(magnitude % 100);
    if (fraction.size() < 2) fraction.insert(0, "0");
    return (negative ? "-" : "") + std::to_string(magnitude / 100) + "." + fraction;
}

namespace {

// "-12.5", "3", "0.07" -> hundredths.
std::int64_t centsOf(std::string_view text) {
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    std::int64_t whole = 0, cents = 0;
    const std::size_t point = text.find('.');
    const std::string_view wholeText = text.substr(0, point);
    std::from_chars(wholeText.data(), wholeText.data() + wholeText.size(), whole);
    if (point != std::string_view::npos) {
        const std::string_view fraction = text.substr(point + 1);
        for (std::size_t i = 0; i < 2; ++i)
            cents = cents * 10 + (i < fraction.size() ? fraction[i] - '0' : 0);
    }
    const std::int64_t value = whole * 100 + cents;
    return negative ? -value : value;
}

double realOfText(std::string_view text) {
    // strtod knows "NaN", "Infinity" and "-Infinity" as the server writes them.
    return std::strtod(std::string(text).c_str(), nullptr);
}

}  // namespace

std::string fieldText(const Record& record, std::size_t field) {
    const FieldDef& f = record.layout().fields()[field];
    switch (columnKind(f)) {
        case ColumnKind::Integer:
            if (f.type == FieldType::Decimal) return decimalText(integerOf(record, field));
            return std::to_string(integerOf(record, field));
        case ColumnKind::Real:
            return realText(realOf(record, field));
        case ColumnKind::Text:
            break;
    }
    return textOf(record, field);
}

void appendFields(Params& params, const Record& record) {
    const std::size_t count = record.layout().fields().size();
    for (std::size_t i = 0; i < count; ++i) params.push_back(textParam(fieldText(record, i)));
}

void appendKeyTexts(Params& params, const Record& record, const TableSchema& schema) {
    for (std::size_t field : schema.keyTextFields())
        params.push_back(bytesParam(keyTextOf(record, field)));
}

void appendKeyParts(Params& params, const KeyValue& value, const KeyDef& key,
                    const RecordLayout& layout, std::size_t from, std::size_t to) {
    for (std::size_t i = from; i < to && i < value.parts.size() && i < key.components.size(); ++i) {
        const KeyPart& part = value.parts[i];
        const FieldDef& f = layout.fields()[key.components[i]];
        if (const auto* n = std::get_if<std::int64_t>(&part))
            params.push_back(
                textParam(f.type == FieldType::Decimal ? decimalText(*n) : std::to_string(*n)));
        else if (const auto* d = std::get_if<double>(&part))
            params.push_back(textParam(realText(*d)));
        else
            params.push_back(bytesParam(std::get<std::string>(part)));
    }
}

namespace {

void readColumn(const Rows& rows, int row, int column, Record& scratch, std::size_t field) {
    if (rows.isNull(row, column)) {
        setFromNull(scratch, field);
        return;
    }
    const FieldDef& def = scratch.layout().fields()[field];
    const std::string_view text = rows.text(row, column);
    switch (columnKind(def)) {
        case ColumnKind::Integer:
            if (def.type == FieldType::Decimal) {
                setFromInteger(scratch, field, centsOf(text));
            } else {
                std::int64_t value = 0;
                std::from_chars(text.data(), text.data() + text.size(), value);
                setFromInteger(scratch, field, value);
            }
            break;
        case ColumnKind::Real:
            setFromReal(scratch, field, realOfText(text));
            break;
        case ColumnKind::Text:
            setFromText(scratch, field, text);
            break;
    }
}

}  // namespace

void readRow(const Rows& rows, int row, Record& scratch, StoredRow& stored) {
    stored.rowId = rows.integer(row, 0);
    stored.version = rows.isNull(row, 1) ? 0 : rows.integer(row, 1);
    const std::size_t count = scratch.layout().fields().size();
    for (std::size_t i = 0; i < count; ++i)
        readColumn(rows, row, TableSchema::kFirstFieldColumn + static_cast<int>(i), scratch, i);
    stored.bytes = scratch.bytes();
}

void readSubset(const Rows& rows, int row, const FieldSet& fields, Record& scratch, StoredRow& stored) {
    stored.rowId = rows.integer(row, 0);
    stored.version = 0;
    scratch.clear();
    int column = 1;
    for (std::size_t field : fields) readColumn(rows, row, column++, scratch, field);
    stored.bytes = scratch.bytes();
}

}  // namespace storage::postgres
