// The rights check as every list opening and every insert, change and delete press
// asks it, and the rights grid of one category (a page of marks, a ban toggled):
// files open, a rights table of 100 categories by 1,000 reference-book objects.
#include "access/access_files.h"
#include "access/dostup.h"
#include "bench/data_folder.h"
#include "bench/quiet_list_view.h"
#include "framework/browse/browse_engine.h"
#include "framework/file_access.h"
#include "framework/shared_state.h"
#include "platform/cp1251.h"
#include "staff/d_rights_grid.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

std::string objectName(int id) { return "Object" + std::to_string(id); }

const std::filesystem::path& dataFolder() {
    static const std::filesystem::path& folder = bench::enterTemporaryDataFolder("tarvo-rights");
    return folder;
}

// Builds the data folder once per process, in a temporary folder.
void prepare() {
    static bool done = false;
    if (done) return;
    done = true;
    dataFolder();
    DOSTUP_INITDLL();
    auto& files = dostup::accessFiles();
    files.object.create();  // the bench's objects alone, not a new installation's
    for (storage::DataFile* f : {&files.mol, &files.object, &files.dostup}) framework::useFile(*f);

    storage::Record& mol = files.mol.record();
    mol.clear();
    mol.setValue("MOL:SCODE", "7");
    mol.setValue("MOL:KATEGCODE", "42");
    files.mol.add();

    files.object.begin();
    for (int id = 1; id <= 1000; ++id) {
        storage::Record& r = files.object.record();
        r.clear();
        r.setValue("OBJ:ID", std::to_string(id));
        r.setValue("OBJ:OBOZN", objectName(id));
        r.setValue("OBJ:TYPE", platform::ru("Справочник"));
        files.object.add();
    }
    files.object.commit();

    files.dostup.begin();
    for (int category = 0; category < 100; ++category)
        for (int id = 1; id <= 1000; ++id) {
            storage::Record& r = files.dostup.record();
            r.clear();
            r.setValue("DOS:KATEGCODE", std::to_string(category));
            r.setValue("DOS:OBJECTID", std::to_string(id));
            r.setValue("DOS:DELETEFLAG", (id + category) % 3 == 0 ? "1" : "0");
            files.dostup.add();
        }
    files.dostup.commit();
    g_SCode = 7;
}

void RightsCheckOfTheLoggedInOperator(benchmark::State& state) {
    prepare();
    int id = 1;
    for (auto _ : state) {
        benchmark::DoNotOptimize(DOSTOBJ(objectName(id).c_str(), nullptr));
        id = id % 1000 + 1;
    }
}
BENCHMARK(RightsCheckOfTheLoggedInOperator)->Unit(benchmark::kMicrosecond);

void RightsCheckWithAGivenCategory(benchmark::State& state) {
    prepare();
    const std::int16_t category = 42;
    int id = 1;
    for (auto _ : state) {
        benchmark::DoNotOptimize(DOSTOBJ(objectName(id).c_str(), &category));
        id = id % 1000 + 1;
    }
}
BENCHMARK(RightsCheckWithAGivenCategory)->Unit(benchmark::kMicrosecond);

// The same number of rights checks as the grid shows rows: the yardstick.
void RightsChecksForAPageOfRows(benchmark::State& state) {
    prepare();
    const std::int16_t category = 42;
    int id = 1;
    for (auto _ : state) {
        for (int row = 0; row < bench::QuietListView::kRows; ++row) {
            benchmark::DoNotOptimize(DOSTOBJ(objectName(id).c_str(), &category));
            id = id % 1000 + 1;
        }
    }
}
BENCHMARK(RightsChecksForAPageOfRows)->Unit(benchmark::kMicrosecond);

// The grid of category 42 filled again from its top: 20 rows with their marks.
void RightsGridPageOfMarks(benchmark::State& state) {
    prepare();
    framework::setRightsCheck([](const std::string&) { return std::int16_t{0}; });
    bench::QuietListView view;
    framework::browse::BrowseEngine grid(staff::rightsGrid(42, "Bench"), view);
    grid.open();
    grid.windowOpened();
    view.pump(grid);
    for (auto _ : state) {
        grid.restart();
        view.pump(grid);
    }
    grid.closeButton();
}
BENCHMARK(RightsGridPageOfMarks)->Unit(benchmark::kMicrosecond);

// A ban button pressed on the highlighted row: the row fetched, inverted and put
// back, and its marks shown again.
void RightsGridToggleBan(benchmark::State& state) {
    prepare();
    framework::setRightsCheck([](const std::string&) { return std::int16_t{0}; });
    bench::QuietListView view;
    framework::browse::BrowseEngine grid(staff::rightsGrid(42, "Bench"), view);
    grid.open();
    grid.windowOpened();
    view.pump(grid);
    view.highlighted = 5;
    for (auto _ : state) {
        grid.extraButton(2);
        view.pump(grid);
    }
    grid.closeButton();
}
BENCHMARK(RightsGridToggleBan)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
