// Numbered inserts from 4 processes at once, as the storage benchmarks run them
// against either backend: each station numbers its records with the highest code
// + 1 and tries again on 40; afterwards every number must be there exactly once.
#pragma once

#include <benchmark/benchmark.h>

#include <string>

namespace bench {

// The benchmark: starts 4 copies of the running program with
// "--number <disk> 1000 <station>" and checks the file they filled.
void numberedInserts(benchmark::State& state, const std::string& disk);

// What such a copy does (its main() calls it for "--number"): returns its exit
// code and prints the number of retries.
int numberStation(const std::string& disk, int count, const std::string& station);

}  // namespace bench
