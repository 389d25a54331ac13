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

// The organisation requisites the staff documents print (section "KELM" of the
// program's INI file), from the first sample organisation; a key the file holds
// already is left as the operator set it.
void writeSampleRequisites(const std::string& iniFile);

}  // namespace demo
