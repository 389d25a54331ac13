// The currency book: its list, its form with the rate list inside, the rate
// buttons and percentages, the day's rate entry and the restrict rules.
#include "rate_book_fixture.h"

#include <set>

namespace rate_book_tests {
namespace {

namespace vf = refbooks::valut_form;

class CurrencyBook : public RateBookTest {
protected:
    framework::form::FormDefinition form = refbooks::valutForm();
};

TEST_F(CurrencyBook, ListOrdersByDesignationOrCodeAndOpensTheRateHistory) {
    addCurrency(3, "USD", 92.5, 95.275, 95.2751);
    addCurrency(1, "EUR", 99.1);
    addCurrency(2, "BYN", 28);
    int histories = 0;
    std::string historyOf;
    double percentSeen = 0;
    int updates = 0;
    BrowseEngine& currencies = start(refbooks::valutList([&] { ++updates; }, [&] {
        ++histories;
        historyOf = *valut.record().value("VAL:OBOZN");
        percentSeen = real(valut.record(), "VAL:PROCENT1");  // not a column: the record was re-read
    }));
    EXPECT_EQ(asked, std::vector<std::string>{"Valut"});
    EXPECT_EQ(listView.setup.iniSection, "Valut_t");
    EXPECT_EQ(listView.setup.wallpaper, framework::WallpaperRole::List);
    EXPECT_EQ(column(listView, 1), (std::vector<std::string>{"BYN", "EUR", "USD"}));
    EXPECT_EQ(column(listView, 0), (std::vector<std::string>{"2", "1", "3"}));
    EXPECT_EQ(column(listView, 3).at(2), "92.50000");
    EXPECT_EQ(column(listView, 5).at(2), "95.2751");
    EXPECT_EQ(column(listView, 6), (std::vector<std::string>{"", "", ""})) << "no credit is blank";

    // The first character jumps within the designations.
    currencies.character('u');
    listView.pump(currencies);
    EXPECT_EQ(column(listView, 1).at(static_cast<std::size_t>(listView.highlighted - 1)), "USD");

    // The second tab orders by code.
    listView.tab = 2;
    currencies.tabChanged();
    listView.pump(currencies);
    EXPECT_EQ(column(listView, 0), (std::vector<std::string>{"1", "2", "3"}));

    // "История курса" for the highlighted currency, then the list is rebuilt.
    ASSERT_EQ(currencies.definition().extraButtons.size(), 2u);
    EXPECT_EQ(currencies.definition().extraButtons[0].label.text, ru("История курса"));
    EXPECT_EQ(currencies.definition().extraButtons[0].label.tip, ru("История курса валюты"));
    EXPECT_EQ(currencies.definition().extraButtons[1].label.text, ru("Печатать"));
    listView.click(currencies, 1);
    currencies.extraButton(0);
    EXPECT_EQ(histories, 1);
    EXPECT_EQ(historyOf, "EUR ");
    EXPECT_DOUBLE_EQ(percentSeen, 1.5);
    currencies.extraButton(1);  // printing starts nothing
    EXPECT_EQ(updates, 0);
    EXPECT_TRUE(services->shown.empty());
}

TEST_F(CurrencyBook, EmptyListHasNoHistoryAndRightsAreAskedForValut) {
    int histories = 0;
    BrowseEngine& currencies = start(refbooks::valutList({}, [&] { ++histories; }));
    currencies.extraButton(0);
    EXPECT_EQ(histories, 0) << "no highlighted currency";

    rights = framework::kForbidAccess;
    start(refbooks::valutList({}, {}));
    ASSERT_EQ(services->shown.size(), 1u);
    EXPECT_EQ(box(0).caption, ru(" Извините"));
    EXPECT_EQ(box(0).text, ru("Доступ запрещен !"));
    EXPECT_TRUE(list->isClosed());
}

TEST_F(CurrencyBook, NewCurrencyIsPrimedNumberedAndGetsRateEntryOne) {
    addCurrency(4, "EUR");
    addRate("EUR", 7, kSunday - 3);
    valut.record().clear();
    view.script = [&](FormEngine& engine) {
        EXPECT_EQ(view.caption, ru("Новая Валюта  (New)"));
        EXPECT_EQ(view.dittoKey, 1608) << "Ctrl+Alt+H";
        EXPECT_EQ(shown(engine, vf::kCode), "5");
        EXPECT_EQ(shown(engine, vf::kWholesalePercent), "3.00");
        EXPECT_EQ(shown(engine, vf::kRetailPercent), "3.00");
        EXPECT_EQ(real(engine.record(), "VAL:KURSBANKA"), 0);
        EXPECT_EQ(engine.record().getInt(index(engine.record(), "VAL:VDECPOINT")), 0);
        accept(engine, vf::kObozn, "usd");
        accept(engine, vf::kName, ru("Доллар США"));
        accept(engine, vf::kBankRate, "92.5");
        engine.controlPressed(vf::kBankRateButton);
        engine.okPressed();
    };
    EXPECT_EQ(run(form, framework::kRequestInsert), framework::kResponseCompleted);
    EXPECT_EQ(asked, std::vector<std::string>{"Valut"}) << "the rate list inside asks nothing";
    const auto stored = storedCurrency(5);
    ASSERT_TRUE(stored);
    EXPECT_DOUBLE_EQ(real(*stored, "VAL:KURS"), 92.5 * 1.03);

    const std::vector<Rate> entries = rates();
    ASSERT_EQ(entries.size(), 2u);
    const Rate& today = entries[1];
    EXPECT_EQ(today.valut, "usd");
    EXPECT_EQ(today.number, 1) << "the other currency's numbers do not count";
    EXPECT_EQ(today.date, kSunday);
    EXPECT_EQ(today.time, platform::clockValue(10, 30, 0));
    EXPECT_DOUBLE_EQ(today.bank, 92.5);
    EXPECT_DOUBLE_EQ(today.wholesale, 92.5 * 1.03);
    EXPECT_DOUBLE_EQ(today.retail, 92.5 * 1.03);
    EXPECT_EQ(today.weekday, ru("Воскресенье"));
    EXPECT_EQ(framework::userCount(kurs), 0);
}

TEST_F(CurrencyBook, TwoSavesOnOneDayLeaveOneEntryWithTheSecondSavesValues) {
    addCurrency(1, "USD", 90);
    auto save = [&](const std::string& bank) {
        pickCurrency("USD");
        view.script = [&, bank](FormEngine& engine) {
            accept(engine, vf::kBankRate, bank);
            engine.okPressed();
        };
        return run(form, framework::kRequestChange);
    };
    EXPECT_EQ(save("91"), framework::kResponseCompleted);
    platform::setTestNow(kSunday, platform::clockValue(17, 5, 0));
    EXPECT_EQ(save("93"), framework::kResponseCompleted);
    std::vector<Rate> entries = rates();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].number, 1);
    EXPECT_EQ(entries[0].time, platform::clockValue(17, 5, 0));
    EXPECT_DOUBLE_EQ(entries[0].bank, 93);
    EXPECT_EQ(entries[0].weekday, ru("Воскресенье"));

