#include "demo/staff/sample_staff.h"

namespace demo {

// The employee list offers the filters of "MOL_t"; the expressions name the
// fields of the employee record.
const std::vector<SampleFilter>& sampleFilters() {
    static const std::vector<SampleFilter> filters = {
        {"MOL_t", "Склад", "mol:Otd_ID = 5"},
        {"MOL_t", "Бухгалтерия", "mol:Otd_ID = 2"},
        {"MOL_t", "Магазины в Москве", "mol:Store = 2 OR mol:Store = 3"},
        {"MOL_t", "Региональные склады", "mol:Store >= 4"},
        {"MOL_t", "Могут входить в программу", "CLIP(mol:Login) <> ''"},
        {"MOL_t", "Фамилии на \"С\"", "SUB(mol:LName, 1, 1) = 'С'"},
    };
    return filters;
}

// Surnames looked for in the employee list, oldest first.
const std::vector<SampleHistory>& sampleHistory() {
    static const std::vector<SampleHistory> history = {
        {"MOL:LNAME", "Петров"},   {"MOL:LNAME", "Иванова"},  {"MOL:LNAME", "Морозова"},
        {"MOL:LNAME", "Волков"},   {"MOL:LNAME", "Смирнова"}, {"MOL:LNAME", "Макаров"},
    };
    return history;
}

}  // namespace demo
