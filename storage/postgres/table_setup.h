// Creating a file's table, completing rows that another tool wrote, and
// rebuilding every key.
#pragma once

#include "storage/errors.h"
#include "storage/postgres/schema.h"
#include "storage/postgres/session.h"
#include "storage/record.h"

#include <string_view>

namespace storage::postgres {

// Replaces the table with an empty one, its keys and its owner, in one
// transaction. 32 when another station has the file open (replacing it under
// them would lose their work); 90 "Schema not found" when the schema is missing
// (a wrong data directory fails loudly rather than growing a stray schema).
// `keepExisting`: a table that exists already is left as it is (another station
// created it a moment ago).
ErrorState createTable(Session& session, const TableSchema& schema, std::string_view password,
                       int waitMs, bool keepExisting = false);

// Fills the key texts of rows written by another tool and gives them version 1.
// A row whose key value duplicates another's under a unique key stays pending.
ErrorState completePendingRows(Session& session, const TableSchema& schema, Record& scratch);

// Drops every key, recomputes the key texts of every row (moving the version of
// rows whose texts were stale) and builds the keys again, in one transaction that
// holds writers off. Rows that violate a unique key make it fail with 40 and
// leave the table as it was.
ErrorState rebuildKeys(Session& session, const TableSchema& schema, Record& scratch);

}  // namespace storage::postgres
