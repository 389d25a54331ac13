// The SQLite backend's internals that a wrong turn would make slow or unreadable
// by SQLCipher: the key derivation, and the query plans of the keyset queries.
#include "access/access_layouts.h"
#include "refbooks/ref_layouts.h"
#include "storage/data_file.h"
#include "storage/sqlite/covering_index.h"
#include "storage/sqlite/keyset_sql.h"
#include "storage/sqlite/pbkdf2_sha1.h"
#include "storage/sqlite/row_sql.h"
#include "tests/helpers/temp_folder.h"
#include "tests/helpers/raw_database.h"
#include "tests/storage/test_layouts.h"

#include <gtest/gtest.h>

namespace storage_tests {

using testing_support::RawDatabase;
using testing_support::fileBytes;
namespace {

using storage::Anchor;
using storage::Direction;
using storage::PageQuery;
namespace sq = storage::sqlite;

std::string hex(std::string_view bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (unsigned char c : bytes) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

TEST(KeyDerivation, MatchesThePublishedVectors) {
    const auto digest = sq::sha1("abc");
    EXPECT_EQ(hex(std::string_view(reinterpret_cast<const char*>(digest.data()), digest.size())),
              "a9993e364706816aba3e25717850c26c9cd0d89d");
    // RFC 6070.
    EXPECT_EQ(hex(sq::pbkdf2HmacSha1("password", "salt", 1, 20)),
              "0c60c80f961f0e71f3a9b524af6012062fe037a6");
    EXPECT_EQ(hex(sq::pbkdf2HmacSha1("password", "salt", 2, 20)),
              "ea6c014dc72d6f8ccd1ed92ace1d41f0d8de8957");
    EXPECT_EQ(hex(sq::pbkdf2HmacSha1("password", "salt", 4096, 20)),
              "4b007901b765489abead49d926f721d065a429c1");
    EXPECT_EQ(hex(sq::pbkdf2HmacSha1("passwordPASSWORDpassword",
                                     "saltSALTsaltSALTsaltSALTsaltSALTsalt", 4096, 25)),
              "3d2eec4fe41c849b80c8d83662c0e44a8b291a964cf2f07038");
}

// Every query shape a page can take, for every key of the layout.
std::vector<PageQuery> queryShapes(const storage::RecordLayout& layout) {
    std::vector<PageQuery> shapes;
    for (int key = -1; key < static_cast<int>(layout.keys().size()); ++key) {
        const std::size_t columns =
            key < 0 ? 0 : layout.keys()[static_cast<std::size_t>(key)].components.size();
        for (std::size_t range = 0; range <= columns; ++range)
            for (Anchor::Kind kind : {Anchor::Kind::Start, Anchor::Kind::Value,
                                      Anchor::Kind::Position, Anchor::Kind::After})
                for (Direction direction : {Direction::Forward, Direction::Backward}) {
                    PageQuery q;
                    q.key = key;
                    q.direction = direction;
                    q.anchor.kind = kind;
                    storage::Record r(layout);
                    if (key >= 0) {
                        const auto& def = layout.keys()[static_cast<std::size_t>(key)];
                        q.anchor.value = storage::keyValueOf(r, def);
                        q.range = storage::keyPrefixOf(r, def, range);
                    }
                    shapes.push_back(q);
                }
    }
    return shapes;
}

TEST(KeysetQueries, EveryShapeSeeksThroughItsKeyWithoutSorting) {
    testing_support::TempFolder folder;
    std::vector<const storage::RecordLayout*> layouts = {&currencyLayout(), &personLayout(),
                                                         &rateLayout()};
    for (const auto* l : refbooks::referenceLayouts()) layouts.push_back(l);
    for (const auto* l : dostup::accessLayouts())
        if (!l->isProtected()) layouts.push_back(l);
    for (const storage::RecordLayout* layout : layouts) {
        storage::DataFile f(*layout);
        f.setName(".\\" + layout->label());
        ASSERT_EQ(f.create(), 0) << layout->label() << f.driverErrorText();
        RawDatabase raw(folder.path() / (layout->label() + ".db"));
        const sq::TableSchema schema(*layout);
        auto planOf = [&](const std::string& sql) {
            std::string plan;
            for (const auto& row : raw.rows("EXPLAIN QUERY PLAN " + sql)) plan += row.back() + "\n";
            EXPECT_FALSE(plan.empty()) << sql << ": " << raw.error();
            return plan;
        };
        for (const PageQuery& q : queryShapes(*layout)) {
            for (const sq::KeysetStep& step : sq::planPage(*layout, q)) {
                const std::string sql = sq::stepSql(schema, step);
                const std::string plan = planOf(sql);
                EXPECT_EQ(plan.find("TEMP B-TREE"), std::string::npos) << sql << "\n" << plan;
                if (step.key >= 0) {
                    const std::string& index =
                        schema.indexes()[static_cast<std::size_t>(step.key)].name;
                    EXPECT_NE(plan.find("INDEX " + index), std::string::npos) << sql << "\n"
                                                                              << plan;
                    // Anything but the start of an unranged key seeks instead of scanning.
                    if (step.range > 0 || step.tail != sq::KeysetStep::Op::None ||
                        step.row != sq::KeysetStep::Op::None) {
                        EXPECT_NE(plan.find("SEARCH"), std::string::npos) << sql << "\n" << plan;
                    }
                }
            }
        }
        for (int key = 0; key < static_cast<int>(layout->keys().size()); ++key) {
            EXPECT_NE(planOf(sq::findEqualSql(schema, key)).find("SEARCH"), std::string::npos);
            EXPECT_NE(planOf(sq::existsSql(schema, key)).find("SEARCH"), std::string::npos);
        }
        EXPECT_NE(planOf(sq::fetchSql(schema)).find("SEARCH"), std::string::npos);
        EXPECT_NE(planOf(sq::pendingRowsSql(schema)).find(schema.pendingIndexName()),
                  std::string::npos);
    }
}

// A list's field subset of the employee file: every shape seeks through the
// key's covering index alone, never the table, and never sorts.
TEST(KeysetQueries, EveryShapeOfASubsetReadsOnlyTheCoveringIndex) {
    testing_support::TempFolder folder;
    const storage::RecordLayout& mol = dostup::molLayout();
    storage::DataFile f(mol);
    f.setName(".\\MOL");
    f.setOwnerPassword(dostup::kOwnerPassword);
    ASSERT_EQ(f.create(), 0) << f.driverErrorText();
    RawDatabase raw(folder.path() / "MOL.db", dostup::kOwnerPassword);
    const sq::TableSchema schema(mol);
    const storage::FieldSet fields = {mol.indexOf("MOL:SCODE"), mol.indexOf("MOL:LNAME"),
                                      mol.indexOf("MOL:FNAME"), mol.indexOf("MOL:BPHONE")};
    EXPECT_TRUE(sq::worthCovering(mol, fields));
    EXPECT_FALSE(sq::worthCovering(currencyLayout(), {0})) << "a narrow record is read from its table";
    for (const PageQuery& q : queryShapes(mol)) {
        if (q.key < 0) continue;
        const sq::CoveringIndex cover = sq::coveringIndex(schema, q.key, fields);
        ASSERT_EQ(raw.exec(cover.sql.substr(0, 13) + "IF NOT EXISTS " + cover.sql.substr(13)), 0) << raw.error();
        const sq::Selection selection = sq::selectionOf(schema, fields, cover.name);
        for (const sq::KeysetStep& step : sq::planPage(mol, q)) {
            const std::string sql = sq::stepSql(schema, step, &selection);
            std::string plan;
            for (const auto& row : raw.rows("EXPLAIN QUERY PLAN " + sql)) plan += row.back() + "\n";
            EXPECT_NE(plan.find("USING COVERING INDEX " + cover.name), std::string::npos) << sql << "\n" << plan;
            EXPECT_EQ(plan.find("TEMP B-TREE"), std::string::npos) << sql << "\n" << plan;
            if (step.range > 0 || step.tail != sq::KeysetStep::Op::None || step.row != sq::KeysetStep::Op::None) {
                EXPECT_NE(plan.find("SEARCH"), std::string::npos) << sql << "\n" << plan;
            }
        }
    }
}

}  // namespace
}  // namespace storage_tests
