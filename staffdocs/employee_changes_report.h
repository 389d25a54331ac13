// The printed employees' changed fields ("EmployeeChanges"): under each change-log
// entry (date, time, employee, operation, operator) the fields its request
// altered, old and new, for every employee or one, within a period.
#pragma once

#include "framework/report_procedure.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <tuple>

namespace staffdocs {

// What the layout reads besides the MolChange buffer: the heading of each
// change-log entry, looked up once per entry.
struct EmployeeChangesContext {
    std::map<std::tuple<std::int64_t, std::int64_t, std::int64_t>, std::string> headings;
    const std::string& headingOfCurrent();
};

framework::ReportDefinition employeeChangesReport(EmployeeChangesContext& context, const std::string& subtitle);

// Whether the changed field in the MolChange buffer belongs to the employee
// (any when none) and lies within the days from..to (0: open end).
bool changeWanted(std::optional<std::uint16_t> employee, std::int32_t from, std::int32_t to);

}  // namespace staffdocs
