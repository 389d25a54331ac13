// Storage benchmark on PostgreSQL: the page benchmark of storage_bench on a table
// of 1,000,000 records, through the engine and through the same keyset queries
// written directly against libpq; paging through and loading the whole table;
// numbered inserts from 4 processes at once.
//
//   postgres_bench                      starts a temporary server on loopback (as the
//                                       storage tests do), fills the table, runs, stops it
//   TARVO_BENCH_PG=<data directory>     uses that server instead, e.g.
//                                       "postgresql://bench@db/suite/bench/" (the schema must
//                                       exist); a table already filled is reused
//   postgres_bench --number <disk name> <count> <station>   (one inserting process)
//
// The table is made by the engine (create) and filled with COPY, which takes
// seconds where adding a million records one by one would take minutes.
#include "bench/bench_data.h"
#include "bench/engine_pages.h"
#include "bench/numbered_stations.h"
#include "storage/field_codec.h"
#include "storage/postgres/row_codec.h"
#include "tests/storage/postgres_cluster.h"

#include <benchmark/benchmark.h>
#include <libpq-fe.h>

#include <chrono>
#include <cstdlib>
#include <iostream>
#include <map>
#include <memory>
#include <random>
#include <set>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

using storage::Direction;
using storage::PageRequest;
using storage::PageRow;

constexpr std::int64_t kItems = 1'000'000;
constexpr std::size_t kPage = 20;
constexpr std::size_t kAnchors = 1000;

void fail(const std::string& what) {
    std::cerr << "postgres_bench: " << what << "\n";
    std::exit(1);
}

// --- The data set ------------------------------------------------------------

struct Dataset {
    std::string directory;  // the data directory setting
    std::string schema;
    bool ownServer = false;
    std::unique_ptr<storage::DataFile> file;
    PGconn* direct = nullptr;
    std::vector<std::int64_t> codes;        // anchors: random existing codes
    std::vector<std::string> positions[2];  // their positions by CODE_KEY, NAME_KEY

    ~Dataset() {
        file.reset();
        if (direct) PQfinish(direct);
        if (ownServer) storage_tests::PostgresCluster::instance().stop();
    }
};

// A connection of its own, as a hand-written program has it.
PGconn* connectDirectly(const std::string& directory) {
    storage::postgres::ServerAddress address;
    if (parseServerAddress(directory + "x", address)) fail("not a server address: " + directory);
    const char* keys[] = {"host", "port", "user", "dbname", nullptr};
    const char* values[] = {address.server.host.c_str(), address.server.port.c_str(),
                            address.server.user.c_str(), address.server.database.c_str(), nullptr};
    PGconn* c = PQconnectdbParams(keys, values, 0);
    if (PQstatus(c) != CONNECTION_OK) fail(std::string("connecting: ") + PQerrorMessage(c));
    return c;
}

void exec(PGconn* c, const std::string& sql) {
    PGresult* r = PQexec(c, sql.c_str());
    const ExecStatusType s = PQresultStatus(r);
    if (s != PGRES_COMMAND_OK && s != PGRES_TUPLES_OK && s != PGRES_COPY_IN)
        fail(sql + ": " + PQerrorMessage(c));
    PQclear(r);
}

std::int64_t count(PGconn* c, const std::string& table) {
    PGresult* r = PQexec(c, ("SELECT count(*) FROM " + table).c_str());
    const std::int64_t n =
        PQresultStatus(r) == PGRES_TUPLES_OK ? std::atoll(PQgetvalue(r, 0, 0)) : -1;
    PQclear(r);
    return n;
}

std::string hex(const std::string& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string out = "\\\\x";
    for (unsigned char b : bytes) {
        out += digits[b >> 4];
        out += digits[b & 0x0F];
    }
    return out;
}

// A value in COPY's text form.
std::string copyText(const std::string& value) {
    std::string out;
    for (char c : value) {
        if (c == '\\' || c == '\t' || c == '\n' || c == '\r') out += '\\';
        out += c == '\t' ? 't' : c == '\n' ? 'n' : c == '\r' ? 'r' : c;
    }
    return out;
}

