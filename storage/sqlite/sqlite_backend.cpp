#include "storage/sqlite/sqlite_backend.h"

#include "platform/cp1251.h"
#include "platform/paths.h"
#include "storage/kept_files.h"
#include "storage/sqlite/kept_tables.h"
#include "storage/sqlite/sqlite_table.h"
#include "storage/sqlite/table_setup.h"

#include <cerrno>
#include <cstring>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace storage::sqlite {

namespace {

namespace fs = std::filesystem;

// The folder must exist; the file itself too unless it is being created.
ErrorState checkPlace(const fs::path& file, bool creating) {
    std::error_code ec;
    const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
    if (!fs::is_directory(folder, ec)) {
        const std::string text = "Folder not found: " + folder.string();
        return creating ? driverFailure(ENOENT, text) : failure(error::kFileNotFound, ENOENT, text);
    }
    const fs::file_status status = fs::status(file, ec);
    if (!fs::exists(status)) {
        if (creating) return success();
        return failure(error::kFileNotFound, ENOENT, "File not found: " + file.string());
    }
    if (!fs::is_regular_file(status))
        return driverFailure(EISDIR, "Not a data file: " + file.string());
    return success();
}

// A protected file is readable and writable by its owner and group only (the
// stations of an installation share the data folder through a group), whatever
// the process's umask. SQLite gives the journals (-wal, -shm) the mode of the file.
constexpr mode_t kProtectedMode = 0660;

ErrorState restrictProtected(const fs::path& file) {
    const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, kProtectedMode);
    if (fd < 0)
        return driverFailure(errno, "Cannot create " + file.string() + ": " + std::strerror(errno));
    const bool restricted = ::fchmod(fd, kProtectedMode) == 0;
    const int error = errno;
    ::close(fd);
    if (!restricted)
        return driverFailure(error, "Cannot restrict access to " + file.string() + ": " +
                                        std::strerror(error));
    for (const char* companion : {"-wal", "-shm", "-journal"}) {
        const std::string path = file.string() + companion;
        if (::access(path.c_str(), F_OK) == 0) ::chmod(path.c_str(), kProtectedMode);
    }
    return success();
}

ConnectionRequest connectionRequest(const RecordLayout& layout, const OpenRequest& request,
                                    const fs::path& file) {
    ConnectionRequest c;
    c.file = file;
    c.write = modeWrites(request.mode);
    c.exclusive = modeExclusive(request.mode) && c.write;
    c.options = request.options;
    if (layout.isProtected()) c.password = request.ownerPassword;
    return c;
}

class SqliteBackend final : public Backend {
public:
    ErrorState open(const RecordLayout& layout, const OpenRequest& request,
                    std::unique_ptr<BackendTable>& table) override {
        table.reset();
        // A file taken alone or for a rebuild is never kept, and what this
        // process keeps of it goes first (it would hold the file against itself).
        const bool writes = modeWrites(request.mode);
        const bool keepable = closedFilesKeptFor().count() > 0 && !(modeExclusive(request.mode) && writes) &&
                              !request.repair;
        KeptKey key{request.diskName, {}, &layout, layout.label(), layout.recordSize(), writes,
                    layout.isProtected() ? request.ownerPassword : std::string(), request.options.journal,
                    request.options.sync};
        if (keepable)
            if (std::unique_ptr<SqliteTable> kept = takeKeptTable(key))
                if (kept->resume(identityOf(kept->keptKey()->file), request.options.busyWaitMs)) {
                    table = std::move(kept);
                    return success();
                }
        const fs::path file = databasePath(request.diskName);
        if (ErrorState e = checkPlace(file, false)) return e;
        const ConnectionRequest asked = connectionRequest(layout, request, file);
        if (!keepable) closeKeptFiles(file);
        key.file = file.string();
        const FileIdentity identity = keepable ? identityOf(file) : FileIdentity{};
        Connection connection;
        if (ErrorState e = openConnection(asked, connection)) return e;
        auto opened = std::make_unique<SqliteTable>(layout, std::move(connection),
                                                    request.options.busyWaitMs);
        if (ErrorState e = opened->verify(request.repair, modeWrites(request.mode))) return e;
        if (keepable) opened->keepableAs(key, identity);
        table = std::move(opened);
        return success();
    }

    void close(std::unique_ptr<BackendTable> table) override {
        auto* open = dynamic_cast<SqliteTable*>(table.get());
        if (open) open->endReadSnapshot();
        if (!open || !open->keptKey() || open->inTransaction() || closedFilesKeptFor().count() <= 0) return;
        const KeptKey key = *open->keptKey();
        table.release();
        keepTable(key, std::unique_ptr<SqliteTable>(open));
    }

    ErrorState create(const RecordLayout& layout, const OpenRequest& request) override {
        const fs::path file = databasePath(request.diskName);
        if (ErrorState e = checkPlace(file, true)) return e;
        closeKeptFiles(file);  // the table is made anew
        if (layout.isProtected())
            if (ErrorState e = restrictProtected(file)) return e;
        ConnectionRequest c = connectionRequest(layout, request, file);
        c.write = true;
        c.create = true;
        c.exclusive = false;
        Connection connection;
        if (ErrorState e = openConnection(c, connection)) return e;
        const TableSchema schema(layout);
        if (!schema.nameClash().empty())
            return failure(error::kInvalidDeclaration, 0, schema.nameClash());
        return createTable(connection, schema, request.keepExisting);
    }
};

}  // namespace

Backend& sqliteBackend() {
    static SqliteBackend backend;
    return backend;
}

fs::path databasePath(std::string_view diskName) {
    // Names often come from blank-padded fields: the blanks are not part of the name.
    return platform::hostPath(std::string(platform::clip(diskName)) + ".db");
}

}  // namespace storage::sqlite
