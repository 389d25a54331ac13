// Departments: the list "Справочник Подразделений" (OTDMOL_T, also the picker of
// the employee list) and the department form, which shows the department's
// employees read-only. Declared for the list and form engines.
#pragma once

#include "framework/browse/browse_definition.h"
#include "framework/form/form_definition.h"

#include <functional>

namespace staff {

// The department list. With GlobalRequest 4 it picks a department and leaves it
// in the OtdMOL buffer. `updateForm` runs departmentForm().
framework::browse::BrowseDefinition departmentList(std::function<void()> updateForm);

// The department form with its employee list (control department_form::kEmployees).
framework::form::FormDefinition departmentForm();

// The employees of the department on the form, read-only, with their category.
framework::browse::BrowseDefinition departmentEmployees();

namespace department_form {
inline constexpr int kCode = 3;
inline constexpr int kName = 5;
inline constexpr int kLeader = 7;
inline constexpr int kNote = 9;
inline constexpr int kEmployees = 11;
}  // namespace department_form

}  // namespace staff
