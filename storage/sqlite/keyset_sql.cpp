#include "storage/sqlite/keyset_sql.h"

#include "storage/field_codec.h"
#include "storage/sqlite/row_codec.h"

namespace storage::sqlite {

namespace {

using Op = KeysetStep::Op;

const char* comparison(Op op, Direction direction) {
    const bool forward = direction == Direction::Forward;
    switch (op) {
        case Op::Equal:
            return " = ";
        case Op::AtLeast:
            return forward ? " >= " : " <= ";
        case Op::Beyond:
            return forward ? " > " : " < ";
        case Op::None:
            break;
    }
    return "";
}

}  // namespace

std::vector<KeysetStep> planPage(const RecordLayout& layout, const PageQuery& query) {
    KeysetStep step;
    step.key = query.key;
    step.direction = query.direction;
    Anchor::Kind kind = query.anchor.kind;

    if (query.key < 0) {
        // File order: only the row id counts.
        if (kind == Anchor::Kind::Position) step.row = Op::AtLeast;
        if (kind == Anchor::Kind::After) step.row = Op::Beyond;
        return {step};
    }

    const KeyDef& key = layout.keys().at(static_cast<std::size_t>(query.key));
    const std::size_t columns = key.components.size();
    step.range = std::min(query.range.parts.size(), columns);

    if (kind != Anchor::Kind::Start && step.range > 0) {
        // An anchor outside the range: before it reads the whole range forward and
        // nothing backward; after it the reverse.
        KeyValue prefix;
        prefix.parts.assign(
            query.anchor.value.parts.begin(),
            query.anchor.value.parts.begin() +
                static_cast<std::ptrdiff_t>(std::min(step.range, query.anchor.value.parts.size())));
        KeyValue range;
        range.parts.assign(query.range.parts.begin(),
                           query.range.parts.begin() + static_cast<std::ptrdiff_t>(step.range));
        const int c = compareKeyValues(prefix, range);
        if (c != 0) {
            const bool anchorBefore = c < 0;
            const bool forward = query.direction == Direction::Forward;
            if (anchorBefore != forward) return {};
            kind = Anchor::Kind::Start;
        }
    }

    const bool hasTail = step.range < columns;
    switch (kind) {
        case Anchor::Kind::Start:
            return {step};
        case Anchor::Kind::Value:
            if (hasTail) step.tail = Op::AtLeast;
            return {step};
        case Anchor::Kind::Position:
        case Anchor::Kind::After: {
            const Op strictness = kind == Anchor::Kind::Position ? Op::AtLeast : Op::Beyond;
            if (!hasTail) {
                step.row = strictness;
                return {step};
            }
            if (key.unique) {
                step.tail = strictness;
                return {step};
            }
            KeysetStep ties = step;
            ties.tail = Op::Equal;
            ties.row = strictness;
            step.tail = Op::Beyond;
            return {ties, step};
        }
    }
    return {step};
}

std::uint64_t stepId(const KeysetStep& step) {
    std::uint64_t id = static_cast<std::uint64_t>(step.key + 1) & 0xFFFF;
    id = (id << 8) | (step.range & 0xFF);
    id = (id << 1) | (step.direction == Direction::Backward ? 1 : 0);
    id = (id << 2) | static_cast<std::uint64_t>(step.tail);
    id = (id << 2) | static_cast<std::uint64_t>(step.row);
    return id;
}

std::string orderBy(const TableSchema& schema, int key, Direction direction) {
    const char* suffix = direction == Direction::Backward ? " DESC" : "";
    std::string out;
    if (key >= 0)
        for (const std::string& column : schema.indexes().at(static_cast<std::size_t>(key)).columns)
            out += column + suffix + ", ";
    out += sqlName(kRowIdColumn) + suffix;
    return out;
}

Selection selectionOf(const TableSchema& schema, const FieldSet& fields, std::string index) {
    Selection selection;
    selection.columns = sqlName(kRowIdColumn);
    for (std::size_t f : fields) selection.columns += ", " + sqlName(columnName(schema.layout(), f));
    selection.index = std::move(index);
    return selection;
}

std::string stepSql(const TableSchema& schema, const KeysetStep& step, const Selection* selection) {
    std::string sql = "SELECT " + (selection ? selection->columns : schema.rowColumns()) + " FROM " +
                      schema.quotedTable();
    std::vector<std::string> conditions;
    if (step.key >= 0) {
        const IndexDef& index = schema.indexes().at(static_cast<std::size_t>(step.key));
        const bool covered = selection && !selection->index.empty();
        sql += " INDEXED BY " + sqlName(covered ? selection->index : index.name);
        const std::size_t columns = index.columns.size();
        for (std::size_t i = 0; i < step.range; ++i)
            conditions.push_back(index.columns[i] + " = ?");
        if (step.tail == Op::Equal) {
            for (std::size_t i = step.range; i < columns; ++i)
                conditions.push_back(index.columns[i] + " = ?");
        } else if (step.tail != Op::None) {
            const std::string op = comparison(step.tail, step.direction);
            if (columns - step.range == 1) {
                conditions.push_back(index.columns[step.range] + op + "?");
            } else {
                std::string left = "(", right = "(";
                for (std::size_t i = step.range; i < columns; ++i) {
                    left += (i > step.range ? ", " : "") + index.columns[i];
                    right += (i > step.range ? ", ?" : "?");
                }
                conditions.push_back(left + ")" + op + right + ")");
            }
        }
    }
    if (step.row != Op::None)
        conditions.push_back(sqlName(kRowIdColumn) + comparison(step.row, step.direction) + "?");
    for (std::size_t i = 0; i < conditions.size(); ++i)
        sql += (i ? " AND " : " WHERE ") + conditions[i];
    // With every key column fixed by "=" a unique key has at most one record, and
    // the ties of a non-unique key are ordered by the row id alone (SQLite 3.15
    // would otherwise sort what the index already orders).
    const IndexDef* index =
        step.key >= 0 ? &schema.indexes().at(static_cast<std::size_t>(step.key)) : nullptr;
    const bool allFixed = index && (step.tail == Op::Equal || step.range == index->columns.size());
    if (!(allFixed && index->unique))
        sql += " ORDER BY " + orderBy(schema, allFixed ? -1 : step.key, step.direction);
    sql += " LIMIT ?";
    return sql;
}

std::string stepsSql(const TableSchema& schema, const std::vector<KeysetStep>& steps,
                     const Selection* selection) {
    if (steps.size() == 1) return stepSql(schema, steps.front(), selection);
    std::string sql;
    for (const KeysetStep& step : steps)
        sql += (sql.empty() ? "SELECT * FROM (" : " UNION ALL SELECT * FROM (") + stepSql(schema, step, selection) + ")";
    return sql;
}

int bindStep(sqlite3_stmt* statement, const KeysetStep& step, const PageQuery& query,
             std::size_t limit, int first) {
    int index = first;
    if (step.key >= 0) {
        index = bindKeyParts(statement, index, query.range, 0, step.range);
        if (step.tail != Op::None)
            index = bindKeyParts(statement, index, query.anchor.value, step.range,
                                 query.anchor.value.parts.size());
    }
    if (step.row != Op::None) sqlite3_bind_int64(statement, index++, query.anchor.rowId);
    sqlite3_bind_int64(statement, index++, static_cast<sqlite3_int64>(limit));
    return index;
}

}  // namespace storage::sqlite
