// Conformance: opening, creating and closing files, and the errors of files that
// are missing, mismatched or opened the wrong way.
#include "tests/storage/conformance_fixture.h"

namespace storage_tests {
namespace {

using storage::DataFile;

TEST_P(StorageConformance, MissingFileGives2AndCreateMakesItEmpty) {
    auto f = fileIn(space(), currencyLayout());
    EXPECT_EQ(f->open(), 2);
    EXPECT_EQ(f->errorText(), "File Not Found");
    EXPECT_FALSE(f->isOpen());

    EXPECT_EQ(f->create(), 0) << f->driverErrorText();
    EXPECT_FALSE(f->isOpen());
    EXPECT_EQ(f->open(), 0) << f->driverErrorText();
    EXPECT_EQ(f->open(), 52);
    EXPECT_TRUE(f->isOpen());
    EXPECT_EQ(f->set(*currencyLayout().key("CODE_KEY")), 0);
    EXPECT_EQ(f->next(), 33);
    EXPECT_EQ(f->errorText(), "Record Not Available");
    EXPECT_EQ(f->close(), 0);
    EXPECT_FALSE(f->isOpen());
}

TEST_P(StorageConformance, CreateEmptiesAnExistingFile) {
    auto f = createOpen(currencyLayout());
    setCurrency(f->record(), 1, "USD");
    ASSERT_EQ(f->add(), 0);
    EXPECT_EQ(f->create(), 0);
    EXPECT_FALSE(f->isOpen());
    ASSERT_EQ(f->open(), 0);
    f->set();
    EXPECT_EQ(f->next(), 33);
}

TEST_P(StorageConformance, TableThatDoesNotMatchTheLayoutGives47) {
    createOpen(currencyLayout());
    auto other = fileIn(space(), otherCurrencyLayout());
    EXPECT_EQ(other->open(), 47);
    EXPECT_EQ(other->errorText(), "Invalid Record Declaration");
    EXPECT_FALSE(other->driverErrorText().empty());
    EXPECT_FALSE(other->isOpen());
}

TEST_P(StorageConformance, ReadOnlyOpenReadsButRefusesWrites) {
    {
        auto f = createOpen(currencyLayout());
        setCurrency(f->record(), 7, "EUR");
        ASSERT_EQ(f->add(), 0);
    }
    auto f = fileIn(space(), currencyLayout());
    ASSERT_EQ(f->open(storage::kOpenReadOnlyShared), 0) << f->driverErrorText();
    setCurrency(f->record(), 7, "");
    EXPECT_EQ(f->get(*currencyLayout().key("CODE_KEY")), 0);
    EXPECT_EQ(text(f->record(), "OBOZN"), "EUR");
    EXPECT_NE(f->put(), 0);
    setCurrency(f->record(), 8, "GBP");
    EXPECT_NE(f->add(), 0);
    EXPECT_FALSE(f->errorText().empty());
}

TEST_P(StorageConformance, OperationsOnAClosedFileFailWithoutHarm) {
    auto f = fileIn(space(), currencyLayout());
    const auto& key = *currencyLayout().key("CODE_KEY");
    EXPECT_NE(f->next(), 0);
    EXPECT_NE(f->get(key), 0);
    EXPECT_NE(f->add(), 0);
    EXPECT_NE(f->set(key), 0);
    EXPECT_FALSE(f->duplicates(key));
    EXPECT_EQ(f->rollback(), 0);
    EXPECT_EQ(f->close(), 0);
}

TEST_P(StorageConformance, DriverOptionsAreTakenOrRefused) {
    auto f = createOpen(currencyLayout());
    EXPECT_EQ(f->sendOption("Recover=10"), 0);
    EXPECT_EQ(f->sendOption(" recover = 0 "), 0);
    EXPECT_EQ(f->sendOption("Bogus=1"), 90);
    EXPECT_EQ(f->sendOption("Recover=soon"), 90);
    // The file keeps working after the options.
    setCurrency(f->record(), 1, "USD");
    EXPECT_EQ(f->add(), 0);
}

TEST_P(StorageConformance, TransactionsCommitOrRollBack) {
    auto f = createOpen(currencyLayout());
    const auto& key = *currencyLayout().key("CODE_KEY");
    ASSERT_EQ(f->begin(), 0);
    setCurrency(f->record(), 1, "USD");
    ASSERT_EQ(f->add(), 0);
    EXPECT_EQ(f->rollback(), 0);
    setCurrency(f->record(), 1, "");
    EXPECT_EQ(f->get(key), 35);

    ASSERT_EQ(f->begin(), 0);
    setCurrency(f->record(), 2, "EUR");
    ASSERT_EQ(f->add(), 0);
    EXPECT_EQ(f->commit(), 0);
    EXPECT_EQ(f->rollback(), 0);  // nothing in progress
    auto other = openAgain(currencyLayout());
    setCurrency(other->record(), 2, "");
    EXPECT_EQ(other->get(key), 0);
}

TEST_P(StorageConformance, ProtectedFileOpensOnlyWithTheOwnerPassword) {
    {
        auto f = createOpen(secretLayout(), "QZX");
        setPerson(f->record(), 1, "Ivanov");
        ASSERT_EQ(f->add(), 0);
    }
    auto without = fileIn(space(), secretLayout());
    EXPECT_NE(without->open(), 0);
    EXPECT_FALSE(without->isOpen());
    EXPECT_FALSE(without->errorText().empty());

    auto wrong = fileIn(space(), secretLayout());
    wrong->setOwnerPassword("ABC");
    EXPECT_NE(wrong->open(), 0);
    EXPECT_FALSE(wrong->isOpen());

    auto right = openAgain(secretLayout(), "QZX");
    setPerson(right->record(), 1, "");
    EXPECT_EQ(right->get(*secretLayout().key("SCODE_KEY")), 0);
    EXPECT_EQ(text(right->record(), "LNAME"), "Ivanov");
}

TEST_P(StorageConformance, TwoViewsShareOneFileWithTheirOwnBuffers) {
    auto main = createOpen(secretLayout(), "QZX");
    auto view = openAgain(secretView(), "QZX");
    setPerson(main->record(), 5, "Petrov");
    ASSERT_EQ(main->add(), 0);
    setPerson(view->record(), 5, "");
    ASSERT_EQ(view->get(*secretView().key("SEV:SCODE_KEY")), 0);
    EXPECT_EQ(text(view->record(), "SEV:LNAME"), "Petrov");
    EXPECT_EQ(text(main->record(), "SEC:LNAME"), "Petrov");
    // A key of the other view is understood by name.
    setPerson(main->record(), 5, "");
    EXPECT_EQ(main->get(*secretView().key("SCODE_KEY")), 0);
}

TEST_P(StorageConformance, NamesAreKeptWholeAndAZeroByteInANameIsRefused) {
    // Names alike in their first 60 characters are two files.
    const std::string common = "Curr" + std::string(56, 'x');
    auto a = fileIn(space(), currencyLayout(), common + "A");
    auto b = fileIn(space(), currencyLayout(), common + "B");
    EXPECT_EQ(a->name(), diskName(common + "A"));
    for (auto* f : {a.get(), b.get()}) {
        ASSERT_EQ(f->create(), 0) << f->driverErrorText();
        ASSERT_EQ(f->open(), 0) << f->driverErrorText();
    }
    setCurrency(a->record(), 1, "USD");
    ASSERT_EQ(a->add(), 0);
    b->set(*currencyLayout().key("CODE_KEY"));
    EXPECT_EQ(b->next(), 33);

    // Cut at the zero, the name would be another file's ("Curr").
    createOpen(currencyLayout())->close();
    auto zero = fileIn(space(), currencyLayout(), std::string("Curr\0Old", 8));
    EXPECT_EQ(zero->create(), 90);
    EXPECT_NE(zero->driverErrorText().find("zero byte"), std::string::npos)
        << zero->driverErrorText();
    EXPECT_EQ(zero->open(), 90);
    EXPECT_EQ(zero->build(), 90);
    EXPECT_FALSE(zero->isOpen());
}

}  // namespace

INSTANTIATE_TEST_SUITE_P(Backends, StorageConformance, ::testing::ValuesIn(storageTargets()),
                         [](const auto& info) { return info.param.name; });

}  // namespace storage_tests
