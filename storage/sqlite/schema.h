// The table of a data file, generated from its record layout: the statements that
// create it and the names, types and roles of its columns and indexes. Nothing is
// written by hand per file.
//
//   "row_id"      INTEGER PRIMARY KEY AUTOINCREMENT: the file position; never
//                 reused, so ties of non-unique keys come in insertion order
//   "row_version" INTEGER: the watch; NULL marks a row inserted by another tool,
//                 a negative version one it rewrote (the last version negated);
//                 both are found through the "<label>_pending" index and completed
//                 on open with a version beyond any that was read
//   one column per field, in layout order: INTEGER (integer types, DECIMAL as
//                 hundredths), REAL, TEXT (UTF-8 without trailing blanks)
//   "upper_<FIELD>" BLOB per text field that is a key component: the upper-cased
//                 code page 1251 bytes without trailing blanks, so byte order is
//                 key order
// Each key is an index on its columns (the upper column for text), unique for a
// unique key; SQLite ends every index entry with the row id, which breaks ties of
// non-unique keys. A trigger negates "row_version" when another tool rewrites a row
// without moving it (or empties it), so watches see the change and the row is
// completed later.
#pragma once

#include "storage/field_codec.h"

#include "storage/record_layout.h"

#include <string>
#include <string_view>
#include <vector>

namespace storage::sqlite {

using storage::sqlName;  // "name" with inner quotes doubled

struct ColumnDef {
    enum class Role : unsigned char { RowId, Version, Field, KeyText };
    std::string name;
    std::string type;  // INTEGER, REAL, TEXT, BLOB
    Role role;
    std::size_t field = 0;  // Field and KeyText
};

struct IndexDef {
    std::string name;
    std::vector<std::string> columns;  // key order, quoted
    bool unique = false;
    std::string sql;  // the CREATE INDEX statement, as stored in sqlite_master
};

class TableSchema {
public:
    explicit TableSchema(const RecordLayout& layout);

    const RecordLayout& layout() const { return *layout_; }
    const std::string& table() const { return table_; }
    const std::string& quotedTable() const { return quotedTable_; }
    const std::vector<ColumnDef>& columns() const { return columns_; }
    // Fields with an upper column, in column order.
    const std::vector<std::size_t>& keyTextFields() const { return keyTextFields_; }
    const std::vector<IndexDef>& indexes() const { return indexes_; }  // one per key, layout order
    const std::string& pendingIndexName() const { return pendingIndexName_; }
    const std::string& pendingIndexSql() const { return pendingIndexSql_; }
    const std::string& triggerName() const { return triggerName_; }
    const std::string& triggerSql() const { return triggerSql_; }
    const std::string& tableSql() const { return tableSql_; }
    // Empty when every column name is distinct; else names the clash.
    const std::string& nameClash() const { return nameClash_; }

    // The select list of a whole stored row: row id, version, the field columns.
    const std::string& rowColumns() const { return rowColumns_; }
    static constexpr int kFirstFieldColumn = 2;

private:
    const RecordLayout* layout_;
    std::string table_, quotedTable_;
    std::vector<ColumnDef> columns_;
    std::vector<std::size_t> keyTextFields_;
    std::vector<IndexDef> indexes_;
    std::string pendingIndexName_, pendingIndexSql_, triggerName_, triggerSql_, tableSql_;
    std::string nameClash_;
    std::string rowColumns_;
};

}  // namespace storage::sqlite
