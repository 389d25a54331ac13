// A staff document straight into a PDF file, with no window: the command line's
// printing (DOSTUP_PRINTPDF).
#include "staffdocs/windows/staff_pdf.h"

#include "ui/report_runner.h"

namespace staffdocs {

int renderDocumentPdf(StaffDocument document, const QString& path) {
    ui::PdfRendering result;
    runDocument(document, [&](const framework::ReportDefinition& report,
                              framework::RecordSource& source) {
        // Staff documents name people (passports, telephones, addresses): the
        // file is its owner's alone.
        result = ui::renderToPdf(report, source, path, true);
        return result.response;
    });
    if (result.pages > 0 && !result.written) return kPdfNotWritten;
    return result.pages;
}

}  // namespace staffdocs
