// Reading the banks' files and matching them to the book: real-shaped files of
// both sources, every bad input named, and the cross rates into the book's base.
#include "rates/official_rates.h"
#include "rates/rate_matching.h"
#include "sample_sheets.h"

#include "platform/dates.h"

#include <gtest/gtest.h>

namespace rates_tests {
namespace {

using platform::ru;
using rates::readSheet;

std::int32_t day(int year, int month, int d) { return platform::dayNumber(year, month, d); }

TEST(SheetReading, DailyFilesOfBothBanksGiveTheRatePerUnit) {
    struct Case {
        const char* what;
        std::string bytes;
        std::string base;
    };
    const std::vector<Line> lines{{"USD", "1", "92,1234"}, {"HUF", "10", "2,5600"},
                                  {"JPY", "100", "61,3400"}, {"VND", "10000", "36,5000"}};
    const Case cases[] = {
        {"windows-1251", dailyXml("09.12.2026", lines), "RUB"},
        {"UTF-8", dailyXml("09.12.2026", lines, true), "RUB"},
        {"UTF-8 with a byte-order mark", "\xEF\xBB\xBF" + dailyXml("09.12.2026", lines, true), "RUB"},
        {"JSON", nationalBankJson("2026-12-09", {{"USD", "1", "92.1234"}, {"HUF", "10", "2.56"},
                                                  {"JPY", "100", "61.34"}, {"VND", "10000", "36.5"}}),
         "BYN"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const rates::SheetReading reading = readSheet(c.bytes);
        ASSERT_TRUE(reading.sheet) << platform::cp1251ToUtf8(reading.error);
        const rates::RateSheet& sheet = *reading.sheet;
        EXPECT_EQ(sheet.date, day(2026, 12, 9));
        EXPECT_EQ(sheet.base, c.base);
        ASSERT_EQ(sheet.rates.size(), 4u);
        EXPECT_DOUBLE_EQ(sheet.rates[0].perUnit(), 92.1234);
        EXPECT_DOUBLE_EQ(sheet.rates[1].perUnit(), 0.256);
        EXPECT_DOUBLE_EQ(sheet.rates[2].perUnit(), 0.6134) << "100 yen are not one";
        EXPECT_DOUBLE_EQ(sheet.rates[3].perUnit(), 0.00365);
        EXPECT_EQ(sheet.rates[0].name, ru("Валюта USD"));
    }
}

TEST(SheetReading, PeriodFileOfOneCurrency) {
    const auto reading = readSheet(periodXml("01.12.2026", "03.12.2026",
                                             {{"01.12.2026", "90,0000"}, {"03.12.2026", "91,5000"}}));
    ASSERT_TRUE(reading.sheet) << platform::cp1251ToUtf8(reading.error);
    EXPECT_EQ(reading.sheet->kind, rates::SheetKind::Period);
    EXPECT_EQ(reading.sheet->currencyId, "R01235");
    ASSERT_EQ(reading.sheet->rates.size(), 2u);
    EXPECT_EQ(reading.sheet->rates[1].date, day(2026, 12, 3));
    EXPECT_DOUBLE_EQ(reading.sheet->rates[1].value, 91.5);
}

TEST(SheetReading, EveryBadInputIsNamed) {
    const std::string good = dailyXml("09.12.2026", {{"USD", "1", "92,1234"}});
    auto replaced = [&](const std::string& from, const std::string& to) {
        std::string text = good;
        text.replace(text.find(from), from.size(), to);
        return text;
    };
    struct Case {
        std::string bytes;
        const char* message;  // a part of the message, UTF-8
    };
    const Case cases[] = {
        {"", "пуст"},
        {"Курс доллара 92", "не файл курсов"},
        {good.substr(0, good.size() / 2), "испорчен или обрезан"},
        {"<html><body>Service unavailable</body></html>", "корневой элемент «html»"},
        {replaced("Date=\"09.12.2026\"", ""), "нет даты (Date)"},
        {replaced("09.12.2026", "31.02.2026"), "«31.02.2026» — не дата"},
        {replaced("92,1234", ""), "USD, курс (Value): пусто"},
        {replaced("92,1234", "0,0000"), "USD, курс (Value): ноль"},
        {replaced("92,1234", "-92,1234"), "USD, курс (Value): меньше нуля"},
        {replaced("92,1234", "92,12,34"), "USD, курс (Value): не число"},
        {replaced("92,1234", "1e5"), "USD, курс (Value): не число"},
        {replaced("92,1234", "1000000,0000"), "больше 999999,99999"},
        {replaced("<Nominal>1<", "<Nominal>0<"), "USD, номинал (Nominal): ноль"},
        {replaced("<Nominal>1<", "<Nominal>abc<"), "номинал (Nominal): не число"},
        {dailyXml("09.12.2026", {{"USD", "1", "92,1"}, {"usd", "1", "93,1"}}), "usd встречается в файле дважды"},
        {dailyXml("09.12.2026", {}), "нет ни одного курса"},
        {replaced("<CharCode>USD</CharCode>", ""), "без кода (CharCode)"},
        {replaced("windows-1251", "koi8-r"), "в кодировке koi8-r"},
        {std::string(rates::kMaxSheetBytes + 1, ' '), "больше 1 МБ"},
        {"[{\"Cur_Abbreviation\":\"USD\",\"Cur_Scale\":1,\"Cur_OfficialRate\":3.2", "испорчен или обрезан"},
        {"[{\"Cur_Abbreviation\":\"USD\",\"Cur_Scale\":1,\"Cur_OfficialRate\":null,"
         "\"Date\":\"2026-12-09T00:00:00\"}]",
         "курс (Cur_OfficialRate): пусто"},
        {"[{\"Cur_Abbreviation\":\"USD\",\"Cur_Scale\":1,\"Cur_OfficialRate\":3.2,\"Date\":\"9.12.2026\"}]",
         "не дата (Date)"},
        {"[{\"Cur_Abbreviation\":\"USD\",\"Cur_Scale\":1,\"Cur_OfficialRate\":3.2,"
         "\"Date\":\"2026-12-09T00:00:00\"},{\"Cur_Abbreviation\":\"EUR\",\"Cur_Scale\":1,"
         "\"Cur_OfficialRate\":3.5,\"Date\":\"2026-12-08T00:00:00\"}]",
         "дата курса не та"},
        {"[{\"a\":1}]", "это не курсы Национального банка"},
        {periodXml("01.12.2026", "03.12.2026", {{"01.12.2026", "90,0"}, {"01.12.2026", "91,0"}}),
         "Дата 01.12.2026 встречается в файле дважды"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        const rates::SheetReading reading = readSheet(c.bytes);
        EXPECT_FALSE(reading.sheet);
        EXPECT_NE(platform::cp1251ToUtf8(reading.error).find(c.message), std::string::npos)
            << platform::cp1251ToUtf8(reading.error);
    }
}

rates::RateSheet sheetOf(const std::string& bytes) {
    rates::SheetReading reading = readSheet(bytes);
    EXPECT_TRUE(reading.sheet) << platform::cp1251ToUtf8(reading.error);
    return reading.sheet.value_or(rates::RateSheet{});
}

TEST(RateMatching, CrossRatesIntoTheBooksBaseAndTheFilesOwnBase) {
    // The Belarusian bank's rates into a rouble book: 100 roubles cost 3.5 BYN.
    const rates::RateSheet sheet = sheetOf(nationalBankJson(
        "2026-12-09", {{"USD", "1", "3.25"}, {"RUB", "100", "3.5"}, {"PLN", "10", "8.1"}}));
    const std::vector<rates::BookCurrency> book{
        {ru("Руб "), ru("Рубль"), 1}, {"usd ", "Dollar", 90}, {"BYN", "Belarusian rouble", 27}};
    const rates::Matching matching = rates::matchDaily(sheet, book, ru("Руб"));
    ASSERT_TRUE(matching.error.empty()) << platform::cp1251ToUtf8(matching.error);
    ASSERT_EQ(matching.rates.size(), 2u) << "the book's base keeps its rate";
    EXPECT_EQ(matching.rates[0].designation, "usd ");
    EXPECT_DOUBLE_EQ(matching.rates[0].rate, 3.25 / 0.035);
    EXPECT_NEAR(matching.rates[0].changePercent(), (3.25 / 0.035 / 90 - 1) * 100, 1e-9);
    EXPECT_EQ(matching.rates[1].designation, "BYN");
    EXPECT_DOUBLE_EQ(matching.rates[1].rate, 1 / 0.035);
    EXPECT_EQ(matching.skipped, std::vector<std::string>{"PLN"}) << "listed, not added";
}

TEST(RateMatching, TheBooksBaseByAnyOfItsNamesAndAFileThatCannotServe) {
    const rates::RateSheet roubles = sheetOf(dailyXml("09.12.2026", {{"USD", "1", "92,5"}}));
    const std::vector<rates::BookCurrency> book{{"RUR", "", 1}, {"USD", "", 90}};
    for (const std::string& base : {std::string("RUB"), std::string("rur "), ru("Руб"), ru("РУБ")}) {
        const rates::Matching matching = rates::matchDaily(roubles, book, base);
        ASSERT_EQ(matching.rates.size(), 1u) << platform::cp1251ToUtf8(base);
        EXPECT_DOUBLE_EQ(matching.rates[0].rate, 92.5);
    }
    // A dollar book cannot take rouble rates without the dollar's own rate.
    const rates::Matching noBase =
        rates::matchDaily(sheetOf(dailyXml("09.12.2026", {{"EUR", "1", "99"}})), book, "USD");
    EXPECT_TRUE(noBase.rates.empty());
    EXPECT_NE(platform::cp1251ToUtf8(noBase.error).find("нет курса базовой валюты"), std::string::npos);
    const rates::Matching none =
        rates::matchDaily(sheetOf(dailyXml("09.12.2026", {{"GBP", "1", "120"}})), book, "RUB");
    EXPECT_NE(platform::cp1251ToUtf8(none.error).find("нет ни одной валюты справочника"), std::string::npos);
}

}  // namespace
}  // namespace rates_tests
