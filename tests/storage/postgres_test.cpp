// The PostgreSQL backend beyond the conformance suite: server addresses, a server
// that is down or refuses the login, a connection lost in the middle, the tables
// as SQL tools see them, query plans, rows written by other tools, damaged keys,
// owners of protected files and transactions over several files.
#include "access/access_layouts.h"
#include "platform/cp1251.h"
#include "refbooks/ref_layouts.h"
#include "storage/data_file.h"
#include "storage/postgres/keyset_sql.h"
#include "storage/postgres/row_sql.h"
#include "storage/postgres/server_address.h"
#include "tests/storage/postgres_cluster.h"
#include "tests/storage/storage_target.h"
#include "tests/storage/station.h"
#include "tests/storage/test_layouts.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <thread>
#include <unistd.h>

namespace storage_tests {
namespace {

using storage::DataFile;
using storage::postgres::ServerAddress;
using Table = std::vector<std::vector<std::string>>;

const storage::KeyDef& codeKey() { return *currencyLayout().key("CODE_KEY"); }
const storage::KeyDef& oboznKey() { return *currencyLayout().key("OBOZN_KEY"); }

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(ServerAddresses, NamesTheServerWouldCutAreRefused) {
    ServerAddress a;
    const std::string longest(63, 'k');
    ASSERT_EQ(parseServerAddress("postgresql://db/suite/" + longest, a).code, 0);
    EXPECT_EQ(a.table, longest);
    // Two files alike in their first 63 bytes would share one table.
    const auto refused = parseServerAddress("postgresql://db/suite/" + longest + "A", a);
    EXPECT_EQ(refused.code, 90);
    EXPECT_TRUE(contains(refused.driverText, "longer than the 63 bytes")) << refused.driverText;
    EXPECT_EQ(parseServerAddress("postgresql://db/suite/" + longest + "s/MOL", a).code, 90);
    EXPECT_EQ(parseServerAddress("postgresql://db/" + longest + "d/MOL", a).code, 90);
    // Bytes of UTF-8 count: 32 Cyrillic letters are 64 bytes.
    std::string cyrillic;
    for (int i = 0; i < 32; ++i) cyrillic += platform::ru("ж");
    EXPECT_EQ(parseServerAddress("postgresql://db/suite/" + cyrillic, a).code, 90);
    EXPECT_EQ(parseServerAddress("postgresql://db/suite/" + cyrillic.substr(1), a).code, 0);
}

TEST(ServerAddresses, NameServerDatabaseSchemaAndTable) {
    ServerAddress a;
    ASSERT_EQ(parseServerAddress("postgresql://db.office/Suite/MOL   ", a).code, 0);
    EXPECT_EQ(a.server.host, "db.office");
    EXPECT_EQ(a.server.port, "");
    EXPECT_EQ(a.server.user, "");
    EXPECT_EQ(a.server.database, "suite");
    EXPECT_EQ(a.schema, "public");
    EXPECT_EQ(a.table, "mol");  // the blank padding of the name is no part of it

    ASSERT_EQ(parseServerAddress("POSTGRES://clerk@db:5433/suite/Dat\\KursVal", a).code, 0);
    EXPECT_EQ(a.server.user, "clerk");
    EXPECT_EQ(a.server.port, "5433");
    EXPECT_EQ(a.schema, "dat");
    EXPECT_EQ(a.table, "kursval");
    EXPECT_EQ(a.server.display(), "clerk@db:5433/suite");

    ASSERT_EQ(parseServerAddress("postgresql://[::1]:5432/suite/" + platform::ru("Справ"), a).code,
              0);
    EXPECT_EQ(a.server.host, "::1");
    EXPECT_EQ(a.table, "справ");  // lower case, in the server's UTF-8
    ASSERT_EQ(parseServerAddress("postgresql:///suite/MOL", a).code, 0);
    EXPECT_EQ(a.server.host, "");  // libpq's defaults decide

    // A password never belongs in the address, and is not repeated in the error.
    const storage::ErrorState secret = parseServerAddress("postgresql://clerk:QZX@db/suite/MOL", a);
    EXPECT_EQ(secret.code, 90);
    EXPECT_TRUE(contains(secret.driverText, "password file"));
    EXPECT_FALSE(contains(secret.driverText, "QZX"));
    EXPECT_EQ(parseServerAddress("postgresql://db/MOL", a).code, 90);
    EXPECT_EQ(parseServerAddress("postgresql://db/suite/a/b/MOL", a).code, 90);
    EXPECT_EQ(parseServerAddress("postgresql://db:http/suite/MOL", a).code, 90);
    EXPECT_EQ(parseServerAddress("postgresql:db", a).code, 90);
}

TEST(PostgresServer, ServerThatIsDownGives90NamingIt) {
    // A port nobody listens on: refused at once, never a crash or a hang.
    DataFile f(currencyLayout());
    f.setName("postgresql://127.0.0.1:1/suite/Curr");
    EXPECT_EQ(f.open(), 90);
    EXPECT_TRUE(contains(f.driverErrorText(), "Cannot connect to the database server"));
    EXPECT_TRUE(contains(f.driverErrorText(), "127.0.0.1:1/suite"));
    EXPECT_FALSE(f.isOpen());
    EXPECT_EQ(f.create(), 90);
    EXPECT_EQ(f.build(), 90);
    EXPECT_NE(f.add(), 0);
}

class PostgresFiles : public ::testing::Test {
protected:
    void SetUp() override {
        if (!requirePostgres()) return;
        static int count = 0;
        schema_ = "p" + std::to_string(getpid()) + "_" + std::to_string(++count);
        postgresAdmin("CREATE SCHEMA " + schema_ + " AUTHORIZATION " + PostgresCluster::kRole);
    }
    void TearDown() override {
        if (!schema_.empty()) cluster().admin("DROP SCHEMA " + schema_ + " CASCADE");
    }
    static PostgresCluster& cluster() { return PostgresCluster::instance(); }

