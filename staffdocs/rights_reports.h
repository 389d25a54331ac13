// The printed rights: the rights journal ("RightsLog", the entries a filter lets
// through) and the rights ("Rights": the bans of one employee's category on
// every access object, or the whole matrix of categories and objects). Reports
// on the report machinery like the staff documents: progress, preview, PDF.
#pragma once

#include "framework/report_procedure.h"
#include "staff/d_rights_log.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

namespace staffdocs {

enum class RightsDocument {
    RightsLog,  // the journal
    Rights,     // the bans by category and object
    EmployeeChanges,  // the employees' changed fields (the journal of the employee form)
};

// "RightsLog", "Rights", "EmployeeChanges", in any letter case.
std::optional<RightsDocument> findRightsDocument(std::string_view name);

// What runs a document once its files are in use (as for the staff documents).
using RightsRunner =
    std::function<int(const framework::ReportDefinition& report, framework::RecordSource& source)>;

// Runs a document through `runner`: the journal through `filter`; the rights of
// the employee `employee` (his category), or of every category when none is
// given; the changed fields of that employee or of everyone, within the period
// of `filter`. Returns what the runner returns; -2 when no employee has the code.
int runRightsDocument(RightsDocument document, std::optional<std::uint16_t> employee,
                      const staff::RightsLogFilter& filter, const RightsRunner& runner);

// Through the installed report runner (preview, printing).
int printRightsDocument(RightsDocument document, std::optional<std::uint16_t> employee,
                        const staff::RightsLogFilter& filter = {});

}  // namespace staffdocs