    // Saving without any change still refreshes the day's entry; the next day adds one.
    platform::setTestNow(kMonday, platform::clockValue(9, 0, 0));
    pickCurrency("USD");
    view.script = [](FormEngine& engine) { engine.okPressed(); };
    EXPECT_EQ(run(form, framework::kRequestChange), framework::kResponseCompleted);
    entries = rates();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[1].number, 2);
    EXPECT_EQ(entries[1].date, kMonday);
    EXPECT_DOUBLE_EQ(entries[1].bank, 93);
    EXPECT_EQ(entries[1].weekday, ru("Понедельник"));
}

TEST_F(CurrencyBook, DayEntryIsNumberedFromTheLatestDatedEntry) {
    addCurrency(1, "USD");
    addCurrency(2, "ZAR");
    addRate("USD", 9, kSunday - 30);
    addRate("USD", 4, kSunday - 2);  // latest date, but not the highest number
    addRate("ZAR", 20, kSunday - 1);
    pickCurrency("USD");
    view.script = [](FormEngine& engine) { engine.okPressed(); };
    run(form, framework::kRequestChange);
    const std::vector<Rate> entries = rates();
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[2].valut, "USD");
    EXPECT_EQ(entries[2].date, kSunday);
    EXPECT_EQ(entries[2].number, 5);

    // A number that is taken already: the entry is not written, and nothing says so.
    addRate("ZAR", 21, kSunday - 40);
    pickCurrency("ZAR");
    run(form, framework::kRequestChange);
    EXPECT_EQ(rates().size(), 5u);
    EXPECT_TRUE(services->shown.empty());
}

