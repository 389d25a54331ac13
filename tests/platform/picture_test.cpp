#include "platform/picture.h"

#include "platform/cp1251.h"
#include "platform/dates.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using platform::Alignment;
using platform::format;
using platform::parse;
using platform::parseDate;
using platform::parseNumber;
using platform::parseText;
using platform::parseTime;
using platform::Picture;
using platform::PictureKind;
using platform::ru;

namespace {

std::string show(const char* picture, double value) { return format(Picture(picture), value); }
std::optional<double> number(const char* picture, const char* text) {
    return parseNumber(Picture(picture), text);
}

class PictureTest : public ::testing::Test {
protected:
    void SetUp() override { platform::setTestNow(platform::dayNumber(2026, 12, 8), 1); }
    void TearDown() override { platform::clearTestNow(); }
};

}  // namespace

TEST_F(PictureTest, ReadsEveryPictureOfTheScreensWithItsWidthAndAlignment) {
    const struct {
        const char* text;
        PictureKind kind;
        int width;
        Alignment alignment;
    } cases[] = {
        {"n_2", PictureKind::Number, 2, Alignment::Right},   {"n-7.2b", PictureKind::Number, 7, Alignment::Right},
        {"n12.5", PictureKind::Number, 12, Alignment::Right}, {"N11.4", PictureKind::Number, 11, Alignment::Right},
        {"n1B", PictureKind::Number, 1, Alignment::Right},    {"@n3", PictureKind::Number, 3, Alignment::Right},
        {"n_4", PictureKind::Number, 4, Alignment::Right},    {"n-5", PictureKind::Number, 5, Alignment::Right},
        {"n9.2", PictureKind::Number, 9, Alignment::Right},   {"s4", PictureKind::Text, 4, Alignment::Left},
        {"@S200", PictureKind::Text, 200, Alignment::Left},   {"d5.", PictureKind::Date, 8, Alignment::Right},
        {"D8", PictureKind::Date, 11, Alignment::Right},      {"d6", PictureKind::Date, 10, Alignment::Right},
        {"t1", PictureKind::Time, 5, Alignment::Right},       {"T4", PictureKind::Time, 8, Alignment::Right},
    };
    for (const auto& c : cases) {
        const Picture p(c.text);
        EXPECT_EQ(p.kind(), c.kind) << c.text;
        EXPECT_EQ(p.width(), c.width) << c.text;
        EXPECT_EQ(p.alignment(), c.alignment) << c.text;
    }
    const Picture page(ru("pСтраница <#p"));
    EXPECT_EQ(page.kind(), PictureKind::Pattern);
    EXPECT_EQ(page.width(), 11);
    EXPECT_EQ(page.alignment(), Alignment::Left);
}

TEST_F(PictureTest, UnknownOrMalformedPicturesAreInvalidAndShowNothing) {
    for (const char* text : {"", "@", "x5", "n", "n-", "n(5", "n5)", "n-5-", "n2.2", "n5.2x", "n1234",
                             "s", "s0", "s5x", "d0", "d18", "d5x", "t0", "t9", "p<#", "pabcp", "e12.2"}) {
        const Picture p(text);
        EXPECT_FALSE(p.valid()) << text;
        EXPECT_EQ(p.width(), 0) << text;
        EXPECT_EQ(format(p, 12.0), "") << text;
        EXPECT_FALSE(parse(p, "12")) << text;
    }
}

TEST_F(PictureTest, CurrencyScreenNumbers) {
    EXPECT_EQ(show("n_2", 5), " 5");
    EXPECT_EQ(show("n_2", 10), "10");
    EXPECT_EQ(show("n_2", 100), "##");
    EXPECT_EQ(show("n1B", 0), " ");
    EXPECT_EQ(show("n1B", 1), "1");
    EXPECT_EQ(show("n1b", 1), "1");
    EXPECT_EQ(show("n1b", 0), " ");
    EXPECT_EQ(show("n1", 0), "0");
    EXPECT_EQ(show("n-7.2b", -12.5), " -12.50");
    EXPECT_EQ(show("n-7.2b", 3), "   3.00");
    EXPECT_EQ(show("n-7.2b", 0), "       ");
    EXPECT_EQ(show("n-7.2b", 0.004), "       ");  // rounds to nothing but zeros
    EXPECT_EQ(show("n12.5", 75.12345), "    75.12345");
    EXPECT_EQ(show("n12.5", 103.00000000000001), "   103.00000");
    EXPECT_EQ(show("n11.5", 1.5), "    1.50000");
    EXPECT_EQ(show("n11.4", 1.23455), "     1.2346");
    EXPECT_EQ(show("n11.4", 1.23454), "     1.2345");
}

