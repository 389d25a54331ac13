// What a file's table on the server looks like, checked when the file opens:
//   2   the schema or the table does not exist
//   47  the columns or their types differ from the layout
//   46  a key index, the pending-row index or the change trigger is missing,
//       declared differently or left unusable (an interrupted index build)
//   90  the role may not read the table (the database's own access control)
#pragma once

#include "storage/errors.h"
#include "storage/postgres/schema.h"
#include "storage/postgres/session.h"

#include <string>

namespace storage::postgres {

struct StoredTable {
    std::string oid;  // of the table, in text form
    bool ownersTableExists = false;
};

ErrorState findTable(Session& session, const TableSchema& schema, StoredTable& table);
ErrorState checkColumns(Session& session, const TableSchema& schema, const StoredTable& table);
ErrorState checkKeys(Session& session, const TableSchema& schema, const StoredTable& table);

}  // namespace storage::postgres
