// Staff documents rendered straight into PDF files (Qt, no window).
#pragma once

#include "staffdocs/d_mol_rp.h"

#include <QString>

namespace staffdocs {

// Renders the document (for the employee in the MOL buffer) into `path`. Returns
// the pages written, 0 when there was nothing to print (no file), or
// kPdfNotWritten.
int renderDocumentPdf(StaffDocument document, const QString& path);

}  // namespace staffdocs
