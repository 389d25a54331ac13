#include "tests/storage/storage_target.h"

#include "tests/helpers/temp_folder.h"

#include <filesystem>

namespace storage_tests {

namespace {

class SqliteSpace final : public TargetSpace {
public:
    SqliteSpace() { std::filesystem::create_directories(folder_.path() / "dat"); }
    std::string diskName(std::string_view file) const override {
        return ".\\dat\\" + std::string(file);
    }

private:
    testing_support::TempFolder folder_;
};

}  // namespace

std::vector<StorageTarget> storageTargets() {
    return {StorageTarget{"SQLite", [] { return std::make_unique<SqliteSpace>(); }}};
}

std::unique_ptr<storage::DataFile> fileIn(const TargetSpace& space,
                                          const storage::RecordLayout& layout,
                                          std::string_view file) {
    auto f = std::make_unique<storage::DataFile>(layout);
    f->setName(space.diskName(file.empty() ? std::string_view(layout.diskName()) : file));
    return f;
}

}  // namespace storage_tests
