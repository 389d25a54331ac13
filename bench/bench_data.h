// The data of the storage benchmark: a file of items with a numeric key (CODE)
// and a text key (NAME), built through the engine, and a function that reads the
// process's resident memory.
#pragma once

#include "storage/data_file.h"

#include <cstdint>
#include <filesystem>
#include <string>

namespace bench {

// "Item", prefix ITM: CODE ULONG, NAME STRING(30), PRICE REAL, AMOUNT DECIMAL,
// NOTE CSTRING(41), FLAG BYTE. Keys CODE_KEY (unique, primary), NAME_KEY (unique).
const storage::RecordLayout& itemLayout();
// "Numbered", prefix NUM: CODE ULONG, STATION STRING(4). Key CODE_KEY (unique).
const storage::RecordLayout& numberedLayout();

// The name of item `code`: six pseudo-random capital letters and the code, so that
// name order and code order differ and every name is unique.
std::string itemName(std::int64_t code);
void setItem(storage::Record& record, std::int64_t code);

// Builds `count` items (codes 1..count) into a new file under `diskName`.
int buildItems(const std::string& diskName, std::int64_t count);

std::int64_t residentKilobytes();

// The folder of a benchmark's files: TARVO_BENCH_DIR (kept for later runs), or
// a new temporary folder named after `name`, which `owned` says to remove.
std::filesystem::path benchFolder(const std::string& name, bool& owned);

}  // namespace bench
