// Conformance: adding, reading by key, rewriting and deleting records; unique
// keys, letter case and blank padding in keys.
#include "tests/storage/conformance_fixture.h"

#include "platform/cp1251.h"

namespace storage_tests {
namespace {

using storage::DataFile;

const storage::KeyDef& codeKey() { return *currencyLayout().key("CODE_KEY"); }
const storage::KeyDef& oboznKey() { return *currencyLayout().key("OBOZN_KEY"); }

TEST_P(StorageConformance, RecordsComeBackByteForByte) {
    auto f = createOpen(currencyLayout());
    storage::Record& r = f->record();
    r.setValue("COD", "65535");
    r.setText(1, platform::ru("Руб"));
    r.setText(2, platform::ru("Российский рубль  (РФ)"));
    r.setValue("CREDIT", "1");
    r.setReal(4, 1.0 / 3.0);
    r.setDecimalCents(5, -1234567891);
    r.setText(6, "note  with blanks");
    r.data()[currencyLayout().fields()[7].offset] = 0x7F;  // the reserved byte
    r.setValue("DAY", "-5");
    const std::vector<std::uint8_t> written = r.bytes();
    ASSERT_EQ(f->add(), 0) << f->driverErrorText();

    r.clear();
    r.setValue("COD", "65535");
    ASSERT_EQ(f->get(codeKey()), 0);
    EXPECT_EQ(r.bytes(), written);
    // And through a second object that never saw the buffer.
    auto other = openAgain(currencyLayout());
    other->record().setValue("COD", "65535");
    ASSERT_EQ(other->get(codeKey()), 0);
    EXPECT_EQ(other->record().bytes(), written);
}

TEST_P(StorageConformance, AddPutRemoveChangeTheStoredRecords) {
    auto f = createOpen(currencyLayout());
    setCurrency(f->record(), 1, "USD", "Dollar");
    ASSERT_EQ(f->add(), 0);
    setCurrency(f->record(), 2, "EUR", "Euro");
    ASSERT_EQ(f->add(), 0);

    f->record().setValue("NAME", "Euro of the union");
    EXPECT_EQ(f->put(), 0);
    setCurrency(f->record(), 2, "");
    ASSERT_EQ(f->get(codeKey()), 0);
    EXPECT_EQ(text(f->record(), "NAME"), "Euro of the union");

    // A put may change the key; the record is then found under the new value only.
    f->record().setValue("COD", "3");
    EXPECT_EQ(f->put(), 0);
    setCurrency(f->record(), 2, "");
    EXPECT_EQ(f->get(codeKey()), 35);
    setCurrency(f->record(), 3, "");
    ASSERT_EQ(f->get(codeKey()), 0);
    EXPECT_EQ(text(f->record(), "OBOZN"), "EUR");

    EXPECT_EQ(f->remove(), 0);
    EXPECT_FALSE(f->hasCurrent());
    setCurrency(f->record(), 3, "");
    EXPECT_EQ(f->get(codeKey()), 35);
    setCurrency(f->record(), 1, "");
    EXPECT_EQ(f->get(codeKey()), 0);
}

TEST_P(StorageConformance, UniqueKeysRefuseDuplicatesWith40) {
    auto f = createOpen(currencyLayout());
    setCurrency(f->record(), 1, "USD");
    ASSERT_EQ(f->add(), 0);
    setCurrency(f->record(), 2, "EUR");
    ASSERT_EQ(f->add(), 0);

    setCurrency(f->record(), 1, "GBP");  // same code
    EXPECT_EQ(f->add(), 40);
    EXPECT_EQ(f->errorText(), "Creates Duplicate Key");
    setCurrency(f->record(), 3, "usd");  // same designation in another case
    EXPECT_EQ(f->add(), 40);
    setCurrency(f->record(), 3, "USD ");  // and with a trailing blank
    EXPECT_EQ(f->add(), 40);

    // A put that would duplicate is refused and leaves the stored record as it was.
    setCurrency(f->record(), 2, "");
    ASSERT_EQ(f->get(codeKey()), 0);
    f->record().setValue("OBOZN", "Usd");
    EXPECT_EQ(f->put(), 40);
    setCurrency(f->record(), 2, "");
    ASSERT_EQ(f->get(codeKey()), 0);
    EXPECT_EQ(text(f->record(), "OBOZN"), "EUR");
}

TEST_P(StorageConformance, DuplicateTestComparesTheBufferWithOtherRecords) {
    auto f = createOpen(currencyLayout());
    setCurrency(f->record(), 1, "USD");
    ASSERT_EQ(f->add(), 0);
    setCurrency(f->record(), 2, "EUR");
    ASSERT_EQ(f->add(), 0);

    // The current record (2, EUR) does not duplicate itself...
    EXPECT_FALSE(f->duplicates(codeKey()));
    EXPECT_FALSE(f->duplicates(oboznKey()));
    EXPECT_EQ(f->errorCode(), 0);
    // ...but does duplicate record 1 once its designation is changed to "usd".
    f->record().setValue("OBOZN", "usd");
    EXPECT_TRUE(f->duplicates(oboznKey()));
    EXPECT_FALSE(f->duplicates(codeKey()));
    // Without a current record every stored record counts.
    f->clearCurrent();
    setCurrency(f->record(), 2, "JPY");
    EXPECT_TRUE(f->duplicates(codeKey()));
    EXPECT_FALSE(f->duplicates(oboznKey()));
    // A non-unique key never reports a duplicate.
    auto p = createOpen(personLayout());
    setPerson(p->record(), 1, "Ivanov");
    ASSERT_EQ(p->add(), 0);
    p->clearCurrent();
    setPerson(p->record(), 2, "Ivanov");
    EXPECT_FALSE(p->duplicates(*personLayout().key("NAME_KEY")));
}

TEST_P(StorageConformance, MissingRecordsGive35AndMissingCurrentGives33) {
    auto f = createOpen(currencyLayout());
    setCurrency(f->record(), 1, "USD");
    ASSERT_EQ(f->add(), 0);
    const std::string position = f->position();
    ASSERT_EQ(f->remove(), 0);

    setCurrency(f->record(), 9, "XXX", "kept");
    const auto before = f->record().bytes();
    EXPECT_EQ(f->get(codeKey()), 35);
    EXPECT_EQ(f->errorText(), "Record Not Found");
    EXPECT_EQ(f->record().bytes(), before);  // a failed read leaves the buffer alone
    EXPECT_EQ(f->reget(position), 35);
    EXPECT_EQ(f->reget("not a position"), 35);
    EXPECT_EQ(f->reget(""), 35);

    EXPECT_EQ(f->put(), 33);
    EXPECT_EQ(f->remove(), 33);
    EXPECT_EQ(f->position(), "");
    EXPECT_EQ(f->errorCode(), 33);
}

TEST_P(StorageConformance, TextKeysIgnoreLetterCaseAndTrailingBlanks) {
    auto f = createOpen(currencyLayout());
    setCurrency(f->record(), 1, "USD");
    ASSERT_EQ(f->add(), 0);
    setCurrency(f->record(), 2, "US");  // stored blank-padded: "US  "
    ASSERT_EQ(f->add(), 0);
    setCurrency(f->record(), 3, platform::ru("Руб"));
    ASSERT_EQ(f->add(), 0);

    setCurrency(f->record(), 0, "usd");
    ASSERT_EQ(f->get(oboznKey()), 0);
    EXPECT_EQ(code(f->record()), 1);
    EXPECT_EQ(text(f->record(), "OBOZN"), "USD");  // the stored spelling comes back

    setCurrency(f->record(), 0, "us");
    ASSERT_EQ(f->get(oboznKey()), 0);
    EXPECT_EQ(code(f->record()), 2);
    EXPECT_EQ(*f->record().value("OBOZN"), "US  ");

    setCurrency(f->record(), 0, platform::ru("РУБ"));
    ASSERT_EQ(f->get(oboznKey()), 0);
    EXPECT_EQ(code(f->record()), 3);
    setCurrency(f->record(), 0, platform::ru("руб"));
    EXPECT_EQ(f->get(oboznKey()), 0);
}

TEST_P(StorageConformance, TextKeysOrderByUpperCasedCodePage1251) {
    auto f = createOpen(currencyLayout());
    // Upper-cased: "AAA" < "B" < "CC" < "Ё.." (0xA8) < "А.." (0xC0) < "Я" (0xDF).
    const std::vector<std::pair<int, std::string>> values = {{1, platform::ru("я")},     {2, "cc"},
                                                             {3, platform::ru("ёлка")},  {4, "AAA"},
                                                             {5, platform::ru("Арбуз")}, {6, "b"}};
    for (const auto& [c, v] : values) {
        setCurrency(f->record(), c, v);
        ASSERT_EQ(f->add(), 0) << c;
    }
    f->set(oboznKey());
    EXPECT_EQ(codesUntilEnd(*f, readNext), (std::vector<std::int64_t>{4, 6, 2, 3, 5, 1}));
}

}  // namespace
}  // namespace storage_tests
