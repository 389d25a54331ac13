// An open data file on the database server: the backend requests answered with
// statements prepared once on the shared session of its server.
#pragma once

#include "storage/backend.h"
#include "storage/postgres/keyset_sql.h"
#include "storage/postgres/schema.h"
#include "storage/postgres/session.h"

#include <map>
#include <memory>
#include <vector>

namespace storage::postgres {

struct TableHold {
    std::int64_t key = 0;
    bool alone = false;
};

class PostgresTable final : public BackendTable {
public:
    // The file is already held (`hold`); the table lets go of it when it closes.
    PostgresTable(std::shared_ptr<Session> session, const RecordLayout& layout, TableSchema schema,
                  bool write, TableHold hold, const DriverOptions& options);
    ~PostgresTable() override;

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
    const void* transactionScope() const override { return session_.get(); }
    ErrorState applyOptions(const DriverOptions& options) override;
    ErrorState rebuildKeys() override;

    const TableSchema& schema() const { return schema_; }

private:
    // Takes the session for one operation and sets this file's lock wait.
    ErrorState prepare();
    ErrorState refuseReadOnly() const;
    // A reading statement, run again on a new connection when the old one was lost.
    ErrorState query(const std::string& sql, const Params& params, Rows& result);
    ErrorState readOne(const std::string& sql, const Params& params, StoredRow& row);
    const std::string& keysetStatement(const KeysetShape& shape, std::size_t limit,
                                       const FieldSet* fields);
    std::string doing(const char* what) const;

    std::shared_ptr<Session> session_;
    TableSchema schema_;
    Record scratch_;
    bool write_;
    TableHold hold_;
    int waitMs_;
    // Statement texts, built once per open file.
    std::string fetch_, version_, insert_, update_, updateWatched_, erase_;
    std::vector<std::string> findEqual_, exists_;
    std::map<std::pair<std::uint64_t, std::size_t>, std::string> keysets_;  // shape and subset, limit
    std::map<FieldSet, std::uint64_t> subsets_;  // the field subsets read, numbered from 1
};

}  // namespace storage::postgres
