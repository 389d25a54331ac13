#include "framework/report_procedure.h"

#include "framework/data_file_source.h"
#include "framework/file_access.h"
#include "framework/shared_state.h"
#include "storage/data_file.h"

#include <utility>

namespace framework {

namespace {

ReportRunner reportRunner;

}  // namespace

void setReportRunner(ReportRunner runner) { reportRunner = std::move(runner); }

bool reportRunnerInstalled() { return static_cast<bool>(reportRunner); }

int runReport(const ReportDefinition& report, RecordSource& source) {
    const int response = reportRunner ? reportRunner(report, source) : kResponseCancelled;
    globalResponse() = response;
    return response;
}

int runFileReport(const ReportDefinition& report, storage::DataFile& file,
                  const std::string& key) {
    FileUse use(file);
    DataFileSource source(file, file.layout().key(key));
    return runReport(report, source);
}

}  // namespace framework
