#include "storage/postgres/schema.h"

#include "storage/field_codec.h"

#include <set>

namespace storage::postgres {

std::string serverName(std::string_view name) {
    constexpr std::size_t kLongest = 63;
    if (name.size() <= kLongest) return std::string(name);
    std::size_t cut = kLongest;
    // Never in the middle of a UTF-8 character.
    while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;
    return std::string(name.substr(0, cut));
}

namespace {

std::string lowerAscii(std::string_view name) {
    std::string out(name);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

std::string sqlType(const FieldDef& f) {
    switch (f.type) {
        case FieldType::Byte:
        case FieldType::Short:
            return "smallint";
        case FieldType::UShort:
        case FieldType::Long:
            return "integer";
        case FieldType::ULong:
            return "bigint";
        case FieldType::Real:
            return "double precision";
        case FieldType::Decimal:
            return "numeric(13,2)";
        case FieldType::String:
            return "character varying(" + std::to_string(f.size) + ")";
        case FieldType::CString:
            return "character varying(" + std::to_string(f.size > 1 ? f.size - 1 : 1) + ")";
    }
    return "bigint";
}

}  // namespace

TableSchema::TableSchema(const RecordLayout& layout, std::string schema, std::string table)
    : layout_(&layout),
      schema_(serverName(schema)),
      table_(serverName(table)),
      qualified_(sqlName(schema_) + "." + sqlName(table_)) {
    const auto& fields = layout.fields();
    columns_.push_back({std::string(kRowIdColumn), "bigint", ColumnDef::Role::RowId, 0});
    columns_.push_back({std::string(kVersionColumn), "bigint", ColumnDef::Role::Version, 0});
    for (std::size_t i = 0; i < fields.size(); ++i)
        columns_.push_back(
            {lowerAscii(columnName(layout, i)), sqlType(fields[i]), ColumnDef::Role::Field, i});

    std::vector<bool> keyText(fields.size(), false);
    for (const KeyDef& key : layout.keys())
        for (std::size_t c : key.components)
            if (fields[c].isText()) keyText[c] = true;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (!keyText[i]) continue;
        keyTextFields_.push_back(i);
        columns_.push_back(
            {lowerAscii(keyColumnName(layout, i)), "bytea", ColumnDef::Role::KeyText, i});
    }

    std::set<std::string> seen;
    for (const ColumnDef& c : columns_) {
        if (!seen.insert(c.name).second && nameClash_.empty())
            nameClash_ = "column name " + c.name + " is used twice";
        if (c.role != ColumnDef::Role::KeyText)
            rowColumns_ += (rowColumns_.empty() ? "" : ", ") + sqlName(c.name);
    }

    std::set<std::string> indexNames;
    for (const KeyDef& key : layout.keys()) {
        IndexDef index;
        const std::size_t colon = key.name.find(':');
        index.name = serverName(
            table_ + "_" +
            lowerAscii(colon == std::string::npos ? key.name : key.name.substr(colon + 1)));
        index.unique = key.unique;
        for (std::size_t c : key.components)
            index.columns.push_back(
                lowerAscii(fields[c].isText() ? keyColumnName(layout, c) : columnName(layout, c)));
        index.keyColumns = index.columns.size();
        if (!key.unique) index.columns.emplace_back(kRowIdColumn);
        index.sql = std::string(key.unique ? "CREATE UNIQUE INDEX " : "CREATE INDEX ") +
                    sqlName(index.name) + " ON " + qualified_ + " (";
        for (std::size_t i = 0; i < index.columns.size(); ++i)
            index.sql += (i ? ", " : "") + sqlName(index.columns[i]);
        index.sql += ")";
        if (!indexNames.insert(index.name).second && nameClash_.empty())
            nameClash_ = "index name " + index.name + " is used twice";
        indexes_.push_back(std::move(index));
    }
    pendingIndexName_ = serverName(table_ + "_pending");
    triggerName_ = serverName(table_ + "_touched");
    functionName_ = triggerName_;
    if (indexNames.count(pendingIndexName_) && nameClash_.empty())
        nameClash_ = "index name " + pendingIndexName_ + " is used twice";
}

std::string TableSchema::qualified(std::string_view name) const {
    return sqlName(schema_) + "." + sqlName(name);
}

std::string TableSchema::createTableSql() const {
    std::string sql = "CREATE TABLE " + qualified_ + " (";
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        const ColumnDef& c = columns_[i];
        sql += (i ? ", " : "") + sqlName(c.name) + " ";
        switch (c.role) {
            case ColumnDef::Role::RowId:
                sql += "bigserial PRIMARY KEY";
                break;
            case ColumnDef::Role::Version:
            case ColumnDef::Role::KeyText:
                sql += c.type;
                break;
            case ColumnDef::Role::Field:
                sql +=
                    c.type + (layout_->fields()[c.field].isText() ? " DEFAULT ''" : " DEFAULT 0");
                break;
        }
    }
    return sql + ")";
}

std::vector<std::string> TableSchema::createKeysSql() const {
    std::vector<std::string> out;
    for (const IndexDef& index : indexes_) out.push_back(index.sql);
    const std::string version = sqlName(kVersionColumn);
    out.push_back("CREATE INDEX " + sqlName(pendingIndexName_) + " ON " + qualified_ + " (" +
                  version + ") WHERE " + version + " IS NULL OR " + version + " < 0");
    // Another tool's rewrite that leaves the version alone (or empties it) marks
    // the row changed, keeping its last version negated.
    out.push_back("CREATE OR REPLACE FUNCTION " + qualified(functionName_) +
                  "() RETURNS trigger LANGUAGE plpgsql AS $body$ BEGIN IF NEW." + version +
                  " IS NOT DISTINCT FROM OLD." + version + " OR NEW." + version +
                  " IS NULL THEN NEW." + version + " := -abs(OLD." + version +
                  "); END IF; RETURN NEW; END $body$");
    out.push_back("CREATE TRIGGER " + sqlName(triggerName_) + " BEFORE UPDATE ON " + qualified_ +
                  " FOR EACH ROW EXECUTE FUNCTION " + qualified(functionName_) + "()");
    return out;
}

std::vector<std::string> TableSchema::dropKeysSql() const {
    std::vector<std::string> out;
    for (const IndexDef& index : indexes_)
        out.push_back("DROP INDEX IF EXISTS " + qualified(index.name));
    out.push_back("DROP INDEX IF EXISTS " + qualified(pendingIndexName_));
    out.push_back("DROP TRIGGER IF EXISTS " + sqlName(triggerName_) + " ON " + qualified_);
    return out;
}

}  // namespace storage::postgres
