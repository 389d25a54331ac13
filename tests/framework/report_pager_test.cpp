#include "framework/report_pager.h"

#include "platform/cp1251.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

namespace r = framework::report;
using platform::ru;

// Notes every band placed as "page:name@top".
class Recorder : public r::BandPainter {
public:
    void beginPage(int page) override { log.push_back("begin " + std::to_string(page)); }
    void placeBand(const r::Band& band, double top, int page) override {
        log.push_back(std::to_string(page) + ":" + band.items.front().text + "@" +
                      std::to_string(static_cast<int>(top)));
    }
    void finishPage(int page) override { log.push_back("end " + std::to_string(page)); }
    std::vector<std::string> log;
};

r::Band band(const char* name, double height) {
    r::Band b;
    b.height = height;
    b.items.push_back(r::text({0, 0, 10, height}, name));
    return b;
}

// A page of 100 mm with 10 mm margins, a 20 mm header and a 10 mm footer: the
// body runs from 30 to 80 mm.
r::Layout smallPage() {
    r::Layout layout;
    layout.pageHeight = 100;
    layout.marginTop = 10;
    layout.marginBottom = 10;
    layout.pageHeader = band("H", 20);
    layout.pageFooter = band("F", 10);
    layout.detail = band("D", 10);
    return layout;
}

TEST(ReportPager, FillsPagesBetweenHeaderAndFooter) {
    const r::Layout layout = smallPage();
    Recorder painter;
    r::ReportPager pager(layout, painter);
    pager.start();
    for (int i = 0; i < 6; ++i) pager.detail();
    pager.finish();
    EXPECT_EQ(pager.pages(), 2);
    const std::vector<std::string> expected = {
        "begin 1", "1:H@10", "1:D@30", "1:D@40", "1:D@50", "1:D@60", "1:D@70", "1:F@80", "end 1",
        "begin 2", "2:H@10", "2:D@30", "2:F@80", "end 2"};
    EXPECT_EQ(painter.log, expected);

    // Started again, it counts from page 1.
    painter.log.clear();
    pager.start();
    pager.detail();
    pager.finish();
    EXPECT_EQ(pager.pages(), 1);
    EXPECT_EQ(painter.log.front(), "begin 1");
    // Nothing printed: no page at all.
    painter.log.clear();
    pager.start();
    pager.finish();
    EXPECT_EQ(pager.pages(), 0);
    EXPECT_TRUE(painter.log.empty());
}

TEST(ReportPager, GroupsPrintHeadersAndFootersAroundTheirRecords) {
    r::Layout layout = smallPage();
    layout.pageHeight = 1000;  // one page
    int department = 0;
    r::Group group;
    group.key = [&] { return r::Value{static_cast<std::int64_t>(department)}; };
    group.header = band("GH", 10);
    group.footer = band("GF", 5);
    layout.groups.push_back(group);
    Recorder painter;
    r::ReportPager pager(layout, painter);
    pager.start();
    for (int d : {1, 1, 2, 3, 3}) {
        department = d;
        pager.detail();
    }
    pager.finish();
    std::vector<std::string> names;
    for (const std::string& entry : painter.log) {
        const auto colon = entry.find(':');
        if (colon != std::string::npos) names.push_back(entry.substr(colon + 1, entry.find('@') - colon - 1));
    }
    const std::vector<std::string> expected = {"H",  "GH", "D",  "D", "GF", "GH", "D",
                                               "GF", "GH", "D",  "D", "GF", "F"};
    EXPECT_EQ(names, expected);
}

TEST(ReportPager, GroupHeaderMovesToTheNextPageWithItsFirstRecord) {
    r::Layout layout = smallPage();
    int department = 1;
    r::Group group;
    group.key = [&] { return r::Value{static_cast<std::int64_t>(department)}; };
    group.header = band("GH", 10);
    layout.groups.push_back(group);
    Recorder painter;
    r::ReportPager pager(layout, painter);
    pager.start();
    pager.detail();  // GH@30, D@40
    pager.detail();  // D@50
    pager.detail();  // D@60
    department = 2;
    pager.detail();  // GH would fit at 70 but its record not: both go to page 2
    pager.finish();
    const std::vector<std::string> expected = {
        "begin 1", "1:H@10", "1:GH@30", "1:D@40", "1:D@50", "1:D@60", "1:F@80", "end 1",
        "begin 2", "2:H@10", "2:GH@30", "2:D@40", "2:F@80", "end 2"};
    EXPECT_EQ(painter.log, expected);
}

