// The update form engine inserting records: automatic numbering, the duplicate-key
// report, and the removal of a numbered record that was never completed.
#include "tests/framework/form_fixture.h"

namespace form_tests {
namespace {

using framework::kRequestInsert;
using framework::kResponseCancelled;
using framework::kResponseCompleted;

TEST_F(FormTest, NumberedInsertTakesTheNextNumberAndRewritesTheReservedRecord) {
    std::vector<int> whileOpen;
    view.script = [&](FormEngine& engine) {
        whileOpen = codes(price);  // other stations see the number at once
        view.typed = {{6, ru("Розничная")}, {8, "12.5"}};
        engine.okPressed();
    };
    EXPECT_EQ(run(priceForm(price), kRequestInsert), kResponseCompleted);
    EXPECT_EQ(whileOpen, std::vector<int>{1});
    EXPECT_EQ(storedName(1), ru("Розничная"));
    EXPECT_EQ(*stored(price, "PRI:ID", "1")->value("PRI:SKIDKA"), "12.5");
    EXPECT_EQ(view.caption, ru(" Новая запись") + "  (New)");
    EXPECT_EQ(view.focused, 4) << "focus starts on the first field";
    EXPECT_EQ(view.closes, std::vector<bool>{true}) << "placement saved on closing";
    EXPECT_EQ(framework::globalRequest(), 0);
    EXPECT_EQ(framework::vcrRequest(), 0);
    EXPECT_EQ(framework::userCount(price), 0);
    EXPECT_TRUE(services->shown.empty());

    // Gaps are never filled: after 1, 2 and 7 comes 8.
    add(price, {{"PRI:ID", "2"}});
    add(price, {{"PRI:ID", "7"}});
    view.script = [](FormEngine& engine) { engine.okPressed(); };
    EXPECT_EQ(run(priceForm(price), kRequestInsert), kResponseCompleted);
    EXPECT_EQ(codes(price), (std::vector<int>{1, 2, 7, 8}));

    // A child key is numbered within its parent.
    add(kurs, {{"KUR:VALUT", "USD"}, {"KUR:NUMBER", "4"}, {"KUR:DATE", "80001"}});
    add(kurs, {{"KUR:VALUT", "EUR"}, {"KUR:NUMBER", "9"}, {"KUR:DATE", "80001"}});
    std::vector<std::int64_t> numbers;
    view.script = [&](FormEngine& engine) {
        numbers.push_back(engine.record().getInt(1));
        engine.cancelPressed();
    };
    for (const char* designation : {"usd", "GBP"}) {
        kurs.record().clear();
        kurs.record().setValue("KUR:VALUT", designation);
        run(kursForm(kurs), kRequestInsert);
    }
    EXPECT_EQ(numbers, (std::vector<std::int64_t>{5, 1}));
}

TEST_F(FormTest, EveryWayOutOfANumberedInsertRemovesTheReservedRecord) {
    add(price, {{"PRI:ID", "1"}});
    view.script = [](FormEngine& engine) { engine.cancelPressed(); };
    EXPECT_EQ(run(priceForm(price), kRequestInsert), kResponseCancelled);
    EXPECT_EQ(codes(price), std::vector<int>{1});

    view.script = [](FormEngine& engine) {
        engine.record().setValue("PRI:NAME", "typed");
        engine.closeRequested();  // the close box; the price form does not ask
    };
    EXPECT_EQ(run(priceForm(price), kRequestInsert), kResponseCancelled);
    EXPECT_EQ(codes(price), std::vector<int>{1});
    EXPECT_TRUE(services->shown.empty());

    // Refused at opening, before the number is reserved: no window opens.
    restrictRights(framework::kForbidInsert);
    view = {};
    EXPECT_EQ(run(priceForm(price), kRequestInsert), kResponseCancelled);
    EXPECT_EQ(codes(price), std::vector<int>{1});
    ASSERT_EQ(services->shown.size(), 1u);
    EXPECT_EQ(box(0).caption, ru(" Извините"));
    EXPECT_EQ(box(0).text, ru("Добавление запрещено "));
    EXPECT_TRUE(view.closes.empty());
    EXPECT_EQ(framework::userCount(price), 0);
}

TEST_F(FormTest, StoreFormAsksBeforeCancellingAChangedRecord) {
    services->answers = {platform::kButtonNo, platform::kButtonYes};
    bool stayedOpen = false;
    view.script = [&](FormEngine& engine) {
        engine.cancelPressed();  // unchanged: no question
    };
    EXPECT_EQ(run(storeForm(store), kRequestInsert), kResponseCancelled);
    EXPECT_TRUE(services->shown.empty());
    EXPECT_EQ(view.closes, std::vector<bool>{false}) << "the store form keeps no placement";

    view.script = [&](FormEngine& engine) {
        engine.record().setValue("STO:NAME", "typed");
        view.focused = 4;
        engine.closeRequested();
        stayedOpen = !engine.closed() && view.focused == 2;
        engine.closeRequested();
    };
    EXPECT_EQ(run(storeForm(store), kRequestInsert), kResponseCancelled);
    EXPECT_TRUE(stayedOpen) << "No keeps the form, focus on the first field";
    ASSERT_EQ(services->shown.size(), 2u);
    EXPECT_EQ(box(0).caption, "Update Cancelled");
    EXPECT_TRUE(codes(store).empty());
}

TEST_F(FormTest, DuplicateKeyOnInsertNamesTheFirstKeyBrokenAndKeepsTheForm) {
    add(price, {{"PRI:ID", "1"}, {"PRI:NAME", "first"}});
    view.script = [&](FormEngine& engine) {
        view.typed = {{4, "1"}, {6, "copy"}};
        view.focused = 12;
        engine.toolbarPressed(framework::kToolNextRecord);  // save and add another
        EXPECT_TRUE(!engine.closed() && engine.navigation() == 0 && view.focused == 4);
        view.typed = {{4, "5"}};
        engine.okPressed();
    };
    EXPECT_EQ(run(priceForm(price), kRequestInsert), kResponseCompleted);
    ASSERT_EQ(services->shown.size(), 1u);
    EXPECT_EQ(box(0).caption, "Duplicate Key Error");
    EXPECT_EQ(box(0).text, "Adding this record creates a duplicate entry for the key:Id");
    EXPECT_EQ(codes(price), (std::vector<int>{1, 5}));
    EXPECT_EQ(storedName(1), "first");

    // Keys are tested in the book's order; a user-typed key adds nothing.
    add(kurs, {{"KUR:VALUT", "USD"}, {"KUR:NUMBER", "1"}, {"KUR:DATE", "80001"}});
    auto rates = kursForm(kurs);
    rates.numberedKey.clear();
    view.script = [&](FormEngine& engine) {
        engine.record().setValue("KUR:NUMBER", "1");
        engine.record().setValue("KUR:DATE", "80001");
        engine.okPressed();
        engine.record().setValue("KUR:DATE", "80002");
        engine.okPressed();
        engine.cancelPressed();
    };
    kurs.record().clear();
    kurs.record().setValue("KUR:VALUT", "USD");
    EXPECT_EQ(run(rates, kRequestInsert), kResponseCancelled);
    ASSERT_EQ(services->shown.size(), 3u);
    EXPECT_EQ(box(1).text, "Adding this record creates a duplicate entry for the key:Valut + Date");
    EXPECT_EQ(box(2).text,
              "Adding this record creates a duplicate entry for the key:Valut + Number");
    EXPECT_EQ(codes(kurs), std::vector<int>{1});
}

TEST_F(FormTest, NumberingRetriesThreeTimesThenAsksMessage25) {
    // A currency without a designation exists, so a new one (blank designation)
    // cannot be added whatever its number.
    add(valut, {{"VAL:COD", "1"}});
    services->answers = {platform::kButtonRetry, platform::kButtonCancel};
    valut.record().clear();
    EXPECT_EQ(run(valutForm(valut), kRequestInsert), kResponseCancelled);
    ASSERT_EQ(services->shown.size(), 2u) << "Retry gives three more attempts";
    EXPECT_EQ(box(0).caption, "Auto Increment Error");
    EXPECT_NE(box(0).text.find("(40)."), std::string::npos) << box(0).text;
    EXPECT_FALSE(view.opened);
    EXPECT_EQ(codes(valut), std::vector<int>{1});
    EXPECT_EQ(framework::userCount(valut), 0);

    // The primed values are part of the saved copy: cancelling asks nothing.
    add(valut, {{"VAL:COD", "2"}, {"VAL:OBOZN", "USD"}});
    view.script = [](FormEngine& engine) {
        EXPECT_EQ(*engine.record().value("VAL:PROCENT1"), "3");
        EXPECT_EQ(engine.savedCopy(), engine.record());
        engine.cancelPressed();
    };
    valut.record().clear();
    valut.record().setValue("VAL:OBOZN", "EUR");
    EXPECT_EQ(run(valutForm(valut), kRequestInsert), kResponseCancelled);
    EXPECT_EQ(view.dittoKey, framework::form::kDittoKeyCtrlAltH);
}

// After the highest code a key's field can hold the next number would wrap to 0:
// numbering refuses once, whatever the answer, and leaves the file as it was.
TEST_F(FormTest, NumberingAtTheTopOfTheKeyRangeRefusesOnceAndAddsNothing) {
    add(price, {{"PRI:ID", "65534"}});
    view.script = [](FormEngine& engine) { engine.okPressed(); };
    EXPECT_EQ(run(priceForm(price), kRequestInsert), kResponseCompleted);
    EXPECT_EQ(codes(price), (std::vector<int>{65534, 65535})) << "the highest code is still given";
    EXPECT_TRUE(services->shown.empty());

    view.opened = false;
    services->answers = {platform::kButtonRetry, platform::kButtonRetry};
    EXPECT_EQ(run(priceForm(price), kRequestInsert), kResponseCancelled);
    ASSERT_EQ(services->shown.size(), 1u) << "Retry cannot help, so it is not offered again";
    EXPECT_EQ(box(0).caption, "Auto Increment Error");
    EXPECT_FALSE(view.opened);
    EXPECT_EQ(codes(price), (std::vector<int>{65534, 65535})) << "no record with code 0";
    EXPECT_EQ(framework::userCount(price), 0);
}

}  // namespace
}  // namespace form_tests
