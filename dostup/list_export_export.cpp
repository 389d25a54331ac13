// DOSTUP_EXPORTLIST: one of the library's lists into a spreadsheet file for a
// host's command line, as the list's "В таблицу" writes it.
#include "access/dostup.h"
#include "framework/spreadsheet/list_export.h"
#include "platform/user_services.h"
#include "staff/d_katmol.h"
#include "staff/d_mol.h"
#include "staff/d_object.h"
#include "staff/d_otdmol.h"

#include <optional>
#include <strings.h>

namespace {

std::optional<framework::browse::BrowseDefinition> listNamed(const char* name) {
    auto is = [name](const char* known) { return strcasecmp(name, known) == 0; };
    if (is("MOL")) return staff::employeeList({});
    if (is("OtdMOL")) return staff::departmentList({});
    if (is("KatMOL")) return staff::categoryList({}, {});
    if (is("Object")) return staff::objectList({});
    return std::nullopt;
}

}  // namespace

extern "C" DOSTUP_API int32_t DOSTUP_EXPORTLIST(const char* list, const char* path) {
    std::optional<framework::browse::BrowseDefinition> definition = listNamed(list ? list : "");
    if (!definition) return -1;
    const std::string target = path ? path : "";
    const std::optional<framework::spreadsheet::TableFormat> format =
        framework::spreadsheet::formatOfPath(target);
    if (!format) return -1;
    const framework::spreadsheet::ExportOutcome outcome =
        framework::spreadsheet::exportWithoutWindow(std::move(*definition), target, *format);
    if (!outcome.error.empty()) {
        platform::messageBox(outcome.error, platform::ru(" Ошибка"), platform::Icon::Exclamation);
        return -2;
    }
    return static_cast<int32_t>(outcome.rows);
}