TEST_F(PictureTest, RoundsHalfAwayFromZeroOnTheWrittenDigits) {
    EXPECT_EQ(show("n-7.2", 2.675), "   2.68");
    EXPECT_EQ(show("n-7.2", -2.675), "  -2.68");
    EXPECT_EQ(show("n-7.2", 0.005), "   0.01");
    EXPECT_EQ(show("n-7.2", -0.004), "   0.00");  // no minus on a shown zero
    EXPECT_EQ(show("n3", 0.5), "  1");
    EXPECT_EQ(show("n3", 999.4), "999");
    EXPECT_EQ(show("n3", 999.5), "###");  // the carry makes it too wide
    EXPECT_EQ(show("n12.2", 9.995), "       10.00");
}

TEST_F(PictureTest, GroupsThousandsAndDropsGroupingBeforeOverflowing) {
    EXPECT_EQ(show("n9.2", 1234.5), " 1,234.50");
    EXPECT_EQ(show("n12.5", 12345.6789), "12,345.67890");
    EXPECT_EQ(show("n12.5", 123456.5), "123456.50000");  // grouped it would need 13
    EXPECT_EQ(show("n12.5", 1234567.5), "############");
    EXPECT_EQ(show("n12", 1234567), "   1,234,567");
    EXPECT_EQ(show("n12.", 1234567), "   1.234.567");
    EXPECT_EQ(show("n12_", 1234567), "   1 234 567");
    EXPECT_EQ(show("n12.`2", 1234.5), "    1.234,50");
    EXPECT_EQ(show("n12`2", 1234.5), "    1.234,50");
    EXPECT_EQ(show("n12_.2", 1234.5), "    1 234.50");
    EXPECT_EQ(show("n_12`2", 1234.5), "     1234,50");
    EXPECT_EQ(show("n_4", 1234), "1234");
    EXPECT_EQ(show("n4.3", 0.5), ".500");  // the leading 0 gives way before overflow
}

TEST_F(PictureTest, SignsFillsAndCurrency) {
    EXPECT_EQ(show("n09", 4550), "000004550");
    EXPECT_EQ(show("n-09", -12), "-00000012");
    EXPECT_EQ(show("n*9.2", 12.5), "****12.50");
    EXPECT_EQ(show("n(10.2)", -4550.75), "(4,550.75)");
    EXPECT_EQ(show("n(10.2)", 4550.75), " 4,550.75 ");
    EXPECT_EQ(show("n10.2-", -4550.75), " 4,550.75-");
    EXPECT_EQ(show("n10.2-", 4550.75), " 4,550.75 ");
    EXPECT_EQ(show("n$10.2", 12.5), "    $12.50");
    EXPECT_EQ(show("n$010.2", 12.5), "$000012.50");
    EXPECT_EQ(format(Picture(ru("n10.2~ р.~")), 12.5), ru("  12.50 р."));
    // No sign in the picture: the minus still shows when it fits, else overflow.
    EXPECT_EQ(show("n3", -5), " -5");
    EXPECT_EQ(show("n1", -5), "#");
    EXPECT_EQ(show("n-5", -1234), "-1234");
    EXPECT_EQ(show("n-5", 12345), "12345");
    EXPECT_EQ(show("n-5", -12345), "#####");
}

