// Plain SQL access to a data file's database, as another tool would have it: for
// the tests that look at what the SQLite backend wrote.
#pragma once

#include <sqlcipher/sqlite3.h>

#include <filesystem>
#include <string>
#include <vector>

namespace testing_support {

class RawDatabase {
public:
    // `key`: a passphrase given with PRAGMA key, as the sqlcipher tool does.
    explicit RawDatabase(const std::filesystem::path& file, const std::string& key = {});
    ~RawDatabase();
    RawDatabase(const RawDatabase&) = delete;
    RawDatabase& operator=(const RawDatabase&) = delete;

    // Runs statements; the result code of the first failure (SQLITE_OK when none).
    int exec(const std::string& sql);
    // The rows of a query, each column as text ("NULL" for null); empty on error.
    std::vector<std::vector<std::string>> rows(const std::string& sql);
    std::string value(const std::string& sql);  // first column of the first row
    std::string error() const { return sqlite3_errmsg(db_); }

private:
    sqlite3* db_ = nullptr;
};

std::string fileBytes(const std::filesystem::path& file);  // empty when missing

}  // namespace testing_support
