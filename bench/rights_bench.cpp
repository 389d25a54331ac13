// The rights check as every list opening and every insert, change and delete press
// asks it: files open, a rights table of 100 categories by 1,000 objects.
#include "access/access_files.h"
#include "access/dostup.h"
#include "framework/file_access.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

std::string objectName(int id) { return "Object" + std::to_string(id); }

std::filesystem::path& dataFolder() {
    static std::filesystem::path folder;
    return folder;
}

void removeDataFolder() {
    std::error_code ec;
    std::filesystem::current_path(std::filesystem::temp_directory_path(), ec);
    std::filesystem::remove_all(dataFolder(), ec);
}

// Builds the data folder once per process, in a temporary folder.
void prepare() {
    static bool done = false;
    if (done) return;
    done = true;
    std::string pattern = (std::filesystem::temp_directory_path() / "tarvo-rights-XXXXXX").string();
    if (!mkdtemp(pattern.data())) std::abort();
    dataFolder() = pattern;
    std::atexit(removeDataFolder);
    std::filesystem::create_directories(std::filesystem::path(pattern) / "Dat");
    std::filesystem::current_path(pattern);
    DOSTUP_INITDLL();
    auto& files = dostup::accessFiles();
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

}  // namespace

BENCHMARK_MAIN();
