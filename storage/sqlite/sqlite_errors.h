// Maps SQLite result codes to the storage error codes: busy or locked beyond the
// wait 32, a unique key violated 40, a damaged database page 46 (found when it is
// used; rebuilding the keys repairs damaged keys), anything else 90 with SQLite's
// own code and text.
#pragma once

#include "storage/errors.h"
#include "storage/sqlite/sqlite_api.h"

#include <string_view>

namespace storage::sqlite {

// `rc` is the (extended) result code of a call on `db`; `db` may be null.
ErrorState errorFrom(sqlite3* db, int rc);
// The same with a word on what was being done, prefixed to the driver text.
ErrorState errorFrom(sqlite3* db, int rc, std::string_view doing);

}  // namespace storage::sqlite
