#include "platform/ini_file.h"

#include "platform/cp1251.h"
#include "tests/helpers/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using platform::readIni;
using platform::writeIni;
using testing_support::TempFolder;

TEST(IniRead, SectionAndKeyNamesIgnoreLetterCase) {
    TempFolder folder;
    folder.write("TARVO.INI", "[Kelm]\r\nSCode=12\r\n[Path]\r\nBasePATH=D:\\Data\\\r\n");
    EXPECT_EQ(readIni("KELM", "scode", "", ".\\TARVO.INI"), "12");
    EXPECT_EQ(readIni("kelm", "SCODE", "", ".\\TARVO.INI"), "12");
    EXPECT_EQ(readIni("Path", "BasePath", "", ".\\TARVO.INI"), "D:\\Data\\");
    // Cyrillic names follow the code page 1251 letter case.
    folder.write("R.INI", platform::ru("[Отчет]\nИмя=1\n"));
    EXPECT_EQ(readIni(platform::ru("ОТЧЕТ"), platform::ru("иМЯ"), "", ".\\R.INI"), "1");
}

TEST(IniRead, AbsentFileSectionOrKeyGivesTheDefault) {
    TempFolder folder;
    EXPECT_EQ(readIni("Path", "BasePath", ".\\Dat\\", ".\\Dostup.INI"), ".\\Dat\\");
    folder.write("Dostup.INI", "[Path]\nHelpPath=help\n; BasePath=commented\nBasePath\n");
    EXPECT_EQ(readIni("Main", "HelpPath", "dflt", ".\\Dostup.INI"), "dflt");
    EXPECT_EQ(readIni("Path", "BasePath", "dflt", ".\\Dostup.INI"), "dflt");
    EXPECT_EQ(readIni("Path", "HelpPath", "dflt", ".\\Dostup.INI"), "help");
    // A key before any section belongs to no section.
    folder.write("Orphan.INI", "Key=1\n[S]\n");
    EXPECT_EQ(readIni("S", "Key", "none", ".\\Orphan.INI"), "none");
    // An empty value is a value, not an absent key.
    folder.write("Empty.INI", "[S]\nKey=\n");
    EXPECT_EQ(readIni("S", "Key", "dflt", ".\\Empty.INI"), "");
}

TEST(IniRead, ValuesAreTrimmedAndLoseOnePairOfQuotes) {
    TempFolder folder;
    folder.write("A.INI",
                 "  [ Main ]  \r\n"
                 "  X  =  10 20  \r\n"
                 "Quoted=\" padded \"\r\n"
                 "Single='a'\r\n"
                 "Twice=\"\"b\"\"\r\n"
                 "Unmatched=\"c\r\n"
                 "Equals=a=b;c\r\n"
                 "Tab=\tv\t");
    EXPECT_EQ(readIni("Main", "X", "", ".\\A.INI"), "10 20");
    EXPECT_EQ(readIni("Main", " X ", "", ".\\A.INI"), "10 20");
    EXPECT_EQ(readIni("Main", "Quoted", "", ".\\A.INI"), " padded ");
    EXPECT_EQ(readIni("Main", "Single", "", ".\\A.INI"), "a");
    EXPECT_EQ(readIni("Main", "Twice", "", ".\\A.INI"), "\"b\"");
    EXPECT_EQ(readIni("Main", "Unmatched", "", ".\\A.INI"), "\"c");
    EXPECT_EQ(readIni("Main", "Equals", "", ".\\A.INI"), "a=b;c");
    EXPECT_EQ(readIni("Main", "Tab", "", ".\\A.INI"), "v");
}

TEST(IniRead, FirstOfDuplicateSectionsAndKeysWins) {
    TempFolder folder;
    folder.write("D.INI", "[s]\nK=first\nk=second\nOnlyLater=no\n[S]\nK=third\nOther=x\n");
    EXPECT_EQ(readIni("S", "K", "", ".\\D.INI"), "first");
    EXPECT_EQ(readIni("S", "Other", "absent", ".\\D.INI"), "absent");
}

