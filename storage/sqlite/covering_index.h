// Covering indexes of lists: a key's columns, the row id and the few fields a
// list shows of a wide record, so that a page in key order reads a handful of
// adjacent index pages instead of one table page per row.
//
// A list reads only the fields it needs (PageQuery::fields). For a wide record
// (an employee: 41 fields, about 1 KB) the station that first pages through it
// with a field set adds an index
//
//   CREATE INDEX "MOL_NAME_KEY_cover_5c0e31a2" ON "MOL"
//       ("upper_LNAME", "row_id", "SCODE", "LNAME", "FNAME", "OTD_ID", "KATEGCODE", "BPHONE")
//
// named after the key and a hash of its columns, so every station and every list
// with the same fields shares it. The row id follows the key's columns, so the
// ties of a non-unique key keep their order and a position inside a run of ties
// is one seek. SQLite keeps the index up to date with every write, by this
// engine or any other program; other readers of the file do not see it, the
// record layout is unchanged, and in a protected file it is enciphered with the
// rest of the file. An index that cannot be added (a station that only reads,
// the file busy) is not an error: the page then reads the table's rows.
#pragma once

#include "storage/backend.h"
#include "storage/sqlite/connection.h"
#include "storage/sqlite/schema.h"

#include <string>
#include <vector>

namespace storage::sqlite {

struct CoveringIndex {
    std::string name;
    std::string sql;  // the CREATE INDEX statement, as stored in sqlite_master
};

// Whether a list reading these fields of the layout gains from a covering index:
// a record of at least 512 bytes of which the fields take at most a quarter.
// Narrow records lose little by being read whole, and every index costs writes.
bool worthCovering(const RecordLayout& layout, const FieldSet& fields);

CoveringIndex coveringIndex(const TableSchema& schema, int key, const FieldSet& fields);

// Finds the index in the file, or adds it when `mayAdd` (in a transaction of its
// own, waiting at most `waitMs` for another writer; the caller sets its usual
// wait again). False when the page must read the table instead: missing and not
// added, or declared differently.
bool useCoveringIndex(Connection& connection, const CoveringIndex& index, bool mayAdd, int waitMs);

// The covering indexes the file holds for the table (rebuilding the keys drops
// them; the lists add them again on use).
std::vector<std::string> coveringIndexNames(sqlite3* db, const TableSchema& schema);

}  // namespace storage::sqlite
