// A record buffer: the exact bytes of one record of a layout, with typed access
// to its fields by index or by name.
#pragma once

#include "storage/record_layout.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace storage {

class Record {
public:
    explicit Record(const RecordLayout& layout);

    const RecordLayout& layout() const { return *layout_; }
    std::uint8_t* data() { return bytes_.data(); }
    const std::uint8_t* data() const { return bytes_.data(); }
    std::size_t size() const { return bytes_.size(); }
    const std::vector<std::uint8_t>& bytes() const { return bytes_; }
    void assign(const std::vector<std::uint8_t>& bytes);  // same size as the layout

    // Numbers 0, STRING fields all blanks, CSTRING fields all zero bytes;
    // reserved bytes included.
    void clear();

    // Integer fields (BYTE, SHORT, USHORT, LONG, ULONG). A value outside the
    // field's range is stored modulo its width, as the runtime's assignment does.
    std::int64_t getInt(std::size_t field) const;
    void setInt(std::size_t field, std::int64_t value);
    // REAL fields; integer and DECIMAL fields convert.
    double getReal(std::size_t field) const;
    void setReal(std::size_t field, double value);
    // DECIMAL fields as an integer number of hundredths.
    std::int64_t getDecimalCents(std::size_t field) const;
    void setDecimalCents(std::size_t field, std::int64_t cents);
    // Text fields, code page 1251 bytes. STRING comes back with its padding,
    // CSTRING up to its zero. A longer value is cut to the field.
    std::string getText(std::size_t field) const;
    void setText(std::size_t field, std::string_view cp1251);

    // Any field as text: integers in decimal, REAL in its shortest exact form,
    // DECIMAL with two places ("-12.50"), text as stored. Used where fields are
    // reached by name (expressions, filters, messages).
    std::string value(std::size_t field) const;
    // Sets any field from text: numbers are parsed (an unparsable text gives 0).
    void setValue(std::size_t field, std::string_view text);

    // By-name forms; an unknown name gives nullopt / false.
    std::optional<std::string> value(std::string_view name) const;
    bool setValue(std::string_view name, std::string_view text);

    // Typed access by field name ("MOL:KATEGCODE", any letter case). The names
    // are the program's own, so an unknown one is a fault of the program and
    // throws std::invalid_argument naming it.
    std::int64_t getInt(std::string_view name) const { return getInt(indexOf(name)); }
    void setInt(std::string_view name, std::int64_t value) { setInt(indexOf(name), value); }
    std::string getText(std::string_view name) const { return getText(indexOf(name)); }
    void setText(std::string_view name, std::string_view cp1251) { setText(indexOf(name), cp1251); }
    std::int64_t getDecimalCents(std::string_view name) const { return getDecimalCents(indexOf(name)); }
    void setDecimalCents(std::string_view name, std::int64_t cents) { setDecimalCents(indexOf(name), cents); }

    bool operator==(const Record& other) const { return bytes_ == other.bytes_; }

private:
    std::size_t indexOf(std::string_view name) const;

    const RecordLayout* layout_;
    std::vector<std::uint8_t> bytes_;
};

// Packed decimal: first nibble the sign (0 positive, 0xD negative; any non-zero
// sign nibble reads as negative), then 13 BCD digits, most significant first;
// the value is an integer number of hundredths.
void packDecimal(std::int64_t cents, std::uint8_t* out7);
std::int64_t unpackDecimal(const std::uint8_t* in7);
constexpr std::int64_t kDecimalMaxCents = 9'999'999'999'999;

}  // namespace storage
