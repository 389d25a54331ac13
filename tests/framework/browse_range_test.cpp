// Lists limited to one parent's children, view filters and joined columns, the
// record binding behind them, and read errors.
#include "browse_fixture.h"

#include "framework/record_binding.h"

namespace browse_tests {
namespace {

using framework::browse::RangeDefinition;
using Numbers = std::vector<int>;

class RateList : public BrowseTest {
protected:
    RateList() {
        framework::FileUse use(kurs);
        addRate("USD", 1, 80001, 30.5);
        addRate("EUR", 1, 80001, 33.1);
        addRate("usd", 2, 80002, 30.7);  // the link ignores letter case
        addRate("EUR", 2, 80005, 33.4);
        addRate("USD", 3, 80004, 30.9);
        addRate("GBP", 1, 80003, 40.0);
        valut.record().setValue("VAL:OBOZN", "USD");
        formRecord = [this] { return std::string(platform::clip(kurs.record().getText(0))); };
        formFile = &kurs;
    }
    void addRate(const std::string& designation, int number, int date, double rate) {
        kurs.record().clear();
        kurs.record().setValue("KUR:VALUT", designation);
        kurs.record().setValue("KUR:NUMBER", std::to_string(number));
        kurs.record().setValue("KUR:DATE", std::to_string(date));
        kurs.record().setReal(static_cast<std::size_t>(kurs.layout().fieldIndex("KUR:KURSCB")), rate);
        ASSERT_EQ(kurs.add(), 0) << kurs.driverErrorText();
    }
    // The rates of the currency in the Valut buffer, by date.
    BrowseDefinition rateDefinition(int listNumber) {
        BrowseDefinition d{kurs};
        d.listNumber = listNumber;
        const std::string name = "BRW" + std::to_string(listNumber) + "::Sort1:Reset:Val:Obozn";
        d.sorts = {{"KUR:VALUT_KEY", {}, {},
                    RangeDefinition{[this] { return valut.record().value("VAL:OBOZN").value_or(""); },
                                    "KUR:VALUT", name, "UPPER(Kur:Valut) = UPPER(" + name + ")"},
                    {}}};
        d.columns = {{"KUR:NUMBER", platform::ru("Номер"), 20, "@n3", {}, {}, nullptr},
                     {"KUR:DATE", platform::ru("Дата"), 40, "@d5.", {}, {}, nullptr},
                     {"KUR:KURSCB", platform::ru("Курс ЦБ"), 50, "@n12.5", {}, {}, nullptr}};
        d.accessObject = "Kurs";
        d.iniSection = "KursValut_t";
        d.wallpaper = framework::browse::ListWallpaper::Tabl2;
        d.updateForm = [this] { runForm(); };
        return d;
    }
    Numbers numbers() const {
        Numbers out;
        for (const auto& row : view.shown) out.push_back(std::stoi(row.at(0)));
        return out;
    }
};

TEST_F(RateList, EmbeddedListShowsOnlyOneCurrencysRates) {
    BrowseDefinition d = rateDefinition(2);
    d.embedded = true;
    d.accessObject.clear();
    d.buttons = {false, false, false, false};
    framework::globalRequest() = 2;  // the form's request is not the list's business
    BrowseEngine& list = start(std::move(d));
    EXPECT_EQ(framework::globalRequest(), 2);
    EXPECT_EQ(view.opened, 0) << "the list lives in its form's window";
    EXPECT_EQ(numbers(), Numbers({1, 2, 3}));
    EXPECT_EQ(list.rangeValue(), "USD ");
    EXPECT_EQ(list.names().value("BRW2::SORT1:RESET:VAL:OBOZN"), "USD ");
    EXPECT_EQ(cell(1, 3), "30.50000");
    EXPECT_FALSE(view.scrollBar);
    EXPECT_FALSE(view.toolbar[2000].enabled) << "no insert button";

    // Another designation in the parent: the next refresh starts the new range.
    valut.record().setValue("VAL:OBOZN", "eur");
    list.refresh();
    view.pump(list);
    EXPECT_EQ(list.rangeValue(), "eur ");
    EXPECT_EQ(numbers(), Numbers({1, 2}));
    EXPECT_EQ(cell(2, 3), "33.40000");
    view.rows = 1;
    list.scroll(ScrollEvent::LastPage);
    view.pump(list);
    EXPECT_EQ(numbers(), Numbers({2}));
    list.scroll(ScrollEvent::RowDown);
    EXPECT_EQ(numbers(), Numbers({2})) << "the range ends with the currency";

    valut.record().setValue("VAL:OBOZN", "CHF");
    list.refresh();
    EXPECT_TRUE(view.shown.empty());
    list.finish();
    EXPECT_EQ(view.closed, 0);
    EXPECT_EQ(framework::userCount(kurs), 0);
    EXPECT_EQ(framework::globalResponse(), 0) << "an embedded list leaves no response";
}

TEST_F(RateList, RateHistoryInsertsIntoItsCurrency) {
    BrowseEngine& list = start(rateDefinition(1));
    EXPECT_EQ(view.setup.wallpaper, framework::WallpaperRole::ListTabl2);
    EXPECT_EQ(numbers(), Numbers({1, 2, 3}));
    actions.push_back({[this] {
                           kurs.record().setValue("KUR:NUMBER", "4");
                           kurs.record().setValue("KUR:DATE", "80003");
                           kurs.add();
                       },
                       framework::kResponseCompleted, 0});
    list.insertButton();
    view.pump(list);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].record, "USD") << "a new entry starts in the list's currency";
    EXPECT_EQ(numbers(), Numbers({1, 2, 4, 3})) << "in date order";
    EXPECT_EQ(cell(view.highlighted, 1), "4");
    EXPECT_EQ(list.distribution().entry(1), "80001") << "the thumb spreads over the dates";
    EXPECT_EQ(list.distribution().entry(100), "80004");
}

