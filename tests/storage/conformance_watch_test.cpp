// Conformance: change detection between two file objects on one file (two
// stations' buffers). The same behaviour between two processes is in
// two_station_test.cpp.
#include "tests/storage/conformance_fixture.h"

namespace storage_tests {
namespace {

const storage::KeyDef& codeKey() { return *currencyLayout().key("CODE_KEY"); }

// Reads currency 1 into the buffer of `f`.
void read1(storage::DataFile& f) {
    setCurrency(f.record(), 1, "");
    ASSERT_EQ(f.get(codeKey()), 0);
}

void rename(storage::DataFile& f, const std::string& name) {
    read1(f);
    f.record().setValue("NAME", name);
    ASSERT_EQ(f.put(), 0);
}

TEST_P(StorageConformance, WatchedPutFailsWith89AndTheOtherValuesCanBeLoaded) {
    auto mine = createOpen(currencyLayout());
    auto theirs = openAgain(currencyLayout());
    setCurrency(mine->record(), 1, "USD", "Dollar");
    ASSERT_EQ(mine->add(), 0);

    // Watch armed after the read ("on the record just read").
    read1(*mine);
    EXPECT_EQ(mine->watch(), 0);
    const std::string position = mine->position();
    rename(*theirs, "Their dollar");
    mine->record().setValue("NAME", "My dollar");
    EXPECT_EQ(mine->put(), 89);
    EXPECT_EQ(mine->errorText(), "Record Changed By Another Station");
    EXPECT_EQ(text(mine->record(), "NAME"), "My dollar");  // the buffer is not touched

    // The update rule: arm the watch and re-get: the other station's values.
    mine->watch();
    ASSERT_EQ(mine->reget(position), 0);
    EXPECT_EQ(text(mine->record(), "NAME"), "Their dollar");
    mine->record().setValue("NAME", "Agreed dollar");
    EXPECT_EQ(mine->put(), 0);
    // Own writes do not trip the watch.
    mine->record().setValue("NAME", "Agreed dollar, twice");
    EXPECT_EQ(mine->put(), 0);
    read1(*theirs);
    EXPECT_EQ(text(theirs->record(), "NAME"), "Agreed dollar, twice");
}

TEST_P(StorageConformance, WatchBeforeTheReadArmsTheRecordRead) {
    auto mine = createOpen(currencyLayout());
    auto theirs = openAgain(currencyLayout());
    setCurrency(mine->record(), 1, "USD", "Dollar");
    ASSERT_EQ(mine->add(), 0);
    const std::string position = mine->position();
    mine->clearCurrent();

    mine->watch();
    ASSERT_EQ(mine->reget(position), 0);
    rename(*theirs, "Theirs");
    EXPECT_EQ(mine->put(), 89);

    // Reading through a key with the watch armed works the same.
    mine->watch();
    mine->set(codeKey());
    ASSERT_EQ(mine->next(), 0);
    rename(*theirs, "Theirs again");
    EXPECT_EQ(mine->put(), 89);
}

TEST_P(StorageConformance, WithoutAWatchTheLastWriteWins) {
    auto mine = createOpen(currencyLayout());
    auto theirs = openAgain(currencyLayout());
    setCurrency(mine->record(), 1, "USD", "Dollar");
    ASSERT_EQ(mine->add(), 0);
    read1(*mine);
    rename(*theirs, "Theirs");
    mine->record().setValue("NAME", "Mine");
    EXPECT_EQ(mine->put(), 0);
    read1(*theirs);
    EXPECT_EQ(text(theirs->record(), "NAME"), "Mine");
    // A later read without a watch clears the watch of the earlier record.
    mine->watch();
    read1(*mine);
    read1(*mine);
    rename(*theirs, "Theirs");
    EXPECT_EQ(mine->put(), 0);
}

TEST_P(StorageConformance, PutOfARecordDeletedElsewhereGives35) {
    auto mine = createOpen(currencyLayout());
    auto theirs = openAgain(currencyLayout());
    setCurrency(mine->record(), 1, "USD", "Dollar");
    ASSERT_EQ(mine->add(), 0);
    read1(*mine);
    mine->watch();
    read1(*theirs);
    ASSERT_EQ(theirs->remove(), 0);
    EXPECT_EQ(mine->put(), 35);
    EXPECT_EQ(mine->remove(), 35);
}

TEST_P(StorageConformance, AToolsRewriteStaysChangedAfterAnotherStationCompletesTheRow) {
    auto mine = createOpen(currencyLayout());
    setCurrency(mine->record(), 1, "USD", "Dollar");
    ASSERT_EQ(mine->add(), 0);
    setCurrency(mine->record(), 2, "EUR", "Euro");
    ASSERT_EQ(mine->add(), 0);
    const std::string file = currencyLayout().diskName();

    // The record at its first version, watched; a tool rewrites it, and another
    // station's open for writing completes the row.
    read1(*mine);
    mine->watch();
    space().toolSql(file, "UPDATE curr SET name = 'Tool dollar' WHERE cod = 1");
    openAgain(currencyLayout());
    mine->record().setValue("NAME", "My dollar");
    EXPECT_EQ(mine->put(), 89);
    auto theirs = openAgain(currencyLayout());
    read1(*theirs);
    EXPECT_EQ(text(theirs->record(), "NAME"), "Tool dollar");

    // Two rewrites before the completion, and a tool that empties the version
    // itself, are changes all the same.
    mine->watch();
    read1(*mine);
    space().toolSql(file, "UPDATE curr SET name = 'Tool 1' WHERE cod = 1");
    space().toolSql(file, "UPDATE curr SET name = 'Tool 2' WHERE cod = 1");
    openAgain(currencyLayout());
    mine->record().setValue("NAME", "My dollar");
    EXPECT_EQ(mine->put(), 89);
    mine->watch();
    read1(*mine);
    space().toolSql(file, "UPDATE curr SET name = 'Tool 3', row_version = NULL WHERE cod = 1");
    openAgain(currencyLayout());
    mine->record().setValue("NAME", "My dollar");
    EXPECT_EQ(mine->put(), 89);

    // The station that re-reads the completed record writes it as usual.
    mine->watch();
    read1(*mine);
    EXPECT_EQ(text(mine->record(), "NAME"), "Tool 3");
    mine->record().setValue("NAME", "Agreed dollar");
    EXPECT_EQ(mine->put(), 0);
    read1(*theirs);
    EXPECT_EQ(text(theirs->record(), "NAME"), "Agreed dollar");
}

}  // namespace
}  // namespace storage_tests
