// Where the bands of a report go: the pager fills pages from top to bottom with
// the page header, group headers, detail bands and group footers, starts a new
// page when the next band does not fit above the page footer, and tells a painter
// where to put each band. Toolkit-free; the report engine paints what it is told.
#pragma once

#include "framework/report_layout.h"

#include <vector>

namespace framework::report {

class BandPainter {
public:
    virtual ~BandPainter() = default;
    virtual void beginPage(int page) = 0;
    // `top` is the band's top edge on the page, millimetres from the page's top.
    virtual void placeBand(const Band& band, double top, int page) = 0;
    virtual void finishPage(int page) = 0;
};

class ReportPager {
public:
    ReportPager(const Layout& layout, BandPainter& painter);

    // Forgets everything printed; the next detail starts page 1.
    void start();
    // The detail band of the record in the buffer, after the group footers and
    // headers its group values call for. A group header is kept on the page of
    // the first detail that follows it.
    void detail();
    // Closes the open groups and the last page.
    void finish();

    int pages() const { return page_; }
    bool pageOpen() const { return pageOpen_; }

private:
    void ensureRoom(double height);
    void place(const Band& band);
    void openPage();
    void closePage();
    double bodyTop() const;
    double bodyBottom() const;

    const Layout& layout_;
    BandPainter& painter_;
    int page_ = 0;
    bool pageOpen_ = false;
    bool bodyEmpty_ = true;  // nothing but the page header on the open page
    double y_ = 0;
    std::vector<Value> groupValues_;
    bool groupsOpen_ = false;
};

}  // namespace framework::report
