// What a staff document's layout reads while it prints: the employee and
// department buffers, the values computed per employee, the organisation's
// requisites and the day the document is issued. It lives for the run; the
// layouts hold references into it.
#pragma once

#include "framework/report_procedure.h"
#include "staffdocs/employee_values.h"
#include "staffdocs/requisites.h"

#include <cstdint>
#include <functional>
#include <string>

namespace staffdocs {

struct ReportContext {
    ReportContext(storage::DataFile& mol, storage::DataFile& otdMol)
        : mol(mol), otdMol(otdMol), values(mol, otdMol) {}

    storage::DataFile& mol;
    storage::DataFile& otdMol;
    EmployeeValues values;
    Requisites requisites;
    std::int32_t today = 0;
    std::string century;        // the first digits of today's year ("20")
    std::int64_t employee = 0;  // the chosen employee's code (the two forms)
};

// The view of the two forms, "MOL:SCode = Report:Save::MOL:SCode" in MOL:SCODE_KEY
// order: codes below the chosen one are passed over, the first above it ends the
// reading.
std::function<framework::RecordStatus()> chosenEmployeeOnly(const ReportContext& context);

// The pieces every layout of the staff documents uses.
namespace layout_parts {
namespace r = framework::report;

// The page of the library's journal printouts (the rights, the rights journal,
// the employees' changes): body width and line height in millimetres, fonts.
inline constexpr double kJournalBodyWidth = 185;
inline constexpr double kJournalLine = 4.5;
inline const r::Font kJournalTitleFont{"Arial Cyr", 13, true};
inline const r::Font kJournalHeadingFont{"Arial Cyr", 8, true};

// A field over a text the context holds, or over a field of the MOL buffer.
r::ValueGetter textOf(const std::string& text);
r::ValueGetter molText(const ReportContext& context, const char* field);
r::ValueGetter molNumber(const ReportContext& context, const char* field);
// Fixed text of UTF-8 source characters, in code page 1251.
r::Item label(r::Box box, const char* utf8, r::Align align = r::Align::Left);
// A line for a hand to fill in under a box.
r::Item underline(r::Box box);
}  // namespace layout_parts

}  // namespace staffdocs
