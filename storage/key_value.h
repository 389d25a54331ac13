// Key values: the values of a key's components as the key orders them. String
// components are the upper-cased code page 1251 text without trailing blanks (so
// "usd", "USD" and "USD " are one value and byte order is key order); integer
// components are numbers, DECIMAL components integer hundredths, REAL doubles.
#pragma once

#include "storage/record.h"

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace storage {

using KeyPart = std::variant<std::int64_t, double, std::string>;

struct KeyValue {
    std::vector<KeyPart> parts;
    bool operator==(const KeyValue&) const = default;
};

// The sort form of one field: the part a key built on it holds.
KeyPart keyPartOf(const Record& record, std::size_t field);
// The key value of the record buffer for a key.
KeyValue keyValueOf(const Record& record, const KeyDef& key);
// Only the first `count` components (a range over the leading components).
KeyValue keyPrefixOf(const Record& record, const KeyDef& key, std::size_t count);

// Orders two values of the same key component by component: <0, 0, >0.
int compareKeyValues(const KeyValue& a, const KeyValue& b);

}  // namespace storage
