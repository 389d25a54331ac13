// Employees: the maintained list "Справочник Сотрудников" (MOL_T) and the
// selection list " Выбор Сотрудника" (MOL_), both over MOL by surname or by
// department, with the department and category of each row, the surname search
// with its input history, and (MOL_T) the saved filter. Declared for the list
// engine; what the lists call out to comes in EmployeeCallouts.
#pragma once

#include "framework/browse/browse_definition.h"

#include <cstdint>
#include <functional>
#include <string>

namespace staff {

// The library's screens and services the lists call; the exports fill them.
struct EmployeeCallouts {
    std::function<void()> updateForm;                            // MOL_up
    std::function<std::string(const std::string& table)> pickFilter;   // FILTER_S
    std::function<std::string(const std::string& field)> pickHistory;  // HLIST_S
    std::function<void(const std::string& field, const std::string& value)> putHistory;  // PUTHLIST
    std::function<void()> pickDepartment;  // OTDMOL_T with GlobalRequest 4
    std::function<void()> print;           // the staff report window
    // The rights inspector for an employee ("Права"); none: no such button.
    std::function<void(std::uint16_t code)> inspect;
};

// MOL_T. Every opening starts with the saved filter off.
framework::browse::BrowseDefinition employeeList(EmployeeCallouts callouts);
// MOL_ (GlobalRequest 4): no rights, no insert, change, delete or print.
framework::browse::BrowseDefinition employeeSelection(EmployeeCallouts callouts);

// loc:Otd_ID, the department the second tab shows.
std::uint16_t& listDepartment();
// The surname search text (30 characters).
std::string& surnameSearch();

// The lists' own controls, in BrowseDefinition::controls order.
namespace employee_list {
inline constexpr std::size_t kFilterOn = 0;     // MOL_T: " Фильтр:"
inline constexpr std::size_t kFilterName = 1;   // MOL_T: the filter's name
inline constexpr std::size_t kFilters = 2;      // MOL_T: "Фильтры"
inline constexpr std::size_t kSearch = 3;       // the surname search (first tab)
inline constexpr std::size_t kHistory = 4;      // "История"
inline constexpr std::size_t kDepartment = 5;   // MOL_T: department code; MOL_: drop list
inline constexpr std::size_t kPickDepartment = 6;  // MOL_T: "Выбрать"
}  // namespace employee_list

}  // namespace staff
