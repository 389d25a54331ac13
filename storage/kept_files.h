// Files closed a moment ago, kept open underneath for the next opening of the
// same file in the same way.
//
// A window takes its files into use when it opens and lets them go when it
// closes, and the rights checks, look-ups and journals of one action open and
// close the same few files again and again. On SQLite every opening of a file
// costs a connection, the write-ahead journal and its shared index made and
// removed again, the key and the check of the table against its layout: about
// a millisecond a file. A process that keeps closed files keeps that work for a
// short time (half a second in the programs) and lets the files go when the
// time is over, so that another station asking for a file alone (a rebuild of
// the keys, a restore) still gets it within its busy wait.
//
// Kept files hold no transaction and no read snapshot: a kept file reads what
// other stations wrote meanwhile like any open file. Off by default (every
// close closes); the programs turn it on and call closeIdleKeptFiles from a
// timer of their event loop. Files on a database server are not kept.
#pragma once

#include <chrono>
#include <filesystem>

namespace storage {

// The programs' keeping time: well under the shortest busy wait another station
// uses by default (2 s), with the programs' timer period (a quarter second) added.
constexpr std::chrono::milliseconds kKeptByThePrograms{500};

// How long a closed file is kept; zero turns keeping off and closes what is kept.
void keepClosedFiles(std::chrono::milliseconds howLong);
std::chrono::milliseconds closedFilesKeptFor();

// Closes the files kept longer than the keeping time.
void closeIdleKeptFiles();
// Closes every kept file, or the kept openings of one database file (its path
// as the file system names it): before the file is replaced, rebuilt or taken
// alone by this process.
void closeKeptFiles();
void closeKeptFiles(const std::filesystem::path& databaseFile);

// How many closed files are kept now (for the tests and the benchmarks).
std::size_t keptFileCount();

}  // namespace storage
