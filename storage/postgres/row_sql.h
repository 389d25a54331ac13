// The single-record statements of a table: insert, rewrite, fetch by row id,
// delete, look-up by key value, the duplicate test, and the statements that keep
// key columns right (rows another tool wrote, rebuilding the keys).
#pragma once

#include "storage/postgres/schema.h"

#include <string>

namespace storage::postgres {

// Parameters: the fields in layout order, then the key texts. Returns the row id.
std::string insertSql(const TableSchema& schema);
// Parameters: fields, key texts, row id, and with `watched` the version expected.
// Returns the new version.
std::string updateSql(const TableSchema& schema, bool watched);
std::string fetchSql(const TableSchema& schema);               // row id
std::string versionSql(const TableSchema& schema);             // row id -> version
std::string eraseSql(const TableSchema& schema);               // row id; returns it
std::string findEqualSql(const TableSchema& schema, int key);  // key parts
std::string existsSql(const TableSchema& schema, int key);     // key parts, row id to skip
// Rows whose version is NULL (written by another tool).
std::string pendingRowsSql(const TableSchema& schema);
// Parameters: key texts, row id. Sets the key texts and gives a pending row version 1.
std::string completeRowSql(const TableSchema& schema);
// Every row in row id order after a row id, with its key texts, `$2` at a time.
std::string rowsAfterSql(const TableSchema& schema);
// Parameters: key texts, row id. Sets the key texts and moves the version on.
std::string setKeyTextsSql(const TableSchema& schema);

}  // namespace storage::postgres
