// A data file as the records of a report, over a real file.
#include "framework/data_file_source.h"

#include "framework/file_access.h"
#include "platform/user_services.h"
#include "refbooks/ref_layouts.h"
#include "storage/data_file.h"
#include "tests/helpers/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

class DataFileSourceTest : public ::testing::Test {
protected:
    DataFileSourceTest() {
        std::filesystem::create_directories(folder.path() / "Dat");
        typeOp.setName(".\\Dat\\TypeOp");
    }

    void add(int id) {
        typeOp.record().clear();
        typeOp.record().setValue("TOP:ID", std::to_string(id));
        typeOp.record().setValue("TOP:NAME", "Type " + std::to_string(id));
        ASSERT_EQ(typeOp.add(), 0) << typeOp.driverErrorText();
    }

    std::vector<int> readAll(framework::DataFileSource& source) {
        std::vector<int> ids;
        EXPECT_EQ(source.start(), 0);
        while (source.next() == 0)
            ids.push_back(std::stoi(*typeOp.record().value("TOP:ID")));
        EXPECT_EQ(source.lastError().code, storage::error::kRecordNotAvailable);
        return ids;
    }

    testing_support::TempFolder folder;
    platform::ScopedScriptedServices services;
    storage::DataFile typeOp{refbooks::typeOpLayout()};
};

TEST_F(DataFileSourceTest, ReadsInKeyOrderAndCountsEveryRecord) {
    framework::FileUse use(typeOp);
    for (int id : {30, 10, 20, 5}) add(id);
    for (int id = 100; id < 1300; ++id) add(id);  // more than one counting page

    framework::DataFileSource source(typeOp, typeOp.layout().key("ID_KEY"));
    EXPECT_EQ(source.label(), "TypeOp");
    EXPECT_EQ(source.count(), 1204);
    const std::vector<int> ids = readAll(source);
    ASSERT_EQ(ids.size(), 1204u);
    EXPECT_EQ((std::vector<int>(ids.begin(), ids.begin() + 4)), (std::vector<int>{5, 10, 20, 30}));
    EXPECT_EQ(ids.back(), 1299);

    source.setQuickScan(true);
    EXPECT_TRUE(typeOp.quickScan());
    source.setQuickScan(false);
    EXPECT_FALSE(typeOp.quickScan());
}

TEST_F(DataFileSourceTest, FilterPassesOverRefusedRecordsAndEmptyFileEndsAtOnce) {
    framework::FileUse use(typeOp);
    framework::DataFileSource empty(typeOp, typeOp.layout().key("ID_KEY"));
    EXPECT_EQ(empty.count(), 0);
    EXPECT_EQ(empty.start(), 0);
    EXPECT_EQ(empty.next(), storage::error::kRecordNotAvailable);

    for (int id = 1; id <= 9; ++id) add(id);
    framework::DataFileSource odd(typeOp, typeOp.layout().key("ID_KEY"), [this] {
        return std::stoi(*typeOp.record().value("TOP:ID")) % 2 == 1;
    });
    EXPECT_EQ(readAll(odd), (std::vector<int>{1, 3, 5, 7, 9}));
}

}  // namespace
