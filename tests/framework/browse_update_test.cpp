// The browse engine's update cycle: the page after insert, change, delete and
// cancel; save-and-add and save-and-move; the rights checks.
#include "browse_fixture.h"

namespace browse_tests {
namespace {

using Codes = std::vector<int>;
using framework::kResponseCancelled;
using framework::kResponseCompleted;

TEST_F(BrowseTest, DeletingHighlightsTheFollowerOrTheNewLastRow) {
    addPrices(12);
    BrowseEngine& list = start(priceDefinition());
    auto deleting = [this] { return FormAction{[this] { price.remove(); }, kResponseCompleted, 0}; };

    view.click(list, 2);  // 2 of 1..5
    actions.push_back(deleting());
    list.deleteButton();
    view.pump(list);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].request, framework::kRequestDelete);
    EXPECT_EQ(calls[0].record, "2") << "the highlighted record is handed on";
    EXPECT_TRUE(calls[0].hasCurrent);
    EXPECT_EQ(codes(), Codes({1, 3, 4, 5, 6})) << "the page is full again";
    EXPECT_EQ(highlightedCode(), 3) << "the follower";

    list.scroll(ScrollEvent::LastPage);
    view.pump(list);
    EXPECT_EQ(codes(), Codes({8, 9, 10, 11, 12}));
    actions.push_back(deleting());
    list.key(ListKey::Delete);
    view.pump(list);
    EXPECT_EQ(codes(), Codes({7, 8, 9, 10, 11}));
    EXPECT_EQ(highlightedCode(), 11) << "the new last row";

    actions.push_back({});  // a cancelled delete changes nothing
    list.deleteButton();
    view.pump(list);
    EXPECT_EQ(codes(), Codes({7, 8, 9, 10, 11}));
    EXPECT_EQ(highlightedCode(), 11);
}

TEST_F(BrowseTest, InsertNearTheEndFillsBackwards) {
    addPrices({10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120});
    BrowseEngine& list = start(priceDefinition());
    actions.push_back({[this] {
                           price.record().setValue("PRI:ID", "115");
                           price.record().setValue("PRI:NAME", "new");
                           price.add();
                       },
                       kResponseCompleted, 0});
    list.insertButton();
    view.pump(list);
    EXPECT_EQ(codes(), Codes({90, 100, 110, 115, 120}));
    EXPECT_EQ(highlightedCode(), 115);
    EXPECT_EQ(price.record().value("PRI:NAME"), "new");

    // An insert in the middle of the file becomes the top row.
    actions.push_back({[this] {
                           price.record().setValue("PRI:ID", "35");
                           price.add();
                       },
                       kResponseCompleted, 0});
    list.insertButton();
    view.pump(list);
    EXPECT_EQ(codes(), Codes({35, 40, 50, 60, 70}));
    EXPECT_EQ(highlightedCode(), 35);
}

TEST_F(BrowseTest, ChangeRebuildsAroundTheRecordAndCancelLeavesThePage) {
    addPrices(12);
    BrowseEngine& list = start(priceDefinition());
    list.scroll(ScrollEvent::PageDown);
    view.pump(list);
    view.click(list, 4);
    ASSERT_EQ(codes(), Codes({6, 7, 8, 9, 10}));
    ASSERT_EQ(highlightedCode(), 9);

    actions.push_back({});  // cancel
    list.changeButton();
    view.pump(list);
    EXPECT_EQ(codes(), Codes({6, 7, 8, 9, 10}));
    EXPECT_EQ(highlightedCode(), 9);
    EXPECT_EQ(calls.back().request, framework::kRequestChange);
    EXPECT_EQ(view.focus, 2) << "focus back on the list";

    // A completed change locates on the record, which becomes the top row.
    actions.push_back({[this] {
                           price.record().setValue("PRI:NAME", "renamed");
                           price.put();
                       },
                       kResponseCompleted, 0});
    list.key(ListKey::CtrlEnter);
    view.pump(list);
    EXPECT_EQ(codes(), Codes({8, 9, 10, 11, 12}));
    EXPECT_EQ(highlightedCode(), 9);
    EXPECT_EQ(cell(2, 2), "renamed");
}

TEST_F(BrowseTest, SaveAndMoveWalksTheRecords) {
    addPrices(12);
    BrowseEngine& list = start(priceDefinition());
    view.click(list, 4);
    for (int vcr : {2008, 2008, 2009, 2006, 2007, 2004, 2005}) actions.push_back({{}, kResponseCompleted, vcr});
    actions.push_back({});  // the last form closes normally
    list.changeButton();
    view.pump(list);
    std::vector<std::string> seen;
    for (const FormCall& c : calls) {
        EXPECT_EQ(c.request, framework::kRequestChange);
        EXPECT_TRUE(c.hasCurrent) << "each record is re-read before its form";
        seen.push_back(c.record);
    }
    // 4, next 5, next 6, prior 5, a page down from the top row 5, a page up, last, first.
    EXPECT_EQ(seen, (std::vector<std::string>{"4", "5", "6", "5", "10", "5", "12", "1"}));
    EXPECT_EQ(framework::vcrRequest(), 0);
}

