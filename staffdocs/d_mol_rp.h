// The staff documents: the three staff lists, the travel certificate and the
// power of attorney, each a report over the library's access files run by the
// report machinery (progress window counting against 500 records, 25 a tick,
// preview, printing). The two forms are for the employee in the MOL record buffer
// when they start, where the employee list leaves its highlighted record.
#pragma once

#include "framework/report_procedure.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

namespace staffdocs {

enum class StaffDocument {
    Staff,              // by surname
    StaffByDepartment,  // grouped by department
    StaffStatement,     // with the empty "Получено" and "Подпись" columns
    TravelCertificate,  // of one employee
    PowerOfAttorney,    // of one employee
};

// The names the command line knows them by ("Staff", "TravelCertificate", ...).
const char* documentName(StaffDocument document);
std::optional<StaffDocument> findDocument(std::string_view name);  // any letter case
bool forOneEmployee(StaffDocument document);

// What runs a document once its files are in use and its definition is built:
// the report procedure, or a rendering into a file.
using DocumentRunner =
    std::function<int(const framework::ReportDefinition& report, framework::RecordSource& source)>;

// Takes MOL and OtdMOL into use, reads the requisites and today's date, binds the
// employee code from the MOL buffer, runs the document through `runner` and
// releases the files. Returns what the runner returns.
int runDocument(StaffDocument document, const DocumentRunner& runner);

// The report procedures: through the installed report runner. Return the
// response, also left in GlobalResponse.
int printDocument(StaffDocument document);

// The outcomes of DOSTUP_PRINTPDF besides a number of pages.
inline constexpr int kPdfUnknownDocument = -1;
inline constexpr int kPdfNoEmployee = -2;
inline constexpr int kPdfNotWritten = -3;
inline constexpr int kPdfNoWindows = -4;

// Fetches the employee `code` into the MOL buffer; false when there is none.
bool fetchEmployee(std::uint16_t code);

}  // namespace staffdocs
