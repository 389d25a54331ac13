// Backups of all the data: a consistent copy of every data file of the program
// and of the library, with the INI files beside them and a manifest of each
// file's records and SHA-256, in a dated folder that appears only once the copy
// is complete and checked. Restoring puts a checked copy back in place of the
// data, keeping the data it replaces aside.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace backup {

// A data file as the program names it (disk name, code page 1251), with the
// owner password of a protected file.
struct DataFileName {
    std::string diskName;
    std::string ownerPassword;
};

// One line of the manifest.
struct ManifestEntry {
    std::string copy;      // the copy's path inside the backup folder ("data/MOL.db")
    std::string original;  // the data file's disk name, or the INI file's name
    long records = -1;     // -1 for an INI file
    std::string sha256;
};

struct BackupOutcome {
    std::string folder;  // the backup's folder, a host path
    std::vector<ManifestEntry> entries;
    std::string error;  // code page 1251; empty when the backup is complete
};

// The name of a backup taken at this moment: "2026-12-09_1530".
std::string backupName(std::int32_t day, std::int32_t clock);

// Copies every existing file of `files` and every existing INI file of
// `iniFiles` (in the working folder) into a new folder of `directory` (a host
// path) named after the moment, checks the copy and writes its manifest.txt.
// `progress(file)` runs before each file; false cancels. A failure or a cancel
// leaves no backup folder behind, and the data is never touched.
BackupOutcome takeBackup(const std::vector<DataFileName>& files, const std::vector<std::string>& iniFiles,
                         const std::string& directory, std::int32_t day, std::int32_t clock,
                         const std::function<bool(const std::string& file)>& progress = {});

// Reads a backup's manifest; false with `error` when it is missing or not one.
bool readManifest(const std::string& folder, std::vector<ManifestEntry>& entries, std::string& error);

}  // namespace backup