TEST(IniWrite, ReplacingAKeyKeepsEveryOtherByte) {
    TempFolder folder;
    const std::string before =
        "; window placement\r\n"
        "[Main]\r\n"
        "X = 10\r\n"
        "\r\n"
        "[Valut_t]\r\n"
        "; list of currencies\r\n"
        "x=1\r\n"
        "Y=2   \r\n"
        "x=3\r\n"
        "\r\n"
        "[Other]\r\n"
        "x=4\r\n";
    folder.write("TARVO.INI", before);
    ASSERT_TRUE(writeIni("VALUT_T", "X", "100", ".\\TARVO.INI"));
    ASSERT_TRUE(writeIni("valut_t", "y", "", ".\\TARVO.INI"));
    ASSERT_TRUE(writeIni("Main", "X", "7", ".\\TARVO.INI"));
    EXPECT_EQ(folder.read("TARVO.INI"),
              "; window placement\r\n"
              "[Main]\r\n"
              "X = 7\r\n"
              "\r\n"
              "[Valut_t]\r\n"
              "; list of currencies\r\n"
              "x=100\r\n"
              "Y=\r\n"
              "x=3\r\n"
              "\r\n"
              "[Other]\r\n"
              "x=4\r\n");
    EXPECT_EQ(readIni("Valut_t", "x", "", ".\\TARVO.INI"), "100");
}

TEST(IniWrite, NewKeyGoesAfterTheLastKeyOfItsSection) {
    TempFolder folder;
    folder.write("A.INI", "[One]\nA=1\n; note\n\n[Two]\nB=2\n\n\n");
    ASSERT_TRUE(writeIni("one", "C", "3", ".\\A.INI"));
    ASSERT_TRUE(writeIni("TWO", "D", "4", ".\\A.INI"));
    EXPECT_EQ(folder.read("A.INI"), "[One]\nA=1\nC=3\n; note\n\n[Two]\nB=2\nD=4\n\n\n");

    // A section without keys gets its first key right after the header.
    folder.write("B.INI", "[Empty]\r\n; nothing yet\r\n[Next]\r\n");
    ASSERT_TRUE(writeIni("Empty", "K", "v", ".\\B.INI"));
    EXPECT_EQ(folder.read("B.INI"), "[Empty]\r\nK=v\r\n; nothing yet\r\n[Next]\r\n");

    // A last line without its ending stays without one.
    folder.write("C.INI", "[S]\r\nA=1");
    ASSERT_TRUE(writeIni("S", "B", "2", ".\\C.INI"));
    EXPECT_EQ(folder.read("C.INI"), "[S]\r\nA=1\r\nB=2");
}

TEST(IniWrite, NewSectionGoesAtTheEndWithTheFileLineEnding) {
    TempFolder folder;
    folder.write("LF.INI", "[A]\nx=1");
    ASSERT_TRUE(writeIni("B", "y", "2", ".\\LF.INI"));
    EXPECT_EQ(folder.read("LF.INI"), "[A]\nx=1\n\n[B]\ny=2\n");

    folder.write("CRLF.INI", "[A]\r\nx=1\r\n\r\n");
    ASSERT_TRUE(writeIni("B", "y", "2", ".\\CRLF.INI"));
    EXPECT_EQ(folder.read("CRLF.INI"), "[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n");

    // A missing file is created, with Windows line endings.
    ASSERT_TRUE(writeIni("Main", "Width", "640", ".\\New.INI"));
    EXPECT_EQ(folder.read("New.INI"), "[Main]\r\nWidth=640\r\n");
}

TEST(IniWrite, ValuesAreCp1251BytesAndRoundTrip) {
    TempFolder folder;
    const std::string name = platform::ru("ООО \"Ромашка\"; Ёлки");
    std::string allBytes;
    for (int c = 0x80; c <= 0xFF; ++c) allBytes += static_cast<char>(c);
    ASSERT_TRUE(writeIni("KELM", "Name", name, ".\\TARVO.INI"));
    ASSERT_TRUE(writeIni("KELM", "Bytes", allBytes, ".\\TARVO.INI"));
    ASSERT_TRUE(writeIni(platform::ru("Раздел"), platform::ru("Ключ"), "1", ".\\TARVO.INI"));
    EXPECT_EQ(readIni("Kelm", "name", "", ".\\TARVO.INI"), name);
    EXPECT_EQ(readIni("Kelm", "bytes", "", ".\\TARVO.INI"), allBytes);
    EXPECT_EQ(readIni(platform::ru("РАЗДЕЛ"), platform::ru("ключ"), "", ".\\TARVO.INI"), "1");
    EXPECT_EQ(folder.read("TARVO.INI"), "[KELM]\r\nName=" + name + "\r\nBytes=" + allBytes +
                                            "\r\n\r\n[" + platform::ru("Раздел") + "]\r\n" +
                                            platform::ru("Ключ") + "=1\r\n");
}

