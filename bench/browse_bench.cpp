// The browse engine on a file of 1,000,000 records: opening a list, page down,
// page up, last page and locating through the scroll thumb, beside the storage
// engine's own keyset page read of the same 20 records (which the storage
// benchmark compares with the query written by hand against SQLite).
//
//   browse_bench                 builds the file in a temporary folder, runs, removes it
//   TARVO_BENCH_DIR=<folder>     keeps the file there and reuses it on later runs
#include "bench/bench_data.h"
#include "framework/browse/browse_engine.h"
#include "bench/quiet_list_view.h"
#include "platform/user_services.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>
#include <random>

namespace {

namespace fs = std::filesystem;
using framework::browse::BrowseDefinition;
using framework::browse::BrowseEngine;
using framework::browse::ScrollEvent;

constexpr std::int64_t kItems = 1'000'000;
constexpr int kRows = bench::QuietListView::kRows;

struct Dataset {
    fs::path folder;
    bool owned = false;
    std::unique_ptr<storage::DataFile> file;
    ~Dataset() {
        file.reset();
        if (owned) fs::remove_all(folder);
    }
};

Dataset& dataset() {
    static Dataset d;
    static const bool ready = [] {
        d.folder = bench::benchFolder("browse", d.owned);
        const std::string diskName = (d.folder / "Item").string();
        if (!fs::exists(d.folder / "Item.db") && bench::buildItems(diskName, kItems) != 0) {
            std::cerr << "browse_bench: cannot build the file\n";
            std::exit(1);
        }
        d.file = std::make_unique<storage::DataFile>(bench::itemLayout());
        d.file->setName(diskName);
        return true;
    }();
    (void)ready;
    return d;
}

BrowseDefinition itemList() {
    BrowseDefinition list{*dataset().file};
    list.sorts = {{"ITM:CODE_KEY", "", "ITM:CODE"}};
    list.columns = {{"ITM:CODE", "Code", 40, "n_9"}, {"ITM:NAME", "Name", 120, "s30"},
                    {"ITM:PRICE", "Price", 50, "n12.2"}};
    list.updateForm = [] {};
    return list;
}

// An open list with its first page built, as the window shows it.
struct OpenList {
    bench::QuietListView view;
    BrowseEngine engine{itemList(), view};
    OpenList() {
        engine.open();
        engine.windowOpened();
        settle();
    }
    ~OpenList() { engine.closeButton(); }
    void settle() { view.pump(engine); }
};

void OpeningAList(benchmark::State& state) {
    for (auto _ : state) {
        OpenList list;
        benchmark::DoNotOptimize(list.engine.page().size());
    }
}
BENCHMARK(OpeningAList)->Unit(benchmark::kMicrosecond);

void PageDown(benchmark::State& state) {
    OpenList list;
    const std::int64_t before = bench::residentKilobytes();
    for (auto _ : state) {
        list.engine.scroll(ScrollEvent::PageDown);
        list.settle();
    }
    state.counters["resident_growth_kB"] =
        static_cast<double>(bench::residentKilobytes() - before);
}
BENCHMARK(PageDown)->Unit(benchmark::kMicrosecond)->Iterations(20000);

void PageUp(benchmark::State& state) {
    OpenList list;
    list.engine.scroll(ScrollEvent::LastPage);
    list.settle();
    for (auto _ : state) {
        list.engine.scroll(ScrollEvent::PageUp);
        list.settle();
    }
}
BENCHMARK(PageUp)->Unit(benchmark::kMicrosecond)->Iterations(20000);

void LastPage(benchmark::State& state) {
    OpenList list;
    for (auto _ : state) {
        list.engine.scroll(ScrollEvent::LastPage);
        list.settle();
    }
}
BENCHMARK(LastPage)->Unit(benchmark::kMicrosecond);

void LocateThroughTheThumb(benchmark::State& state) {
    OpenList list;
    std::mt19937 random(7);
    std::uniform_int_distribution<int> position(2, 99);
    for (auto _ : state) {
        list.engine.thumbReleased(position(random));
        list.settle();
    }
}
BENCHMARK(LocateThroughTheThumb)->Unit(benchmark::kMicrosecond);

// The baseline: the storage engine's keyset read of 20 records after a random code.
void KeysetPageOfTheStorageEngine(benchmark::State& state) {
    OpenList list;  // keeps the file open
    storage::DataFile& file = *dataset().file;
    std::mt19937_64 random(42);
    std::uniform_int_distribution<std::int64_t> pick(1, kItems - kRows);
    storage::Record value(bench::itemLayout());
    std::vector<storage::PageRow> rows;
    for (auto _ : state) {
        bench::setItem(value, pick(random));
        storage::PageRequest request;
        request.key = &bench::itemLayout().keys()[0];
        request.from = storage::PageRequest::From::KeyValue;
        request.value = &value;
        request.count = kRows;
        file.readPage(request, rows);
        benchmark::DoNotOptimize(rows.data());
    }
}
BENCHMARK(KeysetPageOfTheStorageEngine)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    platform::ScriptedUserServices quiet;  // no boxes: a read error would show in the figures
    platform::setUserServices(&quiet);
    benchmark::Initialize(&argc, argv);
    dataset();  // the file is built before anything is measured
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    platform::setUserServices(nullptr);
    return 0;
}
