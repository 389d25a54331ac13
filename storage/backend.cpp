#include "storage/backend.h"

#include "platform/paths.h"
#include "storage/sqlite/sqlite_backend.h"

namespace storage {

namespace {

// Data directories on a database server are served by the PostgreSQL backend,
// which this build does not contain yet: every operation says so.
class ServerBackendUnavailable final : public Backend {
public:
    ErrorState open(const RecordLayout&, const OpenRequest& request,
                    std::unique_ptr<BackendTable>&) override {
        return unavailable(request);
    }
    ErrorState create(const RecordLayout&, const OpenRequest& request) override {
        return unavailable(request);
    }

private:
    static ErrorState unavailable(const OpenRequest& request) {
        return driverFailure(
            0, "Database server storage is not available in this build: " + request.diskName);
    }
};

}  // namespace

Backend& backendFor(std::string_view diskName) {
    static ServerBackendUnavailable server;
    if (platform::isServerAddress(diskName)) return server;
    return sqlite::sqliteBackend();
}

}  // namespace storage
