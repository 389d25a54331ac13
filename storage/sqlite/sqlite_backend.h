// The embedded backend: each data file is one SQLite database file at its disk
// name with ".db" added, translated to the host's path.
#pragma once

#include "storage/backend.h"

#include <filesystem>

namespace storage::sqlite {

Backend& sqliteBackend();

// The database file of a disk name: hostPath(name + ".db").
std::filesystem::path databasePath(std::string_view diskName);

}  // namespace storage::sqlite
