// The three staff lists over 10,000 employees in 40 departments, and over 65,535
// (the most the USHORT codes allow; argument employees:65535), each in a data
// folder of its own:
// - straight to a PDF file, as the command line renders them (no window);
// - through the progress window on its timer, as the choice window runs them,
//   with the pages written to a file instead of going to the preview. The longest
//   gap between two timer ticks is the longest time the window could not answer
//   its cancel button (the target: under 100 ms).
// Counters: pages, ticks, the longest gap and the longest single tick. Runs on the
// offscreen platform unless told otherwise.
#include "access/access_files.h"
#include "access/access_layouts.h"
#include "access/dostup.h"
#include "bench/data_folder.h"
#include "framework/file_access.h"
#include "platform/cp1251.h"
#include "platform/fixed_text.h"
#include "platform/paths.h"
#include "staffdocs/d_mol_rp.h"
#include "storage/data_file.h"
#include "ui/progress_window.h"
#include "ui/qt_user_services.h"
#include "ui/report_engine.h"
#include "ui/report_runner.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>

namespace {

constexpr int kDepartments = 40;

const std::filesystem::path& dataFolder() {
    static const std::filesystem::path& folder = bench::enterTemporaryDataFolder("tarvo-staff");
    return folder;
}

// ".\Dat\" for the 10,000 employees of the first figures, ".\Dat65535\" and so on
// for the others.
std::string folderFor(int employees) {
    return employees == 10000 ? ".\\Dat\\" : ".\\Dat" + std::to_string(employees) + "\\";
}

// The access files with the given number of employees, built once per process
// in a temporary folder; the lists read the folder of the last call.
void prepare(int employees) {
    static std::set<int> built;
    dataFolder();
    platform::writeCString(g_IniFileName, ".\\Dostup.ini");
    const std::string folder = folderFor(employees);
    dostup::AccessFiles& files = dostup::accessFiles();
    for (storage::DataFile* file : {&files.mol, &files.otdMol}) file->setName(folder + file->label());
    if (!built.insert(employees).second) return;
    std::filesystem::create_directories(platform::hostPath(folder));
    {
        framework::FileUse use(files.otdMol);
        for (int d = 1; d <= kDepartments; ++d) {
            files.otdMol.record().clear();
            files.otdMol.record().setValue("OMO:OTD_ID", std::to_string(d));
            files.otdMol.record().setValue(
                "OMO:NAME", platform::ru("Подразделение номер ") + std::to_string(d));
            if (files.otdMol.add() != 0) std::abort();
        }
    }
    storage::DataFile& mol = files.mol;
    framework::FileUse use(mol);
    mol.begin();
    for (int code = 1; code <= employees; ++code) {
        storage::Record& r = mol.record();
        r.clear();
        r.setValue("MOL:SCODE", std::to_string(code));
        r.setValue("MOL:LNAME", platform::ru("Сотрудник") + std::to_string(100000 - code));
        r.setValue("MOL:FNAME", platform::ru("Иван Петрович"));
        r.setValue("MOL:OTD_ID", std::to_string(code % kDepartments + 1));
        r.setValue("MOL:TITLE", platform::ru("Менеджер по работе с клиентами"));
        r.setValue("MOL:BPHONE", "123-45-67");
        if (mol.add() != 0) std::abort();
    }
    mol.commit();
}

QString pdfPath() { return QString::fromStdString((dataFolder() / "staff.pdf").string()); }

staffdocs::StaffDocument document(const benchmark::State& state) {
    return static_cast<staffdocs::StaffDocument>(state.range(0));
}

int employeesOf(const benchmark::State& state) { return static_cast<int>(state.range(1)); }

void StaffListStraightToPdf(benchmark::State& state) {
    prepare(employeesOf(state));
    int pages = 0;
    for (auto _ : state) {
        staffdocs::runDocument(document(state), [&](const framework::ReportDefinition& report,
                                                    framework::RecordSource& source) {
            const ui::PdfRendering result = ui::renderToPdf(report, source, pdfPath());
            pages = result.pages;
            return result.response;
        });
    }
    state.SetLabel(staffdocs::documentName(document(state)));
    state.counters["pages"] = pages;
}

void StaffListThroughTheProgressWindow(benchmark::State& state) {
    prepare(employeesOf(state));
    int pages = 0, ticks = 0;
    qint64 longestGap = 0, longestTick = 0;
    for (auto _ : state) {
        staffdocs::runDocument(document(state), [&](const framework::ReportDefinition& report,
                                                    framework::RecordSource& source) {
            ui::ReportEngine engine(report.layout);
            ui::ProgressWindow progress;
            QElapsedTimer sinceTick;
            qint64 gap = 0;
            for (QTimer* timer : progress.findChildren<QTimer*>(Qt::FindDirectChildrenOnly))
                QObject::connect(timer, &QTimer::timeout, [&] {
                    if (sinceTick.isValid()) gap = std::max(gap, sinceTick.elapsed());
                    sinceTick.restart();
                });
            framework::ReportCycle cycle(source, engine, progress, report.cycle);
            progress.run(cycle);
            const int response = cycle.finish([&](framework::ReportPages&) {
                pages = engine.pages().size();
                engine.pages().writePdf(pdfPath(), ui::toQt(report.layout.name));
                return false;
            });
            ticks = progress.ticks();
            longestGap = std::max(longestGap, gap);
            longestTick = std::max(longestTick, progress.longestTickMs());
            return response;
        });
    }
    state.SetLabel(staffdocs::documentName(document(state)));
    state.counters["pages"] = pages;
    state.counters["ticks"] = ticks;
    state.counters["longest_gap_ms"] = static_cast<double>(longestGap);
    state.counters["longest_tick_ms"] = static_cast<double>(longestTick);
}

constexpr int kStaff = static_cast<int>(staffdocs::StaffDocument::Staff);
constexpr int kByDepartment = static_cast<int>(staffdocs::StaffDocument::StaffByDepartment);
constexpr int kStatement = static_cast<int>(staffdocs::StaffDocument::StaffStatement);

// The three lists over 10,000 employees, two iterations each; over 65,535, one.
void lists(benchmark::internal::Benchmark* b) {
    b->ArgNames({"list", "employees"});
    for (int list : {kStaff, kByDepartment, kStatement}) b->Args({list, 10000});
    b->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();
}
void listsOfTheMostEmployees(benchmark::internal::Benchmark* b) {
    b->ArgNames({"list", "employees"});
    for (int list : {kStaff, kByDepartment, kStatement}) b->Args({list, 65535});
    b->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
}

BENCHMARK(StaffListStraightToPdf)->Apply(lists);
BENCHMARK(StaffListThroughTheProgressWindow)->Apply(lists);
BENCHMARK(StaffListStraightToPdf)->Apply(listsOfTheMostEmployees);
BENCHMARK(StaffListThroughTheProgressWindow)->Apply(listsOfTheMostEmployees);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
