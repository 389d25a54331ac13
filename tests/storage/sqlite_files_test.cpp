// The SQLite backend's files as other tools see them: plain SQL columns, rows
// written by other tools, enciphered protected files, damaged and missing keys,
// files in the wrong place, journal modes.
#include "access/access_layouts.h"
#include "platform/cp1251.h"
#include "storage/data_file.h"
#include "storage/driver_options.h"
#include "tests/helpers/temp_folder.h"
#include "tests/helpers/raw_database.h"
#include "tests/storage/test_layouts.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>

#include <sys/stat.h>

namespace storage_tests {

using testing_support::RawDatabase;
using testing_support::fileBytes;
namespace {

namespace fs = std::filesystem;
using storage::DataFile;

class SqliteFiles : public ::testing::Test {
protected:
    SqliteFiles() { fs::create_directories(folder_.path() / "dat"); }
    ~SqliteFiles() override { storage::resetDefaultDriverOptions(); }

    std::unique_ptr<DataFile> file(const storage::RecordLayout& layout,
                                   std::string_view password = {}) {
        auto f = std::make_unique<DataFile>(layout);
        f->setName(".\\dat\\" + layout.diskName());
        f->setOwnerPassword(password);
        return f;
    }
    std::unique_ptr<DataFile> created(const storage::RecordLayout& layout,
                                      std::string_view password = {}) {
        auto f = file(layout, password);
        EXPECT_EQ(f->create(), 0) << f->driverErrorText();
        EXPECT_EQ(f->open(), 0) << f->driverErrorText();
        return f;
    }
    fs::path dbPath(const std::string& diskName) const {
        return folder_.path() / "dat" / (diskName + ".db");
    }

