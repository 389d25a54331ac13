// The page queue of a list: exactly the rows the list box shows, each with the
// displayed fields of its record (named after the list, "BRW1::PRI:NAME"), the row
// mark and the record's position. A row is never the record itself: only its
// fields go back into the record buffer, and a whole record is re-read by position.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace storage {
class Record;
}

namespace framework::browse {

// One field a row carries: which record buffer it belongs to and its index there.
struct QueueField {
    std::string name;  // "PRI:NAME", as the layout declares it
    storage::Record* buffer = nullptr;
    std::size_t field = 0;
    bool ownFile = true;  // false: a field of another file, read from its buffer
};

struct PageRow {
    std::vector<std::string> fields;  // the bytes of each queue field
    std::uint8_t mark = 0;            // BRW1::MARK, always 0
    std::string position;             // BRW1::POSITION
};

class PageQueue {
public:
    void setFields(std::vector<QueueField> fields, std::string prefix);
    const std::vector<QueueField>& fields() const { return fields_; }

    std::size_t size() const { return rows_.size(); }
    bool empty() const { return rows_.empty(); }
    void clear() { rows_.clear(); }
    const PageRow& row(std::size_t index) const { return rows_.at(index - 1); }  // 1-based
    const PageRow& front() const { return rows_.front(); }
    const PageRow& back() const { return rows_.back(); }

    void addTop(PageRow row) { rows_.push_front(std::move(row)); }
    void addBottom(PageRow row) { rows_.push_back(std::move(row)); }
    void dropTop() { rows_.pop_front(); }
    void dropBottom() { rows_.pop_back(); }
    void replace(std::size_t index, PageRow row) { rows_.at(index - 1) = std::move(row); }
    void remove(std::size_t index) { rows_.erase(rows_.begin() + static_cast<long>(index - 1)); }

    // A row from a record read for the page: own fields from `record`, the others
    // from their files' buffers.
    PageRow makeRow(const storage::Record& record, std::string position) const;
    // Copies a row's fields into their record buffers; nothing else changes.
    void copyToBuffers(std::size_t index) const;

    // Queue field names: "BRW1::PRI:NAME", "BRW1::MARK", "BRW1::POSITION" (any
    // letter case); the value as text, as Record::value gives it.
    std::optional<std::string> value(std::size_t index, std::string_view name) const;
    // 1-based row whose position equals `position`; 0 when none does.
    std::size_t find(std::string_view position) const;

private:
    std::vector<QueueField> fields_;
    std::string prefix_;
    std::deque<PageRow> rows_;
};

}  // namespace framework::browse
