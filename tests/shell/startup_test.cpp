// Start-up of the program: the library's access files follow ".\Dostup.INI", the
// reference files follow ".\COMP.INI", and the library reads ".\TARVO.INI" after.
#include "access/dostup.h"
#include "platform/fixed_text.h"
#include "refbooks/ref_files.h"
#include "shell/startup.h"
#include "tests/helpers/temp_folder.h"

#include <gtest/gtest.h>

namespace {

std::string molName() {
    std::string s(MOL_spr, sizeof MOL_spr);
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
}

class StartUp : public ::testing::Test {
protected:
    void SetUp() override {
        platform::writeCString(g_BasePath, ".\\Dat\\");
        GlobalRequest = 3;
        GlobalResponse = 2;
    }
    testing_support::TempFolder folder;
    refbooks::ReferenceFiles& files = refbooks::referenceFiles();
};

TEST_F(StartUp, ReferenceFilesFollowCompIniAccessFilesStayWithTheLibrary) {
    folder.write("COMP.INI", "[Path]\r\nBasePATH=D:\\Data\\\r\n");
    shell::startUp();
    EXPECT_EQ(GlobalRequest, 0);
    EXPECT_EQ(GlobalResponse, 0);
    EXPECT_EQ(files.firm.name(), "D:\\Data\\Firm");
    EXPECT_EQ(files.kurs.name(), "D:\\Data\\KursVal");
    EXPECT_EQ(files.typeOp.name(), "D:\\Data\\TypeOp");
    EXPECT_EQ(files.valut.name(), "D:\\Data\\Valut");
    EXPECT_EQ(files.store.name(), "D:\\Data\\Store");
    EXPECT_EQ(files.price.name(), "D:\\Data\\Price");
    EXPECT_EQ(molName(), ".\\Dat\\MOL");
    EXPECT_EQ(platform::readCString(g_BasePath), "D:\\Data\\");
    EXPECT_EQ(platform::readCString(g_IniFileName), ".\\TARVO.INI");
}

TEST_F(StartUp, DirectoryWithoutTrailingBackslashRunsIntoTheFileName) {
    folder.write("comp.ini", "[path]\nbasepath=D:\\Data\n");
    shell::startUp();
    EXPECT_EQ(files.firm.name(), "D:\\DataFirm");
}

TEST_F(StartUp, WithoutCompIniReferenceFilesLiveWithTheAccessFiles) {
    folder.write("Dostup.INI", "[Path]\nBasePath=S:\\Suite\\\n");
    shell::startUp();
    EXPECT_EQ(molName(), "S:\\Suite\\MOL");
    EXPECT_EQ(files.valut.name(), "S:\\Suite\\Valut");
    EXPECT_EQ(files.kurs.name(), "S:\\Suite\\KursVal");
}

TEST_F(StartUp, NoIniFilesAtAllGivesTheRelativeDataFolder) {
    shell::startUp();
    EXPECT_EQ(files.firm.name(), ".\\Dat\\Firm");
    EXPECT_EQ(molName(), ".\\Dat\\MOL");
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "Dat")) << "nothing is checked or made at start";
}

}  // namespace
