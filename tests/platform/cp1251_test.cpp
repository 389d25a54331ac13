// Code page 1251 text and its upper-casing rule.
#include "platform/cp1251.h"

#include <gtest/gtest.h>

namespace {

using platform::ru;

TEST(Cp1251, RoundTripsEveryAssignedByte) {
    for (int b = 1; b < 256; ++b) {
        if (b == 0x98) continue;  // unassigned in the code page
        const std::string one(1, static_cast<char>(b));
        EXPECT_EQ(platform::utf8ToCp1251(platform::cp1251ToUtf8(one)), one) << "byte " << b;
    }
    EXPECT_EQ(platform::cp1251ToUtf8(std::string(1, '\xC0')), "А");
    EXPECT_EQ(platform::cp1251ToUtf8(std::string(1, '\xB8')), "ё");
    EXPECT_EQ(platform::cp1251ToUtf8(std::string(1, '\xB9')), "№");
    EXPECT_EQ(ru("Справочники").size(), 11u) << "one byte per letter";
}

TEST(Cp1251, UnmappableAndBrokenInputBecomesQuestionMarks) {
    EXPECT_EQ(platform::utf8ToCp1251("日本"), "??");
    EXPECT_EQ(platform::utf8ToCp1251("a\xFF" "b"), "a?b");
    EXPECT_EQ(platform::utf8ToCp1251("\xD0"), "?") << "a sequence cut short at the end";
    EXPECT_EQ(platform::utf8ToCp1251("€"), "\x88");
}

TEST(Cp1251, UpperCaseRule) {
    EXPECT_EQ(platform::upper(ru("абв xyz")), ru("АБВ XYZ"));
    EXPECT_EQ(platform::upper(ru("эюя ёж")), ru("ЭЮЯ ЁЖ"));
    EXPECT_EQ(platform::upper(ru("Петров И.С. 12")), ru("ПЕТРОВ И.С. 12"));
    // Every small letter а..я (224..255) becomes the byte 32 lower.
    for (int c = 224; c <= 255; ++c)
        EXPECT_EQ(platform::upperChar(static_cast<unsigned char>(c)), c - 32);
    // Capitals, digits and signs are left alone.
    for (int c : {int('A'), int('Z'), int('0'), int('.'), int(' '), 0xC0, 0xDF, 0xA8})
        EXPECT_EQ(platform::upperChar(static_cast<unsigned char>(c)), c);
    EXPECT_EQ(platform::lower(ru("ПЕТРОВ Ё")), ru("петров ё"));
}

TEST(Cp1251, UpperInPlaceCoversTheWholeDeclaredSize) {
    char text[8] = {'a', 'b', 0, 'c', '\xE0', ' ', 'z', 0};
    platform::upperInPlace(text, 7);
    EXPECT_EQ(std::string(text, 8), std::string("AB\0C\xC0 Z\0", 8))
        << "characters after an embedded zero are converted too";
    platform::upperInPlace(nullptr, 5);  // a null text is ignored
}

TEST(Cp1251, ClipRemovesTrailingBlanksOnly) {
    EXPECT_EQ(platform::clip("  USD  "), "  USD");
    EXPECT_EQ(platform::clip("    "), "");
    EXPECT_EQ(platform::clip(""), "");
}

}  // namespace
