// Moves records and key values between record buffers and statement columns and
// parameters, following the column mapping of the schema.
#pragma once

#include "storage/backend.h"
#include "storage/key_value.h"
#include "storage/record.h"
#include "storage/sqlite/schema.h"
#include "storage/sqlite/sqlite_api.h"

namespace storage::sqlite {

// Each binder starts at parameter `first` and returns the next free parameter.
int bindFields(sqlite3_stmt* statement, int first, const Record& record);
int bindKeyTexts(sqlite3_stmt* statement, int first, const Record& record,
                 const TableSchema& schema);
int bindKeyParts(sqlite3_stmt* statement, int first, const KeyValue& value, std::size_t from,
                 std::size_t to);

// Reads the field columns starting at `firstColumn` into the record.
void readFields(sqlite3_stmt* statement, int firstColumn, Record& record);
// Reads a whole row selected with TableSchema::rowColumns(); `scratch` is a
// record of the file's layout used for the conversion.
void readRow(sqlite3_stmt* statement, Record& scratch, StoredRow& row);
// Reads a row selected as the row id and the columns of `fields` (a page of a
// field subset) into `scratch`, which the caller cleared before the page's
// first row: the subset's fields are written whole, the others stay blank. The
// version is 0.
void readSubset(sqlite3_stmt* statement, const FieldSet& fields, Record& scratch, StoredRow& row);

}  // namespace storage::sqlite
