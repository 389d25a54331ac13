// Moves records and key values between record buffers and statement parameters
// and result rows. Values travel as text (numbers in decimal, DECIMAL with two
// places, REAL in its shortest exact form, text as UTF-8) except the key columns,
// which travel as raw bytes.
#pragma once

#include "storage/backend.h"
#include "storage/key_value.h"
#include "storage/postgres/schema.h"
#include "storage/postgres/session.h"
#include "storage/record.h"

namespace storage::postgres {

// The field columns in layout order, then the key texts.
void appendFields(Params& params, const Record& record);
void appendKeyTexts(Params& params, const Record& record, const TableSchema& schema);
// Key parts [from, to) of a key value; the key tells how each part is stored.
void appendKeyParts(Params& params, const KeyValue& value, const KeyDef& key,
                    const RecordLayout& layout, std::size_t from, std::size_t to);

// Reads row `row` of a result selected with TableSchema::rowColumns(); `scratch`
// is a record of the file's layout used for the conversion.
void readRow(const Rows& rows, int row, Record& scratch, StoredRow& stored);
// Reads a row selected as the row id and the columns of `fields`: the other
// fields of the record are cleared, the version is 0.
void readSubset(const Rows& rows, int row, const FieldSet& fields, Record& scratch, StoredRow& stored);

// Text forms of the column values (also used by bulk loading).
std::string realText(double value);
std::string decimalText(std::int64_t cents);
std::string fieldText(const Record& record, std::size_t field);

}  // namespace storage::postgres
