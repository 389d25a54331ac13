// The travel certificate ("КОМАНДИРОВОЧНОЕ  УДОСТОВЕРЕНИЕ", standard form No 283)
// of the chosen employee, on one A4 page: the front with the organisation's name,
// the employee's full name, job title and passport, and below the fold the
// reverse with four blocks of departure and arrival marks. Dates left for the
// hand print the century ("20") before the blanks of the rest of the year.
#pragma once

#include "staffdocs/report_context.h"

namespace staffdocs {

framework::ReportDefinition travelCertificateReport(ReportContext& context);

}  // namespace staffdocs
