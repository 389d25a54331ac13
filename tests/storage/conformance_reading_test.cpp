// Conformance: reading in key order with next and previous, from the start, from
// a key value and from a saved position; ties of non-unique keys; positions.
#include "platform/cp1251.h"
#include "tests/storage/conformance_fixture.h"

#include <algorithm>
#include <iterator>

namespace storage_tests {
namespace {

using Codes = std::vector<std::int64_t>;

const storage::KeyDef& codeKey() { return *currencyLayout().key("CODE_KEY"); }
const storage::KeyDef& oboznKey() { return *currencyLayout().key("OBOZN_KEY"); }
const storage::KeyDef& nameKey() { return *personLayout().key("NAME_KEY"); }
const storage::KeyDef& otdKey() { return *personLayout().key("OTD_KEY"); }

void addCurrencies(storage::DataFile& f, const std::vector<int>& codes) {
    for (int c : codes) {
        setCurrency(f.record(), c, "C" + std::to_string(c));
        ASSERT_EQ(f.add(), 0) << c;
    }
}

// Reads with `step` until 33 or twice the expected count (a walk that does not end).
template <typename Step>
Codes codesWithin(storage::DataFile& f, Step step, std::size_t expected) {
    Codes codes;
    while (codes.size() < 2 * expected && step(f) == 0) codes.push_back(code(f.record()));
    return codes;
}

TEST_P(StorageConformance, KeysHoldingEveryByteValueAreStoredExactlyAndWalkedBothWays) {
    auto f = createOpen(personLayout());
    const auto lname = [](int b) {
        std::string name = "K";
        name += static_cast<char>(b);
        name += "Z";
        return name + std::string(25 - name.size(), ' ');
    };
    std::vector<std::pair<std::string, std::int64_t>> order;
    for (int b = 0; b < 256; ++b) {
        setPerson(f->record(), b + 1, "", 1);
        f->record().setText(1, lname(b));
        ASSERT_EQ(f->add(), 0) << b;
        order.emplace_back(platform::upper(platform::clip(lname(b))), b + 1);
    }
    std::sort(order.begin(), order.end());
    Codes forward;
    for (const auto& entry : order) forward.push_back(entry.second);
    const Codes backward(forward.rbegin(), forward.rend());

    auto g = openAgain(personLayout());
    for (int b = 0; b < 256; ++b) {
        setPerson(g->record(), b + 1, "", 1);
        ASSERT_EQ(g->get(*personLayout().key("SCODE_KEY")), 0) << b;
        EXPECT_EQ(g->record().getText(1), lname(b)) << b;
    }
    g->set(nameKey());
    EXPECT_EQ(codesWithin(*g, readNext, 256), forward);
    g->set(nameKey());
    EXPECT_EQ(codesWithin(*g, readPrevious, 256), backward);

    // From a key value holding the bytes without a character, both ways.
    for (int b : {0, 0x98}) {
        g->record().setText(1, lname(b));
        ASSERT_EQ(g->setToValue(nameKey()), 0);
        const auto at = std::find(forward.begin(), forward.end(), b + 1);
        EXPECT_EQ(codesWithin(*g, readNext, 256), Codes(at, forward.end())) << b;
        g->record().setText(1, lname(b));
        ASSERT_EQ(g->setToValue(nameKey()), 0);
        EXPECT_EQ(codesWithin(*g, readPrevious, 256),
                  Codes(std::make_reverse_iterator(at + 1), forward.rend()))
            << b;
    }
}

TEST_P(StorageConformance, NextAndPreviousWalkAKeyBothWays) {
    auto f = createOpen(currencyLayout());
    addCurrencies(*f, {30, 10, 50, 20, 40});

    EXPECT_EQ(f->next(), 33);  // nothing set yet
    f->set(codeKey());
    EXPECT_EQ(codesUntilEnd(*f, readNext), (Codes{10, 20, 30, 40, 50}));
    EXPECT_EQ(f->next(), 33);     // stays at the end
    EXPECT_EQ(f->previous(), 0);  // and turns back to the last record
    EXPECT_EQ(code(f->record()), 50);

    f->set(codeKey());
    EXPECT_EQ(codesUntilEnd(*f, readPrevious), (Codes{50, 40, 30, 20, 10}));
    EXPECT_EQ(f->next(), 0);  // from before the start: the first record
    EXPECT_EQ(code(f->record()), 10);

    // Turning round in the middle reads the neighbour, not the same record again.
    f->set(codeKey());
    f->next();
    f->next();
    f->next();
    EXPECT_EQ(code(f->record()), 30);
    ASSERT_EQ(f->previous(), 0);
    EXPECT_EQ(code(f->record()), 20);
    ASSERT_EQ(f->next(), 0);
    EXPECT_EQ(code(f->record()), 30);

    // File order is the order of adding.
    f->set();
    EXPECT_EQ(codesUntilEnd(*f, readNext), (Codes{30, 10, 50, 20, 40}));
}

TEST_P(StorageConformance, SetToValueStartsAtOrBeyondTheValue) {
    auto f = createOpen(currencyLayout());
    addCurrencies(*f, {10, 20, 30});
    auto from = [&](int value, bool forward) {
        setCurrency(f->record(), value, "");
        EXPECT_EQ(f->setToValue(codeKey()), 0);
        return codesUntilEnd(*f, forward ? readNext : readPrevious);
    };
    EXPECT_EQ(from(20, true), (Codes{20, 30}));
    EXPECT_EQ(from(20, false), (Codes{20, 10}));
    EXPECT_EQ(from(25, true), (Codes{30}));
    EXPECT_EQ(from(25, false), (Codes{20, 10}));
    EXPECT_EQ(from(5, false), Codes{});
    EXPECT_EQ(from(35, true), Codes{});
    EXPECT_EQ(from(35, false), (Codes{30, 20, 10}));

    // Text keys: a shorter value in another case starts before its extensions.
    setCurrency(f->record(), 0, "c2");
    ASSERT_EQ(f->setToValue(oboznKey()), 0);
    EXPECT_EQ(codesUntilEnd(*f, readNext), (Codes{20, 30}));
}

TEST_P(StorageConformance, NonUniqueKeysKeepTiesInInsertionOrder) {
    auto f = createOpen(personLayout());
    const std::vector<std::pair<int, std::string>> people = {{1, "Petrov"},  {2, "Ivanov"},
                                                             {3, "ivanov"},  {4, "Sidorov"},
                                                             {5, "IVANOV "}, {6, "Abramov"}};
    for (const auto& [c, name] : people) {
        setPerson(f->record(), c, name);
        ASSERT_EQ(f->add(), 0);
    }
    f->set(nameKey());
    EXPECT_EQ(codesUntilEnd(*f, readNext), (Codes{6, 2, 3, 5, 1, 4}));
    f->set(nameKey());
    EXPECT_EQ(codesUntilEnd(*f, readPrevious), (Codes{4, 1, 5, 3, 2, 6}));

    // From inside the run of ties, in both directions.
    setPerson(f->record(), 3, "");
    ASSERT_EQ(f->get(*personLayout().key("SCODE_KEY")), 0);
    const std::string at3 = f->position(nameKey());
    ASSERT_EQ(f->reset(nameKey(), at3), 0);
    EXPECT_EQ(codesUntilEnd(*f, readNext), (Codes{3, 5, 1, 4}));
    ASSERT_EQ(f->reset(nameKey(), at3), 0);
    EXPECT_EQ(codesUntilEnd(*f, readPrevious), (Codes{3, 2, 6}));

    // A key value finds the first of the run forward and the last backward.
    setPerson(f->record(), 0, "ivanov");
    f->setToValue(nameKey());
    EXPECT_EQ(f->next(), 0);
    EXPECT_EQ(code(f->record()), 2);
    setPerson(f->record(), 0, "ivanov");
    f->setToValue(nameKey());
    EXPECT_EQ(f->previous(), 0);
    EXPECT_EQ(code(f->record()), 5);

    // Get by a non-unique value returns the first of the run.
    setPerson(f->record(), 0, "IVANOV");
    ASSERT_EQ(f->get(nameKey()), 0);
    EXPECT_EQ(code(f->record()), 2);
}

TEST_P(StorageConformance, CompositeKeysOrderComponentByComponent) {
    auto f = createOpen(personLayout());
    const std::vector<std::tuple<int, std::string, int>> people = {{1, "Zuev", 1},
                                                                   {2, "Antonov", 2},
                                                                   {3, "Borisov", 1},
                                                                   {4, "antonov", 1},
                                                                   {5, "Yakovlev", 10}};
    for (const auto& [c, name, otd] : people) {
        setPerson(f->record(), c, name, otd);
        ASSERT_EQ(f->add(), 0);
    }
    f->set(otdKey());
    EXPECT_EQ(codesUntilEnd(*f, readNext), (Codes{4, 3, 1, 2, 5}));
    setPerson(f->record(), 0, "B", 1);
    f->setToValue(otdKey());
    EXPECT_EQ(codesUntilEnd(*f, readNext), (Codes{3, 1, 2, 5}));
    setPerson(f->record(), 0, "B", 1);
    f->setToValue(otdKey());
    EXPECT_EQ(codesUntilEnd(*f, readPrevious), (Codes{4}));
}

TEST_P(StorageConformance, PositionsLeadBackToTheirRecords) {
    auto f = createOpen(currencyLayout());
    addCurrencies(*f, {10, 20, 30, 40});
    setCurrency(f->record(), 30, "");
    ASSERT_EQ(f->get(codeKey()), 0);
    const std::string byFile = f->position();
    const std::string byKey = f->position(codeKey());
    const std::string byText = f->position(oboznKey());
    EXPECT_FALSE(byFile.empty());
    EXPECT_LE(byKey.size(), 512u);

    for (const std::string& p : {byFile, byKey, byText}) {
        f->record().clear();
        ASSERT_EQ(f->reget(p), 0);
        EXPECT_EQ(code(f->record()), 30);
    }
    // Positions survive blank padding, as when kept in a STRING(512) field.
    ASSERT_EQ(f->reget(byKey + std::string(100, ' ')), 0);
    EXPECT_EQ(code(f->record()), 30);

    // Reset to a position: the next read returns that very record.
    ASSERT_EQ(f->reset(codeKey(), byKey), 0);
    EXPECT_EQ(codesUntilEnd(*f, readNext), (Codes{30, 40}));
    ASSERT_EQ(f->reset(codeKey(), byKey), 0);
    EXPECT_EQ(codesUntilEnd(*f, readPrevious), (Codes{30, 20, 10}));
    // A file position or another key's position can reset a key too.
    ASSERT_EQ(f->reset(codeKey(), byFile), 0);
    EXPECT_EQ(codesUntilEnd(*f, readNext), (Codes{30, 40}));
    ASSERT_EQ(f->reset(byFile), 0);
    EXPECT_EQ(codesUntilEnd(*f, readNext), (Codes{30, 40}));

    // Once the record is deleted its key position still places the reading.
    setCurrency(f->record(), 30, "");
    ASSERT_EQ(f->get(codeKey()), 0);
    ASSERT_EQ(f->remove(), 0);
    ASSERT_EQ(f->reset(codeKey(), byKey), 0);
    EXPECT_EQ(codesUntilEnd(*f, readNext), (Codes{40}));
    ASSERT_EQ(f->reset(codeKey(), byKey), 0);
    EXPECT_EQ(codesUntilEnd(*f, readPrevious), (Codes{20, 10}));
    EXPECT_EQ(f->reget(byKey), 35);
    EXPECT_EQ(f->reset(codeKey(), byFile), 35);  // a file position needs its record
}

TEST_P(StorageConformance, RewritingWhileReadingVisitsEachRecordOnce) {
    // The cascade of a department code: read every employee with the old code in
    // key order and give each the new code.
    auto f = createOpen(personLayout());
    const std::vector<std::tuple<int, std::string, int>> people = {
        {1, "Zuev", 1}, {2, "Antonov", 2}, {3, "Borisov", 1}, {4, "Kim", 1}, {5, "Lee", 3}};
    for (const auto& [c, name, otd] : people) {
        setPerson(f->record(), c, name, otd);
        ASSERT_EQ(f->add(), 0);
    }
    setPerson(f->record(), 0, "", 1);
    ASSERT_EQ(f->setToValue(otdKey()), 0);
    int rewritten = 0;
    while (f->next() == 0 && f->record().getInt(3) == 1) {
        f->record().setInt(3, 7);
        ASSERT_EQ(f->put(), 0);
        ++rewritten;
    }
    EXPECT_EQ(rewritten, 3);
    f->set(otdKey());
    std::vector<std::int64_t> departments;
    while (f->next() == 0) departments.push_back(f->record().getInt(3));
    EXPECT_EQ(departments, (Codes{2, 3, 7, 7, 7}));
}

}  // namespace
}  // namespace storage_tests
