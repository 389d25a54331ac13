#include "bench/engine_pages.h"

#include "bench/bench_data.h"

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

}  // namespace bench
