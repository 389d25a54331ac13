// The report cycle: how every printed list and document walks its records. A small
// progress window ("Generating Report") shows how far the run has come while the
// report prints 25 detail bands per timer tick into page images; when the records
// are exhausted the pages go to the print preview, from which the user prints them
// or leaves.
//
// The cycle is a state machine driven from outside: the window that realises the
// ProgressView calls opened() once it is on screen, tick() on every timer tick and
// cancel() from its cancel button; once closed() is true the owner calls finish(),
// which hands the pages to the preview. runReportCycle() drives the same machine
// without waiting for any window (rendering straight to a file, tests).
#pragma once

#include "storage/errors.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace framework {

// The records a report walks: a data file read through a view in the order of the
// report's key. Toolkit-free, so reports are tested over fakes.
class RecordSource {
public:
    virtual ~RecordSource() = default;
    // The file's label, named in the retrieval error message ("TypeOp", "Store").
    virtual std::string label() const = 0;
    // The number of records of the file now.
    virtual std::int64_t count() = 0;
    // Sequential read mode ("QUICKSCAN=on" / "QUICKSCAN=off").
    virtual void setQuickScan(bool on) = 0;
    // Sets the key to its start, clears the view's filter and opens the view;
    // 0 or the error code.
    virtual int start() = 0;
    // Reads the next record into the record buffer: 0, 33 after the last record,
    // or another error code.
    virtual int next() = 0;
    // The error of the last operation, quoted by the error messages.
    virtual storage::ErrorState lastError() const = 0;
};

// What the report decides about the record just read.
enum class RecordStatus {
    Accepted,    // print it
    OutOfRange,  // the end of the report's range: reading stops as at the end of the file
    Filtered,    // leave it out and read on
};

// The progress window as the cycle sees it.
class ProgressView {
public:
    virtual ~ProgressView() = default;
    virtual void open(const std::string& title, int bar, const std::string& percentText,
                      const std::string& secondText) = 0;
    virtual void setBar(int percent) = 0;
    virtual void setPercentText(const std::string& text) = 0;
    virtual void close() = 0;
};

// The report engine as the cycle sees it: output goes to the page queue.
class ReportPages {
public:
    virtual ~ReportPages() = default;
    virtual void open() = 0;         // starts the output into the page queue
    virtual void printDetail() = 0;  // the detail band (and any group bands) of the record read
    virtual void endPage() = 0;      // ends the last page
    virtual std::size_t pageCount() const = 0;
    virtual void print() = 0;        // sends the pages to the printer
    virtual void close() = 0;        // frees the page queue
};

inline constexpr const char* kProgressTitle = "Generating Report";
inline constexpr const char* kProgressStartText = "0% Completed";
inline constexpr int kRecordsPerCycle = 25;

// The percentage string of the progress window: the percent right-aligned in a
// width of 3, then "% Completed" (" 40% Completed").
std::string percentText(int percent);

// processed / total × 100, rounded down, never above 100. A total of 0 (records
// read from a file that counted none) counts as finished.
int percentOf(std::int64_t processed, std::int64_t total);

struct ReportCycleSettings {
    std::string secondText;           // the progress window's second string
    std::int64_t fixedTotal = 0;      // above 0: count against this instead of the file
    int recordsPerCycle = kRecordsPerCycle;
    // Decides about each record read; without it every record is accepted.
    std::function<RecordStatus()> check;
    // Values the report computes from the record just before its line prints.
    std::function<void()> beforeDetail;
};

// Standard messages 35 ("Record Retrieval Error", text = the file label) and 36
// ("View Open Error") with the error they quote go through standardMessage();
// a hook installed here takes them instead (tests, runs without a user).
using ReportMessageHook =
    std::function<void(int number, const std::string& text, const storage::ErrorState& error)>;
void setReportMessageHook(ReportMessageHook hook);
void showReportMessage(int number, const std::string& text, const storage::ErrorState& error);

// The preview: shows the pages and returns true when the user chose to print them.
using PreviewCall = std::function<bool(ReportPages& pages)>;

class ReportCycle {
public:
    ReportCycle(RecordSource& source, ReportPages& pages, ProgressView& view,
                ReportCycleSettings settings = {});

    // Takes GlobalRequest (clearing it and GlobalResponse), counts the records,
    // opens the progress window and switches the file to sequential reading.
    void begin();
    // The progress window is on screen: opens the view and reads up to the first
    // accepted record; none closes the run with response 2.
    void opened();
    // One timer tick: up to recordsPerCycle detail bands, reading on after each.
    void tick();
    // The cancel button: response 2, the window closes.
    void cancel();
    // After the window closed: sequential reading off; with response 1 the last
    // page ends and the preview shows the pages, printing them when it says so.
    // Closes the report and sets GlobalResponse. Returns the response.
    int finish(const PreviewCall& preview);

    bool closed() const { return closed_; }
    int response() const { return response_; }
    std::int32_t request() const { return request_; }
    std::int64_t total() const { return total_; }
    std::int64_t processed() const { return processed_; }
    int percent() const { return percent_; }
    std::size_t printedRecords() const { return printed_; }
    bool reportOpened() const { return reportOpen_; }
    bool printChosen() const { return printChosen_; }

private:
    // Reads until a record is accepted; false when the end (or an error) came first.
    bool readAccepted();
    void noteRead();
    void closeWindow(int response);

    RecordSource& source_;
    ReportPages& pages_;
    ProgressView& view_;
    ReportCycleSettings settings_;

    std::int32_t request_ = 0;
    std::int64_t total_ = 0;
    std::int64_t processed_ = 0;
    int percent_ = 0;
    int response_ = 0;
    std::size_t printed_ = 0;
    bool begun_ = false;
    bool started_ = false;
    bool closed_ = false;
    bool reportOpen_ = false;
    bool finished_ = false;
    bool printChosen_ = false;
};

// A progress window that shows nothing (runs without a window).
class SilentProgressView : public ProgressView {
public:
    void open(const std::string&, int, const std::string&, const std::string&) override {}
    void setBar(int) override {}
    void setPercentText(const std::string&) override {}
    void close() override {}
};

// Runs the whole cycle at once: begin, opened, ticks until the window closes, and
// finish with the preview given (none: the pages are neither shown nor printed).
int runReportCycle(RecordSource& source, ReportPages& pages, ProgressView& view,
                   const ReportCycleSettings& settings, const PreviewCall& preview = {});

}  // namespace framework
