// One SQLite connection to a data file, set up the same way for every use: result
// codes, busy wait, key, journal, synchronous mode and locking.
#pragma once

#include "storage/driver_options.h"
#include "storage/errors.h"
#include "storage/sqlite/sqlite_api.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace storage::sqlite {

class Connection {
public:
    Connection() = default;
    ~Connection() { close(); }
    Connection(Connection&& other) noexcept : db_(other.db_) { other.db_ = nullptr; }
    Connection& operator=(Connection&& other) noexcept {
        if (this != &other) {
            close();
            db_ = other.db_;
            other.db_ = nullptr;
        }
        return *this;
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    sqlite3* get() const { return db_; }
    void adopt(sqlite3* db) {
        close();
        db_ = db;
    }
    explicit operator bool() const { return db_ != nullptr; }
    void close();

    // Runs statements that return no rows.
    ErrorState exec(std::string_view sql, std::string_view doing = {});

private:
    sqlite3* db_ = nullptr;
};

struct ConnectionRequest {
    std::filesystem::path file;
    bool write = true;
    bool create = false;
    bool exclusive = false;  // hold the file alone while open
    bool immutable = false;  // a reader of a file nobody writes (a backup's copy): nothing written beside it
    std::string password;    // empty: not enciphered
    DriverOptions options;
};

ErrorState openConnection(const ConnectionRequest& request, Connection& connection);
void setBusyWait(sqlite3* db, int milliseconds);

}  // namespace storage::sqlite