// Creates the table through the engine and fills it with COPY in the engine's
// column forms (the same conversions an add makes).
void build(Dataset& s, const std::string& table) {
    storage::DataFile f(bench::itemLayout());
    f.setName(s.directory + "Item");
    if (f.create()) fail("creating the table: " + f.driverErrorText());
    const auto start = std::chrono::steady_clock::now();
    exec(s.direct,
         "COPY " + table +
             " (row_version, code, name, price, amount, note, flag, upper_name) FROM STDIN");
    storage::Record r(bench::itemLayout());
    std::string chunk;
    for (std::int64_t code = 1; code <= kItems; ++code) {
        bench::setItem(r, code);
        chunk += "1";
        for (std::size_t field = 0; field < 6; ++field)
            chunk += "\t" + copyText(storage::postgres::fieldText(r, field));
        chunk += "\t" + hex(storage::keyTextOf(r, 1)) + "\n";
        if (chunk.size() > (1 << 20) || code == kItems) {
            if (PQputCopyData(s.direct, chunk.data(), static_cast<int>(chunk.size())) != 1)
                fail(std::string("COPY: ") + PQerrorMessage(s.direct));
            chunk.clear();
        }
    }
    if (PQputCopyEnd(s.direct, nullptr) != 1) fail("ending COPY");
    PGresult* r2 = PQgetResult(s.direct);
    if (PQresultStatus(r2) != PGRES_COMMAND_OK)
        fail(std::string("COPY: ") + PQerrorMessage(s.direct));
    PQclear(r2);
    while (PGresult* more = PQgetResult(s.direct)) PQclear(more);
    exec(s.direct, "VACUUM ANALYZE " + table);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::cerr << "loaded " << kItems << " records with COPY (keys and statistics included) in "
              << seconds << " s\n";
}

void prepare(Dataset& s) {
    if (const char* given = std::getenv("TARVO_BENCH_PG")) {
        s.directory = given;
    } else {
        auto& cluster = storage_tests::PostgresCluster::instance();
        if (!cluster.ensureRunning()) fail(cluster.unavailableReason());
        s.ownServer = true;
        if (cluster.admin("CREATE SCHEMA bench AUTHORIZATION " +
                          std::string(storage_tests::PostgresCluster::kRole)))
            fail("creating the schema");
        s.directory = cluster.address("bench");
    }
    storage::postgres::ServerAddress address;
    parseServerAddress(s.directory + "Item", address);
    const std::string table = "\"" + address.schema + "\".\"item\"";
    s.direct = connectDirectly(s.directory);
    if (count(s.direct, table) != kItems) build(s, table);

    s.file = std::make_unique<storage::DataFile>(bench::itemLayout());
    s.file->setName(s.directory + "Item");
    if (int rc = s.file->open())
        fail("opening: " + std::to_string(rc) + " " + s.file->driverErrorText());

    std::mt19937_64 random(42);
    std::uniform_int_distribution<std::int64_t> pick(1, kItems);
    storage::Record value(bench::itemLayout());
    for (std::size_t i = 0; i < kAnchors; ++i) {
        const std::int64_t code = pick(random);
        s.codes.push_back(code);
        bench::setItem(value, code);
        for (int k = 0; k < 2; ++k) {
            PageRequest r;
            r.key = &bench::itemLayout().keys()[static_cast<std::size_t>(k)];
            r.from = PageRequest::From::KeyValue;
            r.value = &value;
            std::vector<PageRow> rows;
            if (s.file->readPage(r, rows) || rows.size() != 1) fail("finding an anchor");
            s.positions[k].push_back(rows.front().position);
        }
    }
    s.schema = address.schema;
}

Dataset& dataset() {
    static Dataset d;
    static const bool ready = (prepare(d), true);
    (void)ready;
    return d;
}

// --- Through the engine ---------------------------------------------------------

using bench::Page;

void enginePage(benchmark::State& state, int k, Page page) {
    Dataset& d = dataset();
    bench::enginePages(state, *d.file, k, page, kPage, d.codes, d.positions[k]);
}

// --- Directly through libpq -------------------------------------------------------

struct DirectRow {
    std::int64_t code;
    std::string name;
    double price;
    std::string amount;
    std::string note;
    int flag;
};

