#include "storage/sqlite/schema.h"

#include "storage/field_codec.h"

#include <algorithm>
#include <set>

namespace storage::sqlite {

namespace {

const char* sqlType(const FieldDef& f) {
    switch (columnKind(f)) {
        case ColumnKind::Integer:
            return "INTEGER";
        case ColumnKind::Real:
            return "REAL";
        case ColumnKind::Text:
            return "TEXT";
    }
    return "INTEGER";
}

const char* sqlDefault(const FieldDef& f) { return f.isText() ? "''" : "0"; }

}  // namespace

TableSchema::TableSchema(const RecordLayout& layout)
    : layout_(&layout), table_(layout.label()), quotedTable_(sqlName(layout.label())) {
    const auto& fields = layout.fields();
    columns_.push_back({std::string(kRowIdColumn), "INTEGER", ColumnDef::Role::RowId, 0});
    columns_.push_back({std::string(kVersionColumn), "INTEGER", ColumnDef::Role::Version, 0});
    for (std::size_t i = 0; i < fields.size(); ++i)
        columns_.push_back({columnName(layout, i), sqlType(fields[i]), ColumnDef::Role::Field, i});

    // One upper column per text field used by any key, in field order.
    std::vector<bool> keyText(fields.size(), false);
    for (const KeyDef& key : layout.keys())
        for (std::size_t c : key.components)
            if (fields[c].isText()) keyText[c] = true;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (!keyText[i]) continue;
        keyTextFields_.push_back(i);
        columns_.push_back({keyColumnName(layout, i), "BLOB", ColumnDef::Role::KeyText, i});
    }

    std::set<std::string> seen;
    for (const ColumnDef& c : columns_)
        if (!seen.insert(upperAsciiName(c.name)).second && nameClash_.empty())
            nameClash_ = "column name " + c.name + " is used twice";

    tableSql_ = "CREATE TABLE " + quotedTable_ + " (";
    rowColumns_.clear();
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        const ColumnDef& c = columns_[i];
        if (i) tableSql_ += ", ";
        tableSql_ += sqlName(c.name) + " " + c.type;
        if (c.role == ColumnDef::Role::RowId) tableSql_ += " PRIMARY KEY AUTOINCREMENT";
        if (c.role == ColumnDef::Role::Field)
            tableSql_ += std::string(" DEFAULT ") + sqlDefault(fields[c.field]);
        if (c.role != ColumnDef::Role::KeyText) {
            if (!rowColumns_.empty()) rowColumns_ += ", ";
            rowColumns_ += sqlName(c.name);
        }
    }
    tableSql_ += ")";

    for (const KeyDef& key : layout.keys()) {
        IndexDef index;
        index.name = indexName(layout, key);
        index.unique = key.unique;
        for (std::size_t c : key.components)
            index.columns.push_back(
                sqlName(fields[c].isText() ? keyColumnName(layout, c) : columnName(layout, c)));
        index.sql = std::string(key.unique ? "CREATE UNIQUE INDEX " : "CREATE INDEX ") +
                    sqlName(index.name) + " ON " + quotedTable_ + " (";
        for (std::size_t i = 0; i < index.columns.size(); ++i)
            index.sql += (i ? ", " : "") + index.columns[i];
        index.sql += ")";
        if (!seen.insert(upperAsciiName(index.name)).second && nameClash_.empty())
            nameClash_ = "index name " + index.name + " is used twice";
        indexes_.push_back(std::move(index));
    }

    const std::string version = sqlName(kVersionColumn);
    const std::string rowId = sqlName(kRowIdColumn);
    pendingIndexName_ = table_ + "_pending";
    pendingIndexSql_ = "CREATE INDEX " + sqlName(pendingIndexName_) + " ON " + quotedTable_ + " (" +
                       version + ") WHERE " + version + " IS NULL OR " + version + " < 0";
    triggerName_ = table_ + "_touched";
    triggerSql_ = "CREATE TRIGGER " + sqlName(triggerName_) + " AFTER UPDATE ON " + quotedTable_ +
                  " FOR EACH ROW WHEN OLD." + version + " IS NOT NULL AND (NEW." + version +
                  " IS OLD." + version + " OR NEW." + version + " IS NULL) BEGIN UPDATE " +
                  quotedTable_ + " SET " + version + " = -abs(OLD." + version + ") WHERE " + rowId +
                  " = NEW." + rowId + "; END";
}

}  // namespace storage::sqlite
