// Adding an entry to a journal keyed by the date and time of the entry (the
// employees' change log, the rights journal).
#pragma once

namespace storage {
class DataFile;
class Record;
}  // namespace storage

namespace dostup {

// The last clock value of a day: hundredths of a second since midnight, plus one.
inline constexpr long long kLastTimeOfDay = 8'640'000;

// Adds `entry` to the journal. A key taken already (two entries in one hundredth
// of a second) moves the entry to the next free hundredth: the key stays unique
// and ordered, and no entry is lost. The journal's buffer is left as it was.
// 0 or the storage's error code.
int addDatedEntry(storage::DataFile& journal, const storage::Record& entry, const char* dateField,
                  const char* timeField);

}  // namespace dostup
