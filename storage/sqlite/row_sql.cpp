#include "storage/sqlite/row_sql.h"

#include "storage/field_codec.h"
#include "storage/sqlite/keyset_sql.h"

namespace storage::sqlite {

namespace {

using Role = ColumnDef::Role;

std::string rowId() { return sqlName(kRowIdColumn); }
std::string version() { return sqlName(kVersionColumn); }
// A pending row keeps its last version negated (see schema.h), so the version it
// gets next is beyond every one a station may have read.
std::string nextVersion() {
    return version() + " = abs(coalesce(" + version() + ", 0)) + 1";
}

std::string keyEquals(const TableSchema& schema, int key) {
    std::string out;
    for (const std::string& column : schema.indexes().at(static_cast<std::size_t>(key)).columns)
        out += (out.empty() ? "" : " AND ") + column + " = ?";
    return out;
}

std::string indexedBy(const TableSchema& schema, int key) {
    return " INDEXED BY " + sqlName(schema.indexes().at(static_cast<std::size_t>(key)).name);
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
    for (const ColumnDef& c : schema.columns()) {
        if (c.role != Role::Field && c.role != Role::KeyText) continue;
        columns += ", " + sqlName(c.name);
        values += ", ?";
    }
    return "INSERT INTO " + schema.quotedTable() + " (" + columns + ") VALUES (" + values + ")";
}

std::string updateSql(const TableSchema& schema, bool watched) {
    std::string sql = "UPDATE " + schema.quotedTable() + " SET ";
    for (const ColumnDef& c : schema.columns())
        if (c.role == Role::Field || c.role == Role::KeyText) sql += sqlName(c.name) + " = ?, ";
    sql += nextVersion() + " WHERE " + rowId() + " = ?";
    if (watched) sql += " AND coalesce(" + version() + ", 0) = ?";
    return sql;
}

std::string fetchSql(const TableSchema& schema) {
    return "SELECT " + schema.rowColumns() + " FROM " + schema.quotedTable() + " WHERE " + rowId() +
           " = ?";
}

std::string versionSql(const TableSchema& schema) {
    return "SELECT coalesce(" + version() + ", 0) FROM " + schema.quotedTable() + " WHERE " +
           rowId() + " = ?";
}

std::string eraseSql(const TableSchema& schema) {
    return "DELETE FROM " + schema.quotedTable() + " WHERE " + rowId() + " = ?";
}

std::string findEqualSql(const TableSchema& schema, int key) {
    return "SELECT " + schema.rowColumns() + " FROM " + schema.quotedTable() +
           indexedBy(schema, key) + " WHERE " + keyEquals(schema, key) + " ORDER BY " +
           orderBy(schema, key, Direction::Forward) + " LIMIT 1";
}

std::string existsSql(const TableSchema& schema, int key) {
    return "SELECT 1 FROM " + schema.quotedTable() + indexedBy(schema, key) + " WHERE " +
           keyEquals(schema, key) + " AND " + rowId() + " <> ? LIMIT 1";
}

std::string pendingRowsSql(const TableSchema& schema) {
    return "SELECT " + schema.rowColumns() + keyTextColumns(schema) + " FROM " +
           schema.quotedTable() + " INDEXED BY " + sqlName(schema.pendingIndexName()) + " WHERE " +
           version() + " IS NULL OR " + version() + " < 0";
}

std::string anyPendingRowSql(const TableSchema& schema) {
    return "SELECT 1 FROM " + schema.quotedTable() + " INDEXED BY " + sqlName(schema.pendingIndexName()) +
           " WHERE " + version() + " IS NULL OR " + version() + " < 0 LIMIT 1";
}

std::string allRowsSql(const TableSchema& schema) {
    return "SELECT " + schema.rowColumns() + keyTextColumns(schema) + " FROM " +
           schema.quotedTable() + " ORDER BY " + rowId();
}

std::string setKeyTextsSql(const TableSchema& schema) {
    std::string sql = "UPDATE " + schema.quotedTable() + " SET ";
    for (const ColumnDef& c : schema.columns())
        if (c.role == Role::KeyText) sql += sqlName(c.name) + " = ?, ";
    return sql + nextVersion() + " WHERE " + rowId() + " = ?";
}

}  // namespace storage::sqlite
