#include "framework/preview_state.h"

#include <gtest/gtest.h>

namespace {

using framework::PreviewState;
using framework::Zoom;

TEST(PreviewState, TwoByTwoOverFivePagesMovesOnceAndStays) {
    PreviewState state(5);
    state.setLayout(2, 2);
    EXPECT_EQ(state.thumbnailsShown(), 4);
    EXPECT_EQ(state.pagesText(), "Pages 1-4 of 5");
    EXPECT_TRUE(state.canNext());
    EXPECT_FALSE(state.canPrevious());
    EXPECT_EQ(state.slotPage(4), 4);

    EXPECT_TRUE(state.next());
    EXPECT_EQ(state.current(), 5);
    EXPECT_EQ(state.pagesText(), "Page 5 of 5");
    EXPECT_FALSE(state.canNext());
    EXPECT_TRUE(state.canPrevious());
    EXPECT_EQ(state.slotPage(1), 5);
    EXPECT_EQ(state.slotPage(2), 0);  // hidden beyond the last page

    EXPECT_FALSE(state.next());
    EXPECT_EQ(state.current(), 5);

    EXPECT_TRUE(state.previous());
    EXPECT_EQ(state.current(), 1);
    EXPECT_FALSE(state.previous());
}

TEST(PreviewState, PagesTextNamesTheLastThumbnailShown) {
    PreviewState state(9);
    state.setLayout(3, 1);
    state.jumpTo(8);
    EXPECT_EQ(state.pagesText(), "Pages 8-9 of 9");
    EXPECT_FALSE(state.canNext());  // 8 + 3 exceeds 9
    // Previous moves by the thumbnails shown but not below page 1.
    state.jumpTo(2);
    EXPECT_TRUE(state.previous());
    EXPECT_EQ(state.current(), 1);
}

TEST(PreviewState, ZoomViewMovesOnePageAndSaysSoInTheStatusBar) {
    PreviewState state(3);
    state.setLayout(2, 2);
    state.setZoom(Zoom::Percent75);
    EXPECT_EQ(state.thumbnailsShown(), 0);
    EXPECT_EQ(state.pagesText(), "Page 1 of 3");
    EXPECT_EQ(state.zoomText(), "Zoom (75%)");
    EXPECT_TRUE(state.next());
    EXPECT_EQ(state.current(), 2);
    EXPECT_TRUE(state.next());
    EXPECT_FALSE(state.next());
    EXPECT_FALSE(state.canNext());
    EXPECT_EQ(state.current(), 3);
    EXPECT_TRUE(state.previous());
    EXPECT_EQ(state.current(), 2);

    const std::pair<Zoom, const char*> texts[] = {
        {Zoom::PageWidth, "Zoom (Page Width)"}, {Zoom::Percent50, "Zoom (50%)"},
        {Zoom::Percent100, "Zoom (100%)"},     {Zoom::Percent200, "Zoom (200%)"},
        {Zoom::Percent300, "Zoom (300%)"},     {Zoom::None, "No Zoom"}};
    for (const auto& [zoom, text] : texts) {
        state.setZoom(zoom);
        EXPECT_EQ(state.zoomText(), text);
    }
}

TEST(PreviewState, SlotsShareTheWindowAndKeepThePageRatio) {
    PreviewState state(10);
    state.setPageSize(100, 200);  // ratio 2
    state.setLayout(2, 1);
    // Width (400 - 5) / 2 = 197, height 318 - 18 - 2 = 298; the page is taller
    // than 298 / 197, so the width shrinks to 298 / 2.
    state.setZoom(Zoom::PageWidth);
    EXPECT_DOUBLE_EQ(state.zoomFactor(50), 0.5);  // window width / page width
    state.setLayout(2, 1);
    auto size = state.slotSize(400, 318);
    EXPECT_EQ(size.width, 149);
    EXPECT_EQ(size.height, 298);
    auto second = state.slotRect(2, size);
    EXPECT_EQ(second.x, 1 + 149 + 3);
    EXPECT_EQ(second.y, 1);

    // A wide window: the height follows the width.
    state.setPageSize(200, 100);  // ratio 0.5
    state.setLayout(2, 2);
    size = state.slotSize(400, 618);
    EXPECT_EQ(size.width, 197);
    EXPECT_EQ(size.height, 98);
    const auto fourth = state.slotRect(4, size);
    EXPECT_EQ(fourth.x, 1 + 197 + 3);
    EXPECT_EQ(fourth.y, 1 + 98 + 3);
}

TEST(PreviewState, ClicksSwitchBetweenThumbnailsAndPageWidth) {
    PreviewState state(6);
    state.setLayout(3, 1);
    state.clickThumbnail(3);
    EXPECT_EQ(state.current(), 3);
    EXPECT_EQ(state.zoom(), Zoom::PageWidth);
    state.clickZoomedPage();
    EXPECT_EQ(state.zoom(), Zoom::None);
    EXPECT_EQ(state.pagesText(), "Pages 3-5 of 6");
    state.jumpTo(5);
    state.clickThumbnail(3);  // beyond the last page: nothing happens
    EXPECT_EQ(state.current(), 5);
    EXPECT_EQ(state.zoom(), Zoom::None);

    // Changing across or down returns to the thumbnails.
    state.setZoom(Zoom::Percent200);
    state.setDown(2);
    EXPECT_EQ(state.zoom(), Zoom::None);
    EXPECT_EQ(state.thumbnailsShown(), 6);
}

TEST(PreviewState, OnePageReportHasNothingToPageThrough) {
    PreviewState state(1);
    EXPECT_TRUE(state.singlePage());
    EXPECT_FALSE(state.canNext());
    EXPECT_FALSE(state.canPrevious());
    EXPECT_FALSE(state.next());
    EXPECT_EQ(state.pagesText(), "Page 1 of 1");
}

TEST(PreviewState, NumberFieldsKeepTheirLimits) {
    EXPECT_EQ(framework::clampToRange(0, 1, 5), 1);
    EXPECT_EQ(framework::clampToRange(-3, 1, 5), 1);
    EXPECT_EQ(framework::clampToRange(99, 1, 5), 5);
    EXPECT_EQ(framework::clampToRange(3, 1, 5), 3);

    PreviewState state(4);
    state.jumpTo(40);
    EXPECT_EQ(state.current(), 4);
    state.jumpTo(0);
    EXPECT_EQ(state.current(), 1);
    state.setAcross(0);
    state.setDown(1000);
    EXPECT_EQ(state.across(), 1);
    EXPECT_EQ(state.down(), framework::kMaxDown);
}

TEST(PreviewState, ZoomPopupChecksTheCurrentChoice) {
    PreviewState state(3);
    EXPECT_EQ(state.zoomPopup(), "+No Zoom|-|-Page Width|-50%|-75%|-100%|-200%|-300%");
    state.setZoom(Zoom::Percent100);
    EXPECT_EQ(state.zoomPopup(), "-No Zoom|-|-Page Width|-50%|-75%|+100%|-200%|-300%");

    EXPECT_EQ(PreviewState::zoomOfPopupItem(1), Zoom::None);
    EXPECT_EQ(PreviewState::zoomOfPopupItem(2), Zoom::PageWidth);
    EXPECT_EQ(PreviewState::zoomOfPopupItem(7), Zoom::Percent300);
    EXPECT_FALSE(PreviewState::zoomOfPopupItem(0));
    EXPECT_FALSE(PreviewState::zoomOfPopupItem(8));
}

}  // namespace
