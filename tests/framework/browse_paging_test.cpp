// The browse engine's page: opening, scrolling by row and page, first and last
// page, the thumb with its key distribution.
#include "browse_fixture.h"

#include "framework/browse/key_distribution.h"

namespace browse_tests {
namespace {

using Codes = std::vector<int>;

TEST_F(BrowseTest, EmptyFileOpensEmptyAndStillInserts) {
    {
        framework::FileUse use(price);  // created empty
    }
    price.record().setValue("PRI:NAME", "left over");
    BrowseEngine& list = start(priceDefinition());

    EXPECT_TRUE(view.shown.empty());
    EXPECT_EQ(list.state().currentRow, 0);
    EXPECT_FALSE(view.enabled[ListButton::Change]);
    EXPECT_FALSE(view.enabled[ListButton::Delete]);
    EXPECT_FALSE(view.toolbar[2001].enabled);
    EXPECT_FALSE(view.toolbar[2002].enabled);
    EXPECT_TRUE(view.toolbar[2000].enabled);
    EXPECT_EQ(price.record().value("PRI:NAME"), "") << "the buffer is cleared";
    EXPECT_FALSE(view.scrollBar);
    EXPECT_EQ(view.opened, 1);
    EXPECT_EQ(view.setup.iniSection, "Price_t");

    // Only Insert works without rows; change and delete keys do nothing.
    list.key(ListKey::Delete);
    list.key(ListKey::DoubleClick);
    EXPECT_TRUE(calls.empty());
    actions.push_back({[this] {
                           price.record().setValue("PRI:ID", "7");
                           price.add();
                       },
                       framework::kResponseCompleted, 0});
    list.key(ListKey::Insert);
    view.pump(list);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].request, framework::kRequestInsert);
    EXPECT_EQ(calls[0].record, "0") << "the new record starts empty";
    EXPECT_EQ(codes(), Codes({7}));
    EXPECT_EQ(highlightedCode(), 7);
    EXPECT_TRUE(view.enabled[ListButton::Change]);

    list.insertButton();  // the button works as well
    EXPECT_EQ(calls.size(), 2u);
}

TEST_F(BrowseTest, FewerRecordsThanRowsHaveNoScrollBar) {
    addPrices(3);
    BrowseEngine& list = start(priceDefinition());
    EXPECT_EQ(codes(), Codes({1, 2, 3}));
    EXPECT_EQ(highlightedCode(), 1);
    EXPECT_FALSE(view.scrollBar);

    list.scroll(ScrollEvent::PageDown);
    view.pump(list);
    EXPECT_EQ(codes(), Codes({1, 2, 3}));
    EXPECT_EQ(highlightedCode(), 3) << "page down moves the highlight to the last row";
    list.scroll(ScrollEvent::RowDown);
    EXPECT_EQ(highlightedCode(), 3);
    list.scroll(ScrollEvent::PageUp);
    view.pump(list);
    EXPECT_EQ(highlightedCode(), 1);
    EXPECT_FALSE(view.scrollBar);
    EXPECT_EQ(price.record().value("PRI:NAME"), "Price 1");
}

TEST_F(BrowseTest, ScrollsByRowAndPageKeepingOnlyThePage) {
    addPrices(12);
    BrowseEngine& list = start(priceDefinition());
    EXPECT_EQ(codes(), Codes({1, 2, 3, 4, 5}));
    EXPECT_TRUE(view.scrollBar);
    EXPECT_EQ(list.page().size(), 5u);

    // Down within the page, then past its last row: the page shifts by one.
    for (int i = 0; i < 5; ++i) list.scroll(ScrollEvent::RowDown);
    view.pump(list);
    EXPECT_EQ(codes(), Codes({2, 3, 4, 5, 6}));
    EXPECT_EQ(highlightedCode(), 6);
    EXPECT_EQ(price.record().value("PRI:NAME"), "Price 6") << "the row goes into the buffer";

    list.scroll(ScrollEvent::PageDown);
    view.pump(list);
    EXPECT_EQ(codes(), Codes({7, 8, 9, 10, 11}));
    EXPECT_EQ(highlightedCode(), 11);
    list.scroll(ScrollEvent::PageDown);  // one record left: the highlight takes the rest
    view.pump(list);
    EXPECT_EQ(codes(), Codes({8, 9, 10, 11, 12}));
    EXPECT_EQ(highlightedCode(), 12);

    list.scroll(ScrollEvent::PageUp);
    view.pump(list);
    EXPECT_EQ(codes(), Codes({3, 4, 5, 6, 7}));
    EXPECT_EQ(highlightedCode(), 7);
    view.click(list, 1);
    list.scroll(ScrollEvent::RowUp);
    view.pump(list);
    EXPECT_EQ(codes(), Codes({2, 3, 4, 5, 6}));
    EXPECT_EQ(highlightedCode(), 2);

    list.scroll(ScrollEvent::LastPage);
    view.pump(list);
    EXPECT_EQ(codes(), Codes({8, 9, 10, 11, 12}));
    EXPECT_EQ(highlightedCode(), 12);
    EXPECT_EQ(view.thumb, 100);
    list.scroll(ScrollEvent::FirstPage);
    view.pump(list);
    EXPECT_EQ(codes(), Codes({1, 2, 3, 4, 5}));
    EXPECT_EQ(highlightedCode(), 1);
    EXPECT_EQ(view.thumb, 0);
    EXPECT_EQ(view.waitCursor, 0) << "every wait cursor is restored";
}

