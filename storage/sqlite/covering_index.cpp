#include "storage/sqlite/covering_index.h"

#include "storage/field_codec.h"
#include "storage/sqlite/statement_cache.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

namespace storage::sqlite {

namespace {

constexpr std::size_t kWideRecord = 512;

std::uint32_t fnv1a(const std::string& text) {
    std::uint32_t hash = 2166136261u;
    for (unsigned char c : text) {
        hash ^= c;
        hash *= 16777619u;
    }
    return hash;
}

std::string text(sqlite3_stmt* statement, int column) {
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
    return p ? p : "";
}

}  // namespace

bool worthCovering(const RecordLayout& layout, const FieldSet& fields) {
    std::size_t record = 0, read = 0;
    for (const FieldDef& field : layout.fields()) record += field.size;
    for (std::size_t f : fields) read += layout.fields().at(f).size;
    return record >= kWideRecord && read * 4 <= record;
}

CoveringIndex coveringIndex(const TableSchema& schema, int key, const FieldSet& fields) {
    const IndexDef& keyIndex = schema.indexes().at(static_cast<std::size_t>(key));
    std::vector<std::string> columns = keyIndex.columns;
    columns.push_back(sqlName(kRowIdColumn));
    for (std::size_t f : fields) {
        const std::string column = sqlName(columnName(schema.layout(), f));
        if (std::find(columns.begin(), columns.end(), column) == columns.end())
            columns.push_back(column);
    }
    std::string list;
    for (const std::string& column : columns) list += (list.empty() ? "" : ", ") + column;
    char hash[9];
    std::snprintf(hash, sizeof hash, "%08x", static_cast<unsigned>(fnv1a(list)));
    CoveringIndex index;
    index.name = keyIndex.name + "_cover_" + hash;
    index.sql = "CREATE INDEX " + sqlName(index.name) + " ON " + schema.quotedTable() + " (" + list + ")";
    return index;
}

bool useCoveringIndex(Connection& connection, const CoveringIndex& index, bool mayAdd, int waitMs) {
    sqlite3* db = connection.get();
    OneOffStatement find;
    if (find.prepare(db, "SELECT sql FROM sqlite_master WHERE type = 'index' AND name = ?1") != SQLITE_OK)
        return false;
    sqlite3_bind_text(find.get(), 1, index.name.c_str(), -1, SQLITE_TRANSIENT);
    const int rc = sqlite3_step(find.get());
    if (rc == SQLITE_ROW) return text(find.get(), 0) == index.sql;
    if (rc != SQLITE_DONE || !mayAdd || sqlite3_get_autocommit(db) == 0) return false;
    find.prepare(db, "SELECT 1");  // ends the read of the schema before writing

    // Another station may add the same index meanwhile: IF NOT EXISTS, then the
    // definition is checked again.
    setBusyWait(db, waitMs);
    ErrorState e = connection.exec("BEGIN IMMEDIATE", "adding a list index");
    const std::string plain = "CREATE INDEX ";
    if (!e) e = connection.exec(plain + "IF NOT EXISTS " + index.sql.substr(plain.size()),
                                "adding a list index");
    if (!e) e = connection.exec("COMMIT", "adding a list index");
    if (e) connection.exec("ROLLBACK");
    return !e && useCoveringIndex(connection, index, false, waitMs);
}

std::vector<std::string> coveringIndexNames(sqlite3* db, const TableSchema& schema) {
    std::vector<std::string> names;
    OneOffStatement list;
    if (list.prepare(db, "SELECT name FROM sqlite_master WHERE type = 'index' AND tbl_name = ?1 "
                         "COLLATE NOCASE AND name LIKE '%\\_cover\\_%' ESCAPE '\\'") != SQLITE_OK)
        return names;
    sqlite3_bind_text(list.get(), 1, schema.table().c_str(), -1, SQLITE_TRANSIENT);
    while (sqlite3_step(list.get()) == SQLITE_ROW) names.push_back(text(list.get(), 0));
    return names;
}

}  // namespace storage::sqlite
