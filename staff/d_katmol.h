// Employee categories: the list "Категории Сотрудников" (KATMOL_T), from which
// the rights grid of the highlighted category opens, and the category form
// " Категория Сотрудников" (KatMOL_up). Declared for the list and form engines.
#pragma once

#include "framework/browse/browse_definition.h"
#include "framework/form/form_definition.h"

#include <cstdint>
#include <functional>
#include <string>

namespace staff {

// Opens the rights grid of a category (its KTM:COD and KTM:KATEG).
using RightsGridOpener = std::function<void(std::uint16_t code, const std::string& name)>;

// The category list. `updateForm` runs categoryForm(); "Доступ" calls `openGrid`
// for the highlighted category.
// With `inspect`, a third button "Права" opens the rights inspector.
framework::browse::BrowseDefinition categoryList(std::function<void()> updateForm,
                                                 RightsGridOpener openGrid,
                                                 std::function<void()> inspect = {});

// The category form.
framework::form::FormDefinition categoryForm();

namespace category_form {
inline constexpr int kCode = 2;
inline constexpr int kName = 4;
}  // namespace category_form

namespace category_list {
// The book's own buttons, in definition().extraButtons order.
inline constexpr std::size_t kReread = 0;  // captioned "Помощь", with the print picture
inline constexpr std::size_t kRights = 1;  // "Доступ"
inline constexpr std::size_t kInspect = 2;  // "Права", when the list was given the inspector
}  // namespace category_list

}  // namespace staff
