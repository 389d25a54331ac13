// The browse engine in select mode, with the first-character locator, sort orders
// on tabs, the popup menu and the rebuild on regaining focus.
#include "browse_fixture.h"

namespace browse_tests {
namespace {

using Names = std::vector<std::string>;

class CurrencyList : public BrowseTest {
protected:
    void addCurrencies(const std::vector<std::pair<int, std::string>>& list) {
        framework::FileUse use(valut);
        for (const auto& [code, designation] : list) {
            valut.record().clear();
            valut.record().setValue("VAL:COD", std::to_string(code));
            valut.record().setValue("VAL:OBOZN", designation);
            valut.record().setValue("VAL:NAME", "Name of " + designation);
            ASSERT_EQ(valut.add(), 0) << valut.driverErrorText();
        }
    }
    void addStandard() {
        addCurrencies({{6, "AUD"}, {5, "CAD"}, {4, "CHF"}, {3, "CNY"}, {2, "EUR"}, {1, "USD"},
                       {7, "GBP"}, {8, "JPY"}});
    }
    BrowseDefinition currencyDefinition() {
        BrowseDefinition d{valut};
        d.sorts = {{"VAL:OBOZN_KEY", platform::ru(" по &Обозначению"), "VAL:OBOZN", {}, {}},
                   {"VAL:CODE_KEY", platform::ru(" по &Коду"), "VAL:COD", {}, {}}};
        d.columns = {{"VAL:COD", platform::ru("Код"), 20, "@n_2", {}, {}, nullptr},
                     {"VAL:OBOZN", platform::ru("Обозн."), 24, "@s4", {}, {}, nullptr}};
        d.accessObject = "Valut";
        d.iniSection = "Valut_t";
        d.buttons.select = true;
        d.updateForm = [this] { runForm(); };
        return d;
    }
    Names designations() const {
        Names out;
        for (std::size_t r = 1; r <= view.shown.size(); ++r) out.push_back(cell(static_cast<int>(r), 2));
        return out;
    }
    std::string highlighted() const { return cell(view.highlighted, 2); }
};

TEST_F(CurrencyList, SelectModeOpensOnTheCallersRecordAndSelects) {
    addStandard();
    valut.record().clear();
    valut.record().setValue("VAL:OBOZN", "CNY");
    framework::globalRequest() = framework::kRequestSelect;
    BrowseEngine& list = start(currencyDefinition());
    EXPECT_TRUE(list.selectMode());
    EXPECT_EQ(framework::globalRequest(), 0) << "the request is taken";
    EXPECT_EQ(view.setup.wallpaper, framework::WallpaperRole::Select);
    EXPECT_EQ(designations(), Names({"CNY", "EUR", "GBP", "JPY", "USD"}));
    EXPECT_EQ(highlighted(), "CNY");
    EXPECT_TRUE(view.visible[ListButton::Select]);
    EXPECT_TRUE(view.enabled[ListButton::Select]);
    EXPECT_TRUE(view.toolbar[2003].enabled);

    view.click(list, 2);
    list.key(ListKey::DoubleClick);
    EXPECT_TRUE(calls.empty()) << "a double click selects instead of changing";
    EXPECT_TRUE(list.isClosed());
    EXPECT_EQ(framework::globalResponse(), framework::kResponseCompleted);
    EXPECT_EQ(platform::clip(valut.record().getText(2)), "Name of EUR")
        << "the whole record for the caller";
    EXPECT_EQ(view.closed, 1);
    EXPECT_EQ(framework::userCount(valut), 0);

    // Closing instead of selecting answers 2.
    framework::globalRequest() = framework::kRequestSelect;
    BrowseEngine& again = start(currencyDefinition());
    again.closeButton();
    EXPECT_EQ(framework::globalResponse(), framework::kResponseCancelled);

    // Opened for browsing, the select button is hidden and disabled; a double
    // click changes.
    BrowseEngine& browsing = start(currencyDefinition());
    EXPECT_FALSE(view.visible[ListButton::Select]);
    EXPECT_FALSE(view.enabled[ListButton::Select]);
    EXPECT_FALSE(view.toolbar[2003].enabled);
    EXPECT_EQ(designations(), Names({"AUD", "CAD", "CHF", "CNY", "EUR"}));
    browsing.selectButton();
    EXPECT_FALSE(browsing.isClosed());
    browsing.key(ListKey::DoubleClick);
    EXPECT_EQ(calls.size(), 1u);
}

TEST_F(CurrencyList, FirstCharacterWalksDownAndJumps) {
    addStandard();
    BrowseEngine& list = start(currencyDefinition());
    list.character('c');
    view.pump(list);
    EXPECT_EQ(highlighted(), "CAD");
    list.character('C');
    view.pump(list);
    EXPECT_EQ(highlighted(), "CHF") << "the same character walks down";
    list.character('c');
    view.pump(list);
    EXPECT_EQ(highlighted(), "CNY");
    list.character('j');
    view.pump(list);
    EXPECT_EQ(highlighted(), "JPY");
    EXPECT_EQ(designations(), Names({"CNY", "EUR", "GBP", "JPY", "USD"}));
    list.character('F');  // no record begins with F: the first one after it
    view.pump(list);
    EXPECT_EQ(highlighted(), "GBP");

    // The code tab: a digit jumps to the code at or after its value.
    view.tab = 2;
    list.tabChanged();
    view.pump(list);
    list.character('4');
    view.pump(list);
    EXPECT_EQ(std::stoi(cell(view.highlighted, 1)), 4);
}

TEST_F(CurrencyList, TabsSortAndKeepTheHighlightedRecord) {
    addStandard();
    BrowseEngine& list = start(currencyDefinition());
    view.click(list, 3);  // CHF, code 4
    view.tab = 2;
    list.tabChanged();
    view.pump(list);
    EXPECT_EQ(list.state().sortOrder, 2);
    EXPECT_EQ(highlighted(), "CHF");
    EXPECT_EQ(view.highlighted, 1) << "the highlighted record is the top row";
    EXPECT_EQ(designations(), Names({"CHF", "CAD", "AUD", "GBP", "JPY"}));
    list.scroll(ScrollEvent::FirstPage);
    view.pump(list);
    EXPECT_EQ(designations(), Names({"USD", "EUR", "CNY", "CHF", "CAD"}));
}

TEST_F(CurrencyList, RegainingFocusRebuildsWithOtherStationsChanges) {
    addStandard();
    BrowseEngine& list = start(currencyDefinition());
    view.click(list, 3);  // CHF
    {
        storage::DataFile other(refbooks::valutLayout());
        other.setName(".\\Dat\\Valut");
        ASSERT_EQ(other.open(), 0);
        other.record().clear();
        other.record().setValue("VAL:COD", "9");
        other.record().setValue("VAL:OBOZN", "CZK");
        ASSERT_EQ(other.add(), 0);
        other.record().setValue("VAL:OBOZN", "EUR");
        ASSERT_EQ(other.get(*other.layout().key("OBOZN_KEY")), 0);
        ASSERT_EQ(other.remove(), 0);
    }
    EXPECT_EQ(designations(), Names({"AUD", "CAD", "CHF", "CNY", "EUR"})) << "not yet";
    list.gainFocus();
    view.pump(list);
    EXPECT_EQ(designations(), Names({"CHF", "CNY", "CZK", "GBP", "JPY"}));
    EXPECT_EQ(highlighted(), "CHF");

    view.click(list, 5);  // JPY, within one page of the end
    list.resized();
    view.pump(list);
    EXPECT_EQ(designations(), Names({"CNY", "CZK", "GBP", "JPY", "USD"}));
    EXPECT_EQ(highlighted(), "JPY");
}

TEST_F(CurrencyList, PopupMenuPressesTheButtons) {
    addStandard();
    BrowseDefinition d = currencyDefinition();
    d.popup = framework::browse::PopupMenuTexts::standard();
    BrowseEngine& list = start(std::move(d));
    services->menuAnswers = {2};
    list.rightClick();
    view.pump(list);
    ASSERT_EQ(services->menus.size(), 1u);
    EXPECT_EQ(services->menus[0], platform::ru("&Добавить|&Изменить|&Удалить"));
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].request, framework::kRequestChange);

    // A reference book's list has no menu: a right click does nothing.
    start(currencyDefinition()).rightClick();
    view.pump(*engine);
    EXPECT_EQ(services->menus.size(), 1u);
}

TEST_F(BrowseTest, PopupMenuGreysChangeAndDeleteWhileEmpty) {
    {
        framework::FileUse use(price);
    }
    BrowseDefinition d = priceDefinition();
    d.popup = framework::browse::PopupMenuTexts::standard();
    BrowseEngine& list = start(std::move(d));
    services->menuAnswers = {1};
    list.rightClick();
    view.pump(list);
    ASSERT_EQ(services->menus.size(), 1u);
    EXPECT_EQ(services->menus[0], platform::ru("&Добавить|~&Изменить|~&Удалить"));
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].request, framework::kRequestInsert);
}

}  // namespace
}  // namespace browse_tests
