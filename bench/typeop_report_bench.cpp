// The printed list of the operation types over 10,000 records into a PDF file:
// - straight to the file, as the command line renders it (no window);
// - through the progress window on its timer, as the list's "Печатать" runs it,
//   with the pages written to the file instead of going to the preview. Here the
//   longest gap between two timer ticks of the window is what matters: it is the
//   longest time the window could not answer its cancel button.
// Counters: pages, the peak of the resident memory above what the process held
// before the run, and for the window the ticks, the longest gap between ticks and
// the longest single tick. Runs on the offscreen platform unless told otherwise.
// Set TYPEOP_BENCH_PDF to a path to keep the last PDF written.
#include "bench/data_folder.h"
#include "framework/data_file_source.h"
#include "framework/file_access.h"
#include "platform/cp1251.h"
#include "refbooks/ref_layouts.h"
#include "refbooks/typeop_report.h"
#include "storage/data_file.h"
#include "ui/progress_window.h"
#include "ui/qt_user_services.h"
#include "ui/report_engine.h"
#include "ui/report_runner.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTimer>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace {

constexpr int kRecords = 10000;

const std::filesystem::path& dataFolder() {
    static const std::filesystem::path& folder = bench::enterTemporaryDataFolder("tarvo-typeop");
    return folder;
}

storage::DataFile& typeOpFile() {
    static storage::DataFile file(refbooks::typeOpLayout());
    return file;
}

// The TypeOp file with codes 1..10,000, built once per process in a temporary folder.
void prepare() {
    static bool done = false;
    if (done) return;
    done = true;
    dataFolder();

    storage::DataFile& file = typeOpFile();
    file.setName(".\\Dat\\TypeOp");
    framework::FileUse use(file);
    file.begin();
    for (int code = 1; code <= kRecords; ++code) {
        storage::Record& r = file.record();
        r.clear();
        r.setValue("TOP:ID", std::to_string(code));
        r.setValue("TOP:OBOZN", "OP" + std::to_string(code % 1000));
        r.setValue("TOP:NAME", platform::ru("Операция по складу номер ") + std::to_string(code));
        r.setValue("TOP:TOWFLAG", code % 2 ? "1" : "0");
        r.setValue("TOP:MANYFLAG", code % 3 ? "0" : "1");
        r.setValue("TOP:PRICHODFLAG", code % 5 ? "0" : "1");
        if (file.add() != 0) std::abort();
    }
    file.commit();
}

std::int64_t statusKilobytes(const char* key) {
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string prefix = std::string(key) + ":";
    while (std::getline(status, line))
        if (line.rfind(prefix, 0) == 0) return std::atoll(line.c_str() + prefix.size());
    return 0;
}

// Starts a new measurement of the peak resident memory (VmHWM); returns the
// resident memory now.
std::int64_t resetPeak() {
    std::ofstream("/proc/self/clear_refs") << "5";
    return statusKilobytes("VmRSS");
}

QString pdfPath() {
    return QString::fromStdString((dataFolder() / "typeop.pdf").string());
}

void keepPdf() {
    if (const char* keep = std::getenv("TYPEOP_BENCH_PDF")) {
        QFile::remove(QString::fromLocal8Bit(keep));
        QFile::copy(pdfPath(), QString::fromLocal8Bit(keep));
    }
}

void TypeOpListStraightToPdf(benchmark::State& state) {
    prepare();
    storage::DataFile& file = typeOpFile();
    framework::FileUse use(file);
    const framework::ReportDefinition report = refbooks::typeOpReport(file);
    int pages = 0;
    std::int64_t peakAbove = 0;
    for (auto _ : state) {
        const std::int64_t before = resetPeak();
        framework::DataFileSource source(file, file.layout().key(refbooks::kTypeOpReportKey));
        const ui::PdfRendering result = ui::renderToPdf(report, source, pdfPath());
        if (!result.written) state.SkipWithError("no PDF written");
        pages = result.pages;
        peakAbove = std::max(peakAbove, statusKilobytes("VmHWM") - before);
    }
    keepPdf();
    state.counters["pages"] = pages;
    state.counters["peak_above_MB"] = static_cast<double>(peakAbove) / 1024.0;
    state.counters["pdf_KB"] = static_cast<double>(QFile(pdfPath()).size()) / 1024.0;
}

void TypeOpListThroughTheProgressWindow(benchmark::State& state) {
    prepare();
    storage::DataFile& file = typeOpFile();
    framework::FileUse use(file);
    const framework::ReportDefinition report = refbooks::typeOpReport(file);
    int pages = 0, ticks = 0;
    qint64 longestGap = 0, longestTick = 0;
    std::int64_t peakAbove = 0;
    for (auto _ : state) {
        const std::int64_t before = resetPeak();
        framework::DataFileSource source(file, file.layout().key(refbooks::kTypeOpReportKey));
        ui::ReportEngine engine(report.layout);
        ui::ProgressWindow progress;
        // Every timeout of the window's timer after the window's own tick: the gap
        // between two of them is one tick plus the events handled in between.
        QElapsedTimer sinceTick;
        qint64 gap = 0;
        for (QTimer* timer : progress.findChildren<QTimer*>(Qt::FindDirectChildrenOnly))
            QObject::connect(timer, &QTimer::timeout, [&] {
                if (sinceTick.isValid()) gap = std::max(gap, sinceTick.elapsed());
                sinceTick.restart();
            });
        framework::ReportCycle cycle(source, engine, progress, report.cycle);
        progress.run(cycle);
        cycle.finish([&](framework::ReportPages&) {
            pages = engine.pages().size();
            engine.pages().writePdf(pdfPath(), ui::toQt(report.layout.name));
            return false;
        });
        ticks = progress.ticks();
        longestGap = std::max(longestGap, gap);
        longestTick = std::max(longestTick, progress.longestTickMs());
        peakAbove = std::max(peakAbove, statusKilobytes("VmHWM") - before);
    }
    state.counters["pages"] = pages;
    state.counters["ticks"] = ticks;
    state.counters["longest_gap_ms"] = static_cast<double>(longestGap);
    state.counters["longest_tick_ms"] = static_cast<double>(longestTick);
    state.counters["peak_above_MB"] = static_cast<double>(peakAbove) / 1024.0;
}

BENCHMARK(TypeOpListStraightToPdf)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(TypeOpListThroughTheProgressWindow)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
