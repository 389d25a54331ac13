#include "storage/postgres/schema_check.h"

#include "storage/field_codec.h"
#include "storage/postgres/pg_errors.h"

#include <map>

namespace storage::postgres {

namespace {

ErrorState mismatch(const TableSchema& schema, const std::string& what) {
    return failure(error::kInvalidDeclaration, 0,
                   "Table " + schema.schema() + "." + schema.table() +
                       " does not match its record layout: " + what);
}

ErrorState damagedKey(const TableSchema& schema, const std::string& name, const std::string& what) {
    return failure(error::kKeyFileInvalid, 0,
                   "Key " + name + " of " + schema.schema() + "." + schema.table() + " " + what);
}

struct StoredIndex {
    bool unique = false, primary = false, usable = false, btree = false, plain = false;
    std::string predicate, columns;
};

std::string joined(const std::vector<std::string>& columns) {
    std::string out;
    for (const std::string& c : columns) out += (out.empty() ? "" : ",") + c;
    return out;
}

}  // namespace

ErrorState findTable(Session& session, const TableSchema& schema, StoredTable& table) {
    Rows rows;
    if (ErrorState e = session.run(
            "SELECT c.oid, has_table_privilege(c.oid, 'SELECT'), EXISTS (SELECT 1 FROM pg_class o "
            "WHERE o.relnamespace = n.oid AND o.relname = 'tarvo_owners') FROM pg_namespace n "
            "LEFT JOIN pg_class c ON c.relnamespace = n.oid AND c.relname = $2 AND c.relkind IN "
            "('r', 'p') WHERE n.nspname = $1",
            {textParam(schema.schema()), textParam(schema.table())}, &rows, "opening"))
        return e;
    const std::string where = " on the database server " + session.server().display();
    if (rows.count() == 0)
        return failure(error::kFileNotFound, 0, "Schema " + schema.schema() + " not found" + where);
    if (rows.isNull(0, 0))
        return failure(error::kFileNotFound, 0,
                       "No table " + schema.schema() + "." + schema.table() + where);
    if (!rows.boolean(0, 1))
        return driverFailure(sqlstateCode("42501"),
                             "Permission denied for table " + schema.schema() + "." +
                                 schema.table() + where + " to role " +
                                 (session.server().user.empty() ? std::string("of this station")
                                                                : session.server().user));
    table.oid = std::string(rows.text(0, 0));
    table.ownersTableExists = rows.boolean(0, 2);
    return success();
}

ErrorState checkColumns(Session& session, const TableSchema& schema, const StoredTable& table) {
    if (!schema.nameClash().empty()) return mismatch(schema, schema.nameClash());
    Rows rows;
    if (ErrorState e = session.run(
            "SELECT a.attname, format_type(a.atttypid, a.atttypmod), EXISTS (SELECT 1 FROM "
            "pg_index x WHERE x.indrelid = a.attrelid AND x.indisprimary AND x.indnatts = 1 AND "
            "x.indkey[0] = a.attnum) FROM pg_attribute a WHERE a.attrelid = $1 AND a.attnum > 0 "
            "AND NOT a.attisdropped",
            {textParam(table.oid)}, &rows, "opening"))
        return e;
    struct Stored {
        std::string type;
        bool primaryKey;
    };
    std::map<std::string, Stored> stored;
    for (int r = 0; r < rows.count(); ++r)
        stored[std::string(rows.text(r, 0))] = {std::string(rows.text(r, 1)), rows.boolean(r, 2)};
    for (const ColumnDef& column : schema.columns()) {
        auto it = stored.find(column.name);
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

ErrorState checkKeys(Session& session, const TableSchema& schema, const StoredTable& table) {
    Rows rows;
    if (ErrorState e = session.run(
            "SELECT ic.relname, x.indisunique, x.indisprimary, x.indisvalid AND x.indisready AND "
            "x.indislive, am.amname = 'btree', x.indexprs IS NULL, "
            "coalesce(pg_get_expr(x.indpred, x.indrelid), ''), array_to_string(ARRAY(SELECT "
            "a.attname FROM unnest(x.indkey::int2[]) WITH ORDINALITY AS k(attnum, ord) JOIN "
            "pg_attribute a ON a.attrelid = x.indrelid AND a.attnum = k.attnum ORDER BY k.ord), "
            "',') FROM pg_index x JOIN pg_class ic ON ic.oid = x.indexrelid JOIN pg_am am ON "
            "am.oid = ic.relam WHERE x.indrelid = $1",
            {textParam(table.oid)}, &rows, "opening"))
        return e;
    std::map<std::string, StoredIndex> indexes;
    for (int r = 0; r < rows.count(); ++r) {
        StoredIndex& i = indexes[std::string(rows.text(r, 0))];
        i.unique = rows.boolean(r, 1);
        i.primary = rows.boolean(r, 2);
        i.usable = rows.boolean(r, 3);
        i.btree = rows.boolean(r, 4);
        i.plain = rows.boolean(r, 5);
        i.predicate = std::string(rows.text(r, 6));
        i.columns = std::string(rows.text(r, 7));
    }
    auto expect = [&](const std::string& name, const std::string& columns, bool unique,
                      bool partial) -> ErrorState {
        auto it = indexes.find(name);
        if (it == indexes.end()) return damagedKey(schema, name, "is missing");
        const StoredIndex& i = it->second;
        if (!i.usable) return damagedKey(schema, name, "is not usable");
        if (i.columns != columns || i.unique != unique || !i.btree || !i.plain ||
            i.predicate.empty() == partial)
            return damagedKey(schema, name, "is declared differently");
        return success();
    };
    for (const IndexDef& index : schema.indexes())
        if (ErrorState e = expect(index.name, joined(index.columns), index.unique, false)) return e;
    if (ErrorState e = expect(schema.pendingIndexName(), std::string(kVersionColumn), false, true))
        return e;

    if (ErrorState e = session.run(
            "SELECT t.tgenabled <> 'D' AND t.tgtype = 19 AND p.proname = $2 AND pn.nspname = $3 "
            "FROM pg_trigger t JOIN pg_proc p ON p.oid = t.tgfoid JOIN pg_namespace pn ON pn.oid = "
            "p.pronamespace WHERE t.tgrelid = $1 AND t.tgname = $4 AND NOT t.tgisinternal",
            {textParam(table.oid), textParam(schema.functionName()), textParam(schema.schema()),
             textParam(schema.triggerName())},
            &rows, "opening"))
        return e;
    if (rows.count() == 0) return damagedKey(schema, schema.triggerName(), "is missing");
    if (!rows.boolean(0, 0))
        return damagedKey(schema, schema.triggerName(), "is declared differently or disabled");
    return success();
}

}  // namespace storage::postgres
