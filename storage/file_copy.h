// Copies of data files for backups: a consistent copy of one file's database,
// taken through SQLite's online backup while other stations go on working, and
// the check of a copy. Protected files stay enciphered in the copy (the copy is
// keyed from the same owner password). Files on a database server are not
// copied this way.
#pragma once

#include "storage/errors.h"

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

namespace storage {

// The host path of the database that keeps a file of this disk name on the
// embedded backend (".\Dat\MOL" → "Dat/MOL.db").
std::filesystem::path databaseFileOf(std::string_view diskName);

// Copies the file's database to `target` (which must not exist) as it stands at
// one moment, in steps of a few pages so that writers wait at most one step, and
// counts the records of the copy. 2 when the file does not exist.
ErrorState copyDataFile(std::string_view diskName, const std::string& ownerPassword,
                        const std::filesystem::path& target, long& records);

// Opens a copy as a reader would: its integrity check says "ok" and its records
// are counted.
ErrorState checkCopiedFile(const std::filesystem::path& copy, const std::string& ownerPassword,
                           long& records);

// The SHA-256 of a file's bytes in lower-case hexadecimal; empty when it cannot
// be read.
std::string sha256OfFile(const std::filesystem::path& file);

// Holds a data file alone for as long as the object lives or until release():
// taking it fails (32) while another station has the file open, after a short
// wait. A file that does not exist is held trivially.
class FileHold {
public:
    FileHold();
    ~FileHold();
    FileHold(FileHold&&) noexcept;
    FileHold& operator=(FileHold&&) noexcept;
    ErrorState take(std::string_view diskName, const std::string& ownerPassword);
    void release();

private:
    struct Held;
    std::unique_ptr<Held> held_;
};

}  // namespace storage
