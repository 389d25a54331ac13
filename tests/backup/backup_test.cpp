// Backups and restores of a data folder: a copy taken while another process
// writes is whole and opens; a protected file stays enciphered; every fault
// leaves no backup folder and every refused restore leaves the data untouched; a
// restore cut short says how to finish it.
#include "access/access_layouts.h"
#include "backup/data_restore.h"
#include "platform/cp1251.h"
#include "platform/dates.h"
#include "refbooks/ref_layouts.h"
#include "storage/data_file.h"
#include "tests/helpers/folder_snapshot.h"
#include "tests/helpers/raw_database.h"
#include "tests/helpers/temp_folder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using platform::ru;

int finish(pid_t pid) {
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

class Backup : public ::testing::Test {
protected:
    Backup() {
        fs::create_directories(folder.path() / "Dat");
        fs::create_directories(folder.path() / "copies");
        folder.write("TARVO.INI", "[Main]\r\nXPos=1\r\n");
        addPrices(1, 50);
        storage::DataFile mol(dostup::molLayout());
        mol.setName(".\\Dat\\MOL");
        mol.setOwnerPassword(dostup::ownerPasswordOf(mol.layout()));
        EXPECT_EQ(mol.create(), 0);
        EXPECT_EQ(mol.open(), 0);
        mol.record().setInt("MOL:SCODE", 7);
        mol.record().setText("MOL:LNAME", ru("Секретова"));
        EXPECT_EQ(mol.add(), 0);
    }
    static void addPrices(int from, int to) {
        storage::DataFile price(refbooks::priceLayout());
        price.setName(".\\Dat\\Price");
        if (price.open() == storage::error::kFileNotFound) price.create(), price.open();
        for (int code = from; code <= to; ++code) {
            price.record().clear();
            price.record().setInt("PRI:ID", code);
            price.record().setText("PRI:NAME", "Price " + std::to_string(code));
            if (price.add() != 0) return;
        }
    }
    std::vector<backup::DataFileName> files() const {
        return {{".\\Dat\\Price", ""},
                {".\\Dat\\MOL", dostup::ownerPasswordOf(dostup::molLayout())},
                {".\\Dat\\Firm", ""}};  // never made: not copied
    }
    backup::BackupOutcome take(const std::function<bool(const std::string&)>& progress = {}) {
        return backup::takeBackup(files(), {".\\TARVO.INI", ".\\COMP.INI"}, "copies",
                                  platform::dayNumber(2026, 12, 9), platform::clockValue(15, 30, 0), progress);
    }
    std::vector<std::string> copiesFolder() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder.path() / "copies"))
            names.push_back(entry.path().filename().string());
        return names;
    }

    testing_support::TempFolder folder;
};

TEST_F(Backup, ACopyTakenWhileAnotherProcessWritesIsWholeAndKeepsProtectedFilesEnciphered) {
    const pid_t writer = fork();
    if (writer == 0) {
        addPrices(51, 1050);
        std::_Exit(0);
    }
    const backup::BackupOutcome outcome = take();
    ASSERT_EQ(finish(writer), 0);
    ASSERT_EQ(outcome.error, "") << platform::cp1251ToUtf8(outcome.error);
    EXPECT_EQ(fs::path(outcome.folder).filename(), "2026-12-09_1530");
    ASSERT_EQ(outcome.entries.size(), 3u) << "Price, MOL and TARVO.INI";
    EXPECT_GE(outcome.entries[0].records, 50);
    EXPECT_LE(outcome.entries[0].records, 1050);
    const std::string copied = testing_support::fileBytes(fs::path(outcome.folder) / "data" / "MOL.db");
    EXPECT_EQ(copied.find(ru("Секретова")), std::string::npos) << "enciphered in the copy";
    EXPECT_NE(copied.substr(0, 16), "SQLite format 3");
    EXPECT_EQ(copiesFolder(), std::vector<std::string>{"2026-12-09_1530"});
    EXPECT_EQ(fs::path(take().folder).filename(), "2026-12-09_1530_2")
        << "a second copy in the same minute gets a folder of its own";
}