    std::string disk(std::string_view file, std::string_view role = PostgresCluster::kRole) const {
        return cluster().address(schema_, role) + std::string(file);
    }
    std::unique_ptr<DataFile> file(const storage::RecordLayout& layout,
                                   std::string_view name = {}) const {
        auto f = std::make_unique<DataFile>(layout);
        f->setName(disk(name.empty() ? std::string_view(layout.diskName()) : name));
        return f;
    }
    std::unique_ptr<DataFile> created(const storage::RecordLayout& layout,
                                      std::string_view password = {}) const {
        auto f = file(layout);
        f->setOwnerPassword(password);
        EXPECT_EQ(f->create(), 0) << f->driverErrorText();
        EXPECT_EQ(f->open(), 0) << f->driverErrorText();
        return f;
    }
    Table sql(const std::string& text) const {
        return postgresAdmin("SET search_path = " + schema_ + "; " + text);
    }
    std::string value(const std::string& text) const {
        const Table rows = sql(text);
        return rows.empty() || rows[0].empty() ? "" : rows[0][0];
    }

    std::string schema_;
};

TEST_F(PostgresFiles, RefusedLoginGives90NamingTheServer) {
    created(currencyLayout());
    // The password file holds a wrong password for this role.
    DataFile wrong(currencyLayout());
    wrong.setName(disk("Curr", PostgresCluster::kIntruder));
    EXPECT_EQ(wrong.open(), 90);
    EXPECT_TRUE(contains(wrong.driverErrorText(), "password authentication failed"));
    EXPECT_TRUE(contains(wrong.driverErrorText(), "127.0.0.1:" + std::to_string(cluster().port())));
    // No entry at all for this one.
    DataFile unknown(currencyLayout());
    unknown.setName(disk("Curr", "nobody"));
    EXPECT_EQ(unknown.open(), 90);
    EXPECT_EQ(unknown.create(), 90);
    EXPECT_FALSE(unknown.isOpen());
}

TEST_F(PostgresFiles, LostConnectionFailsOneOperationAndTheNextReconnects) {
    auto f = created(currencyLayout());
    setCurrency(f->record(), 1, "USD");
    ASSERT_EQ(f->add(), 0);
    ASSERT_EQ(f->begin(), 0);
    setCurrency(f->record(), 2, "EUR");
    ASSERT_EQ(f->add(), 0);

    postgresAdmin("SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE usename = 'tarvo'");
    for (int i = 0; i < 100 && value("SELECT count(*) FROM pg_stat_activity WHERE usename = "
                                     "'tarvo'") != "0";
         ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));

