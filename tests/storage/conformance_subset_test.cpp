// Conformance: pages of a field subset, as a list reads a wide record (the
// employee file): the same rows, in the same order and with the same positions
// as pages of whole records, holding the fields asked for and nothing else; and
// a row another station changed shows its new values on the next page.
#include "tests/storage/conformance_fixture.h"

#include "access/access_layouts.h"
#include "platform/cp1251.h"

namespace storage_tests {
namespace {

using storage::Direction;
using storage::FieldSet;
using storage::PageRequest;
using storage::PageRow;

const storage::RecordLayout& mol() { return dostup::molLayout(); }
std::size_t field(const char* name) { return static_cast<std::size_t>(mol().fieldIndex(name)); }

// 40 employees in 4 departments, surnames in 13 runs of ties, every field filled.
void fillEmployees(storage::DataFile& f) {
    ASSERT_EQ(f.begin(), 0);
    for (int i = 1; i <= 40; ++i) {
        storage::Record& r = f.record();
        r.clear();
        r.setValue("MOL:SCODE", std::to_string(i));
        r.setValue("MOL:LNAME", platform::ru(i % 2 ? "Иванов" : "Петров") + std::to_string(i % 13));
        r.setValue("MOL:FNAME", "First " + std::to_string(i));
        r.setValue("MOL:OTD_ID", std::to_string(i % 4 + 1));
        r.setValue("MOL:BPHONE", "22-" + std::to_string(i));
        r.setValue("MOL:PASSWORD", "secret" + std::to_string(i));
        r.setValue("MOL:NOTE", "note " + std::to_string(i));
        r.setValue("MOL:SALARY", "1234.50");
        ASSERT_EQ(f.add(), 0) << f.driverErrorText();
    }
    ASSERT_EQ(f.commit(), 0);
}

struct SubsetCase {
    const char* name;
    const char* key;
    PageRequest::From from;
    Direction direction;
    bool inclusive;
    std::size_t range;  // leading key components fixed
};

std::vector<PageRow> readPage(storage::DataFile& f, const SubsetCase& c, const FieldSet* fields,
                              const std::string& position, const storage::Record& value) {
    PageRequest request;
    request.key = mol().key(c.key);
    request.from = c.from;
    request.position = position;
    request.value = &value;
    request.direction = c.direction;
    request.inclusive = c.inclusive;
    request.rangeComponents = c.range;
    request.count = 7;
    request.fields = fields;
    std::vector<PageRow> rows;
    EXPECT_EQ(f.readPage(request, rows), 0) << c.name << " " << f.driverErrorText();
    return rows;
}

TEST_P(StorageConformance, PagesOfAFieldSubsetHoldThoseFieldsAndNothingElse) {
    auto f = createOpen(mol(), dostup::kOwnerPassword);
    fillEmployees(*f);
    // Telephone and first names; the key's components come with them.
    const FieldSet fields = {field("MOL:FNAME"), field("MOL:BPHONE")};

    const SubsetCase cases[] = {
        {"surname from the start", "NAME_KEY", PageRequest::From::Start, Direction::Forward, true, 0},
        {"surname from the end", "NAME_KEY", PageRequest::From::Start, Direction::Backward, true, 0},
        {"after a row inside a run of ties", "NAME_KEY", PageRequest::From::Position, Direction::Forward, false, 0},
        {"before a row inside a run of ties", "NAME_KEY", PageRequest::From::Position, Direction::Backward, false, 0},
        {"at a surname", "NAME_KEY", PageRequest::From::KeyValue, Direction::Forward, true, 0},
        {"one department", "OTD_KEY", PageRequest::From::Start, Direction::Forward, true, 1},
        {"one department after a row", "OTD_KEY", PageRequest::From::Position, Direction::Forward, false, 1},
        {"one department backward", "OTD_KEY", PageRequest::From::Position, Direction::Backward, true, 1},
        {"code order", "SCODE_KEY", PageRequest::From::Position, Direction::Forward, false, 0},
    };
    storage::Record value(mol());
    value.setValue("MOL:OTD_ID", "3");
    value.setValue("MOL:LNAME", platform::ru("Петров5"));
    for (const SubsetCase& c : cases) {
        // An anchor row from the middle of the order, taken from a whole page.
        const auto whole = readPage(*f, {c.name, c.key, PageRequest::From::Start, Direction::Forward, true, c.range},
                                    nullptr, "", value);
        ASSERT_GE(whole.size(), 4u) << c.name;
        const std::string anchor = whole[3].position;
        const auto expected = readPage(*f, c, nullptr, anchor, value);
        const auto subset = readPage(*f, c, &fields, anchor, value);
        ASSERT_FALSE(expected.empty()) << c.name;
        ASSERT_EQ(subset.size(), expected.size()) << c.name;
        for (std::size_t i = 0; i < subset.size(); ++i) {
            EXPECT_EQ(subset[i].position, expected[i].position) << c.name << " row " << i;
            storage::Record got(mol()), all(mol());
            got.assign(subset[i].record);
            all.assign(expected[i].record);
            for (const char* shown : {"MOL:FNAME", "MOL:BPHONE"})
                EXPECT_EQ(*got.value(shown), *all.value(shown)) << c.name << " " << shown;
            // The key's own components always come with the row.
            for (std::size_t component : mol().key(c.key)->components)
                EXPECT_EQ(got.value(component), all.value(component)) << c.name;
            // Fields the list did not ask for are never read.
            EXPECT_EQ(platform::clip(*got.value("MOL:PASSWORD")), "") << c.name;
            EXPECT_EQ(platform::clip(*got.value("MOL:NOTE")), "") << c.name;
            EXPECT_EQ(got.getInt("MOL:SALARY"), 0) << c.name;
            EXPECT_NE(platform::clip(*all.value("MOL:NOTE")), "") << c.name;
        }
    }
}

TEST_P(StorageConformance, ARowAnotherStationChangedShowsInTheNextSubsetPage) {
    auto f = createOpen(mol(), dostup::kOwnerPassword);
    fillEmployees(*f);
    auto other = openAgain(mol(), dostup::kOwnerPassword);
    const FieldSet fields = {field("MOL:SCODE"), field("MOL:BPHONE")};
    const SubsetCase first{"first page", "NAME_KEY", PageRequest::From::Start, Direction::Forward, true, 0};
    storage::Record none(mol());
    auto before = readPage(*f, first, &fields, "", none);
    ASSERT_FALSE(before.empty());
    storage::Record top(mol());
    top.assign(before.front().record);

    // The other station renumbers the top employee's telephone and moves another to the front.
    other->record().setValue("MOL:SCODE", *top.value("MOL:SCODE"));
    ASSERT_EQ(other->get(*mol().key("SCODE_KEY")), 0);
    other->record().setValue("MOL:BPHONE", "99-99");
    ASSERT_EQ(other->put(), 0) << other->driverErrorText();
    other->record().setValue("MOL:SCODE", "40");
    ASSERT_EQ(other->get(*mol().key("SCODE_KEY")), 0);
    other->record().setValue("MOL:LNAME", "AAA");
    ASSERT_EQ(other->put(), 0) << other->driverErrorText();

    const auto after = readPage(*f, first, &fields, "", none);
    ASSERT_GE(after.size(), 2u);
    storage::Record r(mol());
    r.assign(after[0].record);
    EXPECT_EQ(r.getInt("MOL:SCODE"), 40);
    EXPECT_EQ(platform::clip(*r.value("MOL:LNAME")), "AAA");
    r.assign(after[1].record);
    EXPECT_EQ(r.getInt("MOL:SCODE"), top.getInt("MOL:SCODE"));
    EXPECT_EQ(platform::clip(*r.value("MOL:BPHONE")), "99-99");
}

}  // namespace
}  // namespace storage_tests
