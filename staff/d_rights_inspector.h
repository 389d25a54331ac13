// The rights inspector "Проверка доступа": for one employee, every access
// object with the bans the rights check applies to the employee's category and
// where they come from (the category's Dostup row, or none: everything
// allowed); and, for one object, every employee banned from it with the
// category that bans. Declared for the browse engine like the rights grid.
#pragma once

#include "framework/browse/browse_definition.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>

namespace staff {

// The seven bans the inspector shows, in its order of columns: the flag and its
// header ("Доступ", "Добавление", "Изменение", "Удаление", "Печать",
// "Утверждение", "Разутверждение").
struct InspectedBan {
    const char* flag;    // "DOS:OPENFLAG"
    const char* header;  // UTF-8
    int bit;             // of the rights mask
};
const std::array<InspectedBan, 7>& inspectedBans();

// The bans of a category on an object as the rights check reads them: the
// mask and whether a row gives it. Leaves the row in the Dostup buffer.
struct InspectedRights {
    std::int16_t mask = 0;
    bool hasRow = false;
};
InspectedRights inspectRights(std::int16_t category, std::uint16_t object);
// Where a mask comes from, as the inspector shows it: "строка категории «Склад»"
// or "нет строки — всё разрешено".
std::string rightsSource(const InspectedRights& rights, const std::string& categoryName);

// What the inspector calls out to: the list of one object's banned employees,
// and printing the employee's rights (nullptr: the buttons do nothing).
struct InspectorCallouts {
    std::function<void(std::uint16_t object, const std::string& designation)> openObject;
    std::function<void(std::uint16_t employee)> print;
};

// The inspector for the employee `code` (the list is over Object in
// designation order; its heading names the employee and the category).
framework::browse::BrowseDefinition rightsInspector(std::uint16_t code, InspectorCallouts callouts);
// The employees banned anything on the object, with their category (over MOL
// in surname order, an employee shown when the category's row bans anything).
framework::browse::BrowseDefinition objectBans(std::uint16_t object, const std::string& designation);

}  // namespace staff
