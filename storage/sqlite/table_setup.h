// Creating a data file's table, and the keys (indexes, the pending-row index and
// the trigger) on their own, which rebuilding drops and creates again.
#pragma once

#include "storage/errors.h"
#include "storage/sqlite/connection.h"
#include "storage/sqlite/schema.h"

namespace storage::sqlite {

// Replaces the table (and its keys) with an empty one, in one transaction.
ErrorState createTable(Connection& connection, const TableSchema& schema);
ErrorState createKeys(Connection& connection, const TableSchema& schema);
ErrorState dropKeys(Connection& connection, const TableSchema& schema);

}  // namespace storage::sqlite
