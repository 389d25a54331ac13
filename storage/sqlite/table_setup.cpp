#include "storage/sqlite/table_setup.h"

#include "storage/sqlite/covering_index.h"

namespace storage::sqlite {

ErrorState createKeys(Connection& connection, const TableSchema& schema) {
    for (const IndexDef& index : schema.indexes())
        if (ErrorState e = connection.exec(index.sql, "creating key " + index.name)) return e;
    if (ErrorState e = connection.exec(schema.pendingIndexSql(), "creating the pending-row index"))
        return e;
    return connection.exec(schema.triggerSql(), "creating the change trigger");
}

ErrorState dropKeys(Connection& connection, const TableSchema& schema) {
    for (const std::string& name : coveringIndexNames(connection.get(), schema))
        if (ErrorState e = connection.exec("DROP INDEX IF EXISTS " + sqlName(name), "dropping list index " + name))
            return e;
    for (const IndexDef& index : schema.indexes())
        if (ErrorState e = connection.exec("DROP INDEX IF EXISTS " + sqlName(index.name),
                                           "dropping key " + index.name))
            return e;
    if (ErrorState e =
            connection.exec("DROP INDEX IF EXISTS " + sqlName(schema.pendingIndexName())))
        return e;
    return connection.exec("DROP TRIGGER IF EXISTS " + sqlName(schema.triggerName()));
}

ErrorState createTable(Connection& connection, const TableSchema& schema, bool keepExisting) {
    if (ErrorState e = connection.exec("BEGIN IMMEDIATE", "creating " + schema.table())) return e;
    if (keepExisting) {
        // Under the write lock: a station that created the table first wins.
        sqlite3_stmt* probe = nullptr;
        const std::string sql = "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ?1";
        bool exists = false;
        if (sqlite3_prepare_v2(connection.get(), sql.c_str(), -1, &probe, nullptr) == SQLITE_OK) {
            sqlite3_bind_text(probe, 1, schema.table().c_str(), -1, SQLITE_TRANSIENT);
            exists = sqlite3_step(probe) == SQLITE_ROW;
        }
        sqlite3_finalize(probe);
        if (exists) return connection.exec("COMMIT", "creating " + schema.table());
    }
    ErrorState e = connection.exec("DROP TABLE IF EXISTS " + schema.quotedTable(),
                                   "creating " + schema.table());
    if (!e) e = connection.exec(schema.tableSql(), "creating " + schema.table());
    if (!e) e = createKeys(connection, schema);
    if (!e) e = connection.exec("COMMIT", "creating " + schema.table());
    if (e) connection.exec("ROLLBACK");
    return e;
}

}  // namespace storage::sqlite
