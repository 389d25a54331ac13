// Printing from the command line: `tarvo --print NAME --pdf FILE` renders a printed
// list or document straight into a PDF file, without any window, and ends the
// program. The program starts up as usual (paths from its INI files), then the
// report runs over its data file exactly as from its screen, minus the progress
// window and the preview. Reports are known by name through a small registry, so
// each printed list or document adds itself with one entry.
//
// Documents about one employee (the travel certificate, the power of attorney)
// take the employee's code from "--employee CODE".
//
// Exit codes: 0 the file was written; 1 a wrong command line, an unknown report,
// or a file that cannot be written (with a message on standard error); 2 the
// report found nothing to print, or the employee code names nobody, so no file
// was written.
#pragma once

#include "framework/report_procedure.h"
#include "ui/report_runner.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace storage {
class DataFile;
}

namespace shell {

enum PrintExit : int {
    kPrintWritten = 0,
    kPrintFailed = 1,
    kPrintNothing = 2,
};

// A report the command line can print.
struct PrintableReport {
    std::string name;         // "TypeOp"; matched without regard to letter case
    std::string description;  // one line for the list of known reports (UTF-8)
    // Renders the report into a PDF file; runs after start-up.
    std::function<ui::PdfRendering(const QString& path)> renderPdf;
    // Set instead for a document about one employee: renders it for the employee
    // given, or returns nothing when no employee has that code. Set beside
    // renderPdf, "--employee" may be left out (the report then covers everyone).
    std::function<std::optional<ui::PdfRendering>(const QString& path, std::uint16_t employee)>
        renderEmployeePdf = {};
};

// A report over every record of one data file in the order of one key: the file is
// taken into use for the run (file-open check, user count) and released after.
PrintableReport fileReport(std::string name, std::string description,
                           std::function<framework::ReportDefinition(storage::DataFile&)> report,
                           storage::DataFile& file, std::string key);

// The known reports: the program's own first, then those registered.
const std::vector<PrintableReport>& printableReports();
void registerPrintableReport(PrintableReport report);
const PrintableReport* findPrintableReport(std::string_view name);

// Call first thing in main(), before any window exists. Returns nothing when the
// command line does not ask for printing; otherwise prints (creating an offscreen
// application when there is none yet) and returns the exit code.
std::optional<int> runPrintCommand(int argc, char** argv);

}  // namespace shell
