// `tarvo --rates SOURCE`: a good file writes and lists every rate; every bad
// input, option or download exits 2 with a Russian message and leaves the data
// folder byte for byte as it was.
#include "framework/file_access.h"
#include "platform/cp1251.h"
#include "refbooks/ref_layouts.h"
#include "shell/rates_command.h"
#include "storage/data_file.h"
#include "tests/helpers/command_line.h"
#include "tests/helpers/folder_snapshot.h"
#include "tests/helpers/temp_folder.h"
#include "tests/rates/sample_sheets.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <string>

namespace {

using platform::ru;

class RatesCommand : public ::testing::Test {
protected:
    RatesCommand() {
        std::filesystem::create_directories(folder.path() / "Dat");
        folder.write("COMP.INI", "[Path]\r\nBasePATH=.\\Dat\\\r\n");  // whatever an earlier run named
        storage::DataFile valut(refbooks::valutLayout());
        valut.setName(".\\Dat\\Valut");
        framework::FileUse use(valut);
        int code = 0;
        for (const std::string& designation : {ru("Руб"), std::string("USD"), std::string("EUR")}) {
            valut.record().clear();
            valut.record().setInt("VAL:COD", ++code);
            valut.record().setText("VAL:OBOZN", designation);
            valut.record().setReal(valut.layout().indexOf("VAL:PROCENT1"), 2);
            EXPECT_EQ(valut.add(), 0);
        }
    }

    std::optional<int> run(std::initializer_list<const char*> arguments) {
        testing_support::CommandLine line(arguments);
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        const std::optional<int> code = shell::runRatesCommand(line.argc(), line.argv());
        output = testing::internal::GetCapturedStdout();
        error = testing::internal::GetCapturedStderr();
        return code;
    }

    testing_support::TempFolder folder;
    std::string output, error;
};

TEST_F(RatesCommand, WritesTheDayAndEveryBadInputChangesNothing) {
    folder.write("daily.xml", rates_tests::dailyXml("09.12.2026", {{"USD", "1", "92,5"}, {"GBP", "1", "117"}}));
    EXPECT_EQ(run({"--other"}), std::nullopt) << "not asked for rates";
    ASSERT_EQ(run({"--rates", "daily.xml", "--date", "09.12.2026"}), 0) << error;
    EXPECT_EQ(output, "USD 09.12.2026 92.5 опт. 94.35 розн. 92.5\nGBP пропущена: нет в справочнике\n");

    folder.write("cut.xml", rates_tests::dailyXml("09.12.2026", {{"USD", "1", "93,5"}}).substr(0, 150));
    folder.write("twice.xml", rates_tests::dailyXml("09.12.2026", {{"USD", "1", "93,5"}, {"USD", "1", "93,5"}}));
    folder.write("foreign.xml", rates_tests::dailyXml("09.12.2026", {{"GBP", "1", "117"}}));
    struct Case {
        std::initializer_list<const char*> arguments;
        const char* message;
    };
    const Case cases[] = {
        {{"--rates"}, "укажите файл курсов"},
        {{"--rates", "missing.xml"}, "Нет файла курсов"},
        {{"--rates", "daily.xml", "--date", "08.12.2026"}, "а не на 08.12.2026"},
        {{"--rates", "daily.xml", "--date", "32.12.2026"}, "не дата"},
        {{"--rates", "cut.xml"}, "испорчен или обрезан"},
        {{"--rates", "twice.xml"}, "дважды"},
        {{"--rates", "foreign.xml"}, "нет ни одной валюты справочника"},
        {{"--rates", "daily.xml", "--currency", "USD"}, "только для файла курсов за период"},
        {{"--rates", "http://127.0.0.1:1/daily"}, "не загружен"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        const testing_support::FolderSnapshot before = testing_support::snapshotOf(folder.path());
        EXPECT_EQ(run(c.arguments), 2);
        EXPECT_NE(error.find(c.message), std::string::npos) << error;
        EXPECT_EQ(output, "");
        // Every file as it was; the folder itself changes its time as the database
        // engine opens and removes its journal of a read.
        const testing_support::FolderSnapshot after = testing_support::snapshotOf(folder.path());
        EXPECT_EQ(after.size(), before.size());
        for (const auto& [name, state] : after)
            EXPECT_TRUE(state.folder || (before.count(name) && before.at(name) == state)) << name;
    }
}

}  // namespace
