// The rate history of one currency: its list and the rate form.
#include "rate_book_fixture.h"

namespace rate_book_tests {
namespace {

namespace kf = refbooks::kurs_form;

class RateHistory : public RateBookTest {
protected:
    RateHistory() {
        addCurrency(1, "USD", 92, 95, 96);
        addCurrency(2, "EUR", 99);
        addRate("USD", 5, kSunday - 30, 90);
        addRate("EUR", 9, kSunday - 10, 98);
        addRate("USD", 2, kSunday - 2, 91);
        pickCurrency("USD");  // as the currency list leaves it
    }
    // The history list of the currency in the Valut buffer, with the rate form.
    BrowseEngine& startHistory() {
        return start(refbooks::kursList([this] { framework::form::runForm(form, view); }));
    }
    void pickRate(const std::string& designation, int number) {
        if (framework::userCount(kurs) == 0) framework::useFile(kurs);
        kurs.record().clear();
        kurs.record().setValue("KUR:VALUT", designation);
        kurs.record().setValue("KUR:NUMBER", std::to_string(number));
        kurs.watch();
        ASSERT_EQ(kurs.get(*kurs.layout().key("VALUTNUMBER_KEY")), 0);
    }

    framework::form::FormDefinition form = refbooks::kursForm();
};

TEST_F(RateHistory, ListShowsTheEntriesOfTheCurrencyItWasOpenedFor) {
    BrowseEngine& history = startHistory();
    EXPECT_EQ(history.definition().title, ru("История Курса Валюты"));
    EXPECT_EQ(history.definition().heading, "Name of USD  (USD)");
    EXPECT_EQ(listView.setup.iniSection, "KursValut_t");
    EXPECT_EQ(listView.setup.wallpaper, framework::WallpaperRole::ListTabl2);
    EXPECT_EQ(asked, std::vector<std::string>{"Kurs"});
    EXPECT_EQ(history.definition().columns.at(2).header, ru("День недели"));
    EXPECT_EQ(column(listView, 0), (std::vector<std::string>{"5", "2"})) << "by date";
    EXPECT_EQ(column(listView, 1), (std::vector<std::string>{"06.12.24", "03.01.25"}));
    EXPECT_EQ(column(listView, 3), (std::vector<std::string>{"90.00000", "91.00000"}));
    EXPECT_EQ(history.names().value("BRW1::Sort1:Reset:Val:Obozn"), "USD ");

    // The range stays with that currency whatever the currency buffer holds later.
    valut.record().setValue("VAL:OBOZN", "EUR");
    history.gainFocus();
    listView.pump(history);
    EXPECT_EQ(column(listView, 0), (std::vector<std::string>{"5", "2"}));
}

TEST_F(RateHistory, CurrencyListOpensTheHistoryOfTheHighlightedCurrency) {
    std::vector<std::string> seen;
    BrowseEngine& currencies = start(refbooks::valutList({}, [&] {
        FakeListView historyView;
        BrowseEngine history(refbooks::kursList({}), historyView);
        ASSERT_TRUE(history.open());
        history.windowOpened();
        seen = column(historyView, 0);
        seen.insert(seen.begin(), history.definition().heading);
        history.closeButton();
    }));
    listView.click(currencies, 1);  // EUR, first by designation
    currencies.extraButton(0);
    EXPECT_EQ(seen, (std::vector<std::string>{"Name of EUR  (EUR)", "9"}));
    EXPECT_EQ(framework::userCount(kurs), 0);
}

TEST_F(RateHistory, NewEntryIsNumberedFromTheHighestNumberAndTheDateFillsTheWeekday) {
    platform::setTestNow(kMonday, platform::clockValue(8, 15, 0));
    BrowseEngine& history = startHistory();
    view.script = [&](FormEngine& engine) {
        EXPECT_EQ(view.caption, ru("Новая запись Курса  (New)"));
        EXPECT_EQ(view.dittoKey, 1608) << "Ctrl+Alt+H";
        EXPECT_EQ(shown(engine, kf::kNumber), "6") << "after 5, though 2 is the latest-dated";
        EXPECT_EQ(shown(engine, kf::kDate), "");
        EXPECT_EQ(shown(engine, kf::kWeekday), "");
        EXPECT_EQ(shown(engine, kf::kTime), "08:15");
        EXPECT_EQ(shown(engine, kf::kValut), "USD");
        EXPECT_EQ(shown(engine, kf::kBankRate), "92.00000");
        EXPECT_EQ(shown(engine, kf::kWholesaleRate), "95.00000");
        EXPECT_EQ(shown(engine, kf::kRetailRate), "96.00000");
        accept(engine, kf::kDate, "05.01.25");
        EXPECT_EQ(shown(engine, kf::kWeekday), ru("Воскресенье"));
        accept(engine, kf::kDate, "06.01.25");
        EXPECT_EQ(shown(engine, kf::kWeekday), ru("Понедельник"));
        engine.okPressed();
    };
    history.insertButton();
    listView.pump(history);
    EXPECT_EQ(column(listView, 0), (std::vector<std::string>{"5", "2", "6"}));
    std::vector<Rate> entries = rates();
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[3].number, 6);
    EXPECT_EQ(entries[3].date, kMonday);
    EXPECT_EQ(entries[3].weekday, ru("Понедельник"));
    EXPECT_DOUBLE_EQ(entries[3].bank, 92);

