#include "platform/paths.h"

#include "platform/cp1251.h"
#include "tests/helpers/temp_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

namespace {

namespace fs = std::filesystem;
using platform::hostPath;
using testing_support::TempFolder;

// Sets an environment variable for the lifetime of the object.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name)) previous_ = old;
        ::setenv(name, value.c_str(), 1);
    }
    ~ScopedEnvironment() {
        if (previous_) ::setenv(name_, previous_->c_str(), 1);
        else ::unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> previous_;
};

TEST(HostPath, ExistingComponentsAreFoundWithoutRegardToLetterCase) {
    TempFolder folder;
    folder.write("DAT/Firm", "");
    folder.write("Dostup.ini", "");
    EXPECT_EQ(hostPath(".\\Dostup.INI"), fs::path("Dostup.ini"));
    EXPECT_EQ(hostPath(".\\dat\\FIRM"), fs::path("DAT/Firm"));
    EXPECT_EQ(hostPath("dat/firm"), fs::path("DAT/Firm"));
    EXPECT_EQ(hostPath(".\\Dat\\\\.\\Firm   "), fs::path("DAT/Firm"));
    EXPECT_EQ(hostPath(".\\Dat\\"), fs::path("DAT"));
    EXPECT_EQ(hostPath(".\\"), fs::path("."));
    // Cyrillic names compare by the code page 1251 letter case; the host spells them in UTF-8.
    fs::create_directory(folder.path() / "ОТЧЕТЫ");
    EXPECT_EQ(hostPath(platform::ru(".\\Отчеты\\Май")), fs::path("ОТЧЕТЫ/Май"));
}

TEST(HostPath, ExactSpellingWinsOverOtherLetterCase) {
    TempFolder folder;
    folder.write("dat/mol", "");
    folder.write("Dat/MOL", "");
    folder.write("DAT/Mol", "");
    EXPECT_EQ(hostPath(".\\Dat\\MOL"), fs::path("Dat/MOL"));
    EXPECT_EQ(hostPath(".\\dat\\mol"), fs::path("dat/mol"));
    // No exact match: the choice among the others does not depend on listing order.
    EXPECT_EQ(hostPath(".\\dAT\\mOL"), fs::path("DAT/Mol"));
}

TEST(HostPath, MissingComponentsKeepTheNameAsGiven) {
    TempFolder folder;
    folder.write("DAT/Firm", "");
    EXPECT_EQ(hostPath(".\\dat\\KursVal"), fs::path("DAT/KursVal"));
    EXPECT_EQ(hostPath(".\\dat\\New\\firm"), fs::path("DAT/New/firm"));
    // A later component is not matched inside a folder that does not exist.
    EXPECT_EQ(hostPath(".\\Pic\\DAT"), fs::path("Pic/DAT"));
    EXPECT_EQ(hostPath(platform::ru(".\\Новая\\Папка")), fs::path("Новая/Папка"));
}

TEST(HostPath, DriveLettersMapToTheirFolders) {
    TempFolder folder;
    fs::create_directories(folder.path() / "drive-d" / "DATA");
    {
        ScopedEnvironment drive("TARVO_DRIVE_D", (folder.path() / "drive-d").string());
        EXPECT_EQ(hostPath("D:\\Data\\KursVal"), folder.path() / "drive-d" / "DATA" / "KursVal");
        EXPECT_EQ(hostPath("d:\\data\\Firm"), folder.path() / "drive-d" / "DATA" / "Firm");
        EXPECT_EQ(hostPath("D:\\"), folder.path() / "drive-d");
    }
    ::unsetenv("TARVO_DRIVE_D");
    EXPECT_EQ(hostPath("D:\\NoSuchTarvoFolder\\Firm"), fs::path("/NoSuchTarvoFolder/Firm"));
    EXPECT_EQ(hostPath("D:\\"), fs::path("/"));
}

TEST(HostPath, AbsoluteHostPathsAreResolvedToo) {
    TempFolder folder;
    folder.write("Base/MOL", "");
    const std::string root = folder.path().string();
    EXPECT_EQ(hostPath(root + "/base/mol"), folder.path() / "Base" / "MOL");
    EXPECT_EQ(hostPath(root + "\\BASE\\new"), folder.path() / "Base" / "new");
    EXPECT_EQ(hostPath("\\NoSuchTarvoFolder"), fs::path("/NoSuchTarvoFolder"));
    EXPECT_EQ(hostPath(""), fs::path());
}

TEST(ServerAddress, PostgresAddressesAreRecognisedAndLeftAlone) {
    EXPECT_TRUE(platform::isServerAddress("postgresql://host/suite/"));
    EXPECT_TRUE(platform::isServerAddress("PostgreSQL://Host/Suite"));
    EXPECT_TRUE(platform::isServerAddress("postgres://user@localhost:5432/db"));
    EXPECT_FALSE(platform::isServerAddress("postgresql:/host"));
    EXPECT_FALSE(platform::isServerAddress(".\\postgresql:\\x"));
    EXPECT_FALSE(platform::isServerAddress("D:\\Data\\"));
    EXPECT_EQ(hostPath("PostgreSQL://Host\\Suite/"), fs::path("PostgreSQL://Host\\Suite/"));
}

}  // namespace
