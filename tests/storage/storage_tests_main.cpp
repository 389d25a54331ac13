// The storage test program's own entry: "--station ..." makes it a second station
// for the tests that need two processes; otherwise it runs the tests, and stops
// the PostgreSQL test server at the end if one was started.
#include "tests/storage/postgres_cluster.h"
#include "tests/storage/station.h"

#include <gtest/gtest.h>

#include <string_view>

int main(int argc, char** argv) {
    if (argc >= 2 && std::string_view(argv[1]) == "--station")
        return storage_tests::runStation(argc - 2, argv + 2);
    ::testing::InitGoogleTest(&argc, argv);
    // The test server, started by the first test that needs it, stops at the end.
    struct StopPostgres : ::testing::Environment {
        void TearDown() override { storage_tests::PostgresCluster::instance().stop(); }
    };
    ::testing::AddGlobalTestEnvironment(new StopPostgres);
    return RUN_ALL_TESTS();
}
