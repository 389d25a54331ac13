// Everything a folder holds, to show that an operation left it as it was: each
// entry's relative path, kind, contents and modification time.
#pragma once

#include <filesystem>
#include <map>
#include <string>

namespace testing_support {

struct EntryState {
    bool folder = false;
    std::string contents;
    std::filesystem::file_time_type modified;
    bool operator==(const EntryState&) const = default;
};

using FolderSnapshot = std::map<std::string, EntryState>;

// Every entry under `folder`, recursively; empty when the folder does not exist.
FolderSnapshot snapshotOf(const std::filesystem::path& folder);

}  // namespace testing_support
