// Keyset queries: a page of records in key order from an anchor, as one or two
// index range scans with row values and LIMIT (never OFFSET, never a count).
//
// A unique key continues past a record with "(key columns) > (its values)". A
// non-unique key orders ties by row id, which the index holds after the key
// columns; SQLite 3.15 seeks a row value only on declared columns, so a position
// inside a run of ties is read in two steps: the rest of the run ("key = value AND
// row_id > id"), then what follows it ("key > value"). Both steps seek directly,
// joined by UNION ALL into one statement.
// A range (a list limited to one parent) fixes the leading columns with "=" and
// compares only the columns after them, so the scan stays a seek inside the range.
#pragma once

#include "storage/backend.h"
#include "storage/sqlite/schema.h"
#include "storage/sqlite/sqlite_api.h"

#include <cstdint>
#include <string>
#include <vector>

namespace storage::sqlite {

struct KeysetStep {
    enum class Op : std::uint8_t { None, Equal, AtLeast, Beyond };
    int key = -1;           // -1 = file order
    std::size_t range = 0;  // leading key columns fixed by the range
    Direction direction = Direction::Forward;
    Op tail = Op::None;  // comparison of the key columns after the range
    Op row = Op::None;   // comparison of the row id
};

// The steps that read the page, in order (none when the page is empty by
// construction: an anchor outside the range in the reading direction).
std::vector<KeysetStep> planPage(const RecordLayout& layout, const PageQuery& query);

// What a page of a field subset selects: the row id and the subset's columns,
// through a covering index of the key when the file has one.
struct Selection {
    std::string columns;  // "row_id", "SCODE", "LNAME", ...
    std::string index;    // the covering index; empty = the key's own index
};
Selection selectionOf(const TableSchema& schema, const FieldSet& fields, std::string index);

std::uint64_t stepId(const KeysetStep& step);  // the statement cache id (below bit 29)
// The whole stored row without a selection.
std::string stepSql(const TableSchema& schema, const KeysetStep& step,
                    const Selection* selection = nullptr);
// Both steps of a position inside a run of ties as one statement: the rest of
// the run, then what follows it, each in its own order (one statement to step
// instead of two to start, bind and reset on every page).
std::string stepsSql(const TableSchema& schema, const std::vector<KeysetStep>& steps,
                     const Selection* selection = nullptr);
// Binds range values, anchor values, row id and the limit from parameter
// `first` on; returns the next parameter's number.
int bindStep(sqlite3_stmt* statement, const KeysetStep& step, const PageQuery& query,
             std::size_t limit, int first = 1);

// The ORDER BY list of a key ("upper_A", "N", "row_id"), descending when backward.
std::string orderBy(const TableSchema& schema, int key, Direction direction);

}  // namespace storage::sqlite
