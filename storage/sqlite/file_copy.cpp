#include "storage/file_copy.h"

#include "storage/kept_files.h"

#include "platform/paths.h"
#include "storage/sqlite/connection.h"
#include "storage/sqlite/sqlite_backend.h"
#include "storage/sqlite/sqlite_errors.h"

#include <openssl/evp.h>

#include <cstdio>
#include <fstream>

namespace storage {

namespace {

using sqlite::Connection;
using sqlite::ConnectionRequest;

// Pages per step: with the data files' write-ahead journal a reader never blocks
// a writer, so a step is large; a station that holds the file alone (or a file
// in rollback mode being written) makes the step wait and try again.
constexpr int kPagesPerStep = 4096;
constexpr int kBusyPauseMs = 5;

// The records of the file's own table (the one table besides SQLite's own and
// the held journal entries).
ErrorState countRecords(Connection& connection, long& records) {
    records = 0;
    sqlite3_stmt* statement = nullptr;
    std::string table;
    int rc = sqlite3_prepare_v2(connection.get(),
                                "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE "
                                "'sqlite_%' AND name <> 'held_entries' ORDER BY rowid LIMIT 1",
                                -1, &statement, nullptr);
    if (rc == SQLITE_OK && (rc = sqlite3_step(statement)) == SQLITE_ROW)
        table = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
    sqlite3_finalize(statement);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) return sqlite::errorFrom(connection.get(), rc, "reading the copy");
    if (table.empty()) return success();
    std::string quoted = "\"";
    for (const char c : table) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    const std::string sql = "SELECT count(*) FROM " + quoted + "\"";
    rc = sqlite3_prepare_v2(connection.get(), sql.c_str(), -1, &statement, nullptr);
    if (rc == SQLITE_OK && (rc = sqlite3_step(statement)) == SQLITE_ROW)
        records = static_cast<long>(sqlite3_column_int64(statement, 0));
    sqlite3_finalize(statement);
    if (rc != SQLITE_ROW) return sqlite::errorFrom(connection.get(), rc, "counting the copy's records");
    return success();
}

std::string textOf(Connection& connection, const char* sql) {
    sqlite3_stmt* statement = nullptr;
    std::string text;
    if (sqlite3_prepare_v2(connection.get(), sql, -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW && sqlite3_column_text(statement, 0))
        text = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
    sqlite3_finalize(statement);
    return text;
}

// A file in write-ahead mode whose journal is empty is, for as long as a read
// that began then lasts, exactly its database file: a checkpoint needs every
// reader of the file itself gone before it writes into it, and writers only add
// to the journal. Such a file is copied as its bytes, as fast as a plain copy,
// enciphered pages as they lie. False when the file is not in that state (the
// caller copies through SQLite's backup); `error` is set only by a failed copy.
bool copiedAsBytes(Connection& reader, const std::filesystem::path& source,
                   const std::filesystem::path& target, long& records, ErrorState& error) {
    if (textOf(reader, "PRAGMA journal_mode") != "wal") return false;
    reader.exec("PRAGMA wal_checkpoint(TRUNCATE)");  // busy stations leave it as it is
    if (reader.exec("BEGIN")) return false;
    std::error_code ec;
    const std::filesystem::path journal = source.string() + "-wal";
    bool quiet = false;
    if (!countRecords(reader, records)) {  // the read has begun
        const auto size = std::filesystem::exists(journal, ec) ? std::filesystem::file_size(journal, ec) : 0;
        quiet = !ec && size == 0;
    }
    if (quiet && !std::filesystem::copy_file(source, target, ec)) {
        error = driverFailure(ec.value(), "Cannot copy " + source.string() + ": " + ec.message());
        std::filesystem::remove(target, ec);
    }
    reader.exec("ROLLBACK");
    return quiet;
}

}  // namespace

std::filesystem::path databaseFileOf(std::string_view diskName) { return sqlite::databasePath(diskName); }

ErrorState copyDataFile(std::string_view diskName, const std::string& ownerPassword,
                        const std::filesystem::path& target, long& records) {
    records = 0;
    if (platform::isServerAddress(diskName))
        return driverFailure(0, "Files on a database server are copied with pg_dump, not here: " +
                                    std::string(diskName));
    const std::filesystem::path source = sqlite::databasePath(diskName);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(source, ec))
        return failure(error::kFileNotFound, 0, "File not found: " + source.string());
    if (std::filesystem::exists(target, ec)) return driverFailure(EEXIST, "The copy exists already: " + target.string());

