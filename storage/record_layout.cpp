#include "storage/record_layout.h"

#include <stdexcept>

namespace storage {

std::string upperAsciiName(std::string_view name) {
    std::string out(name);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

RecordLayout::RecordLayout(std::string label, std::string prefix, std::string diskName,
                           std::string builtInName, bool isProtected)
    : label_(std::move(label)),
      prefix_(std::move(prefix)),
      diskName_(std::move(diskName)),
      builtInName_(std::move(builtInName)),
      protected_(isProtected) {}

RecordLayout& RecordLayout::add(std::string_view name, FieldType type, std::size_t size) {
    FieldDef def;
    def.type = type;
    def.size = size;
    def.offset = size_;
    if (!name.empty()) {
        def.name = prefix_ + ":" + std::string(name);
        const int index = static_cast<int>(fields_.size());
        const std::string full = upperAsciiName(def.name);
        const std::string bare = upperAsciiName(name);
        if (byName_.count(full))
            throw std::logic_error("duplicate field " + def.name);
        byName_[full] = index;
        byName_[bare] = index;
    }
    fields_.push_back(std::move(def));
    size_ += size;
    return *this;
}

RecordLayout& RecordLayout::byte(std::string_view n) { return add(n, FieldType::Byte, 1); }
RecordLayout& RecordLayout::int16(std::string_view n) { return add(n, FieldType::Short, 2); }
RecordLayout& RecordLayout::uint16(std::string_view n) { return add(n, FieldType::UShort, 2); }
RecordLayout& RecordLayout::int32(std::string_view n) { return add(n, FieldType::Long, 4); }
RecordLayout& RecordLayout::uint32(std::string_view n) { return add(n, FieldType::ULong, 4); }
RecordLayout& RecordLayout::real(std::string_view n) { return add(n, FieldType::Real, 8); }
RecordLayout& RecordLayout::decimal(std::string_view n) {
    return add(n, FieldType::Decimal, kDecimalBytes);
}
RecordLayout& RecordLayout::string(std::string_view n, std::size_t size) {
    return add(n, FieldType::String, size);
}
RecordLayout& RecordLayout::cstring(std::string_view n, std::size_t size) {
    return add(n, FieldType::CString, size);
}
RecordLayout& RecordLayout::reservedByte() { return add({}, FieldType::Byte, 1); }

RecordLayout& RecordLayout::key(std::string_view name,
                                std::initializer_list<std::string_view> components,
                                bool unique, bool primary) {
    KeyDef def;
    def.name = prefix_ + ":" + std::string(name);
    def.unique = unique;
    def.primary = primary;
    if (key(name) != nullptr) throw std::logic_error("duplicate key " + def.name);
    for (std::string_view component : components) {
        const int index = fieldIndex(component);
        if (index < 0)
            throw std::logic_error("key " + def.name + " names unknown field " +
                                   std::string(component));
        def.components.push_back(static_cast<std::size_t>(index));
    }
    keys_.push_back(std::move(def));
    return *this;
}

RecordLayout RecordLayout::view(std::string prefix) const {
    RecordLayout copy(label_, std::move(prefix), diskName_, builtInName_, protected_);
    for (const FieldDef& f : fields_) {
        const std::string bare = f.name.empty() ? std::string() : f.name.substr(prefix_.size() + 1);
        copy.add(bare, f.type, f.size);
    }
    for (const KeyDef& k : keys_) {
        KeyDef def = k;
        def.name = copy.prefix_ + k.name.substr(prefix_.size());
        copy.keys_.push_back(std::move(def));
    }
    return copy;
}

const KeyDef* RecordLayout::primaryKey() const {
    for (const KeyDef& k : keys_)
        if (k.primary) return &k;
    return keys_.empty() ? nullptr : &keys_.front();
}

int RecordLayout::fieldIndex(std::string_view name) const {
    auto it = byName_.find(upperAsciiName(name));
    return it == byName_.end() ? -1 : it->second;
}

const FieldDef* RecordLayout::field(std::string_view name) const {
    const int index = fieldIndex(name);
    return index < 0 ? nullptr : &fields_[static_cast<std::size_t>(index)];
}

const KeyDef* RecordLayout::key(std::string_view name) const {
    const std::string wanted = upperAsciiName(name);
    for (const KeyDef& k : keys_) {
        const std::string full = upperAsciiName(k.name);
        if (full == wanted || full.substr(prefix_.size() + 1) == wanted) return &k;
    }
    return nullptr;
}

std::size_t RecordLayout::indexOf(std::string_view name) const {
    const int index = fieldIndex(name);
    if (index < 0) throw std::invalid_argument("no field " + std::string(name) + " in " + label());
    return static_cast<std::size_t>(index);
}

}  // namespace storage