TEST_F(PictureTest, WholeNumbersAndValuesThatCannotBeShown) {
    const Picture wide("n25");
    EXPECT_EQ(format(wide, std::int64_t{9007199254740993}), "    9,007,199,254,740,993");
    EXPECT_EQ(format(Picture("n26"), std::numeric_limits<std::int64_t>::min()),
              "-9,223,372,036,854,775,808");
    EXPECT_EQ(format(Picture("n_4"), 12), "  12");
    EXPECT_EQ(show("n12.5", std::nan("")), "############");
    EXPECT_EQ(show("n3", std::numeric_limits<double>::infinity()), "###");
    EXPECT_EQ(show("n12.2", 1e300), "############");
    EXPECT_EQ(format(Picture("n-7.2"), "-12.5"), " -12.50");
    EXPECT_EQ(format(Picture("n-7.2"), "abc"), "   0.00");
}

TEST_F(PictureTest, Dates) {
    const std::int32_t day = platform::dayNumber(2026, 12, 8);
    EXPECT_EQ(format(Picture("d5."), day), "08.12.26");
    EXPECT_EQ(format(Picture("D5"), day), "08/12/26");
    EXPECT_EQ(format(Picture("d5-"), day), "08-12-26");
    EXPECT_EQ(format(Picture("d5_"), day), "08 12 26");
    EXPECT_EQ(format(Picture("d6`"), day), "08,12,2026");
    EXPECT_EQ(format(Picture("d1"), day), "12/08/26");
    EXPECT_EQ(format(Picture("d2"), day), "12/08/2026");
    EXPECT_EQ(format(Picture("d6"), day), "08/12/2026");
    EXPECT_EQ(format(Picture("d10"), day), "2026/12/08");
    EXPECT_EQ(format(Picture("d12"), day), "20261208");
    EXPECT_EQ(format(Picture("d8"), day), ru("08 дек 2026"));
    EXPECT_EQ(format(Picture("d17"), day), "08.12.2026");
    EXPECT_EQ(format(Picture("d4"), day), ru("декабрь 08, 2026 "));
    EXPECT_EQ(format(Picture("d5."), 0), "        ");
    EXPECT_EQ(format(Picture("d5.b"), 0), "        ");
    EXPECT_EQ(format(Picture("d5."), -3), "########");
    EXPECT_EQ(format(Picture("d5."), 99999999), "########");  // beyond the year 9999
}

TEST_F(PictureTest, Times) {
    const std::int32_t t = platform::clockValue(14, 5, 30, 99);
    EXPECT_EQ(format(Picture("t1"), t), "14:05");
    EXPECT_EQ(format(Picture("t1."), t), "14.05");
    EXPECT_EQ(format(Picture("t2"), t), "1405");
    EXPECT_EQ(format(Picture("t3"), t), "02:05PM");
    EXPECT_EQ(format(Picture("t4"), t), "14:05:30");
    EXPECT_EQ(format(Picture("t5"), t), "140530");
    EXPECT_EQ(format(Picture("t3"), platform::clockValue(0, 1, 0)), "12:01AM");
    EXPECT_EQ(format(Picture("t1"), platform::clockValue(0, 0, 0)), "00:00");
    EXPECT_EQ(format(Picture("t1"), 0), "     ");
    EXPECT_EQ(format(Picture("t4"), 24 * 60 * 60 * 100 + 1), "########");
}

TEST_F(PictureTest, TextAndPatterns) {
    EXPECT_EQ(format(Picture("s4"), "USD"), "USD ");
    EXPECT_EQ(format(Picture("s4"), "ABCDEF"), "ABCD");
    EXPECT_EQ(format(Picture("s5"), 12.5), "12.5 ");
    EXPECT_EQ(format(Picture("s11"), platform::weekdayName(platform::dayNumber(2026, 12, 6))),
              ru("Воскресенье"));
    const Picture page(ru("pСтраница <#p"));
    EXPECT_EQ(format(page, 5), ru("Страница  5"));
    EXPECT_EQ(format(page, 12), ru("Страница 12"));
    EXPECT_EQ(format(page, 123), ru("Страница ##"));
    EXPECT_EQ(format(page, -1), ru("Страница ##"));
    const Picture longPage(ru("pСтраница <<#p"));
    EXPECT_EQ(format(longPage, 5), ru("Страница   5"));
    EXPECT_EQ(format(longPage, 0), ru("Страница   0"));
    EXPECT_EQ(format(longPage, 105), ru("Страница 105"));
    EXPECT_EQ(format(Picture("P(###)<<#-####P"), std::int64_t{4951234567}), "(495)123-4567");
}

