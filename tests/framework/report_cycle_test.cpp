#include "framework/report_cycle.h"

#include "framework/shared_state.h"
#include "framework/standard_messages.h"
#include "platform/user_services.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using framework::RecordStatus;
using framework::ReportCycle;
using framework::ReportCycleSettings;

// Records 1..n; `failAt` (1-based read number) returns `failCode` instead.
class FakeSource : public framework::RecordSource {
public:
    explicit FakeSource(int records, std::int64_t counted = -1)
        : records_(records), counted_(counted < 0 ? records : counted) {}

    std::string label() const override { return "TypeOp"; }
    std::int64_t count() override {
        ++countCalls;
        return counted_;
    }
    void setQuickScan(bool on) override { quickScan.push_back(on); }
    int start() override {
        ++starts;
        position_ = 0;
        return startCode;
    }
    int next() override {
        ++reads;
        if (failAt == reads) {
            error_ = storage::failure(failCode);
            return failCode;
        }
        if (position_ >= records_) {
            error_ = storage::failure(33);
            return 33;
        }
        ++position_;
        error_ = storage::success();
        return 0;
    }
    storage::ErrorState lastError() const override { return error_; }

    int current() const { return position_; }

    std::vector<bool> quickScan;
    int countCalls = 0;
    int starts = 0;
    int reads = 0;
    int startCode = 0;
    int failAt = 0;
    int failCode = 35;

private:
    int records_;
    std::int64_t counted_;
    int position_ = 0;
    storage::ErrorState error_;
};

// Ten lines a page; remembers which record each detail band printed.
class FakePages : public framework::ReportPages {
public:
    explicit FakePages(const FakeSource& source) : source_(source) {}
    void open() override { events.push_back("open"); }
    void printDetail() override { printed.push_back(source_.current()); }
    void endPage() override { events.push_back("end"); }
    std::size_t pageCount() const override { return (printed.size() + 9) / 10; }
    void print() override { events.push_back("print"); }
    void close() override { events.push_back("close"); }

    std::vector<int> printed;
    std::vector<std::string> events;

private:
    const FakeSource& source_;
};

class FakeProgress : public framework::ProgressView {
public:
    void open(const std::string& t, int b, const std::string& p, const std::string& s) override {
        title = t;
        bars.push_back(b);
        texts.push_back(p);
        second = s;
        ++opens;
    }
    void setBar(int percent) override { bars.push_back(percent); }
    void setPercentText(const std::string& text) override { texts.push_back(text); }
    void close() override { ++closes; }

    std::string title, second;
    std::vector<int> bars;
    std::vector<std::string> texts;
    int opens = 0;
    int closes = 0;
};

struct Shown {
    int number;
    std::string text;
    int code;
};

class ReportCycleTest : public ::testing::Test {
protected:
    void SetUp() override {
        framework::setReportMessageHook([this](int n, const std::string& t,
                                               const storage::ErrorState& e) {
            messages.push_back({n, t, e.code});
        });
        framework::globalRequest() = framework::kRequestChange;
        framework::globalResponse() = 7;
    }
    void TearDown() override { framework::setReportMessageHook({}); }

    std::vector<Shown> messages;
};

int ticksUntilClosed(ReportCycle& cycle) {
    int ticks = 0;
    while (!cycle.closed() && ticks < 1000) {
        cycle.tick();
        ++ticks;
    }
    return ticks;
}

TEST(ReportProgressText, PercentIsRoundedDownWithinAWidthOfThree) {
    EXPECT_EQ(framework::percentText(0), "  0% Completed");
    EXPECT_EQ(framework::percentText(40), " 40% Completed");
    EXPECT_EQ(framework::percentText(100), "100% Completed");

    EXPECT_EQ(framework::percentOf(1, 3), 33);
    EXPECT_EQ(framework::percentOf(2, 3), 66);
    EXPECT_EQ(framework::percentOf(29, 100), 29);  // no binary fraction error
    EXPECT_EQ(framework::percentOf(57, 100), 57);
    EXPECT_EQ(framework::percentOf(999, 1000), 99);
    EXPECT_EQ(framework::percentOf(12, 10), 100);
    EXPECT_EQ(framework::percentOf(0, 0), 0);
    EXPECT_EQ(framework::percentOf(3, 0), 100);
}

