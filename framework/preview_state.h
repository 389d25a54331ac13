// The print preview's paging: which pages it shows, in how many thumbnails or at
// which zoom, how next and previous move, what the status bar says, and the sizes
// of the thumbnail slots. Toolkit-free; the preview window draws what this says.
#pragma once

#include <optional>
#include <string>

namespace framework {

enum class Zoom { None, PageWidth, Percent50, Percent75, Percent100, Percent200, Percent300 };

inline constexpr int kPreviewMinimumWidth = 315;
inline constexpr int kPreviewStatusBarHeight = 18;  // reserved below the thumbnails
inline constexpr int kThumbnailGap = 3;
inline constexpr int kMaxAcross = 10;  // limits of the "Across" and "Down" fields
inline constexpr int kMaxDown = 10;

struct SlotSize {
    int width = 0;
    int height = 0;
};

struct SlotRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// A number typed into a field limited to low..high: too high gives the upper
// limit, too low the lower one.
int clampToRange(long long value, int low, int high);

class PreviewState {
public:
    explicit PreviewState(int totalPages);

    // The first page measured once: width, height (any unit) and ratio height / width.
    void setPageSize(double width, double height);
    double pageWidth() const { return pageWidth_; }
    double pageHeight() const { return pageHeight_; }
    double pageRatio() const { return pageRatio_; }

    int total() const { return total_; }
    int current() const { return current_; }
    int across() const { return across_; }
    int down() const { return down_; }
    Zoom zoom() const { return zoom_; }
    bool thumbnailView() const { return zoom_ == Zoom::None; }
    // across × down in thumbnail view, 0 in zoom view.
    int thumbnailsShown() const;
    // A report of one page: the page, across and down fields and the "&View" menu
    // are disabled.
    bool singlePage() const { return total_ <= 1; }

    // Page width mode: window width / page width; otherwise the percentage.
    double zoomFactor(double windowWidth) const;

    // Thumbnail slots in a window of the given client size: the space left after
    // the gaps, divided among across × down, then one side shrunk to the page ratio.
    SlotSize slotSize(int windowWidth, int windowHeight) const;
    // Slot k (1-based, row by row) starts at 1,1 and is spaced by its size plus 3.
    SlotRect slotRect(int k, SlotSize size) const;
    // The page that slot k shows, 0 when it lies beyond the last page (hidden).
    int slotPage(int k) const;
    int lastShown() const;

    // Status bar part 2 ("Page 5 of 5", "Pages 1-4 of 5") and part 3 ("No Zoom",
    // "Zoom (Page Width)", "Zoom (50%)", ...).
    std::string pagesText() const;
    std::string zoomText() const;
    // The page number field's help line.
    std::string pageHelp() const;

    bool canNext() const;
    bool canPrevious() const;
    bool next();      // true when the current page moved
    bool previous();

    void jumpTo(int page);  // the page-jump window's choice, kept within the pages
    // Across and down as typed in the preview or in the layout window; the value is
    // kept within its limits and the preview returns to thumbnail view.
    void setAcross(int across);
    void setDown(int down);
    void setLayout(int across, int down);
    void setZoom(Zoom zoom);

    // A click on thumbnail slot k shows that page at page width; a click on the
    // zoomed page returns to the thumbnails.
    void clickThumbnail(int k);
    void clickZoomedPage();

    // The zoom button's popup with the current choice checked.
    std::string zoomPopup() const;
    // The zoom of the popup's k-th item (1-based, separators not counted).
    static std::optional<Zoom> zoomOfPopupItem(int item);

private:
    int total_;
    int current_ = 1;
    int across_ = 1;
    int down_ = 1;
    Zoom zoom_ = Zoom::None;
    double pageWidth_ = 0;
    double pageHeight_ = 0;
    double pageRatio_ = 0;
};

}  // namespace framework
