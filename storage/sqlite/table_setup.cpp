#include "storage/sqlite/table_setup.h"

namespace storage::sqlite {

ErrorState createKeys(Connection& connection, const TableSchema& schema) {
    for (const IndexDef& index : schema.indexes())
        if (ErrorState e = connection.exec(index.sql, "creating key " + index.name)) return e;
    if (ErrorState e = connection.exec(schema.pendingIndexSql(), "creating the pending-row index"))
        return e;
    return connection.exec(schema.triggerSql(), "creating the change trigger");
}

ErrorState dropKeys(Connection& connection, const TableSchema& schema) {
    for (const IndexDef& index : schema.indexes())
        if (ErrorState e = connection.exec("DROP INDEX IF EXISTS " + sqlName(index.name),
                                           "dropping key " + index.name))
            return e;
    if (ErrorState e =
            connection.exec("DROP INDEX IF EXISTS " + sqlName(schema.pendingIndexName())))
        return e;
    return connection.exec("DROP TRIGGER IF EXISTS " + sqlName(schema.triggerName()));
}

ErrorState createTable(Connection& connection, const TableSchema& schema) {
    if (ErrorState e = connection.exec("BEGIN IMMEDIATE", "creating " + schema.table())) return e;
    ErrorState e = connection.exec("DROP TABLE IF EXISTS " + schema.quotedTable(),
                                   "creating " + schema.table());
    if (!e) e = connection.exec(schema.tableSql(), "creating " + schema.table());
    if (!e) e = createKeys(connection, schema);
    if (!e) e = connection.exec("COMMIT", "creating " + schema.table());
    if (e) connection.exec("ROLLBACK");
    return e;
}

}  // namespace storage::sqlite
