// Re-reading the highlighted row in place and restarting a list from its top: the
// page, the highlight and what another station changed meanwhile.
#include "browse_fixture.h"

#include <algorithm>

namespace browse_tests {
namespace {

using Codes = std::vector<int>;

class BrowseReread : public BrowseTest {
protected:
    // Renames or deletes a price type as another station would.
    void onOtherStation(int code, const std::function<void(storage::DataFile&)>& change) {
        storage::DataFile other(price.layout());
        other.setName(price.name());
        ASSERT_EQ(other.open(), 0);
        other.record().clear();
        other.record().setValue("PRI:ID", std::to_string(code));
        ASSERT_EQ(other.get(*other.layout().key("PRI:ID_KEY")), 0);
        change(other);
        other.close();
    }
};

TEST_F(BrowseReread, HighlightedRowIsReadAgainWhereItStands) {
    addPrices(12);
    BrowseEngine& list = start(priceDefinition());
    list.scroll(ScrollEvent::PageDown);
    view.pump(list);
    view.click(list, 3);
    const Codes page = codes();
    onOtherStation(page[2], [](storage::DataFile& f) {
        f.record().setValue("PRI:NAME", "Renamed");
        ASSERT_EQ(f.put(), 0);
    });
    onOtherStation(page[1], [](storage::DataFile& f) {
        f.record().setValue("PRI:NAME", "Not shown yet");
        ASSERT_EQ(f.put(), 0);
    });
    list.rereadHighlightedRow();
    EXPECT_EQ(codes(), page) << "the page stays";
    EXPECT_EQ(view.highlighted, 3);
    EXPECT_EQ(cell(3, 2), "Renamed");
    EXPECT_EQ(cell(2, 2), "Price " + std::to_string(page[1])) << "only the highlighted row";
    EXPECT_EQ(*price.record().value("PRI:NAME"), "Renamed") << "the buffer holds the row";
}

TEST_F(BrowseReread, RowDeletedMeanwhileRebuildsThePageAndRestartGoesToTheTop) {
    addPrices(12);
    BrowseEngine& list = start(priceDefinition());
    list.scroll(ScrollEvent::PageDown);
    view.pump(list);
    view.click(list, 2);
    const int gone = highlightedCode();
    onOtherStation(gone, [](storage::DataFile& f) { ASSERT_EQ(f.remove(), 0); });
    list.rereadHighlightedRow();
    view.pump(list);
    const Codes after = codes();
    EXPECT_EQ(std::count(after.begin(), after.end(), gone), 0);
    EXPECT_EQ(after.size(), 5u) << "the page is full again";

    list.restart();
    view.pump(list);
    EXPECT_EQ(codes(), Codes({1, 2, 3, 4, 5}));
}

}  // namespace
}  // namespace browse_tests
