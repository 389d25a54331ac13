#include "staffdocs/windows/rights_pdf.h"

#include "staffdocs/d_mol_rp.h"
#include "ui/report_runner.h"

namespace staffdocs {

int renderRightsPdf(RightsDocument document, std::optional<std::uint16_t> employee, const QString& path) {
    ui::PdfRendering result;
    const int outcome = runRightsDocument(
        document, employee, {}, [&](const framework::ReportDefinition& report, framework::RecordSource& source) {
            // Who may do what, and who did what: the file is its owner's alone.
            result = ui::renderToPdf(report, source, path, true);
            return result.response;
        });
    if (outcome == kPdfNoEmployee) return kPdfNoEmployee;
    if (result.pages > 0 && !result.written) return kPdfNotWritten;
    return result.pages;
}

}  // namespace staffdocs
