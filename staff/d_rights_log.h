// The rights journal on screen: "Журнал изменений прав", the entries of
// RightsLog in the order they were made, narrowed by period, category, object
// and operator, printable, and cut to its last days by "Сжать журнал".
// Opened from the rights grid ("Журнал") and the console's menu; its access
// object is "Dostup": who may not open the rights may not read their history.
#pragma once

#include "framework/browse/browse_definition.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace staff {

// What the journal list shows: entries of the period (day numbers, 0 = open
// end), of one category, one object designation and one operator when given.
struct RightsLogFilter {
    std::int32_t from = 0;
    std::int32_t to = 0;
    std::optional<std::int16_t> category;
    std::string object;  // compared without regard to letter case; empty = any
    std::optional<std::uint16_t> operatorCode;

    bool accepts(const storage::Record& entry) const;
};

namespace rights_log_list {
inline constexpr std::size_t kFrom = 0;      // "С:"
inline constexpr std::size_t kTo = 1;        // "По:"
inline constexpr std::size_t kCategory = 2;  // "Категория:"
inline constexpr std::size_t kObject = 3;    // "Объект:"
inline constexpr std::size_t kOperator = 4;  // "Оператор:"
}  // namespace rights_log_list

// The journal list; `print` prints the entries the filter lets through (the
// report runner of the face), nullptr leaves the print button without effect.
framework::browse::BrowseDefinition rightsLogList(
    std::function<void(const RightsLogFilter& filter)> print = {});

}  // namespace staff
