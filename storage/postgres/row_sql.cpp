#include "storage/postgres/row_sql.h"

#include "storage/field_codec.h"
#include "storage/postgres/keyset_sql.h"

namespace storage::postgres {

namespace {

using Role = ColumnDef::Role;

std::string rowId() { return sqlName(kRowIdColumn); }
std::string version() { return sqlName(kVersionColumn); }
// A pending row keeps its last version negated (see schema.h), so the version it
// gets next is beyond every one a station may have read.
std::string nextVersion() {
    return version() + " = abs(coalesce(" + version() + ", 0)) + 1";
}
std::string pending() { return "(" + version() + " IS NULL OR " + version() + " < 0)"; }

// "a = $n AND b = $n+1 ..." over a key's own columns, numbered from `first`.
std::string keyEquals(const TableSchema& schema, int key, int& next) {
    const IndexDef& index = schema.indexes().at(static_cast<std::size_t>(key));
    std::string out;
    for (std::size_t i = 0; i < index.keyColumns; ++i)
        out += (i ? " AND " : "") + sqlName(index.columns[i]) + " = $" + std::to_string(next++);
    return out;
}

// "k1 = $1, k2 = $2" over the key text columns; `next` moves past them.
std::string setKeyTexts(const TableSchema& schema, int& next) {
    std::string out;
    for (const ColumnDef& c : schema.columns())
        if (c.role == Role::KeyText)
            out += (out.empty() ? "" : ", ") + sqlName(c.name) + " = $" + std::to_string(next++);
    return out;
}

std::string keyTextColumns(const TableSchema& schema) {
    std::string out;
    for (const ColumnDef& c : schema.columns())
        if (c.role == Role::KeyText) out += ", " + sqlName(c.name);
    return out;
}

}  // namespace

std::string insertSql(const TableSchema& schema) {
    std::string columns = version(), values = "1";
    int next = 1;
    for (const ColumnDef& c : schema.columns()) {
        if (c.role != Role::Field && c.role != Role::KeyText) continue;
        columns += ", " + sqlName(c.name);
        values += ", $" + std::to_string(next++);
    }
    return "INSERT INTO " + schema.qualifiedTable() + " (" + columns + ") VALUES (" + values +
           ") RETURNING " + rowId();
}

std::string updateSql(const TableSchema& schema, bool watched) {
    std::string sql = "UPDATE " + schema.qualifiedTable() + " SET ";
    int next = 1;
    for (const ColumnDef& c : schema.columns())
        if (c.role == Role::Field || c.role == Role::KeyText)
            sql += sqlName(c.name) + " = $" + std::to_string(next++) + ", ";
    sql += nextVersion() + " WHERE " + rowId() + " = $" +
           std::to_string(next++);
    if (watched) sql += " AND coalesce(" + version() + ", 0) = $" + std::to_string(next++);
    return sql + " RETURNING " + version();
}

std::string fetchSql(const TableSchema& schema) {
    return "SELECT " + schema.rowColumns() + " FROM " + schema.qualifiedTable() + " WHERE " +
           rowId() + " = $1";
}

std::string versionSql(const TableSchema& schema) {
    return "SELECT coalesce(" + version() + ", 0) FROM " + schema.qualifiedTable() + " WHERE " +
           rowId() + " = $1";
}

std::string eraseSql(const TableSchema& schema) {
    return "DELETE FROM " + schema.qualifiedTable() + " WHERE " + rowId() + " = $1 RETURNING " +
           rowId();
}

std::string findEqualSql(const TableSchema& schema, int key) {
    int next = 1;
    return "SELECT " + schema.rowColumns() + " FROM " + schema.qualifiedTable() + " WHERE " +
           keyEquals(schema, key, next) + " ORDER BY " + orderBy(schema, key, Direction::Forward) +
           " LIMIT 1";
}

std::string existsSql(const TableSchema& schema, int key) {
    int next = 1;
    const std::string equals = keyEquals(schema, key, next);
    return "SELECT 1 FROM " + schema.qualifiedTable() + " WHERE " + equals + " AND " + rowId() +
           " <> $" + std::to_string(next) + " LIMIT 1";
}

std::string pendingRowsSql(const TableSchema& schema) {
    return "SELECT " + schema.rowColumns() + " FROM " + schema.qualifiedTable() + " WHERE " +
           version() + " IS NULL OR " + version() + " < 0";
}

std::string completeRowSql(const TableSchema& schema) {
    int next = 1;
    std::string sets = setKeyTexts(schema, next);
    sets += (sets.empty() ? "" : ", ") + nextVersion();
    return "UPDATE " + schema.qualifiedTable() + " SET " + sets + " WHERE " + rowId() + " = $" +
           std::to_string(next) + " AND " + pending();
}

std::string rowsAfterSql(const TableSchema& schema) {
    return "SELECT " + schema.rowColumns() + keyTextColumns(schema) + " FROM " +
           schema.qualifiedTable() + " WHERE " + rowId() + " > $1 ORDER BY " + rowId() +
           " LIMIT $2";
}

std::string setKeyTextsSql(const TableSchema& schema) {
    int next = 1;
    std::string sets = setKeyTexts(schema, next);
    sets += (sets.empty() ? "" : ", ") + nextVersion();
    return "UPDATE " + schema.qualifiedTable() + " SET " + sets + " WHERE " + rowId() + " = $" +
           std::to_string(next);
}

}  // namespace storage::postgres
