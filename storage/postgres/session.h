// The connection of a process to one database server: every data file of the same
// server address shares it (one server process per station, whatever the number
// of open files). It connects on first use, stays connected until the program
// ends, and connects again on the next use after the connection was lost: the
// operation that met the loss fails with 90 naming the server, and the next one
// reconnects.
//
// Statements go only through the extended protocol with parameters: each text is
// prepared once per connection and then executed with its values, so no value is
// ever pasted into SQL. The only texts built at run time are identifiers derived
// from the record layouts, always quoted.
#pragma once

#include "storage/errors.h"
#include "storage/postgres/server_address.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

struct pg_conn;
struct pg_result;

namespace storage::postgres {

// One parameter of a statement: text, or raw bytes (bytea) sent as binary.
struct Param {
    std::string value;
    bool binary = false;
    bool null = false;
};
using Params = std::vector<Param>;

Param textParam(std::string text);
Param integerParam(std::int64_t value);
Param bytesParam(std::string bytes);

// The rows of a result, every value in the server's text form.
class Rows {
public:
    Rows() = default;
    explicit Rows(pg_result* result) : result_(result) {}
    ~Rows();
    Rows(Rows&& other) noexcept : result_(other.result_) { other.result_ = nullptr; }
    Rows& operator=(Rows&& other) noexcept;
    Rows(const Rows&) = delete;
    Rows& operator=(const Rows&) = delete;

    int count() const;
    int columns() const;
    bool isNull(int row, int column) const;
    std::string_view text(int row, int column) const;
    std::int64_t integer(int row, int column) const;  // 0 when null
    bool boolean(int row, int column) const;          // "t"
    std::string bytes(int row, int column) const;     // a bytea value, decoded

private:
    pg_result* result_ = nullptr;
};

class Session {
public:
    // The session that every file of this server shares in this process.
    static std::shared_ptr<Session> shared(const ServerSettings& server);
    // A session of its own, shared with nobody (administration, tests).
    static std::shared_ptr<Session> separate(const ServerSettings& server);

    explicit Session(ServerSettings server);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    const ServerSettings& server() const { return server_; }
    // Held around each storage operation: one statement at a time on the connection.
    std::recursive_mutex& mutex() { return mutex_; }

    // Connects unless connected; 90 naming the server when it cannot.
    ErrorState connect();
    bool connected() const;
    void disconnect();

    // A statement with parameters, prepared once per connection.
    ErrorState run(const std::string& sql, const Params& params, Rows* rows,
                   std::string_view doing);
    // A write: inside a transaction it runs under a savepoint, so a refused write
    // (40, 32) leaves the transaction usable, as on the embedded backend.
    ErrorState write(const std::string& sql, const Params& params, Rows* rows,
                     std::string_view doing);
    // Statements without parameters (BEGIN, DDL), in the simple protocol; the rows
    // of the last one when asked for.
    ErrorState command(const std::string& sql, std::string_view doing, Rows* rows = nullptr);
    // `work`, an operation that writes nothing (opening, reading, positioning), run
    // once more on a new connection when it found the connection lost outside a
    // transaction (a server restart, a dropped link): nothing went with it. A
    // write is never retried: it may have happened.
    ErrorState unchanging(const std::function<ErrorState()>& work);
    // `work` under a savepoint when a transaction is in progress: when it fails,
    // what it did is undone and the transaction goes on.
    ErrorState guarded(const std::function<ErrorState()>& work);

    // How long a statement waits for a lock another station holds (lock_timeout);
    // sent only when it changes. 0 waits as little as the server can (1 ms).
    ErrorState setLockWait(int milliseconds);

    // One transaction for the whole session: it spans every file of this server
    // that the process has open. `starter` names who began it (see startedBy).
    bool inTransaction() const;
    ErrorState begin(const void* starter = nullptr);
    bool startedBy(const void* starter) const { return inTransaction() && starter_ == starter; }
    ErrorState commit();
    ErrorState rollback();

    // Holding a file while it is open: shared by every station that opens it, or
    // alone (the deny modes). Kept as session advisory locks on the server, so a
    // station that stops releases them with its connection; taken again after a
    // reconnect. 32 when another station (or, for holding alone, another file object
    // of this process) holds the file in a conflicting way beyond the wait.
    ErrorState holdFile(std::int64_t key, bool alone, int waitMs);
    void releaseFile(std::int64_t key, bool alone);
    // Holding a file alone for a moment, to replace it: 32 when another station has
    // it open; file objects of this process may have it open.
    ErrorState holdForReplacing(std::int64_t key, int waitMs);
    void releaseAfterReplacing(std::int64_t key);

private:
    struct Holds {
        int shared = 0;
        int alone = 0;
    };
    ErrorState connectionLost(const pg_result* result, std::string_view doing);
    ErrorState execute(const std::string& sql, const Params& params, Rows* rows,
                       std::string_view doing, bool retried);
    ErrorState takeServerLock(std::int64_t key, bool alone, bool wait);
    void takeHeldLocksAgain();

    ServerSettings server_;
    std::recursive_mutex mutex_;
    pg_conn* connection_ = nullptr;
    std::unordered_map<std::string, std::string> prepared_;  // SQL text -> statement name
    std::uint64_t nextStatement_ = 0;
    bool lost_ = false;              // an operation found the connection lost
    std::optional<int> lockWaitMs_;  // unknown after connecting or rolling back
    const void* starter_ = nullptr;
    std::map<std::int64_t, Holds> holds_;
};

// The key under which a table is held: a 64-bit hash of schema and table.
std::int64_t fileLockKey(std::string_view schema, std::string_view table);

}  // namespace storage::postgres
