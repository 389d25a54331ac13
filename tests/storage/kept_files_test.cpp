// Closed files kept a moment for the next opening, and read snapshots: what the
// other stations and the disk must still see. A kept file never hides another
// station's write, a replaced or changed file, or the file taken alone; a
// snapshot never holds back a write.
#include "storage/data_file.h"
#include "storage/kept_files.h"
#include "tests/helpers/raw_database.h"
#include "tests/helpers/temp_folder.h"
#include "tests/storage/test_layouts.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <thread>

#include <sys/wait.h>
#include <unistd.h>

namespace storage_tests {
namespace {

namespace fs = std::filesystem;
using storage::DataFile;
using testing_support::RawDatabase;

constexpr int kOpenAlone = 0x12;  // read and write, deny all

class KeptFiles : public ::testing::Test {
protected:
    KeptFiles() {
        fs::create_directories(folder_.path() / "dat");
        storage::keepClosedFiles(storage::kKeptByThePrograms);
    }
    ~KeptFiles() override { storage::keepClosedFiles(std::chrono::milliseconds(0)); }

    std::unique_ptr<DataFile> currencies() {
        auto f = std::make_unique<DataFile>(currencyLayout());
        f->setName(".\\dat\\Curr");
        return f;
    }
    // A currency file holding one currency, closed (and so kept).
    std::unique_ptr<DataFile> closedWith(int code, const char* obozn) {
        auto f = currencies();
        EXPECT_EQ(f->create(), 0) << f->driverErrorText();
        EXPECT_EQ(f->open(), 0) << f->driverErrorText();
        setCurrency(f->record(), code, obozn);
        EXPECT_EQ(f->add(), 0);
        f->close();
        return f;
    }
    fs::path database() const { return folder_.path() / "dat" / "Curr.db"; }
    // The code of the currency under this designation, or 0.
    static int codeOf(DataFile& f, const char* obozn) {
        setCurrency(f.record(), 0, obozn);
        return f.get(*currencyLayout().key("OBOZN_KEY")) == 0 ? static_cast<int>(code(f.record())) : 0;
    }

