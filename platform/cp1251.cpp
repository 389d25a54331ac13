#include "platform/cp1251.h"

#include <array>
#include <unordered_map>

namespace platform {

namespace {

// Unicode code points of the bytes 0x80..0xFF of code page 1251; 0x98 is unassigned.
constexpr std::array<char16_t, 128> kHighHalf = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0xFFFD, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F,
    0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427,
    0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F,
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F};

// Letters of the upper half outside "а".."я" that have a capital in the code page
// (ё, ђ, ѓ, є, ѕ, і, ї, ј, љ, њ, ћ, ќ, ў, џ, ґ ...): lower byte -> upper byte.
constexpr std::array<std::pair<unsigned char, unsigned char>, 15> kOtherLetters = {{
    {0x83, 0x81}, {0x90, 0x80}, {0x9A, 0x8A}, {0x9C, 0x8C}, {0x9D, 0x8D}, {0x9E, 0x8E}, {0x9F, 0x8F}, {0xA2, 0xA1}, {0xB3, 0xB2}, {0xB4, 0xA5}, {0xB8, 0xA8}, {0xBA, 0xAA}, {0xBC, 0xA3}, {0xBE, 0xBD}, {0xBF, 0xAF}}};

const std::unordered_map<char32_t, unsigned char>& reverseTable() {
    static const std::unordered_map<char32_t, unsigned char> table = [] {
        std::unordered_map<char32_t, unsigned char> t;
        for (unsigned i = 0; i < kHighHalf.size(); ++i)
            if (kHighHalf[i] != 0xFFFD) t[kHighHalf[i]] = static_cast<unsigned char>(0x80 + i);
        return t;
    }();
    return table;
}

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

}  // namespace

std::string cp1251ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size() * 2);
    for (char c : text) {
        const auto b = static_cast<unsigned char>(c);
        appendUtf8(out, b < 0x80 ? char32_t(b) : char32_t(kHighHalf[b - 0x80]));
    }
    return out;
}

std::string utf8ToCp1251(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    const auto& reverse = reverseTable();
    std::size_t i = 0;
    while (i < text.size()) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (b < 0x80) {
            out += static_cast<char>(b);
            ++i;
            continue;
        }
        int length = 0;
        char32_t cp = 0;
        if ((b & 0xE0) == 0xC0) { length = 2; cp = b & 0x1F; }
        else if ((b & 0xF0) == 0xE0) { length = 3; cp = b & 0x0F; }
        else if ((b & 0xF8) == 0xF0) { length = 4; cp = b & 0x07; }
        bool valid = length > 0 && i + length <= text.size();
        for (int k = 1; valid && k < length; ++k) {
            const auto cont = static_cast<unsigned char>(text[i + k]);
            if ((cont & 0xC0) != 0x80) valid = false;
            else cp = (cp << 6) | (cont & 0x3F);
        }
        if (!valid) {
            out += '?';
            ++i;
            continue;
        }
        // The Russian alphabet А..я lies in order in both (U+0410.. and 0xC0..):
        // most letters of the data need no look-up.
        if (cp >= 0x410 && cp <= 0x44F) {
            out += static_cast<char>(cp - 0x410 + 0xC0);
        } else {
            auto it = reverse.find(cp);
            out += it == reverse.end() ? '?' : static_cast<char>(it->second);
        }
        i += length;
    }
    return out;
}

unsigned char upperChar(unsigned char c) {
    if (c >= 224) return static_cast<unsigned char>(c - 32);
    if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 'a' + 'A');
    for (const auto& [lowerByte, upperByte] : kOtherLetters)
        if (c == lowerByte) return upperByte;
    return c;
}

unsigned char lowerChar(unsigned char c) {
    if (c >= 192 && c < 224) return static_cast<unsigned char>(c + 32);
    if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c - 'A' + 'a');
    for (const auto& [lowerByte, upperByte] : kOtherLetters)
        if (c == upperByte) return lowerByte;
    return c;
}

std::string upper(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(upperChar(static_cast<unsigned char>(c)));
    return out;
}

std::string lower(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(lowerChar(static_cast<unsigned char>(c)));
    return out;
}

void upperInPlace(char* text, std::size_t size) {
    if (!text) return;
    for (std::size_t i = 0; i < size; ++i)
        text[i] = static_cast<char>(upperChar(static_cast<unsigned char>(text[i])));
}

std::string_view clip(std::string_view text) {
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

}  // namespace platform
