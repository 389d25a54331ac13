#include "storage/sqlite/kept_tables.h"

#include "storage/kept_files.h"
#include "storage/sqlite/sqlite_table.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

namespace storage::sqlite {

namespace {

using Clock = std::chrono::steady_clock;

struct Kept {
    KeptKey key;
    std::unique_ptr<SqliteTable> table;
    Clock::time_point since;
};

struct Shelf {
    std::chrono::milliseconds keepFor{0};
    std::vector<Kept> kept;
    pid_t process = 0;  // whose connections these are
};

// A forked process inherits the kept tables but not their locks: it never uses
// them. It closes its copies, which also tells its copy of SQLite's lock
// bookkeeping that they are gone (a copy left open would count as a lock this
// process holds, and keep the file from being taken alone here); the parent's
// own connections and locks are not touched.
void forgetAfterFork(Shelf& shelf) {
    const pid_t now = ::getpid();
    if (shelf.process == now) return;
    std::vector<Kept> inherited = std::move(shelf.kept);
    shelf.kept.clear();
    shelf.process = now;
}

// Never destroyed: files closed by other static objects at the exit still find
// it. What it keeps is closed, and keeping turned off, by the first static
// object to go that came after it.
Shelf& shelf() {
    static Shelf* const one = new Shelf;
    static const struct AtExit {
        ~AtExit() {
            forgetAfterFork(*one);
            std::vector<Kept> closing = std::move(one->kept);
            one->kept.clear();
            one->keepFor = std::chrono::milliseconds(0);
        }
    } atExit;
    return *one;
}

// Closes the kept tables that match; the tables are destroyed outside the
// shelf's list so that nothing they do on closing meets it half changed.
template <typename Matches>
void closeWhere(Matches matches) {
    forgetAfterFork(shelf());
    std::vector<Kept>& kept = shelf().kept;
    std::vector<Kept> closing;
    for (auto it = kept.begin(); it != kept.end();) {
        if (matches(*it)) {
            closing.push_back(std::move(*it));
            it = kept.erase(it);
        } else {
            ++it;
        }
    }
}

}  // namespace

FileIdentity identityOf(const std::filesystem::path& file) {
    struct stat status {};
    if (::stat(file.c_str(), &status) != 0) return {};
    return {status.st_dev, status.st_ino};
}

std::unique_ptr<SqliteTable> takeKeptTable(const KeptKey& key) {
    closeIdleKeptFiles();
    std::vector<Kept>& kept = shelf().kept;
    const auto found = std::find_if(kept.begin(), kept.end(), [&](const Kept& k) { return k.key.answers(key); });
    if (found == kept.end()) return nullptr;
    std::unique_ptr<SqliteTable> table = std::move(found->table);
    kept.erase(found);
    return table;
}

void keepTable(const KeptKey& key, std::unique_ptr<SqliteTable> table) {
    if (shelf().keepFor.count() <= 0 || !table) return;
    closeIdleKeptFiles();  // also forgets a parent's tables after a fork
    // One kept table per opening: a second one (two file objects of one layout
    // closed together) replaces nothing and is closed.
    for (const Kept& k : shelf().kept)
        if (k.key.answers(key)) return;
    shelf().kept.push_back({key, std::move(table), Clock::now()});
}

}  // namespace storage::sqlite

namespace storage {

void keepClosedFiles(std::chrono::milliseconds howLong) {
    sqlite::shelf().keepFor = howLong;
    if (howLong.count() <= 0) closeKeptFiles();
}

std::chrono::milliseconds closedFilesKeptFor() { return sqlite::shelf().keepFor; }

void closeIdleKeptFiles() {
    const auto now = sqlite::Clock::now();
    const auto keepFor = sqlite::shelf().keepFor;
    sqlite::closeWhere([&](const sqlite::Kept& k) { return now - k.since >= keepFor; });
}

void closeKeptFiles() {
    sqlite::closeWhere([](const sqlite::Kept&) { return true; });
}

void closeKeptFiles(const std::filesystem::path& databaseFile) {
    const std::string file = databaseFile.string();
    sqlite::closeWhere([&](const sqlite::Kept& k) { return k.key.file == file; });
}

std::size_t keptFileCount() {
    sqlite::forgetAfterFork(sqlite::shelf());
    return sqlite::shelf().kept.size();
}

}  // namespace storage
