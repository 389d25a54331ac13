#include "storage/sqlite/sqlite_table.h"

#include "storage/sqlite/covering_index.h"
#include "storage/sqlite/key_repair.h"
#include "storage/sqlite/keyset_sql.h"
#include "storage/sqlite/row_codec.h"
#include "storage/sqlite/row_sql.h"
#include "storage/sqlite/schema_check.h"
#include "storage/sqlite/sqlite_errors.h"

#include <algorithm>
#include <atomic>

namespace storage::sqlite {

namespace {
constexpr const char* kHeldTable = "held_entries";
}

SqliteTable::SqliteTable(const RecordLayout& layout, Connection connection, int busyWaitMs)
    : schema_(layout),
      connection_(std::move(connection)),
      cache_(connection_.get()),
      scratch_(layout),
      busyWaitMs_(busyWaitMs) {
    static std::atomic<std::uint64_t> openings{0};
    opening_ = ++openings;
}

SqliteTable::~SqliteTable() {
    if (connection_ && sqlite3_get_autocommit(connection_.get()) == 0) connection_.exec("ROLLBACK");
    cache_.clear();
}

std::int64_t SqliteTable::singleValue(std::uint64_t id) {
    sqlite3_stmt* raw = nullptr;
    if (statement(id, raw)) return -1;
    StatementUse use(raw);
    return sqlite3_step(raw) == SQLITE_ROW ? sqlite3_column_int64(raw, 0) : -1;
}

ErrorState SqliteTable::verify(bool repair, bool write) {
    writable_ = write && !repair;
    // The file's schema version changes with every table or index made or dropped.
    verifiedSchema_ = singleValue(kSchemaVersion);
    if (ErrorState e = checkTable(connection_.get(), schema_)) return e;
    if (repair) return success();
    if (ErrorState e = checkKeys(connection_.get(), schema_)) return e;
    if (write) return completePendingRows(connection_, schema_, scratch_);
    return success();
}

bool SqliteTable::resume(const FileIdentity& now, int busyWaitMs) {
    if (!kept_ || now == FileIdentity{} || now != identity_ || inTransaction()) return false;
    // Any table or index made or dropped since the check (a list's covering
    // index too) sends the opening the whole way again.
    // Both questions under one read lock.
    beginReadSnapshot();
    const std::int64_t version = singleValue(kSchemaVersion);
    const bool pending = version == verifiedSchema_ && writable_ && singleValue(kAnyPendingRow) == 1;
    endReadSnapshot();
    if (version < 0 || version != verifiedSchema_) return false;
    busyWaitMs_ = busyWaitMs;
    setBusyWait(connection_.get(), busyWaitMs);
    return !pending || !completePendingRows(connection_, schema_, scratch_);
}

ErrorState SqliteTable::statement(std::uint64_t id, sqlite3_stmt*& out) {
    const std::uint64_t family = id & ~((1ull << 40) - 1);
    const int key = static_cast<int>(id & 0xFFFF);
    return cache_.get(
        id,
        [&]() -> std::string {
            switch (family) {
                case kFetch:
                    return fetchSql(schema_);
                case kVersion:
                    return versionSql(schema_);
                case kInsert:
                    return insertSql(schema_);
                case kUpdate:
                    return updateSql(schema_, false);
                case kUpdateWatched:
                    return updateSql(schema_, true);
                case kErase:
                    return eraseSql(schema_);
                case kFindEqual:
                    return findEqualSql(schema_, key);
                case kExists:
                    return existsSql(schema_, key);
                case kAnyPendingRow:
                    return anyPendingRowSql(schema_);
                case kSchemaVersion:
                    return std::string("PRAGMA schema_version");
                case kHeldTableExists:
                    return std::string("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = '") + kHeldTable + "'";
                case kDataVersion:
                    return std::string("PRAGMA data_version");
                case kBeginRead:
                    return std::string("BEGIN DEFERRED");
                case kEndRead:
                    return std::string("ROLLBACK");
                case kHeldEntries:
                    return std::string("SELECT id, record FROM ") + kHeldTable + " WHERE target = ?1 ORDER BY id";
                default:
                    return {};
            }
        },
        out);
}

ErrorState SqliteTable::stepError(int rc, std::string_view doing) {
    return errorFrom(connection_.get(), rc, doing);
}

ErrorState SqliteTable::readRows(sqlite3_stmt* statement, std::size_t limit, const FieldSet* fields,
                                 std::vector<StoredRow>& rows) {
    int rc = SQLITE_DONE;
    rows.reserve(std::min<std::size_t>(limit, 256));
    // A subset's rows write the same fields every time: the others stay blank
    // from one clearing.
    if (fields) scratch_.clear();
    while (rows.size() < limit && (rc = sqlite3_step(statement)) == SQLITE_ROW) {
        rows.emplace_back();
        if (fields)
            readSubset(statement, *fields, scratch_, rows.back());
        else
            readRow(statement, scratch_, rows.back());
    }
    if (rows.size() < limit && rc != SQLITE_DONE)
        return stepError(rc, "reading " + schema_.table());
    return success();
}

// A wide record read a few fields at a time is read through a covering index,
// added by the first station that may write (see covering_index.h); otherwise
// the subset's columns come from the table's rows.
const SqliteTable::Subset* SqliteTable::subsetFor(int key, const FieldSet& fields) {
    auto found = subsets_.find({key, fields});
    if (found != subsets_.end()) return &found->second;
    constexpr std::size_t kMostSubsets = (1u << 11) - 1;
    if (subsets_.size() >= kMostSubsets) return nullptr;
    std::string index;
    if (key >= 0 && worthCovering(schema_.layout(), fields)) {
        endReadSnapshot();  // the index may have to be added
        const CoveringIndex covering = coveringIndex(schema_, key, fields);
        constexpr int kAddingWaitMs = 200;
        const bool used = useCoveringIndex(connection_, covering, writable_,
                                           std::min(busyWaitMs_, kAddingWaitMs));
        setBusyWait(connection_.get(), busyWaitMs_);
        if (used) index = covering.name;
    }
    Subset subset;
    subset.id = static_cast<std::uint64_t>(subsets_.size() + 1) << 29;
    Selection selection = selectionOf(schema_, fields, index);
    subset.columns = std::move(selection.columns);
    subset.index = std::move(selection.index);
    return &subsets_.emplace(std::make_pair(key, fields), std::move(subset)).first->second;
}

ErrorState SqliteTable::readPage(const PageQuery& query, std::vector<StoredRow>& rows) {
    rows.clear();
    if (query.limit == 0) return success();
    const FieldSet* fields = query.fields && !query.fields->empty() ? query.fields : nullptr;
    const Subset* subset = fields ? subsetFor(query.key, *fields) : nullptr;
    if (!subset) fields = nullptr;
    const std::vector<KeysetStep> steps = planPage(schema_.layout(), query);
    if (steps.empty()) return success();
    // One statement for the page: a single step, or the steps joined.
    const std::uint64_t id = (steps.size() > 1 ? kSteps : 0) | stepId(steps.front()) | (subset ? subset->id : 0);
    sqlite3_stmt* raw = nullptr;
    if (ErrorState e = cache_.get(
            id,
            [&] {
                const Selection selection{subset ? subset->columns : std::string(),
                                          subset ? subset->index : std::string()};
                return stepsSql(schema_, steps, subset ? &selection : nullptr);
            },
            raw))
        return e;
    StatementUse use(raw);
    int parameter = 1;
    for (const KeysetStep& step : steps) parameter = bindStep(raw, step, query, query.limit, parameter);
    return readRows(raw, query.limit, fields, rows);
}

ErrorState SqliteTable::fetch(std::int64_t rowId, StoredRow& row) {
    sqlite3_stmt* raw = nullptr;
    if (ErrorState e = statement(kFetch, raw)) return e;
    StatementUse use(raw);
    sqlite3_bind_int64(raw, 1, rowId);
    const int rc = sqlite3_step(raw);
    if (rc == SQLITE_ROW) {
        readRow(raw, scratch_, row);
        return success();
    }
    if (rc == SQLITE_DONE) return failure(error::kRecordNotFound);
    return stepError(rc, "reading " + schema_.table());
}

ErrorState SqliteTable::findEqual(int key, const KeyValue& value, StoredRow& row) {
    sqlite3_stmt* raw = nullptr;
    if (ErrorState e = statement(kFindEqual | static_cast<std::uint64_t>(key), raw)) return e;
    StatementUse use(raw);
    bindKeyParts(raw, 1, value, 0, value.parts.size());
    const int rc = sqlite3_step(raw);
    if (rc == SQLITE_ROW) {
        readRow(raw, scratch_, row);
        return success();
    }
    if (rc == SQLITE_DONE) return failure(error::kRecordNotFound);
    return stepError(rc, "reading " + schema_.table());
}

ErrorState SqliteTable::exists(int key, const KeyValue& value, std::int64_t exceptRowId,
                               bool& found) {
    found = false;
    sqlite3_stmt* raw = nullptr;
    if (ErrorState e = statement(kExists | static_cast<std::uint64_t>(key), raw)) return e;
    StatementUse use(raw);
    const int next = bindKeyParts(raw, 1, value, 0, value.parts.size());
    sqlite3_bind_int64(raw, next, exceptRowId);
    const int rc = sqlite3_step(raw);
    if (rc == SQLITE_ROW)
        found = true;
    else if (rc != SQLITE_DONE)
        return stepError(rc, "reading " + schema_.table());
    return success();
}

ErrorState SqliteTable::insert(const Record& record, std::int64_t& rowId, std::int64_t& version) {
    ++writes_;
    endReadSnapshot();
    sqlite3_stmt* raw = nullptr;
    if (ErrorState e = statement(kInsert, raw)) return e;
    StatementUse use(raw);
    bindKeyTexts(raw, bindFields(raw, 1, record), record, schema_);
    const int rc = sqlite3_step(raw);
    if (rc != SQLITE_DONE) return stepError(rc, "adding to " + schema_.table());
    rowId = sqlite3_last_insert_rowid(connection_.get());
    version = 1;
    return success();
}

ErrorState SqliteTable::update(std::int64_t rowId, const Record& record,
                               const std::int64_t* watched, std::int64_t& version) {
    ++writes_;
    endReadSnapshot();
    version = 0;
    sqlite3_stmt* raw = nullptr;
    if (ErrorState e = statement(watched ? kUpdateWatched : kUpdate, raw)) return e;
    {
        StatementUse use(raw);
        int index = bindKeyTexts(raw, bindFields(raw, 1, record), record, schema_);
        sqlite3_bind_int64(raw, index++, rowId);
        if (watched) sqlite3_bind_int64(raw, index, *watched);
        const int rc = sqlite3_step(raw);
        if (rc != SQLITE_DONE) return stepError(rc, "writing to " + schema_.table());
        if (sqlite3_changes(connection_.get()) > 0) {
            if (watched) version = *watched + 1;
            return success();
        }
    }
    // Nothing written: the record is gone, or (watched) another station rewrote it.
    sqlite3_stmt* probe = nullptr;
    if (ErrorState e = statement(kVersion, probe)) return e;
    StatementUse use(probe);
    sqlite3_bind_int64(probe, 1, rowId);
    const int rc = sqlite3_step(probe);
    if (rc == SQLITE_ROW) return failure(error::kChangedByAnotherStation);
    if (rc == SQLITE_DONE) return failure(error::kRecordNotFound);
    return stepError(rc, "reading " + schema_.table());
}

ErrorState SqliteTable::erase(std::int64_t rowId) {
    ++writes_;
    endReadSnapshot();
    sqlite3_stmt* raw = nullptr;
    if (ErrorState e = statement(kErase, raw)) return e;
    StatementUse use(raw);
    sqlite3_bind_int64(raw, 1, rowId);
    const int rc = sqlite3_step(raw);
    if (rc != SQLITE_DONE) return stepError(rc, "deleting from " + schema_.table());
    if (sqlite3_changes(connection_.get()) == 0) return failure(error::kRecordNotFound);
    return success();
}

ErrorState SqliteTable::begin() {
    ++writes_;
    endReadSnapshot();
    // Immediate: the write lock is taken now, so later writes of the transaction
    // cannot fail on a snapshot that another station has moved past.
    return connection_.exec("BEGIN IMMEDIATE", "starting a transaction");
}

ErrorState SqliteTable::commit() {
    if (!inTransaction()) return success();
    return connection_.exec("COMMIT", "committing");
}

ErrorState SqliteTable::rollback() {
    if (!inTransaction()) return success();
    return connection_.exec("ROLLBACK", "rolling back");
}

bool SqliteTable::inTransaction() const {
    return connection_ && !snapshot_ && sqlite3_get_autocommit(connection_.get()) == 0;
}

ErrorState SqliteTable::beginReadSnapshot() {
    if (snapshot_ || sqlite3_get_autocommit(connection_.get()) == 0) return success();
    // Deferred: the read lock comes with the first read and stays to the end.
    // Both statements are kept: a list begins and ends one at every page.
    sqlite3_stmt* raw = nullptr;
    if (ErrorState e = statement(kBeginRead, raw)) return e;
    StatementUse use(raw);
    if (const int rc = sqlite3_step(raw); rc != SQLITE_DONE) return stepError(rc, "starting a read");
    snapshot_ = true;
    return success();
}

std::optional<ChangeStamp> SqliteTable::changeStamp() {
    // data_version moves with every commit of another connection; this
    // table's own writes are counted here.
    const std::int64_t others = singleValue(kDataVersion);
    if (others < 0) return std::nullopt;
    return ChangeStamp{opening_, others, writes_};
}

void SqliteTable::endReadSnapshot() {
    if (!snapshot_) return;
    snapshot_ = false;
    // Only reads ran in it (every write ends it first): nothing to keep.
    if (sqlite3_get_autocommit(connection_.get()) != 0) return;
    sqlite3_stmt* raw = nullptr;
    if (statement(kEndRead, raw)) {
        connection_.exec("ROLLBACK");
        return;
    }
    StatementUse use(raw);
    sqlite3_step(raw);
}

ErrorState SqliteTable::applyOptions(const DriverOptions& options) {
    busyWaitMs_ = options.busyWaitMs;
    setBusyWait(connection_.get(), options.busyWaitMs);
    return success();
}

ErrorState SqliteTable::rebuildKeys() {
    ++writes_;
    endReadSnapshot();
    // Statements hold no schema objects across the rebuild; the lists' covering
    // indexes go with the keys and are added again on use.
    cache_.clear();
    subsets_.clear();
    return sqlite::rebuildKeys(connection_, schema_, scratch_);
}

// Held entries live in a small table of the file's own database, beside the
// file's table, so that they commit with the file's write. It is made by the
// first entry held; ordinary SQL tools see it as "held_entries" (kHeldTable).
namespace {

// A statement used once: prepared, run by `use`, finalized.
template <typename Use>
ErrorState once(sqlite3* db, const std::string& sql, Use use) {
    sqlite3_stmt* raw = nullptr;
    const int rc = sqlite3_prepare_v2(db, sql.c_str(), -1, &raw, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(raw);
        return driverFailure(rc, std::string(sqlite3_errmsg(db)) + " (" + sql + ")");
    }
    ErrorState result = use(raw);
    sqlite3_finalize(raw);
    return result;
}

}  // namespace

ErrorState SqliteTable::holdEntry(const std::string& target, const std::vector<std::uint8_t>& bytes,
                                  std::int64_t& id) {
    ++writes_;
    endReadSnapshot();
    if (ErrorState e = connection_.exec(std::string("CREATE TABLE IF NOT EXISTS ") + kHeldTable +
                                            " (id INTEGER PRIMARY KEY, target TEXT NOT NULL, "
                                            "record BLOB NOT NULL)",
                                        "holding an entry"))
        return e;
    return once(connection_.get(),
                std::string("INSERT INTO ") + kHeldTable + " (target, record) VALUES (?1, ?2)",
                [&](sqlite3_stmt* raw) {
                    sqlite3_bind_text(raw, 1, target.data(), static_cast<int>(target.size()), SQLITE_TRANSIENT);
                    sqlite3_bind_blob(raw, 2, bytes.data(), static_cast<int>(bytes.size()), SQLITE_TRANSIENT);
                    const int rc = sqlite3_step(raw);
                    if (rc != SQLITE_DONE) return stepError(rc, "holding an entry");
                    id = sqlite3_last_insert_rowid(connection_.get());
                    return success();
                });
}

ErrorState SqliteTable::heldEntries(const std::string& target, std::vector<HeldEntry>& entries) {
    entries.clear();
    // Asked at every opening of a journaled file: both statements are kept.
    if (singleValue(kHeldTableExists) != 1) return success();
    sqlite3_stmt* raw = nullptr;
    if (ErrorState e = statement(kHeldEntries, raw)) return e;
    StatementUse use(raw);
    sqlite3_bind_text(raw, 1, target.data(), static_cast<int>(target.size()), SQLITE_TRANSIENT);
    int rc;
    while ((rc = sqlite3_step(raw)) == SQLITE_ROW) {
        HeldEntry entry;
        entry.id = sqlite3_column_int64(raw, 0);
        const auto* blob = static_cast<const std::uint8_t*>(sqlite3_column_blob(raw, 1));
        entry.bytes.assign(blob, blob + sqlite3_column_bytes(raw, 1));
        entries.push_back(std::move(entry));
    }
    if (rc != SQLITE_DONE) return stepError(rc, "reading held entries");
    return success();
}

ErrorState SqliteTable::dropHeldEntry(std::int64_t id) {
    ++writes_;
    endReadSnapshot();
    return once(connection_.get(), std::string("DELETE FROM ") + kHeldTable + " WHERE id = ?1",
                [&](sqlite3_stmt* raw) {
                    sqlite3_bind_int64(raw, 1, id);
                    const int rc = sqlite3_step(raw);
                    if (rc != SQLITE_DONE) return stepError(rc, "dropping a held entry");
                    return success();
                });
}

}  // namespace storage::sqlite
