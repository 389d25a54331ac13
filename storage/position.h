// Positions: the opaque strings (at most 512 bytes) by which a caller comes back
// to a record. A file position names the row id; a key position also carries the
// record's key value, so that reading can resume in key order even when the record
// itself has been deleted meanwhile. Both are printable text ended by ';';
// whatever follows (the blank padding of a STRING(512) field) is ignored.
#pragma once

#include "storage/key_value.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace storage {

constexpr std::size_t kMaxPositionLength = 512;

struct Position {
    int key = -1;  // index of the key in the layout; -1 = file position
    std::int64_t rowId = 0;
    KeyValue value;  // empty for a file position
};

// A key position too long for 512 bytes falls back to the file position; readers
// then take the key value from the record itself.
std::string encodePosition(const Position& position);
std::optional<Position> decodePosition(std::string_view text);

}  // namespace storage
