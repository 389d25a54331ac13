// Storage benchmark: pages of 20 records of a 1,000,000-record file by a numeric
// and a text key, through the engine and through the same keyset queries written
// directly against SQLite; loading the whole file; memory while paging through all
// of it; numbered inserts from 4 processes at once.
//
//   storage_bench                 builds the file in a temporary folder, runs, removes it
//   TARVO_BENCH_DIR=<folder>      keeps the file there and reuses it on later runs
//   storage_bench --number <disk name> <count> <station>   (one inserting process)
#include "bench/bench_data.h"
#include "bench/engine_pages.h"
#include "bench/numbered_stations.h"

#include <benchmark/benchmark.h>
#include <sqlcipher/sqlite3.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <map>
#include <memory>
#include <random>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;
using storage::Direction;
using storage::PageRequest;
using storage::PageRow;

constexpr std::int64_t kItems = 1'000'000;
constexpr std::size_t kPage = 20;
constexpr std::size_t kAnchors = 1000;

// --- The data set ------------------------------------------------------------

struct Dataset {
    fs::path folder;
    bool owned = false;
    std::string diskName;
    std::unique_ptr<storage::DataFile> file;
    sqlite3* direct = nullptr;
    std::vector<std::int64_t> codes;        // anchors: random existing codes
    std::vector<std::string> positions[2];  // their positions by CODE_KEY, NAME_KEY

    ~Dataset() {
        file.reset();
        sqlite3_close(direct);
        if (owned) fs::remove_all(folder);
    }
};

void fail(const std::string& what) {
    std::cerr << "storage_bench: " << what << "\n";
    std::exit(1);
}

void prepare(Dataset& s) {
    if (const char* keep = std::getenv("TARVO_BENCH_DIR")) {
        s.folder = keep;
        fs::create_directories(s.folder);
    } else {
        std::string pattern = (fs::temp_directory_path() / "tarvo-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data())) fail("cannot create a temporary folder");
        s.folder = pattern;
        s.owned = true;
    }
    s.diskName = (s.folder / "Item").string();
    if (!fs::exists(s.folder / "Item.db")) {
        const auto start = std::chrono::steady_clock::now();
        if (int rc = bench::buildItems(s.diskName, kItems))
            fail("building the file: error " + std::to_string(rc));
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::cerr << "built " << kItems << " records through the engine in " << seconds << " s\n";
    }
    s.file = std::make_unique<storage::DataFile>(bench::itemLayout());
    s.file->setName(s.diskName);
    if (int rc = s.file->open())
        fail("opening: " + std::to_string(rc) + " " + s.file->driverErrorText());
    if (sqlite3_open_v2((s.folder / "Item.db").c_str(), &s.direct, SQLITE_OPEN_READONLY, nullptr) !=
        SQLITE_OK)
        fail("opening directly");

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

// --- Directly against SQLite --------------------------------------------------------

struct DirectRow {
    std::int64_t code;
    std::string name;
    double price;
    std::int64_t amount;
    std::string note;
    int flag;
};

std::string text(sqlite3_stmt* s, int column) {
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(s, column));
    return std::string(p ? p : "", static_cast<std::size_t>(sqlite3_column_bytes(s, column)));
}

void directPage(benchmark::State& state, int k, Page page) {
    Dataset& d = dataset();
    const std::string column = k == 0 ? "CODE" : "upper_NAME";
    const std::string index = k == 0 ? "Item_CODE_KEY" : "Item_NAME_KEY";
    std::string where, order = " ORDER BY " + column;
    switch (page) {
        case Page::First:
            break;
        case Page::Last:
            order += " DESC";
            break;
        case Page::Next:
            where = " WHERE " + column + " > ?";
            break;
        case Page::Previous:
            where = " WHERE " + column + " < ?";
            order += " DESC";
            break;
        case Page::Locate:
            where = " WHERE " + column + " >= ?";
            break;
    }
    const std::string sql =
        "SELECT row_id, CODE, NAME, PRICE, AMOUNT, NOTE, FLAG FROM Item INDEXED BY " + index +
        where + order + " LIMIT " + std::to_string(kPage);
    sqlite3_stmt* s = nullptr;
    if (sqlite3_prepare_v2(d.direct, sql.c_str(), -1, &s, nullptr) != SQLITE_OK)
        fail(sqlite3_errmsg(d.direct));
    std::vector<DirectRow> rows;
    rows.reserve(kPage);
    std::size_t i = 0;
    for (auto _ : state) {
        const std::size_t a = i++ % kAnchors;
        if (!where.empty()) {
            if (k == 0) {
                sqlite3_bind_int64(s, 1, d.codes[a]);
            } else {
                const std::string name = bench::itemName(d.codes[a]);  // already upper case
                sqlite3_bind_blob(s, 1, name.data(), static_cast<int>(name.size()),
                                  SQLITE_TRANSIENT);
            }
        }
        rows.clear();
        while (sqlite3_step(s) == SQLITE_ROW)
            rows.push_back({sqlite3_column_int64(s, 1), text(s, 2), sqlite3_column_double(s, 3),
                            sqlite3_column_int64(s, 4), text(s, 5), sqlite3_column_int(s, 6)});
        sqlite3_reset(s);
        if (rows.size() != kPage) state.SkipWithError("short page");
        benchmark::DoNotOptimize(rows.data());
    }
    sqlite3_finalize(s);
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kPage));
}

// --- Whole file ---------------------------------------------------------------------

void loadWholeFile(benchmark::State& state) {
    bench::loadWholeFile(state, *dataset().file, kItems);
}

// Pages through every record by the text key, one page in memory at a time.
void pageThroughWholeFile(benchmark::State& state) {
    bench::pageThroughWholeFile(state, *dataset().file, kItems, kPage);
}

// --- Numbered inserts from 4 processes ---------------------------------------------------

void numberedInserts(benchmark::State& state) {
    bench::numberedInserts(state, (dataset().folder / "Numbered").string());
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
    // Paging first: its memory figures start from a process that has not yet held
    // the whole file.
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
