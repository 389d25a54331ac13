#include "storage/postgres/postgres_table.h"

#include "storage/postgres/row_codec.h"
#include "storage/postgres/row_sql.h"
#include "storage/postgres/table_setup.h"

namespace storage::postgres {

PostgresTable::PostgresTable(std::shared_ptr<Session> session, const RecordLayout& layout,
                             TableSchema schema, bool write, TableHold hold,
                             const DriverOptions& options)
    : session_(std::move(session)),
      schema_(std::move(schema)),
      scratch_(layout),
      write_(write),
      hold_(hold),
      waitMs_(options.busyWaitMs),
      fetch_(fetchSql(schema_)),
      version_(versionSql(schema_)),
      insert_(insertSql(schema_)),
      update_(updateSql(schema_, false)),
      updateWatched_(updateSql(schema_, true)),
      erase_(eraseSql(schema_)) {
    for (std::size_t k = 0; k < layout.keys().size(); ++k) {
        findEqual_.push_back(findEqualSql(schema_, static_cast<int>(k)));
        exists_.push_back(existsSql(schema_, static_cast<int>(k)));
    }
}

PostgresTable::~PostgresTable() {
    std::lock_guard lock(session_->mutex());
    // A transaction this file began and left open goes, as on the embedded backend;
    // one that another file of the server began is that file's to end.
    if (session_->startedBy(this)) session_->rollback();
    session_->releaseFile(hold_.key, hold_.alone);
}

ErrorState PostgresTable::prepare() { return session_->setLockWait(waitMs_); }

ErrorState PostgresTable::refuseReadOnly() const {
    return driverFailure(0, "File " + schema_.table() + " is open for reading only");
}

std::string PostgresTable::doing(const char* what) const {
    return std::string(what) + " " + schema_.table();
}

const std::string& PostgresTable::keysetStatement(const KeysetShape& shape, std::size_t limit,
                                                  const FieldSet* fields) {
    std::uint64_t subset = 0;
    if (fields) subset = subsets_.emplace(*fields, subsets_.size() + 1).first->second;
    const std::uint64_t id = (subset << 32) | (static_cast<std::uint32_t>(shape.key + 1) << 16) |
                             (static_cast<std::uint32_t>(shape.range & 0xFF) << 8) |
                             (shape.direction == Direction::Backward ? 0x40u : 0u) |
                             (static_cast<std::uint32_t>(shape.compare) << 2) |
                             static_cast<std::uint32_t>(shape.columns);
    const auto key = std::make_pair(id, limit);
    auto it = keysets_.find(key);
    if (it == keysets_.end())
        it = keysets_.emplace(key, keysetSql(schema_, shape, limit,
                                             fields ? subsetColumns(schema_, *fields) : std::string()))
                 .first;
    return it->second;
}

ErrorState PostgresTable::query(const std::string& sql, const Params& params, Rows& result) {
    std::lock_guard lock(session_->mutex());
    return session_->unchanging([&]() -> ErrorState {
        if (ErrorState e = prepare()) return e;
        return session_->run(sql, params, &result, doing("reading"));
    });
}

ErrorState PostgresTable::readPage(const PageQuery& query, std::vector<StoredRow>& rows) {
    rows.clear();
    if (query.limit == 0) return success();
    const KeysetShape shape = shapeOf(schema_.layout(), query);
    if (shape.empty) return success();
    // A list reads only the fields it shows: the select list names their columns.
    const FieldSet* fields = query.fields && !query.fields->empty() ? query.fields : nullptr;
    Rows result;
    if (ErrorState e = this->query(keysetStatement(shape, query.limit, fields),
                                   keysetParams(schema_.layout(), shape, query), result))
        return e;
    rows.resize(static_cast<std::size_t>(result.count()));
    for (int r = 0; r < result.count(); ++r) {
        if (fields)
            readSubset(result, r, *fields, scratch_, rows[static_cast<std::size_t>(r)]);
        else
            readRow(result, r, scratch_, rows[static_cast<std::size_t>(r)]);
    }
    return success();
}

ErrorState PostgresTable::readOne(const std::string& sql, const Params& params, StoredRow& row) {
    Rows result;
    if (ErrorState e = query(sql, params, result)) return e;
    if (result.count() == 0) return failure(error::kRecordNotFound);
    readRow(result, 0, scratch_, row);
    return success();
}

ErrorState PostgresTable::fetch(std::int64_t rowId, StoredRow& row) {
    return readOne(fetch_, {integerParam(rowId)}, row);
}

ErrorState PostgresTable::findEqual(int key, const KeyValue& value, StoredRow& row) {
    const KeyDef& def = schema_.layout().keys().at(static_cast<std::size_t>(key));
    Params params;
    appendKeyParts(params, value, def, schema_.layout(), 0, def.components.size());
    return readOne(findEqual_.at(static_cast<std::size_t>(key)), params, row);
}

ErrorState PostgresTable::exists(int key, const KeyValue& value, std::int64_t exceptRowId,
                                 bool& found) {
    found = false;
    const KeyDef& def = schema_.layout().keys().at(static_cast<std::size_t>(key));
    Params params;
    appendKeyParts(params, value, def, schema_.layout(), 0, def.components.size());
    params.push_back(integerParam(exceptRowId));
    Rows result;
    if (ErrorState e = query(exists_.at(static_cast<std::size_t>(key)), params, result)) return e;
    found = result.count() > 0;
    return success();
}

ErrorState PostgresTable::insert(const Record& record, std::int64_t& rowId, std::int64_t& version) {
    if (!write_) return refuseReadOnly();
    Params params;
    appendFields(params, record);
    appendKeyTexts(params, record, schema_);
    std::lock_guard lock(session_->mutex());
    if (ErrorState e = prepare()) return e;
    Rows result;
    if (ErrorState e = session_->write(insert_, params, &result, doing("adding to"))) return e;
    rowId = result.count() > 0 ? result.integer(0, 0) : 0;
    version = 1;
    return success();
}

ErrorState PostgresTable::update(std::int64_t rowId, const Record& record,
                                 const std::int64_t* watched, std::int64_t& version) {
    version = 0;
    if (!write_) return refuseReadOnly();
    Params params;
    appendFields(params, record);
    appendKeyTexts(params, record, schema_);
    params.push_back(integerParam(rowId));
    if (watched) params.push_back(integerParam(*watched));
    std::lock_guard lock(session_->mutex());
    if (ErrorState e = prepare()) return e;
    Rows result;
    if (ErrorState e = session_->write(watched ? updateWatched_ : update_, params, &result,
                                       doing("writing to")))
        return e;
    if (result.count() > 0) {
        version = result.integer(0, 0);
        return success();
    }
    // Nothing written: the record is gone, or (watched) another station rewrote it.
    Rows probe;
    if (ErrorState e = session_->run(version_, {integerParam(rowId)}, &probe, doing("reading")))
        return e;
    return failure(probe.count() > 0 ? error::kChangedByAnotherStation : error::kRecordNotFound);
}

ErrorState PostgresTable::erase(std::int64_t rowId) {
    if (!write_) return refuseReadOnly();
    std::lock_guard lock(session_->mutex());
    if (ErrorState e = prepare()) return e;
    Rows result;
    if (ErrorState e =
            session_->write(erase_, {integerParam(rowId)}, &result, doing("deleting from")))
        return e;
    if (result.count() == 0) return failure(error::kRecordNotFound);
    return success();
}

ErrorState PostgresTable::begin() {
    std::lock_guard lock(session_->mutex());
    if (ErrorState e = prepare()) return e;
    const bool own = !session_->inTransaction();
    if (ErrorState e = session_->begin(this)) return e;
    if (!write_) return success();
    // Writers of this file wait (or get 32) until the transaction ends, as with
    // the write lock the embedded backend takes at once; readers go on.
    ErrorState e = session_->guarded([&] {
        return session_->command(
            "LOCK TABLE " + schema_.qualifiedTable() + " IN SHARE ROW EXCLUSIVE MODE",
            "starting a transaction on " + schema_.table());
    });
    if (e && own) session_->rollback();
    return e;
}

ErrorState PostgresTable::commit() {
    std::lock_guard lock(session_->mutex());
    return session_->commit();
}

ErrorState PostgresTable::rollback() {
    std::lock_guard lock(session_->mutex());
    return session_->rollback();
}

bool PostgresTable::inTransaction() const { return session_->inTransaction(); }

ErrorState PostgresTable::applyOptions(const DriverOptions& options) {
    waitMs_ = options.busyWaitMs;
    return success();
}

ErrorState PostgresTable::rebuildKeys() {
    std::lock_guard lock(session_->mutex());
    if (ErrorState e = prepare()) return e;
    return postgres::rebuildKeys(*session_, schema_, scratch_);
}

}  // namespace storage::postgres
