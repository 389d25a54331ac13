// The fields a list reads of its records: what it shows, carries, sorts on and
// filters by, and what its hooks declare; never a field it does not need.
#include "tests/framework/browse_fixture.h"

#include <optional>

namespace browse_tests {
namespace {

// Price types 1..8 with every field filled.
void fillPrices(storage::DataFile& price) {
    framework::FileUse use(price);
    for (int code = 1; code <= 8; ++code) {
        price.record().clear();
        price.record().setValue("PRI:ID", std::to_string(code));
        price.record().setValue("PRI:NAME", "Price " + std::to_string(code));
        price.record().setValue("PRI:SKIDKA", "2.5");
        price.record().setValue("PRI:KOEF", "1.5");
        price.record().setValue("PRI:NOTE", "note " + std::to_string(code));
        ASSERT_EQ(price.add(), 0) << price.driverErrorText();
    }
}

struct RowFieldsCase {
    const char* name;
    std::vector<std::string> columns;
    std::optional<std::vector<std::string>> rowFields;  // declared by the hook
    std::string filter;                                 // the sort's own filter
    std::vector<std::string> moreNow;                   // names the hook wants now
    std::vector<std::string> read;                      // fields the rows must hold
    std::vector<std::string> notRead;                   // fields the rows must not hold
};

TEST_F(BrowseTest, AListReadsTheFieldsItNeedsAndNoOthers) {
    fillPrices(price);
    const RowFieldsCase cases[] = {
        {"columns only", {"PRI:NAME"}, std::vector<std::string>{}, "", {}, {"PRI:ID", "PRI:NAME"},
         {"PRI:SKIDKA", "PRI:KOEF", "PRI:NOTE"}},
        {"a hook's declared field", {"PRI:NAME"}, std::vector<std::string>{"PRI:KOEF"}, "", {},
         {"PRI:NAME", "PRI:KOEF"}, {"PRI:SKIDKA", "PRI:NOTE"}},
        {"the filter's fields", {"PRI:NAME"}, std::vector<std::string>{}, "PRI:SKIDKA > 0", {},
         {"PRI:NAME", "PRI:SKIDKA"}, {"PRI:KOEF", "PRI:NOTE"}},
        {"a saved filter's fields while it is on", {"PRI:NAME"}, std::vector<std::string>{}, "",
         {"PRI:NOTE", "OMO:NAME", "LOC:X"}, {"PRI:NAME", "PRI:NOTE"}, {"PRI:SKIDKA", "PRI:KOEF"}},
        {"a hook that declares nothing", {"PRI:NAME"}, std::nullopt, "", {},
         {"PRI:NAME", "PRI:SKIDKA", "PRI:KOEF", "PRI:NOTE"}, {}},
    };
    for (const RowFieldsCase& c : cases) {
        std::vector<storage::Record> rows;
        BrowseDefinition d = priceDefinition();
        d.sorts[0].filter = c.filter;
        d.columns.resize(1);
        d.columns[0].field = c.columns[0];
        d.rowFields = c.rowFields;
        d.rowRead = [&rows](const storage::Record& row) { rows.push_back(row); };
        if (!c.moreNow.empty()) d.rowFieldsNow = [&c] { return c.moreNow; };
        start(std::move(d));
        ASSERT_FALSE(rows.empty()) << c.name;
        EXPECT_EQ(view.shown.size(), 5u) << c.name;
        for (const storage::Record& row : rows) {
            for (const std::string& name : c.read)
                EXPECT_NE(platform::clip(*row.value(name)), row.layout().field(name)->isText() ? "" : "0")
                    << c.name << ": " << name << " not read";
            for (const std::string& name : c.notRead)
                EXPECT_EQ(platform::clip(*row.value(name)), row.layout().field(name)->isText() ? "" : "0")
                    << c.name << ": " << name << " read";
        }
        // The highlighted record reaches the buffer whole when a form asks for it.
        engine->readHighlightedRecord();
        EXPECT_EQ(platform::clip(*price.record().value("PRI:NOTE")), "note 1") << c.name;
        engine->closeButton();
        engine.reset();
    }
}

}  // namespace
}  // namespace browse_tests
