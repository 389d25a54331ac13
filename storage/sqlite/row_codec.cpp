#include "storage/sqlite/row_codec.h"

#include "storage/field_codec.h"

#include <string>

namespace storage::sqlite {

namespace {

void bindBlob(sqlite3_stmt* statement, int index, const std::string& bytes) {
    // A null pointer would bind NULL; an empty key text is an empty blob.
    static const char kEmpty = 0;
    sqlite3_bind_blob(statement, index, bytes.empty() ? &kEmpty : bytes.data(),
                      static_cast<int>(bytes.size()), SQLITE_TRANSIENT);
}

}  // namespace

int bindFields(sqlite3_stmt* statement, int first, const Record& record) {
    const auto& fields = record.layout().fields();
    int index = first;
    for (std::size_t i = 0; i < fields.size(); ++i, ++index) {
        switch (columnKind(fields[i])) {
            case ColumnKind::Integer:
                sqlite3_bind_int64(statement, index, integerOf(record, i));
                break;
            case ColumnKind::Real:
                sqlite3_bind_double(statement, index, realOf(record, i));
                break;
            case ColumnKind::Text: {
                const std::string text = textOf(record, i);
                sqlite3_bind_text(statement, index, text.data(), static_cast<int>(text.size()),
                                  SQLITE_TRANSIENT);
                break;
            }
        }
    }
    return index;
}

int bindKeyTexts(sqlite3_stmt* statement, int first, const Record& record,
                 const TableSchema& schema) {
    int index = first;
    for (std::size_t field : schema.keyTextFields())
        bindBlob(statement, index++, keyTextOf(record, field));
    return index;
}

int bindKeyParts(sqlite3_stmt* statement, int first, const KeyValue& value, std::size_t from,
                 std::size_t to) {
    int index = first;
    for (std::size_t i = from; i < to && i < value.parts.size(); ++i, ++index) {
        const KeyPart& part = value.parts[i];
        if (const auto* n = std::get_if<std::int64_t>(&part))
            sqlite3_bind_int64(statement, index, *n);
        else if (const auto* d = std::get_if<double>(&part))
            sqlite3_bind_double(statement, index, *d);
        else
            bindBlob(statement, index, std::get<std::string>(part));
    }
    return index;
}

namespace {

void readColumn(sqlite3_stmt* statement, int column, Record& record, std::size_t field) {
    if (sqlite3_column_type(statement, column) == SQLITE_NULL) {
        setFromNull(record, field);
        return;
    }
    switch (columnKind(record.layout().fields()[field])) {
        case ColumnKind::Integer:
            setFromInteger(record, field, sqlite3_column_int64(statement, column));
            break;
        case ColumnKind::Real:
            setFromReal(record, field, sqlite3_column_double(statement, column));
            break;
        case ColumnKind::Text: {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
            const int size = sqlite3_column_bytes(statement, column);
            setFromText(record, field, std::string_view(text ? text : "", static_cast<std::size_t>(size)));
            break;
        }
    }
}

}  // namespace

void readFields(sqlite3_stmt* statement, int firstColumn, Record& record) {
    const std::size_t count = record.layout().fields().size();
    for (std::size_t i = 0; i < count; ++i) readColumn(statement, firstColumn + static_cast<int>(i), record, i);
}

void readRow(sqlite3_stmt* statement, Record& scratch, StoredRow& row) {
    row.rowId = sqlite3_column_int64(statement, 0);
    row.version =
        sqlite3_column_type(statement, 1) == SQLITE_NULL ? 0 : sqlite3_column_int64(statement, 1);
    readFields(statement, TableSchema::kFirstFieldColumn, scratch);
    row.bytes = scratch.bytes();
}

void readSubset(sqlite3_stmt* statement, const FieldSet& fields, Record& scratch, StoredRow& row) {
    row.rowId = sqlite3_column_int64(statement, 0);
    row.version = 0;
    int column = 1;
    for (std::size_t field : fields) readColumn(statement, column++, scratch, field);
    row.bytes = scratch.bytes();
}

}  // namespace storage::sqlite
