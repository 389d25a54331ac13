// The SQLite side of kept files (storage/kept_files.h): open tables that their
// files let go, parked under what they were opened with, taken again by the next
// opening asking the same.
#pragma once

#include "storage/driver_options.h"

#include <sys/types.h>

#include <filesystem>
#include <memory>
#include <string>

namespace storage {
class RecordLayout;
}

namespace storage::sqlite {

class SqliteTable;

// What an opening asks: a kept table serves only an opening asking all of it.
// The file is asked by the system's name, as the program gives it (the host path
// it stands for is found once, when the file is first opened).
struct KeptKey {
    std::string diskName;
    std::string file;  // the database file's host path: not part of the question
    const RecordLayout* layout = nullptr;
    std::string layoutName;  // with the record size: a layout made anew at the same address differs
    std::size_t recordSize = 0;
    bool write = false;
    std::string password;
    JournalMode journal = JournalMode::Wal;
    SyncMode sync = SyncMode::Normal;
    bool answers(const KeptKey& asked) const {
        return diskName == asked.diskName && layout == asked.layout && layoutName == asked.layoutName &&
               recordSize == asked.recordSize && write == asked.write && password == asked.password &&
               journal == asked.journal && sync == asked.sync;
    }
};

// The database file a table was opened on: a file replaced since (a restore
// puts a copy in its place) is another file, and its kept table is closed.
struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    bool operator==(const FileIdentity&) const = default;
};
FileIdentity identityOf(const std::filesystem::path& file);  // zeros when it cannot be read

// The table kept for this opening, or null. The caller checks it is still good
// to use (SqliteTable::resume).
std::unique_ptr<SqliteTable> takeKeptTable(const KeptKey& key);
// Keeps the table when keeping is on, else closes it.
void keepTable(const KeptKey& key, std::unique_ptr<SqliteTable> table);

}  // namespace storage::sqlite
