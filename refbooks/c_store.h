// The store book, shown as sections ("Участки"): the list "Справочник Участков",
// the store form with its responsible employee, and the printed list. Declared
// for the list and form engines and the report runner.
#pragma once

#include "framework/browse/browse_definition.h"
#include "framework/form/form_definition.h"
#include "framework/report_procedure.h"

#include <cstdint>
#include <functional>
#include <string>

namespace storage {
class DataFile;
}

namespace refbooks {

// The staff directory's services the form uses: the employee picker (the chosen
// employee's code, 0 when nothing was chosen) and the short name of an employee
// code (surname with initials), both from the access library.
struct StoreStaff {
    std::function<std::uint16_t()> pickEmployee;
    std::function<std::string(std::uint16_t code)> shortName;
};

// The list in STO:CODE_KEY order; `updateForm` runs the book's form.
framework::browse::BrowseDefinition storeList(std::function<void()> updateForm);
framework::form::FormDefinition storeForm(StoreStaff staff);

namespace store_form {
inline constexpr int kCode = 2;
inline constexpr int kName = 4;
inline constexpr int kAddress1 = 6;
inline constexpr int kAddress2 = 7;
inline constexpr int kPhone = 9;
inline constexpr int kFax = 11;
inline constexpr int kPrice = 13;
inline constexpr int kRemote = 14;
inline constexpr int kResponsible = 16;
inline constexpr int kPickEmployee = 17;
inline constexpr int kEmployeeName = 18;
inline constexpr int kReserve = 19;
}  // namespace store_form

// The printed list "Справочник Участков", every store in code order.
inline constexpr const char* kStoreReportKey = "STO:CODE_KEY";
framework::ReportDefinition storeReport(storage::DataFile& file);
// The report procedure over the program's Store file; returns the response.
int printStoreList();

}  // namespace refbooks