TEST_F(PictureTest, NumberEntriesRoundTrip) {
    const struct {
        const char* picture;
        double value;
    } cases[] = {{"n12.5", 75.12345}, {"n12.5", 12345.6789}, {"n-7.2b", -12.5}, {"n-7.2b", 0},
                 {"n(10.2)", -4550.75}, {"n10.2-", -4550.75}, {"n*9.2", 12.5}, {"n12.`2", 1234.5},
                 {"n_2", 10},           {"n-5", -1234},         {"n9.2", 123456.78}, {"n$010.2", 12.5}};
    for (const auto& c : cases) {
        const Picture p(c.picture);
        const auto back = parseNumber(p, format(p, c.value));
        ASSERT_TRUE(back) << c.picture << " " << format(p, c.value);
        EXPECT_DOUBLE_EQ(*back, c.value) << c.picture;
    }
}

TEST_F(PictureTest, NumberEntriesAcceptBothDecimalSeparatorsAndGrouping) {
    EXPECT_EQ(number("n12.5", "1,5"), 1.5);
    EXPECT_EQ(number("n12.5", "1.5"), 1.5);
    EXPECT_EQ(number("n12.5", "1,234"), 1234);  // the picture's grouping followed by three digits
    EXPECT_EQ(number("n12.5", "1 234,5"), 1234.5);
    EXPECT_EQ(number("n12.5", "1.234,56"), 1234.56);
    EXPECT_EQ(number("n16.5", "1,234,567.5"), 1234567.5);
    EXPECT_EQ(number("n12.5", "1,234,567.5"), std::nullopt);  // 13 digits and point in 12
    EXPECT_EQ(number("n12.5", " 1.234567 "), 1.23457);  // rounded to the places
    EXPECT_EQ(number("n12.5", ""), 0);
    EXPECT_EQ(number("n-7.2", "12-"), -12);
    EXPECT_EQ(number("n-7.2", "(12.5)"), -12.5);
    EXPECT_EQ(number("n3", "1,000"), std::nullopt);  // fits only grouped, and grouped is 5 wide
    EXPECT_EQ(number("n-5", "12345"), 12345);
    EXPECT_EQ(number("n-5", "-1234"), -1234);
}

TEST_F(PictureTest, NumberEntriesThePictureDoesNotAdmit) {
    EXPECT_EQ(number("n3", "-5"), std::nullopt);  // no sign in the picture
    EXPECT_EQ(number("n_2", "100"), std::nullopt);
    EXPECT_EQ(number("n-5", "123456"), std::nullopt);
    EXPECT_EQ(number("n-5", "-12345"), std::nullopt);
    EXPECT_EQ(number("n3", "abc"), std::nullopt);
    EXPECT_EQ(number("n3", "12a"), std::nullopt);
    EXPECT_EQ(number("n3", "1.5"), std::nullopt);  // a whole-number picture has no fraction
    EXPECT_EQ(number("n12.5", "1,2.3,4"), std::nullopt);
    EXPECT_EQ(number("n12.5", "1.2.3,4"), 123.4);
    EXPECT_EQ(number("n12.5", "."), std::nullopt);
    EXPECT_EQ(number("n12.5", "--1"), std::nullopt);
}

TEST_F(PictureTest, DateEntries) {
    const Picture d5("d5.");
    const std::int32_t day = platform::dayNumber(2026, 12, 8);
    EXPECT_EQ(parseDate(d5, "08.12.26"), day);
    EXPECT_EQ(parseDate(d5, "8/12/2026"), day);
    EXPECT_EQ(parseDate(d5, "081226"), day);
    EXPECT_EQ(parseDate(d5, "08122026"), day);
    EXPECT_EQ(parseDate(d5, ru("8 дек 26")), day);
    EXPECT_EQ(parseDate(d5, ""), 0);
    EXPECT_EQ(parseDate(d5, format(d5, day)), day);
    EXPECT_EQ(parseDate(Picture("d1"), "12/08/26"), day);
    EXPECT_EQ(parseDate(Picture("d8"), ru("8 декабря 2026")), day);
    EXPECT_EQ(parseDate(Picture("d8"), ru("1 мая 2026")), platform::dayNumber(2026, 5, 1));
    EXPECT_EQ(parseDate(Picture("d12"), "20261208"), day);
    EXPECT_EQ(parseDate(Picture("d14"), "12/2026"), platform::dayNumber(2026, 12, 1));
    for (const char* bad : {"31.02.25", "32.01.25", "08.13.26", "00.12.26", "08.12", "08.12.26.1",
                            "0812261", "08.12.126", "abc", "08:12:26x"})
        EXPECT_EQ(parseDate(d5, bad), std::nullopt) << bad;
    EXPECT_EQ(parseDate(Picture("d6"), "081226"), std::nullopt);  // a four-digit year is expected
}

