// The rights check, the employee look-ups, the log-in without windows and the
// small exported services, on real access files in a temporary data folder.
#include "access/access_files.h"
#include "access/dostup.h"
#include "access/rights.h"
#include "framework/file_access.h"
#include "platform/cp1251.h"
#include "platform/fixed_text.h"
#include "platform/user_services.h"
#include "tests/helpers/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace {

using platform::ru;

class Rights : public ::testing::Test {
protected:
    // One data folder for the suite: the library keeps its files open for the
    // life of the process, as the look-ups do in a program.
    static void SetUpTestSuite() {
        folder = new testing_support::TempFolder;
        std::filesystem::create_directories(folder->path() / "Dat");
        platform::writeCString(g_BasePath, ".\\Dat\\");  // whatever earlier tests left
        DOSTUP_INITDLL();
        auto& files = dostup::accessFiles();
        // The suite registers its own objects below; a new file starts empty here.
        framework::setNewFileFiller(files.object, {});
        for (storage::DataFile* f : {&files.mol, &files.object, &files.dostup})
            framework::useFile(*f);

        addEmployee(7, ru("Петров"), ru("Иван Сергеевич"), 3, "secret");
        addEmployee(8, ru("Сидоров"), ru("Иван"), 4, "pw");
        addObject(1, "Valut");
        addObject(2, "Kurs");
        addObject(3, "VeryLongDesignationX");
        addRights(3, 1, {0, 0, 0, 1, 0, 0, 0, 1, 0});  // delete and print
        addRights(4, 1, {0, 0, 0, 0, 0, 0, 0, 0, 1});  // only the spare R2 flag
        addRights(0, 1, {1, 1, 1, 1, 1, 1, 1, 1, 0});  // nobody logged in: everything
        addRights(3, 3, {0, 1, 0, 0, 0, 0, 0, 0, 0});
    }
    static void TearDownTestSuite() {
        // The process ends with the suite; the folder goes with the test's own.
        delete folder;
    }
    void SetUp() override { g_SCode = 0; }

    static void addEmployee(int code, const std::string& surname, const std::string& first,
                            int category, const std::string& password) {
        storage::Record& r = dostup::accessFiles().mol.record();
        r.clear();
        r.setValue("MOL:SCODE", std::to_string(code));
        r.setValue("MOL:LNAME", surname);
        r.setValue("MOL:FNAME", first);
        r.setValue("MOL:KATEGCODE", std::to_string(category));
        r.setValue("MOL:PASSWORD", password);
        ASSERT_EQ(dostup::accessFiles().mol.add(), 0);
    }
    static void addObject(int id, const std::string& designation) {
        storage::Record& r = dostup::accessFiles().object.record();
        r.clear();
        r.setValue("OBJ:ID", std::to_string(id));
        r.setValue("OBJ:OBOZN", designation);
        ASSERT_EQ(dostup::accessFiles().object.add(), 0);
    }
    static void addRights(int category, int object, std::initializer_list<int> flags) {
        static const char* const kNames[] = {"OPENFLAG", "INSERTFLAG", "CHANGEFLAG",
                                             "DELETEFLAG", "OKFLAG", "UTWFLAG",
                                             "RUTWFLAG", "PRINTFLAG", "R2_FLAG"};
        storage::Record& r = dostup::accessFiles().dostup.record();
        r.clear();
        r.setValue("DOS:KATEGCODE", std::to_string(category));
        r.setValue("DOS:OBJECTID", std::to_string(object));
        int i = 0;
        for (int flag : flags) r.setValue(kNames[i++], std::to_string(flag));
        ASSERT_EQ(dostup::accessFiles().dostup.add(), 0);
    }

    static testing_support::TempFolder* folder;
    platform::ScopedScriptedServices services;
};

testing_support::TempFolder* Rights::folder = nullptr;