TEST_F(ReportCycleTest, RunPrintsTwentyFiveRecordsPerTickAndPreviewsThePages) {
    FakeSource source(60);
    FakePages pages(source);
    FakeProgress view;
    ReportCycleSettings settings;
    settings.secondText = "Second";
    ReportCycle cycle(source, pages, view, settings);

    cycle.begin();
    EXPECT_EQ(cycle.request(), framework::kRequestChange);
    EXPECT_EQ(framework::globalRequest(), 0);
    EXPECT_EQ(framework::globalResponse(), 0);
    EXPECT_EQ(view.title, "Generating Report");
    EXPECT_EQ(view.texts.front(), "0% Completed");
    EXPECT_EQ(view.bars.front(), 0);
    EXPECT_EQ(view.second, "Second");
    EXPECT_EQ(source.quickScan, std::vector<bool>{true});
    EXPECT_EQ(cycle.total(), 60);

    cycle.tick();  // before the window has opened nothing happens
    EXPECT_TRUE(pages.printed.empty());

    cycle.opened();
    EXPECT_EQ(source.starts, 1);
    EXPECT_EQ(pages.events, std::vector<std::string>{"open"});

    cycle.tick();
    EXPECT_EQ(pages.printed.size(), 25u);
    EXPECT_FALSE(cycle.closed());
    cycle.tick();
    EXPECT_EQ(pages.printed.size(), 50u);
    cycle.tick();
    EXPECT_TRUE(cycle.closed());
    EXPECT_EQ(view.closes, 1);
    ASSERT_EQ(pages.printed.size(), 60u);
    for (int i = 0; i < 60; ++i) EXPECT_EQ(pages.printed[i], i + 1);

    std::size_t previewedPages = 0;
    const int response = cycle.finish([&](framework::ReportPages& p) {
        previewedPages = p.pageCount();
        return true;
    });
    EXPECT_EQ(response, framework::kResponseCompleted);
    EXPECT_EQ(previewedPages, 6u);
    EXPECT_EQ(pages.events, (std::vector<std::string>{"open", "end", "print", "close"}));
    EXPECT_EQ(source.quickScan, (std::vector<bool>{true, false}));
    EXPECT_EQ(framework::globalResponse(), framework::kResponseCompleted);
    EXPECT_TRUE(cycle.printChosen());

    // Every change of the percentage shows once, ending at 100.
    EXPECT_EQ(view.bars.back(), 100);
    EXPECT_EQ(view.texts.back(), "100% Completed");
    EXPECT_EQ(view.texts[1], "  1% Completed");  // 1 of 60
    EXPECT_EQ(view.bars.size(), view.texts.size());
}

TEST_F(ReportCycleTest, EmptyFileClosesAtOnceWithoutPreview) {
    FakeSource source(0);
    FakePages pages(source);
    FakeProgress view;
    ReportCycle cycle(source, pages, view);
    cycle.begin();
    cycle.opened();
    EXPECT_TRUE(cycle.closed());
    EXPECT_EQ(view.closes, 1);
    bool previewed = false;
    EXPECT_EQ(cycle.finish([&](framework::ReportPages&) { return previewed = true; }),
              framework::kResponseCancelled);
    EXPECT_FALSE(previewed);
    EXPECT_TRUE(pages.events.empty());  // the report was never opened
    EXPECT_EQ(source.quickScan, (std::vector<bool>{true, false}));
    EXPECT_EQ(framework::globalResponse(), framework::kResponseCancelled);
    EXPECT_TRUE(messages.empty());
}

TEST_F(ReportCycleTest, CancelStopsTheRunWithoutPreview) {
    FakeSource source(100);
    FakePages pages(source);
    FakeProgress view;
    ReportCycle cycle(source, pages, view);
    cycle.begin();
    cycle.opened();
    cycle.tick();
    cycle.cancel();
    EXPECT_TRUE(cycle.closed());
    cycle.tick();  // ticks after the close do nothing
    EXPECT_EQ(pages.printed.size(), 25u);
    bool previewed = false;
    EXPECT_EQ(cycle.finish([&](framework::ReportPages&) { return previewed = true; }),
              framework::kResponseCancelled);
    EXPECT_FALSE(previewed);
    EXPECT_EQ(pages.events, (std::vector<std::string>{"open", "close"}));
    EXPECT_EQ(source.quickScan, (std::vector<bool>{true, false}));
    EXPECT_EQ(framework::globalResponse(), framework::kResponseCancelled);
}

TEST_F(ReportCycleTest, ReadErrorKeepsThePagesPrintedSoFar) {
    FakeSource source(100);
    source.failAt = 41;
    source.failCode = 90;
    FakePages pages(source);
    FakeProgress view;
    bool previewed = false;
    const int response = framework::runReportCycle(
        source, pages, view, {}, [&](framework::ReportPages&) { return previewed = true; });
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].number, 35);
    EXPECT_EQ(messages[0].text, "TypeOp");
    EXPECT_EQ(messages[0].code, 90);
    EXPECT_EQ(pages.printed.size(), 40u);
    EXPECT_TRUE(previewed);
    EXPECT_EQ(response, framework::kResponseCompleted);
}

