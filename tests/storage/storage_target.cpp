#include "tests/storage/storage_target.h"

#include "tests/helpers/raw_database.h"
#include "tests/helpers/temp_folder.h"
#include "tests/storage/postgres_cluster.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace storage_tests {

namespace {

class SqliteSpace final : public TargetSpace {
public:
    SqliteSpace() { std::filesystem::create_directories(folder_.path() / "dat"); }
    std::string diskName(std::string_view file) const override {
        return ".\\dat\\" + std::string(file);
    }
    void toolSql(std::string_view file, const std::string& sql) const override {
        testing_support::RawDatabase raw(folder_.path() / "dat" / (std::string(file) + ".db"));
        if (raw.exec(sql) != SQLITE_OK) ADD_FAILURE() << sql << "\n  " << raw.error();
    }

private:
    testing_support::TempFolder folder_;
};

// PostgreSQL: a schema of its own in the test server's database, dropped with
// everything in it afterwards; files are tables named by the address.
class PostgresSpace final : public TargetSpace {
public:
    PostgresSpace() {
        static int spaces = 0;
        schema_ = "s" + std::to_string(getpid()) + "_" + std::to_string(++spaces);
        postgresAdmin("CREATE SCHEMA " + schema_ + " AUTHORIZATION " + PostgresCluster::kRole);
        address_ = PostgresCluster::instance().address(schema_);
    }
    ~PostgresSpace() override {
        PostgresCluster::instance().admin("DROP SCHEMA " + schema_ + " CASCADE");
    }
    std::string diskName(std::string_view file) const override {
        return address_ + std::string(file);
    }
    void toolSql(std::string_view, const std::string& sql) const override {
        postgresAdmin("SET search_path TO " + schema_ + "; " + sql);
    }

private:
    std::string schema_, address_;
};

void markUnavailable(const std::string& reason) {
    if (std::getenv("TARVO_REQUIRE_POSTGRESQL")) {
        ADD_FAILURE() << "PostgreSQL server not available: " << reason;
        return;
    }
    GTEST_SKIP() << "PostgreSQL server not available: " << reason;
}

// The tests of a target whose server is missing are skipped; their space is empty.
class NoSpace final : public TargetSpace {
public:
    std::string diskName(std::string_view file) const override { return std::string(file); }
    void toolSql(std::string_view, const std::string&) const override {}
};

}  // namespace

std::vector<StorageTarget> storageTargets() {
    return {StorageTarget{"SQLite", [] { return std::make_unique<SqliteSpace>(); }},
            StorageTarget{"PostgreSQL", []() -> std::unique_ptr<TargetSpace> {
                              if (!requirePostgres()) return std::make_unique<NoSpace>();
                              return std::make_unique<PostgresSpace>();
                          }}};
}

bool requirePostgres() {
    if (PostgresCluster::instance().ensureRunning()) return true;
    markUnavailable(PostgresCluster::instance().unavailableReason());
    return false;
}

std::vector<std::vector<std::string>> postgresAdmin(const std::string& sql) {
    std::vector<std::vector<std::string>> rows;
    if (storage::ErrorState e = PostgresCluster::instance().admin(sql, &rows))
        ADD_FAILURE() << sql << "\n  " << e.driverText;
    return rows;
}

std::unique_ptr<storage::DataFile> fileIn(const TargetSpace& space,
                                          const storage::RecordLayout& layout,
                                          std::string_view file) {
    auto f = std::make_unique<storage::DataFile>(layout);
    f->setName(space.diskName(file.empty() ? std::string_view(layout.diskName()) : file));
    return f;
}

}  // namespace storage_tests
