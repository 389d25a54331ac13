#include "storage/postgres/keyset_sql.h"

#include "storage/field_codec.h"
#include "storage/postgres/row_codec.h"

namespace storage::postgres {

namespace {

using Compare = KeysetShape::Compare;
using Columns = KeysetShape::Columns;

const char* comparison(Compare compare, Direction direction) {
    const bool forward = direction == Direction::Forward;
    if (compare == Compare::AtLeast) return forward ? " >= " : " <= ";
    return forward ? " > " : " < ";
}

// Whether the anchor lies outside the range: before it (-1) or after it (1).
int anchorAgainstRange(const PageQuery& query, std::size_t range) {
    KeyValue prefix, fixed;
    const auto& anchor = query.anchor.value.parts;
    prefix.parts.assign(anchor.begin(), anchor.begin() + static_cast<std::ptrdiff_t>(
                                                             std::min(range, anchor.size())));
    fixed.parts.assign(query.range.parts.begin(),
                       query.range.parts.begin() + static_cast<std::ptrdiff_t>(range));
    return compareKeyValues(prefix, fixed);
}

}  // namespace

KeysetShape shapeOf(const RecordLayout& layout, const PageQuery& query) {
    KeysetShape shape;
    shape.key = query.key;
    shape.direction = query.direction;
    Anchor::Kind kind = query.anchor.kind;
    if (query.key < 0) {
        // File order: only the row id counts.
        shape.columns = Columns::Row;
        if (kind == Anchor::Kind::Position) shape.compare = Compare::AtLeast;
        if (kind == Anchor::Kind::After) shape.compare = Compare::Beyond;
        return shape;
    }
    const KeyDef& key = layout.keys().at(static_cast<std::size_t>(query.key));
    const std::size_t columns = key.components.size();
    shape.range = std::min(query.range.parts.size(), columns);

    if (kind != Anchor::Kind::Start && shape.range > 0) {
        // An anchor before the range reads the whole range forward and nothing
        // backward; after it the reverse.
        if (const int c = anchorAgainstRange(query, shape.range)) {
            const bool forward = query.direction == Direction::Forward;
            if ((c < 0) != forward) {
                shape.empty = true;
                return shape;
            }
            kind = Anchor::Kind::Start;
        }
    }
    const bool hasTail = shape.range < columns;
    switch (kind) {
        case Anchor::Kind::Start:
            break;
        case Anchor::Kind::Value:
            if (hasTail) shape.compare = Compare::AtLeast;
            break;
        case Anchor::Kind::Position:
        case Anchor::Kind::After:
            shape.compare = kind == Anchor::Kind::Position ? Compare::AtLeast : Compare::Beyond;
            if (!key.unique)
                shape.columns = Columns::KeyTailAndRow;
            else
                shape.columns = hasTail ? Columns::KeyTail : Columns::Row;
            break;
    }
    return shape;
}

std::string orderBy(const TableSchema& schema, int key, Direction direction) {
    const char* suffix = direction == Direction::Backward ? " DESC" : "";
    if (key < 0) return sqlName(kRowIdColumn) + suffix;
    std::string out;
    for (const std::string& column : schema.indexes().at(static_cast<std::size_t>(key)).columns)
        out += (out.empty() ? "" : ", ") + sqlName(column) + suffix;
    return out;
}

std::string subsetColumns(const TableSchema& schema, const FieldSet& fields) {
    std::string columns = sqlName(kRowIdColumn);
    for (std::size_t f : fields)
        columns += ", " + sqlName(schema.columns().at(TableSchema::kFirstFieldColumn + f).name);
    return columns;
}

std::string keysetSql(const TableSchema& schema, const KeysetShape& shape, std::size_t limit,
                      const std::string& columns) {
    std::string sql = "SELECT " + (columns.empty() ? schema.rowColumns() : columns) + " FROM " +
                      schema.qualifiedTable();
    std::vector<std::string> conditions;
    int next = 1;
    auto placeholder = [&] { return "$" + std::to_string(next++); };

    std::vector<std::string> compared;
    if (shape.key >= 0) {
        const IndexDef& index = schema.indexes().at(static_cast<std::size_t>(shape.key));
        for (std::size_t i = 0; i < shape.range; ++i)
            conditions.push_back(sqlName(index.columns[i]) + " = " + placeholder());
        if (shape.compare != Compare::None && shape.columns != Columns::Row)
            for (std::size_t i = shape.range; i < index.keyColumns; ++i)
                compared.push_back(sqlName(index.columns[i]));
    }
    if (shape.compare != Compare::None &&
        (shape.columns == Columns::Row || shape.columns == Columns::KeyTailAndRow))
        compared.push_back(sqlName(kRowIdColumn));
    if (!compared.empty()) {
        std::string left, right;
        for (std::size_t i = 0; i < compared.size(); ++i) {
            left += (i ? ", " : "") + compared[i];
            right += (i ? ", " : "") + placeholder();
        }
        const char* op = comparison(shape.compare, shape.direction);
        conditions.push_back(compared.size() == 1 ? left + op + right
                                                  : "(" + left + ")" + op + "(" + right + ")");
    }
    for (std::size_t i = 0; i < conditions.size(); ++i)
        sql += (i ? " AND " : " WHERE ") + conditions[i];
    sql += " ORDER BY " + orderBy(schema, shape.key, shape.direction);
    return sql + " LIMIT " + std::to_string(limit);
}

Params keysetParams(const RecordLayout& layout, const KeysetShape& shape, const PageQuery& query) {
    Params params;
    if (shape.key >= 0) {
        const KeyDef& key = layout.keys().at(static_cast<std::size_t>(shape.key));
        appendKeyParts(params, query.range, key, layout, 0, shape.range);
        if (shape.compare != Compare::None && shape.columns != Columns::Row)
            appendKeyParts(params, query.anchor.value, key, layout, shape.range,
                           key.components.size());
    }
    if (shape.compare != Compare::None &&
        (shape.columns == Columns::Row || shape.columns == Columns::KeyTailAndRow))
        params.push_back(integerParam(query.anchor.rowId));
    return params;
}

}  // namespace storage::postgres