TEST_F(Backup, AFaultOrAKillLeavesNoBackupFolder) {
    struct Case {
        const char* what;
        std::function<void()> fault;  // runs in the forked backup process
        std::function<bool(const std::string&)> progress;
    };
    const Case cases[] = {
        {"a full disk", [] {
             std::signal(SIGXFSZ, SIG_IGN);
             const rlimit small{16384, 16384};
             setrlimit(RLIMIT_FSIZE, &small);
         }, {}},
        {"killed half-way", {}, [](const std::string& file) {
             if (file.find("MOL") != std::string::npos) ::kill(::getpid(), SIGKILL);
             return true;
         }},
        {"cancelled", {}, [](const std::string&) { return false; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const pid_t child = fork();
        if (child == 0) {
            if (c.fault) c.fault();
            const backup::BackupOutcome outcome = take(c.progress);
            std::_Exit(outcome.error.empty() ? 0 : 3);
        }
        EXPECT_NE(finish(child), 0);
        for (const std::string& name : copiesFolder()) EXPECT_EQ(name.front(), '.') << name;
    }
    const backup::BackupOutcome missing =
        backup::takeBackup(files(), {}, "no-such-folder", 1, 1);
    EXPECT_NE(platform::cp1251ToUtf8(missing.error).find("Нет папки для копии"), std::string::npos);
}

TEST_F(Backup, RestoreBringsTheCopyBackAndKeepsTheReplacedDataAside) {
    const backup::BackupOutcome taken = take();
    ASSERT_EQ(taken.error, "");
    addPrices(51, 60);
    const backup::RestoreOutcome restored =
        backup::restoreBackup(taken.folder, files(), platform::dayNumber(2026, 12, 10), platform::clockValue(9, 0, 0));
    ASSERT_EQ(restored.error, "") << platform::cp1251ToUtf8(restored.error);
    EXPECT_EQ(restored.files, 2);
    testing_support::RawDatabase price(folder.path() / "Dat" / "Price.db");
    EXPECT_EQ(price.value("SELECT count(*) FROM Price"), "50");
    testing_support::RawDatabase aside(folder.path() / "Dat" / "before-restore-2026-12-10_0900" / "Price.db");
    EXPECT_EQ(aside.value("SELECT count(*) FROM Price"), "60") << "never deleted";
    EXPECT_EQ(backup::interruptedRestore(files()), "");
}

TEST_F(Backup, ARestoreIsRefusedBeforeAnythingMoves) {
    const backup::BackupOutcome taken = take();
    ASSERT_EQ(taken.error, "");
    const fs::path copy(taken.folder);
    auto edit = [](const fs::path& file, const std::string& from, const std::string& to) {
        std::ifstream in(file, std::ios::binary);
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        text.replace(text.find(from), from.size(), to);
        std::ofstream(file, std::ios::binary | std::ios::trunc) << text;
    };
    struct Case {
        const char* what;
        std::function<void()> spoil, mend;
        const char* message;
    };
    const std::string manifest = (copy / "manifest.txt").string();
    const Case cases[] = {
        {"a copy changed", [&] { std::ofstream(copy / "ini" / "TARVO.INI", std::ios::app) << "x"; },
         [&] { fs::resize_file(copy / "ini" / "TARVO.INI", fs::file_size(copy / "ini" / "TARVO.INI") - 1); },
         "не совпадает с описью"},
        {"a file missing", [&] { fs::rename(copy / "data" / "MOL.db", copy / "MOL.db"); },
         [&] { fs::rename(copy / "MOL.db", copy / "data" / "MOL.db"); }, "нет файла data/MOL.db"},
        {"another installation", [&] { edit(manifest, ".\\Dat\\Price", ".\\Other\\Price"); },
         [&] { edit(manifest, ".\\Other\\Price", ".\\Dat\\Price"); }, "с другой установки"},
        {"no manifest", [&] { fs::rename(manifest, manifest + ".x"); }, [&] { fs::rename(manifest + ".x", manifest); },
         "нет описи"},
    };
    const testing_support::FolderSnapshot data = testing_support::snapshotOf(folder.path() / "Dat");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.spoil();
        const backup::RestoreOutcome refused = backup::restoreBackup(taken.folder, files(), 1, 1);
        EXPECT_NE(platform::cp1251ToUtf8(refused.error).find(c.message), std::string::npos)
            << platform::cp1251ToUtf8(refused.error);
        c.mend();
        EXPECT_EQ(testing_support::snapshotOf(folder.path() / "Dat"), data);
    }

    // A station with a file open.
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t station = fork();
    if (station == 0) {
        storage::DataFile price(refbooks::priceLayout());
        price.setName(".\\Dat\\Price");
        price.open();
        price.set();
        price.next();
        (void)!write(ready[1], "x", 1);
        ::pause();
        std::_Exit(0);
    }
    char signal = 0;
    ASSERT_EQ(read(ready[0], &signal, 1), 1);
    const backup::RestoreOutcome busy = backup::restoreBackup(taken.folder, files(), 1, 1);
    ::kill(station, SIGKILL);
    finish(station);
    EXPECT_NE(platform::cp1251ToUtf8(busy.error).find("открыт на другой станции"), std::string::npos)
        << platform::cp1251ToUtf8(busy.error);
    EXPECT_EQ(backup::interruptedRestore(files()), "");
}

TEST_F(Backup, ARestoreCutShortSaysHowToFinish) {
    const backup::BackupOutcome taken = take();
    ASSERT_EQ(taken.error, "");
    // The second file cannot be put in place.
    fs::create_directories(folder.path() / "Dat" / "MOL.db.restoring" / "in-the-way");
    const backup::RestoreOutcome cut = backup::restoreBackup(taken.folder, files(), 1, 1);
    EXPECT_NE(platform::cp1251ToUtf8(cut.error).find("прервано"), std::string::npos);
    const std::string message = platform::cp1251ToUtf8(backup::interruptedRestore(files()));
    EXPECT_NE(message.find("было прервано"), std::string::npos) << message;
    EXPECT_NE(message.find("--restore"), std::string::npos);
}

}  // namespace
