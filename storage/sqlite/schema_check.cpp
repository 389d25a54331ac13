#include "storage/sqlite/schema_check.h"

#include "storage/sqlite/sqlite_errors.h"

#include <map>
#include <string>

namespace storage::sqlite {

namespace {

std::string text(sqlite3_stmt* statement, int column) {
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
    return p ? p : "";
}

// name (upper-cased) -> sql of every object of a type that belongs to the table.
ErrorState objectsOf(sqlite3* db, const TableSchema& schema, const char* type,
                     std::map<std::string, std::string>& objects) {
    sqlite3_stmt* raw = nullptr;
    int rc = sqlite3_prepare_v2(
        db, "SELECT name, sql FROM sqlite_master WHERE type = ?1 AND tbl_name = ?2 COLLATE NOCASE",
        -1, &raw, nullptr);
    if (rc != SQLITE_OK) return errorFrom(db, rc, "reading the schema");
    sqlite3_bind_text(raw, 1, type, -1, SQLITE_STATIC);
    sqlite3_bind_text(raw, 2, schema.table().c_str(), -1, SQLITE_STATIC);
    while ((rc = sqlite3_step(raw)) == SQLITE_ROW)
        objects[upperAsciiName(text(raw, 0))] = text(raw, 1);
    sqlite3_finalize(raw);
    if (rc != SQLITE_DONE) return errorFrom(db, rc, "reading the schema");
    return success();
}

ErrorState mismatch(const TableSchema& schema, const std::string& what) {
    return failure(error::kInvalidDeclaration, 0,
                   "Table " + schema.table() + " does not match its record layout: " + what);
}

}  // namespace

ErrorState checkTable(sqlite3* db, const TableSchema& schema) {
    if (!schema.nameClash().empty()) return mismatch(schema, schema.nameClash());
    std::map<std::string, std::string> tables;
    if (ErrorState e = objectsOf(db, schema, "table", tables)) return e;
    if (!tables.count(upperAsciiName(schema.table())))
        return failure(error::kFileNotFound, 0, "The file holds no table " + schema.table());

    struct Stored {
        std::string type;
        bool primaryKey;
    };
    std::map<std::string, Stored> stored;
    sqlite3_stmt* raw = nullptr;
    const std::string sql = "PRAGMA table_info(" + schema.quotedTable() + ")";
    int rc = sqlite3_prepare_v2(db, sql.c_str(), -1, &raw, nullptr);
    if (rc != SQLITE_OK) return errorFrom(db, rc, "reading the schema");
    while ((rc = sqlite3_step(raw)) == SQLITE_ROW)
        stored[upperAsciiName(text(raw, 1))] = {upperAsciiName(text(raw, 2)),
                                                sqlite3_column_int(raw, 5) != 0};
    sqlite3_finalize(raw);
    if (rc != SQLITE_DONE) return errorFrom(db, rc, "reading the schema");

    for (const ColumnDef& column : schema.columns()) {
        auto it = stored.find(upperAsciiName(column.name));
        if (it == stored.end()) return mismatch(schema, "column " + column.name + " is missing");
        if (it->second.type != column.type)
            return mismatch(schema, "column " + column.name + " is " + it->second.type + ", not " +
                                        column.type);
        if ((column.role == ColumnDef::Role::RowId) != it->second.primaryKey)
            return mismatch(schema, "column " + column.name + " has the wrong primary key role");
        stored.erase(it);
    }
    if (!stored.empty())
        return mismatch(schema, "column " + stored.begin()->first + " is not in the layout");
    return success();
}

ErrorState checkKeys(sqlite3* db, const TableSchema& schema) {
    std::map<std::string, std::string> indexes, triggers;
    if (ErrorState e = objectsOf(db, schema, "index", indexes)) return e;
    if (ErrorState e = objectsOf(db, schema, "trigger", triggers)) return e;
    auto expect = [&](const std::map<std::string, std::string>& objects, const std::string& name,
                      const std::string& sql) -> ErrorState {
        auto it = objects.find(upperAsciiName(name));
        if (it == objects.end())
            return failure(error::kKeyFileInvalid, 0,
                           "Key " + name + " of " + schema.table() + " is missing");
        if (it->second != sql)
            return failure(error::kKeyFileInvalid, 0,
                           "Key " + name + " of " + schema.table() + " is declared differently");
        return success();
    };
    for (const IndexDef& index : schema.indexes())
        if (ErrorState e = expect(indexes, index.name, index.sql)) return e;
    if (ErrorState e = expect(indexes, schema.pendingIndexName(), schema.pendingIndexSql()))
        return e;
    if (ErrorState e = expect(triggers, schema.triggerName(), schema.triggerSql())) return e;
    return success();
}

}  // namespace storage::sqlite
