// Writing a bank's rates into the currency book: the day's history entry and the
// current rates, all currencies or none, also when a fault strikes the last one,
// when another station edits a currency, and when the process is killed between
// the history and the currencies.
#include "rates/official_rates.h"
#include "rates/rate_loading.h"
#include "sample_sheets.h"

#include "framework/file_access.h"
#include "framework/shared_state.h"
#include "platform/dates.h"
#include "refbooks/ref_files.h"
#include "refbooks/ref_layouts.h"
#include "storage/data_file.h"
#include "tests/helpers/raw_database.h"
#include "tests/helpers/temp_folder.h"
#include "tests/storage/postgres_cluster.h"
#include "tests/storage/storage_target.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <map>

namespace rates_tests {
namespace {

using platform::ru;

std::int32_t day(int d) { return platform::dayNumber(2026, 12, d); }

struct Entry {
    int number = 0;
    double bank = 0, wholesale = 0, retail = 0;
    std::string weekday;
};

// On the embedded files and on the database server.
class RateLoading : public ::testing::TestWithParam<storage_tests::StorageTarget> {
protected:
    static void TearDownTestSuite() { storage_tests::PostgresCluster::instance().stop(); }
    void SetUp() override {
        space = GetParam().makeSpace();
        files.valut.setName(space->diskName("Valut"));
        files.kurs.setName(space->diskName("KursVal"));
        framework::setRightsCheck([this](const std::string& object) { return masks[object]; });
        rates::installHeldRatesCompletion();
        addCurrency(1, ru("Руб"), 1, 0, 0);
        addCurrency(2, "USD", 90, 2, 3.5);
        addCurrency(3, "EUR", 98, 1, 0);
        addCurrency(4, "CNY", 12, 0, 0);
        addEntry("USD", 4, day(1), 89);
    }
    void TearDown() override {
        rates::setAfterHistoryCommitted({});
        framework::setRightsCheck({});
        framework::setOpenedHook(files.kurs, {});
    }

    void addCurrency(int code, const std::string& designation, double bank, double p1, double p2) {
        framework::FileUse use(files.valut);
        storage::Record& r = files.valut.record();
        r.clear();
        r.setInt("VAL:COD", code);
        r.setText("VAL:OBOZN", designation);
        for (const auto& [name, value] : {std::pair{"VAL:KURSBANKA", bank}, std::pair{"VAL:KURS", bank},
                                          std::pair{"VAL:KURSCASH", bank}, std::pair{"VAL:PROCENT1", p1},
                                          std::pair{"VAL:PROCENT2", p2}})
            r.setReal(r.layout().indexOf(name), value);
        ASSERT_EQ(files.valut.add(), 0);
    }
    void addEntry(const std::string& designation, int number, std::int32_t date, double bank) {
        framework::FileUse use(files.kurs);
        storage::Record& r = files.kurs.record();
        r.clear();
        r.setText("KUR:VALUT", designation);
        r.setInt("KUR:NUMBER", number);
        r.setInt("KUR:DATE", date);
        r.setReal(r.layout().indexOf("KUR:KURSCB"), bank);
        ASSERT_EQ(files.kurs.add(), 0);
    }
    // The three current rates of a currency as stored.
    std::vector<double> current(const std::string& designation) {
        framework::FileUse use(files.valut);
        storage::Record& r = files.valut.record();
        r.clear();
        r.setText("VAL:OBOZN", designation);
        EXPECT_EQ(files.valut.get(*files.valut.layout().key("OBOZN_KEY")), 0);
        return {r.getReal(r.layout().indexOf("VAL:KURSBANKA")), r.getReal(r.layout().indexOf("VAL:KURS")),
                r.getReal(r.layout().indexOf("VAL:KURSCASH"))};
    }
    // The history by designation and date.
    std::map<std::pair<std::string, std::int32_t>, Entry> history() {
        std::map<std::pair<std::string, std::int32_t>, Entry> entries;
        framework::FileUse use(files.kurs);
        storage::Record& r = files.kurs.record();
        files.kurs.set();
        while (files.kurs.next() == 0)
            entries[{std::string(platform::clip(r.getText("KUR:VALUT"))), static_cast<std::int32_t>(r.getInt("KUR:DATE"))}] = {
                static_cast<int>(r.getInt("KUR:NUMBER")), r.getReal(r.layout().indexOf("KUR:KURSCB")),
                r.getReal(r.layout().indexOf("KUR:KURS")), r.getReal(r.layout().indexOf("KUR:KURSCASH")),
                std::string(platform::clip(r.getText("KUR:WEEKDAY")))};
        return entries;
    }
    rates::LoadOutcome load(const std::string& bytes, const std::string& periodCurrency = {}) {
        const rates::SheetReading reading = rates::readSheet(bytes);
        EXPECT_TRUE(reading.sheet) << platform::cp1251ToUtf8(reading.error);
        if (!reading.sheet) return {};
        return rates::applyLoad(rates::previewLoad(*reading.sheet, periodCurrency));
    }

