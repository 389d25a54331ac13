#include "storage/sqlite/key_repair.h"

#include "storage/field_codec.h"
#include "storage/sqlite/covering_index.h"
#include "storage/sqlite/row_codec.h"
#include "storage/sqlite/row_sql.h"
#include "storage/sqlite/sqlite_errors.h"
#include "storage/sqlite/statement_cache.h"
#include "storage/sqlite/table_setup.h"

#include <cstring>
#include <vector>

namespace storage::sqlite {

namespace {

struct KeyTexts {
    std::int64_t rowId;
    std::vector<std::string> texts;
};

std::vector<std::string> computeKeyTexts(const TableSchema& schema, const Record& record) {
    std::vector<std::string> texts;
    for (std::size_t field : schema.keyTextFields()) texts.push_back(keyTextOf(record, field));
    return texts;
}

// Reads rows selected with rowColumns() followed by their key texts and collects
// those whose key texts differ from the computed ones (all rows when `all`).
ErrorState collect(sqlite3* db, const std::string& sql, const TableSchema& schema, Record& scratch,
                   bool all, std::vector<KeyTexts>& out) {
    OneOffStatement statement;
    int rc = statement.prepare(db, sql);
    if (rc != SQLITE_OK) return errorFrom(db, rc, "reading rows");
    sqlite3_stmt* raw = statement.get();
    const int firstKeyText =
        TableSchema::kFirstFieldColumn + static_cast<int>(schema.layout().fields().size());
    while ((rc = sqlite3_step(raw)) == SQLITE_ROW) {
        readFields(raw, TableSchema::kFirstFieldColumn, scratch);
        KeyTexts row{sqlite3_column_int64(raw, 0), computeKeyTexts(schema, scratch)};
        bool differs = all || sqlite3_column_type(raw, 1) == SQLITE_NULL ||
                       sqlite3_column_int64(raw, 1) < 0;
        for (std::size_t i = 0; i < row.texts.size() && !differs; ++i) {
            const int column = firstKeyText + static_cast<int>(i);
            const std::string& want = row.texts[i];
            differs = sqlite3_column_type(raw, column) != SQLITE_BLOB ||
                      static_cast<std::size_t>(sqlite3_column_bytes(raw, column)) != want.size() ||
                      std::memcmp(sqlite3_column_blob(raw, column), want.data(), want.size()) != 0;
        }
        if (differs) out.push_back(std::move(row));
    }
    if (rc != SQLITE_DONE) return errorFrom(db, rc, "reading rows");
    return success();
}

// Writes key texts; a unique violation skips the row when `skipDuplicates`.
ErrorState store(sqlite3* db, const TableSchema& schema, const std::vector<KeyTexts>& rows,
                 bool skipDuplicates) {
    if (rows.empty()) return success();
    OneOffStatement statement;
    int rc = statement.prepare(db, setKeyTextsSql(schema));
    if (rc != SQLITE_OK) return errorFrom(db, rc, "writing key columns");
    sqlite3_stmt* raw = statement.get();
    ErrorState result;
    for (const KeyTexts& row : rows) {
        int index = 1;
        for (const std::string& text : row.texts)
            sqlite3_bind_blob(raw, index++, text.empty() ? "" : text.data(),
                              static_cast<int>(text.size()), SQLITE_TRANSIENT);
        sqlite3_bind_int64(raw, index, row.rowId);
        rc = sqlite3_step(raw);
        sqlite3_reset(raw);
        if (rc == SQLITE_DONE) continue;
        ErrorState e = errorFrom(db, rc, "writing key columns");
        if (skipDuplicates && e.code == error::kDuplicateKey) continue;
        result = e;
        break;
    }
    return result;
}

ErrorState rebuildOnce(Connection& connection, const TableSchema& schema, Record& scratch) {
    if (ErrorState e = connection.exec("BEGIN IMMEDIATE", "rebuilding keys")) return e;
    std::vector<KeyTexts> rows;
    ErrorState e = dropKeys(connection, schema);
    if (!e) e = collect(connection.get(), allRowsSql(schema), schema, scratch, false, rows);
    if (!e) e = store(connection.get(), schema, rows, false);
    if (!e) e = createKeys(connection, schema);
    if (!e) e = connection.exec("COMMIT", "rebuilding keys");
    if (e) connection.exec("ROLLBACK");
    return e;
}

// Removes the key indexes from the schema without reading their pages (dropping
// an index walks its pages, which fails on a damaged one). Their pages are left
// unreferenced until the file is rewritten.
ErrorState forgetKeys(Connection& connection, const TableSchema& schema) {
    if (ErrorState e = connection.exec("BEGIN IMMEDIATE", "rebuilding keys")) return e;
    std::string names;
    for (const IndexDef& index : schema.indexes())
        names += (names.empty() ? "'" : ", '") + index.name + "'";
    names += ", '" + schema.pendingIndexName() + "'";
    for (const std::string& covering : coveringIndexNames(connection.get(), schema))
        names += ", '" + covering + "'";
    const std::string version = [&] {
        OneOffStatement statement;
        if (statement.prepare(connection.get(), "PRAGMA schema_version") != SQLITE_OK ||
            sqlite3_step(statement.get()) != SQLITE_ROW)
            return std::string();
        return std::to_string(sqlite3_column_int64(statement.get(), 0) + 1);
    }();
    ErrorState e = version.empty() ? driverFailure(0, "cannot read the schema version") : success();
    if (!e) e = connection.exec("PRAGMA writable_schema = ON");
    if (!e)
        e = connection.exec(
            "DELETE FROM sqlite_master WHERE type = 'index' AND name IN (" + names + ")",
            "removing damaged keys");
    if (!e) e = connection.exec("PRAGMA schema_version = " + version);
    connection.exec("PRAGMA writable_schema = OFF");
    if (!e) e = connection.exec("COMMIT", "removing damaged keys");
    if (e) connection.exec("ROLLBACK");
    return e;
}

}  // namespace

ErrorState completePendingRows(Connection& connection, const TableSchema& schema, Record& scratch) {
    std::vector<KeyTexts> rows;
    if (ErrorState e =
            collect(connection.get(), pendingRowsSql(schema), schema, scratch, true, rows))
        return e;
    if (rows.empty()) return success();
    if (ErrorState e = connection.exec("BEGIN IMMEDIATE", "completing rows")) return e;
    // Read again inside the write transaction: another station may have done it.
    rows.clear();
    ErrorState e = collect(connection.get(), pendingRowsSql(schema), schema, scratch, true, rows);
    if (!e) e = store(connection.get(), schema, rows, true);
    if (!e) e = connection.exec("COMMIT", "completing rows");
    if (e) connection.exec("ROLLBACK");
    return e;
}

ErrorState rebuildKeys(Connection& connection, const TableSchema& schema, Record& scratch) {
    ErrorState e = rebuildOnce(connection, schema, scratch);
    if (e.code != error::kKeyFileInvalid) return e;
    // A damaged page: forget the keys, rewrite the file from the table rows (which
    // also returns the pages of the forgotten keys), and build the keys anew.
    if (ErrorState f = forgetKeys(connection, schema)) return f;
    if (ErrorState v = connection.exec("VACUUM", "rewriting the damaged file")) return v;
    return rebuildOnce(connection, schema, scratch);
}

}  // namespace storage::sqlite
