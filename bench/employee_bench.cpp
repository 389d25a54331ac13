// The employee list MOL_T over the largest employee file the codes allow (65,535
// employees, USHORT codes) in 500 departments and 10 categories, beside the
// price-type list over a price file of the same size: opening, page down, a tab
// change (the price list has one order: its forced refresh, which rebuilds the
// page around the highlighted record as a tab change does), and locating a typed
// value. The employee rows each read their department and category by key; the
// saved filter's cost per page is measured on its own.
//
// RawPageDown is the yardstick of the employee list's page down: the same rows
// (the shown columns and both look-ups) by one keyset query written by hand on
// the same enciphered file through SQLCipher, OtdMOL and KatMOL attached.
// WholeListMemory pages through the whole employee list and reports the growth
// of the resident memory.
//
//   employee_bench               builds the files in a temporary folder, runs, removes them
//   TARVO_BENCH_DIR=<folder>     keeps the files there and reuses them on later runs
#include "access/access_files.h"
#include "access/access_layouts.h"
#include "access/dostup.h"
#include "framework/browse/browse_engine.h"
#include "bench/quiet_list_view.h"
#include "framework/file_access.h"
#include "framework/shared_state.h"
#include "platform/cp1251.h"
#include "platform/user_services.h"
#include "refbooks/c_price.h"
#include "storage/kept_files.h"
#include "storage/sqlite/cipher.h"
#include "refbooks/ref_files.h"
#include "staff/d_mol.h"

#include <benchmark/benchmark.h>
#include <sqlcipher/sqlite3.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <random>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using framework::browse::BrowseEngine;
using framework::browse::ScrollEvent;

constexpr int kEmployees = 65535;
constexpr int kDepartments = 500;

// A surname for a number: three syllables, so the names spread over the key.
std::string surname(int n) {
    static const char* const syllables[] = {"Ба", "Во", "Ге", "Ди", "Ка", "Ле", "Ми", "Но",
                                            "Па", "Ро", "Се", "Ту", "Фе", "Ха", "Че", "Ши"};
    std::string name;
    for (int i = 0; i < 3; ++i, n /= 16) name += syllables[n % 16];
    return platform::ru(name + "ов");
}

int fill(storage::DataFile& file, int count, const std::function<void(storage::Record&, int)>& set) {
    if (int rc = file.create()) return rc;
    if (int rc = file.open()) return rc;
    if (int rc = file.begin()) return rc;
    for (int i = 1; i <= count; ++i) {
        file.record().clear();
        set(file.record(), i);
        if (int rc = file.add()) return rc;
    }
    if (int rc = file.commit()) return rc;
    return file.close();
}

struct Dataset {
    fs::path folder;
    bool owned = false;
    ~Dataset() {
        if (owned) fs::remove_all(folder);
    }
};

void prepare() {
    static Dataset d;
    if (const char* keep = std::getenv("TARVO_BENCH_DIR")) {
        d.folder = keep;
        fs::create_directories(d.folder);
    } else {
        std::string pattern = (fs::temp_directory_path() / "tarvo-employees-XXXXXX").string();
        if (!mkdtemp(pattern.data())) std::abort();
        d.folder = pattern;
        d.owned = true;
    }
    dostup::AccessFiles& files = dostup::accessFiles();
    for (storage::DataFile* file : {&files.mol, &files.mod, &files.katMol, &files.otdMol, &files.molLog,
                                    &files.molChange, &files.rightsLog})
        file->setName((d.folder / file->label()).string());
    refbooks::referenceFiles().price.setName((d.folder / "Price").string());
    if (fs::exists(d.folder / "MOL.db")) return;
    int rc = fill(files.otdMol, kDepartments, [](storage::Record& r, int i) {
        r.setValue("OMO:OTD_ID", std::to_string(i));
        r.setValue("OMO:NAME", platform::ru("Отдел ") + std::to_string(i));
    });
    rc = rc ? rc : fill(files.katMol, 10, [](storage::Record& r, int i) {
        r.setValue("KTM:COD", std::to_string(i));
        r.setValue("KTM:KATEG", platform::ru("Категория ") + std::to_string(i));
    });
    rc = rc ? rc : fill(files.mol, kEmployees, [](storage::Record& r, int i) {
        r.setValue("MOL:SCODE", std::to_string(i));
        r.setValue("MOL:LNAME", surname(i * 7919 % kEmployees));
        r.setValue("MOL:FNAME", platform::ru("Иван Петрович"));
        r.setValue("MOL:OTD_ID", std::to_string(i % kDepartments + 1));
        r.setValue("MOL:KATEGCODE", std::to_string(i % 10 + 1));
        r.setValue("MOL:BPHONE", "22-33-" + std::to_string(i % 100));
    });
    rc = rc ? rc : fill(files.molLog, 0, [](storage::Record&, int) {});
    rc = rc ? rc : fill(refbooks::referenceFiles().price, kEmployees, [](storage::Record& r, int i) {
        r.setValue("PRI:ID", std::to_string(i));
        r.setValue("PRI:NAME", platform::ru("Цена ") + std::to_string(i));
    });
    if (rc) {
        std::cerr << "employee_bench: cannot build the files (" << rc << ")\n";
        std::exit(1);
    }
}

