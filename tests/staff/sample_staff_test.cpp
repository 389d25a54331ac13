// The library's half of the sample data written into empty access files: thirty
// employees, each with the change-log entry of its creation, whose departments,
// categories and superiors exist; bans that never touch category 0 or the
// administrators; the sample logins accepted by the library's log-in; filters
// that pick some employees and a history of real surnames; and a data folder
// that holds data left exactly as it was.
#include "tests/staff/library_fixture.h"

#include "access/dostup.h"
#include "access/employee_names.h"
#include "access/first_administrator.h"
#include "access/starter_objects.h"
#include "access/login_employees.h"
#include "access/rights.h"
#include "demo/sample_logins.h"
#include "demo/staff/sample_staff.h"
#include "demo/staff/staff_writer.h"
#include "framework/record_binding.h"
#include "inputaids/d_filter.h"
#include "platform/dates.h"
#include "platform/expression.h"
#include "staff/d_rights_grid.h"
#include "tests/helpers/folder_snapshot.h"

#include <map>
#include <set>

namespace library_tests {
namespace {

std::int64_t number(const storage::Record& record, const char* field) {
    return record.getInt(static_cast<std::size_t>(record.layout().fieldIndex(field)));
}
std::string text(const storage::Record& record, const char* field) {
    return std::string(platform::clip(*record.value(field)));
}

class SampleStaff : public LibraryTest {
protected:
    SampleStaff() { platform::setTestNow(platform::dayNumber(2026, 3, 2), platform::clockValue(9, 15, 0)); }
    ~SampleStaff() override { platform::clearTestNow(); }

