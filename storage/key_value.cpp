#include "storage/key_value.h"

#include "storage/field_codec.h"

namespace storage {

KeyPart keyPartOf(const Record& record, std::size_t field) {
    const FieldDef& f = record.layout().fields().at(field);
    switch (columnKind(f)) {
        case ColumnKind::Integer:
            return integerOf(record, field);
        case ColumnKind::Real:
            return record.getReal(field);
        case ColumnKind::Text:
            break;
    }
    return keyTextOf(record, field);
}

KeyValue keyPrefixOf(const Record& record, const KeyDef& key, std::size_t count) {
    KeyValue value;
    for (std::size_t i = 0; i < key.components.size() && i < count; ++i)
        value.parts.push_back(keyPartOf(record, key.components[i]));
    return value;
}

KeyValue keyValueOf(const Record& record, const KeyDef& key) {
    return keyPrefixOf(record, key, key.components.size());
}

namespace {

int comparePart(const KeyPart& a, const KeyPart& b) {
    if (a.index() != b.index()) return a.index() < b.index() ? -1 : 1;
    if (const auto* x = std::get_if<std::int64_t>(&a)) {
        const std::int64_t y = std::get<std::int64_t>(b);
        return *x < y ? -1 : (*x > y ? 1 : 0);
    }
    if (const auto* x = std::get_if<double>(&a)) {
        const double y = std::get<double>(b);
        return *x < y ? -1 : (*x > y ? 1 : 0);
    }
    // Byte order of the upper-cased code page 1251 text.
    const std::string& x = std::get<std::string>(a);
    const std::string& y = std::get<std::string>(b);
    const int c = x.compare(y);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

}  // namespace

int compareKeyValues(const KeyValue& a, const KeyValue& b) {
    const std::size_t n = std::min(a.parts.size(), b.parts.size());
    for (std::size_t i = 0; i < n; ++i)
        if (const int c = comparePart(a.parts[i], b.parts[i])) return c;
    if (a.parts.size() == b.parts.size()) return 0;
    return a.parts.size() < b.parts.size() ? -1 : 1;
}

}  // namespace storage