// The same enciphered employee file in surname order without the per-row
// look-ups and the saved filter: what the joins themselves cost.
framework::browse::BrowseDefinition plainEmployees() {
    framework::browse::BrowseDefinition list{dostup::accessFiles().mol};
    list.sorts = {{"MOL:NAME_KEY", "", "", {}, "(mol:SCode>0)"}};
    list.columns = {{"MOL:LNAME", "Name", 111, "s40"}, {"MOL:BPHONE", "Phone", 37, "s15"}};
    return list;
}

// The same plain list in code order: the records of a page lie together in the
// file, as the price types of a page do, where surname order scatters them.
framework::browse::BrowseDefinition plainEmployeesByCode() {
    framework::browse::BrowseDefinition list = plainEmployees();
    list.sorts = {{"MOL:SCODE_KEY", "", "", {}, "(mol:SCode>0)"}};
    return list;
}

// Which list: 1 the employee list, 0 the price-type list, 2 the plain employee
// file by surname, 3 the plain employee file by code.
framework::browse::BrowseDefinition listOf(std::int64_t which) {
    if (which == 1) return staff::employeeList({});
    if (which == 2) return plainEmployees();
    if (which == 3) return plainEmployeesByCode();
    return refbooks::priceList([] {});
}

struct OpenList {
    bench::QuietListView view;
    std::unique_ptr<BrowseEngine> engine;
    explicit OpenList(std::int64_t which) {
        engine = std::make_unique<BrowseEngine>(listOf(which), view);
        engine->open();
        engine->windowOpened();
        settle();
    }
    ~OpenList() { engine->closeButton(); }
    void settle() { view.pump(*engine); }
};

// The programs keep a closed file a moment (storage/kept_files.h), so a list
// opened again soon after takes its files back as they were.
void Opening(benchmark::State& state) {
    for (auto _ : state) {
        OpenList list(state.range(0));
        benchmark::DoNotOptimize(list.engine->page().size());
    }
}
BENCHMARK(Opening)->ArgName("list")->Arg(1)->Arg(0)->Arg(2)->Unit(benchmark::kMicrosecond);

// The same with nothing kept: every file opened anew, as the first opening of
// a list after a pause.
void FirstOpening(benchmark::State& state) {
    storage::keepClosedFiles(std::chrono::milliseconds(0));
    for (auto _ : state) {
        OpenList list(state.range(0));
        benchmark::DoNotOptimize(list.engine->page().size());
    }
    storage::keepClosedFiles(storage::kKeptByThePrograms);
}
BENCHMARK(FirstOpening)->ArgName("list")->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

void PageDown(benchmark::State& state) {
    OpenList list(state.range(0));
    for (auto _ : state) {
        list.engine->scroll(ScrollEvent::PageDown);
        list.settle();
    }
}
BENCHMARK(PageDown)->ArgName("list")->Arg(1)->Arg(0)->Arg(2)->Arg(3)->Unit(benchmark::kMicrosecond)->Iterations(2000);

// Employees: to the department tab and back. Prices: two forced refreshes.
void TabChange(benchmark::State& state) {
    const bool employees = state.range(0) == 1;
    OpenList list(state.range(0));
    for (auto _ : state) {
        for (int tab : {2, 1}) {
            if (employees) {
                list.view.tab = tab;
                list.engine->tabChanged();
            } else {
                list.engine->forceRefresh();
            }
            list.settle();
        }
    }
}
BENCHMARK(TabChange)->ArgName("list")->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

// Employees: a surname typed into the search entry. Prices: the same locate on a code.
void Locate(benchmark::State& state) {
    const bool employees = state.range(0) == 1;
    OpenList list(state.range(0));
    std::mt19937 random(7);
    std::uniform_int_distribution<int> pick(1, kEmployees);
    for (auto _ : state) {
        const int n = pick(random);
        if (employees) {
            list.engine->definition().controls[staff::employee_list::kSearch].set(*list.engine, surname(n));
        } else {
            refbooks::referenceFiles().price.record().setValue("PRI:ID", std::to_string(n));
            list.engine->locateOnValue();
        }
        list.settle();
    }
}
BENCHMARK(Locate)->ArgName("list")->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

// The saved filter on: one category in ten passes, so a page reads about ten
// times its rows; the counter gives the rows read per page shown.
void SavedFilterPageDown(benchmark::State& state) {
    OpenList list(1);
    const std::string expression = "MOL:KATEGCODE = 3";
    std::strncpy(G_FilterStr, expression.c_str(), sizeof G_FilterStr - 1);
    list.engine->definition().controls[staff::employee_list::kFilterOn].set(*list.engine, "1");
    list.settle();
    for (auto _ : state) {
        list.engine->scroll(ScrollEvent::PageDown);
        list.settle();
    }
    G_FilterFlag = 0;
}
BENCHMARK(SavedFilterPageDown)->Unit(benchmark::kMicrosecond)->Iterations(500);

