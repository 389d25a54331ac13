// The key distribution behind a list's scroll thumb: 100 values spread evenly
// from the lowest to the highest value of the sort's key field, built from two
// reads (the first and the last record of the view), so the thumb needs no
// record count.
//
// Numeric fields: entry k = lowest + (highest - lowest) / 99 * (k - 1), cut toward
// zero to an integer. Text fields: the same spread over the first four characters
// of the key's sort form (upper-cased, compared byte by byte as the key orders
// them), read as a number in base 256 with blanks after a shorter text; each entry
// turns back into up to four characters (trailing blanks dropped, anything below
// a blank raised to a blank). Locating on such an entry lands on the first record
// at or after it, which is all the thumb needs.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace storage {
class Record;
}

namespace framework::browse {

class KeyDistribution {
public:
    static constexpr int kEntries = 100;

    // From the lowest and the highest record of the view.
    void build(const storage::Record& lowest, const storage::Record& highest, std::size_t field);
    void clear();
    bool empty() const { return numbers_.empty() && texts_.empty(); }

    // The thumb for a record: the first entry whose value is not below the record's
    // field, as 1..100, except 0 when that is the first entry; 100 when none is.
    int thumbFor(const storage::Record& record, std::size_t field) const;
    // Puts entry `position` (1..100) into the record's field.
    void putValue(int position, storage::Record& record, std::size_t field) const;

    // Entry `position` (1..100) as text, for diagnostics and tests.
    std::string entry(int position) const;

private:
    std::vector<double> numbers_;
    std::vector<std::string> texts_;
};

}  // namespace framework::browse
