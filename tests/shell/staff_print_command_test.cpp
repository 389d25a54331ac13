// The staff documents of the access library from the program's command line:
// "--print Staff|StaffByDepartment|StaffStatement --pdf FILE" and, for one
// employee, "--print TravelCertificate|PowerOfAttorney --employee CODE", over a
// data folder of 300 employees in 12 departments, with the requisites from
// ".\TARVO.INI"; an employee code that names nobody writes nothing.
#include "access/access_layouts.h"
#include "framework/file_access.h"
#include "platform/cp1251.h"
#include "platform/ini_file.h"
#include "shell/print_command.h"
#include "storage/data_file.h"
#include "tests/helpers/command_line.h"
#include "tests/helpers/qt_application.h"
#include "tests/helpers/temp_folder.h"
#include "tests/ui/sample_report.h"

#include <gtest/gtest.h>

#include <QFile>

#include <filesystem>
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

namespace {

using platform::ru;

class StaffPrintCommand : public ::testing::Test {
protected:
    StaffPrintCommand() {
        testing_support::qtApplication();
        std::filesystem::create_directories(folder.path() / "Dat");
    }

    // Employees 1..300 in departments 1..12 (and the service entry of code 0), as
    // another program of the suite leaves them in the library's data folder.
    void addStaff() {
        storage::DataFile departments(dostup::otdMolLayout());
        departments.setName(".\\Dat\\OtdMOL");
        {
            framework::FileUse use(departments);
            for (int d = 1; d <= 12; ++d) {
                departments.record().clear();
                departments.record().setValue("OMO:OTD_ID", std::to_string(d));
                departments.record().setValue("OMO:NAME", ru("Отдел номер ") + std::to_string(d));
                ASSERT_EQ(departments.add(), 0);
            }
        }
        storage::DataFile mol(dostup::molLayout());
        mol.setName(".\\Dat\\MOL");
        mol.setOwnerPassword(dostup::ownerPasswordOf(mol.layout()));
        framework::FileUse use(mol);
        mol.begin();
        for (int code = 0; code <= 300; ++code) {
            storage::Record& r = mol.record();
            r.clear();
            r.setValue("MOL:SCODE", std::to_string(code));
            r.setValue("MOL:LNAME", ru("Сотрудник") + std::to_string(1000 + code));
            r.setValue("MOL:FNAME", ru("Иван Иванович"));
            r.setValue("MOL:OTD_ID", std::to_string(code % 12 + 1));
            r.setValue("MOL:TITLE", ru("Продавец"));
            ASSERT_EQ(mol.add(), 0);
        }
        mol.commit();
    }

    std::optional<int> run(std::initializer_list<const char*> arguments) {
        testing_support::CommandLine line(arguments);
        testing::internal::CaptureStderr();
        const std::optional<int> code =
            shell::runPrintCommand(line.argc(), line.argv());
        error = testing::internal::GetCapturedStderr();
        return code;
    }

    QString text(const char* pdf) const {
        return testing_support::pdfText(QString::fromStdString((folder.path() / pdf).string()))
            .simplified();
    }
    int pageCount(const char* pdf) const {
        return testing_support::pdfPageCount(QString::fromStdString((folder.path() / pdf).string()));
    }