// One row of the employee list as the hand-written query gives it.
struct RawRow {
    std::int64_t rowId = 0;
    std::string key, name, firstNames, phone, department, category;
    int code = 0, departmentId = 0, categoryCode = 0;
};

std::string columnText(sqlite3_stmt* s, int column) {
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(s, column));
    return std::string(p ? p : "", static_cast<std::size_t>(sqlite3_column_bytes(s, column)));
}

void RawPageDown(benchmark::State& state) {
    const fs::path folder = fs::path(dostup::accessFiles().mol.name()).parent_path();
    const fs::path mol = folder / "MOL.db";
    sqlite3* db = nullptr;
    auto fail = [&](const char* what) {
        state.SkipWithError((std::string(what) + ": " + sqlite3_errmsg(db)).c_str());
    };
    if (sqlite3_open_v2(mol.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) return fail("open");
    const std::string key = storage::sqlite::keyStatement(dostup::ownerPasswordOf(dostup::molLayout()), mol);
    const std::string attach = "PRAGMA cache_size = -16384; ATTACH '" + (folder / "OtdMOL.db").string() +
                               "' AS otd KEY ''; ATTACH '" + (folder / "KatMOL.db").string() + "' AS kat KEY ''";
    if (sqlite3_exec(db, key.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK ||
        sqlite3_exec(db, attach.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
        return fail("key");
    const char* sql =
        "SELECT m.row_id, m.upper_LNAME, m.LNAME, m.FNAME, m.BPHONE, m.SCODE, m.OTD_ID, m.KATEGCODE, "
        "o.NAME, k.KATEG FROM MOL m LEFT JOIN otd.OtdMOL o ON o.OTD_ID = m.OTD_ID "
        "LEFT JOIN kat.KatMOL k ON k.COD = m.KATEGCODE "
        "WHERE (m.upper_LNAME, m.row_id) > (?1, ?2) AND m.SCODE > 0 "
        "ORDER BY m.upper_LNAME, m.row_id LIMIT 20";
    sqlite3_stmt* page = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &page, nullptr) != SQLITE_OK) return fail("prepare");
    std::vector<RawRow> rows;
    std::string after;
    std::int64_t afterRow = 0;
    for (auto _ : state) {
        sqlite3_bind_blob(page, 1, after.data(), static_cast<int>(after.size()), SQLITE_TRANSIENT);
        sqlite3_bind_int64(page, 2, afterRow);
        rows.clear();
        while (sqlite3_step(page) == SQLITE_ROW) {
            RawRow row;
            row.rowId = sqlite3_column_int64(page, 0);
            row.key = columnText(page, 1);
            row.name = columnText(page, 2);
            row.firstNames = columnText(page, 3);
            row.phone = columnText(page, 4);
            row.code = sqlite3_column_int(page, 5);
            row.departmentId = sqlite3_column_int(page, 6);
            row.categoryCode = sqlite3_column_int(page, 7);
            row.department = columnText(page, 8);
            row.category = columnText(page, 9);
            rows.push_back(std::move(row));
        }
        sqlite3_reset(page);
        // The next page after the last row; from the start again at the end.
        if (rows.size() < 20) {
            after.clear();
            afterRow = 0;
        } else {
            after = rows.back().key;
            afterRow = rows.back().rowId;
        }
        benchmark::DoNotOptimize(rows.data());
    }
    sqlite3_finalize(page);
    sqlite3_close(db);
}
BENCHMARK(RawPageDown)->Unit(benchmark::kMicrosecond)->Iterations(2000);

long residentKb() {
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// The whole employee list, page by page, from its first row to its last.
void WholeListMemory(benchmark::State& state) {
    for (auto _ : state) {
        OpenList list(1);
        const long before = residentKb();
        long pages = 0;
        std::string last;
        for (;;) {
            list.engine->scroll(ScrollEvent::PageDown);
            list.settle();
            ++pages;
            const std::string now = list.engine->highlighted("MOL:SCODE");
            if (now == last) break;
            last = now;
        }
        state.counters["pages"] = static_cast<double>(pages);
        state.counters["rss_growth_kB"] = static_cast<double>(residentKb() - before);
        state.counters["rss_start_kB"] = static_cast<double>(before);
    }
}
BENCHMARK(WholeListMemory)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
    platform::ScriptedUserServices quiet;
    platform::setUserServices(&quiet);
    benchmark::Initialize(&argc, argv);
    prepare();
    storage::keepClosedFiles(storage::kKeptByThePrograms);
    benchmark::RunSpecifiedBenchmarks();
    storage::closeKeptFiles();
    benchmark::Shutdown();
    platform::setUserServices(nullptr);
    return 0;
}
