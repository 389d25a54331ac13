// Sample data from the command line: "--demo" fills an empty working folder so
// that every book shows full lists (organisations with plausible requisites, a
// year of daily rates for each foreign currency, stores whose responsible
// employees exist), the sample logins log in through the library, and nobody who
// has not logged in is banned anything; a data folder that holds data is refused
// with nothing changed; the program itself does both.
#include "access/access_layouts.h"
#include "access/dostup.h"
#include "framework/file_access.h"
#include "platform/cp1251.h"
#include "platform/ini_file.h"
#include "platform/dates.h"
#include "refbooks/ref_files.h"
#include "refbooks/ref_layouts.h"
#include "shell/demo_command.h"
#include "demo/sample_logins.h"
#include "storage/data_file.h"
#include "tests/helpers/command_line.h"
#include "tests/helpers/folder_snapshot.h"
#include "tests/helpers/temp_folder.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QString>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <initializer_list>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using platform::ru;

std::int64_t number(const storage::Record& record, const char* field) {
    return record.getInt(static_cast<std::size_t>(record.layout().fieldIndex(field)));
}
double real(const storage::Record& record, const char* field) {
    return record.getReal(static_cast<std::size_t>(record.layout().fieldIndex(field)));
}
std::string text(const storage::Record& record, const char* field) {
    return std::string(platform::clip(*record.value(field)));
}
bool digitsOnly(const std::string& s, std::size_t length) {
    return s.size() == length && s.find_first_not_of("0123456789") == std::string::npos;
}

class DemoCommand : public ::testing::Test {
protected:
    std::optional<int> run(std::initializer_list<const char*> arguments) {
        testing_support::CommandLine line(arguments);
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        const std::optional<int> code =
            shell::runDemoCommand(line.argc(), line.argv());
        std::fflush(stdout);
        output = testing::internal::GetCapturedStdout();
        error = testing::internal::GetCapturedStderr();
        return code;
    }

    // Every record of a data file in the working folder's "Dat", in the order of a key.
    std::vector<storage::Record> stored(const storage::RecordLayout& layout, const char* name,
                                        const char* key) {
        storage::DataFile file(layout);
        file.setName(std::string(".\\Dat\\") + name);
        file.setOwnerPassword(dostup::ownerPasswordOf(layout));
        framework::FileUse use(file);
        std::vector<storage::Record> records;
        file.set(*layout.key(key));
        while (file.next() == 0) records.push_back(file.record());
        return records;
    }

    testing_support::TempFolder folder;
    std::string output;
    std::string error;
};

