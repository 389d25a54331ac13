#include "storage/postgres/postgres_backend.h"

#include "storage/postgres/owner_password.h"
#include "storage/postgres/postgres_table.h"
#include "storage/postgres/schema_check.h"
#include "storage/postgres/server_address.h"
#include "storage/postgres/table_setup.h"

namespace storage::postgres {

namespace {

class PostgresBackend final : public Backend {
public:
    ErrorState open(const RecordLayout& layout, const OpenRequest& request,
                    std::unique_ptr<BackendTable>& table) override {
        table.reset();
        ServerAddress address;
        if (ErrorState e = parseServerAddress(request.diskName, address)) return e;
        std::shared_ptr<Session> session = Session::shared(address.server);
        std::lock_guard lock(session->mutex());
        // Opening changes nothing another station could see (completing tool-written
        // rows may be done again), so a connection found lost is made anew.
        return session->unchanging(
            [&] { return openOn(session, layout, address, request, table); });
    }

    ErrorState create(const RecordLayout& layout, const OpenRequest& request) override {
        ServerAddress address;
        if (ErrorState e = parseServerAddress(request.diskName, address)) return e;
        std::shared_ptr<Session> session = Session::shared(address.server);
        std::lock_guard lock(session->mutex());
        const TableSchema schema(layout, address.schema, address.table);
        return createTable(*session, schema, layout.isProtected() ? request.ownerPassword : "",
                           request.options.busyWaitMs, request.keepExisting);
    }

private:
    static ErrorState openOn(const std::shared_ptr<Session>& session, const RecordLayout& layout,
                             const ServerAddress& address, const OpenRequest& request,
                             std::unique_ptr<BackendTable>& table) {
        TableSchema schema(layout, address.schema, address.table);
        const int waitMs = request.options.busyWaitMs;
        if (ErrorState e = session->setLockWait(waitMs)) return e;

        StoredTable stored;
        if (ErrorState e = findTable(*session, schema, stored)) return e;
        if (ErrorState e = checkColumns(*session, schema, stored)) return e;
        if (ErrorState e = checkOwner(*session, schema, stored.ownersTableExists,
                                      layout.isProtected() ? request.ownerPassword : ""))
            return e;

        const bool write = modeWrites(request.mode);
        const TableHold hold{fileLockKey(schema.schema(), schema.table()),
                             write && modeExclusive(request.mode)};
        if (ErrorState e = session->holdFile(hold.key, hold.alone, waitMs)) return e;
        ErrorState e;
        if (!request.repair) {
            e = checkKeys(*session, schema, stored);
            if (!e && write) {
                Record scratch(layout);
                e = completePendingRows(*session, schema, scratch);
            }
        }
        if (e) {
            session->releaseFile(hold.key, hold.alone);
            return e;
        }
        table = std::make_unique<PostgresTable>(session, layout, std::move(schema), write, hold,
                                                request.options);
        return success();
    }
};

}  // namespace

Backend& postgresBackend() {
    static PostgresBackend backend;
    return backend;
}

}  // namespace storage::postgres
