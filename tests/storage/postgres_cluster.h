// A real PostgreSQL server for the test run, started on loopback the first time a
// test needs it and stopped when the test program ends: a cluster made with
// initdb in a temporary folder (as the "postgres" user when running as root, since
// initdb refuses root), a free port, listen_addresses=127.0.0.1, its socket in the
// folder, fsync off. The suite's role logs in with a password kept in a password
// file (PGPASSFILE), as an installation keeps it.
//
// The cluster made by initdb is kept as a template in the temporary folder
// ("tarvo-pg-template-<version>-<uid>") and copied for later runs, which saves
// most of the start-up. A helper process removes the server and its folder if the
// test program dies without stopping it.
//
//   TARVO_PG_BIN=<folder>        the server's programs (default: the newest
//                                /usr/lib/postgresql/<version>/bin)
//
// Used by the storage tests (storage_target.h says what they do without a
// server) and by the PostgreSQL benchmark.
#pragma once

#include "storage/postgres/session.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace storage_tests {

class PostgresCluster {
public:
    static PostgresCluster& instance();

    // Starts the server unless it runs; false (with the reason) when it cannot.
    bool ensureRunning();
    const std::string& unavailableReason() const { return reason_; }
    void stop();
    // Restarts the running server (every connection to it is cut); false when it
    // does not come back.
    bool restart();

    int port() const { return port_; }
    static constexpr const char* kDatabase = "tarvo";
    static constexpr const char* kRole = "tarvo";
    // A role whose entry in the password file holds a wrong password.
    static constexpr const char* kIntruder = "intruder";

    // The data directory setting of a schema:
    // "postgresql://tarvo@127.0.0.1:<port>/tarvo/<schema>/".
    std::string address(std::string_view schema, std::string_view role = kRole) const;

    // Statements as the server's superuser, over the socket, with the rows of the
    // last one as text ("NULL" for null).
    storage::ErrorState admin(const std::string& sql,
                              std::vector<std::vector<std::string>>* rows = nullptr);

private:
    PostgresCluster() = default;
    bool start();
    bool unavailable(std::string reason);  // false
    bool startServer();
    bool prepareDatabase();

    bool tried_ = false;
    bool running_ = false;        // started and ready for the tests
    bool serverStarted_ = false;  // the server process runs
    std::string reason_;
    std::string bin_, version_, folder_, data_;
    bool asPostgresUser_ = false;
    int port_ = 0;
    int watchdog_ = -1;
    std::shared_ptr<storage::postgres::Session> admin_;
};

}  // namespace storage_tests
