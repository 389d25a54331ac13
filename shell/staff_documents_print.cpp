#include "shell/staff_documents_print.h"

#include "access/dostup.h"

#include <QByteArray>

namespace shell {

namespace {

// What the library answered, as the command line reads a rendering.
ui::PdfRendering rendering(std::int32_t pages) {
    ui::PdfRendering result;
    if (pages > 0) {
        result.response = framework::kResponseCompleted;
        result.pages = pages;
        result.written = true;
    } else if (pages < 0) {
        result.pages = 1;  // printed but not written
    }
    return result;
}

PrintableReport list(const char* name, const char* description) {
    return {name, description, [name](const QString& path) {
                return rendering(DOSTUP_PRINTPDF(name, 0, path.toLocal8Bit().constData()));
            }};
}

PrintableReport form(const char* name, const char* description) {
    PrintableReport report{name, description, {}};
    report.renderEmployeePdf = [name](const QString& path, std::uint16_t employee)
        -> std::optional<ui::PdfRendering> {
        const std::int32_t pages = DOSTUP_PRINTPDF(name, employee, path.toLocal8Bit().constData());
        if (pages == -2) return std::nullopt;
        return rendering(pages);
    };
    return report;
}

// Of every category, or of the employee given.
PrintableReport either(const char* name, const char* description) {
    PrintableReport report = form(name, description);
    report.renderPdf = list(name, description).renderPdf;
    return report;
}

}  // namespace

std::vector<PrintableReport> staffDocumentReports() {
    return {
        list("Staff", "staff list by surname, \"Список сотрудников\""),
        list("StaffByDepartment", "staff by department, \"Сотрудники по Подразделениям\""),
        list("StaffStatement", "staff statement, \"Ведомость сотрудников\""),
        form("TravelCertificate", "travel certificate of one employee (--employee CODE)"),
        form("PowerOfAttorney", "power of attorney of one employee (--employee CODE)"),
        list("RightsLog", "the rights journal, \"Журнал изменений прав\""),
        either("Rights", "the bans of every category on every object, or of one employee (--employee CODE)"),
        either("EmployeeChanges", "the employees' changed fields, of everyone or of one employee (--employee CODE)"),
    };
}

}  // namespace shell
