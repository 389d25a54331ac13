// Prepared statements of one connection, kept for the life of the open file and
// looked up by a small numeric id. A statement is reset as soon as its use ends
// (StatementUse): a finished statement left unreset holds a read snapshot that
// blocks checkpoints of the write-ahead journal.
#pragma once

#include "storage/errors.h"
#include "storage/sqlite/sqlite_api.h"

#include <cstdint>
#include <string>
#include <unordered_map>

namespace storage::sqlite {

class StatementCache {
public:
    explicit StatementCache(sqlite3* db) : db_(db) {}
    ~StatementCache() { clear(); }
    StatementCache(const StatementCache&) = delete;
    StatementCache& operator=(const StatementCache&) = delete;

    // The statement cached under `id`, prepared from `makeSql()` on first use.
    template <typename MakeSql>
    ErrorState get(std::uint64_t id, MakeSql&& makeSql, sqlite3_stmt*& statement) {
        auto it = statements_.find(id);
        if (it != statements_.end()) {
            statement = it->second;
            return success();
        }
        return prepare(id, makeSql(), statement);
    }
    void clear();  // finalizes every statement

private:
    ErrorState prepare(std::uint64_t id, const std::string& sql, sqlite3_stmt*& statement);

    sqlite3* db_;
    std::unordered_map<std::uint64_t, sqlite3_stmt*> statements_;
};

// Resets the statement (and clears its bindings) when the use ends.
class StatementUse {
public:
    explicit StatementUse(sqlite3_stmt* statement) : statement_(statement) {}
    ~StatementUse() {
        if (statement_) {
            sqlite3_reset(statement_);
            sqlite3_clear_bindings(statement_);
        }
    }
    StatementUse(const StatementUse&) = delete;
    StatementUse& operator=(const StatementUse&) = delete;
    sqlite3_stmt* get() const { return statement_; }

private:
    sqlite3_stmt* statement_;
};

// A statement used once and finalized when it goes: a statement left unfinalized
// keeps its connection from closing (and the file locked).
class OneOffStatement {
public:
    OneOffStatement() = default;
    ~OneOffStatement() { sqlite3_finalize(statement_); }
    OneOffStatement(const OneOffStatement&) = delete;
    OneOffStatement& operator=(const OneOffStatement&) = delete;
    int prepare(sqlite3* db, const std::string& sql) {
        sqlite3_finalize(statement_);
        statement_ = nullptr;
        return sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), &statement_,
                                  nullptr);
    }
    sqlite3_stmt* get() const { return statement_; }

private:
    sqlite3_stmt* statement_ = nullptr;
};

}  // namespace storage::sqlite
