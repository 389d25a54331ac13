#include "storage/backend.h"

#include "platform/paths.h"
#include "storage/postgres/postgres_backend.h"
#include "storage/sqlite/sqlite_backend.h"

namespace storage {

Backend& backendFor(std::string_view diskName) {
    if (platform::isServerAddress(diskName)) return postgres::postgresBackend();
    return sqlite::sqliteBackend();
}

}  // namespace storage