TEST_F(BrowseTest, SaveAndAddCallsTheFormAgainWithAnEmptyRecord) {
    addPrices(3);
    BrowseEngine& list = start(priceDefinition());
    auto adding = [this](int code, int vcr) {
        return FormAction{[this, code] {
                              price.record().setValue("PRI:ID", std::to_string(code));
                              price.add();
                          },
                          kResponseCompleted, vcr};
    };
    actions.push_back(adding(4, 2008));
    actions.push_back(adding(5, 2000));
    actions.push_back(adding(6, 0));
    list.insertButton();
    view.pump(list);
    ASSERT_EQ(calls.size(), 3u);
    for (const FormCall& c : calls) {
        EXPECT_EQ(c.request, framework::kRequestInsert);
        EXPECT_EQ(c.record, "0");
        EXPECT_FALSE(c.hasCurrent) << "no current record: the form adds";
    }
    EXPECT_EQ(codes(), Codes({2, 3, 4, 5, 6}));
    EXPECT_EQ(highlightedCode(), 6);

    // From a change, 2000 turns the next form into an insert.
    calls.clear();
    actions.push_back({{}, kResponseCompleted, 2000});
    actions.push_back({});
    list.changeButton();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].request, framework::kRequestChange);
    EXPECT_EQ(calls[1].request, framework::kRequestInsert);
    EXPECT_EQ(calls[1].record, "0");
}

TEST_F(BrowseTest, RightsHideButtonsAndRefuseRequests) {
    addPrices(3);
    start(priceDefinition());
    EXPECT_EQ(asked, std::vector<std::string>{"Price"});
    EXPECT_TRUE(view.visible[ListButton::Insert]);
    EXPECT_TRUE(view.visible[ListButton::Change]);
    EXPECT_TRUE(view.visible[ListButton::Delete]);
    EXPECT_FALSE(view.visible[ListButton::Select]) << "the select button is the book's own";

    engine.reset();
    rights = 14;
    BrowseEngine& guarded = start(priceDefinition());
    EXPECT_FALSE(view.visible[ListButton::Insert]);
    EXPECT_FALSE(view.visible[ListButton::Change]);
    EXPECT_FALSE(view.visible[ListButton::Delete]);
    EXPECT_EQ(codes(), Codes({1, 2, 3})) << "the list still opens";

    // The keys still press the hidden buttons, which ask again and refuse.
    const std::vector<std::pair<ListKey, std::string>> refusals{
        {ListKey::Insert, "Добавленение запрещено"},
        {ListKey::CtrlEnter, "Изменение запрещено"},
        {ListKey::Delete, "Удаление запрещено"}};
    for (const auto& [key, text] : refusals) {
        guarded.key(key);
        view.pump(guarded);
        ASSERT_FALSE(services->shown.empty());
        EXPECT_EQ(services->shown.back().text, platform::ru(text));
        EXPECT_EQ(services->shown.back().caption, platform::ru(" Извините"));
        EXPECT_EQ(services->shown.back().icon, platform::Icon::Information);
    }
    EXPECT_TRUE(calls.empty()) << "no form opens";
    EXPECT_EQ(asked.size(), 5u);

    // A list that is told not to ask again goes straight to its form.
    engine.reset();
    BrowseDefinition quiet = priceDefinition();
    quiet.reaskRights = false;
    start(std::move(quiet)).insertButton();
    EXPECT_EQ(calls.size(), 1u);
}

TEST_F(BrowseTest, RefusedAccessEndsTheListAtOnce) {
    addPrices(3);
    rights = 1;
    framework::globalRequest() = 0;
    engine = std::make_unique<BrowseEngine>(priceDefinition(), view);
    EXPECT_FALSE(engine->open());
    ASSERT_EQ(services->shown.size(), 1u);
    EXPECT_EQ(services->shown[0].text, platform::ru("Доступ запрещен !"));
    EXPECT_EQ(services->shown[0].caption, platform::ru(" Извините"));
    EXPECT_EQ(framework::globalResponse(), framework::kResponseCancelled);
    EXPECT_EQ(view.closed, 1);
    EXPECT_EQ(framework::userCount(price), 0);
    EXPECT_TRUE(engine->isClosed());
    engine->windowOpened();  // a late open event does nothing
    EXPECT_TRUE(view.shown.empty());

    // A list that names no access object asks nothing.
    asked.clear();
    BrowseDefinition open = priceDefinition();
    open.accessObject.clear();
    engine.reset();
    EXPECT_TRUE(start(std::move(open)).page().size() == 3u);
    EXPECT_TRUE(asked.empty());
}

TEST_F(BrowseTest, HandedRecordIsWatchedAgainstOtherStations) {
    addPrices(3);
    BrowseEngine& list = start(priceDefinition());
    view.click(list, 2);
    storage::DataFile other(refbooks::priceLayout());
    other.setName(".\\Dat\\Price");
    ASSERT_EQ(other.open(), 0);
    int putResult = -1;
    actions.push_back({[&] {
                           // Another station rewrites the record while the form is open.
                           other.record().setValue("PRI:ID", "2");
                           ASSERT_EQ(other.get(*other.layout().key("ID_KEY")), 0);
                           other.record().setValue("PRI:NAME", "elsewhere");
                           ASSERT_EQ(other.put(), 0);
                           price.record().setValue("PRI:NAME", "here");
                           putResult = price.put();
                       },
                       kResponseCancelled, 0});
    list.changeButton();
    EXPECT_EQ(putResult, storage::error::kChangedByAnotherStation);
    view.pump(list);
    EXPECT_EQ(cell(2, 2), "elsewhere") << "the rebuilt page shows the other station's change";
}

}  // namespace
}  // namespace browse_tests
