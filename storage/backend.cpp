#include "storage/backend.h"

#include "platform/paths.h"
#include "storage/postgres/postgres_backend.h"
#include "storage/sqlite/sqlite_backend.h"

namespace storage {

ErrorState BackendTable::holdEntry(const std::string&, const std::vector<std::uint8_t>&,
                                   std::int64_t&) {
    return driverFailure(0, "this database keeps no held entries");
}

ErrorState BackendTable::heldEntries(const std::string&, std::vector<HeldEntry>& entries) {
    entries.clear();
    return success();
}

ErrorState BackendTable::dropHeldEntry(std::int64_t) { return success(); }

Backend& backendFor(std::string_view diskName) {
    if (platform::isServerAddress(diskName)) return postgres::postgresBackend();
    return sqlite::sqliteBackend();
}

}  // namespace storage
