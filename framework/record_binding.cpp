#include "framework/record_binding.h"

#include "storage/record_layout.h"

namespace framework {

int RecordBinding::fieldOf(const storage::RecordLayout& layout, std::string_view name) {
    const std::string& prefix = layout.prefix();
    // "PREFIX:FIELD": the prefix must be the record's, followed by exactly one colon
    // ("BRW1::PRI:ID" belongs to a list, not to the Price record).
    if (name.size() <= prefix.size() + 1 || name[prefix.size()] != ':' ||
        name[prefix.size() + 1] == ':')
        return -1;
    if (storage::upperAsciiName(name.substr(0, prefix.size())) != storage::upperAsciiName(prefix))
        return -1;
    return layout.fieldIndex(name);
}

int RecordBinding::fieldOf(std::string_view name) const {
    const storage::RecordLayout* layout = &record_->layout();
    for (const Known& k : known_)
        if (k.layout == layout && k.name == name) return k.field;
    const int field = fieldOf(*layout, name);
    constexpr std::size_t kMostKnown = 32;
    if (known_.size() < kMostKnown) known_.push_back({layout, std::string(name), field});
    return field;
}

std::optional<std::string> RecordBinding::value(std::string_view name) const {
    const int field = fieldOf(name);
    if (field < 0) return std::nullopt;
    return record_->value(static_cast<std::size_t>(field));
}

std::optional<platform::BoundValue> RecordBinding::boundValue(std::string_view name) const {
    const int field = fieldOf(name);
    if (field < 0) return std::nullopt;
    const bool text = record_->layout().fields()[static_cast<std::size_t>(field)].isText();
    return platform::BoundValue{record_->value(static_cast<std::size_t>(field)), !text};
}

}  // namespace framework
