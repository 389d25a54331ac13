// A data file object: its layout, its settable disk name, its record buffer, and
// the storage operations on the file. Each deliverable holds one object per data
// file it owns.
//
// Every operation leaves the error state of the last operation (errorCode() 0 on
// success) and also returns the code. Reading moves through the file in the order
// of a key: set a key to its start or to the key value in the buffer, or reset it
// to a saved position, then read next or previous; the records read land in the
// record buffer and become the current record, which put and remove act on.
#pragma once

#include "storage/backend.h"
#include "storage/errors.h"
#include "storage/record.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace storage {

// One record of a page read for a list: its bytes and its position (by the key
// the page was read in, or by file).
struct PageRow {
    std::vector<std::uint8_t> record;
    std::string position;
};

// A page read in one keyset query, for the browse engine.
struct PageRequest {
    enum class From : std::uint8_t { Start, KeyValue, Position };
    const KeyDef* key = nullptr;  // nullptr: file order (row id)
    From from = From::Start;
    std::string position;  // From::Position
    // The record whose key value starts the page (From::KeyValue) and whose leading
    // components give the range; nullptr = the file's record buffer.
    const Record* value = nullptr;
    Direction direction = Direction::Forward;
    std::size_t count = 1;
    // From::Position: include the record at the position (else start after it).
    // From::KeyValue: include records equal to the value (else strictly beyond).
    bool inclusive = true;
    // Only records whose first `rangeComponents` key components equal the value
    // record's (the children of one parent).
    std::size_t rangeComponents = 0;
    // Only these fields of each record (the key's components are always read);
    // the others come back cleared. nullptr or empty = the whole record.
    const FieldSet* fields = nullptr;
};

class DataFile {
public:
    explicit DataFile(const RecordLayout& layout)
        : layout_(&layout), record_(layout), scratch_(layout), name_(layout.builtInName()) {}
    ~DataFile();
    DataFile(const DataFile&) = delete;
    DataFile& operator=(const DataFile&) = delete;

    const RecordLayout& layout() const { return *layout_; }
    const std::string& label() const { return layout_->label(); }
    Record& record() { return record_; }
    const Record& record() const { return record_; }

    // The disk name ("D:\Data\Firm"), whole however long: the STRING(80) globals
    // that show names to hosts may be cut, the file's own name never is. A name
    // holding a zero byte is refused with 90 when the file is opened or created.
    const std::string& name() const { return name_; }
    void setName(std::string_view name) { name_ = std::string(name); }
    // The owner password of a protected file; without it a protected file does not open.
    void setOwnerPassword(std::string_view password) { ownerPassword_ = std::string(password); }

    // --- Files ---------------------------------------------------------------
    // Access mode: kOpenReadWriteShared (66), kOpenReadOnlyShared (64), or other
    // runtime access-mode bits (deny all / write / read hold the file alone).
    // 52 when this object is already open (it stays open).
    int open(int mode = kOpenReadWriteShared);
    int close();
    bool isOpen() const { return table_ != nullptr; }
    // Creates the file empty (replacing any table it had) and leaves it closed.
    // With `keepExisting` a file that exists by then (another station created it
    // a moment ago) is kept as it is: two stations at a first run never wipe
    // each other's records.
    int create(bool keepExisting = false);
    // Rebuilds every key of the file, open or closed.
    int build();
    // A driver option ("Recover=10"); see driver_options.h. Unknown options give 90.
    int sendOption(std::string_view option);
    // The hint for a sequential scan of the whole file; reading is the same with it.
    void setQuickScan(bool on) { quickScan_ = on; }
    bool quickScan() const { return quickScan_; }

    // --- Records ---------------------------------------------------------------
    int add();     // the buffer as a new record; it becomes the current record
    int put();     // rewrites the current record (89 when watched and changed meanwhile)
    int remove();  // deletes the current record
    int get(const KeyDef& key);            // the first record whose key equals the buffer's
    int reget(std::string_view position);  // the record at a position (by file or key)
    // Positions of the current record: by file (its row id), or by key (the key
    // value in the buffer and the row id). Empty, with 33, when there is none.
    std::string position();
    std::string position(const KeyDef& key);
    // Forgets the current record (the buffer keeps its contents).
    void clearCurrent();
    // The current record with its watch, to put back after a look-up that read
    // other records of this file (a selection list over the same file): the
    // watch keeps the version the form read, so a change another station made
    // meanwhile is still detected on save.
    struct Current {
        std::int64_t row = 0;
        std::optional<std::int64_t> version;
        bool watched = false;
        bool watchNext = false;
    };
    Current current() const { return {currentRow_, currentVersion_, watched_, watchNext_}; }
    void restoreCurrent(const Current& current);
    bool hasCurrent() const { return currentRow_ != 0; }

