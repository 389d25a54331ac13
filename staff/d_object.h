// Access objects: the list of Object (OBJECT_T) with its two orders and the
// object form "Обьект системы". Neither asks for rights. Declared for the list
// and form engines.
#pragma once

#include "framework/browse/browse_definition.h"
#include "framework/form/form_definition.h"

#include <functional>

namespace staff {

// The object list; `updateForm` runs objectForm().
framework::browse::BrowseDefinition objectList(std::function<void()> updateForm);

// The object form.
framework::form::FormDefinition objectForm();

namespace object_form {
inline constexpr int kId = 2;
inline constexpr int kDesignation = 4;
inline constexpr int kName = 6;
inline constexpr int kType = 8;
}  // namespace object_form

}  // namespace staff
