// Opening data files: the file-open check, which creates a missing file and
// repairs damaged keys, and the user counts through which the procedures of a
// deliverable share its open files (the first user opens, the last one closes).
#pragma once

#include "storage/backend.h"

#include <functional>

namespace storage {
class DataFile;
}

namespace framework {

struct OpenCheck {
    bool createAllowed = true;
    bool noCreateOverride = false;
    int mode = storage::kOpenReadWriteShared;
    bool shared = true;  // shared opens read and write for everyone (66)
    // A failure it cannot mend ends the program after its message; without it the
    // open returns false, shows nothing more and leaves the error in the file.
    bool endOnFailure = true;
};

// Opens the file, creating it when it is missing and rebuilding its keys when
// they are damaged (after asking). With endOnFailure it returns only when the file
// is open: every failure it cannot mend shows its standard message and ends the
// program. Otherwise it returns whether the file is open.
bool checkOpen(storage::DataFile& file, const OpenCheck& check = {});

// What a deliverable puts into one of its files when the file-open check has just
// created it (the registered access objects of a new installation). Records that
// another station added first are refused by their keys and skipped.
using NewFileFiller = std::function<void(storage::DataFile& file)>;
void setNewFileFiller(const storage::DataFile& file, NewFileFiller fill);

// What a deliverable does each time one of its files is opened for its first
// user (moving the journal entries a killed process left held in it).
using OpenedHook = std::function<void(storage::DataFile& file)>;
void setOpenedHook(const storage::DataFile& file, OpenedHook hook);

// User counts. useFile opens the file through the file-open check when nobody in
// this deliverable uses it yet; releaseFile closes it when the last user leaves.
void useFile(storage::DataFile& file);
// useFile for a reader that must go on when the file cannot be opened (the rights
// check): false, counting nothing, when the open failed; the error stays in the
// file and the next call tries again.
bool tryUseFile(storage::DataFile& file);
void releaseFile(storage::DataFile& file);
long userCount(const storage::DataFile& file);

// Takes a file into use for the lifetime of the object: every way out of a
// procedure releases what it counted.
class FileUse {
public:
    explicit FileUse(storage::DataFile& file) : file_(&file) { useFile(file); }
    ~FileUse() { release(); }
    FileUse(const FileUse&) = delete;
    FileUse& operator=(const FileUse&) = delete;
    void release() {
        if (file_) releaseFile(*file_);
        file_ = nullptr;
    }

private:
    storage::DataFile* file_;
};

}  // namespace framework
