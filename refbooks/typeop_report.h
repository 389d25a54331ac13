// The printed list of the operation types, "Типы Операций": every operation type
// in code order, one line each with its code, designation, name and three check
// boxes for the goods, money and receipt flags; the title, the page number and
// the column headings on every page. The list's "Печатать" button and the
// command line (tarvo --print TypeOp --pdf FILE) print it. It asks no rights.
#pragma once

#include "framework/report_procedure.h"

namespace storage {
class DataFile;
}

namespace refbooks {

// The key the list is printed in.
inline constexpr const char* kTypeOpReportKey = "TOP:ID_KEY";

// The layout reads the fields of `file`'s record buffer as each line prints.
framework::ReportDefinition typeOpReport(storage::DataFile& file);

// The report procedure: the program's TypeOp file taken into use, every record in
// TOP:ID_KEY order, through the report runner (progress window, preview,
// printing). Returns the response, also left in GlobalResponse.
int printTypeOpList();

}  // namespace refbooks