    testing_support::TempFolder folder_;
};

const storage::KeyDef& codeKey() { return *currencyLayout().key("CODE_KEY"); }
const storage::KeyDef& oboznKey() { return *currencyLayout().key("OBOZN_KEY"); }

TEST_F(SqliteFiles, RecordsAreStoredAsPlainTypedColumns) {
    auto f = created(currencyLayout());
    setCurrency(f->record(), 7, platform::ru("Руб"), platform::ru("Российский рубль"));
    f->record().setDecimalCents(5, -1250);
    f->record().setReal(4, 0.5);
    f->record().setText(6, "memo");
    f->record().data()[currencyLayout().fields()[7].offset] = 9;
    ASSERT_EQ(f->add(), 0);
    f->close();

    RawDatabase raw(dbPath("Curr"));
    const auto rows = raw.rows(
        "SELECT COD, typeof(COD), OBOZN, NAME, typeof(NAME), AMOUNT, typeof(AMOUNT), RATE, "
        "typeof(RATE), "
        "NOTE, reserved_73, upper_OBOZN, typeof(upper_OBOZN), row_id, row_version FROM Curr");
    ASSERT_EQ(rows.size(), 1u) << raw.error();
    const auto& r = rows[0];
    EXPECT_EQ(r[0], "7");
    EXPECT_EQ(r[1], "integer");
    EXPECT_EQ(r[2], "Руб");  // UTF-8, no padding blank
    EXPECT_EQ(r[3], "Российский рубль");
    EXPECT_EQ(r[4], "text");
    EXPECT_EQ(r[5], "-1250");  // DECIMAL in hundredths
    EXPECT_EQ(r[6], "integer");
    EXPECT_EQ(r[7], "0.5");
    EXPECT_EQ(r[8], "real");
    EXPECT_EQ(r[9], "memo");
    EXPECT_EQ(r[10], "9");                  // the reserved byte has a column too
    EXPECT_EQ(r[11], platform::ru("РУБ"));  // key text: upper-cased code page 1251 bytes
    EXPECT_EQ(r[12], "blob");
    EXPECT_EQ(r[13], "1");
    EXPECT_EQ(r[14], "1");
    // Unique keys are unique indexes; the others plain indexes on their columns.
    EXPECT_EQ(raw.value("SELECT sql FROM sqlite_master WHERE name = 'Curr_OBOZN_KEY'"),
              "CREATE UNIQUE INDEX \"Curr_OBOZN_KEY\" ON \"Curr\" (\"upper_OBOZN\")");
}

TEST_F(SqliteFiles, TheSqliteToolReadsUnprotectedFiles) {
    if (!fs::exists("/usr/bin/sqlite3")) GTEST_SKIP() << "no sqlite3 tool on this machine";
    auto f = created(currencyLayout());
    setCurrency(f->record(), 3, "EUR", platform::ru("Евро"));
    ASSERT_EQ(f->add(), 0);
    const std::string command = "/usr/bin/sqlite3 -readonly '" + dbPath("Curr").string() +
                                "' \"SELECT COD || '|' || NAME FROM Curr\"";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    char line[256] = {};
    ASSERT_NE(std::fgets(line, sizeof line, pipe), nullptr);
    pclose(pipe);
    EXPECT_EQ(std::string(line), "3|Евро\n");
}

TEST_F(SqliteFiles, RowsWrittenByOtherToolsReadBackInKeyOrder) {
    {
        auto f = created(currencyLayout());
        setCurrency(f->record(), 1, "EUR", "Euro");
        ASSERT_EQ(f->add(), 0);
        setCurrency(f->record(), 2, "GBP", "Pound");
        ASSERT_EQ(f->add(), 0);
    }
    {
        RawDatabase raw(dbPath("Curr"));
        ASSERT_EQ(raw.exec("INSERT INTO Curr (COD, OBOZN, NAME) VALUES (3, 'usd', 'Доллар')"),
                  SQLITE_OK)
            << raw.error();
        ASSERT_EQ(raw.exec("UPDATE Curr SET OBOZN = 'aud' WHERE COD = 2"), SQLITE_OK)
            << raw.error();
    }
    auto f = file(currencyLayout());
    ASSERT_EQ(f->open(), 0) << f->driverErrorText();
    setCurrency(f->record(), 0, "USD");
    ASSERT_EQ(f->get(oboznKey()), 0);
    EXPECT_EQ(code(f->record()), 3);
    EXPECT_EQ(text(f->record(), "NAME"), platform::ru("Доллар"));
    EXPECT_EQ(text(f->record(), "CREDIT"), "0");  // a column the tool left out
    f->set(oboznKey());
    std::vector<std::int64_t> order;
    while (f->next() == 0) order.push_back(code(f->record()));
    EXPECT_EQ(order, (std::vector<std::int64_t>{2, 1, 3}));  // AUD, EUR, USD

    // A tool's rewrite of a watched record counts as another station's.
    setCurrency(f->record(), 1, "");
    f->watch();
    ASSERT_EQ(f->get(codeKey()), 0);
    {
        RawDatabase raw(dbPath("Curr"));
        ASSERT_EQ(raw.exec("UPDATE Curr SET NAME = 'Euro (tool)' WHERE COD = 1"), SQLITE_OK);
    }
    EXPECT_EQ(f->put(), 89);
}

TEST_F(SqliteFiles, ProtectedFilesAreForTheOwnerAndTheGroupOnly) {
    const mode_t umaskBefore = ::umask(022);
    const auto& mol = dostup::molLayout();
    const fs::path db = dbPath(mol.diskName());
    {
        std::ofstream stale(db);  // a file left by an earlier installation, 0644
    }
    fs::permissions(db, fs::perms(0644));
    auto f = created(mol, dostup::kOwnerPassword);
    f->record().setValue("MOL:SCODE", "1");
    ASSERT_EQ(f->add(), 0) << f->driverErrorText();
    for (const std::string suffix : {"", "-wal", "-shm"}) {
        const fs::path p = db.string() + suffix;
        ASSERT_TRUE(fs::exists(p)) << p;
        EXPECT_EQ(fs::status(p).permissions() & fs::perms::all, fs::perms(0660)) << p;
    }
    f->close();
    // A new one likewise; an ordinary file keeps the usual mode.
    fs::remove(db);
    created(mol, dostup::kOwnerPassword)->close();
    EXPECT_EQ(fs::status(db).permissions() & fs::perms::all, fs::perms(0660));
    created(currencyLayout())->close();
    EXPECT_EQ(fs::status(dbPath("Curr")).permissions() & fs::perms::all, fs::perms(0644));
    ::umask(umaskBefore);
}

TEST_F(SqliteFiles, ProtectedFilesKeepTheirDataOffTheDisk) {
    const auto& mol = dostup::molLayout();
    const std::string surname = "Zabolotnyj";
    auto f = created(mol, dostup::kOwnerPassword);
    f->record().setValue("MOL:SCODE", "1");
    f->record().setValue("MOL:LNAME", surname);
    f->record().setValue("MOL:FNAME", platform::ru("Пётр Ильич"));
    ASSERT_EQ(f->add(), 0) << f->driverErrorText();

    const fs::path db = dbPath(mol.diskName());
    // While the file is open the record sits in the write-ahead journal.
    EXPECT_TRUE(fs::exists(db.string() + "-wal"));
    for (const fs::path& p : {db, fs::path(db.string() + "-wal")}) {
        const std::string bytes = fileBytes(p);
        EXPECT_EQ(bytes.find(surname), std::string::npos) << p;
        EXPECT_EQ(bytes.find("Пётр"), std::string::npos) << p;
        EXPECT_EQ(bytes.find("SQLite format"), std::string::npos) << p;
    }
    f->close();
    EXPECT_EQ(fileBytes(db).find(surname), std::string::npos);

    // Plain SQL without the password sees no database...
    RawDatabase plain(db);
    EXPECT_EQ(plain.rows("SELECT LNAME FROM MOL").size(), 0u);
    // ...the sqlcipher tool with the owner password as passphrase does.
    RawDatabase keyed(db, dostup::kOwnerPassword);
    EXPECT_EQ(keyed.value("SELECT LNAME FROM MOL"), surname) << keyed.error();

    // A file left unenciphered (written by a plain tool) is not taken as protected.
    const fs::path copy = dbPath("Plain");
    {
        auto p = created(currencyLayout());
        p->close();
        fs::copy_file(dbPath("Curr"), copy);
    }
    DataFile wrong(mol);
    wrong.setName(".\\dat\\Plain");
    wrong.setOwnerPassword(dostup::kOwnerPassword);
    EXPECT_EQ(wrong.open(), 90);
    EXPECT_NE(wrong.driverErrorText().find("without enciphering"), std::string::npos);
}

TEST_F(SqliteFiles, DamagedKeyGives46AndBuildRepairsIt) {
    {
        auto f = created(currencyLayout());
        ASSERT_EQ(f->begin(), 0);
        for (int c = 1; c <= 400; ++c) {
            setCurrency(f->record(), c, "C" + std::to_string(1000 - c));
            ASSERT_EQ(f->add(), 0);
        }
        ASSERT_EQ(f->commit(), 0);
    }
    int pageSize = 0, root = 0;
    {
        RawDatabase raw(dbPath("Curr"));
        pageSize = std::stoi(raw.value("PRAGMA page_size"));
        root = std::stoi(
            raw.value("SELECT rootpage FROM sqlite_master WHERE name = 'Curr_OBOZN_KEY'"));
    }
    {
        // Overwrite the page type of the key's root page.
        std::fstream io(dbPath("Curr"), std::ios::in | std::ios::out | std::ios::binary);
        io.seekp(static_cast<std::streamoff>(root - 1) * pageSize);
        const char garbage[16] = {0x00, 0x7F, 0x7F, 0x7F, 0x7F, 0x7F, 0x7F, 0x7F};
        io.write(garbage, sizeof garbage);
    }
    auto f = file(currencyLayout());
    ASSERT_EQ(f->open(), 0) << f->driverErrorText();  // the damage shows when the key is used
    f->set(oboznKey());
    EXPECT_EQ(f->next(), 46);
    EXPECT_EQ(f->errorText(), "Key File Must Be Rebuilt");
    setCurrency(f->record(), 0, "C999");
    EXPECT_EQ(f->get(oboznKey()), 46);

    EXPECT_EQ(f->build(), 0) << f->driverErrorText();
    f->set(oboznKey());
    std::vector<std::int64_t> order;
    while (f->next() == 0) order.push_back(code(f->record()));
    EXPECT_EQ(f->errorCode(), 33);
    ASSERT_EQ(order.size(), 400u);
    EXPECT_EQ(order.front(), 400);
    EXPECT_EQ(order.back(), 1);
    f->close();
    EXPECT_EQ(f->open(), 0);
    RawDatabase raw(dbPath("Curr"));
    EXPECT_EQ(raw.value("PRAGMA integrity_check"), "ok");
}

TEST_F(SqliteFiles, MissingKeyGives46OnOpenAndBuildRestoresIt) {
    created(currencyLayout())->close();
    {
        RawDatabase raw(dbPath("Curr"));
        ASSERT_EQ(raw.exec("DROP INDEX Curr_OBOZN_KEY"), SQLITE_OK);
    }
    auto f = file(currencyLayout());
    EXPECT_EQ(f->open(), 46);
    EXPECT_NE(f->driverErrorText().find("Curr_OBOZN_KEY"), std::string::npos);
    EXPECT_EQ(f->build(), 0) << f->driverErrorText();
    EXPECT_EQ(f->open(), 0);

    // A key whose rows violate it cannot be rebuilt: the rows are kept, 40.
    f->close();
    {
        RawDatabase raw(dbPath("Curr"));
        ASSERT_EQ(raw.exec("DROP INDEX Curr_OBOZN_KEY; INSERT INTO Curr (COD, OBOZN) VALUES (1, "
                           "'X'), (2, 'x')"),
                  SQLITE_OK);
    }
    EXPECT_EQ(f->build(), 40);
    RawDatabase raw(dbPath("Curr"));
    EXPECT_EQ(raw.value("SELECT count(*) FROM Curr"), "2");
}

TEST_F(SqliteFiles, FilesInTheWrongPlaceOrOfTheWrongKindFailClearly) {
    DataFile nowhere(currencyLayout());
    nowhere.setName(".\\nowhere\\Curr");
    EXPECT_EQ(nowhere.open(), 2);
    EXPECT_NE(nowhere.driverErrorText().find("nowhere"), std::string::npos);
    EXPECT_EQ(nowhere.create(), 90);
    EXPECT_NE(nowhere.driverErrorText().find("Folder not found"), std::string::npos);
    EXPECT_FALSE(fs::exists(folder_.path() / "nowhere"));

    fs::create_directories(dbPath("Curr"));  // a folder where the file should be
    auto f = file(currencyLayout());
    EXPECT_EQ(f->open(), 90);
    EXPECT_EQ(f->create(), 90);
    fs::remove(dbPath("Curr"));

    folder_.write("dat/Curr.db", "this is not a database, just some text of a good length....");
    EXPECT_EQ(f->open(), 90);
    EXPECT_FALSE(f->driverErrorText().empty());
    EXPECT_FALSE(f->isOpen());

    folder_.write("dat/Curr.db", "");  // an empty file: no table yet
    EXPECT_EQ(f->open(), 2);
    EXPECT_EQ(f->create(), 0);
    EXPECT_EQ(f->open(), 0);
}

TEST_F(SqliteFiles, JournalIsWriteAheadUnlessRollbackIsAsked) {
    auto f = created(currencyLayout());
    {
        RawDatabase raw(dbPath("Curr"));
        EXPECT_EQ(raw.value("PRAGMA journal_mode"), "wal");
    }
    f->close();
    ASSERT_TRUE(storage::setDefaultDriverOption("Journal=Rollback"));
    EXPECT_FALSE(storage::setDefaultDriverOption("Journal=Sideways"));
    ASSERT_EQ(f->open(), 0);
    setCurrency(f->record(), 1, "USD");
    ASSERT_EQ(f->add(), 0);
    EXPECT_FALSE(fs::exists(dbPath("Curr").string() + "-wal"));
    RawDatabase raw(dbPath("Curr"));
    EXPECT_EQ(raw.value("PRAGMA journal_mode"), "delete");
}

TEST_F(SqliteFiles, DiskNamesIgnoreLetterCase) {
    auto f = created(currencyLayout());
    setCurrency(f->record(), 1, "USD");
    ASSERT_EQ(f->add(), 0);
    DataFile other(currencyLayout());
    other.setName(".\\DAT\\curr");
    ASSERT_EQ(other.open(), 0) << other.driverErrorText();
    setCurrency(other.record(), 1, "");
    EXPECT_EQ(other.get(codeKey()), 0);
    EXPECT_EQ(fs::directory_iterator(folder_.path()) == fs::directory_iterator(), false);
}

TEST_F(SqliteFiles, ServerAddressesGoToTheServerNeverToFiles) {
    DataFile f(currencyLayout());
    f.setName("postgresql://127.0.0.1:1/suite/Curr");  // nothing listens there
    EXPECT_EQ(f.open(), 90);
    EXPECT_EQ(f.create(), 90);
    EXPECT_NE(f.driverErrorText().find("127.0.0.1:1/suite"), std::string::npos);
    // Nothing but the empty data folder of the fixture.
    EXPECT_EQ(std::distance(fs::recursive_directory_iterator(folder_.path()),
                            fs::recursive_directory_iterator()),
              1);
}

}  // namespace
}  // namespace storage_tests

