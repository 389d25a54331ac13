// The interface between data file objects and a database. A backend stores each
// data file as one table (one column per field, a hidden row id, a version and
// upper-cased key columns) and reads it in key order with keyset queries. The
// data file object keeps the record buffer, the current record, the sequential
// position and the watch; a backend only answers these primitive requests, so a
// second database (PostgreSQL for many workstations) plugs in without touching the
// data file object, and one conformance suite covers every backend.
#pragma once

#include "storage/driver_options.h"
#include "storage/errors.h"
#include "storage/key_value.h"
#include "storage/record.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace storage {

// Access-mode bits of the runtime: low nibble 0 read only, 1 write only, 2 read and
// write; high nibble 0x00 compatibility, 0x10 deny all, 0x20 deny write, 0x30 deny
// read, 0x40 deny none.
constexpr int kOpenReadWriteShared = 0x42;  // 66
constexpr int kOpenReadOnlyShared = 0x40;   // 64

inline bool modeWrites(int mode) { return (mode & 0x0F) != 0; }
// Deny all, deny write and deny read all give the opener the file to itself.
inline bool modeExclusive(int mode) {
    const int share = mode & 0xF0;
    return share == 0x10 || share == 0x20 || share == 0x30;
}

// One stored record: its row id (the file position), its version (0 or negative
// for a row written by another tool and not yet completed by the engine) and its
// bytes.
struct StoredRow {
    std::int64_t rowId = 0;
    std::int64_t version = 0;
    std::vector<std::uint8_t> bytes;
};

// Where an open file stands: equal stamps of one file mean nothing was written
// to it in between, by this process or another (see BackendTable::changeStamp).
struct ChangeStamp {
    std::uint64_t opening = 0;  // which opening of the file (a new one starts afresh)
    std::int64_t others = 0;    // commits of other connections, as the file counts them
    std::uint64_t own = 0;      // writes through this opening
    bool operator==(const ChangeStamp&) const = default;
};

// An entry held in one file for another (see BackendTable::holdEntry).
struct HeldEntry {
    std::int64_t id = 0;
    std::vector<std::uint8_t> bytes;
};

enum class Direction : std::uint8_t { Forward, Backward };

// Where a keyset read begins. Forward reads take records at or after the anchor,
// backward reads records at or before it:
//   Start     the first (forward) or last (backward) record;
//   Value     records whose key is >= (<=) the value; all of a run of equal values;
//   Position  records at or after (before) the record of the value and row id;
//   After     records strictly after (before) that record.
struct Anchor {
    enum class Kind : std::uint8_t { Start, Value, Position, After };
    Kind kind = Kind::Start;
    KeyValue value;
    std::int64_t rowId = 0;
};

// The fields a page reads, as indexes into the layout, ascending, each once. A
// list that shows a few fields of a wide record reads only those: the other
// fields of its rows come back cleared (0, blanks).
using FieldSet = std::vector<std::size_t>;

struct PageQuery {
    int key = -1;  // index of the key in the layout; -1 = file order (row id)
    Anchor anchor;
    Direction direction = Direction::Forward;
    std::size_t limit = 1;
    // When not empty: only records whose leading key components equal these
    // values (a list limited to the children of one parent).
    KeyValue range;
    // Only these fields (they include the key's components); nullptr or empty =
    // the whole record. The rows' versions are then not read (0).
    const FieldSet* fields = nullptr;
};

struct OpenRequest {
    std::string diskName;  // the system's name ("D:\Data\MOL"), not translated
    int mode = kOpenReadWriteShared;
    DriverOptions options;
    std::string ownerPassword;  // used for protected layouts; empty = none given
    bool repair = false;        // open for rebuilding the keys: damaged keys are no error
    // create: a file that another station made meanwhile is kept, not replaced.
    bool keepExisting = false;
};

// One open data file.
class BackendTable {
public:
    virtual ~BackendTable() = default;

    // Up to query.limit records in key order from the anchor (33 never; an empty
    // result is the end of the file).
    virtual ErrorState readPage(const PageQuery& query, std::vector<StoredRow>& rows) = 0;
    // The record with this row id; 35 when there is none.
    virtual ErrorState fetch(std::int64_t rowId, StoredRow& row) = 0;
    // The first record (in key order, ties by row id) whose key equals the value; 35.
    virtual ErrorState findEqual(int key, const KeyValue& value, StoredRow& row) = 0;
    // Whether a record other than `exceptRowId` holds the value in the key.
    virtual ErrorState exists(int key, const KeyValue& value, std::int64_t exceptRowId,
                              bool& found) = 0;

    // Adds a record: fills the new row id and version. 40 on a unique key.
    virtual ErrorState insert(const Record& record, std::int64_t& rowId, std::int64_t& version) = 0;
    // Rewrites a record. With a watched version the write happens only if the
    // stored version is still that one (89 otherwise). 35 when the row is gone,
    // 40 on a unique key. `version` receives the new version when known, else 0.
    virtual ErrorState update(std::int64_t rowId, const Record& record, const std::int64_t* watched,
                              std::int64_t& version) = 0;
    virtual ErrorState erase(std::int64_t rowId) = 0;

    // Explicit transactions; without one every write commits at once.
    virtual ErrorState begin() = 0;
    virtual ErrorState commit() = 0;
    virtual ErrorState rollback() = 0;  // 0 with no transaction in progress
    virtual bool inTransaction() const = 0;

    virtual ErrorState applyOptions(const DriverOptions& options) = 0;
    // Rebuilds every key (and the key columns) of the file.
    virtual ErrorState rebuildKeys() = 0;

    // Tables with the same scope share their transactions: one begun on either
    // spans both (the files of one database server). A file of its own is its
    // own scope.
    virtual const void* transactionScope() const { return this; }

    // Entries held for another file (its journal), kept in this file's own
    // database and written in this file's transaction: see storage/journaled_write.h.
    // A backend whose files share transactions needs none and refuses them (90).
    virtual ErrorState holdEntry(const std::string& target, const std::vector<std::uint8_t>& bytes,
                                 std::int64_t& id);
    virtual ErrorState heldEntries(const std::string& target, std::vector<HeldEntry>& entries);
    virtual ErrorState dropHeldEntry(std::int64_t id);

    // A run of reads under one read snapshot (a list's page and its look-ups):
    // the read lock is taken once instead of at every statement, and the run
    // sees one state of the file. Any write, or a transaction begun, ends it
    // first. Not a transaction: inTransaction() stays false. Nothing by default.
    virtual ErrorState beginReadSnapshot() { return success(); }
    virtual void endReadSnapshot() {}

    // Where the file stands now, for what a process keeps of its records (a
    // list's looked-up names): nothing when the backend cannot tell.
    virtual std::optional<ChangeStamp> changeStamp() { return std::nullopt; }
};

class Backend {
public:
    virtual ~Backend() = default;
    // 2 when the file does not exist, 47 when its table does not match the layout,
    // 46 when its keys are damaged (unless opening for repair), 32 when locked.
    virtual ErrorState open(const RecordLayout& layout, const OpenRequest& request,
                            std::unique_ptr<BackendTable>& table) = 0;
    // Creates the file empty, replacing the table if the file exists.
    virtual ErrorState create(const RecordLayout& layout, const OpenRequest& request) = 0;
    // A file closed: its table goes (or is kept a moment, see storage/kept_files.h).
    virtual void close(std::unique_ptr<BackendTable> table) { table.reset(); }
};

// The backend that stores files under this disk name: a database server address
// ("postgresql://...") or a path of the SQLite backend.
Backend& backendFor(std::string_view diskName);

}  // namespace storage
