// A data file object: its layout, its settable disk name and its record buffer.
// Each deliverable holds one object per data file it owns.
#pragma once

#include "storage/record.h"

#include <string>
#include <string_view>

namespace storage {

constexpr std::size_t kMaxFileNameLength = 80;

class DataFile {
public:
    explicit DataFile(const RecordLayout& layout)
        : layout_(&layout), record_(layout), name_(layout.builtInName()) {}

    const RecordLayout& layout() const { return *layout_; }
    const std::string& label() const { return layout_->label(); }
    Record& record() { return record_; }
    const Record& record() const { return record_; }

    // The disk name ("D:\Data\Firm"), at most 80 characters; a longer one is cut.
    const std::string& name() const { return name_; }
    void setName(std::string_view name) { name_ = std::string(name.substr(0, kMaxFileNameLength)); }

private:
    const RecordLayout* layout_;
    Record record_;
    std::string name_;
};

}  // namespace storage