TEST_F(CurrencyBook, RateButtonsAndPercentages) {
    addCurrency(1, "USD");
    pickCurrency("USD");
    view.script = [&](FormEngine& engine) {
        storage::Record& r = engine.record();
        // 100 and 3 % give 103; entering 110 gives 10 %.
        accept(engine, vf::kBankRate, "100");
        accept(engine, vf::kWholesalePercent, "3");
        accept(engine, vf::kRetailPercent, "5");
        const int shows = view.shows;
        engine.controlPressed(vf::kWholesaleButton);
        EXPECT_GT(view.shows, shows) << "redisplayed";
        EXPECT_EQ(shown(engine, vf::kWholesaleRate), "103.00000");
        EXPECT_EQ(real(r, "VAL:KURSCASH"), 0) << "only the wholesale rate";
        engine.controlPressed(vf::kRetailButton);
        EXPECT_EQ(shown(engine, vf::kRetailRate), "105.00000");
        accept(engine, vf::kWholesaleRate, "110");
        EXPECT_EQ(shown(engine, vf::kWholesalePercent), "10.00");
        accept(engine, vf::kRetailRate, "98");
        EXPECT_EQ(shown(engine, vf::kRetailPercent), "-2.00");
        accept(engine, vf::kBankRate, "200");
        engine.controlPressed(vf::kBankRateButton);
        EXPECT_NEAR(real(r, "VAL:KURS"), 220, 1e-9);
        EXPECT_NEAR(real(r, "VAL:KURSCASH"), 196, 1e-9);

        // Bank rate 1 and wholesale rate 1: no button changes anything.
        accept(engine, vf::kBankRate, "1");
        accept(engine, vf::kWholesaleRate, "1");
        accept(engine, vf::kRetailRate, "7");
        const storage::Record before = r;
        for (int button : {vf::kBankRateButton, vf::kWholesaleButton, vf::kRetailButton})
            engine.controlPressed(button);
        EXPECT_TRUE(r == before);

        // Bank rate 1, another wholesale rate: the bank button sets only the retail rate.
        accept(engine, vf::kWholesaleRate, "2");
        accept(engine, vf::kRetailPercent, "4");
        engine.controlPressed(vf::kBankRateButton);
        EXPECT_EQ(real(r, "VAL:KURS"), 2);
        EXPECT_DOUBLE_EQ(real(r, "VAL:KURSCASH"), 1.04);

        // Bank rate 0: entering a rate leaves its percentage.
        accept(engine, vf::kBankRate, "0");
        const double wholesalePercent = real(r, "VAL:PROCENT1");
        const double retailPercent = real(r, "VAL:PROCENT2");
        accept(engine, vf::kWholesaleRate, "50");
        accept(engine, vf::kRetailRate, "60");
        EXPECT_EQ(real(r, "VAL:PROCENT1"), wholesalePercent);
        EXPECT_EQ(real(r, "VAL:PROCENT2"), retailPercent);
        engine.cancelPressed();
    };
    EXPECT_EQ(run(form, framework::kRequestChange), framework::kResponseCancelled);
    EXPECT_TRUE(rates().empty()) << "cancel writes no rate entry";
}

TEST_F(CurrencyBook, DeletingACurrencyWithRatesIsRefusedNamingKurs) {
    addCurrency(1, "USD");
    addCurrency(2, "EUR");
    addRate("usd", 1, kSunday - 1);
    pickCurrency("USD");
    services->answers = {platform::kButtonOk, platform::kButtonNo};  // message 13, then 18: No
    view.script = [&](FormEngine& engine) {
        EXPECT_EQ(view.caption, ru("Удаление  Валюты  (USD)"));
        engine.okPressed();
    };
    EXPECT_EQ(run(form, framework::kRequestDelete), framework::kResponseCancelled);
    ASSERT_EQ(services->shown.size(), 2u);
    EXPECT_EQ(box(0).caption, "Referential Integrity Delete Error");
    EXPECT_EQ(box(0).text,
              "This record is referenced from the file Kurs.  This record cannot be deleted while "
              "these references exist.");
    EXPECT_EQ(box(1).caption, "Record Update Error");
    EXPECT_TRUE(storedCurrency(1));
    EXPECT_EQ(rates().size(), 1u) << "a delete writes no rate entry";

    pickCurrency("EUR");
    view.script = [](FormEngine& engine) { engine.okPressed(); };
    EXPECT_EQ(run(form, framework::kRequestDelete), framework::kResponseCompleted);
    EXPECT_FALSE(storedCurrency(2));
}

