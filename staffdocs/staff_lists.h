// The three staff lists: every employee with a code above 0, one line each, with
// the logo, the title and "Страница N" on every page.
// - by surname ("Список сотрудников"): code, surname with initials, telephone,
//   department, in MOL:NAME_KEY order;
// - by department ("Сотрудники по Подразделениям"): a header with the department
//   name before each department's employees, then code, surname with initials and
//   job title, in MOL:OTD_KEY order;
// - the statement ("Ведомость сотрудников"): grouped the same way, surname with
//   initials and job title, and the empty "Получено" and "Подпись" cells.
#pragma once

#include "staffdocs/report_context.h"

namespace staffdocs {

framework::ReportDefinition staffListReport(ReportContext& context);
framework::ReportDefinition staffByDepartmentReport(ReportContext& context);
framework::ReportDefinition staffStatementReport(ReportContext& context);

}  // namespace staffdocs
