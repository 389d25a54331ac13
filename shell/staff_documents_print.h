// The staff documents of the access library on the command line: the three staff
// lists ("Staff", "StaffByDepartment", "StaffStatement") and, for one employee,
// "TravelCertificate" and "PowerOfAttorney". The library renders them over its
// own access files (DOSTUP_PRINTPDF).
#pragma once

#include "shell/print_command.h"

#include <vector>

namespace shell {

std::vector<PrintableReport> staffDocumentReports();

}  // namespace shell
