// Keyset queries: a page of records in key order from an anchor, as one index
// range scan with row values and LIMIT (never OFFSET, never a count).
//
// The order of a key is its columns, and for a non-unique key the row id after
// them (the index holds it), so a position inside a run of ties is one row-value
// comparison: "(upper_lname, row_id) > ($1, $2)". A range (a list limited to one
// parent) fixes the leading columns with "=" and compares only the columns after
// them, so the scan stays inside the range.
//
// The page size is written into the statement as a number (one statement per
// size in use; never data, which always travels as parameters). As a parameter
// the server could not plan the statement once: a generic plan assumes a tenth
// of the table and would prefer a sort, so every execution would be planned
// again.
#pragma once

#include "storage/backend.h"
#include "storage/postgres/schema.h"
#include "storage/postgres/session.h"

#include <string>

namespace storage::postgres {

struct KeysetShape {
    enum class Compare : unsigned char { None, AtLeast, Beyond };
    enum class Columns : unsigned char { KeyTail, KeyTailAndRow, Row };
    int key = -1;           // -1 = file order
    std::size_t range = 0;  // leading key columns fixed by the range
    Direction direction = Direction::Forward;
    Compare compare = Compare::None;
    Columns columns = Columns::KeyTail;  // what the comparison covers
    bool empty = false;                  // nothing to read (an anchor outside the range)
};

KeysetShape shapeOf(const RecordLayout& layout, const PageQuery& query);
// The select list of a page of a field subset: the row id and the fields' columns.
std::string subsetColumns(const TableSchema& schema, const FieldSet& fields);
// `columns` empty: the whole stored row (TableSchema::rowColumns()).
std::string keysetSql(const TableSchema& schema, const KeysetShape& shape, std::size_t limit,
                      const std::string& columns = {});
// Range values, then anchor values (and row id).
Params keysetParams(const RecordLayout& layout, const KeysetShape& shape, const PageQuery& query);

// The ORDER BY list of a key (with the row id for a non-unique key; the row id
// alone for file order), descending when backward.
std::string orderBy(const TableSchema& schema, int key, Direction direction);

}  // namespace storage::postgres
