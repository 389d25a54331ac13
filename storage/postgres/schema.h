// The table of a data file on the server, generated from its record layout. Names
// are lower case, as SQL folds unquoted names, so tools can write
// "SELECT obozn FROM valut" without quotes; every name is still quoted in the
// engine's statements.
//
//   "row_id"      bigserial primary key: the file position; never reused, so ties
//                 of non-unique keys come in the order the records were added
//   "row_version" bigint: the watch; NULL marks a row inserted by another tool,
//                 a negative version one it rewrote (the last version negated);
//                 both are found through "<table>_pending" and completed, with a
//                 version beyond any that was read, when a station opens the file
//                 for writing
//   one column per field, in layout order: smallint (BYTE, SHORT), integer (USHORT,
//                 LONG), bigint (ULONG), double precision (REAL), numeric(13,2)
//                 (DECIMAL), character varying(n) (STRING(n), and CSTRING(n) with n-1)
//   "upper_<field>" bytea per text field that is a key component: the upper-cased
//                 code page 1251 bytes without trailing blanks; bytea compares
//                 byte by byte, so the index order is the key order whatever the
//                 database's collation
// A unique key is a unique index on its columns; any other key an index on its
// columns and the row id, so ties are ordered and a position inside a run of ties
// is one row-value comparison. A trigger negates "row_version" when another tool
// rewrites a row without moving it (or empties it), so watches see the change.
#pragma once

#include "storage/field_codec.h"

#include "storage/record_layout.h"

#include <string>
#include <string_view>
#include <vector>

namespace storage::postgres {

using storage::sqlName;  // "name" with inner quotes doubled
// Names longer than the server keeps (63 bytes) are cut here, as the server would.
std::string serverName(std::string_view name);

struct ColumnDef {
    enum class Role : unsigned char { RowId, Version, Field, KeyText };
    std::string name;
    std::string type;  // as format_type() shows it
    Role role;
    std::size_t field = 0;  // Field and KeyText
};

struct IndexDef {
    std::string name;
    std::vector<std::string> columns;  // unquoted, in index order (row_id last for non-unique)
    std::size_t keyColumns = 0;        // the key's own columns at the front
    bool unique = false;
    std::string sql;  // CREATE INDEX
};

class TableSchema {
public:
    TableSchema(const RecordLayout& layout, std::string schema, std::string table);

    const RecordLayout& layout() const { return *layout_; }
    const std::string& schema() const { return schema_; }
    const std::string& table() const { return table_; }
    const std::string& qualifiedTable() const { return qualified_; }  // "schema"."table"
    std::string qualified(std::string_view name) const;               // an object of the schema

    const std::vector<ColumnDef>& columns() const { return columns_; }
    const std::vector<std::size_t>& keyTextFields() const { return keyTextFields_; }
    const std::vector<IndexDef>& indexes() const { return indexes_; }  // one per key
    const std::string& pendingIndexName() const { return pendingIndexName_; }
    const std::string& triggerName() const { return triggerName_; }
    const std::string& functionName() const { return functionName_; }
    const std::string& nameClash() const { return nameClash_; }

    // The select list of a stored row: row id, version, the field columns.
    const std::string& rowColumns() const { return rowColumns_; }
    static constexpr int kFirstFieldColumn = 2;

    // Statements that create the table, and those that create its keys.
    std::string createTableSql() const;
    std::vector<std::string> createKeysSql() const;
    std::vector<std::string> dropKeysSql() const;

private:
    const RecordLayout* layout_;
    std::string schema_, table_, qualified_;
    std::vector<ColumnDef> columns_;
    std::vector<std::size_t> keyTextFields_;
    std::vector<IndexDef> indexes_;
    std::string pendingIndexName_, triggerName_, functionName_;
    std::string nameClash_;
    std::string rowColumns_;
};

}  // namespace storage::postgres
