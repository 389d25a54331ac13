// Writes the sample reference books into the program's own data files through
// the program's file objects, with the records and keys its books use: the
// organisations, price types, currencies with a year of exchange rates, stores
// and operation types.
#pragma once

#include "demo/data_presence.h"

#include <vector>

namespace demo {

// The program's six reference files under the names start-up gave them.
std::vector<DataFileRef> programDataFiles();

// Writes every book; false when a record was refused (the standard message told
// why). The files are expected to be absent (see occupancy()).
bool writeSampleReferenceBooks();

}  // namespace demo
