// DOSTUP_PRINTPDF: a staff document into a PDF file for a host's command line.
#include "access/dostup.h"
#include "staffdocs/d_mol_rp.h"
#include "staffdocs/rights_reports.h"

#ifdef DOSTUP_WITH_WINDOWS
#include "dostup/screen_host.h"
#include "staffdocs/windows/rights_pdf.h"
#include "staffdocs/windows/staff_pdf.h"
#endif

extern "C" DOSTUP_API int32_t DOSTUP_PRINTPDF(const char* document, uint16_t code,
                                              const char* path) {
    const std::optional<staffdocs::StaffDocument> which =
        staffdocs::findDocument(document ? document : "");
    const std::optional<staffdocs::RightsDocument> rights =
        which ? std::nullopt : staffdocs::findRightsDocument(document ? document : "");
    if (!which && !rights) return staffdocs::kPdfUnknownDocument;
#ifdef DOSTUP_WITH_WINDOWS
    if (rights) {
        dostup::prepareRendering();
        // The rights (or changes) of every category (employee) without an
        // employee (code 0).
        return staffdocs::renderRightsPdf(*rights, code ? std::optional<std::uint16_t>(code) : std::nullopt,
                                          QString::fromLocal8Bit(path ? path : ""));
    }
    if (staffdocs::forOneEmployee(*which) && !staffdocs::fetchEmployee(code))
        return staffdocs::kPdfNoEmployee;
    dostup::prepareRendering();  // fonts need an application; offscreen without a display
    return staffdocs::renderDocumentPdf(*which, QString::fromLocal8Bit(path ? path : ""));
#else
    (void)code;
    (void)path;
    return staffdocs::kPdfNoWindows;
#endif
}
