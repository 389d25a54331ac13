// Creating a data file's table, and the keys (indexes, the pending-row index and
// the trigger) on their own, which rebuilding drops and creates again.
#pragma once

#include "storage/errors.h"
#include "storage/sqlite/connection.h"
#include "storage/sqlite/schema.h"

namespace storage::sqlite {

// Replaces the table (and its keys) with an empty one, in one transaction.
// `keepExisting`: a table that exists already is left as it is.
ErrorState createTable(Connection& connection, const TableSchema& schema, bool keepExisting = false);
ErrorState createKeys(Connection& connection, const TableSchema& schema);
ErrorState dropKeys(Connection& connection, const TableSchema& schema);

}  // namespace storage::sqlite
