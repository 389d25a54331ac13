// A printed list or document as a screen starts it: the page layout and the
// settings of its cycle, run over its records by the deliverable's report runner,
// which shows the progress window and the preview and prints (the Qt windows
// install theirs at start-up). Screens start reports only through runReport(), so
// they stay free of any toolkit and their tests can watch what they print.
#pragma once

#include "framework/report_cycle.h"
#include "framework/report_layout.h"

#include <functional>
#include <string>

namespace storage {
class DataFile;
}

namespace framework {

struct ReportDefinition {
    report::Layout layout;
    ReportCycleSettings cycle;
};

// Runs the report over its records and returns the response (1 every record was
// printed, 2 cancelled or nothing found).
using ReportRunner = std::function<int(const ReportDefinition& report, RecordSource& source)>;
void setReportRunner(ReportRunner runner);
// Whether a runner is installed (a screen may then leave its host's runner alone).
bool reportRunnerInstalled();

// The report procedure through the installed runner. Without one nothing is
// shown and the response is 2. The response is also left in GlobalResponse.
int runReport(const ReportDefinition& report, RecordSource& source);

// A report over every record of one data file in the order of one key
// ("TOP:ID_KEY"): the file is taken into use for the run through its user count
// (opened through the file-open check when nobody uses it yet) and released after.
int runFileReport(const ReportDefinition& report, storage::DataFile& file,
                  const std::string& key);

}  // namespace framework
