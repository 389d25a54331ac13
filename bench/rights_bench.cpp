// The rights check as every list opening and every insert, change and delete press
// asks it, and the rights grid of one category (a page of marks, a ban toggled):
// files open, a rights table of 100 categories by 1,000 reference-book objects.
// The grid page and its yardstick also run on a table of 50 categories by 200
// objects (arguments objects:200/categories:50), built in a data folder of its own.
#include "access/access_files.h"
#include "access/dostup.h"
#include "bench/data_folder.h"
#include "bench/quiet_list_view.h"
#include "framework/browse/browse_engine.h"
#include "framework/file_access.h"
#include "framework/shared_state.h"
#include "platform/cp1251.h"
#include "platform/fixed_text.h"
#include "platform/paths.h"
#include "staff/d_rights_grid.h"
#include "storage/kept_files.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace {

std::string objectName(int id) { return "Object" + std::to_string(id); }

// A rights table: its size and the data folder it is built in.
struct RightsTable {
    int objects = 1000;
    int categories = 100;
    std::string folder() const {
        if (objects == 1000 && categories == 100) return ".\\Dat\\";
        return ".\\Dat" + std::to_string(objects) + "x" + std::to_string(categories) + "\\";
    }
};

RightsTable tableOf(const benchmark::State& state) {
    return {static_cast<int>(state.range(0)), static_cast<int>(state.range(1))};
}

const std::filesystem::path& dataFolder() {
    static const std::filesystem::path& folder = bench::enterTemporaryDataFolder("tarvo-rights");
    return folder;
}

std::vector<storage::DataFile*> heldFiles() {
    auto& files = dostup::accessFiles();
    return {&files.mol, &files.object, &files.dostup};
}

// Fills the files of the current data folder: one operator of category 42, the
// objects (reference books alone, not a new installation's) and every category's
// rights to every object. The files stay open.
void build(const RightsTable& table) {
    auto& files = dostup::accessFiles();
    files.object.create();
    for (storage::DataFile* f : heldFiles()) framework::useFile(*f);

    storage::Record& mol = files.mol.record();
    mol.clear();
    mol.setValue("MOL:SCODE", "7");
    mol.setValue("MOL:KATEGCODE", "42");
    files.mol.add();

    files.object.begin();
    for (int id = 1; id <= table.objects; ++id) {
        storage::Record& r = files.object.record();
        r.clear();
        r.setValue("OBJ:ID", std::to_string(id));
        r.setValue("OBJ:OBOZN", objectName(id));
        r.setValue("OBJ:TYPE", platform::ru("Справочник"));
        files.object.add();
    }
    files.object.commit();

    files.dostup.begin();
    for (int category = 0; category < table.categories; ++category)
        for (int id = 1; id <= table.objects; ++id) {
            storage::Record& r = files.dostup.record();
            r.clear();
            r.setValue("DOS:KATEGCODE", std::to_string(category));
            r.setValue("DOS:OBJECTID", std::to_string(id));
            r.setValue("DOS:DELETEFLAG", (id + category) % 3 == 0 ? "1" : "0");
            files.dostup.add();
        }
    files.dostup.commit();
}

// Points the library at the table's data folder, building it the first time in
// this process, with Object, Dostup and the employee file held open.
void prepare(const RightsTable& table = {}) {
    static std::string current;
    static std::set<std::string> built;
    const std::string folder = table.folder();
    if (folder == current) return;
    dataFolder();
    if (!current.empty())
        for (storage::DataFile* f : heldFiles()) framework::releaseFile(*f);
    current = folder;
    platform::writeCString(g_BasePath, folder);
    DOSTUP_INITDLL();
    std::filesystem::create_directories(platform::hostPath(folder));
    if (built.insert(folder).second)
        build(table);
    else
        for (storage::DataFile* f : heldFiles()) framework::useFile(*f);
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
    const RightsTable table = tableOf(state);
    prepare(table);
    const std::int16_t category = 42;
    int id = 1;
    for (auto _ : state) {
        for (int row = 0; row < bench::QuietListView::kRows; ++row) {
            benchmark::DoNotOptimize(DOSTOBJ(objectName(id).c_str(), &category));
            id = id % table.objects + 1;
        }
    }
}
BENCHMARK(RightsChecksForAPageOfRows)
    ->ArgNames({"objects", "categories"})->Args({1000, 100})->Args({200, 50})
    ->Unit(benchmark::kMicrosecond);

// The grid of category 42 filled again from its top: 20 rows with their marks.
void RightsGridPageOfMarks(benchmark::State& state) {
    prepare(tableOf(state));
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
BENCHMARK(RightsGridPageOfMarks)
    ->ArgNames({"objects", "categories"})->Args({1000, 100})->Args({200, 50})
    ->Unit(benchmark::kMicrosecond);

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

// The programs keep a closed file a moment (storage/kept_files.h): the rights
// journal a toggle opens and closes again is taken back as it was.
int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    storage::keepClosedFiles(storage::kKeptByThePrograms);
    benchmark::RunSpecifiedBenchmarks();
    storage::keepClosedFiles(std::chrono::milliseconds(0));
    benchmark::Shutdown();
    return 0;
}