namespace storage_tests {
namespace {

// A list that reads a few fields of the employee file pages through a covering
// index of its key, which the first station that may write adds to the file:
// enciphered with the rest of the file, invisible to the key checks of an open,
// dropped by a rebuild of the keys and added again on the next page.
TEST_F(SqliteFiles, ListIndexesStayEncipheredAndComeBackAfterARebuild) {
    const auto& mol = dostup::molLayout();
    const std::string surname = "Zabolotnyj";
    auto f = created(mol, dostup::kOwnerPassword);
    ASSERT_EQ(f->begin(), 0);
    for (int i = 1; i <= 300; ++i) {
        f->record().clear();
        f->record().setValue("MOL:SCODE", std::to_string(i));
        f->record().setValue("MOL:LNAME", surname + std::to_string(i % 17));
        f->record().setValue("MOL:FNAME", "Pyotr Ilyich");
        f->record().setValue("MOL:BPHONE", "555-0199");
        ASSERT_EQ(f->add(), 0);
    }
    ASSERT_EQ(f->commit(), 0);
    const storage::FieldSet fields = {static_cast<std::size_t>(mol.fieldIndex("MOL:FNAME")),
                                      static_cast<std::size_t>(mol.fieldIndex("MOL:BPHONE"))};
    auto page = [&](DataFile& file) {
        storage::PageRequest request;
        request.key = mol.key("NAME_KEY");
        request.count = 20;
        request.fields = &fields;
        std::vector<storage::PageRow> rows;
        EXPECT_EQ(file.readPage(request, rows), 0) << file.driverErrorText();
        return rows.size();
    };
    const fs::path db = dbPath(mol.diskName());
    auto listIndexes = [&] {
        RawDatabase keyed(db, dostup::kOwnerPassword);
        return keyed.rows("SELECT sql FROM sqlite_master WHERE type = 'index' AND name LIKE '%\\_cover\\_%' "
                          "ESCAPE '\\'");
    };
    EXPECT_TRUE(listIndexes().empty());
    EXPECT_EQ(page(*f), 20u);
    const auto added = listIndexes();
    ASSERT_EQ(added.size(), 1u);
    EXPECT_NE(added[0][0].find("\"upper_LNAME\", \"row_id\""), std::string::npos) << added[0][0];
    EXPECT_EQ(added[0][0].find("PASSWORD"), std::string::npos);

    // The byte scan: the index holds the surnames in key order, enciphered like the table.
    for (const fs::path& p : {db, fs::path(db.string() + "-wal")}) {
        const std::string bytes = fileBytes(p);
        EXPECT_EQ(bytes.find(surname), std::string::npos) << p;
        EXPECT_EQ(bytes.find("Pyotr"), std::string::npos) << p;
        EXPECT_EQ(bytes.find("555-0199"), std::string::npos) << p;
    }
    f->close();
    EXPECT_EQ(fileBytes(db).find(surname), std::string::npos);

    // The file opens as before; rebuilding the keys drops the list index and the
    // next page adds it again.
    ASSERT_EQ(f->open(), 0) << f->driverErrorText();
    ASSERT_EQ(f->build(), 0) << f->driverErrorText();
    EXPECT_TRUE(listIndexes().empty());
    EXPECT_EQ(page(*f), 20u);
    EXPECT_EQ(listIndexes().size(), 1u);

    // A station that only reads pages the table's rows and adds nothing.
    ASSERT_EQ(f->build(), 0);
    f->close();
    auto reader = file(mol, dostup::kOwnerPassword);
    ASSERT_EQ(reader->open(storage::kOpenReadOnlyShared), 0) << reader->driverErrorText();
    EXPECT_EQ(page(*reader), 20u);
    EXPECT_TRUE(listIndexes().empty());
}

}  // namespace
}  // namespace storage_tests