TEST(IniWrite, RefusesWhatCannotBeWritten) {
    TempFolder folder;
    EXPECT_FALSE(writeIni("Main", "X", "1", ".\\NoSuchFolder\\A.INI"));
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "NoSuchFolder"));
    EXPECT_FALSE(writeIni("Main", "X", "two\r\nlines", ".\\A.INI"));
    EXPECT_FALSE(writeIni("Main", "X=Y", "1", ".\\A.INI"));
    EXPECT_FALSE(writeIni("Ma]in", "X", "1", ".\\A.INI"));
    EXPECT_FALSE(writeIni("", "X", "1", ".\\A.INI"));
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "A.INI"));
}

TEST(IniWrite, ReplacesTheFileWholeAndLeavesNoTemporaryFiles) {
    TempFolder folder;
    folder.write("A.INI", "[S]\nK=1\n");
    ::chmod((folder.path() / "A.INI").c_str(), 0640);
    ASSERT_TRUE(writeIni("S", "K", "2", ".\\A.INI"));
    ASSERT_TRUE(writeIni("S", "L", "3", ".\\A.INI"));
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
        EXPECT_EQ(entry.path().filename(), "A.INI");
        ++files;
    }
    EXPECT_EQ(files, 1);
    EXPECT_EQ(std::filesystem::status(folder.path() / "A.INI").permissions() &
                  std::filesystem::perms::all,
              std::filesystem::perms(0640));
    EXPECT_EQ(folder.read("A.INI"), "[S]\nK=2\nL=3\n");
}

// Window placement is written on every close: an INI file the operator may write
// in a folder that refuses new files (a shared program folder) is still updated,
// in place, since the temporary file of the usual replacement cannot be made.
TEST(IniWrite, WritableFileInAFolderThatRefusesNewFilesIsWrittenInPlace) {
    TempFolder folder;
    folder.write("TARVO.INI", "; placement\r\n[Main]\r\nXPosit=10\r\nWidth=600\r\n");
    ::chmod((folder.path() / "TARVO.INI").c_str(), 0666);
    ::chmod(folder.path().c_str(), 0555);
    // The write runs in a child without root's right to ignore permissions.
    const pid_t child = ::fork();
    if (child == 0) {
        if (::getuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(3);
        const bool replaced = writeIni("Main", "XPosit", "25", ".\\TARVO.INI");
        const bool added = writeIni("Price_t", "Width", "700", ".\\TARVO.INI");
        ::_exit(replaced && added ? 0 : 1);
    }
    int status = -1;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ::chmod(folder.path().c_str(), 0755);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(folder.read("TARVO.INI"),
              "; placement\r\n[Main]\r\nXPosit=25\r\nWidth=600\r\n\r\n[Price_t]\r\nWidth=700\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()),
                            std::filesystem::directory_iterator()),
              1)
        << "no temporary file left behind";
}

TEST(IniFile, FileNameIsResolvedWithoutRegardToLetterCase) {
    TempFolder folder;
    folder.write("DOSTUP.ini", "[Path]\nBasePath=.\\Base\\\n");
    EXPECT_EQ(readIni("Path", "BasePath", "", ".\\Dostup.INI"), ".\\Base\\");
    ASSERT_TRUE(writeIni("Path", "HelpPath", "h", ".\\Dostup.INI"));
    EXPECT_EQ(folder.read("DOSTUP.ini"), "[Path]\nBasePath=.\\Base\\\nHelpPath=h\n");
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "Dostup.INI"));
}

}  // namespace