    testing_support::TempFolder folder_;
};

TEST_F(KeptFiles, AKeptFileIsTakenBackAndSeesWhatOthersWroteMeanwhile) {
    auto f = closedWith(1, "USD");
    EXPECT_EQ(storage::keptFileCount(), 1u);
    {
        // Another tool's row, without the key columns the engine completes.
        RawDatabase raw(database());
        ASSERT_EQ(raw.exec("INSERT INTO Curr (COD, OBOZN) VALUES (2, 'EUR')"), SQLITE_OK) << raw.error();
    }
    ASSERT_EQ(f->open(), 0) << f->driverErrorText();
    EXPECT_EQ(storage::keptFileCount(), 0u) << "taken back, not opened beside it";
    EXPECT_EQ(codeOf(*f, "USD"), 1);
    EXPECT_EQ(codeOf(*f, "EUR"), 2) << "the other tool's row is completed as at any opening";
}

TEST_F(KeptFiles, AFileReplacedOnDiskIsOpenedAnew) {
    auto f = closedWith(1, "USD");
    // Another file under the same name: the old one moved aside, a copy put in place.
    const fs::path aside = folder_.path() / "aside";
    fs::create_directories(aside / "dat");
    {
        auto other = std::make_unique<DataFile>(currencyLayout());
        other->setName((aside / "dat" / "Curr").string());
        ASSERT_EQ(other->create(), 0);
        ASSERT_EQ(other->open(), 0);
        setCurrency(other->record(), 7, "GBP");
        ASSERT_EQ(other->add(), 0);
        other->close();
        storage::closeKeptFiles(aside / "dat" / "Curr.db");
    }
    fs::rename(database(), folder_.path() / "before.db");
    fs::copy_file(aside / "dat" / "Curr.db", database());

    ASSERT_EQ(f->open(), 0) << f->driverErrorText();
    EXPECT_EQ(codeOf(*f, "GBP"), 7);
    EXPECT_EQ(codeOf(*f, "USD"), 0) << "the kept connection to the moved file is not used";
}

TEST_F(KeptFiles, AChangedTableIsCheckedAgain) {
    auto f = closedWith(1, "USD");
    {
        RawDatabase raw(database());
        ASSERT_EQ(raw.exec("DROP INDEX Curr_OBOZN_KEY"), SQLITE_OK) << raw.error();
    }
    EXPECT_EQ(f->open(), 46) << "a missing key shows as at a first opening";
}

TEST_F(KeptFiles, WhatIsNeverKept) {
    struct Case {
        const char* what;
        std::function<void(DataFile&)> closeIt;
        std::chrono::milliseconds keeping;
    };
    const Case cases[] = {
        {"keeping off", [](DataFile& f) { f.close(); }, std::chrono::milliseconds(0)},
        {"a file taken alone",
         [](DataFile& f) {
             f.close();
             ASSERT_EQ(f.open(kOpenAlone), 0) << f.driverErrorText();
             f.close();
         },
         storage::kKeptByThePrograms},
        {"a file closed in a transaction",
         [](DataFile& f) {
             ASSERT_EQ(f.begin(), 0);
             setCurrency(f.record(), 9, "JPY");
             ASSERT_EQ(f.add(), 0);
             f.close();
         },
         storage::kKeptByThePrograms},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        storage::keepClosedFiles(c.keeping);
        auto f = currencies();
        ASSERT_EQ(f->create(), 0);
        ASSERT_EQ(f->open(), 0);
        c.closeIt(*f);
        EXPECT_EQ(storage::keptFileCount(), 0u);
        ASSERT_EQ(f->open(), 0);
        EXPECT_EQ(codeOf(*f, "JPY"), 0) << "a transaction left open at the close is rolled back";
        f->close();
        storage::closeKeptFiles();
    }
}

TEST_F(KeptFiles, TakingTheFileAloneHereClosesWhatIsKept) {
    auto f = closedWith(1, "USD");
    auto alone = currencies();
    ASSERT_EQ(alone->sendOption("Recover=0.1"), 0);
    EXPECT_EQ(alone->open(kOpenAlone), 0) << alone->driverErrorText();
    EXPECT_EQ(storage::keptFileCount(), 0u);
}

TEST_F(KeptFiles, AnotherStationGetsTheFileAloneWithinItsBusyWait) {
    auto f = closedWith(1, "USD");
    ASSERT_EQ(storage::keptFileCount(), 1u);
    const pid_t station = fork();
    if (station == 0) {
        storage::keepClosedFiles(std::chrono::milliseconds(0));
        auto alone = currencies();  // the default busy wait, 2 s
        std::_Exit(alone->open(kOpenAlone) == 0 ? 0 : 1);
    }
    // The programs' timer: the keeping time runs out and the file goes.
    std::this_thread::sleep_for(storage::kKeptByThePrograms + std::chrono::milliseconds(100));
    storage::closeIdleKeptFiles();
    EXPECT_EQ(storage::keptFileCount(), 0u);
    int status = 0;
    waitpid(station, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the other station got the file alone";
}

TEST_F(KeptFiles, AForkedProcessNeverUsesItsParentsKeptFiles) {
    auto f = closedWith(1, "USD");
    ASSERT_EQ(storage::keptFileCount(), 1u);
    const pid_t station = fork();
    if (station == 0) {
        // The parent's connection holds locks this process does not have.
        const bool forgotten = storage::keptFileCount() == 0;
        auto own = currencies();
        bool wrote = own->open() == 0;
        setCurrency(own->record(), 2, "EUR");
        wrote = wrote && own->add() == 0;
        own->close();
        std::_Exit(forgotten && wrote ? 0 : 1);
    }
    int status = 0;
    waitpid(station, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    ASSERT_EQ(f->open(), 0) << f->driverErrorText();
    EXPECT_EQ(codeOf(*f, "EUR"), 2) << "the parent's kept file sees the child's write";
}

class ReadSnapshots : public KeptFiles {};

TEST_F(ReadSnapshots, AWriteEndsTheSnapshotAndCommitsAtOnce) {
    auto f = closedWith(1, "USD");
    ASSERT_EQ(f->open(), 0);
    f->beginReadSnapshot();
    EXPECT_EQ(codeOf(*f, "USD"), 1);
    setCurrency(f->record(), 2, "EUR");
    ASSERT_EQ(f->add(), 0) << f->driverErrorText();
    {
        RawDatabase raw(database());
        EXPECT_EQ(raw.value("SELECT count(*) FROM Curr"), "2") << "committed without the snapshot's end";
    }
    f->endReadSnapshot();
    EXPECT_EQ(codeOf(*f, "EUR"), 2);
}

TEST_F(ReadSnapshots, ASnapshotShowsOneStateUntilItEnds) {
    auto f = closedWith(1, "USD");
    ASSERT_EQ(f->open(), 0);
    f->beginReadSnapshot();
    EXPECT_EQ(codeOf(*f, "USD"), 1);
    {
        RawDatabase raw(database());
        ASSERT_EQ(raw.exec("INSERT INTO Curr (COD, OBOZN, upper_OBOZN) VALUES (2, 'EUR', 'EUR')"), SQLITE_OK)
            << raw.error();
        const auto held = raw.rows("PRAGMA wal_checkpoint(PASSIVE)");  // busy, frames, frames copied
        ASSERT_EQ(held.size(), 1u);
        EXPECT_NE(held[0][1], held[0][2]) << "the snapshot holds the journal";
    }
    EXPECT_EQ(codeOf(*f, "EUR"), 0) << "not within the snapshot";
    f->endReadSnapshot();
    RawDatabase raw(database());
    const auto free = raw.rows("PRAGMA wal_checkpoint(PASSIVE)");
    ASSERT_EQ(free.size(), 1u);
    EXPECT_EQ(free[0][1], free[0][2]) << "nothing held after its end";
}

TEST(UnnamedFiles, AreRefusedInsteadOfOpeningADotDbHere) {
    testing_support::TempFolder folder;  // the current folder while it lives
    storage::RecordLayout layout("Unnamed", "UNN", "Unnamed", "");
    layout.uint16("CODE");
    DataFile f(layout);
    for (const char* name : {"", "   "}) {
        f.setName(name);
        EXPECT_EQ(f.create(), 2) << '"' << name << '"';
        EXPECT_EQ(f.open(), 2) << '"' << name << '"';
    }
    EXPECT_FALSE(fs::exists(folder.path() / ".db"));
}

}  // namespace
}  // namespace storage_tests
