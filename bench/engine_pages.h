// The benchmarks through the storage engine shared by the SQLite and the
// PostgreSQL benchmarks: pages of the item file from different anchors, the whole
// file in one read, and paging through the whole file with its memory figures.
#pragma once

#include "storage/data_file.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

namespace bench {

enum class Page { First, Next, Previous, Last, Locate };

// `key` is 0 for CODE_KEY, 1 for NAME_KEY; `codes` are existing codes and
// `positions` their positions by that key (the anchors of Next, Previous, Locate).
void enginePages(benchmark::State& state, storage::DataFile& file, int key, Page page,
                 std::size_t rowsPerPage, const std::vector<std::int64_t>& codes,
                 const std::vector<std::string>& positions);

// The whole file of `items` records by CODE_KEY in one read; counter rss_growth_kB.
void loadWholeFile(benchmark::State& state, storage::DataFile& file, std::int64_t items);

// Every record by NAME_KEY, one page in memory at a time; counters pages,
// rss_start_kB and rss_growth_kB (the peak over the run).
void pageThroughWholeFile(benchmark::State& state, storage::DataFile& file, std::int64_t items,
                          std::size_t rowsPerPage);

}  // namespace bench
