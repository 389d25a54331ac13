// Keeping the key columns right: completing rows that another tool wrote (their
// version is NULL, their key texts missing or stale), and rebuilding every key.
#pragma once

#include "storage/errors.h"
#include "storage/record.h"
#include "storage/sqlite/connection.h"
#include "storage/sqlite/schema.h"

namespace storage::sqlite {

// Fills the key texts of pending rows and gives them version 1. A row whose key
// value duplicates another's under a unique key stays pending (it sorts first and
// is refused again at the next open) rather than failing the open.
ErrorState completePendingRows(Connection& connection, const TableSchema& schema, Record& scratch);

// Drops and re-creates every key, after recomputing the key texts of every row.
// When a damaged page stops it, the keys are taken out of the schema without
// touching their pages, the whole file is rewritten from the table rows (VACUUM,
// which leaves unreferenced pages behind) and the keys are built again. Damage in
// the table rows themselves cannot be repaired this way and stays 46. A unique
// key that the rows violate gives 40.
ErrorState rebuildKeys(Connection& connection, const TableSchema& schema, Record& scratch);

}  // namespace storage::sqlite
