// A list's filter of the commonest shape, "(mol:SCode>0)": one whole-number
// field of the list's own record compared with a whole number. Such a filter is
// decided on the record itself, with the result the expression evaluator gives
// (whole numbers compare exactly either way); every other filter goes through
// the evaluator.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace storage {
class Record;
class RecordLayout;
}  // namespace storage

namespace framework::browse {

class QuickFilter {
public:
    // The quick form of `text` over records of `layout`, when it has that shape.
    static std::optional<QuickFilter> of(std::string_view text, const storage::RecordLayout& layout);
    bool accepts(const storage::Record& record) const;

private:
    enum class Op : std::uint8_t { Equal, NotEqual, Less, Greater, LessOrEqual, GreaterOrEqual };
    std::size_t field_ = 0;
    Op op_ = Op::Equal;
    std::int64_t value_ = 0;
};

}  // namespace framework::browse
