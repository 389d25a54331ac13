#include "storage/postgres/table_setup.h"

#include "storage/field_codec.h"
#include "storage/postgres/owner_password.h"
#include "storage/postgres/row_codec.h"
#include "storage/postgres/row_sql.h"

namespace storage::postgres {

namespace {

// Runs `work` in a transaction of its own, or inside the session's transaction
// when one is in progress (then the caller's commit or rollback decides).
template <typename Work>
ErrorState inTransaction(Session& session, const std::string& doing, Work&& work) {
    const bool own = !session.inTransaction();
    if (own)
        if (ErrorState e = session.begin()) return e;
    ErrorState e = work();
    if (own) {
        if (e)
            session.rollback();
        else
            e = session.commit();
    }
    if (e && e.driverText.rfind(doing, 0) != 0) e.driverText = doing + ": " + e.driverText;
    return e;
}

ErrorState schemaExists(Session& session, const TableSchema& schema) {
    Rows rows;
    if (ErrorState e = session.run("SELECT 1 FROM pg_namespace WHERE nspname = $1",
                                   {textParam(schema.schema())}, &rows, "creating"))
        return e;
    if (rows.count() == 0)
        return driverFailure(0, "Schema " + schema.schema() + " not found on the database server " +
                                    session.server().display());
    return success();
}

ErrorState lockAgainstWriters(Session& session, const TableSchema& schema) {
    return session.command("LOCK TABLE " + schema.qualifiedTable() + " IN SHARE ROW EXCLUSIVE MODE",
                           "locking " + schema.table());
}

}  // namespace

ErrorState tableExists(Session& session, const TableSchema& schema, bool& exists) {
    Rows rows;
    if (ErrorState e = session.run("SELECT 1 FROM pg_tables WHERE schemaname = $1 AND tablename = $2",
                                   {textParam(schema.schema()), textParam(schema.table())}, &rows,
                                   "creating"))
        return e;
    exists = rows.count() > 0;
    return success();
}

ErrorState createTable(Session& session, const TableSchema& schema, std::string_view password,
                       int waitMs, bool keepExisting) {
    if (!schema.nameClash().empty())
        return failure(error::kInvalidDeclaration, 0, schema.nameClash());
    if (ErrorState e = schemaExists(session, schema)) return e;
    bool exists = false;
    if (keepExisting) {
        if (ErrorState e = tableExists(session, schema, exists)) return e;
        if (exists) return success();
    }
    if (ErrorState e = session.setLockWait(waitMs)) return e;
    const std::int64_t key = fileLockKey(schema.schema(), schema.table());
    if (ErrorState e = session.holdForReplacing(key, waitMs)) return e;
    ErrorState e = inTransaction(session, "creating " + schema.table(), [&]() -> ErrorState {
        if (keepExisting) {
            // Checked again while holding the file: the first station's table stays.
            if (ErrorState e = tableExists(session, schema, exists)) return e;
            if (exists) return success();
        }
        if (ErrorState e = session.command("DROP TABLE IF EXISTS " + schema.qualifiedTable(), {}))
            return e;
        if (ErrorState e = session.command(schema.createTableSql(), {})) return e;
        for (const std::string& sql : schema.createKeysSql())
            if (ErrorState e = session.command(sql, {})) return e;
        return recordOwner(session, schema, password);
    });
    session.releaseAfterReplacing(key);
    return e;
}

ErrorState completePendingRows(Session& session, const TableSchema& schema, Record& scratch) {
    Rows rows;
    if (ErrorState e = session.run(pendingRowsSql(schema), {}, &rows, "opening")) return e;
    const std::string complete = completeRowSql(schema);
    for (int r = 0; r < rows.count(); ++r) {
        StoredRow row;
        readRow(rows, r, scratch, row);
        Params params;
        appendKeyTexts(params, scratch, schema);
        params.push_back(integerParam(row.rowId));
        ErrorState e = session.write(complete, params, nullptr, "completing rows");
        if (e && e.code != error::kDuplicateKey) return e;
    }
    return success();
}

ErrorState rebuildKeys(Session& session, const TableSchema& schema, Record& scratch) {
    return inTransaction(session, "rebuilding the keys of " + schema.table(), [&]() -> ErrorState {
        if (ErrorState e = lockAgainstWriters(session, schema)) return e;
        for (const std::string& sql : schema.dropKeysSql())
            if (ErrorState e = session.command(sql, {})) return e;

        const std::string select = rowsAfterSql(schema), update = setKeyTextsSql(schema);
        const int firstKeyText =
            TableSchema::kFirstFieldColumn + static_cast<int>(schema.layout().fields().size());
        constexpr std::int64_t kBatch = 5000;
        std::int64_t after = 0;
        for (;;) {
            Rows rows;
            if (ErrorState e =
                    session.run(select, {integerParam(after), integerParam(kBatch)}, &rows, {}))
                return e;
            for (int r = 0; r < rows.count(); ++r) {
                StoredRow row;
                readRow(rows, r, scratch, row);
                after = row.rowId;
                bool stale = rows.isNull(r, 1) || rows.integer(r, 1) < 0;
                int column = firstKeyText;
                for (std::size_t field : schema.keyTextFields()) {
                    if (rows.isNull(r, column) ||
                        rows.bytes(r, column) != keyTextOf(scratch, field))
                        stale = true;
                    ++column;
                }
                if (!stale) continue;
                Params params;
                appendKeyTexts(params, scratch, schema);
                params.push_back(integerParam(row.rowId));
                if (ErrorState e = session.run(update, params, nullptr, {})) return e;
            }
            if (rows.count() < kBatch) break;
        }
        for (const std::string& sql : schema.createKeysSql())
            if (ErrorState e = session.command(sql, {})) return e;
        return success();
    });
}

}  // namespace storage::postgres
