// `tarvo --export NAME --xlsx FILE | --csv FILE`: a list written as its window
// writes it; every wrong command line exits 2 with a Russian message and no file.
#include "framework/file_access.h"
#include "platform/cp1251.h"
#include "refbooks/ref_layouts.h"
#include "shell/export_command.h"
#include "storage/data_file.h"
#include "tests/helpers/command_line.h"
#include "tests/helpers/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>

namespace {

using platform::ru;

class ExportCommand : public ::testing::Test {
protected:
    ExportCommand() {
        std::filesystem::create_directories(folder.path() / "Dat");
        folder.write("COMP.INI", "[Path]\r\nBasePATH=.\\Dat\\\r\n");  // whatever an earlier run named
        storage::DataFile valut(refbooks::valutLayout()), kurs(refbooks::kursLayout());
        valut.setName(".\\Dat\\Valut");
        kurs.setName(".\\Dat\\KursVal");
        framework::FileUse useValut(valut), useKurs(kurs);
        valut.record().setInt("VAL:COD", 1);
        valut.record().setText("VAL:OBOZN", "USD");
        EXPECT_EQ(valut.add(), 0);
        for (int day = 1; day <= 3; ++day) {
            kurs.record().clear();
            kurs.record().setText("KUR:VALUT", "USD");
            kurs.record().setInt("KUR:NUMBER", day);
            kurs.record().setInt("KUR:DATE", 80000 + day);
            EXPECT_EQ(kurs.add(), 0);
        }
    }

    std::optional<int> run(std::initializer_list<const char*> arguments) {
        testing_support::CommandLine line(arguments);
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        const std::optional<int> code = shell::runExportCommand(line.argc(), line.argv());
        output = testing::internal::GetCapturedStdout();
        error = testing::internal::GetCapturedStderr();
        return code;
    }

    testing_support::TempFolder folder;
    std::string output, error;
};

TEST_F(ExportCommand, WritesAListAndRefusesEveryWrongCommandLineWithoutAFile) {
    EXPECT_EQ(run({"--print", "Store"}), std::nullopt);
    ASSERT_EQ(run({"--export", "kurs", "--currency", "USD", "--csv", "usd.csv"}), 0) << error;
    EXPECT_EQ(output, "Выгружено строк: 3\n");
    EXPECT_TRUE(std::filesystem::exists(folder.path() / "usd.csv"));

    struct Case {
        std::initializer_list<const char*> arguments;
        const char* message;
    };
    const Case cases[] = {
        {{"--export"}, "укажите список"},
        {{"--export", "Valut"}, "укажите один файл"},
        {{"--export", "Valut", "--csv", "x.csv", "--xlsx", "x.xlsx"}, "укажите один файл"},
        {{"--export", "Valut", "--xlsx", "x.csv"}, "оканчиваться на .xlsx"},
        {{"--export", "Valut", "--csv", "no/such/folder/x.csv"}, "нет папки"},
        {{"--export", "Goods", "--csv", "x.csv"}, "нет списка «Goods»"},
        {{"--export", "Kurs", "--csv", "x.csv"}, "укажите валюту"},
        {{"--export", "Kurs", "--currency", "GBP", "--csv", "x.csv"}, "нет валюты GBP"},
        {{"--export", "Valut", "--currency", "USD", "--csv", "x.csv"}, "только для списка Kurs"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        EXPECT_EQ(run(c.arguments), 2);
        EXPECT_NE(error.find(c.message), std::string::npos) << error;
        EXPECT_FALSE(std::filesystem::exists(folder.path() / "x.csv"));
        EXPECT_FALSE(std::filesystem::exists(folder.path() / "x.xlsx"));
    }
}

}  // namespace
