#include "framework/report_cycle.h"

#include "framework/shared_state.h"
#include "framework/standard_messages.h"

#include <cstdio>
#include <utility>

namespace framework {

namespace {

ReportMessageHook messageHook;

}  // namespace

std::string percentText(int percent) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%3d", percent);
    return std::string(digits) + "% Completed";
}

int percentOf(std::int64_t processed, std::int64_t total) {
    if (total <= 0) return processed > 0 ? 100 : 0;
    if (processed >= total) return 100;
    if (processed <= 0) return 0;
    return static_cast<int>(processed * 100 / total);
}

void setReportMessageHook(ReportMessageHook hook) { messageHook = std::move(hook); }

void showReportMessage(int number, const std::string& text, const storage::ErrorState& error) {
    if (messageHook) messageHook(number, text, error);
    else standardMessage(number, text, error);
}

ReportCycle::ReportCycle(RecordSource& source, ReportPages& pages, ProgressView& view,
                         ReportCycleSettings settings)
    : source_(source), pages_(pages), view_(view), settings_(std::move(settings)) {
    if (settings_.recordsPerCycle <= 0) settings_.recordsPerCycle = kRecordsPerCycle;
}

void ReportCycle::begin() {
    if (begun_) return;
    begun_ = true;
    request_ = globalRequest();
    globalRequest() = kRequestNone;
    globalResponse() = 0;

    total_ = settings_.fixedTotal > 0 ? settings_.fixedTotal : source_.count();
    processed_ = 0;
    percent_ = 0;
    view_.open(kProgressTitle, 0, kProgressStartText, settings_.secondText);
    source_.setQuickScan(true);
}

void ReportCycle::opened() {
    if (!begun_ || started_ || closed_) return;
    started_ = true;
    const int code = source_.start();
    if (code != 0) showReportMessage(36, source_.label(), source_.lastError());
    if (!readAccepted()) {
        closeWindow(kResponseCancelled);
        return;
    }
    pages_.open();
    reportOpen_ = true;
}

void ReportCycle::tick() {
    if (!started_ || closed_) return;
    for (int i = 0; i < settings_.recordsPerCycle && !closed_; ++i) {
        if (settings_.beforeDetail) settings_.beforeDetail();
        pages_.printDetail();
        ++printed_;
        if (!readAccepted()) {
            closeWindow(kResponseCompleted);
            return;
        }
    }
}

void ReportCycle::cancel() {
    if (!begun_ || closed_) return;
    closeWindow(kResponseCancelled);
}

int ReportCycle::finish(const PreviewCall& preview) {
    if (finished_) return response_;
    finished_ = true;
    if (!begun_) {
        response_ = kResponseCancelled;
        globalResponse() = response_;
        return response_;
    }
    if (!closed_) closeWindow(kResponseCancelled);
    source_.setQuickScan(false);
    if (response_ == kResponseCompleted && reportOpen_) {
        pages_.endPage();
        if (preview && preview(pages_)) {
            printChosen_ = true;
            pages_.print();
        }
    }
    if (reportOpen_) pages_.close();
    reportOpen_ = false;
    globalResponse() = response_;
    return response_;
}

bool ReportCycle::readAccepted() {
    for (;;) {
        const int code = source_.next();
        if (code == storage::error::kRecordNotAvailable) return false;
        if (code != 0) {
            showReportMessage(35, source_.label(), source_.lastError());
            return false;
        }
        noteRead();
        const RecordStatus status = settings_.check ? settings_.check() : RecordStatus::Accepted;
        if (status == RecordStatus::Accepted) return true;
        if (status == RecordStatus::OutOfRange) return false;
    }
}

void ReportCycle::noteRead() {
    ++processed_;
    if (percent_ >= 100) return;
    const int now = percentOf(processed_, total_);
    if (now == percent_) return;
    percent_ = now;
    view_.setBar(percent_);
    view_.setPercentText(percentText(percent_));
}

void ReportCycle::closeWindow(int response) {
    response_ = response;
    closed_ = true;
    view_.close();
}

int runReportCycle(RecordSource& source, ReportPages& pages, ProgressView& view,
                   const ReportCycleSettings& settings, const PreviewCall& preview) {
    ReportCycle cycle(source, pages, view, settings);
    cycle.begin();
    cycle.opened();
    while (!cycle.closed()) cycle.tick();
    return cycle.finish(preview);
}

}  // namespace framework
