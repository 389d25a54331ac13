// The update form engine deleting records, with and without its window, and the
// frame's toolbar while a form is active.
#include "tests/framework/form_fixture.h"

namespace form_tests {
namespace {

using framework::kRequestDelete;
using framework::kResponseCancelled;
using framework::kResponseCompleted;

TEST_F(FormTest, DeleteFormOnItsWallpaperCanOnlyBeConfirmedOrClosed) {
    add(price, {{"PRI:ID", "1"}, {"PRI:NAME", "one"}});
    add(price, {{"PRI:ID", "2"}});
    bool pictures = true;
    framework::form::setFormEnvironment([&] {
        framework::form::FormEnvironment environment;
        environment.wallpaper.patternOn = pictures;
        environment.wallpaper.formDel = ".\\pic\\FormDel.bmp";
        return environment;
    });

    pick(price, "PRI:ID", "1");
    view.script = [](FormEngine& engine) { engine.closeRequested(); };
    EXPECT_EQ(run(priceForm(price), kRequestDelete), kResponseCancelled);
    EXPECT_EQ(view.wallpaper, std::optional<std::string>(".\\pic\\FormDel.bmp"));
    EXPECT_FALSE(view.controls);
    EXPECT_FALSE(view.cancel);
    EXPECT_TRUE(view.ok) << "OK enabled again after every other control";
    EXPECT_EQ(view.caption, ru(" УДАЛЕНИЕ ЗАПИСИ") + "  (one)");
    EXPECT_EQ(codes(price), (std::vector<int>{1, 2}));

    pick(price, "PRI:ID", "1");
    view.script = [](FormEngine& engine) { engine.okPressed(); };
    EXPECT_EQ(run(priceForm(price), kRequestDelete), kResponseCompleted);
    EXPECT_EQ(codes(price), std::vector<int>{2});

    // Pictures off: the wallpaper is cleared and the fields stay enabled.
    pictures = false;
    pick(price, "PRI:ID", "2");
    view = {};
    view.script = [](FormEngine& engine) { engine.cancelPressed(); };
    EXPECT_EQ(run(priceForm(price), kRequestDelete), kResponseCancelled);
    ASSERT_TRUE(view.wallpaper.has_value());
    EXPECT_EQ(*view.wallpaper, std::nullopt);
    EXPECT_TRUE(view.controls);
}

TEST_F(FormTest, CurrencyWithRatesIsNotDeletedAndTheRetryQuestionFollows) {
    add(valut, {{"VAL:COD", "1"}, {"VAL:OBOZN", "USD"}});
    add(kurs, {{"KUR:VALUT", "USD"}, {"KUR:NUMBER", "1"}});
    pick(valut, "VAL:COD", "1");
    services->answers = {platform::kButtonOk, platform::kButtonYes,     // 13, 18: again
                         platform::kButtonOk, platform::kButtonCancel,  // 13, 18: stay
                         platform::kButtonOk, platform::kButtonNo};     // 13, 18: give up
    bool stayed = false;
    view.script = [&](FormEngine& engine) {
        engine.okPressed();
        stayed = !engine.closed() && engine.navigation() == 0;
        engine.okPressed();
    };
    EXPECT_EQ(run(valutForm(valut), kRequestDelete), kResponseCancelled);
    EXPECT_TRUE(stayed);
    ASSERT_EQ(services->shown.size(), 6u);
    EXPECT_EQ(box(0).text,
              "This record is referenced from the file Kurs.  This record cannot be deleted while "
              "these references exist.");
    EXPECT_EQ(box(1).text,
              "An error was experienced deleting this record.  Do you want to try to save again?");
    EXPECT_EQ(codes(valut), std::vector<int>{1});
    EXPECT_EQ(view.caption, ru("Удаление  Валюты") + "  (USD)");
}

TEST_F(FormTest, DeleteWithoutTheWindowConfirmsFirst) {
    add(price, {{"PRI:ID", "1"}});
    auto prices = priceForm(price);
    prices.deletesWithoutWindow = true;
    // The rights come first: a delete ban refuses before anything is asked or
    // deleted, also without a window.
    restrictRights(framework::kForbidDelete);
    pick(price, "PRI:ID", "1");
    EXPECT_EQ(run(prices, kRequestDelete), kResponseCancelled);
    ASSERT_EQ(services->shown.size(), 1u);
    EXPECT_EQ(box(0).text, ru("Удалениие запрещено "));
    EXPECT_EQ(codes(price), std::vector<int>{1});
    services->shown.clear();
    restrictRights(0);

    services->answers = {platform::kButtonCancel, platform::kButtonOk};
    pick(price, "PRI:ID", "1");
    EXPECT_EQ(run(prices, kRequestDelete), kResponseCancelled);
    pick(price, "PRI:ID", "1");
    EXPECT_EQ(run(prices, kRequestDelete), kResponseCompleted);
    ASSERT_EQ(services->shown.size(), 2u);
    EXPECT_EQ(box(0).caption, "Confirm Delete");
    EXPECT_TRUE(codes(price).empty());

    // A failed delete asks 18: Yes deletes again, any other answer gives up.
    add(valut, {{"VAL:COD", "1"}, {"VAL:OBOZN", "USD"}});
    add(kurs, {{"KUR:VALUT", "USD"}, {"KUR:NUMBER", "1"}});
    auto currencies = valutForm(valut);
    currencies.deletesWithoutWindow = true;
    services->shown.clear();
    services->answers = {platform::kButtonOk, platform::kButtonOk, platform::kButtonYes,
                         platform::kButtonOk, platform::kButtonCancel};
    pick(valut, "VAL:COD", "1");
    EXPECT_EQ(run(currencies, kRequestDelete), kResponseCancelled);
    std::vector<std::string> captions;
    for (const auto& shown : services->shown) captions.push_back(shown.caption);
    EXPECT_EQ(captions, (std::vector<std::string>{
                            "Confirm Delete", "Referential Integrity Delete Error",
                            "Record Update Error", "Referential Integrity Delete Error",
                            "Record Update Error"}));
    EXPECT_FALSE(view.opened) << "the window never opens";
}

TEST_F(FormTest, ToolbarWhileTheFormIsActive) {
    add(price, {{"PRI:ID", "1"}});
    std::vector<std::string> help;
    framework::setHelpOpener([&](const std::string& topic) { help.push_back(topic); });
    pick(price, "PRI:ID", "1");
    view.script = [](FormEngine& engine) {
        engine.toolbarPressed(framework::kToolHelp);
        engine.toolbarPressed(framework::kToolDelete);  // disabled: nothing happens
        EXPECT_FALSE(engine.closed());
        engine.toolbarPressed(framework::kToolInsert);
    };
    EXPECT_EQ(run(priceForm(price), framework::kRequestChange), kResponseCancelled);
    EXPECT_EQ(framework::vcrRequest(), framework::kToolInsert);
    EXPECT_EQ(help, std::vector<std::string>{"Sprav\\Price.htm"});
    for (int button : {2000, 2004, 2005, 2006, 2007, 2008, 2009, 2011})
        EXPECT_TRUE(view.toolEnabled(button)) << button;
    for (int button : {2001, 2002, 2003, 2010, 2012}) EXPECT_FALSE(view.toolEnabled(button));
    EXPECT_EQ(view.toolbar[2000].second, "Save this record and add a new one");
    EXPECT_EQ(view.toolbar[2007].second, "Save changes and page up to record");

    view = {};
    view.script = [](FormEngine& engine) { engine.cancelPressed(); };
    run(priceForm(price), framework::kRequestInsert);
    EXPECT_EQ(view.toolbar[2008].second, "Save record and add another");
    EXPECT_EQ(view.toolbar[2000].second, "Save record and add another");
    EXPECT_FALSE(view.toolEnabled(2004));

    // A form that leaves the toolbar alone answers only the previous value.
    view = {};
    view.script = [&](FormEngine& engine) {
        view.toolbar[2008] = {true, "the list's"};
        engine.toolbarPressed(framework::kToolNextRecord);
        EXPECT_FALSE(engine.closed());
        engine.cancelPressed();
    };
    valut.record().clear();
    run(valutForm(valut), framework::kRequestInsert);
    EXPECT_EQ(view.toolbar[2008].second, "the list's");
    EXPECT_TRUE(view.toolEnabled(framework::kToolDitto));
}

}  // namespace
}  // namespace form_tests
