// Driver options: the settings a file is opened with, changed by option strings
// sent to a file ("Recover=10") or set for the whole process before files open
// (a data directory on a network share needs "Journal=Rollback").
//
//   Recover=<seconds>   how long an operation waits for a file that another
//                       station holds locked before failing with 32 (at most a
//                       day; a longer wait is cut to a day)
//   Journal=WAL         write-ahead journal (default; files on local disks)
//   Journal=Rollback    rollback journal (files on a network share)
//   Sync=Normal|Full    Full waits for the disk on every committed write
#pragma once

#include <string_view>

namespace storage {

enum class JournalMode : unsigned char { Wal, Rollback };
enum class SyncMode : unsigned char { Normal, Full };

constexpr int kDefaultBusyWaitMs = 2000;
// The longest busy wait: a day. A longer Recover (or "inf") waits this long.
constexpr int kMaxBusyWaitMs = 86'400'000;

struct DriverOptions {
    int busyWaitMs = kDefaultBusyWaitMs;
    JournalMode journal = JournalMode::Wal;
    SyncMode sync = SyncMode::Normal;
    bool operator==(const DriverOptions&) const = default;
};

// Applies one option ("Recover=10", letter case ignored, blanks around the parts
// allowed). Returns false, changing nothing, for an option it does not know.
bool applyDriverOption(DriverOptions& options, std::string_view option);
// Applies options separated by ';' ("Journal=Rollback; Recover=5"); false when
// any of them is unknown (the known ones still apply).
bool applyDriverOptions(DriverOptions& options, std::string_view list);

// The options every file starts with: the built-in defaults, then the list in the
// environment variable TARVO_STORAGE_OPTIONS (so an installation on a network
// share can ask for the rollback journal without a rebuild), then whatever
// setDefaultDriverOption sets for the whole process.
DriverOptions defaultDriverOptions();
bool setDefaultDriverOption(std::string_view option);
void resetDefaultDriverOptions();

}  // namespace storage
