// A new installation's first administrator: offered only while the employee
// file is empty, created in a category of its own with no bans, and able to log in.
#include "access/access_files.h"
#include "access/dostup.h"
#include "access/first_administrator.h"
#include "access/login.h"
#include "access/login_employees.h"
#include "framework/file_access.h"
#include "platform/cp1251.h"
#include "platform/fixed_text.h"
#include "platform/user_services.h"
#include "tests/helpers/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using platform::ru;

class FirstAdministrator : public ::testing::Test {
protected:
    FirstAdministrator() {
        std::filesystem::create_directories(folder.path() / "Dat");
        platform::writeCString(g_BasePath, ".\\Dat\\");
        DOSTUP_INITDLL();
    }
    ~FirstAdministrator() override {
        auto& files = dostup::accessFiles();
        for (storage::DataFile* f : {&files.mol, &files.katMol, &files.molLog})
            while (framework::userCount(*f) > 0) framework::releaseFile(*f);
    }
    static void addEmployee(int code, const char* password) {
        storage::DataFile& mol = dostup::accessFiles().mol;
        framework::FileUse use(mol);
        mol.record().clear();
        mol.record().setValue("MOL:SCODE", std::to_string(code));
        mol.record().setValue("MOL:PASSWORD", password);
        ASSERT_EQ(mol.add(), 0);
    }
    testing_support::TempFolder folder;
    platform::ScopedScriptedServices services;
};

// A blank password is a valid log-in: once the file holds any employee the
// console asks for the log-in, and nobody can be created behind its back.
TEST_F(FirstAdministrator, OfferedOnlyWhileTheEmployeeFileIsEmpty) {
    EXPECT_TRUE(dostup::noEmployees()) << "an empty employee file";
    addEmployee(4, "");
    EXPECT_FALSE(dostup::noEmployees());
    EXPECT_FALSE(dostup::createFirstAdministrator({ru("Иванов"), "admin", "x"}));
}

TEST_F(FirstAdministrator, CreatedInACategoryOfItsOwnAndLogsIn) {
    EXPECT_FALSE(dostup::createFirstAdministrator({ru("Иванов"), "admin", "   "})) << "a blank password";
    const auto code = dostup::createFirstAdministrator({ru("Иванов"), "admin", "Secret-16-chars!"});
    ASSERT_TRUE(code);
    EXPECT_EQ(*code, 1);
    EXPECT_FALSE(dostup::noEmployees());
    EXPECT_EQ(std::string(GETMOL_SNAME(*code)), ru("Иванов  ."));
    const std::int16_t category = GETMOL_KATEG(*code);
    EXPECT_EQ(category, 1);
    for (const char* object : {"MOL", "Dostup", "KatMOL", "Price"})
        EXPECT_EQ(DOSTOBJ(object, &category), 0) << object << ": no ban";

    storage::DataFile& kat = dostup::accessFiles().katMol;
    framework::FileUse use(kat);
    kat.record().clear();
    kat.record().setValue("KTM:COD", "1");
    ASSERT_EQ(kat.get(*kat.layout().key("CODE_KEY")), 0);
    EXPECT_EQ(std::string(platform::clip(*kat.record().value("KTM:KATEG"))), dostup::administratorCategoryName());

    // The login window takes the pair.
    dostup::MolLoginEmployees employees;
    ASSERT_TRUE(employees.fetch(*code));
    EXPECT_TRUE(dostup::passwordsMatch("Secret-16-chars!", employees.password()));
    EXPECT_EQ(std::string(platform::clip(*dostup::accessFiles().mol.record().value("MOL:LOGIN"))), "admin");
}

// A code that the change log still names belongs to a deleted employee: the
// administrator comes after it, and the log shows the administrator's creation.
TEST_F(FirstAdministrator, ComesAfterTheCodesTheChangeLogNamesAndIsLogged) {
    storage::DataFile& log = dostup::accessFiles().molLog;
    {
        framework::FileUse use(log);
        log.record().clear();
        log.record().setValue("MLO:SCODE", "9");
        log.record().setText(static_cast<std::size_t>(log.layout().fieldIndex("MLO:OPERATION")), ru("Удаление"));
        ASSERT_EQ(log.add(), 0);
    }
    const auto code = dostup::createFirstAdministrator({ru("Орлова"), "admin", "secret", ru("Елена Викторовна")});
    ASSERT_TRUE(code);
    EXPECT_EQ(*code, 10);
    EXPECT_EQ(std::string(GETMOL_SNAME(*code)), ru("Орлова Е.В."));

    framework::FileUse use(log);
    std::vector<std::pair<std::int64_t, std::string>> entries;
    log.set(*log.layout().key("SCODE_KEY"));
    while (log.next() == 0)
        entries.emplace_back(log.record().getInt("MLO:SCODE"),
                             std::string(platform::clip(*log.record().value("MLO:OPERATION"))));
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[1], std::make_pair(std::int64_t{10}, ru("Добавление")));
    EXPECT_EQ(log.record().getInt("MLO:OPERATOR"), 10) << "the administrator added himself";
    EXPECT_NE(dostup::accessFiles().mol.record().getInt("MOL:CHDATE"), 0);
}

}  // namespace
