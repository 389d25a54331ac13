#include "storage/postgres/session.h"

#include "storage/postgres/pg_errors.h"

#include <libpq-fe.h>

#include <algorithm>
#include <charconv>
#include <cstdlib>

namespace storage::postgres {

// --- Parameters and rows ----------------------------------------------------------

Param textParam(std::string text) { return Param{std::move(text), false, false}; }
Param integerParam(std::int64_t value) { return Param{std::to_string(value), false, false}; }
Param bytesParam(std::string bytes) { return Param{std::move(bytes), true, false}; }

Rows::~Rows() { PQclear(result_); }

Rows& Rows::operator=(Rows&& other) noexcept {
    if (this != &other) {
        PQclear(result_);
        result_ = other.result_;
        other.result_ = nullptr;
    }
    return *this;
}

int Rows::count() const { return result_ ? PQntuples(result_) : 0; }

int Rows::columns() const { return result_ ? PQnfields(result_) : 0; }

bool Rows::isNull(int row, int column) const { return PQgetisnull(result_, row, column) != 0; }

std::string_view Rows::text(int row, int column) const {
    return std::string_view(PQgetvalue(result_, row, column),
                            static_cast<std::size_t>(PQgetlength(result_, row, column)));
}

std::int64_t Rows::integer(int row, int column) const {
    const std::string_view t = text(row, column);
    std::int64_t value = 0;
    std::from_chars(t.data(), t.data() + t.size(), value);
    return value;
}

bool Rows::boolean(int row, int column) const { return text(row, column) == "t"; }

std::string Rows::bytes(int row, int column) const {
    if (isNull(row, column)) return {};
    std::size_t length = 0;
    unsigned char* raw = PQunescapeBytea(
        reinterpret_cast<const unsigned char*>(PQgetvalue(result_, row, column)), &length);
    if (!raw) return {};
    std::string out(reinterpret_cast<const char*>(raw), length);
    PQfreemem(raw);
    return out;
}

// --- Sessions -------------------------------------------------------------------------

namespace {

constexpr char kWriteSavepoint[] = "tarvo_write";

void ignoreNotice(void*, const char*) {}

// The engine sends text as UTF-8; a database in an encoding without Cyrillic
// would refuse or garble it, and SQL_ASCII would count field widths in bytes.
bool encodingHoldsTheText(const char* encoding) {
    if (!encoding) return true;
    const std::string_view e(encoding);
    return e == "UTF8" || e == "WIN1251";
}

}  // namespace

std::shared_ptr<Session> Session::shared(const ServerSettings& server) {
    // Kept for the life of the process: files open and close with every list and
    // form, and connecting costs far more than an idle connection.
    static std::mutex registryMutex;
    static std::map<std::string, std::shared_ptr<Session>> registry;
    std::lock_guard lock(registryMutex);
    std::shared_ptr<Session>& slot = registry[server.display()];
    if (!slot) slot = std::make_shared<Session>(server);
    return slot;
}

std::shared_ptr<Session> Session::separate(const ServerSettings& server) {
    return std::make_shared<Session>(server);
}

Session::Session(ServerSettings server) : server_(std::move(server)) {}

Session::~Session() { disconnect(); }

bool Session::connected() const { return connection_ && PQstatus(connection_) == CONNECTION_OK; }

void Session::disconnect() {
    if (connection_) PQfinish(connection_);
    connection_ = nullptr;
    prepared_.clear();
    lockWaitMs_.reset();
}

ErrorState Session::connect() {
    if (connected()) return success();
    disconnect();

    std::vector<const char*> keys, values;
    auto add = [&](const char* key, const std::string& value) {
        if (value.empty()) return;
        keys.push_back(key);
        values.push_back(value.c_str());
    };
    static const std::string kApplication = "tarvo", kEncoding = "UTF8", kTimeout = "10";
    add("host", server_.host);
    add("port", server_.port);
    add("dbname", server_.database);
    add("user", server_.user);
    add("fallback_application_name", kApplication);
    add("client_encoding", kEncoding);
    // A server that does not answer at all should not hold the station for the
    // system's TCP timeout; PGCONNECT_TIMEOUT overrides.
    if (!std::getenv("PGCONNECT_TIMEOUT")) add("connect_timeout", kTimeout);
    keys.push_back(nullptr);
    values.push_back(nullptr);

    connection_ = PQconnectdbParams(keys.data(), values.data(), 0);
    if (!connection_ || PQstatus(connection_) != CONNECTION_OK) {
        const std::string message =
            oneLine(connection_ ? PQerrorMessage(connection_) : "out of memory");
        disconnect();
        return driverFailure(sqlstateCode("08001"), "Cannot connect to the database server " +
                                                        server_.display() + ": " + message);
    }
    PQsetNoticeProcessor(connection_, ignoreNotice, nullptr);
    const char* encoding = PQparameterStatus(connection_, "server_encoding");
    if (!encodingHoldsTheText(encoding)) {
        const std::string name = encoding;
        disconnect();
        return driverFailure(0, "The database " + server_.display() + " is encoded in " + name +
                                    "; it must be created with ENCODING 'UTF8'");
    }
    takeHeldLocksAgain();
    return success();
}

ErrorState Session::connectionLost(const pg_result* result, std::string_view doing) {
    ErrorState e = errorFromResult(result, connection_ ? PQerrorMessage(connection_) : "", doing);
    if (connection_ && PQstatus(connection_) != CONNECTION_OK) {
        // The operation fails; the next one connects again.
        std::string text = e.driverText;
        disconnect();
        lost_ = true;
        return driverFailure(sqlstateCode("08006"), "Lost the connection to the database server " +
                                                        server_.display() + ": " + text);
    }
    return e;
}

ErrorState Session::run(const std::string& sql, const Params& params, Rows* rows,
                        std::string_view doing) {
    return execute(sql, params, rows, doing, false);
}

ErrorState Session::execute(const std::string& sql, const Params& params, Rows* rows,
                            std::string_view doing, bool retried) {
    if (ErrorState e = connect()) return e;
    std::string name;
    if (auto it = prepared_.find(sql); it != prepared_.end()) {
        name = it->second;
    } else {
        name = "tarvo_" + std::to_string(++nextStatement_);
        PGresult* prepared = PQprepare(connection_, name.c_str(), sql.c_str(), 0, nullptr);
        if (!prepared || PQresultStatus(prepared) != PGRES_COMMAND_OK) {
            ErrorState e = connectionLost(prepared, doing);
            PQclear(prepared);
            return e;
        }
        PQclear(prepared);
        prepared_.emplace(sql, name);
    }

    std::vector<const char*> values(params.size());
    std::vector<int> lengths(params.size()), formats(params.size());
    for (std::size_t i = 0; i < params.size(); ++i) {
        values[i] = params[i].null ? nullptr : params[i].value.data();
        lengths[i] = static_cast<int>(params[i].value.size());
        formats[i] = params[i].binary ? 1 : 0;
    }
    PGresult* result = PQexecPrepared(connection_, name.c_str(), static_cast<int>(params.size()),
                                      values.data(), lengths.data(), formats.data(), 0);
    const ExecStatusType status = result ? PQresultStatus(result) : PGRES_FATAL_ERROR;
    if (status == PGRES_TUPLES_OK || status == PGRES_COMMAND_OK) {
        if (rows)
            *rows = Rows(result);
        else
            PQclear(result);
        return success();
    }
    // A statement dropped behind the engine's back (DISCARD ALL by a pooler), or
    // one whose table was replaced with other column types, is prepared again, once.
    const char* state = result ? PQresultErrorField(result, PG_DIAG_SQLSTATE) : nullptr;
    if (!retried && state && !inTransaction() &&
        (std::string_view(state) == "26000" || std::string_view(state) == "0A000")) {
        PQclear(result);
        command("DEALLOCATE " + std::string("\"") + name + "\"", {});
        prepared_.erase(sql);
        return execute(sql, params, rows, doing, true);
    }
    ErrorState e = connectionLost(result, doing);
    PQclear(result);
    return e;
}

ErrorState Session::command(const std::string& sql, std::string_view doing, Rows* rows) {
    if (ErrorState e = connect()) return e;
    PGresult* result = PQexec(connection_, sql.c_str());
    const ExecStatusType status = result ? PQresultStatus(result) : PGRES_FATAL_ERROR;
    if (status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK) {
        if (rows)
            *rows = Rows(result);
        else
            PQclear(result);
        return success();
    }
    ErrorState e = connectionLost(result, doing);
    PQclear(result);
    return e;
}

ErrorState Session::write(const std::string& sql, const Params& params, Rows* rows,
                          std::string_view doing) {
    return guarded([&] { return run(sql, params, rows, doing); });
}

ErrorState Session::unchanging(const std::function<ErrorState()>& work) {
    const bool retry = !inTransaction();
    lost_ = false;
    ErrorState e = work();
    if (!e || !retry || !lost_) return e;
    lost_ = false;
    return work();
}

ErrorState Session::guarded(const std::function<ErrorState()>& work) {
    if (!inTransaction()) return work();
    const std::string name(kWriteSavepoint);
    if (ErrorState e = command("SAVEPOINT " + name, {})) return e;
    ErrorState e = work();
    if (!e) return command("RELEASE SAVEPOINT " + name, {});
    if (connected()) {
        command("ROLLBACK TO SAVEPOINT " + name, {});
        command("RELEASE SAVEPOINT " + name, {});
        lockWaitMs_.reset();  // a setting made under the savepoint went with it
    }
    return e;
}

ErrorState Session::setLockWait(int milliseconds) {
    const int wait = std::max(milliseconds, 1);  // 0 would mean "wait for ever"
    if (lockWaitMs_ == wait && connected()) return success();
    if (ErrorState e =
            run("SELECT set_config('lock_timeout', $1, false)",
                {textParam(std::to_string(wait) + "ms")}, nullptr, "setting the lock wait"))
        return e;
    lockWaitMs_ = wait;
    return success();
}

bool Session::inTransaction() const {
    if (!connection_) return false;
    const PGTransactionStatusType status = PQtransactionStatus(connection_);
    return status == PQTRANS_INTRANS || status == PQTRANS_INERROR;
}

ErrorState Session::begin(const void* starter) {
    if (inTransaction()) return success();
    if (ErrorState e = command("BEGIN", "starting a transaction")) return e;
    starter_ = starter;
    return success();
}

ErrorState Session::commit() {
    if (!inTransaction()) return success();
    const bool failed = PQtransactionStatus(connection_) == PQTRANS_INERROR;
    if (ErrorState e = command("COMMIT", "committing")) return e;
    if (failed) {
        // The server rolls back a transaction that met an error.
        lockWaitMs_.reset();
        return driverFailure(sqlstateCode("25P02"),
                             "The transaction met an error earlier and was rolled back");
    }
    return success();
}

ErrorState Session::rollback() {
    if (!inTransaction()) return success();
    lockWaitMs_.reset();
    return command("ROLLBACK", "rolling back");
}

// --- Holding files ------------------------------------------------------------------------

ErrorState Session::takeServerLock(std::int64_t key, bool alone, bool wait) {
    const char* sql = nullptr;
    if (wait)
        sql = alone ? "SELECT pg_advisory_lock($1)" : "SELECT pg_advisory_lock_shared($1)";
    else
        sql = alone ? "SELECT pg_try_advisory_lock($1)" : "SELECT pg_try_advisory_lock_shared($1)";
    Rows rows;
    if (ErrorState e = write(sql, {integerParam(key)}, &rows, "opening")) return e;
    if (!wait && !(rows.count() == 1 && rows.boolean(0, 0))) return failure(error::kFileLocked);
    return success();
}

ErrorState Session::holdFile(std::int64_t key, bool alone, int waitMs) {
    Holds& holds = holds_[key];
    if (holds.alone > 0 || (alone && holds.shared > 0))
        return failure(error::kFileLocked, 0,
                       "The file is held alone by this station, or open here while it is asked "
                       "for alone");
    if (holds.shared == 0) {
        if (waitMs > 0)
            if (ErrorState e = setLockWait(waitMs)) return e;
        if (ErrorState e = takeServerLock(key, alone, waitMs > 0)) {
            if (e.code == error::kFileLocked)
                e.driverText = "Another station holds the file" +
                               std::string(alone ? " open" : " alone") +
                               (e.driverText.empty() ? "" : ": " + e.driverText);
            return e;
        }
    }
    ++(alone ? holds.alone : holds.shared);
    return success();
}

void Session::releaseFile(std::int64_t key, bool alone) {
    auto it = holds_.find(key);
    if (it == holds_.end()) return;
    int& count = alone ? it->second.alone : it->second.shared;
    if (count > 0) --count;
    if (it->second.alone + it->second.shared > 0) return;
    holds_.erase(it);
    if (!connected()) return;  // the server let go with the connection
    run(alone ? "SELECT pg_advisory_unlock($1)" : "SELECT pg_advisory_unlock_shared($1)",
        {integerParam(key)}, nullptr, "closing");
}

ErrorState Session::holdForReplacing(std::int64_t key, int waitMs) {
    if (waitMs > 0)
        if (ErrorState e = setLockWait(waitMs)) return e;
    ErrorState e = takeServerLock(key, true, waitMs > 0);
    if (e.code == error::kFileLocked)
        e.driverText = "Another station has the file open" +
                       (e.driverText.empty() ? std::string() : ": " + e.driverText);
    return e;
}

void Session::releaseAfterReplacing(std::int64_t key) {
    if (connected()) run("SELECT pg_advisory_unlock($1)", {integerParam(key)}, nullptr, "creating");
}

void Session::takeHeldLocksAgain() {
    for (const auto& [key, holds] : holds_)
        if (holds.alone + holds.shared > 0) takeServerLock(key, holds.alone > 0, false);
}

std::int64_t fileLockKey(std::string_view schema, std::string_view table) {
    std::uint64_t hash = 0xcbf29ce484222325ull;  // FNV-1a
    auto mix = [&](std::string_view text) {
        for (unsigned char c : text) {
            hash ^= c;
            hash *= 0x100000001b3ull;
        }
    };
    mix("tarvo file ");
    mix(schema);
    mix(".");
    mix(table);
    return static_cast<std::int64_t>(hash);
}

}  // namespace storage::postgres