    testing_support::TempFolder folder;
    std::string error;
};

TEST_F(StaffPrintCommand, EachStaffDocumentIsWrittenFromTheCommandLine) {
    addStaff();
    platform::writeIni("KELM", "ShopName", ru("ООО \"Склад № 1\""), ".\\TARVO.INI");
    platform::writeIni("KELM", "Director", ru("Орлов П.П."), ".\\TARVO.INI");

    EXPECT_EQ(run({"--print", "Staff", "--pdf", "staff.pdf"}), 0) << error;
    EXPECT_EQ(run({"--print", "staffbydepartment", "--pdf", "departments.pdf"}), 0) << error;
    EXPECT_EQ(run({"--print", "StaffStatement", "--pdf", "statement.pdf"}), 0) << error;
    EXPECT_EQ(run({"--print", "TravelCertificate", "--employee", "150", "--pdf", "trip.pdf"}), 0)
        << error;
    EXPECT_EQ(run({"--print", "PowerOfAttorney", "--employee=299", "--pdf", "attorney.pdf"}), 0)
        << error;

    // 300 lines of 5 mm: 7 pages of the list; the groups' headers take more.
    EXPECT_EQ(pageCount("staff.pdf"), 7);
    EXPECT_GE(pageCount("departments.pdf"), 7);
    EXPECT_GE(pageCount("statement.pdf"), 10);
    EXPECT_EQ(pageCount("trip.pdf"), 1);
    EXPECT_EQ(pageCount("attorney.pdf"), 1);

    const QString staff = text("staff.pdf");
    EXPECT_EQ(staff.count(QStringLiteral("Сотрудник")), 300);
    EXPECT_FALSE(staff.contains(QStringLiteral("Сотрудник1000"))) << "code 0 is left out";
    EXPECT_TRUE(staff.contains(QStringLiteral("1 Сотрудник1001 И.И. Отдел номер 2")));
    const QString departments = text("departments.pdf");
    // Every department is headed; one that goes on over a page is headed again.
    int headings = 0;
    for (int d = 1; d <= 12; ++d) {
        const int count = static_cast<int>(departments.count(QStringLiteral("Отдел номер %1 ").arg(d)));
        EXPECT_GE(count, 1) << d;
        headings += count;
    }
    EXPECT_GT(headings, 12) << "300 employees in 12 departments over 7 pages";
    EXPECT_TRUE(text("trip.pdf").contains(QStringLiteral("Выдано Сотрудник1150 Иван Иванович")));
    EXPECT_TRUE(text("trip.pdf").contains(QStringLiteral("ООО \"Склад № 1\"")));
    const QString attorney = text("attorney.pdf");
    EXPECT_TRUE(attorney.contains(QStringLiteral("Выдана Сотрудник1299 Иван Иванович")));
    EXPECT_TRUE(attorney.contains(QStringLiteral("Руководитель предприятия ... Орлов П.П.")))
        << "the requisites come from .\\TARVO.INI under the program";
}

TEST_F(StaffPrintCommand, EmployeeOptionIsCheckedAndANobodyWritesNothing) {
    addStaff();
    EXPECT_EQ(run({"--print", "TravelCertificate", "--employee", "301", "--pdf", "x.pdf"}), 2);
    EXPECT_NE(error.find("no employee has the code 301; no file was written"), std::string::npos)
        << error;
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "x.pdf"));

    EXPECT_EQ(run({"--print", "PowerOfAttorney", "--pdf", "x.pdf"}), 1);
    EXPECT_NE(error.find("--print PowerOfAttorney needs --employee CODE"), std::string::npos)
        << error;
    EXPECT_EQ(run({"--print", "PowerOfAttorney", "--employee", "12a", "--pdf", "x.pdf"}), 1);
    EXPECT_NE(error.find("employee code from 0 to 65535, not \"12a\""), std::string::npos) << error;
    EXPECT_EQ(run({"--print", "PowerOfAttorney", "--employee", "70000", "--pdf", "x.pdf"}), 1);
    EXPECT_EQ(run({"--print", "Staff", "--employee", "5", "--pdf", "x.pdf"}), 1);
    EXPECT_NE(error.find("is not about one employee"), std::string::npos) << error;
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "x.pdf"));

    EXPECT_EQ(run({"--print", "Nothing", "--pdf", "x.pdf"}), 1);
    EXPECT_NE(error.find("TypeOp, Store, Staff, StaffByDepartment, StaffStatement, TravelCertificate, "
                         "PowerOfAttorney"),
              std::string::npos)
        << error;
}

