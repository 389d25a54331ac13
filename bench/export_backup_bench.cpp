// Taking a list into a spreadsheet and backing a file up, each beside what it is
// measured against in the same run:
//   ExportXlsx / PageThrough   a list of 65,535 records into XLSX (and CSV), against paging
//                              through the same list once (20 rows a page);
//                              "rss_growth_kb" is the growth of resident memory
//   Backup / PlainCopy         the 1,000,000-record file copied through SQLite's
//                              online backup (with its record count), against a
//                              plain copy of the database file
//
//   export_backup_bench          builds the files in a temporary folder, removes them
//   TARVO_BENCH_DIR=<folder>     keeps them there and reuses them on later runs
#include "bench/bench_data.h"
#include "bench/quiet_list_view.h"
#include "framework/browse/browse_engine.h"
#include "framework/spreadsheet/list_export.h"
#include "storage/file_copy.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>

namespace {

namespace fs = std::filesystem;
using framework::browse::BrowseDefinition;
using framework::browse::BrowseEngine;

constexpr std::int64_t kListItems = 65'535;
constexpr std::int64_t kFileItems = 1'000'000;

struct Dataset {
    fs::path folder;
    bool owned = false;
    std::unique_ptr<storage::DataFile> list;
    ~Dataset() {
        list.reset();
        if (owned) fs::remove_all(folder);
    }
};

Dataset& dataset() {
    static Dataset d;
    static const bool ready = [] {
        d.folder = bench::benchFolder("export", d.owned);
        for (const auto& [name, count] : {std::pair{"Item65535", kListItems}, std::pair{"Item", kFileItems}})
            if (!fs::exists(d.folder / (std::string(name) + ".db")) &&
                bench::buildItems((d.folder / name).string(), count) != 0) {
                std::cerr << "export_backup_bench: cannot build " << name << "\n";
                std::exit(1);
            }
        d.list = std::make_unique<storage::DataFile>(bench::itemLayout());
        d.list->setName((d.folder / "Item65535").string());
        return true;
    }();
    (void)ready;
    return d;
}

BrowseDefinition itemList() {
    BrowseDefinition list{*dataset().list};
    list.title = "Items";
    list.sorts = {{"ITM:NAME_KEY", {}, "ITM:NAME"}};
    list.columns = {{"ITM:CODE", "Code", 30, "n9"},       {"ITM:NAME", "Name", 100, "s30"},
                    {"ITM:PRICE", "Price", 50, "n12.2"},  {"ITM:AMOUNT", "Amount", 50, "n15.2"},
                    {"ITM:NOTE", "Note", 100, "s41"},     {"ITM:FLAG", "Flag", 20, "n3"}};
    return list;
}

void exportAs(benchmark::State& state, framework::spreadsheet::TableFormat format, const char* name) {
    bench::QuietListView view;
    BrowseEngine list(itemList(), view);
    list.open();
    list.windowOpened();
    const fs::path target = dataset().folder / name;
    const std::int64_t before = bench::residentKilobytes();
    long rows = 0;
    for (auto _ : state)
        rows = framework::spreadsheet::exportList(list, target.string(), format).rows;
    state.counters["rows"] = static_cast<double>(rows);
    state.counters["rss_growth_kb"] = static_cast<double>(bench::residentKilobytes() - before);
    fs::remove(target);
    list.closeButton();
}
void ExportXlsx(benchmark::State& state) {
    exportAs(state, framework::spreadsheet::TableFormat::Xlsx, "export.xlsx");
}
BENCHMARK(ExportXlsx)->Unit(benchmark::kMillisecond)->Iterations(3);

void ExportCsv(benchmark::State& state) { exportAs(state, framework::spreadsheet::TableFormat::Csv, "export.csv"); }
BENCHMARK(ExportCsv)->Unit(benchmark::kMillisecond)->Iterations(3);

void PageThrough(benchmark::State& state) {
    bench::QuietListView view;
    BrowseEngine list(itemList(), view);
    list.open();
    list.windowOpened();
    long pages = 0;
    for (auto _ : state) {
        list.scroll(framework::browse::ScrollEvent::FirstPage);
        view.pump(list);
        pages = 0;
        // Down a page until the page no longer moves: the end of the list.
        for (long guard = 0; guard < kListItems; ++guard) {
            const std::string first = list.page().empty() ? std::string() : list.page().row(1).position;
            list.scroll(framework::browse::ScrollEvent::PageDown);
            view.pump(list);
            if (list.page().empty() || list.page().row(1).position == first) break;
            ++pages;
        }
    }
    state.counters["pages"] = static_cast<double>(pages);
    list.closeButton();
}
BENCHMARK(PageThrough)->Unit(benchmark::kMillisecond)->Iterations(3);

void Backup(benchmark::State& state) {
    dataset();
    const fs::path target = dataset().folder / "backup-copy.db";
    long records = 0;
    for (auto _ : state) {
        fs::remove(target);
        if (storage::copyDataFile((dataset().folder / "Item").string(), "", target, records).code != 0)
            state.SkipWithError("the copy failed");
    }
    state.counters["records"] = static_cast<double>(records);
    fs::remove(target);
}
BENCHMARK(Backup)->Unit(benchmark::kMillisecond)->Iterations(3);

void PlainCopy(benchmark::State& state) {
    dataset();
    const fs::path target = dataset().folder / "plain-copy.db";
    for (auto _ : state) {
        fs::remove(target);
        fs::copy_file(dataset().folder / "Item.db", target);
    }
    fs::remove(target);
}
BENCHMARK(PlainCopy)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
