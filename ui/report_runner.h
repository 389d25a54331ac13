// Running a report: the whole procedure with its progress window, preview and
// printing, or the same cycle straight into a PDF file without any window.
#pragma once

#include "framework/report_cycle.h"
#include "framework/report_layout.h"
#include "framework/report_procedure.h"
#include "framework/shared_state.h"

#include <QString>

class QWidget;

namespace ui {

// A report: its page layout and the settings of its cycle (second string of the
// progress window, fixed total, record check, values computed per record).
using Report = framework::ReportDefinition;

// The report procedure: progress window, pages, preview, and printing through the
// printer dialog when the preview says so. Returns the response (1 when every
// record was printed, 2 when cancelled or nothing was found), also left in
// GlobalResponse.
int runReport(const Report& report, framework::RecordSource& source, QWidget* parent = nullptr);

// Makes runReport() above the report procedure of the screens
// (framework::runReport), with `parent` as the windows' parent.
void installReportRunner(QWidget* parent = nullptr);

struct PdfRendering {
    int response = framework::kResponseCancelled;
    int pages = 0;
    bool written = false;  // no file is written when there was nothing to print
};

// The same cycle without the progress window or the preview: the pages go to a PDF
// file. Needs a QGuiApplication (the offscreen platform is enough).
// `personal`: see PageQueue::writePdf.
PdfRendering renderToPdf(const Report& report, framework::RecordSource& source,
                         const QString& path, bool personal = false);

}  // namespace ui
