#include "storage/data_file.h"

#include "storage/key_value.h"
#include "storage/position.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>

namespace storage {

DataFile::~DataFile() { close(); }

int DataFile::finish(ErrorState error) {
    error_ = std::move(error);
    return error_.code;
}

bool DataFile::requireOpen() {
    if (table_) return true;
    finish(driverFailure(0, "File is not open: " + name_));
    return false;
}

int DataFile::keyIndex(const KeyDef& key) const {
    const auto& keys = layout_->keys();
    for (std::size_t i = 0; i < keys.size(); ++i)
        if (&keys[i] == &key) return static_cast<int>(i);
    // A key of another view of the same file (MOD for MOL) is recognised by its
    // name without the prefix.
    auto bare = [](const std::string& name) {
        const std::size_t colon = name.find(':');
        return upperAsciiName(colon == std::string::npos ? name : name.substr(colon + 1));
    };
    for (std::size_t i = 0; i < keys.size(); ++i)
        if (bare(keys[i].name) == bare(key.name)) return static_cast<int>(i);
    return -1;
}

OpenRequest DataFile::openRequest(int mode) const {
    OpenRequest request;
    request.diskName = name_;
    request.mode = mode;
    request.options = defaultDriverOptions();
    for (const std::string& option : sentOptions_) applyDriverOption(request.options, option);
    request.ownerPassword = ownerPassword_;
    return request;
}

// --- Files -------------------------------------------------------------------

namespace {

// No file system and no database server holds a zero byte in a name; cutting the
// name there could open another file. A file never named (a layout without a
// built-in name, before the program gave it its place) would become ".db" in the
// current folder: refused instead.
ErrorState checkName(const std::string& name) {
    if (name.find_first_not_of(' ') == std::string::npos)
        return failure(error::kFileNotFound, ENOENT, "The data file has no name");
    const std::size_t zero = name.find('\0');
    if (zero == std::string::npos) return success();
    return driverFailure(0, "The file name " + name.substr(0, zero) +
                                "... holds a zero byte, which no file name may hold");
}

}  // namespace

int DataFile::open(int mode) {
    if (table_) return finish(failure(error::kFileAlreadyOpen));
    if (ErrorState e = checkName(name_)) return finish(e);
    std::unique_ptr<BackendTable> table;
    if (ErrorState e = backendFor(name_).open(*layout_, openRequest(mode), table)) return finish(e);
    table_ = std::move(table);
    cursor_ = {};
    clearCurrent();
    watchNext_ = false;
    return finish(success());
}

int DataFile::close() {
    if (table_) backendFor(name_).close(std::move(table_));
    cursor_ = {};
    clearCurrent();
    watchNext_ = false;
    return finish(success());
}

int DataFile::create(bool keepExisting) {
    close();
    if (ErrorState e = checkName(name_)) return finish(e);
    OpenRequest request = openRequest(kOpenReadWriteShared);
    request.keepExisting = keepExisting;
    return finish(backendFor(name_).create(*layout_, request));
}

int DataFile::build() {
    if (table_) return finish(table_->rebuildKeys());
    if (ErrorState e = checkName(name_)) return finish(e);
    OpenRequest request = openRequest(kOpenReadWriteShared);
    request.repair = true;
    std::unique_ptr<BackendTable> table;
    if (ErrorState e = backendFor(name_).open(*layout_, request, table)) return finish(e);
    return finish(table->rebuildKeys());
}

int DataFile::sendOption(std::string_view option) {
    DriverOptions probe;
    if (!applyDriverOption(probe, option))
        return finish(driverFailure(0, "Unknown driver option: " + std::string(option)));
    sentOptions_.emplace_back(option);
    if (table_) return finish(table_->applyOptions(openRequest(kOpenReadWriteShared).options));
    return finish(success());
}

// --- Records -----------------------------------------------------------------

void DataFile::load(const StoredRow& row) {
    record_.assign(row.bytes);
    currentRow_ = row.rowId;
    currentVersion_ = row.version;
    watched_ = watchNext_;
    watchNext_ = false;
}

void DataFile::clearCurrent() {
    currentRow_ = 0;
    currentVersion_.reset();
    watched_ = false;
}

int DataFile::add() {
    if (!requireOpen()) return error_.code;
    std::int64_t rowId = 0, version = 0;
    if (ErrorState e = table_->insert(record_, rowId, version)) return finish(e);
    currentRow_ = rowId;
    currentVersion_ = version;
    watched_ = false;
    return finish(success());
}

int DataFile::put() {
    if (!requireOpen()) return error_.code;
    if (!currentRow_) return finish(failure(error::kRecordNotAvailable));
    const std::int64_t* watchedVersion = watched_ && currentVersion_ ? &*currentVersion_ : nullptr;
    std::int64_t version = 0;
    if (ErrorState e = table_->update(currentRow_, record_, watchedVersion, version))
        return finish(e);
    if (watchedVersion)
        currentVersion_ = version;
    else
        currentVersion_.reset();
    return finish(success());
}

int DataFile::remove() {
    if (!requireOpen()) return error_.code;
    if (!currentRow_) return finish(failure(error::kRecordNotAvailable));
    if (ErrorState e = table_->erase(currentRow_)) return finish(e);
    clearCurrent();
    return finish(success());
}

int DataFile::get(const KeyDef& key) {
    if (!requireOpen()) return error_.code;
    const int k = keyIndex(key);
    if (k < 0) return finish(driverFailure(0, "Key " + key.name + " is not a key of " + label()));
    StoredRow row;
    if (ErrorState e = table_->findEqual(k, keyValueOf(record_, layout_->keys()[k]), row))
        return finish(e);
    load(row);
    return finish(success());
}

int DataFile::reget(std::string_view position) {
    if (!requireOpen()) return error_.code;
    const std::optional<Position> p = decodePosition(position);
    if (!p) return finish(failure(error::kRecordNotFound));
    StoredRow row;
    if (ErrorState e = table_->fetch(p->rowId, row)) return finish(e);
    load(row);
    return finish(success());
}

std::string DataFile::positionOf(int key, std::int64_t rowId, const Record& record) const {
    Position p;
    p.key = key;
    p.rowId = rowId;
    if (key >= 0) p.value = keyValueOf(record, layout_->keys()[static_cast<std::size_t>(key)]);
    return encodePosition(p);
}

std::string DataFile::positionOfStored(int key, const StoredRow& row) {
    if (key < 0) return positionOf(key, row.rowId, record_);
    // Only the key's fields are read: only they are copied (a wide record's
    // row is a kilobyte, its key a few dozen bytes).
    const KeyDef& k = layout_->keys()[static_cast<std::size_t>(key)];
    if (row.bytes.size() != layout_->recordSize()) {
        scratch_.assign(row.bytes);
    } else {
        for (std::size_t component : k.components) {
            const FieldDef& f = layout_->fields()[component];
            std::memcpy(scratch_.data() + f.offset, row.bytes.data() + f.offset, f.size);
        }
    }
    return positionOf(key, row.rowId, scratch_);
}

std::string DataFile::position() {
    if (!currentRow_) {
        finish(failure(error::kRecordNotAvailable));
        return {};
    }
    finish(success());
    return positionOf(-1, currentRow_, record_);
}

std::string DataFile::position(const KeyDef& key) {
    const int k = keyIndex(key);
    if (k < 0) {
        finish(driverFailure(0, "Key " + key.name + " is not a key of " + label()));
        return {};
    }
    if (!currentRow_) {
        finish(failure(error::kRecordNotAvailable));
        return {};
    }
    finish(success());
    return positionOf(k, currentRow_, record_);
}

// --- Sequential reading ---------------------------------------------------------

int DataFile::set() {
    if (!requireOpen()) return error_.code;
    cursor_ = {Cursor::Kind::Start, -1, {}, 0};
    return finish(success());
}

int DataFile::set(const KeyDef& key) {
    if (!requireOpen()) return error_.code;
    const int k = keyIndex(key);
    if (k < 0) return finish(driverFailure(0, "Key " + key.name + " is not a key of " + label()));
    cursor_ = {Cursor::Kind::Start, k, {}, 0};
    return finish(success());
}

int DataFile::setToValue(const KeyDef& key) {
    if (!requireOpen()) return error_.code;
    const int k = keyIndex(key);
    if (k < 0) return finish(driverFailure(0, "Key " + key.name + " is not a key of " + label()));
    cursor_ = {Cursor::Kind::Value, k, keyValueOf(record_, layout_->keys()[k]), 0};
    return finish(success());
}

ErrorState DataFile::anchorAt(int key, std::string_view position, Anchor& anchor) {
    const std::optional<Position> p = decodePosition(position);
    if (!p) return failure(error::kRecordNotFound);
    anchor.kind = Anchor::Kind::Position;
    anchor.rowId = p->rowId;
    anchor.value = {};
    if (key < 0) return success();
    const KeyDef& def = layout_->keys()[static_cast<std::size_t>(key)];
    if (p->key == key && p->value.parts.size() == def.components.size()) {
        anchor.value = p->value;
        return success();
    }
    // A file position, or one of another key: the record gives its key value.
    StoredRow row;
    if (ErrorState e = table_->fetch(p->rowId, row)) return e;
    scratch_.assign(row.bytes);
    anchor.value = keyValueOf(scratch_, def);
    return success();
}

int DataFile::reset(std::string_view position) {
    if (!requireOpen()) return error_.code;
    Anchor anchor;
    if (ErrorState e = anchorAt(-1, position, anchor)) return finish(e);
    cursor_ = {Cursor::Kind::Position, -1, {}, anchor.rowId};
    return finish(success());
}

int DataFile::reset(const KeyDef& key, std::string_view position) {
    if (!requireOpen()) return error_.code;
    const int k = keyIndex(key);
    if (k < 0) return finish(driverFailure(0, "Key " + key.name + " is not a key of " + label()));
    Anchor anchor;
    if (ErrorState e = anchorAt(k, position, anchor)) return finish(e);
    cursor_ = {Cursor::Kind::Position, k, std::move(anchor.value), anchor.rowId};
    return finish(success());
}

int DataFile::read(Direction direction) {
    if (!requireOpen()) return error_.code;
    const bool forward = direction == Direction::Forward;
    PageQuery query;
    query.key = cursor_.key;
    query.direction = direction;
    query.limit = 1;
    switch (cursor_.kind) {
        case Cursor::Kind::None:
            return finish(
                failure(error::kRecordNotAvailable, 0, "No key has been set for reading"));
        case Cursor::Kind::PastEnd:
            if (forward) return finish(failure(error::kRecordNotAvailable));
            break;  // the last record
        case Cursor::Kind::BeforeStart:
            if (!forward) return finish(failure(error::kRecordNotAvailable));
            break;  // the first record
        case Cursor::Kind::Start:
            break;
        case Cursor::Kind::Value:
            query.anchor.kind = Anchor::Kind::Value;
            break;
        case Cursor::Kind::Position:
            query.anchor.kind = Anchor::Kind::Position;
            break;
        case Cursor::Kind::After:
            query.anchor.kind = Anchor::Kind::After;
            break;
    }
    if (query.anchor.kind != Anchor::Kind::Start) {
        query.anchor.value = cursor_.value;
        query.anchor.rowId = cursor_.rowId;
    }
    std::vector<StoredRow> rows;
    if (ErrorState e = table_->readPage(query, rows)) return finish(e);
    if (rows.empty()) {
        cursor_.kind = forward ? Cursor::Kind::PastEnd : Cursor::Kind::BeforeStart;
        return finish(failure(error::kRecordNotAvailable));
    }
    load(rows.front());
    cursor_.kind = Cursor::Kind::After;
    cursor_.rowId = currentRow_;
    if (cursor_.key >= 0)
        cursor_.value = keyValueOf(record_, layout_->keys()[static_cast<std::size_t>(cursor_.key)]);
    return finish(success());
}

int DataFile::next() { return read(Direction::Forward); }
int DataFile::previous() { return read(Direction::Backward); }

bool DataFile::duplicates(const KeyDef& key) {
    if (!requireOpen()) return false;
    const int k = keyIndex(key);
    if (k < 0) {
        finish(driverFailure(0, "Key " + key.name + " is not a key of " + label()));
        return false;
    }
    if (!key.unique) {
        finish(success());
        return false;
    }
    bool found = false;
    finish(table_->exists(k, keyValueOf(record_, layout_->keys()[k]), currentRow_, found));
    return found && error_.ok();
}

int DataFile::watch() {
    watchNext_ = true;
    if (currentRow_ && currentVersion_) watched_ = true;
    return finish(success());
}

int DataFile::begin() {
    if (!requireOpen()) return error_.code;
    return finish(table_->begin());
}

int DataFile::commit() {
    if (!requireOpen()) return error_.code;
    return finish(table_->commit());
}

int DataFile::rollback() {
    if (!table_) return finish(success());
    return finish(table_->rollback());
}

bool DataFile::sharesTransactionWith(const DataFile& other) const {
    return table_ && other.table_ && table_->transactionScope() == other.table_->transactionScope();
}

int DataFile::holdEntry(const std::string& target, const Record& entry, std::int64_t& id) {
    if (!requireOpen()) return error_.code;
    return finish(table_->holdEntry(target, entry.bytes(), id));
}

int DataFile::heldEntries(const std::string& target, std::vector<HeldEntry>& entries) {
    entries.clear();
    if (!requireOpen()) return error_.code;
    return finish(table_->heldEntries(target, entries));
}

int DataFile::dropHeldEntry(std::int64_t id) {
    if (!requireOpen()) return error_.code;
    return finish(table_->dropHeldEntry(id));
}

void DataFile::beginReadSnapshot() {
    // A snapshot that cannot be begun leaves every read its own, as without one.
    if (table_) table_->beginReadSnapshot();
}

void DataFile::endReadSnapshot() {
    if (table_) table_->endReadSnapshot();
}

std::optional<ChangeStamp> DataFile::changeStamp() {
    return table_ ? table_->changeStamp() : std::nullopt;
}

void DataFile::restoreCurrent(const Current& current) {
    currentRow_ = current.row;
    currentVersion_ = current.version;
    watched_ = current.watched;
    watchNext_ = current.watchNext;
}

void DataFile::abandon() {
    if (table_) table_->rollback();
}

int DataFile::readPage(const PageRequest& request, std::vector<PageRow>& rows) {
    rows.clear();
    if (!requireOpen()) return error_.code;
    int k = -1;
    if (request.key) {
        k = keyIndex(*request.key);
        if (k < 0)
            return finish(
                driverFailure(0, "Key " + request.key->name + " is not a key of " + label()));
    }
    const Record& value = request.value ? *request.value : record_;
    PageQuery query;
    query.key = k;
    query.direction = request.direction;
    query.limit = request.count;
    const bool forward = request.direction == Direction::Forward;
    if (k >= 0) {
        const KeyDef& key = layout_->keys()[static_cast<std::size_t>(k)];
        if (request.rangeComponents > 0)
            query.range = keyPrefixOf(value, key, request.rangeComponents);
        if (request.from == PageRequest::From::KeyValue) {
            query.anchor.value = keyValueOf(value, key);
            if (request.inclusive) {
                query.anchor.kind = Anchor::Kind::Value;
            } else {
                // Strictly beyond the value: after the last (before the first) row id.
                query.anchor.kind = Anchor::Kind::After;
                query.anchor.rowId = forward ? std::numeric_limits<std::int64_t>::max() : 0;
            }
        }
    }
    if (request.from == PageRequest::From::Position) {
        if (ErrorState e = anchorAt(k, request.position, query.anchor)) return finish(e);
        query.anchor.kind = request.inclusive ? Anchor::Kind::Position : Anchor::Kind::After;
    }
    // The key's components travel with any field subset: the rows' positions
    // carry the key value.
    FieldSet withKey;
    if (request.fields && !request.fields->empty()) {
        query.fields = request.fields;
        if (k >= 0) {
            for (std::size_t component : layout_->keys()[static_cast<std::size_t>(k)].components) {
                if (std::binary_search(query.fields->begin(), query.fields->end(), component)) continue;
                if (withKey.empty()) withKey = *request.fields;
                withKey.insert(std::upper_bound(withKey.begin(), withKey.end(), component), component);
                query.fields = &withKey;
            }
        }
    }
    std::vector<StoredRow> stored;
    if (ErrorState e = table_->readPage(query, stored)) return finish(e);
    rows.reserve(stored.size());
    for (StoredRow& row : stored) {
        PageRow page;
        page.position = positionOfStored(k, row);
        page.record = std::move(row.bytes);
        rows.push_back(std::move(page));
    }
    return finish(success());
}

}  // namespace storage
