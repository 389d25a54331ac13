// What the currency book and the rate history share: the pictures of rates and
// rate entries, the columns of the rate lists, and field indexes by name.
#pragma once

#include "framework/browse/browse_definition.h"
#include "platform/cp1251.h"
#include "storage/record.h"
#include "storage/record_layout.h"

#include <cstddef>
#include <string>

namespace refbooks::rates {

using Side = framework::browse::CellAlignment::Side;

inline constexpr const char* kRatePicture = "n12.5";
inline constexpr const char* kPercentPicture = "n-7.2b";  // blank when 0
inline constexpr const char* kNumberPicture = "n3";
inline constexpr const char* kDatePicture = "d5.";  // day.month.two-digit year

// The index of a field the layout is known to have.
inline std::size_t field(const storage::Record& record, const char* name) {
    return record.layout().indexOf(name);
}

inline double real(const storage::Record& record, const char* name) {
    return record.getReal(field(record, name));
}

inline void setReal(storage::Record& record, const char* name, double value) {
    record.setReal(field(record, name), value);
}

// Columns of the rate lists (the history and the list inside the currency form).
inline framework::browse::ColumnDefinition numberColumn() {
    return {"KUR:NUMBER", platform::ru("Номер"), 28, kNumberPicture, {Side::Right, 4},
            {Side::Centre, 0}};
}

inline framework::browse::ColumnDefinition dateColumn() {
    return {"KUR:DATE", platform::ru("Дата"), 40, kDatePicture, {Side::Right, 2},
            {Side::Centre, 0}};
}

inline framework::browse::ColumnDefinition rateColumn(const char* field, const std::string& header) {
    return {field, header, 56, kRatePicture, {Side::Right, 2}, {Side::Centre, 0}};
}

}  // namespace refbooks::rates
