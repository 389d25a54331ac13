// The engine's own building blocks: positions, key values, driver options.
#include "platform/cp1251.h"
#include "storage/driver_options.h"
#include "storage/field_codec.h"
#include "storage/key_value.h"
#include "storage/position.h"
#include "tests/storage/test_layouts.h"

#include <gtest/gtest.h>

namespace storage_tests {
namespace {

using storage::Position;

TEST(StoredText, EveryByteValueReadsBackAndLettersStayPlainUtf8) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    const std::string stored = storage::storedText(all);
    EXPECT_EQ(stored.find('\0'), std::string::npos);  // no byte a server's text refuses
    EXPECT_EQ(storage::textFromStored(stored), all);
    // The two bytes without a character become private-use characters; the rest is
    // the ordinary UTF-8 that SQL tools show.
    EXPECT_EQ(storage::storedText(std::string("a\0b\x98", 4)), "a\xEE\x80\x80" "b\xEE\x82\x98");
    EXPECT_EQ(storage::storedText(platform::ru("Рубль")), "Рубль");
    EXPECT_EQ(storage::textFromStored("\xEE\x80\x81\xEF\xBF\xBD"), "??");  // other characters
}

TEST(Positions, RoundTripEveryKindOfKeyPart) {
    Position p;
    p.key = 2;
    p.rowId = 1234567890123;
    p.value.parts = {std::int64_t{-5}, 3.25, std::string("\x00\xFF;,.AB", 7), std::string()};
    const std::string text = storage::encodePosition(p);
    EXPECT_LE(text.size(), storage::kMaxPositionLength);
    for (const std::string& padded :
         {text, text + std::string(40, ' '), text + std::string(3, '\0')}) {
        const auto back = storage::decodePosition(padded);
        ASSERT_TRUE(back.has_value());
        EXPECT_EQ(back->key, 2);
        EXPECT_EQ(back->rowId, p.rowId);
        EXPECT_EQ(back->value, p.value);
    }
    const auto file = storage::decodePosition(storage::encodePosition(Position{-1, 77, {}}));
    ASSERT_TRUE(file.has_value());
    EXPECT_EQ(file->key, -1);
    EXPECT_EQ(file->rowId, 77);
}

TEST(Positions, TooLongKeyValuesFallBackToTheFilePosition) {
    Position p;
    p.key = 0;
    p.rowId = 9;
    p.value.parts = {std::string(300, 'A')};
    const auto back = storage::decodePosition(storage::encodePosition(p));
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->key, -1);
    EXPECT_EQ(back->rowId, 9);
}

TEST(Positions, MalformedTextIsRefused) {
    for (const char* text :
         {"", " ", "X1;", "R12", "R;", "K1.2,q;", "K1.2,s0;", "K1.2,f00;", "K-1.2;", "K1,2;"})
        EXPECT_FALSE(storage::decodePosition(text).has_value()) << text;
}

TEST(KeyValues, TextPartsAreUpperCasedWithoutTrailingBlanks) {
    storage::Record r(personLayout());
    setPerson(r, 12, platform::ru("ёлкин  "), 3);
    r.setDecimalCents(4, -250);
    const auto& otd = *personLayout().key("OTD_KEY");
    const storage::KeyValue v = storage::keyValueOf(r, otd);
    ASSERT_EQ(v.parts.size(), 2u);
    EXPECT_EQ(std::get<std::int64_t>(v.parts[0]), 3);
    EXPECT_EQ(std::get<std::string>(v.parts[1]), platform::ru("ЁЛКИН"));
    EXPECT_EQ(storage::keyPrefixOf(r, otd, 1).parts.size(), 1u);

    storage::Record c(currencyLayout());
    c.setDecimalCents(5, -250);
    EXPECT_EQ(std::get<std::int64_t>(storage::keyPartOf(c, 5)), -250);  // DECIMAL in hundredths
    EXPECT_EQ(std::get<double>(storage::keyPartOf(c, 4)), 0.0);         // REAL stays a double

    storage::KeyValue a{{std::int64_t{3}, std::string("AB")}},
        b{{std::int64_t{3}, std::string("ABC")}};
    EXPECT_LT(storage::compareKeyValues(a, b), 0);
    EXPECT_GT(storage::compareKeyValues(b, a), 0);
    EXPECT_EQ(storage::compareKeyValues(a, a), 0);
}

TEST(DriverOptions, KnownOptionsAreParsedAndOthersRefused) {
    storage::DriverOptions o;
    EXPECT_TRUE(storage::applyDriverOption(o, "Recover=10"));
    EXPECT_EQ(o.busyWaitMs, 10000);
    EXPECT_TRUE(storage::applyDriverOption(o, " recover = 2.5 "));
    EXPECT_EQ(o.busyWaitMs, 2500);
    EXPECT_TRUE(storage::applyDriverOption(o, "JOURNAL=rollback"));
    EXPECT_EQ(o.journal, storage::JournalMode::Rollback);
    EXPECT_TRUE(storage::applyDriverOption(o, "Sync=Full"));
    EXPECT_EQ(o.sync, storage::SyncMode::Full);
    const storage::DriverOptions before = o;
    for (const char* bad :
         {"Recover", "Recover=", "Recover=-1", "Recover=10s", "Journal=Memory", "Speed=3"})
        EXPECT_FALSE(storage::applyDriverOption(o, bad)) << bad;
    EXPECT_EQ(o, before);

    storage::DriverOptions listed;
    EXPECT_TRUE(storage::applyDriverOptions(listed, " Journal=Rollback ; Recover=5;"));
    EXPECT_EQ(listed.journal, storage::JournalMode::Rollback);
    EXPECT_EQ(listed.busyWaitMs, 5000);
    EXPECT_FALSE(storage::applyDriverOptions(listed, "Sync=Full;Colour=red"));
    EXPECT_EQ(listed.sync, storage::SyncMode::Full);
}

TEST(DriverOptions, AHugeRecoverWaitsTheLongestWaitAndNotANumberIsRefused) {
    for (const char* huge : {"Recover=1e12", "Recover=inf", "Recover=86401", "Recover=3e9"}) {
        storage::DriverOptions o;
        EXPECT_TRUE(storage::applyDriverOption(o, huge)) << huge;
        EXPECT_EQ(o.busyWaitMs, storage::kMaxBusyWaitMs) << huge;
    }
    storage::DriverOptions o;
    EXPECT_TRUE(storage::applyDriverOption(o, "Recover=86400"));
    EXPECT_EQ(o.busyWaitMs, 86400000);
    for (const char* bad : {"Recover=nan", "Recover=-inf", "Recover=-nan"})
        EXPECT_FALSE(storage::applyDriverOption(o, bad)) << bad;
    EXPECT_EQ(o.busyWaitMs, 86400000);
}

}  // namespace
}  // namespace storage_tests