TEST_F(CurrencyBook, DesignationChangeIsRefusedAndPutBack) {
    addCurrency(1, "USD");
    addRate("USD", 1, kSunday - 1);
    pickCurrency("USD");
    services->answers = {platform::kButtonOk, platform::kButtonYes};  // message 12, then 16: again
    view.script = [&](FormEngine& engine) {
        EXPECT_EQ(view.caption, ru("Изменение Валюты  (USD)"));
        accept(engine, vf::kObozn, "EUR");
        accept(engine, vf::kName, "Renamed");
        engine.okPressed();
    };
    EXPECT_EQ(run(form, framework::kRequestChange), framework::kResponseCompleted);
    ASSERT_EQ(services->shown.size(), 2u);
    EXPECT_EQ(box(0).caption, "Referential Integrity Update Error");
    EXPECT_EQ(box(0).text,
              "This record is referenced from the file Kurs.  Linking field(s) have been "
              "restricted from change and have been reset to original values.");
    EXPECT_EQ(box(1).caption, "Record Update Error");
    const auto stored = storedCurrency(1);
    ASSERT_TRUE(stored);
    EXPECT_EQ(*stored->value("VAL:OBOZN"), "USD ") << "the designation was put back";
    EXPECT_EQ(platform::clip(*stored->value("VAL:NAME")), "Renamed") << "the other change is saved";
    // The day's entry is written before the currency, under the designation typed.
    const std::vector<Rate> entries = rates();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].valut, "EUR");
    EXPECT_EQ(entries[0].number, 1);
}

TEST_F(CurrencyBook, DuplicateKeysAreNamedOboznAndCode) {
    addCurrency(1, "USD");
    valut.record().clear();
    view.script = [&](FormEngine& engine) {
        accept(engine, vf::kObozn, "usd");
        engine.okPressed();
        ASSERT_FALSE(engine.closed());
        accept(engine, vf::kObozn, "EUR");
        accept(engine, vf::kCode, "1");
        engine.okPressed();
        ASSERT_FALSE(engine.closed());
        engine.cancelPressed();
    };
    EXPECT_EQ(run(form, framework::kRequestInsert), framework::kResponseCancelled);
    ASSERT_EQ(services->shown.size(), 2u);
    EXPECT_EQ(box(0).text, "Adding this record creates a duplicate entry for the key:Obozn");
    EXPECT_EQ(box(1).text, "Adding this record creates a duplicate entry for the key:Code");
    EXPECT_FALSE(storedCurrency(2)) << "the numbered placeholder is gone";
    // The day's entries stay written, though the currency was not.
    const std::vector<Rate> entries = rates();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].valut, "EUR");
    EXPECT_EQ(entries[1].valut, "usd");
}

TEST_F(CurrencyBook, RateListInsideTheFormFollowsTheDesignationAndOwnsTheToolbar) {
    addCurrency(1, "USD");
    addCurrency(2, "EUR");
    for (int n = 1; n <= 7; ++n) addRate("USD", n, kSunday - 20 + n, 90 + n);
    addRate("EUR", 1, kSunday - 5, 99);
    view.rates.rows = 3;
    pickCurrency("USD");
    view.script = [&](FormEngine& engine) {
        BrowseEngine* rateList = engine.list(vf::kRates);
        ASSERT_NE(rateList, nullptr);
        EXPECT_EQ(column(view.rates, 0), (std::vector<std::string>{"1", "2", "3"}));
        EXPECT_EQ(view.rates.shown.at(0).size(), 5u);
        EXPECT_EQ(rateList->rangeValue(), "USD ");
        EXPECT_EQ(view.rates.opened, 0) << "the list lives in the form's window";
        EXPECT_EQ(view.focused, vf::kObozn);

        // The frame's toolbar is the list's: navigation on, previous value off.
        for (int button = 2004; button <= 2010; ++button) EXPECT_TRUE(view.toolEnabled(button));
        EXPECT_FALSE(view.toolEnabled(2011));
        EXPECT_FALSE(view.toolEnabled(2000));
        EXPECT_EQ(view.toolbar[2000].second, "Insert a new Record");
        EXPECT_EQ(view.toolbar[2004].second, "Go to the Last Page");
        EXPECT_EQ(view.toolbar[2009].second, "Go to the Prior Record");

        // Navigation reaches the list only while it has focus.
        engine.toolbarPressed(2004);
        EXPECT_EQ(column(view.rates, 0), (std::vector<std::string>{"1", "2", "3"}));
        view.focused = vf::kRates;
        engine.toolbarPressed(2004);
        view.rates.pump(*rateList);
        EXPECT_EQ(column(view.rates, 0), (std::vector<std::string>{"5", "6", "7"}));
        engine.toolbarPressed(2012);
        EXPECT_EQ(help, std::vector<std::string>{"Sprav\\Valut.htm"});
        view.setToolbarButton(2011, true, {});  // something else touched the toolbar
        engine.redisplay();
        EXPECT_FALSE(view.toolEnabled(2011)) << "every event ties the toolbar again";

        // Another designation: a change of tab shows its entries.
        view.focused = vf::kObozn;
        accept(engine, vf::kObozn, "eur");
        EXPECT_EQ(column(view.rates, 0).size(), 3u) << "not before the tab changes";
        engine.tabChanged();
        view.rates.pump(*rateList);
        EXPECT_EQ(column(view.rates, 0), (std::vector<std::string>{"1"}));
        EXPECT_EQ(column(view.rates, 2), (std::vector<std::string>{"99.00000"}));

        // Ditto works from the key; the toolbar's previous-value button is off.
        engine.toolbarPressed(2011);
        engine.cancelPressed();
    };
    EXPECT_EQ(run(form, framework::kRequestChange), framework::kResponseCancelled);
    EXPECT_EQ(framework::userCount(kurs), 0) << "the list ended with its form";
}

