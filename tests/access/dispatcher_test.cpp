// The dispatcher's command string: the operator's code after "/S=", the procedure
// name after "/P=", letter case, lengths, and a name that matches nothing.
#include "dostup/dispatcher.h"
#include "access/dostup.h"
#include "platform/cp1251.h"
#include "platform/user_services.h"
#include "tests/helpers/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using dostup::parseCommand;
using dostup::Procedure;
using dostup::procedureNamed;

std::string field(const std::string& name) { return name + std::string(32 - name.size(), ' '); }

TEST(Dispatcher, OperatorCodeIsTheTwoCharactersAfterTheOption) {
    EXPECT_EQ(parseCommand("/S=12 /P=MOL_T").operatorCode, 12);
    EXPECT_EQ(parseCommand("/S=7 /P=MOL_T").operatorCode, 7);
    EXPECT_EQ(parseCommand("/S=123").operatorCode, 12) << "codes of one or two digits";
    EXPECT_EQ(parseCommand("/s=5").operatorCode, 5) << "the command is upper-cased first";
    EXPECT_EQ(parseCommand("/S=").operatorCode, 0);
    EXPECT_EQ(parseCommand("/S=X1").operatorCode, 0);
    EXPECT_FALSE(parseCommand("/P=MOL_T").operatorCode) << "without the option the code is left alone";
}

TEST(Dispatcher, ProcedureNameIsFifteenCharactersPaddedToThirtyTwo) {
    EXPECT_EQ(parseCommand("/S=12 /P=MOL_T").procedure, field("MOL_T"));
    EXPECT_EQ(parseCommand("/p=otdmol_t").procedure, field("OTDMOL_T"));
    EXPECT_EQ(parseCommand("").procedure, std::string(32, ' '));
    EXPECT_EQ(parseCommand("/P=ABCDEFGHIJKLMNOPQ").procedure, field("ABCDEFGHIJKLMNO"));
    EXPECT_EQ(procedureNamed(parseCommand("/P=MOL_T").procedure), Procedure::Employees);
    EXPECT_EQ(procedureNamed(parseCommand("/p=Katmol_t").procedure), Procedure::Categories);
    EXPECT_EQ(procedureNamed(parseCommand("/P=INFO_SCR").procedure), Procedure::InfoScreen);
    EXPECT_EQ(procedureNamed(parseCommand("/S=1").procedure), Procedure::Console);
    EXPECT_EQ(procedureNamed(parseCommand("/P=MOL_TXXXXXXXXXXXX").procedure), Procedure::Unknown)
        << "a longer name matches nothing";
    // Only the first 255 characters of a command count.
    const std::string longCommand = std::string(260, ' ') + "/P=MOL_T";
    EXPECT_EQ(procedureNamed(parseCommand(longCommand).procedure), Procedure::Console);
}

TEST(Dispatcher, UnknownProcedureIsReportedAndOpensNothing) {
    testing_support::TempFolder folder;
    std::filesystem::create_directories(folder.path() / "Dat");
    platform::ScopedScriptedServices services;
    g_SCode = 0;
    C_DOS("/S=34 /P=abc");
    ASSERT_EQ(services->shown.size(), 1u);
    EXPECT_EQ(services->shown[0].caption, platform::ru(" Ошибка C_Dos "));
    EXPECT_EQ(services->shown[0].text, platform::ru("Нет процедуры: ") + field("ABC"));
    EXPECT_EQ(services->shown[0].icon, platform::Icon::Information);
    EXPECT_EQ(g_SCode, 34) << "the caller's operator is set without a password";
}

}  // namespace