void directPage(benchmark::State& state, int k, Page page) {
    Dataset& d = dataset();
    const std::string column = k == 0 ? "code" : "upper_name";
    std::string where, order = " ORDER BY " + column;
    switch (page) {
        case Page::First:
            break;
        case Page::Last:
            order += " DESC";
            break;
        case Page::Next:
            where = " WHERE " + column + " > $1";
            break;
        case Page::Previous:
            where = " WHERE " + column + " < $1";
            order += " DESC";
            break;
        case Page::Locate:
            where = " WHERE " + column + " >= $1";
            break;
    }
    const std::string sql = "SELECT row_id, code, name, price, amount, note, flag FROM \"" +
                            d.schema + "\".item" + where + order + " LIMIT 20";
    const std::string name = "direct_" + std::to_string(k) + "_" + std::to_string(int(page));
    static std::set<std::string> preparedAlready;  // the library runs a benchmark more than once
    if (preparedAlready.insert(name).second) {
        PGresult* prepared = PQprepare(d.direct, name.c_str(), sql.c_str(), 0, nullptr);
        if (PQresultStatus(prepared) != PGRES_COMMAND_OK) fail(PQerrorMessage(d.direct));
        PQclear(prepared);
    }
    std::vector<DirectRow> rows;
    rows.reserve(kPage);
    std::size_t i = 0;
    for (auto _ : state) {
        const std::size_t a = i++ % kAnchors;
        std::string value = k == 0 ? std::to_string(d.codes[a]) : bench::itemName(d.codes[a]);
        const char* values[] = {value.c_str()};
        const int lengths[] = {static_cast<int>(value.size())};
        const int formats[] = {k == 0 ? 0 : 1};  // the name as raw bytes (bytea)
        PGresult* r = PQexecPrepared(d.direct, name.c_str(), where.empty() ? 0 : 1, values, lengths,
                                     formats, 0);
        rows.clear();
        for (int row = 0; row < PQntuples(r); ++row)
            rows.push_back({std::atoll(PQgetvalue(r, row, 1)), PQgetvalue(r, row, 2),
                            std::strtod(PQgetvalue(r, row, 3), nullptr), PQgetvalue(r, row, 4),
                            PQgetvalue(r, row, 5), std::atoi(PQgetvalue(r, row, 6))});
        PQclear(r);
        if (rows.size() != kPage) state.SkipWithError("short page");
        benchmark::DoNotOptimize(rows.data());
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kPage));
}

// --- Whole table ---------------------------------------------------------------------

void loadWholeFile(benchmark::State& state) {
    bench::loadWholeFile(state, *dataset().file, kItems);
}

// Pages through every record by the text key, one page in memory at a time.
void pageThroughWholeFile(benchmark::State& state) {
    bench::pageThroughWholeFile(state, *dataset().file, kItems, kPage);
}

// --- Numbered inserts from 4 processes ---------------------------------------------------

void numberedInserts(benchmark::State& state) {
    bench::numberedInserts(state, dataset().directory + "Numbered");
}

void registerAll() {
    const char* keys[] = {"code", "name"};
    const std::pair<const char*, Page> pages[] = {{"first_page", Page::First},
                                                  {"next_page", Page::Next},
                                                  {"previous_page", Page::Previous},
                                                  {"last_page", Page::Last},
                                                  {"locate_value", Page::Locate}};
    for (int k = 0; k < 2; ++k)
        for (const auto& [name, page] : pages) {
            benchmark::RegisterBenchmark((std::string("engine/") + keys[k] + "/" + name).c_str(),
                                         enginePage, k, page)
                ->Unit(benchmark::kMicrosecond);
            benchmark::RegisterBenchmark((std::string("direct/") + keys[k] + "/" + name).c_str(),
                                         directPage, k, page)
                ->Unit(benchmark::kMicrosecond);
        }
    benchmark::RegisterBenchmark("engine/page_through_whole_file", pageThroughWholeFile)
        ->Iterations(1)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("engine/load_whole_file", loadWholeFile)
        ->Iterations(1)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("numbered_inserts/4_processes_x_1000", numberedInserts)
        ->Iterations(1)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 5 && std::string(argv[1]) == "--number")
        return bench::numberStation(argv[2], std::atoi(argv[3]), argv[4]);
    benchmark::Initialize(&argc, argv);
    registerAll();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
