// The one rule that keeps the rights table administrable: some category that
// has an employee must always be able to open the rights grid, that is, open
// both the categories ("KatMOL") and the rights ("Dostup"). A ban that would
// leave none is refused before it is stored.
#pragma once

#include <cstdint>
#include <optional>

namespace dostup {

// Whether, with the access ban of (category, object) set to `banned` and every
// other row as stored, a category with at least one employee can still open
// both "KatMOL" and "Dostup". True at once for any other object. Nothing when a
// file could not be read (the caller refuses then). Reads without touching any
// record buffer.
std::optional<bool> rightsGridStaysReachable(std::uint16_t category, std::uint16_t object, bool banned);

}  // namespace dostup
