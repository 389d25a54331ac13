#include "tests/helpers/folder_snapshot.h"

#include <fstream>
#include <iterator>

namespace testing_support {

FolderSnapshot snapshotOf(const std::filesystem::path& folder) {
    namespace fs = std::filesystem;
    FolderSnapshot snapshot;
    if (!fs::exists(folder)) return snapshot;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder)) {
        EntryState state;
        state.folder = entry.is_directory();
        state.modified = entry.last_write_time();
        if (!state.folder) {
            std::ifstream in(entry.path(), std::ios::binary);
            state.contents.assign(std::istreambuf_iterator<char>(in), {});
        }
        snapshot[fs::relative(entry.path(), folder).string()] = std::move(state);
    }
    return snapshot;
}

}  // namespace testing_support