TEST_F(Rights, MaskIsTheSumOfTheFlagsOfTheCategoryRow) {
    const std::int16_t three = 3, four = 4;
    EXPECT_EQ(DOSTOBJ("Valut", &three), 136) << "delete and print";
    EXPECT_EQ(DOSTOBJ("Valut", &four), 0) << "the spare flag takes no part";
    EXPECT_EQ(DOSTOBJ("Kurs", &three), 0) << "no row: nothing forbidden, no message";
    EXPECT_TRUE(services->shown.empty());
}

TEST_F(Rights, OmittedCategoryIsTheLoggedInOperators) {
    EXPECT_EQ(DOSTOBJ("Valut", nullptr), 255) << "nobody logged in: the rows of category 0";
    g_SCode = 7;
    EXPECT_EQ(DOSTOBJ("Valut", nullptr), 136);
    g_SCode = 8;
    EXPECT_EQ(dostup::rightsMask("Valut"), 0);
    g_SCode = 999;  // an employee that does not exist has category 0
    EXPECT_EQ(DOSTOBJ("Valut", nullptr), 255);
}

TEST_F(Rights, UnknownObjectIsReportedOncePerCheckAndForbidsNothing) {
    EXPECT_EQ(DOSTOBJ("Firm", nullptr), 0);
    EXPECT_EQ(DOSTOBJ("Firm", nullptr), 0);
    ASSERT_EQ(services->shown.size(), 2u);
    EXPECT_EQ(services->shown[0].text, ru(" Доступ. Нет обьекта: ") + "Firm");
    EXPECT_EQ(services->shown[0].caption, ru(" Ошибка"));
    EXPECT_EQ(services->shown[0].icon, platform::Icon::Exclamation);
    EXPECT_EQ(services->shown[0].buttons, platform::kButtonOk);
}

TEST_F(Rights, DesignationIsCutToTwentyCharactersAndComparedWithoutCase) {
    const std::int16_t three = 3;
    EXPECT_EQ(DOSTOBJ("VeryLongDesignationXYZ", &three), 2);
    EXPECT_EQ(DOSTOBJ("valut", &three), 136);
    EXPECT_TRUE(services->shown.empty());
}

TEST_F(Rights, CategoryLookUpLeavesTheEmployeeBufferAlone) {
    storage::Record& mol = dostup::accessFiles().mol.record();
    mol.setValue("MOL:LNAME", "OnScreen");
    EXPECT_EQ(GETMOL_KATEG(7), 3);
    EXPECT_EQ(GETMOL_KATEG(12345), 0);
    EXPECT_EQ(platform::clip(*mol.value("MOL:LNAME")), "OnScreen");
}

TEST_F(Rights, NameLookUps) {
    EXPECT_EQ(std::string(GETMOL_SNAME(7)), ru("Петров И.С."));
    EXPECT_EQ(std::string(GETMOL_SNAME(8)), ru("Сидоров И."));
    EXPECT_EQ(std::string(GETMOL_NAME(8)), ru("Сидоров ") + ru("Иван") + std::string(36, ' '));
    EXPECT_EQ(platform::clip(*dostup::accessFiles().mol.record().value("MOL:LNAME")), ru("Сидоров"))
        << "the look-up leaves the employee in the MOL buffer";
    EXPECT_EQ(std::string(GETMOL_NAME(404)), std::string(41, ' '));
    EXPECT_EQ(std::string(GETMOL_SNAME(404)), "  .");
}

TEST_F(Rights, LoginWithoutWindowsTakesOnlyAValidPrefilledPair) {
    platform::writeCString(g_IniFileName, ".\\TARVO.INI");
    folder->write("TARVO.INI", "[Kelm]\nSCode=7\nPassWord=secret\n");
    folder->write("Dostup.INI", "[Kelm]\nSCode=8\nPassWord=pw\n");
    const long before = framework::userCount(dostup::accessFiles().mol);
    EXPECT_EQ(REGISTR_S(), 7);
    EXPECT_EQ(g_SCode, 7);
    EXPECT_EQ(framework::userCount(dostup::accessFiles().mol), before) << "the window gives MOL back";

    folder->write("TARVO.INI", "[Kelm]\nSCode=7\nPassWord=SECRET\n");
    EXPECT_EQ(REGISTR_S(), 0) << "a wrong pair logs the previous operator out";
    EXPECT_EQ(g_SCode, 0);
}

