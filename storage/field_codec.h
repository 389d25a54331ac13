// How each field of a record is stored in a table column, independent of the
// database: integers (and DECIMAL as integer hundredths) in integer columns, REAL
// in floating columns, text as UTF-8 without trailing blanks (see storedText). The
// column names of a layout's table are fixed here too, so that every backend uses
// the same ones.
#pragma once

#include "storage/record.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace storage {

// Code page 1251 text as stored: UTF-8, in which the two bytes without a character
// (NUL and the unassigned 0x98) become the private-use characters U+E000 and
// U+E098, so that every byte value reads back exactly. The reverse mapping turns
// those two characters back into their bytes; other characters without a code
// page 1251 counterpart (written by another tool) become '?'.
std::string storedText(std::string_view cp1251);
std::string textFromStored(std::string_view utf8);

enum class ColumnKind : std::uint8_t { Integer, Real, Text };

ColumnKind columnKind(const FieldDef& field);

// Column values of a record field.
std::int64_t integerOf(const Record& record, std::size_t field);  // DECIMAL: hundredths
double realOf(const Record& record, std::size_t field);
std::string textOf(const Record& record, std::size_t field);  // stored text, trailing blanks removed
// The stored key form of a text field: upper-cased code page 1251 bytes without
// trailing blanks (a CSTRING up to its zero).
std::string keyTextOf(const Record& record, std::size_t field);

// Record fields from column values. A text longer than the field is cut; a
// missing value (NULL, written by another tool) clears the field.
void setFromInteger(Record& record, std::size_t field, std::int64_t value);
void setFromReal(Record& record, std::size_t field, double value);
void setFromText(Record& record, std::size_t field, std::string_view utf8);
void setFromNull(Record& record, std::size_t field);

// Column names. A named field keeps its name without the prefix ("OBOZN"), so the
// MOL and MOD views of one file share the columns; a reserved byte becomes
// "reserved_<offset>". The hidden columns are lower-case; the layouts declare no
// field of those names (schema generation refuses a layout whose names clash).
std::string columnName(const RecordLayout& layout, std::size_t field);
std::string keyColumnName(const RecordLayout& layout, std::size_t field);  // "upper_<FIELD>"
inline constexpr std::string_view kRowIdColumn = "row_id";
inline constexpr std::string_view kVersionColumn = "row_version";
// Index name of a key: "<label>_<KEY NAME without prefix>".
std::string indexName(const RecordLayout& layout, const KeyDef& key);

// An identifier quoted for SQL: "name" with inner quotes doubled (both backends).
std::string sqlName(std::string_view identifier);

}  // namespace storage