TEST_F(RateList, JoinedColumnsComeFromTheRowReadHook) {
    {
        framework::FileUse use(valut);
        int code = 0;
        for (const char* designation : {"USD", "EUR", "GBP"}) {
            valut.record().clear();
            valut.record().setValue("VAL:OBOZN", designation);
            valut.record().setValue("VAL:NAME", std::string("Name of ") + designation);
            valut.record().setValue("VAL:COD", std::to_string(++code));
            ASSERT_EQ(valut.add(), 0);
        }
    }
    framework::FileUse useValut(valut);
    BrowseDefinition d{kurs};
    d.sorts = {{"KUR:VALUTNUMBER_KEY", {}, {}, std::nullopt, "KUR:NUMBER = 1"}};
    d.columns = {{"KUR:VALUT", "", 20, "@s4", {}, {}, nullptr},
                 {"VAL:NAME", "", 80, "@s25", {}, {}, &valut}};
    d.rowRead = [this](const storage::Record& row) {
        valut.record().setValue("VAL:OBOZN", row.value("KUR:VALUT").value_or(""));
        if (valut.get(*valut.layout().key("OBOZN_KEY")) != 0) valut.record().setValue("VAL:NAME", "?");
    };
    start(std::move(d));
    ASSERT_EQ(view.shown.size(), 3u) << "the filter keeps the first entries only";
    EXPECT_EQ(cell(1, 1), "EUR");
    EXPECT_EQ(cell(1, 2), "Name of EUR");
    EXPECT_EQ(cell(2, 2), "Name of GBP");
    EXPECT_EQ(cell(3, 2), "Name of USD");
    view.click(*engine, 1);
    EXPECT_EQ(platform::clip(valut.record().getText(2)), "Name of EUR")
        << "a new selection copies the joined field back into its buffer";
}

TEST_F(BrowseTest, UnusableFilterIsReportedOnceAndIgnored) {
    addPrices(3);
    BrowseDefinition d = priceDefinition();
    d.sorts[0].filter = "PRI:ID > loc:Nothing";
    BrowseEngine& list = start(std::move(d));
    EXPECT_EQ(codes(), (std::vector<int>{1, 2, 3}));
    ASSERT_EQ(services->shown.size(), 1u);
    EXPECT_EQ(services->shown[0].caption, "View Open Error");
    list.gainFocus();
    view.pump(list);
    EXPECT_EQ(services->shown.size(), 1u);

    // A filter over the record and a name the book binds.
    platform::NameBindings locals;
    locals.bindText("loc:Lowest", "2");
    BrowseDefinition bound = priceDefinition();
    bound.sorts[0].filter = "pri:Id >= loc:Lowest";
    bound.names = &locals;
    start(std::move(bound));
    EXPECT_EQ(codes(), (std::vector<int>{2, 3}));
}

TEST_F(BrowseTest, ReadErrorClosesTheList) {
    addPrices(12);
    BrowseEngine& list = start(priceDefinition());
    price.close();  // the file is gone from under the list
    list.scroll(ScrollEvent::PageDown);
    ASSERT_EQ(services->shown.size(), 1u);
    EXPECT_EQ(services->shown[0].caption, "Record Retrieval Error");
    EXPECT_NE(services->shown[0].text.find("from the Price file"), std::string::npos);
    EXPECT_TRUE(list.isClosed());
    EXPECT_EQ(view.closed, 1);
    EXPECT_EQ(framework::globalResponse(), framework::kResponseCancelled);
    EXPECT_EQ(framework::userCount(price), 0);
}

TEST(RecordBinding, BindsFieldsByNameWithTheirPrefix) {
    storage::Record record(refbooks::valutLayout());
    record.setValue("VAL:OBOZN", "USD");
    record.setValue("VAL:COD", "12");
    framework::RecordBinding names(record);
    EXPECT_EQ(names.value("VAL:OBOZN"), "USD ");
    EXPECT_EQ(names.value("val:Cod"), "12");
    EXPECT_EQ(names.value("OBOZN"), std::nullopt) << "the prefix is part of the name";
    EXPECT_EQ(names.value("VAL::OBOZN"), std::nullopt);
    EXPECT_EQ(names.value("BRW1::VAL:OBOZN"), std::nullopt);
    EXPECT_EQ(names.value("KUR:VALUT"), std::nullopt);
    EXPECT_EQ(platform::evaluateExpression("UPPER(val:obozn) = 'USD' AND VAL:COD > 9", names).text, "1");
    // A numeric field is a number, so it orders numerically against digit texts;
    // a text field holding digits stays a text.
    EXPECT_EQ(platform::evaluateExpression("VAL:COD > '9'", names).text, "1");
    record.setValue("VAL:OBOZN", "012");
    EXPECT_EQ(platform::evaluateExpression("VAL:OBOZN = '12'", names).text, "0");
    EXPECT_EQ(platform::evaluateExpression("VAL:OBOZN = '012'", names).text, "1");
}

}  // namespace
}  // namespace browse_tests