TEST_F(ReportCycleTest, ReadErrorOnTheFirstRecordPrintsNothing) {
    FakeSource source(10);
    source.failAt = 1;
    FakePages pages(source);
    FakeProgress view;
    bool previewed = false;
    const int response = framework::runReportCycle(
        source, pages, view, {}, [&](framework::ReportPages&) { return previewed = true; });
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].number, 35);
    EXPECT_TRUE(pages.printed.empty());
    EXPECT_TRUE(pages.events.empty());
    EXPECT_FALSE(previewed);
    EXPECT_EQ(response, framework::kResponseCancelled);
}

TEST_F(ReportCycleTest, PercentStopsAtHundredWhenRecordsWereAdded) {
    FakeSource source(30, 10);  // ten counted at the start, thirty read
    FakePages pages(source);
    FakeProgress view;
    framework::runReportCycle(source, pages, view, {});
    EXPECT_EQ(pages.printed.size(), 30u);
    for (int bar : view.bars) EXPECT_LE(bar, 100);
    // Once at 100 the text is no longer updated.
    EXPECT_EQ(std::count(view.texts.begin(), view.texts.end(), "100% Completed"), 1);
    EXPECT_EQ(view.texts.back(), "100% Completed");
    EXPECT_EQ(view.bars.size(), 11u);  // 0 at the start, then 10, 20, ... 100
}

TEST_F(ReportCycleTest, FixedTotalCountsAgainstFiveHundred) {
    FakeSource source(50);
    FakePages pages(source);
    FakeProgress view;
    ReportCycleSettings settings;
    settings.fixedTotal = 500;
    ReportCycle cycle(source, pages, view, settings);
    cycle.begin();
    EXPECT_EQ(cycle.total(), 500);
    EXPECT_EQ(source.countCalls, 0);
    cycle.opened();
    ticksUntilClosed(cycle);
    EXPECT_EQ(cycle.percent(), 10);
    EXPECT_EQ(view.texts.back(), " 10% Completed");
    cycle.finish({});
}

TEST_F(ReportCycleTest, RecordCheckFiltersAndEndsTheRange) {
    FakeSource source(40);
    FakePages pages(source);
    FakeProgress view;
    ReportCycleSettings settings;
    std::vector<int> prepared;
    settings.check = [&] {
        if (source.current() > 30) return RecordStatus::OutOfRange;
        return source.current() % 2 == 0 ? RecordStatus::Accepted : RecordStatus::Filtered;
    };
    settings.beforeDetail = [&] { prepared.push_back(source.current()); };
    ReportCycle cycle(source, pages, view, settings);
    cycle.begin();
    cycle.opened();
    ticksUntilClosed(cycle);
    EXPECT_EQ(pages.printed.size(), 15u);  // 2, 4, ... 30
    EXPECT_EQ(pages.printed.front(), 2);
    EXPECT_EQ(pages.printed.back(), 30);
    EXPECT_EQ(prepared, pages.printed);    // computed just before each line
    EXPECT_EQ(cycle.processed(), 31);      // filtered records count as read
    EXPECT_EQ(cycle.response(), framework::kResponseCompleted);
    cycle.finish({});

    // Nothing accepted at all: as an empty file.
    FakeSource none(5);
    FakePages nonePages(none);
    ReportCycleSettings refuseAll;
    refuseAll.check = [] { return RecordStatus::Filtered; };
    EXPECT_EQ(framework::runReportCycle(none, nonePages, view, refuseAll),
              framework::kResponseCancelled);
    EXPECT_TRUE(nonePages.events.empty());
}

TEST_F(ReportCycleTest, ViewOpenErrorIsReportedAndTheRunGoesOn) {
    FakeSource source(3);
    source.startCode = 90;
    FakePages pages(source);
    FakeProgress view;
    // The preview is left without printing.
    EXPECT_EQ(framework::runReportCycle(source, pages, view, {},
                                        [](framework::ReportPages&) { return false; }),
              framework::kResponseCompleted);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].number, 36);
    EXPECT_EQ(pages.printed.size(), 3u);
    EXPECT_EQ(pages.events, (std::vector<std::string>{"open", "end", "close"}));
}

TEST(ReportCycleMessages, WithoutAHookTheStandardMessagesAreShown) {
    platform::ScopedScriptedServices services;
    framework::clearSavedError();
    framework::showReportMessage(35, "Store     ", storage::failure(90, 14, "unable to open"));
    framework::showReportMessage(36, "Store", storage::failure(35));
    ASSERT_EQ(services->shown.size(), 2u);
    EXPECT_EQ(services->shown[0].caption, "Record Retrieval Error");
    EXPECT_EQ(services->shown[0].text,
              "Error: (unable to open (14)) attempting to access a record from the Store file.  "
              "Returning to previous window.");
    EXPECT_EQ(services->shown[0].icon, platform::Icon::Information);
    EXPECT_EQ(services->shown[1].caption, "View Open Error");
    EXPECT_EQ(services->shown[1].text,
              "Error: (" + storage::errorText(35) +
                  " (35)) attempting to open the current VIEW. Filter and Range Limits ignored.");
}

}  // namespace