TEST_F(DemoCommand, FillsAnEmptyWorkingFolderWithFullBooks) {
    ASSERT_EQ(run({"--demo"}), shell::kDemoWritten) << error;
    EXPECT_EQ(error, "");
    EXPECT_TRUE(fs::is_directory(folder.path() / "Dat")) << "the missing data folder is made";
    for (const demo::SampleLogin& login : demo::sampleLogins())
        EXPECT_NE(output.find(login.password), std::string::npos) << output;
    EXPECT_NE(output.find("Соколов Андрей Викторович"), std::string::npos) << output;

    // Organisations: bank requisites of the right shape, a default store that exists.
    std::set<std::int64_t> stores;
    std::set<std::int64_t> prices;
    for (const storage::Record& s : stored(refbooks::storeLayout(), "Store", "STO:CODE_KEY"))
        stores.insert(number(s, "STO:COD"));
    for (const storage::Record& p : stored(refbooks::priceLayout(), "Price", "PRI:ID_KEY"))
        prices.insert(number(p, "PRI:ID"));
    const auto firms = stored(refbooks::firmLayout(), "Firm", "GLO:FIRM_KEY");
    EXPECT_GE(firms.size(), 3u);
    for (const storage::Record& firm : firms) {
        SCOPED_TRACE(platform::cp1251ToUtf8(text(firm, "GLO:SHOPNAME")));
        const std::string bik = text(firm, "GLO:BIK_CODE");
        EXPECT_TRUE(digitsOnly(bik, 9));
        EXPECT_TRUE(digitsOnly(text(firm, "GLO:SCHET"), 20));
        const std::string correspondent = text(firm, "GLO:KSCHET");
        EXPECT_TRUE(digitsOnly(correspondent, 20));
        EXPECT_EQ(correspondent.substr(17), bik.substr(6)) << "a correspondent account ends in the BIK's digits";
        EXPECT_NE(text(firm, "GLO:INN_CODE"), "");
        EXPECT_NE(text(firm, "GLO:ADRESS"), "");
        EXPECT_NE(text(firm, "GLO:DIRECTOR"), "");
        EXPECT_TRUE(stores.count(number(firm, "GLO:CURSTORE")));
    }
    EXPECT_GE(prices.size(), 3u);
    EXPECT_GE(stored(refbooks::typeOpLayout(), "TypeOp", "TOP:ID_KEY").size(), 5u);

    // Stores: the responsible employee is one of the library's; the default price exists.
    std::set<std::int64_t> employees;
    for (const storage::Record& e : stored(dostup::molLayout(), "MOL", "MOL:SCODE_KEY"))
        employees.insert(number(e, "MOL:SCODE"));
    EXPECT_EQ(employees.size(), 30u);
    for (const storage::Record& store : stored(refbooks::storeLayout(), "Store", "STO:CODE_KEY")) {
        EXPECT_TRUE(employees.count(number(store, "STO:SCODE"))) << number(store, "STO:SCODE");
        EXPECT_TRUE(prices.count(number(store, "STO:NUMPR")));
    }
}

// The staff documents print the first organisation's requisites; a key the
// operator set already is kept.
TEST_F(DemoCommand, WritesTheRequisitesTheDocumentsPrint) {
    folder.write("TARVO.INI", "[KELM]\r\nDirector=Keep\r\n");
    ASSERT_EQ(run({"--demo"}), shell::kDemoWritten) << error;
    const struct {
        const char* key;
        const char* value;
    } table[] = {{"ShopName", "ООО \"ТД Меридиан\""}, {"INN", "7722381453/772201001"},
                 {"BIK", "044525225"}, {"Schet", "40702810638000143527"}, {"Director", "Keep"}};
    for (const auto& row : table)
        EXPECT_EQ(platform::readIni("KELM", row.key, "", ".\\TARVO.INI"), ru(row.value)) << row.key;
}

