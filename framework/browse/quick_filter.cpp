#include "framework/browse/quick_filter.h"

#include "framework/record_binding.h"
#include "storage/record.h"

#include <array>
#include <charconv>
#include <string>
#include <utility>

namespace framework::browse {

namespace {

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

// Without the brackets around the whole text ("((a>0))" is "a>0").
std::string_view unbracketed(std::string_view text) {
    text = trimmed(text);
    while (text.size() >= 2 && text.front() == '(' && text.back() == ')') {
        int depth = 0;
        bool wholeText = true;
        for (std::size_t i = 0; i < text.size() && wholeText; ++i) {
            if (text[i] == '(') ++depth;
            if (text[i] == ')' && --depth == 0 && i + 1 < text.size()) wholeText = false;
        }
        if (!wholeText) break;
        text = trimmed(text.substr(1, text.size() - 2));
    }
    return text;
}

bool isNameCharacter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
           c == ':';
}

}  // namespace

std::optional<QuickFilter> QuickFilter::of(std::string_view text, const storage::RecordLayout& layout) {
    text = unbracketed(text);
    std::size_t nameEnd = 0;
    while (nameEnd < text.size() && isNameCharacter(text[nameEnd])) ++nameEnd;
    if (nameEnd == 0 || !((text[0] >= 'A' && text[0] <= 'Z') || (text[0] >= 'a' && text[0] <= 'z')))
        return std::nullopt;
    const int field = RecordBinding::fieldOf(layout, text.substr(0, nameEnd));
    if (field < 0 || !layout.fields()[static_cast<std::size_t>(field)].isInteger()) return std::nullopt;

    std::string_view rest = trimmed(text.substr(nameEnd));
    static const std::array<std::pair<std::string_view, Op>, 6> operators = {{
        {"<=", Op::LessOrEqual}, {">=", Op::GreaterOrEqual}, {"<>", Op::NotEqual},
        {"=", Op::Equal}, {"<", Op::Less}, {">", Op::Greater},
    }};
    QuickFilter quick;
    quick.field_ = static_cast<std::size_t>(field);
    bool found = false;
    for (const auto& [spelling, op] : operators)
        if (rest.substr(0, spelling.size()) == spelling) {
            quick.op_ = op;
            rest = trimmed(rest.substr(spelling.size()));
            found = true;
            break;
        }
    if (!found || rest.empty()) return std::nullopt;
    // A whole number and nothing after it ("0", "-5"; not "0.5", "1e3", "'0'").
    const char* begin = rest.data();
    const char* end = rest.data() + rest.size();
    if (*begin == '+') ++begin;
    const auto [stop, error] = std::from_chars(begin, end, quick.value_);
    if (error != std::errc() || stop != end) return std::nullopt;
    return quick;
}

bool QuickFilter::accepts(const storage::Record& record) const {
    const std::int64_t v = record.getInt(field_);
    switch (op_) {
        case Op::Equal: return v == value_;
        case Op::NotEqual: return v != value_;
        case Op::Less: return v < value_;
        case Op::Greater: return v > value_;
        case Op::LessOrEqual: return v <= value_;
        case Op::GreaterOrEqual: return v >= value_;
    }
    return true;
}

}  // namespace framework::browse