TEST_F(BrowseTest, ToolbarNavigatesAndIsPrepared) {
    addPrices(12);
    BrowseEngine& list = start(priceDefinition());
    EXPECT_EQ(view.toolbar[2000].tooltip, "Insert a new Record");
    EXPECT_EQ(view.toolbar[2004].tooltip, "Go to the Last Page");
    EXPECT_EQ(view.toolbar[2005].tooltip, "Go to the First Page");
    EXPECT_EQ(view.toolbar[2006].tooltip, "Go to the Next Page");
    EXPECT_EQ(view.toolbar[2007].tooltip, "Go to the Prior Page");
    EXPECT_EQ(view.toolbar[2008].tooltip, "Go to the Next Record");
    EXPECT_EQ(view.toolbar[2009].tooltip, "Go to the Prior Record");
    for (int b = 2004; b <= 2010; ++b) EXPECT_TRUE(view.toolbar[b].enabled) << b;
    EXPECT_FALSE(view.toolbar[2011].enabled);
    EXPECT_FALSE(view.toolbar[2003].enabled) << "no select button";
    EXPECT_TRUE(view.toolbar[2001].enabled);

    list.toolbar(2004);
    view.pump(list);
    EXPECT_EQ(highlightedCode(), 12);
    list.toolbar(2005);
    list.toolbar(2006);
    view.pump(list);
    EXPECT_EQ(codes(), Codes({6, 7, 8, 9, 10}));
    list.toolbar(2008);
    list.toolbar(2008);
    list.toolbar(2009);
    view.pump(list);
    EXPECT_EQ(highlightedCode(), 7);
    list.toolbar(2007);
    view.pump(list);
    EXPECT_EQ(codes(), Codes({1, 2, 3, 4, 5}));
    list.toolbar(2010);  // locate: nothing happens
    list.toolbar(2012);
    EXPECT_EQ(help, std::vector<std::string>{"Sprav\\Price.htm"});
    list.toolbar(2001);
    EXPECT_EQ(calls.size(), 1u) << "2001 presses change";
}

TEST_F(BrowseTest, ThumbLocatesThroughTheKeyDistribution) {
    std::vector<int> codes100;
    for (int i = 1; i <= 100; ++i) codes100.push_back(i * 10);  // 10..1000
    addPrices(codes100);
    BrowseEngine& list = start(priceDefinition());
    EXPECT_EQ(list.distribution().entry(1), "10");
    EXPECT_EQ(list.distribution().entry(100), "1000");
    EXPECT_EQ(list.distribution().entry(50), "500");  // 10 + 990 / 99 * 49

    list.thumbReleased(50);
    view.pump(list);
    EXPECT_EQ(codes(), Codes({500, 510, 520, 530, 540})) << "the located value is the top row";
    EXPECT_EQ(highlightedCode(), 500);
    EXPECT_EQ(view.thumb, 50);
    view.click(list, 3);  // 520: the first entry not below it is entry 52
    EXPECT_EQ(view.thumb, 52);

    list.thumbReleased(100);
    view.pump(list);
    EXPECT_EQ(codes(), Codes({960, 970, 980, 990, 1000}));
    list.thumbReleased(1);
    view.pump(list);
    EXPECT_EQ(codes(), Codes({10, 20, 30, 40, 50}));
    EXPECT_EQ(view.thumb, 0);
    list.thumbReleased(99);  // within one page of the end: filled backwards
    view.pump(list);
    EXPECT_EQ(codes(), Codes({960, 970, 980, 990, 1000}));
    EXPECT_EQ(highlightedCode(), 990);
}

TEST(KeyDistribution, SpreadsNumbersAndTextsEvenly) {
    storage::Record low(refbooks::valutLayout()), high(refbooks::valutLayout());
    const auto code = static_cast<std::size_t>(refbooks::valutLayout().fieldIndex("VAL:COD"));
    const auto obozn = static_cast<std::size_t>(refbooks::valutLayout().fieldIndex("VAL:OBOZN"));
    low.setValue(code, "3");
    high.setValue(code, "200");
    framework::browse::KeyDistribution numbers;
    numbers.build(low, high, code);
    EXPECT_EQ(numbers.entry(1), "3");
    EXPECT_EQ(numbers.entry(2), "4");  // 3 + 197 / 99, cut toward zero
    EXPECT_EQ(numbers.entry(100), "200");
    storage::Record probe = low;
    probe.setValue(code, "3");
    EXPECT_EQ(numbers.thumbFor(probe, code), 0);
    probe.setValue(code, "201");
    EXPECT_EQ(numbers.thumbFor(probe, code), 100) << "beyond the last entry";
    numbers.putValue(2, probe, code);
    EXPECT_EQ(probe.value(code), "4");

    low.setValue(obozn, "aud");
    high.setValue(obozn, "USD");
    framework::browse::KeyDistribution texts;
    texts.build(low, high, obozn);
    EXPECT_EQ(texts.entry(1), "AUD") << "the key's upper-cased form";
    EXPECT_EQ(texts.entry(100), "USD");
    for (int k = 2; k <= 100; ++k) EXPECT_LE(texts.entry(k - 1), texts.entry(k)) << k;
    probe.setValue(obozn, "eur");
    const int thumb = texts.thumbFor(probe, obozn);
    EXPECT_GT(thumb, 1);
    EXPECT_LT(thumb, 100);
    EXPECT_GE(texts.entry(thumb), "EUR");
    EXPECT_LT(texts.entry(thumb - 1), "EUR");
}

}  // namespace
}  // namespace browse_tests
