// The report engine: prints the bands of a report layout into page images held in
// the page queue, and sends the pages to a printer through the platform's printer
// dialog. The report cycle drives it through framework::ReportPages.
#pragma once

#include "framework/report_cycle.h"
#include "framework/report_layout.h"
#include "framework/report_pager.h"
#include "ui/page_queue.h"

#include <QImage>
#include <QPainter>
#include <QPicture>

#include <functional>
#include <map>
#include <memory>

namespace ui {

class ReportEngine : public framework::ReportPages, private framework::report::BandPainter {
public:
    explicit ReportEngine(const framework::report::Layout& layout);
    ~ReportEngine() override;

    // framework::ReportPages
    void open() override;         // reads the layout's pictures, empties the page queue
    void printDetail() override;  // group bands and the detail band of the current record
    void endPage() override;      // closes the open groups and the last page
    std::size_t pageCount() const override { return static_cast<std::size_t>(pages_.size()); }
    void print() override;        // the printer dialog, then the pages chosen in it
    void close() override;        // frees the page queue

    const PageQueue& pages() const { return pages_; }
    const framework::report::Layout& layout() const { return layout_; }

    // Replaces the printer dialog (tests, printing without asking).
    using PrintHandler = std::function<void(const PageQueue& pages)>;
    void setPrintHandler(PrintHandler handler) { printHandler_ = std::move(handler); }

private:
    // framework::report::BandPainter
    void beginPage(int page) override;
    void placeBand(const framework::report::Band& band, double top, int page) override;
    void finishPage(int page) override;

    void drawItem(const framework::report::Item& item, const framework::report::Band& band,
                  double top, int page);
    void loadImages(const framework::report::Band& band);

    const framework::report::Layout& layout_;
    framework::report::ReportPager pager_;
    PageQueue pages_;
    QPicture current_;
    std::unique_ptr<QPainter> painter_;
    std::map<const framework::report::Item*, QImage> images_;
    PrintHandler printHandler_;
};

// Shows the platform's printer dialog for the pages and prints those chosen.
void printWithDialog(const PageQueue& pages);

}  // namespace ui
