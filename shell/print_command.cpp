#include "shell/print_command.h"

#include "framework/data_file_source.h"
#include "framework/file_access.h"
#include "platform/command_options.h"
#include "platform/user_services.h"
#include "refbooks/ref_files.h"
#include "refbooks/typeop_report.h"
#include "refbooks/c_store.h"
#include "shell/console_messages.h"
#include "shell/staff_documents_print.h"
#include "shell/startup.h"
#include "storage/data_file.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>

#include <cstdio>
#include <memory>
#include <strings.h>

namespace shell {

namespace {

struct PrintRequest {
    std::string report;  // empty when --print came without a name
    std::string pdf;     // empty without --pdf
    std::optional<std::string> employee;  // --employee CODE
};

// Nothing when the command line does not ask for printing; other arguments are
// left to the program.
std::optional<PrintRequest> parse(int argc, char** argv) {
    PrintRequest request;
    bool asked = false;
    for (int i = 1; i < argc; ++i) {
        if (auto name = platform::optionValue(argc, argv, i, "--print")) {
            asked = true;
            request.report = *name;
        } else if (auto pdf = platform::optionValue(argc, argv, i, "--pdf")) {
            request.pdf = *pdf;
        } else if (auto employee = platform::optionValue(argc, argv, i, "--employee")) {
            request.employee = *employee;
        }
    }
    if (!asked) return std::nullopt;
    return request;
}

// An employee code of "--employee": 0..65535 in decimal digits.
std::optional<std::uint16_t> employeeCode(const std::string& text) {
    if (text.empty() || text.size() > 5) return std::nullopt;
    unsigned long value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + static_cast<unsigned long>(c - '0');
    }
    if (value > 65535) return std::nullopt;
    return static_cast<std::uint16_t>(value);
}

std::string knownNames() {
    std::string names;
    for (const PrintableReport& report : printableReports()) {
        if (!names.empty()) names += ", ";
        names += report.name;
    }
    return names;
}

void complain(const std::string& text) { std::fprintf(stderr, "tarvo: %s\n", text.c_str()); }

// Why a PDF cannot be written at `path`, checked before the run starts so that a
// long report does not end in nothing; empty when it can.
std::string unwritable(const QString& path) {
    const QFileInfo file(path);
    if (file.exists()) {
        if (file.isDir()) return "it is a folder";
        if (!file.isWritable()) return "permission denied";
        return {};
    }
    const QFileInfo folder(file.absolutePath());
    if (!folder.exists() || !folder.isDir()) return "no such folder";
    if (!folder.isWritable()) return "permission denied";
    return {};
}

std::vector<PrintableReport>& registry() {
    static std::vector<PrintableReport> reports = [] {
        refbooks::ReferenceFiles& files = refbooks::referenceFiles();
        std::vector<PrintableReport> known{
            fileReport("TypeOp", "operation types, \"Типы Операций\"", refbooks::typeOpReport,
                       files.typeOp, refbooks::kTypeOpReportKey),
            fileReport("Store", "stores, \"Справочник Участков\"", refbooks::storeReport,
                       files.store, refbooks::kStoreReportKey),
        };
        for (PrintableReport& staff : staffDocumentReports()) known.push_back(std::move(staff));
        return known;
    }();
    return reports;
}

// Rendering needs fonts, so a GUI application; without a display it is offscreen.
std::unique_ptr<QGuiApplication> offscreenApplication() {
    if (QCoreApplication::instance()) return nullptr;
    static int argc = 3;
    static char name[] = "tarvo";
    static char platformOption[] = "-platform";
    static char offscreen[] = "offscreen";
    static char* argv[] = {name, platformOption, offscreen, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
}

}  // namespace

PrintableReport fileReport(std::string name, std::string description,
                           std::function<framework::ReportDefinition(storage::DataFile&)> report,
                           storage::DataFile& file, std::string key) {
    storage::DataFile* data = &file;
    auto render = [report = std::move(report), data, key = std::move(key)](const QString& path) {
        // Printing only reads: the file is opened read-only (so a read-only copy
        // of the data prints too), and one that does not exist yet is an empty
        // book, not created (a still empty data folder stays empty for --demo).
        if (framework::userCount(*data) == 0 && !data->isOpen() &&
            data->open(storage::kOpenReadOnlyShared) == storage::error::kFileNotFound)
            return ui::PdfRendering{};
        framework::FileUse use(*data);  // the file open already counts as opened
        framework::DataFileSource source(*data, data->layout().key(key));
        return ui::renderToPdf(report(*data), source, path);
    };
    return {std::move(name), std::move(description), std::move(render)};
}

const std::vector<PrintableReport>& printableReports() { return registry(); }

void registerPrintableReport(PrintableReport report) { registry().push_back(std::move(report)); }

const PrintableReport* findPrintableReport(std::string_view name) {
    for (const PrintableReport& report : registry())
        if (report.name.size() == name.size() &&
            strncasecmp(report.name.c_str(), name.data(), name.size()) == 0)
            return &report;
    return nullptr;
}

std::optional<int> runPrintCommand(int argc, char** argv) {
    const std::optional<PrintRequest> request = parse(argc, argv);
    if (!request) return std::nullopt;
    if (request->report.empty()) {
        complain("--print needs the name of a report (known reports: " + knownNames() + ")");
        return kPrintFailed;
    }
    const PrintableReport* report = findPrintableReport(request->report);
    if (!report) {
        complain("unknown report \"" + request->report + "\" (known reports: " + knownNames() +
                 ")");
        return kPrintFailed;
    }
    if (request->pdf.empty()) {
        complain("--print " + report->name + " needs --pdf FILE");
        return kPrintFailed;
    }
    std::optional<std::uint16_t> employee;
    // A report that prints both ways (the rights of one employee or of every
    // category) takes "--employee" when it is given.
    if (report->renderEmployeePdf && (request->employee || !report->renderPdf)) {
        if (!request->employee) {
            complain("--print " + report->name + " needs --employee CODE");
            return kPrintFailed;
        }
        employee = employeeCode(*request->employee);
        if (!employee) {
            complain("--employee needs an employee code from 0 to 65535, not \"" +
                     *request->employee + "\"");
            return kPrintFailed;
        }
    } else if (request->employee) {
        complain("--print " + report->name + " is not about one employee: leave out --employee");
        return kPrintFailed;
    }
    const QString path = QString::fromLocal8Bit(request->pdf.c_str());
    if (const std::string why = unwritable(path); !why.empty()) {
        complain("cannot write " + request->pdf + ": " + why);
        return kPrintFailed;
    }

    const std::unique_ptr<QGuiApplication> application = offscreenApplication();
    const ConsoleMessages messages;
    startUp();
    ui::PdfRendering result;
    if (employee) {
        const std::optional<ui::PdfRendering> rendered = report->renderEmployeePdf(path, *employee);
        if (!rendered) {
            complain("no employee has the code " + std::to_string(*employee) +
                     "; no file was written");
            return kPrintNothing;
        }
        result = *rendered;
    } else {
        result = report->renderPdf(path);
    }
    if (result.pages == 0) {
        complain(report->name + " has nothing to print; no file was written");
        return kPrintNothing;
    }
    if (!result.written) {
        // The console speaks the terminal's UTF-8.
        complain("PDF-файл не записан: " + request->pdf +
                 " (нет места на диске или нет права записи; прежний файл с этим именем не изменён)");
        return kPrintFailed;
    }
    return kPrintWritten;
}

}  // namespace shell