    bool onServer() const { return GetParam().name != "SQLite"; }

    testing_support::TempFolder folder;  // the working folder and its TARVO.INI
    std::unique_ptr<storage_tests::TargetSpace> space;
    refbooks::ReferenceFiles& files = refbooks::referenceFiles();
    std::map<std::string, std::int16_t> masks;
    const std::string daily = dailyXml("09.12.2026", {{"USD", "1", "92,1234"}, {"EUR", "1", "100,5"},
                                                      {"CNY", "10", "127,0"}, {"JPY", "100", "61,34"}});
};

TEST_P(RateLoading, WritesTheDaysEntryAndTheCurrentRatesAndRewritesThemWhenLoadedTwice) {
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        const rates::LoadOutcome outcome = load(daily);
        ASSERT_TRUE(outcome.error.empty()) << platform::cp1251ToUtf8(outcome.error);
        EXPECT_EQ(outcome.written.size(), 3u);
        // Derived as the currency form's bank-rate button derives them, unrounded.
        EXPECT_EQ(current("USD"), (std::vector<double>{92.1234, 92.1234 * (2.0 / 100 + 1),
                                                       92.1234 * (3.5 / 100 + 1)}));
        EXPECT_DOUBLE_EQ(current("CNY")[0], 12.7) << "10 yuan are not one";
        EXPECT_EQ(current(ru("Руб")), (std::vector<double>{1, 1, 1})) << "the base is never overwritten";
        const auto entries = history();
        EXPECT_EQ(entries.size(), 4u) << "loading twice rewrites the day's entries";
        const Entry& usd = entries.at({"USD", day(9)});
        EXPECT_EQ(usd.number, 5) << "after the latest entry";
        EXPECT_EQ(usd.weekday, ru("Среда"));
        EXPECT_DOUBLE_EQ(usd.retail, 92.1234 * 1.035);
        EXPECT_EQ(entries.at({"EUR", day(9)}).number, 1);
    }
}

TEST_P(RateLoading, AnOlderDayGoesIntoTheHistoryOnly) {
    addEntry("USD", 5, day(10), 91);
    ASSERT_TRUE(load(daily).error.empty());
    EXPECT_EQ(current("USD")[0], 90) << "a newer entry exists";
    EXPECT_DOUBLE_EQ(history().at({"USD", day(9)}).bank, 92.1234);
    EXPECT_EQ(history().at({"USD", day(9)}).number, 6);
    EXPECT_DOUBLE_EQ(current("EUR")[0], 100.5);
}

TEST_P(RateLoading, AFaultOnTheLastCurrencyOrABanLeavesEveryFileAsItWas) {
    if (onServer())
        space->toolSql("KursVal",
                       "CREATE FUNCTION injected() RETURNS trigger LANGUAGE plpgsql AS "
                       "$$BEGIN RAISE EXCEPTION 'injected fault'; END$$; "
                       "CREATE TRIGGER injected BEFORE INSERT ON kursval FOR EACH ROW "
                       "WHEN (NEW.valut LIKE 'CNY%') EXECUTE FUNCTION injected()");
    else
        space->toolSql("KursVal", "CREATE TRIGGER injected BEFORE INSERT ON Kurs WHEN NEW.valut LIKE 'CNY%' "
                                  "BEGIN SELECT RAISE(ABORT, 'injected fault'); END");
    const rates::LoadOutcome faulty = load(daily);  // CNY is the book's last currency
    EXPECT_NE(platform::cp1251ToUtf8(faulty.error).find("справочник не изменён: курс CNY"), std::string::npos)
        << platform::cp1251ToUtf8(faulty.error);
    EXPECT_TRUE(faulty.written.empty());
    EXPECT_EQ(history().size(), 1u);
    EXPECT_EQ(current("USD")[0], 90);
    EXPECT_EQ(current("EUR")[0], 98);
    space->toolSql("KursVal", onServer() ? "DROP TRIGGER injected ON kursval" : "DROP TRIGGER injected");

    const std::map<std::pair<std::string, std::int32_t>, Entry> clean = history();
    for (const auto& [object, mask, message] :
         {std::tuple{"Kurs", 2, "Добавленение запрещено"}, std::tuple{"Valut", 4, "Изменение запрещено"},
          std::tuple{"Kurs", 1, "Доступ запрещен !"}}) {
        masks = {{object, static_cast<std::int16_t>(mask)}};
        EXPECT_EQ(rates::loadRefusal(), ru(message));
        EXPECT_EQ(rates::applyLoad({}).error.empty(), false);
        EXPECT_EQ(load(daily).error, ru(message));
    }
    EXPECT_EQ(history().size(), clean.size());
    EXPECT_EQ(current("EUR")[0], 98);
}

TEST_P(RateLoading, AStationEditingACurrencyMeanwhileGetsChangedByAnotherStation) {
    storage::DataFile station(refbooks::valutLayout());
    station.setName(space->diskName("Valut"));
    ASSERT_EQ(station.open(), 0);
    station.record().setText("VAL:OBOZN", "USD");
    station.watch();
    ASSERT_EQ(station.get(*station.layout().key("OBOZN_KEY")), 0);
    ASSERT_TRUE(load(daily).error.empty());
    station.record().setText("VAL:NAME", "edited");
    EXPECT_EQ(station.put(), storage::error::kChangedByAnotherStation) << "nothing is lost silently";
}

TEST_P(RateLoading, AProcessKilledBetweenTheHistoryAndTheCurrenciesIsCompletedAtTheNextOpening) {
    if (onServer()) GTEST_SKIP() << "one transaction on the server: nothing between the files";
    const pid_t child = fork();
    if (child == 0) {
        rates::setAfterHistoryCommitted([] { _exit(0); });
        load(daily);
        _exit(3);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_EQ(WEXITSTATUS(status), 0);
    testing_support::RawDatabase raw(std::filesystem::current_path() / "dat" / "Valut.db");
    EXPECT_EQ(raw.value("SELECT KURSBANKA FROM Valut WHERE OBOZN LIKE 'USD%'"), "90.0")
        << "killed before the currencies";
    EXPECT_EQ(history().count({"USD", day(9)}), 1u) << "opening the history completes the load";
    EXPECT_DOUBLE_EQ(current("USD")[0], 92.1234);
    EXPECT_DOUBLE_EQ(current("CNY")[0], 12.7);
    EXPECT_EQ(testing_support::RawDatabase(std::filesystem::current_path() / "dat" / "KursVal.db")
                  .value("SELECT count(*) FROM held_entries"),
              "0");
}

TEST_P(RateLoading, APeriodBackFillsOneCurrencyInDateOrder) {
    addEntry("USD", 2, day(6), 88);
    const std::string period = periodXml(
        "01.12.2026", "07.12.2026", {{"07.12.2026", "91,0"}, {"04.12.2026", "89,5"}, {"06.12.2026", "90,5"}});
    const rates::LoadOutcome outcome = load(period, "usd");
    ASSERT_TRUE(outcome.error.empty()) << platform::cp1251ToUtf8(outcome.error);
    const auto entries = history();
    EXPECT_EQ(entries.at({"USD", day(4)}).number, 5) << "new ones after the highest number";
    EXPECT_EQ(entries.at({"USD", day(6)}).number, 2) << "an existing day rewritten";
    EXPECT_DOUBLE_EQ(entries.at({"USD", day(6)}).bank, 90.5);
    EXPECT_EQ(entries.at({"USD", day(7)}).number, 6);
    EXPECT_DOUBLE_EQ(current("USD")[0], 91.0) << "the last day is the newest";
    EXPECT_FALSE(load(period, "").error.empty()) << "a period needs its currency";
}

INSTANTIATE_TEST_SUITE_P(Backends, RateLoading, ::testing::ValuesIn(storage_tests::storageTargets()),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace rates_tests
