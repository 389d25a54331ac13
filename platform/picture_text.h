// What the picture kinds share (picture.cpp, picture_calendar.cpp): the limits
// and the small text helpers of reading a picture and a value.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace platform::picture_detail {

// A picture wider than this is taken for a typing error in the definition.
inline constexpr int kMaxWidth = 255;
inline constexpr std::int32_t kDayClock = 24 * 60 * 60 * 100;

inline bool isDigit(char c) { return c >= '0' && c <= '9'; }
inline bool isBlank(char c) { return c == ' ' || c == '\t'; }

// Letters of code page 1251 text: Latin, the Cyrillic block and "Ё"/"ё".
inline bool isLetter(char c) {
    const auto u = static_cast<unsigned char>(c);
    return (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || u >= 0xC0 || u == 0xA8 ||
           u == 0xB8;
}

inline std::string_view trimBlanks(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

inline std::string hashes(int width) { return std::string(static_cast<std::size_t>(width), '#'); }
inline std::string blanks(int width) { return std::string(static_cast<std::size_t>(width), ' '); }

// Reads up to `limit` digits at `pos`; false when there is none.
inline bool readDigits(std::string_view s, std::size_t& pos, int& value, std::size_t limit = 3) {
    const std::size_t start = pos;
    value = 0;
    while (pos < s.size() && isDigit(s[pos]) && pos - start < limit) value = value * 10 + (s[pos++] - '0');
    return pos > start && (pos == s.size() || !isDigit(s[pos]));
}

inline std::string padRight(std::string text, int width) {
    if (static_cast<int>(text.size()) < width) text.append(static_cast<std::size_t>(width) - text.size(), ' ');
    return text;
}

}  // namespace platform::picture_detail