// A group that goes on over a new page is named again at its top when its
// header repeats, and only then.
TEST(ReportPager, RepeatedGroupHeaderOpensThePageTheGroupContinuesOn) {
    for (const bool repeat : {true, false}) {
        SCOPED_TRACE(repeat);
        r::Layout layout = smallPage();
        r::Group group;
        group.key = [] { return r::Value{std::int64_t{1}}; };
        group.header = band("GH", 10);
        group.repeatHeader = repeat;
        layout.groups.push_back(group);
        Recorder painter;
        r::ReportPager pager(layout, painter);
        pager.start();
        for (int i = 0; i < 6; ++i) pager.detail();  // GH@30 and four records fill page 1
        pager.finish();
        std::vector<std::string> expected = {"begin 1", "1:H@10", "1:GH@30", "1:D@40", "1:D@50",
                                             "1:D@60", "1:D@70", "1:F@80", "end 1", "begin 2", "2:H@10"};
        const std::vector<std::string> rest =
            repeat ? std::vector<std::string>{"2:GH@30", "2:D@40", "2:D@50"}
                   : std::vector<std::string>{"2:D@30", "2:D@40"};
        expected.insert(expected.end(), rest.begin(), rest.end());
        expected.push_back("2:F@80");
        expected.push_back("end 2");
        EXPECT_EQ(painter.log, expected);
    }
}

TEST(ReportPager, BandTallerThanThePageGetsAPageOfItsOwn) {
    r::Layout layout = smallPage();
    layout.detail = band("BIG", 70);  // taller than the 50 mm body
    Recorder painter;
    r::ReportPager pager(layout, painter);
    pager.start();
    pager.detail();
    pager.detail();
    pager.finish();
    EXPECT_EQ(pager.pages(), 2);
    EXPECT_EQ(painter.log[2], "1:BIG@30");
    EXPECT_EQ(painter.log[7], "2:BIG@30");
}

TEST(ReportItems, TextsComeThroughTheirPictures) {
    EXPECT_EQ(r::itemText(r::pageNumber({}, ru("pСтраница <#p")), 1), ru("Страница  1"));
    EXPECT_EQ(r::itemText(r::pageNumber({}, ru("pСтраница <#p")), 12), ru("Страница 12"));
    EXPECT_EQ(r::itemText(r::pageNumber({}, ru("pСтраница <<#p")), 7), ru("Страница   7"));
    EXPECT_EQ(r::itemText(r::pageNumber({}, ru("pСтраница <<#p")), 123), ru("Страница 123"));

    const r::Item code = r::field({}, "n3", [] { return r::Value{std::int64_t{7}}; });
    EXPECT_EQ(r::itemText(code, 1), "  7");
    EXPECT_EQ(r::effectiveAlign(code), r::Align::Right);
    const r::Item name = r::field({}, "s36", [] { return r::Value{std::string("Abc   ")}; });
    EXPECT_EQ(r::itemText(name, 1), "Abc");  // trailing blanks take no room
    EXPECT_EQ(r::effectiveAlign(name), r::Align::Left);
    const r::Item code4 = r::field({}, "n_4", [] { return r::Value{std::int64_t{12}}; });
    EXPECT_EQ(r::itemText(code4, 1), "  12");
    const r::Item fromText = r::field({}, "n3", [] { return r::Value{std::string("42")}; });
    EXPECT_EQ(r::itemText(fromText, 1), " 42");
    EXPECT_EQ(r::itemText(r::text({}, "Fixed", r::Align::Center), 3), "Fixed");
    EXPECT_EQ(r::itemText(r::line({}), 1), "");
}

}  // namespace
