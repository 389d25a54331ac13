// An open data file on SQLite: the backend requests answered with cached,
// promptly reset statements on the file's own connection.
#pragma once

#include "storage/backend.h"
#include "storage/sqlite/connection.h"
#include "storage/sqlite/kept_tables.h"
#include "storage/sqlite/schema.h"
#include "storage/sqlite/statement_cache.h"

#include <map>
#include <memory>
#include <optional>
#include <utility>

namespace storage::sqlite {

class SqliteTable final : public BackendTable {
public:
    SqliteTable(const RecordLayout& layout, Connection connection, int busyWaitMs);
    ~SqliteTable() override;

    ErrorState readPage(const PageQuery& query, std::vector<StoredRow>& rows) override;
    ErrorState fetch(std::int64_t rowId, StoredRow& row) override;
    ErrorState findEqual(int key, const KeyValue& value, StoredRow& row) override;
    ErrorState exists(int key, const KeyValue& value, std::int64_t exceptRowId,
                      bool& found) override;
    ErrorState insert(const Record& record, std::int64_t& rowId, std::int64_t& version) override;
    ErrorState update(std::int64_t rowId, const Record& record, const std::int64_t* watched,
                      std::int64_t& version) override;
    ErrorState erase(std::int64_t rowId) override;
    ErrorState begin() override;
    ErrorState commit() override;
    ErrorState rollback() override;
    bool inTransaction() const override;
    ErrorState applyOptions(const DriverOptions& options) override;
    ErrorState rebuildKeys() override;
    ErrorState holdEntry(const std::string& target, const std::vector<std::uint8_t>& bytes,
                         std::int64_t& id) override;
    ErrorState heldEntries(const std::string& target, std::vector<HeldEntry>& entries) override;
    ErrorState dropHeldEntry(std::int64_t id) override;
    ErrorState beginReadSnapshot() override;
    void endReadSnapshot() override;
    std::optional<ChangeStamp> changeStamp() override;

    // Checks the stored table against the layout (2, 47) and, unless the file is
    // opened for repair, its keys (46); a writer also completes rows that another
    // tool wrote.
    ErrorState verify(bool repair, bool write);

    // Kept files: the opening this table may be kept for once its file closes
    // (not set: it is closed), and whether a kept table may serve an opening
    // now: the same file on disk, its tables as verified, no transaction; a
    // writer completes other tools' rows as at an opening.
    void keepableAs(KeptKey key, FileIdentity identity) {
        kept_ = std::move(key);
        identity_ = identity;
    }
    const std::optional<KeptKey>& keptKey() const { return kept_; }
    bool resume(const FileIdentity& now, int busyWaitMs);

    const TableSchema& schema() const { return schema_; }
    sqlite3* db() const { return connection_.get(); }

private:
    // Statement cache ids: the keyset steps use the low bits, the single-record
    // statements these families above them.
    enum Family : std::uint64_t {
        kFetch = 1ull << 40,
        kVersion = 2ull << 40,
        kInsert = 3ull << 40,
        kUpdate = 4ull << 40,
        kUpdateWatched = 5ull << 40,
        kErase = 6ull << 40,
        kFindEqual = 7ull << 40,
        kExists = 8ull << 40,
        kAnyPendingRow = 9ull << 40,
        kSchemaVersion = 10ull << 40,
        kHeldTableExists = 11ull << 40,
        kHeldEntries = 12ull << 40,
        kBeginRead = 13ull << 40,
        kEndRead = 14ull << 40,
        kSteps = 15ull << 40,
        kDataVersion = 16ull << 40,  // with the first step's id: a page's steps joined
    };
    // The first value of a cached one-row statement (-1 when it gives none or fails).
    std::int64_t singleValue(std::uint64_t id);
    ErrorState statement(std::uint64_t id, sqlite3_stmt*& out);
    ErrorState stepError(int rc, std::string_view doing);
    ErrorState readRows(sqlite3_stmt* statement, std::size_t limit, const FieldSet* fields,
                        std::vector<StoredRow>& rows);

    // A field subset read in one key's order: its statements' id (bits 29 and up
    // of the cache id) and what they select.
    struct Subset {
        std::uint64_t id = 0;
        std::string columns;
        std::string index;  // the covering index; empty = the key's own index
    };
    const Subset* subsetFor(int key, const FieldSet& fields);

    TableSchema schema_;
    Connection connection_;
    StatementCache cache_;
    Record scratch_;
    bool writable_ = false;
    int busyWaitMs_;
    std::map<std::pair<int, FieldSet>, Subset> subsets_;
    bool snapshot_ = false;  // a read snapshot is open (BEGIN DEFERRED)
    std::uint64_t opening_;   // this table's number among the process's openings
    std::uint64_t writes_ = 0;  // write requests through this table
    std::optional<KeptKey> kept_;
    FileIdentity identity_;
    std::int64_t verifiedSchema_ = -1;  // the file's schema version when verified
};

}  // namespace storage::sqlite
