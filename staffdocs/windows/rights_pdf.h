// The printed rights straight into PDF files (Qt, no window): the command
// line's printing of "RightsLog" and "Rights" (DOSTUP_PRINTPDF).
#pragma once

#include "staffdocs/rights_reports.h"

#include <QString>

namespace staffdocs {

// Renders the document into `path`: the pages written, 0 when there was nothing
// to print (no file), kPdfNoEmployee or kPdfNotWritten.
int renderRightsPdf(RightsDocument document, std::optional<std::uint16_t> employee, const QString& path);

}  // namespace staffdocs
