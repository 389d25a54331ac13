// The view a list reads its file through: one key, optionally limited to the
// children of one parent (a range on the key's leading field) and filtered by an
// expression over the record's fields and the list's bound names.
//
// It reads like the runtime's view: set it to the start of the key, to a key
// value or to a position, then read next or previous; the position of the last
// record read is the view's position. Underneath it pages with keyset queries
// (DataFile::readPage) and keeps the rows it fetched ahead in one direction; it
// never touches the file's record buffer, current record or sequential position.
#pragma once

#include "framework/browse/quick_filter.h"

#include "framework/record_binding.h"
#include "platform/expression.h"
#include "storage/data_file.h"

#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace framework::browse {

struct ViewSettings {
    const storage::KeyDef* key = nullptr;
    int rangeField = -1;     // the child field holding the range value; -1 = no range
    std::string rangeValue;  // the parent's value, as text
    std::string filter;      // empty = none
    // The fields the list needs of each record (see BrowseDefinition::rowFields);
    // the view adds those its filter names. Empty = whole records.
    storage::FieldSet fields;
};

class FileView {
public:
    // `names` resolves the list's own names for the filter (range values, locals);
    // `rowRead` runs for every record read, before the filter sees it.
    // `accepted`, when given, passes over the records it refuses after the filter.
    FileView(storage::DataFile& file, const platform::NameResolver* names,
             std::function<void(const storage::Record&)> rowRead = {},
             std::function<bool(const storage::Record&)> accepted = {});
    FileView(const FileView&) = delete;
    FileView& operator=(const FileView&) = delete;

    // Opens the view with a key, a range and a filter. A filter that does not
    // compile or names something unknown is dropped: the result is its error code
    // (the view is open, unfiltered).
    int open(const ViewSettings& settings);
    void close();
    bool isOpen() const { return open_; }

    void setToStart();                         // the start (end, reading back) of the key or range
    void resetTo(const std::string& position); // the next read returns that record if it still exists
    void setToValue(const storage::Record& value);  // the first record at or after the key value

    // 0, 33 at the end, or the file's error code (details in the file's lastError()).
    int next() { return read(storage::Direction::Forward); }
    int previous() { return read(storage::Direction::Backward); }
    // The first and the last record of the view, leaving the reading where it is.
    int first() { return peek(storage::Direction::Forward); }
    int last() { return peek(storage::Direction::Backward); }

    // The record and position of the last record read.
    const storage::Record& record() const { return row_; }
    const std::string& position() const { return position_; }

    // Rows fetched per query; the page fill asks for what it needs.
    void setBatch(std::size_t rows) { batch_ = rows < 1 ? 1 : rows; }
    // Names of further fields wanted now (a saved filter the book evaluates),
    // asked before every read of a page of a field subset.
    void setMoreFields(std::function<std::vector<std::string>()> names) { moreFields_ = std::move(names); }

private:
    enum class From { Start, Value, Position, After };

    int read(storage::Direction direction);
    int peek(storage::Direction direction);
    int fetch(storage::Direction direction, From from, const std::string& position,
              std::deque<storage::PageRow>& rows);
    bool accept(const storage::PageRow& row);
    const storage::FieldSet* fieldsNow();
    void addField(storage::FieldSet& fields, std::string_view name) const;

    storage::DataFile& file_;
    std::function<void(const storage::Record&)> rowRead_;
    std::function<bool(const storage::Record&)> accepted_;
    std::function<std::vector<std::string>()> moreFields_;
    storage::FieldSet fields_;   // empty = whole records
    storage::FieldSet widened_;  // fields_ and the further names of the moment
    storage::Record row_;
    storage::Record value_;  // the key value of a Value start, with the range value in place
    storage::Record range_;  // the range value in the child field
    RecordBinding rowNames_;
    platform::ResolverChain names_;
    platform::Expression filter_;
    std::optional<QuickFilter> quickFilter_;  // the filter decided on the record itself
    bool filtered_ = false;
    bool open_ = false;
    const storage::KeyDef* key_ = nullptr;
    int rangeField_ = -1;
    std::size_t rangeComponents_ = 0;

    From from_ = From::Start;
    std::string anchor_;  // position of a Position or After start
    std::deque<storage::PageRow> ahead_;
    storage::Direction aheadDirection_ = storage::Direction::Forward;
    std::string position_;
    std::size_t batch_ = 16;
};

}  // namespace framework::browse
