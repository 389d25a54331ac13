// Conformance: pages for lists, read in one keyset query forward or backward from
// the start, a key value or a row's position, optionally within a range.
#include "tests/storage/conformance_fixture.h"

#include "platform/cp1251.h"

#include <algorithm>

namespace storage_tests {
namespace {

using Codes = std::vector<std::int64_t>;
using storage::Direction;
using storage::PageRequest;
using storage::PageRow;

const storage::KeyDef& codeKey() { return *currencyLayout().key("CODE_KEY"); }

Codes codesOf(const storage::RecordLayout& layout, const std::vector<PageRow>& rows) {
    Codes codes;
    storage::Record r(layout);
    for (const PageRow& row : rows) {
        r.assign(row.record);
        codes.push_back(code(r));
    }
    return codes;
}

Codes range(int from, int to) {  // inclusive, either direction
    Codes out;
    for (int i = from;; i += from <= to ? 1 : -1) {
        out.push_back(i);
        if (i == to) break;
    }
    return out;
}

class Pages {
public:
    Pages(storage::DataFile& f, const storage::KeyDef* key) : f_(f), key_(key) {}
    std::vector<PageRow> read(PageRequest request) {
        request.key = key_;
        std::vector<PageRow> rows;
        EXPECT_EQ(f_.readPage(request, rows), 0) << f_.driverErrorText();
        return rows;
    }
    std::vector<PageRow> fromStart(Direction d, std::size_t n) {
        PageRequest r;
        r.direction = d;
        r.count = n;
        return read(r);
    }
    std::vector<PageRow> fromPosition(const std::string& p, Direction d, std::size_t n,
                                      bool inclusive) {
        PageRequest r;
        r.from = PageRequest::From::Position;
        r.position = p;
        r.direction = d;
        r.count = n;
        r.inclusive = inclusive;
        return read(r);
    }
    std::vector<PageRow> fromValue(const storage::Record& value, Direction d, std::size_t n,
                                   bool inclusive) {
        PageRequest r;
        r.from = PageRequest::From::KeyValue;
        r.value = &value;
        r.direction = d;
        r.count = n;
        r.inclusive = inclusive;
        return read(r);
    }

private:
    storage::DataFile& f_;
    const storage::KeyDef* key_;
};

TEST_P(StorageConformance, PagesMoveThroughTheFileInBothDirections) {
    auto f = createOpen(currencyLayout());
    ASSERT_EQ(f->begin(), 0);
    for (int c = 50; c >= 1; --c) {
        setCurrency(f->record(), c, "C" + std::to_string(c));
        ASSERT_EQ(f->add(), 0);
    }
    ASSERT_EQ(f->commit(), 0);
    const auto& L = currencyLayout();
    Pages pages(*f, &codeKey());

    const auto first = pages.fromStart(Direction::Forward, 20);
    EXPECT_EQ(codesOf(L, first), range(1, 20));
    const auto second = pages.fromPosition(first.back().position, Direction::Forward, 20, false);
    EXPECT_EQ(codesOf(L, second), range(21, 40));
    const auto third = pages.fromPosition(second.back().position, Direction::Forward, 20, false);
    EXPECT_EQ(codesOf(L, third), range(41, 50));  // short: the file ended
    const auto back = pages.fromPosition(second.front().position, Direction::Backward, 20, false);
    EXPECT_EQ(codesOf(L, back), range(20, 1));
    const auto last = pages.fromStart(Direction::Backward, 20);
    EXPECT_EQ(codesOf(L, last), range(50, 31));
    const auto around = pages.fromPosition(second.front().position, Direction::Forward, 3, true);
    EXPECT_EQ(codesOf(L, around), range(21, 23));

    storage::Record value(L);
    setCurrency(value, 25, "");
    EXPECT_EQ(codesOf(L, pages.fromValue(value, Direction::Forward, 5, true)), range(25, 29));
    EXPECT_EQ(codesOf(L, pages.fromValue(value, Direction::Forward, 5, false)), range(26, 30));
    EXPECT_EQ(codesOf(L, pages.fromValue(value, Direction::Backward, 5, true)), range(25, 21));
    setCurrency(value, 99, "");
    EXPECT_TRUE(pages.fromValue(value, Direction::Forward, 5, true).empty());

    // The same pages in another key, and in file order (the order of adding).
    Pages byText(*f, currencyLayout().key("OBOZN_KEY"));
    EXPECT_EQ(codesOf(L, byText.fromStart(Direction::Forward, 4)), (Codes{1, 10, 11, 12}));
    Pages byFile(*f, nullptr);
    const auto fileFirst = byFile.fromStart(Direction::Forward, 3);
    EXPECT_EQ(codesOf(L, fileFirst), range(50, 48));
    EXPECT_EQ(
        codesOf(L, byFile.fromPosition(fileFirst.back().position, Direction::Forward, 2, false)),
        range(47, 46));

    // Reading a page leaves the buffer, the current record and the reading alone.
    setCurrency(f->record(), 7, "");
    ASSERT_EQ(f->get(codeKey()), 0);
    f->set(codeKey());
    const auto buffer = f->record().bytes();
    pages.fromStart(Direction::Backward, 10);
    EXPECT_EQ(f->record().bytes(), buffer);
    ASSERT_EQ(f->next(), 0);
    EXPECT_EQ(code(f->record()), 1);
}

TEST_P(StorageConformance, PageRowsCarryPositionsForRegetAndReset) {
    auto f = createOpen(currencyLayout());
    for (int c = 1; c <= 5; ++c) {
        setCurrency(f->record(), c, "C" + std::to_string(c), "Name " + std::to_string(c));
        ASSERT_EQ(f->add(), 0);
    }
    Pages pages(*f, &codeKey());
    const auto rows = pages.fromStart(Direction::Forward, 5);
    ASSERT_EQ(rows.size(), 5u);
    ASSERT_EQ(f->reget(rows[3].position), 0);
    EXPECT_EQ(code(f->record()), 4);
    EXPECT_EQ(f->record().bytes(), rows[3].record);
    ASSERT_EQ(f->reset(codeKey(), rows[1].position), 0);
    ASSERT_EQ(f->next(), 0);
    EXPECT_EQ(code(f->record()), 2);
}

TEST_P(StorageConformance, RangesKeepPagesWithinOneParent) {
    auto f = createOpen(rateLayout());
    const auto& L = rateLayout();
    const auto* numberKey = L.key("VALUTNUMBER_KEY");
    ASSERT_EQ(f->begin(), 0);
    for (int n = 1; n <= 30; ++n) {
        setRate(f->record(), "USD", n, 1000 + n);
        ASSERT_EQ(f->add(), 0);
    }
    for (int n = 1; n <= 5; ++n) {
        setRate(f->record(), "EUR", n, 1000 + n);
        ASSERT_EQ(f->add(), 0);
    }
    for (int n = 1; n <= 3; ++n) {
        setRate(f->record(), "RUB", n, 1000 + n);
        ASSERT_EQ(f->add(), 0);
    }
    ASSERT_EQ(f->commit(), 0);

    storage::Record parent(L);
    setRate(parent, "usd", 0, 0);
    auto page = [&](PageRequest r) {
        r.key = numberKey;
        r.value = &parent;
        r.rangeComponents = 1;
        std::vector<PageRow> rows;
        EXPECT_EQ(f->readPage(r, rows), 0);
        Codes numbers;
        storage::Record rec(L);
        for (const auto& row : rows) {
            rec.assign(row.record);
            EXPECT_EQ(platform::upper(text(rec, "VALUT")), platform::upper(text(parent, "VALUT")));
            numbers.push_back(rec.getInt(1));
        }
        return std::make_pair(numbers, rows);
    };
    PageRequest r;
    r.count = 20;
    auto [first, firstRows] = page(r);
    EXPECT_EQ(first, range(1, 20));
    r.from = PageRequest::From::Position;
    r.position = firstRows.back().position;
    r.inclusive = false;
    EXPECT_EQ(page(r).first, range(21, 30));  // ends with the range, not the file
    r = {};
    r.count = 20;
    r.direction = Direction::Backward;
    EXPECT_EQ(page(r).first, range(30, 11));

    // The value anchor inside the range: from number 28 on.
    setRate(parent, "USD", 28, 0);
    r = {};
    r.count = 20;
    r.from = PageRequest::From::KeyValue;
    EXPECT_EQ(page(r).first, range(28, 30));
    r.direction = Direction::Backward;
    r.count = 3;
    EXPECT_EQ(page(r).first, range(28, 26));

    // A smaller parent, and one without children.
    setRate(parent, "eur", 0, 0);
    r = {};
    r.count = 20;
    EXPECT_EQ(page(r).first, range(1, 5));
    setRate(parent, "GBP", 0, 0);
    EXPECT_TRUE(page(r).first.empty());
}

TEST_P(StorageConformance, PagesStepThroughLongRunsOfTies) {
    auto f = createOpen(personLayout());
    const auto& L = personLayout();
    ASSERT_EQ(f->begin(), 0);
    for (int c = 1; c <= 40; ++c) {
        setPerson(f->record(), c, c % 10 == 0 ? "Zuev" : (c % 2 ? "Ivanov" : "ivanov"));
        ASSERT_EQ(f->add(), 0);
    }
    ASSERT_EQ(f->commit(), 0);
    Codes expected;
    for (int c = 1; c <= 40; ++c)
        if (c % 10) expected.push_back(c);
    for (int c = 10; c <= 40; c += 10) expected.push_back(c);

    Pages pages(*f, L.key("NAME_KEY"));
    Codes forward;
    auto rows = pages.fromStart(Direction::Forward, 7);
    while (!rows.empty()) {
        for (auto c : codesOf(L, rows)) forward.push_back(c);
        rows = pages.fromPosition(rows.back().position, Direction::Forward, 7, false);
    }
    EXPECT_EQ(forward, expected);

    Codes backward;
    rows = pages.fromStart(Direction::Backward, 6);
    while (!rows.empty()) {
        for (auto c : codesOf(L, rows)) backward.push_back(c);
        rows = pages.fromPosition(rows.back().position, Direction::Backward, 6, false);
    }
    std::reverse(backward.begin(), backward.end());
    EXPECT_EQ(backward, expected);
}

}  // namespace
}  // namespace storage_tests