    // Employees by code.
    std::map<std::int64_t, storage::Record> employees() {
        std::map<std::int64_t, storage::Record> byCode;
        for (const storage::Record& r : stored(files().mol, "MOL:SCODE_KEY"))
            byCode.emplace(number(r, "MOL:SCODE"), r);
        return byCode;
    }
    std::set<std::int64_t> codes(storage::DataFile& file, const char* key, const char* field) {
        std::set<std::int64_t> all;
        for (const storage::Record& r : stored(file, key)) all.insert(number(r, field));
        return all;
    }
};

class NoWindow : public dostup::LoginView {
public:
    std::string message;
    void showCode(std::int16_t) override {}
    void showPassword(const std::string&) override {}
    void showMessage(const std::string& m) override { message = m; }
    void beep() override {}
    void focusCode() override {}
    void closeWindow() override {}
};

TEST_F(SampleStaff, ThirtyEmployeesEachWithTheLogEntryOfTheirCreation) {
    g_SCode = 0;
    ASSERT_EQ(demo::writeSampleStaff(), demo::kStaffWritten);
    EXPECT_EQ(g_SCode, 0) << "the operator is as it was";

    const auto staff = employees();
    ASSERT_EQ(staff.size(), 30u);
    EXPECT_EQ(staff.begin()->first, 1) << "no service entry of code 0: category 0 stays nobody's";

    std::map<std::int64_t, int> entries;
    for (const storage::Record& entry : stored(files().molLog, "MLO:SCODE_KEY")) {
        ++entries[number(entry, "MLO:SCODE")];
        EXPECT_EQ(text(entry, "MLO:OPERATION"), ru("Добавление"));
        EXPECT_EQ(number(entry, "MLO:OPERATOR"), demo::sampleLogins().front().employee);
        EXPECT_EQ(number(entry, "MLO:DATE"), platform::today());
        EXPECT_EQ(number(entry, "MLO:TIME"), platform::clock());
    }
    for (const auto& [code, employee] : staff) EXPECT_EQ(entries[code], 1) << "employee " << code;
    EXPECT_EQ(entries.size(), staff.size());

    const auto departments = codes(files().otdMol, "OMO:ID_KEY", "OMO:OTD_ID");
    const auto categories = codes(files().katMol, "KTM:CODE_KEY", "KTM:COD");
    EXPECT_GE(departments.size(), 5u);
    EXPECT_GE(categories.size(), 3u);
    for (const auto& [code, e] : staff) {
        SCOPED_TRACE(code);
        EXPECT_TRUE(departments.count(number(e, "MOL:OTD_ID")));
        EXPECT_TRUE(categories.count(number(e, "MOL:KATEGCODE")));
        const std::int64_t boss = number(e, "MOL:BOSS");
        EXPECT_TRUE(boss == 0 || (staff.count(boss) && boss != code));
        for (const char* filled : {"MOL:LNAME", "MOL:FNAME", "MOL:TITLE", "MOL:CITY", "MOL:BPHONE",
                                   "MOL:PASPNUMBER", "MOL:TABNUM"})
            EXPECT_NE(text(e, filled), "") << filled;
        EXPECT_LT(number(e, "MOL:BDATE"), number(e, "MOL:NDATE"));
        EXPECT_LT(number(e, "MOL:BDATE"), number(e, "MOL:PASPDATE"));
        EXPECT_GT(e.getDecimalCents(static_cast<std::size_t>(e.layout().fieldIndex("MOL:SALARY"))), 0);
    }
    // Each department's head works in it and is named as the library names him.
    for (const storage::Record& d : stored(files().otdMol, "OMO:ID_KEY")) {
        int heads = 0;
        for (const auto& [code, e] : staff)
            if (number(e, "MOL:OTD_ID") == number(d, "OMO:OTD_ID") &&
                dostup::surnameWithInitials(*e.value("MOL:LNAME"), *e.value("MOL:FNAME")) ==
                    text(d, "OMO:LIDER"))
                ++heads;
        EXPECT_EQ(heads, 1) << text(d, "OMO:NAME");
    }
}

TEST_F(SampleStaff, BansKeepNobodyLoggedInFromTheStaffAndNeverTouchTheAdministrators) {
    ASSERT_EQ(demo::writeSampleStaff(), demo::kStaffWritten);
    const std::int16_t administrators = static_cast<std::int16_t>(
        number(employees().at(demo::sampleLogins().front().employee), "MOL:KATEGCODE"));
    const auto categories = codes(files().katMol, "KTM:CODE_KEY", "KTM:COD");
    EXPECT_EQ(text(stored(files().katMol, "KTM:CODE_KEY").at(0), "KTM:KATEG"),
              dostup::administratorCategoryName());

    std::map<std::int64_t, int> bansOf;
    std::set<std::int64_t> anonymous;  // the objects banned to nobody logged in
    const auto objects = codes(files().object, "OBJ:ID_KEY", "OBJ:ID");
    for (const storage::Record& row : stored(files().dostup, "DOS:KATEG_KEY")) {
        const std::int64_t category = number(row, "DOS:KATEGCODE");
        EXPECT_NE(category, administrators);
        if (category == 0) {
            anonymous.insert(number(row, "DOS:OBJECTID"));
            continue;
        }
        EXPECT_TRUE(categories.count(category)) << category;
        EXPECT_TRUE(objects.count(number(row, "DOS:OBJECTID")));
        ++bansOf[category];
    }
    for (std::int64_t category : categories) {
        if (category == administrators) continue;
        EXPECT_GT(bansOf[category], 0) << "category " << category;
    }

    // Through the rights check itself: an operator who has not logged in may not
    // touch the library's administrative objects and may do everything else; the
    // administrators may do everything; the other categories get exactly their
    // declared bans.
    std::set<std::string> types(staff::objectTypes().begin(), staff::objectTypes().end());
    const std::set<std::string> administrative(dostup::anonymousBans().begin(), dostup::anonymousBans().end());
    g_SCode = 0;
    for (const storage::Record& object : stored(files().object, "OBJ:ID_KEY")) {
        const std::string designation = text(object, "OBJ:OBOZN");
        const int anonymousMask = administrative.count(designation) ? 255 : 0;
        EXPECT_TRUE(types.count(text(object, "OBJ:TYPE"))) << designation;
        EXPECT_EQ(anonymous.count(number(object, "OBJ:ID")), anonymousMask ? 1u : 0u) << designation;
        EXPECT_EQ(dostup::rightsMask(designation), anonymousMask) << designation;
        EXPECT_EQ(dostup::rightsMask(designation, administrators), 0) << designation;
    }
    for (const demo::SampleBan& ban : demo::sampleBans())
        EXPECT_EQ(dostup::rightsMask(ban.object, ban.category), ban.mask) << ban.object;
    EXPECT_TRUE(services->shown.empty()) << "every banned object is registered";
}

TEST_F(SampleStaff, TheSampleLoginsLogInWithTheirPasswords) {
    ASSERT_EQ(demo::writeSampleStaff(), demo::kStaffWritten);
    EXPECT_FALSE(dostup::noEmployees()) << "no offer to create a first administrator";
    const auto staff = employees();
    std::set<std::int64_t> loginCategories;
    for (const demo::SampleLogin& sample : demo::sampleLogins()) {
        SCOPED_TRACE(sample.login);
        dostup::MolLoginEmployees employees;
        NoWindow view;
        std::uint16_t operatorCode = 0;
        dostup::Login wrong(employees, view, operatorCode, ".\\Dostup.INI");
        wrong.open();
        wrong.ok(static_cast<std::int16_t>(sample.employee), "nopass");
        EXPECT_EQ(operatorCode, 0);
        EXPECT_EQ(view.message, ru("Неправильный Пароль"));
        wrong.cancel();

        dostup::Login login(employees, view, operatorCode, ".\\Dostup.INI");
        login.open();
        login.ok(static_cast<std::int16_t>(sample.employee), sample.password);
        EXPECT_EQ(operatorCode, sample.employee);
        EXPECT_TRUE(login.closed());
        EXPECT_EQ(text(staff.at(sample.employee), "MOL:LOGIN"), sample.login);
        loginCategories.insert(number(staff.at(sample.employee), "MOL:KATEGCODE"));
    }
    EXPECT_EQ(loginCategories.size(), 3u) << "the administrators, the cashiers, the storekeepers";
    // Every employee of the administrators' category has a password: a blank
    // password logs in, and nobody may administer the staff with it.
    const std::int64_t administrators = number(staff.at(demo::sampleLogins().front().employee), "MOL:KATEGCODE");
    for (const auto& [code, employee] : staff)
        if (number(employee, "MOL:KATEGCODE") == administrators)
            EXPECT_FALSE(text(employee, "MOL:PASSWORD").empty()) << code;
}

TEST_F(SampleStaff, FiltersPickSomeEmployeesAndTheHistoryNamesRealOnes) {
    ASSERT_EQ(demo::writeSampleStaff(), demo::kStaffWritten);
    const auto staff = employees();
    const auto filters = stored(files().filter, "FIL:TABLE_KEY");
    ASSERT_EQ(filters.size(), demo::sampleFilters().size());
    for (const storage::Record& filter : filters) {
        const std::string expression = text(filter, "FIL:EXPRESSION");
        SCOPED_TRACE(platform::cp1251ToUtf8(expression));
        EXPECT_EQ(inputaids::checkExpression(expression, text(filter, "FIL:TABLE")),
                  inputaids::ExpressionCheck::Valid);
        const platform::Expression compiled = platform::Expression::compile(expression);
        std::size_t picked = 0;
        for (const auto& [code, e] : staff) {
            const framework::RecordBinding fields(e);
            const platform::ExpressionResult result = compiled.evaluate(fields);
            ASSERT_TRUE(result.ok());
            if (result.text == "1") ++picked;
        }
        EXPECT_GT(picked, 0u);
        EXPECT_LT(picked, staff.size());
    }

    std::set<std::string> surnames;
    for (const auto& [code, e] : staff) surnames.insert(text(e, "MOL:LNAME"));
    const auto history = stored(files().histList, "HIS:FIELDNUMBER_KEY");
    ASSERT_EQ(history.size(), demo::sampleHistory().size());
    for (const storage::Record& row : history) {
        EXPECT_EQ(text(row, "HIS:FIELD"), "MOL:LNAME");
        EXPECT_TRUE(surnames.count(text(row, "HIS:ITEM"))) << platform::cp1251ToUtf8(text(row, "HIS:ITEM"));
    }
}

TEST_F(SampleStaff, AFolderThatHoldsDataIsLeftAsItWas) {
    // A data file of another program of the suite is data too.
    folder.write("Dat/Goods.db", "not empty");
    const auto before = testing_support::snapshotOf(folder.path());
    EXPECT_EQ(demo::writeSampleStaff(), demo::kStaffDataPresent);
    EXPECT_EQ(testing_support::snapshotOf(folder.path()), before);

    std::filesystem::remove(folder.path() / "Dat" / "Goods.db");
    add(files().otdMol, {{"OMO:OTD_ID", "1"}, {"OMO:NAME", ru("Склад")}});
    const auto withDepartment = testing_support::snapshotOf(folder.path());
    EXPECT_EQ(demo::writeSampleStaff(), demo::kStaffDataPresent);
    EXPECT_EQ(testing_support::snapshotOf(folder.path()), withDepartment);
}

TEST_F(SampleStaff, AMissingDataFolderIsCreated) {
    for (storage::DataFile* file : {&files().mol, &files().mod, &files().katMol, &files().otdMol,
                                    &files().object, &files().dostup, &files().molLog,
                                    &files().filter, &files().histList})
        file->setName(".\\Base\\Staff\\" + file->label());
    ASSERT_EQ(demo::writeSampleStaff(), demo::kStaffWritten);
    EXPECT_TRUE(std::filesystem::exists(folder.path() / "Base" / "Staff" / "MOL.db"));
    EXPECT_EQ(employees().size(), 30u);
}

}  // namespace
}  // namespace library_tests
