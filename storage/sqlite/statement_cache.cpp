#include "storage/sqlite/statement_cache.h"

#include "storage/sqlite/sqlite_errors.h"

#include <cstring>

namespace storage::sqlite {

void StatementCache::clear() {
    for (auto& [id, statement] : statements_) sqlite3_finalize(statement);
    statements_.clear();
}

ErrorState StatementCache::prepare(std::uint64_t id, const std::string& sql,
                                   sqlite3_stmt*& statement) {
    statement = nullptr;
    const int rc =
        sqlite3_prepare_v2(db_, sql.c_str(), static_cast<int>(sql.size()), &statement, nullptr);
    if (rc != SQLITE_OK) {
        ErrorState e = errorFrom(db_, rc);
        // A key index that has gone missing makes its queries unpreparable: the
        // keys must be rebuilt.
        if (std::strstr(sqlite3_errmsg(db_), "no such index") ||
            std::strstr(sqlite3_errmsg(db_), "no query solution"))
            e = failure(error::kKeyFileInvalid, rc, sqlite3_errmsg(db_));
        sqlite3_finalize(statement);
        statement = nullptr;
        return e;
    }
    statements_.emplace(id, statement);
    return success();
}

}  // namespace storage::sqlite