    ConnectionRequest from;
    from.file = source;
    from.write = true;  // the checkpoint that empties the write-ahead journal writes
    from.password = ownerPassword;
    Connection reader;
    if (ErrorState e = sqlite::openConnection(from, reader)) return e;
    ErrorState copyError;
    // A copy of the bytes keeps the write-ahead mode of its file; it is checked
    // and read as immutable, so no journal ever appears beside it.
    if (copiedAsBytes(reader, source, target, records, copyError)) return copyError;
    ConnectionRequest to;
    to.file = target;
    to.write = true;
    to.create = true;
    to.password = ownerPassword;
    to.options.journal = JournalMode::Rollback;  // one file, no journal left beside it
    Connection writer;
    if (ErrorState e = sqlite::openConnection(to, writer)) return e;
    // A copy being made needs no journal of its own: one that fails half-way is
    // thrown away, and a finished one is synced by the caller.
    writer.exec("PRAGMA journal_mode = OFF");
    writer.exec("PRAGMA synchronous = OFF");

    sqlite3_backup* backup = sqlite3_backup_init(writer.get(), "main", reader.get(), "main");
    if (!backup) return sqlite::errorFrom(writer.get(), sqlite3_errcode(writer.get()), "starting the copy");
    int rc;
    // A source written by another station between two steps starts the copy over;
    // after that many restarts the rest is taken in one step.
    int steps = 0;
    do {
        rc = sqlite3_backup_step(backup, ++steps > 100000 ? -1 : kPagesPerStep);
        if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED) sqlite3_sleep(kBusyPauseMs);
    } while (rc == SQLITE_OK || rc == SQLITE_BUSY || rc == SQLITE_LOCKED);
    sqlite3_backup_finish(backup);
    if (rc != SQLITE_DONE) return sqlite::errorFrom(writer.get(), rc, "copying " + source.string());
    // The copy took the source's write-ahead journal mode with its pages; as a
    // single file it keeps no journal beside it (the program switches a restored
    // file back when it opens it for writing).
    if (ErrorState e = writer.exec("PRAGMA journal_mode = DELETE", "closing the copy's journal")) return e;
    return countRecords(writer, records);
}

ErrorState checkCopiedFile(const std::filesystem::path& copy, const std::string& ownerPassword, long& records) {
    records = 0;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(copy, ec))
        return failure(error::kFileNotFound, 0, "File not found: " + copy.string());
    ConnectionRequest request;
    request.file = copy;
    request.write = false;
    request.immutable = true;
    request.password = ownerPassword;
    Connection connection;
    if (ErrorState e = sqlite::openConnection(request, connection)) return e;
    sqlite3_stmt* statement = nullptr;
    std::string verdict;
    int rc = sqlite3_prepare_v2(connection.get(), "PRAGMA integrity_check", -1, &statement, nullptr);
    if (rc == SQLITE_OK && (rc = sqlite3_step(statement)) == SQLITE_ROW)
        verdict = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
    sqlite3_finalize(statement);
    if (rc != SQLITE_ROW) return sqlite::errorFrom(connection.get(), rc, "checking " + copy.string());
    if (verdict != "ok") return driverFailure(SQLITE_CORRUPT, "The copy is damaged: " + verdict);
    return countRecords(connection, records);
}

std::string sha256OfFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return {};
    EVP_MD_CTX* context = EVP_MD_CTX_new();
    EVP_DigestInit_ex(context, EVP_sha256(), nullptr);
    char buffer[1 << 16];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0)
        EVP_DigestUpdate(context, buffer, static_cast<std::size_t>(in.gcount()));
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int size = 0;
    EVP_DigestFinal_ex(context, digest, &size);
    EVP_MD_CTX_free(context);
    if (in.bad()) return {};
    std::string hex;
    char pair[3];
    for (unsigned int i = 0; i < size; ++i) {
        std::snprintf(pair, sizeof pair, "%02x", digest[i]);
        hex += pair;
    }
    return hex;
}

struct FileHold::Held {
    Connection connection;
};

FileHold::FileHold() = default;
FileHold::~FileHold() = default;
FileHold::FileHold(FileHold&&) noexcept = default;
FileHold& FileHold::operator=(FileHold&&) noexcept = default;

ErrorState FileHold::take(std::string_view diskName, const std::string& ownerPassword) {
    release();
    if (platform::isServerAddress(diskName))
        return driverFailure(0, "Files on a database server are not held this way: " + std::string(diskName));
    const std::filesystem::path file = sqlite::databasePath(diskName);
    std::error_code ec;
    if (!std::filesystem::exists(file, ec)) return success();
    closeKeptFiles(file);  // this process's own kept opening would hold it against the hold
    ConnectionRequest request;
    request.file = file;
    request.write = true;
    request.exclusive = true;
    request.password = ownerPassword;
    request.options.busyWaitMs = 2000;
    held_ = std::make_unique<Held>();
    ErrorState e = sqlite::openConnection(request, held_->connection);
    if (e) {
        held_.reset();
        if (e.driverCode == SQLITE_BUSY || (e.driverCode & 0xFF) == SQLITE_BUSY) e.code = error::kFileLocked;
    }
    return e;
}

void FileHold::release() { held_.reset(); }

}  // namespace storage
