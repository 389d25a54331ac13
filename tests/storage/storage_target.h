// The backends the storage suite runs against. A target gives each test a fresh
// space for its data files and the disk names of files in it; the suite itself
// knows nothing of the backend, so a database server backend runs the same tests
// by adding its target here.
#pragma once

#include "storage/data_file.h"

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace storage_tests {

class TargetSpace {
public:
    virtual ~TargetSpace() = default;
    // The disk name of a data file in this space (as the system writes it).
    virtual std::string diskName(std::string_view file) const = 0;
    // Statements run on a file's database as an ordinary SQL tool would (the
    // sqlite3 shell, psql), with the file's table by its unquoted name; a failure
    // fails the current test.
    virtual void toolSql(std::string_view file, const std::string& sql) const = 0;
};

struct StorageTarget {
    std::string name;
    std::function<std::unique_ptr<TargetSpace>()> makeSpace;
};

// Test names and messages show the target by its name.
inline void PrintTo(const StorageTarget& target, std::ostream* os) { *os << target.name; }

// SQLite: a temporary folder (the current directory during the test) with the
// files under ".\dat\". PostgreSQL: a fresh schema in the database of a test
// server started for the run (tests/storage/postgres_cluster.h); when the server
// cannot start, the tests of this target are skipped and say why.
std::vector<StorageTarget> storageTargets();

// Marks the current test skipped, saying why, when the PostgreSQL test server
// cannot start (failed instead with TARVO_REQUIRE_POSTGRESQL=1); false then.
bool requirePostgres();
// Statements as the test server's superuser; a failure fails the current test.
std::vector<std::vector<std::string>> postgresAdmin(const std::string& sql);

// A file object named into the space.
std::unique_ptr<storage::DataFile> fileIn(const TargetSpace& space,
                                          const storage::RecordLayout& layout,
                                          std::string_view file = {});

}  // namespace storage_tests