    // --- Sequential reading ----------------------------------------------------
    int set();                             // file order, from the start
    int set(const KeyDef& key);            // the start (or, reading backward, the end) of a key
    int setToValue(const KeyDef& key);     // the key value in the buffer: next reads the first
                                           // record at or after it, previous the last at or before
    int reset(std::string_view position);  // file order, at the position
    int reset(const KeyDef& key,
              std::string_view position);  // key order, at the position:
                                           // the next read returns that record if it still exists
    int next();                            // 33 after the last record
    int previous();                        // 33 before the first record

    // Whether the buffer's value in a unique key belongs to another record than
    // the current one. False for a non-unique key; false with an error on failure.
    bool duplicates(const KeyDef& key);

    // Change detection: the current record (if any) and the next record read are
    // watched; a put of a watched record that another station rewrote fails with 89.
    int watch();

    // Transactions: without one every write commits at once. rollback() with no
    // transaction in progress does nothing.
    int begin();
    int commit();
    int rollback();
    // Rolls back any transaction in progress after a failed write, keeping the
    // error of that write as the last error.
    void abandon();

    // Whether a transaction begun on this file also spans `other` (both open on
    // one database server). Both must be open.
    bool sharesTransactionWith(const DataFile& other) const;
    // Entries held in this file for another one (its journal), written inside this
    // file's transaction; storage/journaled_write.h uses them. `target` names the
    // other file (its disk name).
    int holdEntry(const std::string& target, const Record& entry, std::int64_t& id);
    int heldEntries(const std::string& target, std::vector<HeldEntry>& entries);
    int dropHeldEntry(std::int64_t id);
    // One read snapshot for a run of reads (storage/backend.h); a closed file
    // ignores both. End it soon: a snapshot held keeps the write-ahead journal
    // from being folded back into the file.
    void beginReadSnapshot();
    void endReadSnapshot();
    // Where the open file stands (storage/backend.h); nothing when closed or
    // when its backend cannot tell.
    std::optional<ChangeStamp> changeStamp();

    // A page for a list: up to `count` records from the request's start, without
    // touching the buffer, the current record or the sequential position.
    int readPage(const PageRequest& request, std::vector<PageRow>& rows);

    // --- Error of the last operation ---------------------------------------------
    int errorCode() const { return error_.code; }
    const std::string& errorText() const { return error_.text; }
    int driverErrorCode() const { return error_.driverCode; }
    const std::string& driverErrorText() const { return error_.driverText; }
    const ErrorState& lastError() const { return error_; }

private:
    struct Cursor {
        enum class Kind : std::uint8_t {
            None,
            Start,
            Value,
            Position,
            After,
            PastEnd,
            BeforeStart
        };
        Kind kind = Kind::None;
        int key = -1;
        KeyValue value;
        std::int64_t rowId = 0;
    };

    int finish(ErrorState error);
    bool requireOpen();
    int keyIndex(const KeyDef& key) const;  // -1 when the key is not one of this layout's
    OpenRequest openRequest(int mode) const;
    int read(Direction direction);
    void load(const StoredRow& row);
    std::string positionOf(int key, std::int64_t rowId, const Record& record) const;
    std::string positionOfStored(int key, const StoredRow& row);
    // The anchor of a position for a key: its key value, or the stored record's.
    ErrorState anchorAt(int key, std::string_view position, Anchor& anchor);

    const RecordLayout* layout_;
    Record record_;
    Record scratch_;  // converts stored rows without touching the buffer
    std::string name_;
    std::string ownerPassword_;
    std::vector<std::string> sentOptions_;
    std::unique_ptr<BackendTable> table_;
    ErrorState error_;
    Cursor cursor_;
    std::int64_t currentRow_ = 0;
    std::optional<std::int64_t> currentVersion_;  // unknown after an unwatched put
    bool watchNext_ = false;
    bool watched_ = false;
    bool quickScan_ = false;
};

}  // namespace storage