TEST_F(DemoCommand, EachForeignCurrencyHasAYearOfDailyRatesEndingToday) {
    ASSERT_EQ(run({"--demo"}), shell::kDemoWritten) << error;
    std::map<std::string, std::vector<storage::Record>> history;
    for (const storage::Record& entry : stored(refbooks::kursLayout(), "KursVal", "KUR:VALUT_KEY"))
        history[text(entry, "KUR:VALUT")].push_back(entry);

    const auto currencies = stored(refbooks::valutLayout(), "Valut", "VAL:CODE_KEY");
    ASSERT_GE(currencies.size(), 4u);
    EXPECT_EQ(text(currencies.front(), "VAL:OBOZN"), ru("Руб"));
    EXPECT_EQ(real(currencies.front(), "VAL:KURSBANKA"), 1);
    EXPECT_EQ(history.count(ru("Руб")), 0u) << "the rouble is the currency of the rates";
    for (std::size_t i = 1; i < currencies.size(); ++i) {
        const storage::Record& currency = currencies[i];
        const std::string designation = text(currency, "VAL:OBOZN");
        SCOPED_TRACE(designation);
        const std::vector<storage::Record>& entries = history[designation];
        ASSERT_EQ(entries.size(), 365u);
        double lowest = real(entries.front(), "KUR:KURSCB"), highest = lowest;
        for (std::size_t day = 0; day < entries.size(); ++day) {
            const storage::Record& entry = entries[day];
            EXPECT_EQ(number(entry, "KUR:NUMBER"), static_cast<std::int64_t>(day + 1));
            EXPECT_EQ(number(entry, "KUR:DATE"),
                      platform::today() - 364 + static_cast<std::int64_t>(day));
            EXPECT_EQ(text(entry, "KUR:WEEKDAY"), platform::weekdayName(static_cast<std::int32_t>(
                                                      number(entry, "KUR:DATE"))));
            const double rate = real(entry, "KUR:KURSCB");
            EXPECT_GT(real(entry, "KUR:KURSCASH"), real(entry, "KUR:KURS"));
            EXPECT_GT(real(entry, "KUR:KURS"), rate);
            if (day > 0) {
                EXPECT_LT(std::abs(rate / real(entries[day - 1], "KUR:KURSCB") - 1), 0.02)
                    << "a slow drift, day " << day;
            }
            lowest = std::min(lowest, rate);
            highest = std::max(highest, rate);
        }
        EXPECT_LT(highest / lowest, 1.2);
        EXPECT_GT(highest / lowest, 1.01) << "the rate moves";
        // The currency's rates are those of its latest entry, today's.
        EXPECT_EQ(real(currency, "VAL:KURSBANKA"), real(entries.back(), "KUR:KURSCB"));
        EXPECT_EQ(real(currency, "VAL:KURSCASH"), real(entries.back(), "KUR:KURSCASH"));
    }
}

TEST_F(DemoCommand, TheSampleLoginsLogInAndNobodyLoggedInKeepsToTheBooks) {
    ASSERT_EQ(run({"--demo"}), shell::kDemoWritten) << error;
    // Nobody logged in: every book of the program opens and edits; the staff and
    // the rights stay closed.
    g_SCode = 0;
    for (const char* book : {"Firm", "Price", "Valut", "Kurs", "Store", "TypeOp", "Filter"})
        EXPECT_EQ(DOSTOBJ(book, nullptr), 0) << book;
    for (const char* book : {"MOL", "MolLOG", "OtdMOL", "KatMOL", "Dostup", "Object"})
        EXPECT_EQ(DOSTOBJ(book, nullptr), 255) << book;

    // The library's log-in, pre-filled from the program's INI file as a workstation
    // that remembers its operator.
    for (const demo::SampleLogin& login : demo::sampleLogins()) {
        folder.write("TARVO.INI", "[Kelm]\r\nSCode=" + std::to_string(login.employee) +
                                      "\r\nPassWord=" + login.password + "\r\n");
        EXPECT_EQ(REGISTR_S(), login.employee) << login.login;
        folder.write("TARVO.INI", "[Kelm]\r\nSCode=" + std::to_string(login.employee) +
                                      "\r\nPassWord=wrong\r\n");
        EXPECT_EQ(REGISTR_S(), 0) << login.login;
    }
    // The operators' categories are banned something, the administrator's nothing.
    const std::uint16_t administrator = demo::sampleLogins().front().employee;
    const std::int16_t administrators = GETMOL_KATEG(administrator);
    for (const char* book : {"Firm", "Valut", "MOL", "KatMOL", "Dostup"})
        EXPECT_EQ(DOSTOBJ(book, &administrators), 0) << book;
    for (const demo::SampleLogin& login : demo::sampleLogins()) {
        const std::int16_t category = GETMOL_KATEG(login.employee);
        if (category == administrators) continue;
        EXPECT_NE(DOSTOBJ("KatMOL", &category), 0) << "operators see no categories";
    }
}