TEST_F(PictureTest, TwoDigitYearsFallWithinEightyYearsBackAndNineteenAhead) {
    EXPECT_EQ(platform::expandTwoDigitYear(26), 2026);
    EXPECT_EQ(platform::expandTwoDigitYear(45), 2045);
    EXPECT_EQ(platform::expandTwoDigitYear(46), 1946);
    EXPECT_EQ(platform::expandTwoDigitYear(0), 2000);
    EXPECT_EQ(parseDate(Picture("d5."), "01.01.60"), platform::dayNumber(1960, 1, 1));
    platform::setTestNow(platform::dayNumber(2090, 1, 1), 1);
    EXPECT_EQ(platform::expandTwoDigitYear(5), 2105);
    EXPECT_EQ(platform::expandTwoDigitYear(10), 2010);
}

TEST_F(PictureTest, TimeEntries) {
    const Picture t1("t1");
    EXPECT_EQ(parseTime(t1, "14:05"), platform::clockValue(14, 5, 0));
    EXPECT_EQ(parseTime(t1, "1405"), platform::clockValue(14, 5, 0));
    EXPECT_EQ(parseTime(t1, "905"), platform::clockValue(9, 5, 0));
    EXPECT_EQ(parseTime(t1, "9"), platform::clockValue(9, 0, 0));
    EXPECT_EQ(parseTime(t1, "00:00"), 1);
    EXPECT_EQ(parseTime(t1, ""), 0);
    EXPECT_EQ(parseTime(Picture("t4"), "14:05:30"), platform::clockValue(14, 5, 30));
    EXPECT_EQ(parseTime(Picture("t3"), "2:05 PM"), platform::clockValue(14, 5, 0));
    EXPECT_EQ(parseTime(Picture("t3"), "12:05am"), platform::clockValue(0, 5, 0));
    for (const char* bad : {"25:00", "24:00", "14:60", "14:05:60", "1:2:3:4", "1234567", "ab", "13:00PM"})
        EXPECT_EQ(parseTime(t1, bad), std::nullopt) << bad;
}

TEST_F(PictureTest, TextPatternAndGenericEntries) {
    const Picture s4("s4");
    EXPECT_EQ(parseText(s4, "USD"), "USD");
    EXPECT_EQ(parseText(s4, "USD     "), "USD");
    EXPECT_EQ(parseText(s4, "USDXX"), std::nullopt);
    const Picture page(ru("pСтраница <#p"));
    EXPECT_EQ(parseNumber(page, ru("Страница 12")), 12);
    EXPECT_EQ(parseNumber(page, ru("Страница  5")), 5);
    EXPECT_EQ(parseNumber(page, ru("Стр 5")), std::nullopt);
    EXPECT_EQ(parseNumber(page, ru("Страница 123")), std::nullopt);

    EXPECT_EQ(parse(Picture("n-7.2b"), "-1,5"), platform::PictureValue(-1.5));
    EXPECT_EQ(parse(s4, "RUB"), platform::PictureValue(std::string("RUB")));
    EXPECT_EQ(parse(Picture("d5."), "08.12.26"),
              platform::PictureValue(static_cast<double>(platform::dayNumber(2026, 12, 8))));
    EXPECT_EQ(parse(Picture("t1"), "14:05"),
              platform::PictureValue(static_cast<double>(platform::clockValue(14, 5, 0))));
    EXPECT_EQ(parseDate(Picture("t1"), "14:05"), std::nullopt);  // the entry's kind must match
    EXPECT_EQ(parseText(Picture("n3"), "1"), std::nullopt);
}
