// The employee screens as exports: the lists MOL_T and MOL_, the selection
// MOL_S, the change-log entry PUTMOLLOG.
#include "access/access_files.h"
#include "access/employee_log.h"
#include "access/dostup.h"
#include "dostup/rights_screens.h"
#include "dostup/screen_host.h"
#include "framework/file_access.h"
#include "framework/shared_state.h"
#include "staff/d_mol.h"
#include "staff/d_mol_form.h"
#include "staff/d_mollog.h"

#ifdef DOSTUP_WITH_WINDOWS
#include "staffdocs/windows/staff_reports_window.h"
#endif

#include <cstring>
#include <string>

namespace {

constexpr std::size_t kOperationLength = 32;

void logEntryForm() { dostup::runScreenForm(staff::logEntryForm()); }

void employeeForm() {
    staff::EmployeeFormCallouts callouts;
    callouts.pickEmployee = [] { return MOL_S(); };
    callouts.logEntryForm = logEntryForm;
    dostup::runScreenForm(staff::employeeForm(callouts));
}

staff::EmployeeCallouts callouts() {
    staff::EmployeeCallouts c;
    c.updateForm = employeeForm;
    c.pickFilter = [](const std::string& table) { return std::string(FILTER_S(table.c_str())); };
    c.pickHistory = [](const std::string& field) { return std::string(HLIST_S(field.c_str())); };
    c.putHistory = [](const std::string& field, const std::string& value) {
        PUTHLIST(field.c_str(), value.c_str(), nullptr);
    };
    c.pickDepartment = [] { OTDMOL_T(); };
    c.inspect = dostup::openRightsInspectorFor;
#ifdef DOSTUP_WITH_WINDOWS
    c.print = [] { staffdocs::showStaffReports(); };
#endif
    return c;
}

}  // namespace

extern "C" {

DOSTUP_API void MOL_T(void) { dostup::runScreenList(staff::employeeList(callouts())); }

DOSTUP_API void MOL_(void) { dostup::runScreenList(staff::employeeSelection(callouts())); }

DOSTUP_API uint16_t MOL_S(void) {
    storage::DataFile& mol = dostup::accessFiles().mol;
    framework::useFile(mol);
    framework::globalRequest() = framework::kRequestSelect;
    MOL_();
    if (framework::globalResponse() != framework::kResponseCompleted) mol.record().clear();
    const auto code = static_cast<uint16_t>(
        mol.record().getInt("MOL:SCODE"));
    // The use taken here is given back: the list held its own while it ran.
    framework::releaseFile(mol);
    return code;
}

DOSTUP_API void PUTMOLLOG(const char* operation) {
    dostup::putEmployeeLog(operation ? std::string(operation, strnlen(operation, kOperationLength)) : std::string());
}

}  // extern "C"
