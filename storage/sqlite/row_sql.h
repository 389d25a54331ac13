// The single-record statements of a table: insert, rewrite, fetch by row id,
// delete, look-up by key value, the duplicate test, and the completion of rows
// that another tool wrote.
#pragma once

#include "storage/sqlite/schema.h"

#include <string>

namespace storage::sqlite {

// Parameters: the fields in layout order, then the key texts.
std::string insertSql(const TableSchema& schema);
// Parameters: fields, key texts, row id, and with `watched` the version expected.
std::string updateSql(const TableSchema& schema, bool watched);
std::string fetchSql(const TableSchema& schema);               // row id
std::string versionSql(const TableSchema& schema);             // row id -> version
std::string eraseSql(const TableSchema& schema);               // row id
std::string findEqualSql(const TableSchema& schema, int key);  // key parts
std::string existsSql(const TableSchema& schema, int key);     // key parts, row id to skip
// Rows whose version is NULL (written by another tool), with their key texts.
std::string pendingRowsSql(const TableSchema& schema);
// One row of them, when there is any: whether an opening has rows to complete.
std::string anyPendingRowSql(const TableSchema& schema);
// Every row in row id order with its key texts (for rebuilding the keys).
std::string allRowsSql(const TableSchema& schema);
// Parameters: key texts, row id. Sets the key texts and moves the version on.
std::string setKeyTextsSql(const TableSchema& schema);

}  // namespace storage::sqlite