TEST_F(DemoCommand, AFolderThatHoldsDataIsRefusedWithNothingChanged) {
    // One store that somebody entered.
    fs::create_directories(folder.path() / "Dat");
    {
        storage::DataFile store(refbooks::storeLayout());
        store.setName(".\\Dat\\Store");
        framework::FileUse use(store);
        store.record().clear();
        store.record().setValue("STO:COD", "7");
        store.record().setValue("STO:NAME", ru("Склад"));
        ASSERT_EQ(store.add(), 0);
    }
    auto before = testing_support::snapshotOf(folder.path());
    EXPECT_EQ(run({"--demo"}), shell::kDemoRefused);
    EXPECT_NE(error.find("Папка данных не пуста"), std::string::npos) << error;
    EXPECT_NE(error.find("Store.db"), std::string::npos) << "the file found is named: " << error;
    EXPECT_EQ(testing_support::snapshotOf(folder.path()), before);

    // The library's files in a folder of their own: data there is data too.
    fs::remove_all(folder.path() / "Dat");
    folder.write("Dostup.INI", "[Path]\r\nBasePath=.\\Staff\\\r\n");
    folder.write("COMP.INI", "[Path]\r\nBasePATH=.\\Books\\\r\n");
    folder.write("Staff/MolLog.db", "entries");
    before = testing_support::snapshotOf(folder.path());
    EXPECT_EQ(run({"--demo"}), shell::kDemoRefused);
    EXPECT_NE(error.find("MolLog.db"), std::string::npos) << error;
    EXPECT_EQ(testing_support::snapshotOf(folder.path()), before) << "no Books folder either";

    // Both folders empty: each gets its half; a second run changes nothing.
    fs::remove(folder.path() / "Staff" / "MolLog.db");
    ASSERT_EQ(run({"--demo"}), shell::kDemoWritten) << error;
    EXPECT_TRUE(fs::exists(folder.path() / "Staff" / "MOL.db"));
    EXPECT_TRUE(fs::exists(folder.path() / "Books" / "KursVal.db"));
    EXPECT_FALSE(fs::exists(folder.path() / "Staff" / "KursVal.db"));
    before = testing_support::snapshotOf(folder.path());
    EXPECT_EQ(run({"--demo"}), shell::kDemoRefused);
    EXPECT_EQ(testing_support::snapshotOf(folder.path()), before);
}

TEST_F(DemoCommand, OtherArgumentsAreAWrongCommandLine) {
    EXPECT_EQ(run({}), std::nullopt) << "no --demo: the program opens its frame";
    EXPECT_EQ(run({"--demo", "Dat"}), shell::kDemoFailed);
    EXPECT_NE(error.find("--demo"), std::string::npos) << error;
    EXPECT_FALSE(fs::exists(folder.path() / "Dat"));
}

// The program as a newcomer starts it: the first run fills, the second refuses.
TEST_F(DemoCommand, TheProgramFillsAnEmptyFolderAndThenRefuses) {
    const QString program = QString::fromStdString((fs::path(TESTS_BINARY_DIR) / "bin" / "tarvo").string());
    QProcess first;
    first.setWorkingDirectory(QString::fromStdString(folder.path().string()));
    first.start(program, {QStringLiteral("--demo")});
    ASSERT_TRUE(first.waitForFinished(120000));
    EXPECT_EQ(first.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(first.exitCode(), 0) << first.readAllStandardError().toStdString();
    EXPECT_TRUE(QString::fromUtf8(first.readAllStandardOutput()).contains(QStringLiteral("admin")));
    EXPECT_TRUE(fs::exists(folder.path() / "Dat" / "MOL.db"));

    QProcess second;
    second.setWorkingDirectory(QString::fromStdString(folder.path().string()));
    second.start(program, {QStringLiteral("--demo")});
    ASSERT_TRUE(second.waitForFinished(120000));
    EXPECT_EQ(second.exitCode(), shell::kDemoRefused);
    EXPECT_TRUE(QString::fromUtf8(second.readAllStandardError())
                    .contains(QStringLiteral("Папка данных не пуста")));
}

}  // namespace