// The rights of every category and of one employee, and the rights journal
// with every printable byte of code page 1251 at the full 80 characters of a
// value, each text read back out of the PDF as it was stored.
TEST_F(StaffPrintCommand, RightsAndTheRightsJournalAreWrittenFromTheCommandLine) {
    const auto fill = [](const storage::RecordLayout& layout, const char* name,
                         const std::vector<std::map<std::string, std::string>>& records) {
        storage::DataFile file(layout);
        file.setName(std::string(".\\Dat\\") + name);
        file.setOwnerPassword(dostup::ownerPasswordOf(layout));
        framework::FileUse use(file);
        for (const auto& values : records) {
            file.record().clear();
            for (const auto& [field, value] : values) ASSERT_TRUE(file.record().setValue(field, value)) << field;
            ASSERT_EQ(file.add(), 0) << file.errorText();
        }
    };
    fill(dostup::katMolLayout(), "KatMOL", {{{"KTM:COD", "2"}, {"KTM:KATEG", ru("Кладовщики")}}});
    fill(dostup::objectLayout(), "Object",
         {{{"OBJ:ID", "1"}, {"OBJ:OBOZN", "Firm"}, {"OBJ:NAME", ru("Фирмы")}, {"OBJ:TYPE", ru("Справочник")}},
          {{"OBJ:ID", "2"}, {"OBJ:OBOZN", "Price"}, {"OBJ:NAME", ru("Цены")}, {"OBJ:TYPE", ru("Справочник")}}});
    fill(dostup::dostupLayout(), "Dostup", {{{"DOS:KATEGCODE", "2"}, {"DOS:OBJECTID", "1"}, {"DOS:OPENFLAG", "1"}}});
    fill(dostup::molLayout(), "MOL",
         {{{"MOL:SCODE", "20"}, {"MOL:LNAME", ru("Петров")}, {"MOL:FNAME", ru("Николай")}, {"MOL:KATEGCODE", "2"}}});
    // Every printable byte (no-break space, soft hyphen and the unassigned 0x98
    // aside), 80 to a value.
    std::string bytes;
    for (int c = 0x21; c <= 0xFF; ++c)
        if (c != 0x7F && c != 0x98 && c != 0xA0 && c != 0xAD) bytes.push_back(static_cast<char>(c));
    std::vector<std::string> values;
    for (std::size_t at = 0; at < bytes.size(); at += 80) values.push_back(bytes.substr(at, 80));
    std::vector<std::map<std::string, std::string>> entries;
    for (std::size_t i = 0; i < values.size(); ++i)
        entries.push_back({{"RLG:DATE", "80000"}, {"RLG:TIME", std::to_string(100 + i)}, {"RLG:OPERATOR", "1"},
                           {"RLG:KIND", "2"}, {"RLG:KATEG", ru("Кладовщики")}, {"RLG:ACTION", ru("Изменение")},
                           {"RLG:OLDVALUE", values[i]}, {"RLG:NEWVALUE", values[values.size() - 1 - i]}});
    fill(dostup::rightsLogLayout(), "RightsLog", entries);

    EXPECT_EQ(run({"--print", "Rights", "--pdf", "rights.pdf"}), 0) << error;
    EXPECT_EQ(run({"--print", "rights", "--employee", "20", "--pdf", "one.pdf"}), 0) << error;
    EXPECT_EQ(run({"--print", "RightsLog", "--pdf", "log.pdf"}), 0) << error;
    EXPECT_EQ(run({"--print", "Rights", "--employee", "21", "--pdf", "nobody.pdf"}), 2);
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "nobody.pdf"));
    EXPECT_EQ(run({"--print", "RightsLog", "--employee", "20", "--pdf", "x.pdf"}), 1);

    const QString all = text("rights.pdf");
    EXPECT_TRUE(all.contains(QStringLiteral("Категория 0 (без регистрации)"))) << all.toStdString();
    EXPECT_TRUE(all.contains(QStringLiteral("Категория 2 Кладовщики")));
    EXPECT_TRUE(all.contains(QStringLiteral("Firm Фирмы Справочник X есть"))) << all.toStdString();
    EXPECT_TRUE(all.contains(QStringLiteral("Price Цены Справочник нет")));
    const QString one = text("one.pdf");
    EXPECT_TRUE(one.contains(QStringLiteral("Сотрудник 20 Петров Николай")));
    EXPECT_FALSE(one.contains(QStringLiteral("Категория 0")));

    // The changed fields of one employee under their entry.
    fill(dostup::molLogLayout(), "MolLog",
         {{{"MLO:SCODE", "20"}, {"MLO:DATE", "80000"}, {"MLO:TIME", "100"}, {"MLO:OPERATOR", "1"},
           {"MLO:OPERATION", ru("Изменение")}}});
    fill(dostup::molChangeLayout(), "MolChange",
         {{{"MCH:SCODE", "20"}, {"MCH:DATE", "80000"}, {"MCH:TIME", "100"}, {"MCH:NUMBER", "1"},
           {"MCH:LABEL", ru("Должность")}, {"MCH:OLDVALUE", ru("Кладовщик")}, {"MCH:NEWVALUE", ru("Старший кладовщик")}},
          {{"MCH:SCODE", "21"}, {"MCH:DATE", "80000"}, {"MCH:TIME", "100"}, {"MCH:NUMBER", "1"},
           {"MCH:LABEL", ru("Фамилия")}, {"MCH:OLDVALUE", ru("Другой")}}});
    EXPECT_EQ(run({"--print", "EmployeeChanges", "--employee", "20", "--pdf", "changes.pdf"}), 0) << error;
    const QString changes = text("changes.pdf");
    EXPECT_TRUE(changes.contains(QStringLiteral("сотрудник 20 Петров Н. Изменение, оператор 1"))) << changes.toStdString();
    EXPECT_TRUE(changes.contains(QStringLiteral("Должность Кладовщик Старший кладовщик"))) << changes.toStdString();
    EXPECT_FALSE(changes.contains(QStringLiteral("Другой"))) << "another employee's";
    EXPECT_EQ(run({"--print", "EmployeeChanges", "--pdf", "all.pdf"}), 0) << error;
    EXPECT_TRUE(text("all.pdf").contains(QStringLiteral("Другой")));

    const QString log = text("log.pdf");
    for (const std::string& value : values)
        EXPECT_TRUE(log.contains(QString::fromStdString(platform::cp1251ToUtf8(value)).simplified()))
            << platform::cp1251ToUtf8(value) << "\n" << log.toStdString();
}

TEST_F(StaffPrintCommand, AnEmptyStaffFileWritesNothing) {
    EXPECT_EQ(run({"--print", "StaffStatement", "--pdf", "empty.pdf"}), 2);
    EXPECT_NE(error.find("StaffStatement has nothing to print"), std::string::npos) << error;
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "empty.pdf"));
}

}  // namespace
