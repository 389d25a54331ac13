#include "framework/report_pager.h"

#include <cstddef>

namespace framework::report {

ReportPager::ReportPager(const Layout& layout, BandPainter& painter)
    : layout_(layout), painter_(painter) {}

void ReportPager::start() {
    page_ = 0;
    pageOpen_ = false;
    bodyEmpty_ = true;
    y_ = 0;
    groupValues_.clear();
    groupsOpen_ = false;
}

double ReportPager::bodyTop() const { return layout_.marginTop + layout_.pageHeader.height; }

double ReportPager::bodyBottom() const {
    return layout_.pageHeight - layout_.marginBottom - layout_.pageFooter.height;
}

void ReportPager::openPage() {
    ++page_;
    pageOpen_ = true;
    bodyEmpty_ = true;
    painter_.beginPage(page_);
    if (!layout_.pageHeader.empty()) painter_.placeBand(layout_.pageHeader, layout_.marginTop, page_);
    y_ = bodyTop();
}

void ReportPager::closePage() {
    if (!pageOpen_) return;
    if (!layout_.pageFooter.empty()) painter_.placeBand(layout_.pageFooter, bodyBottom(), page_);
    painter_.finishPage(page_);
    pageOpen_ = false;
}

void ReportPager::ensureRoom(double height) {
    if (!pageOpen_) openPage();
    // A band taller than a whole page body prints on a page of its own, cut.
    if (y_ + height > bodyBottom() + 1e-9 && !bodyEmpty_) {
        closePage();
        openPage();
    }
}

void ReportPager::place(const Band& band) {
    if (band.empty()) return;
    ensureRoom(band.height);
    painter_.placeBand(band, y_, page_);
    y_ += band.height;
    bodyEmpty_ = false;
}

void ReportPager::detail() {
    const std::size_t groups = layout_.groups.size();
    std::size_t firstChanged = groups;
    std::vector<Value> values;
    values.reserve(groups);
    for (std::size_t g = 0; g < groups; ++g) {
        const Group& group = layout_.groups[g];
        values.push_back(group.key ? group.key() : Value{});
        if (firstChanged == groups && (!groupsOpen_ || values[g] != groupValues_[g]))
            firstChanged = g;
    }
    if (firstChanged < groups) {
        // Footers of the groups that end, innermost first.
        if (groupsOpen_) {
            for (std::size_t g = groups; g-- > firstChanged;) place(layout_.groups[g].footer);
        }
        // Headers of the groups that start, outermost first, kept with the detail.
        double headers = 0;
        for (std::size_t g = firstChanged; g < groups; ++g)
            headers += layout_.groups[g].header.height;
        ensureRoom(headers + layout_.detail.height);
        for (std::size_t g = firstChanged; g < groups; ++g) place(layout_.groups[g].header);
        groupValues_ = std::move(values);
        groupsOpen_ = true;
    } else if (groupsOpen_ && pageOpen_ && !bodyEmpty_ && !layout_.detail.empty() &&
               y_ + layout_.detail.height > bodyBottom() + 1e-9) {
        // The groups go on over a new page: the headers that repeat come first.
        closePage();
        openPage();
        for (const Group& group : layout_.groups)
            if (group.repeatHeader) place(group.header);
    }
    place(layout_.detail);
}

void ReportPager::finish() {
    if (groupsOpen_) {
        for (std::size_t g = layout_.groups.size(); g-- > 0;) place(layout_.groups[g].footer);
        groupsOpen_ = false;
    }
    closePage();
}

}  // namespace framework::report
