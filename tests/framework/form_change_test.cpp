// The update form engine changing records: unchanged saves, save-and-move, write
// errors through the update rule, a change made meanwhile by another station with
// the ditto record, and the rights at opening.
#include "tests/framework/form_fixture.h"

namespace form_tests {
namespace {

using framework::kRequestChange;
using framework::kResponseCancelled;
using framework::kResponseCompleted;

// Another station's rewrite of a price's name.
void renameElsewhere(storage::DataFile& file, const std::string& name) {
    storage::DataFile other(file.layout());
    other.setName(file.name());
    ASSERT_EQ(other.open(), 0);
    other.record().setValue("PRI:ID", "1");
    ASSERT_EQ(other.get(*other.layout().primaryKey()), 0);
    other.record().setValue("PRI:NAME", name);
    ASSERT_EQ(other.put(), 0);
}

TEST_F(FormTest, UnchangedOkWritesNothingAndMovingWithoutAChangeCancels) {
    add(price, {{"PRI:ID", "1"}, {"PRI:NAME", "mine  "}});
    // Had the form written the unchanged record, the watch would have tripped.
    pick(price, "PRI:ID", "1");
    renameElsewhere(price, "theirs");
    view.script = [](FormEngine& engine) { engine.okPressed(); };
    EXPECT_EQ(run(priceForm(price), kRequestChange), kResponseCompleted);
    EXPECT_TRUE(services->shown.empty());
    EXPECT_EQ(storedName(1), "theirs");
    EXPECT_EQ(view.caption, ru(" Изменение записи") + "  (mine)");
    EXPECT_FALSE(view.wait);

    pick(price, "PRI:ID", "1");
    view.script = [](FormEngine& engine) { engine.toolbarPressed(framework::kToolNextRecord); };
    EXPECT_EQ(run(priceForm(price), kRequestChange), kResponseCancelled);
    EXPECT_EQ(framework::vcrRequest(), framework::kToolNextRecord);

    // A refused entry stays; the move after a good one saves and hands the button on.
    pick(price, "PRI:ID", "1");
    view.script = [&](FormEngine& engine) {
        view.typed = {{6, "edited"}, {8, "abc"}};
        engine.toolbarPressed(framework::kToolPriorPage);
        EXPECT_EQ(view.rejected, std::vector<int>{8});
        EXPECT_TRUE(!engine.closed() && engine.navigation() == 0);
        view.typed = {{8, "1"}};
        engine.toolbarPressed(framework::kToolPriorPage);
    };
    EXPECT_EQ(run(priceForm(price), kRequestChange), kResponseCompleted);
    EXPECT_EQ(framework::vcrRequest(), framework::kToolPriorPage);
    EXPECT_EQ(storedName(1), "edited");
    EXPECT_EQ(framework::userCount(price), 1) << "the list's own use stays";
}

TEST_F(FormTest, KeyChangedToOneInUseFailsInTheUpdateRuleThenAsksToRetry) {
    add(price, {{"PRI:ID", "1"}, {"PRI:NAME", "one"}});
    add(price, {{"PRI:ID", "2"}, {"PRI:NAME", "two"}});
    pick(price, "PRI:ID", "2");
    services->answers = {platform::kButtonOk, platform::kButtonCancel,  // 15, 16: stay
                         platform::kButtonOk, platform::kButtonYes,     // 15, 16: again
                         platform::kButtonOk, platform::kButtonNo};     // 15, 16: give up
    view.script = [&](FormEngine& engine) {
        view.typed = {{4, "1"}};
        engine.toolbarPressed(framework::kToolNextRecord);
        EXPECT_TRUE(!engine.closed() && engine.navigation() == 0);
        engine.okPressed();
    };
    EXPECT_EQ(run(priceForm(price), kRequestChange), kResponseCancelled);
    ASSERT_EQ(services->shown.size(), 6u);
    EXPECT_EQ(box(0).caption, "Update Operation Error");
    EXPECT_NE(box(0).text.find("(40)) was experienced when attempting to update a record from the "
                               "file.  Probable Cause: Price."),
              std::string::npos)
        << box(0).text;
    EXPECT_EQ(box(1).text,
              "An error was experienced changing this record.  Do you want to try to save again?");
    EXPECT_EQ(framework::vcrRequest(), 0);
    EXPECT_EQ(storedName(1), "one");
    EXPECT_EQ(storedName(2), "two");
}

TEST_F(FormTest, ChangeByAnotherStationShowsTheirValuesAndDittoRecallsMine) {
    add(price, {{"PRI:ID", "1"}, {"PRI:NAME", "mine"}});
    pick(price, "PRI:ID", "1");
    renameElsewhere(price, "theirs");
    std::string afterConflict;
    view.script = [&](FormEngine& engine) {
        view.typed = {{6, "my edit"}, {12, "my note"}};
        const int shows = view.shows;
        engine.toolbarPressed(framework::kToolNextPage);
        EXPECT_TRUE(!engine.closed() && engine.navigation() == 0 && view.shows > shows);
        afterConflict = *engine.record().value("PRI:NAME");
        view.focused = 6;  // recall the name only; the note stays theirs
        engine.dittoPressed();
        engine.okPressed();
    };
    EXPECT_EQ(run(priceForm(price), kRequestChange), kResponseCompleted);
    EXPECT_EQ(afterConflict, "theirs");
    ASSERT_EQ(services->shown.size(), 1u);
    EXPECT_EQ(box(0).caption, "Record Was Not Updated");
    EXPECT_EQ(storedName(1), "my edit");
    EXPECT_EQ(*stored(price, "PRI:ID", "1")->value("PRI:NOTE"), "");

    // The ditto record outlives the form: the next form of the book recalls from it.
    pick(price, "PRI:ID", "1");
    view.script = [&](FormEngine& engine) {
        engine.record().setValue("PRI:NOTE", "new");
        view.focused = 12;
        engine.toolbarPressed(framework::kToolDitto);
        EXPECT_EQ(*engine.record().value("PRI:NOTE"), "");
        engine.cancelPressed();
    };
    run(priceForm(price), kRequestChange);
}

TEST_F(FormTest, RightsAtOpening) {
    add(price, {{"PRI:ID", "1"}, {"PRI:NAME", "one"}});
    // Bit 4: the record can be looked at, not saved; only cancel leaves.
    restrictRights(framework::kForbidWrite | framework::kForbidDelete);
    pick(price, "PRI:ID", "1");
    view.script = [&](FormEngine& engine) {
        EXPECT_FALSE(view.ok);
        view.typed = {{6, "changed"}};
        engine.okPressed();
        engine.toolbarPressed(framework::kToolNextRecord);
        EXPECT_FALSE(engine.closed());
        engine.cancelPressed();
    };
    EXPECT_EQ(run(priceForm(price), kRequestChange), kResponseCancelled);
    EXPECT_EQ(storedName(1), "one");
    EXPECT_TRUE(services->shown.empty());

    // Each refusal with its own text, trailing blank and spelling kept.
    auto form = priceForm(price);
    form.refusals.caption = ru(" Ошибка");
    const std::vector<std::tuple<std::int16_t, int, std::string>> refusals = {
        {framework::kForbidAccess, framework::kRequestDelete, ru("Доступ запрещен ")},
        {framework::kForbidChange, framework::kRequestChange, ru("Изменение запрещено ")},
        {framework::kForbidDelete, framework::kRequestDelete, ru("Удалениие запрещено ")},
    };
    for (const auto& [bits, request, text] : refusals) {
        restrictRights(bits);
        pick(price, "PRI:ID", "1");
        EXPECT_EQ(run(form, request), kResponseCancelled);
        EXPECT_EQ(services->shown.back().text, text);
        EXPECT_EQ(services->shown.back().caption, ru(" Ошибка"));
    }
    EXPECT_EQ(services->shown.size(), refusals.size());
    EXPECT_EQ(codes(price), std::vector<int>{1});
}

}  // namespace
}  // namespace form_tests
