// The employees' change log (MolLOG) on screen: the log tab of the employee
// form (ranged to the employee in the MOL buffer) and the entry form
// UpdateMolLOG " Запись журнала Операций".
#pragma once

#include "framework/browse/browse_definition.h"
#include "framework/form/form_definition.h"

#include <cstdint>
#include <functional>
#include <string>

namespace staff {

// The log tab's list (BRW9): the entries of the employee in the MOL buffer,
// oldest first. Its "Оператор" column shows who made each entry (MLO:OPERATOR).
// `updateForm` runs logEntryForm().
framework::browse::BrowseDefinition employeeLog(std::function<void()> updateForm);

// UpdateMolLOG.
framework::form::FormDefinition logEntryForm();

namespace log_form {
inline constexpr int kDate = 2;
inline constexpr int kTime = 4;
inline constexpr int kEmployee = 6;
inline constexpr int kOperator = 8;
inline constexpr int kOperation = 10;
inline constexpr int kNote = 12;
}  // namespace log_form

}  // namespace staff