    // A date that only reaches the record through the final check of all entries
    // leaves the weekday empty.
    view.script = [&](FormEngine& engine) {
        EXPECT_EQ(shown(engine, kf::kNumber), "7");
        view.typed[kf::kDate] = "07.01.25";
        engine.okPressed();
    };
    history.insertButton();
    entries = rates();
    ASSERT_EQ(entries.size(), 5u);
    EXPECT_EQ(entries[4].date, kMonday + 1);
    EXPECT_EQ(entries[4].weekday, "");
    EXPECT_EQ(entries[4].number, 7);
    EXPECT_EQ(rates().front().valut, "EUR") << "the other currency is untouched";
}

TEST_F(RateHistory, DuplicateKeysAreNamedValutPlusDateAndValutPlusNumber) {
    view.script = [&](FormEngine& engine) {
        accept(engine, kf::kDate, "03.01.25");  // the date of entry 2
        engine.okPressed();
        ASSERT_FALSE(engine.closed());
        accept(engine, kf::kDate, "04.01.25");
        accept(engine, kf::kNumber, "2");
        engine.okPressed();
        ASSERT_FALSE(engine.closed());
        engine.cancelPressed();
    };
    startHistory().insertButton();
    ASSERT_EQ(services->shown.size(), 2u);
    EXPECT_EQ(box(0).text, "Adding this record creates a duplicate entry for the key:Valut + Date");
    EXPECT_EQ(box(1).text, "Adding this record creates a duplicate entry for the key:Valut + Number");
    EXPECT_EQ(rates().size(), 3u) << "the numbered placeholder is gone";
}

TEST_F(RateHistory, RateFormAnswersOnlyThePreviousValueButton) {
    pickRate("USD", 2);
    view.script = [&](FormEngine& engine) {
        EXPECT_EQ(view.caption, ru("Изменение записи Курса  (USD)"));
        EXPECT_TRUE(view.toolEnabled(2011));
        EXPECT_FALSE(view.toolEnabled(2008));
        engine.toolbarPressed(2008);
        engine.toolbarPressed(2000);
        EXPECT_FALSE(engine.closed());
        accept(engine, kf::kBankRate, "91.5");
        engine.okPressed();
    };
    EXPECT_EQ(run(form, framework::kRequestChange), framework::kResponseCompleted);
    EXPECT_EQ(asked, std::vector<std::string>{"Kurs"});
    EXPECT_EQ(framework::vcrRequest(), 0);
    EXPECT_DOUBLE_EQ(rates().at(2).bank, 91.5);
    EXPECT_EQ(rates().at(2).weekday, "") << "accepting another entry leaves the weekday";

    // Editing the history never touches the currency's own rates.
    const auto currency = storedCurrency(1);
    ASSERT_TRUE(currency);
    EXPECT_EQ(real(*currency, "VAL:KURSBANKA"), 92);
}

// Two entries reserved for one currency at once (a second station, or one that
// died with its form open) do not collide on the empty date.
TEST_F(RateHistory, EntriesReservedAtOnceForOneCurrencyAreNumberedOneAfterTheOther) {
    storage::DataFile otherStation(kurs.layout());
    otherStation.setName(kurs.name());
    framework::form::FormDefinition otherForm = refbooks::kursForm();
    otherForm.file = &otherStation;
    form_tests::FakeFormView otherView;
    int otherNumber = 0;
    otherView.script = [&](FormEngine& engine) {
        const storage::Record& entry = engine.record();
        otherNumber = static_cast<int>(entry.getInt(index(entry, "KUR:NUMBER")));
        engine.cancelPressed();
    };
    view.script = [&](FormEngine& engine) {
        EXPECT_EQ(engine.record().getInt(index(engine.record(), "KUR:DATE")), 0)
            << "the form shows no provisional date";
        otherStation.record().clear();
        framework::globalRequest() = framework::kRequestInsert;
        EXPECT_EQ(framework::form::runForm(otherForm, otherView), framework::kResponseCancelled);
        accept(engine, kf::kDate, "05.01.25");
        engine.okPressed();
    };
    kurs.record().clear();
    EXPECT_EQ(run(form, framework::kRequestInsert), framework::kResponseCompleted);
    EXPECT_EQ(otherNumber, 7);
    EXPECT_TRUE(services->shown.empty()) << "no numbering failure (message 25)";
    std::vector<int> usd;
    for (const Rate& r : rates())
        if (r.valut == "USD") usd.push_back(r.number);
    EXPECT_EQ(usd, (std::vector<int>{5, 2, 6})) << "the cancelled entry is gone";
    while (framework::userCount(otherStation) > 0) framework::releaseFile(otherStation);
}

}  // namespace
}  // namespace rate_book_tests
