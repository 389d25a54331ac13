// The page benchmark through the storage engine, shared by the SQLite and the
// PostgreSQL benchmarks: one page of rows of the item file per iteration, from a
// different anchor each time.
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

}  // namespace bench