TEST_F(Rights, HelpTopicsAndDocuments) {
    platform::writeCString(g_HelpPath, ".\\Help\\");
    CALLHELP("Sprav\\Firm.htm");
    CALLHELP("Sprav\\Firm");
    CALLHELP("Sprav\\Firm  .txt");
    ASSERT_EQ(services->opened.size(), 3u);
    EXPECT_EQ(services->opened[0].first, "Help/Sprav/Firm.htm");
    EXPECT_EQ(services->opened[1].first, services->opened[0].first);
    EXPECT_EQ(services->opened[2].first, services->opened[0].first);
    EXPECT_EQ(services->opened[0].second, "Help");
    EXPECT_EQ(dostup::helpFileName("Sprav\\Object.htm"), "Sprav\\Object.htm");

    platform::writeCString(g_HelpPath, "");
    CALLHELP("Main");
    EXPECT_EQ(services->opened.back().first, "Main.htm") << "an empty help path: the current folder";

    FILEEXECUTE("Dat\\Photo.bmp");
    EXPECT_EQ(services->opened.back().first, "Dat/Photo.bmp");
}

// With no help path the pages come from the help folder installed beside the
// binaries (bin/help of the build tree, which the build fills from help/),
// whatever the working folder is.
TEST_F(Rights, HelpWithoutHelpPathOpensTheInstalledPages) {
    namespace fs = std::filesystem;
    const fs::path installed = fs::canonical(fs::path(TESTS_BINARY_DIR) / "bin" / "help");
    ASSERT_TRUE(fs::is_regular_file(installed / "Sprav" / "Price.htm")) << "the build copies help/";
    EXPECT_EQ(dostup::installedHelpFolder(), installed);

    platform::writeCString(g_HelpPath, "");
    CALLHELP("Sprav\\Price.htm");
    ASSERT_FALSE(services->opened.empty());
    EXPECT_EQ(services->opened.back().first, (installed / "Sprav" / "Price.htm").string());
    EXPECT_EQ(services->opened.back().second, installed.string());

    CALLHELP("SPRAV\\otdmol");
    EXPECT_EQ(services->opened.back().first, (installed / "Sprav" / "OtdMOL.htm").string())
        << "a topic without extension, in another letter case";
    CALLHELP("Tarvo.htm");
    EXPECT_EQ(services->opened.back().first, (installed / "Tarvo.htm").string());

    folder->write("Local.htm", "<p>");
    CALLHELP("Local");
    EXPECT_EQ(services->opened.back().first, "Local.htm") << "a page the installation lacks";

    platform::writeCString(g_HelpPath, ".\\Help\\");
    CALLHELP("Sprav\\Price.htm");
    EXPECT_EQ(services->opened.back().first, "Help/Sprav/Price.htm")
        << "a help path set in Dostup.INI wins, even when it holds no such page";
    platform::writeCString(g_HelpPath, "");
}

TEST(UpperStr, ConvertsInPlaceOverTheDeclaredSize) {
    std::string text = ru("абв xyz") + std::string(3, '\0') + "q";
    UPPERSTR(text.data(), static_cast<int32_t>(text.size()));
    EXPECT_EQ(text, ru("АБВ XYZ") + std::string(3, '\0') + "Q");
    char shortText[] = "abc";
    UPPERSTR(shortText, 2);
    EXPECT_STREQ(shortText, "ABc");
    UPPERSTR(nullptr, 10);
    UPPERSTR(shortText, -1);
}

}  // namespace
