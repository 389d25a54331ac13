// Record layouts: the fixed-length record buffer of a data file, field by field,
// byte for byte as the data files are declared, with the file's keys.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace storage {

enum class FieldType : std::uint8_t {
    Byte,     // unsigned 8-bit
    Short,    // signed 16-bit, little-endian
    UShort,   // unsigned 16-bit, little-endian
    Long,     // signed 32-bit, little-endian
    ULong,    // unsigned 32-bit, little-endian
    Real,     // IEEE 754 double
    Decimal,  // 7 bytes packed decimal, 2 digits after the point
    String,   // n bytes of code page 1251 text, blank-padded
    CString,  // code page 1251 text ended by a zero byte, at most n-1 characters
};

constexpr std::size_t kDecimalBytes = 7;

struct FieldDef {
    std::string name;  // "VAL:OBOZN" as declared; empty for a reserved byte
    FieldType type;
    std::size_t size;    // bytes in the record
    std::size_t offset;  // from the start of the record
    bool isText() const { return type == FieldType::String || type == FieldType::CString; }
    bool isInteger() const {
        return type != FieldType::Real && type != FieldType::Decimal && !isText();
    }
};

struct KeyDef {
    std::string name;                     // "VAL:OBOZN_KEY"
    std::vector<std::size_t> components;  // field indexes, all ascending
    bool unique = false;
    bool primary = false;
};

// The declaration of one data file: label, prefix, disk name, built-in name,
// protection, fields and keys. Built once with the chaining declarators below.
class RecordLayout {
public:
    RecordLayout(std::string label, std::string prefix, std::string diskName,
                 std::string builtInName, bool isProtected = false);

    // Field declarators; `name` is the field without its prefix ("OBOZN").
    RecordLayout& byte(std::string_view name);
    RecordLayout& int16(std::string_view name);   // SHORT
    RecordLayout& uint16(std::string_view name);  // USHORT
    RecordLayout& int32(std::string_view name);   // LONG
    RecordLayout& uint32(std::string_view name);  // ULONG
    RecordLayout& real(std::string_view name);    // REAL
    RecordLayout& decimal(std::string_view name); // DECIMAL
    RecordLayout& string(std::string_view name, std::size_t size);   // STRING(n)
    RecordLayout& cstring(std::string_view name, std::size_t size);  // CSTRING(n)
    RecordLayout& reservedByte();  // a byte carried unchanged, reachable by no name

    // Key declarator; `name` without prefix ("OBOZN_KEY"), components without prefix.
    RecordLayout& key(std::string_view name, std::initializer_list<std::string_view> components,
                      bool unique, bool primary = false);

    // The same layout under another prefix: a second file object over the same disk
    // file with its own names (the MOD view of MOL).
    RecordLayout view(std::string prefix) const;

    const std::string& label() const { return label_; }
    const std::string& prefix() const { return prefix_; }
    const std::string& diskName() const { return diskName_; }
    const std::string& builtInName() const { return builtInName_; }
    bool isProtected() const { return protected_; }
    std::size_t recordSize() const { return size_; }
    const std::vector<FieldDef>& fields() const { return fields_; }
    const std::vector<KeyDef>& keys() const { return keys_; }
    const KeyDef* primaryKey() const;

    // Field by name in any letter case, with the prefix ("val:Obozn") or without
    // it ("OBOZN"); -1 when the layout has no such field.
    int fieldIndex(std::string_view name) const;
    // The index of a field the program names: an unknown name is a fault of the
    // program and throws std::invalid_argument naming it.
    std::size_t indexOf(std::string_view name) const;
    const FieldDef* field(std::string_view name) const;
    // Key by name in any letter case, with or without prefix; nullptr when absent.
    const KeyDef* key(std::string_view name) const;

private:
    RecordLayout& add(std::string_view name, FieldType type, std::size_t size);

    std::string label_, prefix_, diskName_, builtInName_;
    bool protected_ = false;
    std::size_t size_ = 0;
    std::vector<FieldDef> fields_;
    std::vector<KeyDef> keys_;
    std::unordered_map<std::string, int> byName_;  // upper-cased names, with and without prefix
};

// Upper-cases the ASCII letters of a declared name; names of fields and keys are Latin.
std::string upperAsciiName(std::string_view name);

}  // namespace storage
