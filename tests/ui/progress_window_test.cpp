#include "ui/progress_window.h"

#include "framework/shared_state.h"
#include "tests/helpers/qt_application.h"
#include "tests/ui/sample_report.h"
#include "ui/print_preview.h"
#include "ui/report_engine.h"
#include "ui/report_runner.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

namespace {

using testing_support::SampleSource;

QApplication& app() { return testing_support::qtApplication(); }

TEST(ProgressWindow, RunsTheCycleTickByTickToTheEnd) {
    app();
    SampleSource source(testing_support::sampleRows(120));
    ui::Report report = testing_support::sampleReport(source);
    report.cycle.secondText = "Second line";
    ui::ReportEngine engine(report.layout);
    ui::ProgressWindow window;
    framework::ReportCycle cycle(source, engine, window, report.cycle);
    window.run(cycle);
    EXPECT_TRUE(cycle.closed());
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(cycle.response(), framework::kResponseCompleted);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Generating Report"));
    EXPECT_EQ(window.bar()->value(), 100);
    EXPECT_EQ(window.percentLabel()->text(), QStringLiteral("100% Completed"));
    EXPECT_EQ(window.secondLabel()->text(), QStringLiteral("Second line"));
    EXPECT_EQ(window.ticks(), 5);  // 25 records a tick
    EXPECT_TRUE(source.quickScan);
    int pages = 0;
    cycle.finish([&](framework::ReportPages& p) {
        pages = static_cast<int>(p.pageCount());
        return false;
    });
    EXPECT_EQ(pages, 3);
    EXPECT_FALSE(source.quickScan);
}

TEST(ProgressWindow, CancelButtonStopsTheRunBetweenTicks) {
    app();
    SampleSource source(testing_support::sampleRows(500));
    ui::Report report = testing_support::sampleReport(source);
    ui::ReportEngine engine(report.layout);
    ui::ProgressWindow window;
    // The user presses cancel while the second tick is at work.
    source.onRead = [&](int read) {
        if (read == 40)
            QMetaObject::invokeMethod(window.cancelButton(), "click", Qt::QueuedConnection);
    };
    framework::ReportCycle cycle(source, engine, window, report.cycle);
    window.run(cycle);
    EXPECT_EQ(cycle.response(), framework::kResponseCancelled);
    EXPECT_GE(cycle.printedRecords(), 40u);
    EXPECT_LT(cycle.printedRecords(), 500u);
    bool previewed = false;
    cycle.finish([&](framework::ReportPages&) { return previewed = true; });
    EXPECT_FALSE(previewed);
}

TEST(ProgressWindow, CloseBoxCancelsAndAnEmptyFileClosesAtOnce) {
    app();
    SampleSource source(testing_support::sampleRows(300));
    ui::Report report = testing_support::sampleReport(source);
    ui::ReportEngine engine(report.layout);
    ui::ProgressWindow window;
    source.onRead = [&](int read) {
        if (read == 30) QMetaObject::invokeMethod(&window, "reject", Qt::QueuedConnection);
    };
    framework::ReportCycle cycle(source, engine, window, report.cycle);
    window.run(cycle);
    EXPECT_EQ(cycle.response(), framework::kResponseCancelled);
    cycle.finish({});

    SampleSource empty({});
    ui::ProgressWindow second;
    framework::ReportCycle emptyCycle(empty, engine, second, report.cycle);
    second.run(emptyCycle);
    EXPECT_EQ(emptyCycle.response(), framework::kResponseCancelled);
    EXPECT_EQ(second.ticks(), 0);
    EXPECT_FALSE(engine.pages().size() > 0);
}

TEST(ReportRun, ProgressThenPreviewThenPrinting) {
    app();
    SampleSource source(testing_support::sampleRows(70));
    const ui::Report report = testing_support::sampleReport(source);
    framework::globalRequest() = framework::kRequestSelect;
    // The preview, once it is up, reports what it shows and chooses "&Print";
    // the printer dialog is then cancelled.
    QString shown;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* preview = qobject_cast<ui::PrintPreview*>(modal)) {
            shown = preview->pagesStatus() + QLatin1Char('|') + preview->windowTitle();
            preview->printAction()->trigger();
        } else if (auto* dialog = qobject_cast<QDialog*>(modal)) {
            if (!qobject_cast<ui::ProgressWindow*>(dialog)) dialog->reject();
        }
    });
    poll.start();
    const int response = ui::runReport(report, source);
    poll.stop();
    EXPECT_EQ(response, framework::kResponseCompleted);
    EXPECT_EQ(framework::globalResponse(), framework::kResponseCompleted);
    EXPECT_EQ(framework::globalRequest(), framework::kRequestNone);
    EXPECT_EQ(shown, QStringLiteral("Page 1 of 2|Типы Операций"));
}

}  // namespace