// While a new currency's form is open its code is reserved under "#" and the code,
// so a second station's new currency (or one after a station died with its form
// open) is numbered next instead of colliding on the blank designation.
TEST_F(CurrencyBook, NewCurrenciesOfTwoStationsAreReservedUnderDesignationsOfTheirOwn) {
    addCurrency(4, "EUR");
    valut.record().clear();
    storage::DataFile otherStation(valut.layout());
    otherStation.setName(valut.name());
    framework::form::FormDefinition otherForm = refbooks::valutForm();
    otherForm.file = &otherStation;
    form_tests::FakeFormView otherView;
    int otherCode = 0;
    otherView.script = [&](FormEngine& engine) {
        otherCode = static_cast<int>(engine.record().getInt(0));
        engine.cancelPressed();
    };
    view.showsLists = false;
    view.script = [&](FormEngine& engine) {
        EXPECT_EQ(shown(engine, vf::kObozn), "") << "the form shows no provisional designation";
        const auto reserved = storedCurrency(5);
        ASSERT_TRUE(reserved);
        EXPECT_EQ(std::string(platform::clip(*reserved->value("VAL:OBOZN"))), "#5");
        otherStation.record().clear();
        framework::globalRequest() = framework::kRequestInsert;
        EXPECT_EQ(framework::form::runForm(otherForm, otherView), framework::kResponseCancelled);
        accept(engine, vf::kObozn, "USD");
        engine.okPressed();
    };
    EXPECT_EQ(run(form, framework::kRequestInsert), framework::kResponseCompleted);
    EXPECT_EQ(otherCode, 6);
    EXPECT_TRUE(services->shown.empty()) << "no numbering failure (message 25)";
    const auto saved = storedCurrency(5);
    ASSERT_TRUE(saved);
    EXPECT_EQ(std::string(platform::clip(*saved->value("VAL:OBOZN"))), "USD");
    EXPECT_FALSE(storedCurrency(6)) << "the other station's cancelled currency is gone";
    while (framework::userCount(otherStation) > 0) framework::releaseFile(otherStation);
}

// The designation key ignores letter case and trailing blanks: the provisional
// designations of all codes must still differ under it, and must fit the field.
TEST(CurrencyProvisionalDesignation, DiffersForEveryCodeTheFieldCanHold) {
    std::set<std::string> seen;
    for (unsigned code = 0; code <= 65535; ++code) {
        const std::string text = refbooks::provisionalDesignation(static_cast<std::uint16_t>(code));
        ASSERT_LE(text.size(), 4u) << code;
        ASSERT_EQ(text[0], '#');
        ASSERT_EQ(platform::clip(text), text) << code;
        ASSERT_TRUE(seen.insert(platform::upper(text)).second) << "code " << code << " repeats " << text;
    }
    EXPECT_EQ(refbooks::provisionalDesignation(5), "#5");
    EXPECT_EQ(refbooks::provisionalDesignation(999), "#999");
}

// A reservation left behind by a station that died holds its provisional
// designation; a new currency 1000 codes later is numbered without a collision.
TEST_F(CurrencyBook, LeftOverReservationDoesNotBlockNumberingAThousandCodesLater) {
    addCurrency(5, "#5");
    addCurrency(1004, "EUR");
    valut.record().clear();
    view.showsLists = false;
    int code = 0;
    view.script = [&](FormEngine& engine) {
        code = static_cast<int>(engine.record().getInt(0));
        accept(engine, vf::kObozn, "USD");
        engine.okPressed();
    };
    EXPECT_EQ(run(form, framework::kRequestInsert), framework::kResponseCompleted);
    EXPECT_EQ(code, 1005);
    EXPECT_TRUE(services->shown.empty()) << "no numbering failure (message 25)";
    const auto saved = storedCurrency(1005);
    ASSERT_TRUE(saved);
    EXPECT_EQ(std::string(platform::clip(*saved->value("VAL:OBOZN"))), "USD");
}

}  // namespace
}  // namespace rate_book_tests