    // The transaction went with the connection: its commit fails, naming the server.
    EXPECT_EQ(f->commit(), 90);
    EXPECT_TRUE(contains(f->driverErrorText(), "Lost the connection to the database server"));
    // The next operation connects again.
    setCurrency(f->record(), 1, "");
    EXPECT_EQ(f->get(codeKey()), 0) << f->driverErrorText();
    setCurrency(f->record(), 2, "");
    EXPECT_EQ(f->get(codeKey()), 35);
    // The file is held again on the new connection: nobody else gets it alone.
    Station alone({"hold", f->name(), "alone", "0"});
    EXPECT_EQ(alone.receive(), "32");
    alone.send("done");
    EXPECT_EQ(alone.finish(), 0);
}

TEST_F(PostgresFiles, AfterAServerRestartOperationsThatChangeNothingReconnect) {
    auto f = created(currencyLayout());
    setCurrency(f->record(), 1, "USD");
    ASSERT_EQ(f->add(), 0);
    setCurrency(f->record(), 2, "EUR");
    ASSERT_EQ(f->add(), 0);
    f->set(codeKey());
    ASSERT_EQ(f->next(), 0);

    // Opening, reading and positioning go on as if nothing happened.
    ASSERT_TRUE(cluster().restart());
    auto g = file(currencyLayout());
    EXPECT_EQ(g->open(), 0) << g->driverErrorText();
    ASSERT_TRUE(cluster().restart());
    EXPECT_EQ(f->next(), 0) << f->driverErrorText();
    EXPECT_EQ(code(f->record()), 2);
    ASSERT_TRUE(cluster().restart());
    setCurrency(f->record(), 1, "");
    EXPECT_EQ(f->get(codeKey()), 0) << f->driverErrorText();
    ASSERT_TRUE(cluster().restart());
    EXPECT_FALSE(f->duplicates(oboznKey()));
    EXPECT_EQ(f->errorCode(), 0) << f->driverErrorText();
    ASSERT_TRUE(cluster().restart());
    EXPECT_EQ(f->reget(f->position()), 0) << f->driverErrorText();

    // A write that meets the lost connection reports it: it may have happened.
    ASSERT_TRUE(cluster().restart());
    f->record().setValue("NAME", "Dollar");
    EXPECT_EQ(f->put(), 90);
    EXPECT_TRUE(contains(f->driverErrorText(), "Lost the connection to the database server"));
    EXPECT_EQ(f->put(), 0) << f->driverErrorText();
    // So does a read inside a transaction, which went with the connection.
    ASSERT_EQ(f->begin(), 0);
    setCurrency(f->record(), 3, "GBP");
    ASSERT_EQ(f->add(), 0);
    ASSERT_TRUE(cluster().restart());
    setCurrency(f->record(), 3, "");
    EXPECT_EQ(f->get(codeKey()), 90);
    EXPECT_EQ(f->get(codeKey()), 35);
    // The files are held again on the new connection.
    Station alone({"hold", f->name(), "alone", "0"});
    EXPECT_EQ(alone.receive(), "32");
    alone.send("done");
    EXPECT_EQ(alone.finish(), 0);
}

TEST_F(PostgresFiles, TablesAreOrdinarySqlTablesForOtherTools) {
    auto f = created(currencyLayout());
    setCurrency(f->record(), 1, platform::ru("руб"), platform::ru("Российский рубль"));
    f->record().setDecimalCents(5, -7);
    f->record().setReal(4, std::nan(""));
    ASSERT_EQ(f->add(), 0);

    EXPECT_EQ(sql("SELECT column_name, data_type, coalesce(character_maximum_length, "
                  "numeric_precision) FROM information_schema.columns WHERE table_schema = '" +
                  schema_ + "' AND table_name = 'curr' ORDER BY ordinal_position"),
              (Table{{"row_id", "bigint", "64"},
                     {"row_version", "bigint", "64"},
                     {"cod", "integer", "32"},
                     {"obozn", "character varying", "4"},
                     {"name", "character varying", "30"},
                     {"credit", "smallint", "16"},
                     {"rate", "double precision", "53"},
                     {"amount", "numeric", "13"},
                     {"note", "character varying", "20"},
                     {"reserved_" + std::to_string(currencyLayout().fields()[7].offset), "smallint",
                      "16"},
                     {"day", "integer", "32"},
                     {"upper_obozn", "bytea", "NULL"}}));
    // Plain SQL, without quotes; text in the server's UTF-8; the key column holds the
    // upper-cased code page 1251 bytes.
    EXPECT_EQ(sql("SELECT cod, obozn, name, amount, rate, upper_obozn FROM curr"),
              (Table{{"1", "руб", "Российский рубль", "-0.07", "NaN", "\\xd0d3c1"}}));
    EXPECT_EQ(sql("SELECT indexname FROM pg_indexes WHERE schemaname = '" + schema_ +
                  "' ORDER BY indexname"),
              (Table{{"curr_code_key"}, {"curr_obozn_key"}, {"curr_pending"}, {"curr_pkey"}}));

    auto again = file(currencyLayout());
    ASSERT_EQ(again->open(), 0);
    setCurrency(again->record(), 1, "");
    ASSERT_EQ(again->get(codeKey()), 0);
    EXPECT_TRUE(std::isnan(again->record().getReal(4)));  // the server keeps a NaN
    EXPECT_EQ(again->record().getDecimalCents(5), -7);
}

// Every query shape of every layout, planned as the engine's prepared statements
// are (a generic plan), can walk an index in key order: with sorting and the
// other scans priced out, a plan that still sorts has no index giving its order.
// (On these empty tables the server would otherwise rightly prefer to sort.)
TEST_F(PostgresFiles, KeysetQueriesWalkTheKeyIndexesWithoutSorting) {
    std::vector<const storage::RecordLayout*> layouts = {&currencyLayout(), &personLayout(),
                                                         &rateLayout()};
    for (const auto* l : refbooks::referenceLayouts()) layouts.push_back(l);
    for (const auto* l : dostup::accessLayouts()) layouts.push_back(l);
    postgresAdmin(
        "SET plan_cache_mode = force_generic_plan; SET enable_seqscan = off; "
        "SET enable_bitmapscan = off; SET enable_sort = off");
    int checked = 0;
    auto expectIndexed = [&](const std::string& statement, std::size_t parameters) {
        std::string nulls;
        for (std::size_t i = 0; i < parameters; ++i) nulls += i ? ", NULL" : "NULL";
        postgresAdmin("PREPARE shape AS " + statement);
        std::string plan;
        for (const auto& row : postgresAdmin("EXPLAIN (COSTS OFF) EXECUTE shape" +
                                             (parameters ? "(" + nulls + ")" : std::string())))
            plan += row[0] + "\n";
        postgresAdmin("DEALLOCATE shape");
        EXPECT_TRUE(contains(plan, "Index")) << statement << "\n" << plan;
        EXPECT_FALSE(contains(plan, "Sort")) << statement << "\n" << plan;
        EXPECT_FALSE(contains(plan, "Seq Scan")) << statement << "\n" << plan;
        ++checked;
    };
    for (const storage::RecordLayout* layout : layouts) {
        SCOPED_TRACE(layout->label());
        auto f = file(*layout);
        f->setOwnerPassword(layout == &rateLayout() || layout == &currencyLayout() ||
                                    layout == &personLayout()
                                ? ""
                                : dostup::ownerPasswordOf(*layout));
        ASSERT_EQ(f->create(), 0) << f->driverErrorText();
        ServerAddress address;
        ASSERT_EQ(parseServerAddress(f->name(), address).code, 0);
        const storage::postgres::TableSchema schema(*layout, address.schema, address.table);
        const storage::Record blank(*layout);
        for (int k = -1; k < static_cast<int>(layout->keys().size()); ++k) {
            const std::size_t columns =
                k < 0 ? 0 : layout->keys()[static_cast<std::size_t>(k)].components.size();
            for (std::size_t range = 0; range <= columns; ++range)
                for (auto direction : {storage::Direction::Forward, storage::Direction::Backward})
                    for (auto kind :
                         {storage::Anchor::Kind::Start, storage::Anchor::Kind::Value,
                          storage::Anchor::Kind::Position, storage::Anchor::Kind::After}) {
                        storage::PageQuery query;
                        query.key = k;
                        query.direction = direction;
                        query.limit = 20;
                        query.anchor.kind = kind;
                        if (k >= 0) {
                            const auto& key = layout->keys()[static_cast<std::size_t>(k)];
                            query.anchor.value = storage::keyValueOf(blank, key);
                            query.range = storage::keyPrefixOf(blank, key, range);
                        }
                        const auto shape = storage::postgres::shapeOf(*layout, query);
                        ASSERT_FALSE(shape.empty);
                        expectIndexed(
                            storage::postgres::keysetSql(schema, shape, 20),
                            storage::postgres::keysetParams(*layout, shape, query).size());
                    }
            if (k >= 0) {
                expectIndexed(storage::postgres::findEqualSql(schema, k), columns);
                expectIndexed(storage::postgres::existsSql(schema, k), columns + 1);
            }
        }
        expectIndexed(storage::postgres::fetchSql(schema), 1);
        expectIndexed(storage::postgres::eraseSql(schema), 1);
        expectIndexed(storage::postgres::pendingRowsSql(schema), 0);
    }
    EXPECT_GT(checked, 500);
}

TEST_F(PostgresFiles, RowsWrittenByAnotherToolAreCompletedAndWatched) {
    created(currencyLayout())->close();
    sql("INSERT INTO curr (cod, obozn, name) VALUES (5, 'gbp', 'Pound'), (6, 'GBP', 'Twin')");
    EXPECT_EQ(value("SELECT count(*) FROM curr WHERE row_version IS NULL"), "2");

    // A station that opens the file for writing completes the rows; the one that
    // duplicates a unique key stays pending rather than failing the open.
    auto f = file(currencyLayout());
    ASSERT_EQ(f->open(), 0) << f->driverErrorText();
    setCurrency(f->record(), 0, "Gbp");
    ASSERT_EQ(f->get(oboznKey()), 0);
    EXPECT_EQ(code(f->record()), 5);
    EXPECT_EQ(value("SELECT cod FROM curr WHERE row_version IS NULL"), "6");

    // A tool's rewrite that leaves the version alone still trips the watch.
    f->watch();
    setCurrency(f->record(), 5, "");
    ASSERT_EQ(f->get(codeKey()), 0);
    sql("UPDATE curr SET name = 'Pound sterling' WHERE cod = 5");
    f->record().setValue("NAME", "Mine");
    EXPECT_EQ(f->put(), 89);
    f->watch();
    ASSERT_EQ(f->reget(f->position()), 0);
    EXPECT_EQ(text(f->record(), "NAME"), "Pound sterling");
}

TEST_F(PostgresFiles, DamagedKeysGive46AndBuildRepairsThem) {
    {
        auto f = created(currencyLayout());
        for (int c = 1; c <= 3; ++c) {
            setCurrency(f->record(), c, "C" + std::to_string(c));
            ASSERT_EQ(f->add(), 0);
        }
    }
    auto f = file(currencyLayout());
    for (const std::string damage :
         {"DROP INDEX curr_obozn_key",
          "DROP INDEX curr_obozn_key; CREATE INDEX curr_obozn_key ON curr (upper_obozn)",
          "DROP TRIGGER curr_touched ON curr", "DROP INDEX curr_pending"}) {
        SCOPED_TRACE(damage);
        sql(damage);
        EXPECT_EQ(f->open(), 46);
        EXPECT_EQ(f->errorText(), "Key File Must Be Rebuilt");
        EXPECT_EQ(f->build(), 0) << f->driverErrorText();
        ASSERT_EQ(f->open(), 0) << f->driverErrorText();
        f->close();
    }
    // A key column gone stale is recomputed by the build.
    sql("UPDATE curr SET upper_obozn = 'XX', row_version = row_version + 1 WHERE cod = 2");
    ASSERT_EQ(f->open(), 0);
    ASSERT_EQ(f->build(), 0) << f->driverErrorText();
    setCurrency(f->record(), 0, "c2");
    EXPECT_EQ(f->get(oboznKey()), 0);
    EXPECT_EQ(code(f->record()), 2);

    // Rows that violate a unique key fail the build with 40 and stay.
    sql("DROP INDEX curr_code_key; INSERT INTO curr (row_version, cod, obozn, upper_obozn) VALUES "
        "(1, 1, 'X', 'X')");
    f->close();
    EXPECT_EQ(f->build(), 40);
    EXPECT_EQ(value("SELECT count(*) FROM curr"), "4");
}

TEST_F(PostgresFiles, MissingSchemaGives2AndIsNeverCreated) {
    DataFile f(currencyLayout());
    f.setName(cluster().address("nowhere") + "Curr");
    EXPECT_EQ(f.open(), 2);
    EXPECT_TRUE(contains(f.driverErrorText(), "Schema nowhere not found"));
    EXPECT_EQ(f.create(), 90);
    EXPECT_EQ(postgresAdmin("SELECT count(*) FROM pg_namespace WHERE nspname = 'nowhere'"),
              (Table{{"0"}}));
}

TEST_F(PostgresFiles, FileOpenAtAnotherStationIsNotReplaced) {
    created(currencyLayout())->close();
    Station holder({"hold", disk("Curr"), "write", "0"});
    ASSERT_EQ(holder.receive(), "0");
    auto f = file(currencyLayout());
    f->sendOption("Recover=0");
    EXPECT_EQ(f->create(), 32);
    EXPECT_TRUE(contains(f->driverErrorText(), "Another station has the file open"));
    holder.send("release");
    EXPECT_EQ(holder.receive(), "released");
    EXPECT_EQ(holder.finish(), 0);
    EXPECT_EQ(f->create(), 0);
}

TEST_F(PostgresFiles, OwnerPasswordIsKeptOnlyAsAVerifier) {
    {
        auto f = created(secretLayout(), "QZX");
        setPerson(f->record(), 1, "Ivanov");
        ASSERT_EQ(f->add(), 0);
    }
    const Table owners =
        sql("SELECT table_name, length(salt), length(verifier), "
            "position('QZX'::bytea in salt || verifier) FROM tarvo_owners");
    EXPECT_EQ(owners, (Table{{"secret", "16", "20", "0"}}));
    // A plain layout with the same columns over the protected table does not open.
    auto plain = file(personLayout(), "Secret");
    EXPECT_EQ(plain->open(), 90);
    EXPECT_TRUE(contains(plain->driverErrorText(), "owner password"));
    // Creating it plain forgets the owner.
    ASSERT_EQ(plain->create(), 0);
    EXPECT_EQ(sql("SELECT count(*) FROM tarvo_owners"), (Table{{"0"}}));
    EXPECT_EQ(plain->open(), 0);
}

TEST_F(PostgresFiles, ChildAddedByAnotherStationIsSeenByTheDeleteCheck) {
    auto currencies = created(currencyLayout());
    setCurrency(currencies->record(), 1, "USD");
    ASSERT_EQ(currencies->add(), 0);
    auto rates = created(rateLayout());
    // The delete rule's look-up: the first rate of the currency, none yet.
    storage::PageRequest children;
    children.key = rateLayout().key("VALUTNUMBER_KEY");
    children.rangeComponents = 1;
    setRate(rates->record(), "USD", 0, 0);
    std::vector<storage::PageRow> rows;
    ASSERT_EQ(rates->readPage(children, rows), 0);
    EXPECT_TRUE(rows.empty());

    Station other({"addrate", disk("Rate"), "usd", "1"});
    EXPECT_EQ(other.receive(), "0");
    EXPECT_EQ(other.finish(), 0);
    ASSERT_EQ(rates->readPage(children, rows), 0);
    EXPECT_EQ(rows.size(), 1u);  // the delete is refused
}

TEST_F(PostgresFiles, OneTransactionSpansTheFilesOfAServer) {
    auto currencies = created(currencyLayout());
    auto rates = created(rateLayout());
    ASSERT_EQ(currencies->begin(), 0);
    setCurrency(currencies->record(), 1, "USD");
    ASSERT_EQ(currencies->add(), 0);
    setRate(rates->record(), "USD", 1, 100);
    ASSERT_EQ(rates->add(), 0);
    // A refused write leaves the transaction usable.
    setCurrency(currencies->record(), 1, "EUR");
    EXPECT_EQ(currencies->add(), 40);
    setCurrency(currencies->record(), 2, "EUR");
    ASSERT_EQ(currencies->add(), 0);
    EXPECT_EQ(value("SELECT count(*) FROM curr"), "0");  // nothing visible outside yet
    EXPECT_EQ(rates->rollback(), 0);
    EXPECT_EQ(value("SELECT (SELECT count(*) FROM curr) + (SELECT count(*) FROM rate)"), "0");

    ASSERT_EQ(rates->begin(), 0);
    setRate(rates->record(), "USD", 1, 100);
    ASSERT_EQ(rates->add(), 0);
    setCurrency(currencies->record(), 1, "USD");
    ASSERT_EQ(currencies->add(), 0);
    EXPECT_EQ(currencies->commit(), 0);
    EXPECT_EQ(value("SELECT (SELECT count(*) FROM curr) + (SELECT count(*) FROM rate)"), "2");

    // Closing a file does not end a transaction that another file began.
    ASSERT_EQ(currencies->begin(), 0);
    setCurrency(currencies->record(), 3, "GBP");
    ASSERT_EQ(currencies->add(), 0);
    rates.reset();
    EXPECT_EQ(currencies->commit(), 0);
    EXPECT_EQ(value("SELECT count(*) FROM curr"), "2");
}

}  // namespace
}  // namespace storage_tests
