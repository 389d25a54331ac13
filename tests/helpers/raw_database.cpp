#include "tests/helpers/raw_database.h"

#include <fstream>
#include <sstream>

namespace testing_support {

RawDatabase::RawDatabase(const std::filesystem::path& file, const std::string& key) {
    sqlite3_open_v2(file.c_str(), &db_, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_busy_timeout(db_, 5000);
    if (!key.empty()) exec("PRAGMA key = '" + key + "'");
}

RawDatabase::~RawDatabase() { sqlite3_close(db_); }

int RawDatabase::exec(const std::string& sql) {
    return sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr);
}

std::vector<std::vector<std::string>> RawDatabase::rows(const std::string& sql) {
    std::vector<std::vector<std::string>> out;
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) return out;
    while (sqlite3_step(statement) == SQLITE_ROW) {
        std::vector<std::string> row;
        for (int i = 0; i < sqlite3_column_count(statement); ++i) {
            if (sqlite3_column_type(statement, i) == SQLITE_NULL) {
                row.emplace_back("NULL");
            } else {
                const auto* p = static_cast<const char*>(sqlite3_column_blob(statement, i));
                row.emplace_back(p ? p : "",
                                 static_cast<std::size_t>(sqlite3_column_bytes(statement, i)));
            }
        }
        out.push_back(std::move(row));
    }
    sqlite3_finalize(statement);
    return out;
}

std::string RawDatabase::value(const std::string& sql) {
    const auto r = rows(sql);
    return r.empty() || r.front().empty() ? std::string() : r.front().front();
}

std::string fileBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace testing_support
