#include "ui/report_runner.h"

#include "ui/print_preview.h"
#include "ui/progress_window.h"
#include "ui/qt_user_services.h"
#include "ui/report_engine.h"

namespace ui {

int runReport(const Report& report, framework::RecordSource& source, QWidget* parent) {
    ReportEngine engine(report.layout);
    ProgressWindow progress(parent);
    framework::ReportCycle cycle(source, engine, progress, report.cycle);
    progress.run(cycle);
    return cycle.finish([&](framework::ReportPages&) {
        PrintPreview preview(engine.pages(), parent);
        if (!report.layout.name.empty())
            preview.setWindowTitle(toQt(report.layout.name));
        return preview.run();
    });
}

void installReportRunner(QWidget* parent) {
    framework::setReportRunner(
        [parent](const framework::ReportDefinition& report, framework::RecordSource& source) {
            return runReport(report, source, parent);
        });
}

PdfRendering renderToPdf(const Report& report, framework::RecordSource& source,
                         const QString& path, bool personal) {
    ReportEngine engine(report.layout);
    framework::SilentProgressView silent;
    PdfRendering result;
    result.response = framework::runReportCycle(
        source, engine, silent, report.cycle, [&](framework::ReportPages&) {
            result.pages = engine.pages().size();
            result.written = engine.pages().writePdf(path, toQt(report.layout.name), personal);
            return false;
        });
    return result;
}

}  // namespace ui
