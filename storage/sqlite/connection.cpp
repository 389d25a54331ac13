#include "storage/sqlite/connection.h"

#include "storage/sqlite/cipher.h"
#include "storage/sqlite/sqlite_errors.h"

#include <cstring>
#include <unistd.h>
#include <fstream>

namespace storage::sqlite {

namespace {

constexpr char kPlainHeader[] = "SQLite format 3";  // with its zero: 16 bytes

bool startsAsPlainDatabase(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    char header[sizeof kPlainHeader] = {};
    if (!in.read(header, sizeof header)) return false;
    return std::memcmp(header, kPlainHeader, sizeof header) == 0;
}

// The current journal mode, or empty when it cannot be read.
std::string journalMode(sqlite3* db, int& rc) {
    sqlite3_stmt* statement = nullptr;
    std::string mode;
    rc = sqlite3_prepare_v2(db, "PRAGMA journal_mode", -1, &statement, nullptr);
    if (rc == SQLITE_OK) {
        rc = sqlite3_step(statement);
        if (rc == SQLITE_ROW) {
            mode = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
            rc = SQLITE_OK;
        }
    }
    sqlite3_finalize(statement);
    return mode;
}

}  // namespace

void Connection::close() {
    if (db_) sqlite3_close_v2(db_);
    db_ = nullptr;
}

ErrorState Connection::exec(std::string_view sql, std::string_view doing) {
    const std::string text(sql);
    const int rc = sqlite3_exec(db_, text.c_str(), nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) return errorFrom(db_, sqlite3_extended_errcode(db_), doing);
    return success();
}

void setBusyWait(sqlite3* db, int milliseconds) { sqlite3_busy_timeout(db, milliseconds); }

namespace {

// A folder this process cannot write (a read-only copy on a disc or a share):
// a WAL file there cannot get its shared-memory file, so a reader opens it as
// immutable instead, which reads the file as it lies and writes nothing.
bool inReadOnlyFolder(const std::filesystem::path& file) {
    const std::filesystem::path folder = file.has_parent_path() ? file.parent_path() : ".";
    return ::access(folder.c_str(), W_OK) != 0;
}

std::string immutableUri(const std::filesystem::path& file) {
    std::string uri = "file:";
    for (const char c : std::filesystem::absolute(file).string()) {
        if (c == '%' || c == '?' || c == '#') {
            static const char hex[] = "0123456789ABCDEF";
            uri += '%';
            uri += hex[(static_cast<unsigned char>(c) >> 4) & 0xF];
            uri += hex[static_cast<unsigned char>(c) & 0xF];
        } else {
            uri += c;
        }
    }
    return uri + "?immutable=1";
}

}  // namespace

ErrorState openConnection(const ConnectionRequest& request, Connection& connection) {
    connection.close();
    if (!request.password.empty() && startsAsPlainDatabase(request.file))
        return driverFailure(SQLITE_NOTADB,
                             "The file is stored without enciphering but must be protected: " +
                                 request.file.string());

    int flags = request.write ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READONLY;
    if (request.create) flags |= SQLITE_OPEN_CREATE;
    flags |= SQLITE_OPEN_NOMUTEX;  // a connection serves one file object on one thread
    const bool immutable = !request.write && (request.immutable || inReadOnlyFolder(request.file));
    if (immutable) flags |= SQLITE_OPEN_URI;
    const std::string name = immutable ? immutableUri(request.file) : request.file.string();
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(name.c_str(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        ErrorState e = errorFrom(db, rc, "opening " + request.file.string());
        sqlite3_close_v2(db);
        if (request.write && inReadOnlyFolder(request.file))
            e.driverText += " (the data folder is read-only: this station may only read it)";
        return e;
    }
    connection.adopt(db);

    sqlite3_extended_result_codes(db, 1);
    setBusyWait(db, request.options.busyWaitMs);
    if (ErrorState e = requireCipherSupport(db)) return e;
    if (!request.password.empty())
        if (ErrorState e = connection.exec(keyStatement(request.password, request.file), "keying"))
            return e;
    // An enciphered file keeps up to 16 MiB of deciphered pages instead of SQLite's
    // 2 MiB: deciphering a page costs far more than reading it again from the
    // system's cache, and a list in surname order comes back to the same table
    // pages over and over (the largest employee file is about 12 MiB).
    // Sorts and index builds of an enciphered file stay in memory: a temporary
    // file would hold its rows deciphered.
    if (!request.password.empty())
        connection.exec("PRAGMA cache_size = -16384; PRAGMA temp_store = MEMORY");

    // The first read of the file: a wrong key, a file that is no database, or a
    // station holding the file alone shows here.
    int journalRc = SQLITE_OK;
    const std::string current = journalMode(db, journalRc);
    if (journalRc != SQLITE_OK) {
        ErrorState e = errorFrom(db, journalRc, "reading " + request.file.string());
        if (request.write && inReadOnlyFolder(request.file))
            e.driverText += " (the data folder is read-only: this station may only read it)";
        return e;
    }

    if (request.write) {
        const bool wal = request.options.journal == JournalMode::Wal;
        if ((current == "wal") != wal) {
            // Switching needs the file alone; when another station holds it the
            // file keeps the journal it has.
            connection.exec(wal ? "PRAGMA journal_mode = WAL" : "PRAGMA journal_mode = DELETE");
        }
        connection.exec(request.options.sync == SyncMode::Full ? "PRAGMA synchronous = FULL"
                                                               : "PRAGMA synchronous = NORMAL");
        if (request.exclusive) {
            if (ErrorState e = connection.exec("PRAGMA locking_mode = EXCLUSIVE")) return e;
            if (ErrorState e = connection.exec("BEGIN EXCLUSIVE; COMMIT", "taking the file alone"))
                return e;
        }
    }
    return success();
}

}  // namespace storage::sqlite
