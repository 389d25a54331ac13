// Automatic numbering: a form that numbers its records itself takes the highest
// number in use plus one (1 in an empty file, or within the parent's records when
// the numbered key has leading components) and adds the record at once, so that
// the number is reserved while the form is open. Gaps are never filled.
#pragma once

#include <functional>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace storage {
class DataFile;
class Record;
struct KeyDef;
struct FieldDef;
}  // namespace storage

namespace framework::form {

inline constexpr int kNumberingAttempts = 3;

struct LastNumber {
    bool failed = false;     // a read error other than end of file (in file.lastError())
    std::int64_t value = 0;  // 0 when there is no record (within the parent)
};

// The highest number in use: the last record in the order of `key`, within the
// leading components of `toNumber` (compared as the keys compare them: text
// without regard to letter case or trailing blanks). Leaves that record, or
// whatever was read, in the file's buffer.
LastNumber readLastNumber(storage::DataFile& file, const storage::KeyDef& key,
                          const storage::Record& toNumber);

// The highest value a numbered field can hold (65535 for a USHORT).
std::int64_t highestNumber(const storage::FieldDef& field);

// Numbers the last component of `key`. `savedCopy` holds the user's values on
// entry (the record to number) and the numbered record afterwards. Up to three
// attempts; after three failed adds standard message 25 offers three more
// (Retry) or gives up (Cancel). When the highest number in use is the highest
// the field can hold, message 25 (with "Creates Duplicate Key") is shown once
// and nothing is added. A read error other than end of file shows
// standard message 35 with the file's label and gives up. Returns the position
// (by file) of the reserved record, or nothing when numbering failed.
// `provisional`, when given, sets the values that only the added record holds.
// `inUseElsewhere`, when given, is a further highest number in use (codes that
// children still carry after their parent was deleted); numbering goes above it too.
// It gives up (nothing added) when it returns nothing. `limit`, when not 0, is
// the highest number the form can show: numbering stops there as at the field's
// own highest value.
std::optional<std::string> reserveNumber(
    storage::DataFile& file, const storage::KeyDef& key, storage::Record& savedCopy,
    const std::function<void(storage::Record&)>& provisional = {},
    const std::function<std::optional<std::int64_t>()>& inUseElsewhere = {},
    std::int64_t limit = 0);

// The highest value of an integer field over the whole file, read in pages
// without touching the file's buffer or current record: 0 for an empty file;
// nothing, after standard message 35 naming the file, when a read failed.
std::optional<std::int64_t> highestInFile(storage::DataFile& file, std::string_view field);

}  // namespace framework::form
