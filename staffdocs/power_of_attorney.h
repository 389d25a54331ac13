// The power of attorney ("Доверенность") of the chosen employee for receiving
// goods, on one A4 page: the organisation's requisites under its logo, the
// validity and number left for the hand, today's date of issue, the employee's
// full name, job title and passport, the empty table of the goods with its
// headings, and the signatures of the head and the chief accountant.
#pragma once

#include "staffdocs/report_context.h"

namespace staffdocs {

framework::ReportDefinition powerOfAttorneyReport(ReportContext& context);

}  // namespace staffdocs
