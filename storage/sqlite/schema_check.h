// Checks a stored table against the schema the layout generates, when a file
// opens: no table gives 2 (the file is created by the usual path); other columns
// or column types give 47; a key index, the pending index or the trigger missing
// or declared differently gives 46 (rebuilding the keys puts them right).
// Damage inside the pages is not looked for here (a full check reads the whole
// file); it shows as 46 when a damaged page is used.
#pragma once

#include "storage/errors.h"
#include "storage/sqlite/schema.h"
#include "storage/sqlite/sqlite_api.h"

namespace storage::sqlite {

ErrorState checkTable(sqlite3* db, const TableSchema& schema);  // 2 or 47
ErrorState checkKeys(sqlite3* db, const TableSchema& schema);   // 46

}  // namespace storage::sqlite
