// A list into a spreadsheet: the rows of its range and filter in its order, each
// column kind typed (text, number, date, time, flag), read back from the CSV and
// from the XLSX sheet; a cancel or the print ban leaves no file, and an older file
// of that name as it was.
#include "browse_fixture.h"

#include "framework/spreadsheet/list_export.h"
#include "platform/dates.h"

#include <cstdio>
#include <fstream>
#include <sstream>

namespace browse_tests {
namespace {

using framework::spreadsheet::TableFormat;

// The cells of a CSV file as a spreadsheet reads it (";" separated, quotes doubled).
std::vector<std::vector<std::string>> readCsv(const std::string& text) {
    std::vector<std::vector<std::string>> rows(1);
    std::string cell;
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') cell += text[++i];
            else if (c == '"') quoted = false;
            else cell += c;
        } else if (c == '"') {
            quoted = true;
        } else if (c == ';') {
            rows.back().push_back(cell);
            cell.clear();
        } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            rows.back().push_back(cell);
            cell.clear();
            rows.emplace_back();
            ++i;
        } else {
            cell += c;
        }
    }
    rows.pop_back();  // after the last line's end
    return rows;
}

std::string sheetXml(const std::filesystem::path& xlsx) {
    const std::string command = "unzip -p '" + xlsx.string() + "' xl/worksheets/sheet1.xml";
    std::string xml;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) xml.append(buffer, n);
        pclose(pipe);
    }
    return xml;
}

class ListExport : public BrowseTest {
protected:
    ListExport() {
        framework::FileUse use(kurs);
        // USD rates on three days (one filtered out), EUR on one; a weekday text
        // that a spreadsheet would take for a formula and that needs quoting.
        addRate("USD", 1, platform::dayNumber(2026, 12, 7), platform::clockValue(9, 5, 0), 91.5, "=1+1;\"x\"");
        addRate("USD", 2, platform::dayNumber(2026, 12, 8), 0, 85, "low");
        addRate("USD", 3, platform::dayNumber(2026, 12, 9), platform::clockValue(17, 45, 0), 92.125, "");
        addRate("EUR", 1, platform::dayNumber(2026, 12, 9), 0, 100, "eur");
    }
    void addRate(const char* valut, int number, std::int32_t date, std::int32_t time, double bank,
                 const std::string& weekday) {
        storage::Record& r = kurs.record();
        r.clear();
        r.setText("KUR:VALUT", valut);
        r.setInt("KUR:NUMBER", number);
        r.setInt("KUR:DATE", date);
        r.setInt("KUR:TIME", time);
        r.setReal(r.layout().indexOf("KUR:KURSCB"), bank);
        r.setText("KUR:WEEKDAY", weekday);
        ASSERT_EQ(kurs.add(), 0);
    }
    BrowseDefinition history() {
        BrowseDefinition d{kurs};
        d.title = platform::ru("История: USD [дни]");
        d.sorts = {{"KUR:VALUT_KEY", {}, {},
                    framework::browse::RangeDefinition{[] { return std::string("USD"); }, "KUR:VALUT",
                                                       "BRW1::Sort1:Reset:Val:Obozn",
                                                       "UPPER(Kur:Valut) = UPPER(BRW1::Sort1:Reset:Val:Obozn)"},
                    "KUR:KURSCB > 90"}};
        d.columns = {{"KUR:NUMBER", platform::ru("Номер"), 20, "n3"},
                     {"KUR:DATE", platform::ru("Дата"), 40, "d5."},
                     {"KUR:TIME", platform::ru("Время"), 30, "t1"},
                     {"KUR:KURSCB", platform::ru("Курс ЦБ"), 50, "n12.5"},
                     {"KUR:WEEKDAY", platform::ru("Примечание"), 40, "s11"},
                     {"KUR:NUMBER", "X", 10, "", {}, {}, nullptr, "X"}};
        d.accessObject = "Kurs";
        return d;
    }
    std::filesystem::path target(const char* name) const { return folder.path() / name; }
};

TEST_F(ListExport, CsvAndXlsxHoldTheRangeAndFilterWithTypedCells) {
    BrowseEngine& list = start(history());
    const auto csv = framework::spreadsheet::exportList(list, target("h.csv").string(), TableFormat::Csv);
    ASSERT_EQ(csv.error, "");
    EXPECT_EQ(csv.rows, 2);
    const std::string text = folder.read("h.csv");
    ASSERT_EQ(text.substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_EQ(readCsv(text.substr(3)),
              (std::vector<std::vector<std::string>>{
                  {"Номер", "Дата", "Время", "Курс ЦБ", "Примечание", "X"},
                  {"1", "07.12.2026", "09:05", "91,50000", "'=1+1;\"x\"", "X"},
                  {"3", "09.12.2026", "17:45", "92,12500", "", "X"}}));

    const auto xlsx = framework::spreadsheet::exportList(list, target("h.xlsx").string(), TableFormat::Xlsx);
    ASSERT_EQ(xlsx.error, "");
    const std::string sheet = sheetXml(target("h.xlsx"));
    EXPECT_NE(sheet.find("state=\"frozen\""), std::string::npos) << "the heading row stays in view";
    EXPECT_NE(sheet.find("<v>46363</v>"), std::string::npos) << "7 December 2026 as a date serial";
    EXPECT_NE(sheet.find("<v>92.125</v>"), std::string::npos) << "a number, not a text";
    EXPECT_NE(sheet.find("<t>=1+1;\"x\"</t>"), std::string::npos) << "a text, never a formula: " << sheet;
    EXPECT_EQ(sheet.find("85"), std::string::npos) << "filtered out";
    EXPECT_EQ(sheet.find("eur"), std::string::npos) << "another currency's range";
}

TEST_F(ListExport, ACancelOrThePrintBanLeavesNoFileAndTheOlderOneAsItWas) {
    for (int round = 0; round < 20; ++round) addPrice(round + 1, "Price");
    BrowseDefinition prices = priceDefinition();
    prices.title = "P";
    BrowseEngine& list = start(prices);
    folder.write("p.csv", "older");
    struct Case {
        const char* what;
        int mask;
        std::function<bool(long)> progress;
        const char* error;
    };
    const Case cases[] = {
        {"cancelled", 0, [](long) { return false; }, ""},
        {"print ban", 128, {}, "Печать запрещена"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        rights = c.mask;
        const auto outcome = framework::spreadsheet::exportList(list, target("p.csv").string(), TableFormat::Csv,
                                                                c.progress);
        EXPECT_EQ(platform::cp1251ToUtf8(outcome.error), c.error);
        EXPECT_EQ(folder.read("p.csv"), "older");
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()),
                                std::filesystem::directory_iterator()),
                  2) << "Dat and p.csv, no part file";
    }
}

}  // namespace
}  // namespace browse_tests
