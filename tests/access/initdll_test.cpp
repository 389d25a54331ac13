// Initialisation of the library: INI file, data and help directories, and the
// names of the access files, as a host sees them through the exported globals.
#include "access/access_files.h"
#include "access/dostup.h"
#include "framework/form/form_environment.h"
#include "platform/fixed_text.h"
#include "tests/helpers/temp_folder.h"

#include <gtest/gtest.h>

namespace {

using platform::readCString;

std::string clipped(const char* buffer, std::size_t size) {
    std::string s(buffer, size);
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
}
template <std::size_t N>
std::string name(const char (&global)[N]) { return clipped(global, N); }

class InitDll : public ::testing::Test {
protected:
    void SetUp() override {
        // Every test starts from the library's load-time data directory.
        platform::writeCString(g_BasePath, ".\\Dat\\");
        platform::writeCString(g_IniFileName, ".\\Dostup.ini");
    }
    testing_support::TempFolder folder;
};

TEST(InitDllGlobals, ValuesWhenTheLibraryIsLoaded) {
    // Checked before any test calls DOSTUP_INITDLL in this process.
    EXPECT_EQ(GlobalRequest, 0);
    EXPECT_EQ(GlobalResponse, 0);
    EXPECT_EQ(VCRRequest, 0);
    EXPECT_EQ(g_SCode, 0);
    EXPECT_EQ(G_PatternFlag, 1);
    EXPECT_EQ(readCString(g_HelpPath), ".\\Help\\");
    EXPECT_EQ(readCString(G_Form1), ".\\pic\\Form1.bmp");
    EXPECT_EQ(readCString(G_Tabl2), ".\\pic\\Tabl2.bmp");
    EXPECT_EQ(readCString(G_TablSel), ".\\pic\\TablSel.bmp");
    EXPECT_EQ(readCString(G_FilterName), "");
    // Built-in names: STRING(80) blank-padded without a terminating zero.
    EXPECT_EQ(name(MOL_spr), ".\\dat\\MOL");
    EXPECT_EQ(MOL_spr[79], ' ');
    EXPECT_EQ(name(KatMOL_spr), ".\\DAT\\KatMOL");
    EXPECT_EQ(name(Dostup_spr), ".\\dat\\Dostup");
    EXPECT_EQ(name(OtdMOL_spr), "");
    EXPECT_EQ(readCString(HistList_spr), ".\\dat\\HistList");
}

TEST_F(InitDll, WithoutAnIniFileUsesTheDefaults) {
    DOSTUP_INITDLL();
    EXPECT_EQ(readCString(g_IniFileName), ".\\Dostup.INI");
    EXPECT_EQ(readCString(g_HelpPath), "") << "an absent key leaves the help path empty";
    EXPECT_EQ(readCString(g_BasePath), ".\\Dat\\");
    EXPECT_EQ(name(MOL_spr), ".\\Dat\\MOL");
    EXPECT_EQ(name(KatMOL_spr), ".\\Dat\\KatMOL");
    EXPECT_EQ(name(MolLOG_spr), ".\\Dat\\MolLog");
    EXPECT_EQ(name(OtdMOL_spr), ".\\Dat\\OtdMOL");
    EXPECT_EQ(name(Dostup_spr), ".\\Dat\\Dostup");
    EXPECT_EQ(name(Object_spr), ".\\Dat\\Object");
    EXPECT_EQ(name(Filter_spr), ".\\Dat\\Filter");
    EXPECT_EQ(readCString(HistList_spr), ".\\Dat\\HistList");
}

TEST_F(InitDll, DataAndHelpDirectoriesComeFromTheIniFile) {
    folder.write("Dostup.INI", "[Path]\r\nBasePath=D:\\Base\\\r\nHelpPath=D:\\Help\\\r\n");
    DOSTUP_INITDLL();
    EXPECT_EQ(readCString(g_HelpPath), "D:\\Help\\");
    EXPECT_EQ(name(MOL_spr), "D:\\Base\\MOL");
    EXPECT_EQ(name(MolLOG_spr), "D:\\Base\\MolLog");
    EXPECT_EQ(readCString(HistList_spr), "D:\\Base\\HistList");

    // The library's own file objects carry the same names; the MOD view shares MOL's.
    auto& files = dostup::accessFiles();
    EXPECT_EQ(files.mol.name(), "D:\\Base\\MOL");
    EXPECT_EQ(files.mod.name(), "D:\\Base\\MOL");
    EXPECT_EQ(files.histList.name(), "D:\\Base\\HistList");
}

TEST_F(InitDll, ALongDataDirectoryCutsTheGlobalsButNotTheFilesNames) {
    // 79 characters: the 80-character globals of OtdMOL and Object, MOL and MolLog
    // are cut alike, while the files themselves keep their whole, distinct names.
    const std::string directory = "D:\\" + std::string(75, 'x') + "\\";
    folder.write("Dostup.INI", "[Path]\r\nBasePath=" + directory + "\r\n");
    DOSTUP_INITDLL();
    EXPECT_EQ(name(OtdMOL_spr), (directory + "OtdMOL").substr(0, 80));
    EXPECT_EQ(name(OtdMOL_spr), name(Object_spr));  // the globals' size rules
    EXPECT_EQ(name(MOL_spr), name(MolLOG_spr));
    auto& files = dostup::accessFiles();
    EXPECT_EQ(files.otdMol.name(), directory + "OtdMOL");
    EXPECT_EQ(files.object.name(), directory + "Object");
    EXPECT_EQ(files.mol.name(), directory + "MOL");
    EXPECT_EQ(files.molLog.name(), directory + "MolLog");
    EXPECT_EQ(files.mod.name(), directory + "MOL");
    EXPECT_EQ(files.histList.name(), directory + "HistList");
}

TEST_F(InitDll, DirectoryWithoutTrailingBackslashIsUsedUnchanged) {
    folder.write("dostup.ini", "[PATH]\nbasepath=D:\\Base\n");
    DOSTUP_INITDLL();
    EXPECT_EQ(name(MOL_spr), "D:\\BaseMOL");
}

TEST_F(InitDll, TrailingBlanksOfTheDirectoryAreDropped) {
    platform::writeCString(g_BasePath, "E:\\Shared\\   ");
    DOSTUP_INITDLL();
    EXPECT_EQ(name(Object_spr), "E:\\Shared\\Object");
}

TEST_F(InitDll, EmptyBasePathKeepsWhatTheHostSet) {
    folder.write("Dostup.INI", "[Path]\nBasePath=\nHelpPath=.\\Help\\\n");
    platform::writeCString(g_BasePath, "F:\\Host\\");
    DOSTUP_INITDLL();
    EXPECT_EQ(name(Dostup_spr), "F:\\Host\\Dostup");
}

TEST_F(InitDll, AgainResetsTheIniFileAndNamesFilesOnceOnly) {
    folder.write("Dostup.INI", "[Path]\nBasePath=D:\\One\\\n");
    DOSTUP_INITDLL();
    platform::writeCString(g_IniFileName, ".\\TARVO.INI");
    platform::writeCString(g_BasePath, "D:\\Two\\");
    // A later change of the directory does not move the access files...
    EXPECT_EQ(name(MOL_spr), "D:\\One\\MOL");
    // ...until the library is initialised again, which re-reads its own INI file.
    DOSTUP_INITDLL();
    EXPECT_EQ(readCString(g_IniFileName), ".\\Dostup.INI");
    EXPECT_EQ(name(MOL_spr), "D:\\One\\MOL");
}

TEST_F(InitDll, OverlongDirectoryIsCutNotOverrun) {
    const std::string longDir = "D:\\" + std::string(150, 'x') + "\\";
    folder.write("Dostup.INI", "[Path]\nBasePath=" + longDir + "\n");
    DOSTUP_INITDLL();
    // The setting is read as at most 100 characters; each name holds at most 80.
    EXPECT_EQ(readCString(g_BasePath), longDir.substr(0, 100));
    EXPECT_EQ(name(MOL_spr), longDir.substr(0, 80));
    EXPECT_EQ(readCString(HistList_spr).size(), 80u);
}

// The library's lists and forms keep their placement in the INI file the library
// is pointed at and take their pictures from its globals, read at every opening.
TEST_F(InitDll, ListsAndFormsFollowTheIniFileAndPictureGlobals) {
    DOSTUP_INITDLL();
    framework::form::FormEnvironment environment = framework::form::formEnvironment();
    EXPECT_EQ(environment.iniFile, ".\\Dostup.INI");
    EXPECT_TRUE(environment.wallpaper.patternOn);
    EXPECT_EQ(environment.wallpaper.tabl1, ".\\pic\\Tabl1.bmp");
    EXPECT_EQ(environment.wallpaper.tablSel, ".\\pic\\TablSel.bmp");
    EXPECT_EQ(environment.wallpaper.formDel, ".\\pic\\FormDel.bmp");

    // A host that points the library elsewhere and changes the pictures: the
    // library's screens still keep their placement in its own INI file.
    platform::writeCString(g_IniFileName, ".\\TARVO.INI");
    platform::writeCString(G_Tabl2, ".\\pic\\Other.bmp");
    G_PatternFlag = 0;
    environment = framework::form::formEnvironment();
    EXPECT_EQ(environment.iniFile, ".\\Dostup.INI");
    EXPECT_EQ(environment.wallpaper.tabl2, ".\\pic\\Other.bmp");
    EXPECT_FALSE(environment.wallpaper.patternOn);
    G_PatternFlag = 1;
}

}  // namespace
