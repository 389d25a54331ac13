#include "bench/engine_pages.h"

#include "bench/bench_data.h"

#include <algorithm>

namespace bench {

void enginePages(benchmark::State& state, storage::DataFile& file, int key, Page page,
                 std::size_t rowsPerPage, const std::vector<std::int64_t>& codes,
                 const std::vector<std::string>& positions) {
    using storage::Direction;
    using storage::PageRequest;
    storage::Record value(itemLayout());
    std::vector<storage::PageRow> rows;
    std::size_t i = 0;
    for (auto _ : state) {
        const std::size_t a = i++ % codes.size();
        PageRequest r;
        r.key = &itemLayout().keys()[static_cast<std::size_t>(key)];
        r.count = rowsPerPage;
        switch (page) {
            case Page::First:
                break;
            case Page::Last:
                r.direction = Direction::Backward;
                break;
            case Page::Next:
            case Page::Previous:
                r.from = PageRequest::From::Position;
                r.position = positions[a];
                r.inclusive = false;
                r.direction = page == Page::Next ? Direction::Forward : Direction::Backward;
                break;
            case Page::Locate:
                setItem(value, codes[a]);
                r.from = PageRequest::From::KeyValue;
                r.value = &value;
                break;
        }
        if (file.readPage(r, rows) != 0 || rows.size() != rowsPerPage)
            state.SkipWithError("short page");
        benchmark::DoNotOptimize(rows.data());
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(rowsPerPage));
}

void loadWholeFile(benchmark::State& state, storage::DataFile& file, std::int64_t items) {
    for (auto _ : state) {
        const std::int64_t before = residentKilobytes();
        std::vector<storage::PageRow> rows;
        storage::PageRequest r;
        r.key = &itemLayout().keys()[0];
        r.count = static_cast<std::size_t>(items);
        if (file.readPage(r, rows) != 0 || rows.size() != static_cast<std::size_t>(items))
            state.SkipWithError("short load");
        benchmark::DoNotOptimize(rows.data());
        state.counters["rss_growth_kB"] = static_cast<double>(residentKilobytes() - before);
    }
}

void pageThroughWholeFile(benchmark::State& state, storage::DataFile& file, std::int64_t items,
                          std::size_t rowsPerPage) {
    const auto pageRows = static_cast<std::int64_t>(rowsPerPage);
    for (auto _ : state) {
        const std::int64_t before = residentKilobytes();
        std::int64_t peak = before, seen = 0;
        storage::PageRequest r;
        r.key = &itemLayout().keys()[1];
        r.count = rowsPerPage;
        std::vector<storage::PageRow> rows;
        for (;;) {
            if (file.readPage(r, rows) != 0) {
                state.SkipWithError("read failed");
                break;
            }
            if (rows.empty()) break;
            seen += static_cast<std::int64_t>(rows.size());
            r.from = storage::PageRequest::From::Position;
            r.position = rows.back().position;
            r.inclusive = false;
            if (seen % 100000 < pageRows) peak = std::max(peak, residentKilobytes());
        }
        if (seen != items) state.SkipWithError("not every record was seen");
        state.counters["pages"] = static_cast<double>(seen / pageRows);
        state.counters["rss_start_kB"] = static_cast<double>(before);
        state.counters["rss_growth_kB"] =
            static_cast<double>(std::max(peak, residentKilobytes()) - before);
    }
}

}  // namespace bench
