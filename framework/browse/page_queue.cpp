#include "framework/browse/page_queue.h"

#include "storage/record.h"

#include <cstring>

namespace framework::browse {

void PageQueue::setFields(std::vector<QueueField> fields, std::string prefix) {
    fields_ = std::move(fields);
    prefix_ = std::move(prefix);
    rows_.clear();
}

PageRow PageQueue::makeRow(const storage::Record& record, std::string position) const {
    PageRow row;
    row.position = std::move(position);
    row.fields.reserve(fields_.size());
    for (const QueueField& f : fields_) {
        const storage::Record& source = f.ownFile ? record : *f.buffer;
        const storage::FieldDef& def = source.layout().fields()[f.field];
        row.fields.emplace_back(reinterpret_cast<const char*>(source.data() + def.offset),
                                def.size);
    }
    return row;
}

void PageQueue::copyToBuffers(std::size_t index) const {
    const PageRow& r = row(index);
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        const QueueField& f = fields_[i];
        const storage::FieldDef& def = f.buffer->layout().fields()[f.field];
        std::memcpy(f.buffer->data() + def.offset, r.fields[i].data(), def.size);
    }
}

std::optional<std::string> PageQueue::value(std::size_t index, std::string_view name) const {
    if (index < 1 || index > rows_.size()) return std::nullopt;
    const std::string upperName = storage::upperAsciiName(name);
    const std::string upperPrefix = storage::upperAsciiName(prefix_);
    if (upperName.rfind(upperPrefix, 0) != 0) return std::nullopt;
    const std::string rest = upperName.substr(upperPrefix.size());
    const PageRow& r = row(index);
    if (rest == "MARK") return std::to_string(r.mark);
    if (rest == "POSITION") return r.position;
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        if (storage::upperAsciiName(fields_[i].name) != rest) continue;
        // Decode through a scratch record of the field's layout.
        storage::Record scratch(fields_[i].buffer->layout());
        const storage::FieldDef& def = scratch.layout().fields()[fields_[i].field];
        std::memcpy(scratch.data() + def.offset, r.fields[i].data(), def.size);
        return scratch.value(fields_[i].field);
    }
    return std::nullopt;
}

std::size_t PageQueue::find(std::string_view position) const {
    for (std::size_t i = 0; i < rows_.size(); ++i)
        if (rows_[i].position == position) return i + 1;
    return 0;
}

}  // namespace framework::browse
