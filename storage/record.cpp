#include "storage/record.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <stdexcept>

namespace storage {

namespace {

std::uint64_t readLittle(const std::uint8_t* p, std::size_t n) {
    std::uint64_t v = 0;
    for (std::size_t i = 0; i < n; ++i) v |= static_cast<std::uint64_t>(p[i]) << (8 * i);
    return v;
}

void writeLittle(std::uint8_t* p, std::size_t n, std::uint64_t v) {
    for (std::size_t i = 0; i < n; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

std::string formatReal(double v) {
    if (std::isnan(v) || std::isinf(v)) return "0";
    if (v == std::floor(v) && std::fabs(v) < 1e15) {
        char buf[32];
        auto res = std::to_chars(buf, buf + sizeof buf, static_cast<long long>(v));
        return std::string(buf, res.ptr);
    }
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, res.ptr);
}

std::string_view trimBlanks(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

double parseNumber(std::string_view text) {
    text = trimBlanks(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    double v = 0;
    auto res = std::from_chars(text.data(), text.data() + text.size(), v);
    if (res.ec != std::errc() || !std::isfinite(v)) return 0;  // "inf", "nan" are not numbers here
    return v;
}

constexpr double kTwo63 = 9223372036854775808.0;
constexpr double kTwo64 = 18446744073709551616.0;

// The whole part of a double as a 64-bit pattern modulo 2^64, so that an integer
// field of any width keeps the low bytes (the wrap of the runtime's assignment).
// NaN and infinities give 0. Every step is exact, and no conversion overflows.
std::int64_t wrapToInt64(double v) {
    if (!std::isfinite(v)) return 0;
    double m = std::fmod(std::trunc(v), kTwo64);  // in (-2^64, 2^64)
    if (m >= kTwo63)
        m -= kTwo64;
    else if (m < -kTwo63)
        m += kTwo64;
    return static_cast<std::int64_t>(m);
}

// The whole part of a double limited to the 64-bit range; NaN gives 0.
std::int64_t clampToInt64(double v) {
    if (std::isnan(v)) return 0;
    if (v >= kTwo63) return INT64_MAX;
    if (v < -kTwo63) return INT64_MIN;
    return static_cast<std::int64_t>(v);
}

// Hundredths of a double, rounded half away from zero and limited to what a
// DECIMAL holds; NaN gives 0.
std::int64_t centsOfReal(double v) {
    if (std::isnan(v)) return 0;
    const double cents = v * 100.0;
    if (cents >= static_cast<double>(kDecimalMaxCents)) return kDecimalMaxCents;
    if (cents <= -static_cast<double>(kDecimalMaxCents)) return -kDecimalMaxCents;
    return static_cast<std::int64_t>(std::llround(cents));
}

// Hundredths of an integer, limited to what a DECIMAL holds.
std::int64_t centsOfInteger(std::int64_t v) {
    constexpr std::int64_t kMaxWhole = kDecimalMaxCents / 100;
    if (v > kMaxWhole) return kDecimalMaxCents;
    if (v < -kMaxWhole) return -kDecimalMaxCents;
    return v * 100;
}

// A plain decimal text ("-12.5", " 0.005 ", "+3.") as hundredths, exactly: the
// third decimal rounds half away from zero, further ones are ignored, an integer
// part beyond the DECIMAL range is limited. nullopt for anything else (exponents,
// letters), which then goes through the double parse.
std::optional<std::int64_t> parseCents(std::string_view text) {
    text = trimBlanks(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    std::int64_t whole = 0;
    bool anyDigit = false;
    std::size_t i = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        anyDigit = true;
        if (whole <= kDecimalMaxCents) whole = whole * 10 + (text[i] - '0');
    }
    int fraction[3] = {0, 0, 0};
    if (i < text.size() && text[i] == '.') {
        ++i;
        for (int place = 0; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, ++place) {
            anyDigit = true;
            if (place < 3) fraction[place] = text[i] - '0';
        }
    }
    if (!anyDigit || i != text.size()) return std::nullopt;
    std::int64_t cents = centsOfInteger(whole) + fraction[0] * 10 + fraction[1];
    if (fraction[2] >= 5) ++cents;
    cents = std::min(cents, kDecimalMaxCents);
    return negative ? -cents : cents;
}

}  // namespace

void packDecimal(std::int64_t cents, std::uint8_t* out) {
    const bool negative = cents < 0;
    std::uint64_t magnitude = negative ? static_cast<std::uint64_t>(-(cents + 1)) + 1
                                       : static_cast<std::uint64_t>(cents);
    if (magnitude > static_cast<std::uint64_t>(kDecimalMaxCents))
        magnitude = static_cast<std::uint64_t>(kDecimalMaxCents);
    // 14 nibbles: sign, then 13 digits, most significant first.
    std::uint8_t nibbles[14];
    nibbles[0] = negative && magnitude != 0 ? 0xD : 0x0;
    for (int i = 13; i >= 1; --i) {
        nibbles[i] = static_cast<std::uint8_t>(magnitude % 10);
        magnitude /= 10;
    }
    for (int i = 0; i < 7; ++i)
        out[i] = static_cast<std::uint8_t>((nibbles[2 * i] << 4) | nibbles[2 * i + 1]);
}

std::int64_t unpackDecimal(const std::uint8_t* in) {
    std::int64_t magnitude = 0;
    for (int i = 1; i < 14; ++i) {
        const std::uint8_t byte = in[i / 2];
        std::uint8_t digit = (i % 2 == 0) ? (byte >> 4) : (byte & 0x0F);
        if (digit > 9) digit = 0;  // not a decimal digit: read as 0
        magnitude = magnitude * 10 + digit;
    }
    const bool negative = (in[0] >> 4) != 0;
    return negative ? -magnitude : magnitude;
}

Record::Record(const RecordLayout& layout) : layout_(&layout), bytes_(layout.recordSize()) {
    clear();
}

void Record::assign(const std::vector<std::uint8_t>& bytes) {
    if (bytes.size() != bytes_.size())
        throw std::invalid_argument("record of " + layout_->label() + " has the wrong size");
    bytes_ = bytes;
}

void Record::clear() {
    for (const FieldDef& f : layout_->fields()) {
        std::uint8_t* p = bytes_.data() + f.offset;
        if (f.type == FieldType::String)
            std::memset(p, ' ', f.size);
        else
            std::memset(p, 0, f.size);
    }
    // A cleared DECIMAL is a positive zero: all nibbles 0.
}

std::int64_t Record::getInt(std::size_t field) const {
    const FieldDef& f = layout_->fields().at(field);
    const std::uint8_t* p = bytes_.data() + f.offset;
    switch (f.type) {
        case FieldType::Byte: return p[0];
        case FieldType::Short: return static_cast<std::int16_t>(readLittle(p, 2));
        case FieldType::UShort: return static_cast<std::uint16_t>(readLittle(p, 2));
        case FieldType::Long: return static_cast<std::int32_t>(readLittle(p, 4));
        case FieldType::ULong: return static_cast<std::uint32_t>(readLittle(p, 4));
        case FieldType::Real: return clampToInt64(getReal(field));
        case FieldType::Decimal: return unpackDecimal(p) / 100;
        default: return clampToInt64(parseNumber(getText(field)));
    }
}

void Record::setInt(std::size_t field, std::int64_t value) {
    const FieldDef& f = layout_->fields().at(field);
    std::uint8_t* p = bytes_.data() + f.offset;
    switch (f.type) {
        case FieldType::Byte:
        case FieldType::Short:
        case FieldType::UShort:
        case FieldType::Long:
        case FieldType::ULong:
            writeLittle(p, f.size, static_cast<std::uint64_t>(value));
            break;
        case FieldType::Real: setReal(field, static_cast<double>(value)); break;
        case FieldType::Decimal: setDecimalCents(field, centsOfInteger(value)); break;
        default: setText(field, std::to_string(value)); break;
    }
}

double Record::getReal(std::size_t field) const {
    const FieldDef& f = layout_->fields().at(field);
    const std::uint8_t* p = bytes_.data() + f.offset;
    switch (f.type) {
        case FieldType::Real: {
            const std::uint64_t bits = readLittle(p, 8);
            double v;
            std::memcpy(&v, &bits, sizeof v);
            return v;
        }
        case FieldType::Decimal: return static_cast<double>(unpackDecimal(p)) / 100.0;
        case FieldType::String:
        case FieldType::CString: return parseNumber(getText(field));
        default: return static_cast<double>(getInt(field));
    }
}

void Record::setReal(std::size_t field, double value) {
    const FieldDef& f = layout_->fields().at(field);
    std::uint8_t* p = bytes_.data() + f.offset;
    switch (f.type) {
        case FieldType::Real: {
            std::uint64_t bits;
            std::memcpy(&bits, &value, sizeof bits);
            writeLittle(p, 8, bits);
            break;
        }
        case FieldType::Decimal: setDecimalCents(field, centsOfReal(value)); break;
        case FieldType::String:
        case FieldType::CString: setText(field, formatReal(value)); break;
        default: setInt(field, wrapToInt64(value)); break;
    }
}

std::int64_t Record::getDecimalCents(std::size_t field) const {
    const FieldDef& f = layout_->fields().at(field);
    if (f.type == FieldType::Decimal) return unpackDecimal(bytes_.data() + f.offset);
    return centsOfReal(getReal(field));
}

void Record::setDecimalCents(std::size_t field, std::int64_t cents) {
    const FieldDef& f = layout_->fields().at(field);
    if (f.type == FieldType::Decimal) {
        packDecimal(cents, bytes_.data() + f.offset);
        return;
    }
    setReal(field, static_cast<double>(cents) / 100.0);
}

std::string Record::getText(std::size_t field) const {
    const FieldDef& f = layout_->fields().at(field);
    const char* p = reinterpret_cast<const char*>(bytes_.data() + f.offset);
    if (f.type == FieldType::String) return std::string(p, f.size);
    if (f.type == FieldType::CString) return std::string(p, strnlen(p, f.size));
    return value(field);
}

void Record::setText(std::size_t field, std::string_view text) {
    const FieldDef& f = layout_->fields().at(field);
    std::uint8_t* p = bytes_.data() + f.offset;
    if (f.type == FieldType::String) {
        const std::size_t n = std::min(text.size(), f.size);
        std::memcpy(p, text.data(), n);
        std::memset(p + n, ' ', f.size - n);
    } else if (f.type == FieldType::CString) {
        std::size_t n = std::min(text.size(), f.size - 1);
        // A zero inside the value ends it, as in the stored form.
        const void* zero = std::memchr(text.data(), 0, n);
        if (zero) n = static_cast<std::size_t>(static_cast<const char*>(zero) - text.data());
        std::memcpy(p, text.data(), n);
        std::memset(p + n, 0, f.size - n);
    } else {
        setValue(field, text);
    }
}

std::string Record::value(std::size_t field) const {
    const FieldDef& f = layout_->fields().at(field);
    switch (f.type) {
        case FieldType::String:
        case FieldType::CString: return getText(field);
        case FieldType::Real: return formatReal(getReal(field));
        case FieldType::Decimal: {
            const std::int64_t cents = getDecimalCents(field);
            const std::int64_t magnitude = cents < 0 ? -cents : cents;
            std::string out = (cents < 0 ? "-" : "") + std::to_string(magnitude / 100) + ".";
            const int frac = static_cast<int>(magnitude % 100);
            out += static_cast<char>('0' + frac / 10);
            out += static_cast<char>('0' + frac % 10);
            return out;
        }
        default: return std::to_string(getInt(field));
    }
}

void Record::setValue(std::size_t field, std::string_view text) {
    const FieldDef& f = layout_->fields().at(field);
    switch (f.type) {
        case FieldType::String:
        case FieldType::CString: setText(field, text); break;
        case FieldType::Real: setReal(field, parseNumber(text)); break;
        case FieldType::Decimal: {
            const std::optional<std::int64_t> cents = parseCents(text);
            setDecimalCents(field, cents ? *cents : centsOfReal(parseNumber(text)));
            break;
        }
        default: setInt(field, wrapToInt64(parseNumber(text))); break;
    }
}

std::optional<std::string> Record::value(std::string_view name) const {
    const int index = layout_->fieldIndex(name);
    if (index < 0) return std::nullopt;
    return value(static_cast<std::size_t>(index));
}

bool Record::setValue(std::string_view name, std::string_view text) {
    const int index = layout_->fieldIndex(name);
    if (index < 0) return false;
    setValue(static_cast<std::size_t>(index), text);
    return true;
}

std::size_t Record::indexOf(std::string_view name) const { return layout_->indexOf(name); }

}  // namespace storage
