#include "storage/sqlite/sqlite_errors.h"

#include <string>

namespace storage::sqlite {

ErrorState errorFrom(sqlite3* db, int rc) {
    if (rc == SQLITE_OK || rc == SQLITE_ROW || rc == SQLITE_DONE) return success();
    std::string text = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    // sqlite3_errmsg describes the last failed call; after a reset it can lag the
    // code, so fall back to the generic text for the code.
    if (text.empty() || text == "not an error") text = sqlite3_errstr(rc);
    switch (rc & 0xFF) {
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            return failure(error::kFileLocked, rc, std::move(text));
        case SQLITE_CONSTRAINT:
            if (rc == SQLITE_CONSTRAINT_UNIQUE || rc == SQLITE_CONSTRAINT_PRIMARYKEY)
                return failure(error::kDuplicateKey, rc, std::move(text));
            return driverFailure(rc, std::move(text));
        case SQLITE_CORRUPT:
            return failure(error::kKeyFileInvalid, rc, std::move(text));
        default:
            return driverFailure(rc, std::move(text));
    }
}

ErrorState errorFrom(sqlite3* db, int rc, std::string_view doing) {
    ErrorState e = errorFrom(db, rc);
    if (e && !doing.empty()) e.driverText = std::string(doing) + ": " + e.driverText;
    return e;
}

}  // namespace storage::sqlite
