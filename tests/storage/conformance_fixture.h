// The fixture of the storage conformance suite: one fresh target space per test,
// with functions that create, open and fill files.
#pragma once

#include "tests/storage/storage_target.h"
#include "tests/storage/test_layouts.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace storage_tests {

class StorageConformance : public ::testing::TestWithParam<StorageTarget> {
protected:
    void SetUp() override { space_ = GetParam().makeSpace(); }
    void TearDown() override { space_.reset(); }

    const TargetSpace& space() const { return *space_; }
    std::string diskName(std::string_view file) const { return space_->diskName(file); }

    // A new empty file of the layout, open for reading and writing.
    std::unique_ptr<storage::DataFile> createOpen(const storage::RecordLayout& layout,
                                                  std::string_view password = {}) {
        auto f = fileIn(*space_, layout);
        f->setOwnerPassword(password);
        EXPECT_EQ(f->create(), 0) << f->driverErrorText();
        EXPECT_EQ(f->open(), 0) << f->driverErrorText();
        return f;
    }
    // Another file object (another station's buffer) on the same file, open.
    std::unique_ptr<storage::DataFile> openAgain(const storage::RecordLayout& layout,
                                                 std::string_view password = {}) {
        auto f = fileIn(*space_, layout);
        f->setOwnerPassword(password);
        EXPECT_EQ(f->open(), 0) << f->driverErrorText();
        return f;
    }

private:
    std::unique_ptr<TargetSpace> space_;
};

// The first field (the code) of every record read by `step` until 33.
template <typename Step>
std::vector<std::int64_t> codesUntilEnd(storage::DataFile& f, Step step) {
    std::vector<std::int64_t> codes;
    while (step(f) == 0) codes.push_back(code(f.record()));
    EXPECT_EQ(f.errorCode(), 33);
    return codes;
}

inline int readNext(storage::DataFile& f) { return f.next(); }
inline int readPrevious(storage::DataFile& f) { return f.previous(); }

}  // namespace storage_tests
