#include "bench/data_folder.h"

#include <cstdlib>
#include <stdlib.h>
#include <string>

namespace bench {

namespace {

std::filesystem::path& folder() {
    static std::filesystem::path path;
    return path;
}

void removeFolder() {
    std::error_code ec;
    std::filesystem::current_path(std::filesystem::temp_directory_path(), ec);
    std::filesystem::remove_all(folder(), ec);
}

}  // namespace

const std::filesystem::path& enterTemporaryDataFolder(const char* prefix) {
    std::string pattern = (std::filesystem::temp_directory_path() / (std::string(prefix) + "-XXXXXX")).string();
    if (!mkdtemp(pattern.data())) std::abort();
    folder() = pattern;
    std::atexit(removeFolder);
    std::filesystem::create_directories(folder() / "Dat");
    std::filesystem::current_path(folder());
    return folder();
}

}  // namespace bench
