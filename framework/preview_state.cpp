#include "framework/preview_state.h"

#include <algorithm>
#include <array>

namespace framework {

namespace {

struct ZoomInfo {
    Zoom zoom;
    double factor;
    const char* status;
    const char* popup;
};

constexpr std::array<ZoomInfo, 7> kZooms = {{
    {Zoom::None, 0.0, "No Zoom", "No Zoom"},
    {Zoom::PageWidth, 0.0, "Zoom (Page Width)", "Page Width"},
    {Zoom::Percent50, 0.5, "Zoom (50%)", "50%"},
    {Zoom::Percent75, 0.75, "Zoom (75%)", "75%"},
    {Zoom::Percent100, 1.0, "Zoom (100%)", "100%"},
    {Zoom::Percent200, 2.0, "Zoom (200%)", "200%"},
    {Zoom::Percent300, 3.0, "Zoom (300%)", "300%"},
}};

const ZoomInfo& info(Zoom zoom) {
    for (const ZoomInfo& z : kZooms)
        if (z.zoom == zoom) return z;
    return kZooms[0];
}

}  // namespace

int clampToRange(long long value, int low, int high) {
    if (value > high) return high;
    if (value < low) return low;
    return static_cast<int>(value);
}

PreviewState::PreviewState(int totalPages) : total_(std::max(totalPages, 0)) {}

void PreviewState::setPageSize(double width, double height) {
    pageWidth_ = width;
    pageHeight_ = height;
    pageRatio_ = width > 0 ? height / width : 0;
}

int PreviewState::thumbnailsShown() const { return thumbnailView() ? across_ * down_ : 0; }

double PreviewState::zoomFactor(double windowWidth) const {
    if (zoom_ == Zoom::PageWidth) return pageWidth_ > 0 ? windowWidth / pageWidth_ : 1.0;
    return info(zoom_).factor;
}

SlotSize PreviewState::slotSize(int windowWidth, int windowHeight) const {
    SlotSize size;
    size.width = (windowWidth - (kThumbnailGap * across_ - 1)) / across_;
    size.height =
        (windowHeight - kPreviewStatusBarHeight - (kThumbnailGap * down_ - 1)) / down_;
    if (size.width > 0 && size.height > 0 && pageRatio_ > 0) {
        const double slotRatio = static_cast<double>(size.height) / size.width;
        if (pageRatio_ > slotRatio)
            size.width = static_cast<int>(size.height / pageRatio_);
        else
            size.height = static_cast<int>(size.width * pageRatio_);
    }
    size.width = std::max(size.width, 0);
    size.height = std::max(size.height, 0);
    return size;
}

SlotRect PreviewState::slotRect(int k, SlotSize size) const {
    const int index = k - 1;
    const int column = index % across_;
    const int row = index / across_;
    return {1 + column * (size.width + kThumbnailGap), 1 + row * (size.height + kThumbnailGap),
            size.width, size.height};
}

int PreviewState::slotPage(int k) const {
    const int page = current_ + k - 1;
    return page <= total_ ? page : 0;
}

int PreviewState::lastShown() const {
    const int shown = std::max(thumbnailsShown(), 1);
    return std::min(current_ + shown - 1, total_);
}

std::string PreviewState::pagesText() const {
    const std::string of = " of " + std::to_string(total_);
    if (thumbnailsShown() <= 1 || current_ >= total_)
        return "Page " + std::to_string(current_) + of;
    return "Pages " + std::to_string(current_) + "-" + std::to_string(lastShown()) + of;
}

std::string PreviewState::zoomText() const { return info(zoom_).status; }

std::string PreviewState::pageHelp() const {
    return "Enter a page number from 1 to " + std::to_string(total_);
}

bool PreviewState::canNext() const {
    if (singlePage()) return false;
    return current_ + std::max(thumbnailsShown(), 1) <= total_;
}

bool PreviewState::canPrevious() const {
    if (singlePage()) return false;
    return current_ > 1;
}

bool PreviewState::next() {
    const int step = std::max(thumbnailsShown(), 1);
    if (current_ + step > total_) return false;
    current_ += step;
    return true;
}

bool PreviewState::previous() {
    if (current_ <= 1) return false;
    current_ = std::max(current_ - std::max(thumbnailsShown(), 1), 1);
    return true;
}

void PreviewState::jumpTo(int page) { current_ = clampToRange(page, 1, std::max(total_, 1)); }

void PreviewState::setAcross(int across) {
    across_ = clampToRange(across, 1, kMaxAcross);
    zoom_ = Zoom::None;
}

void PreviewState::setDown(int down) {
    down_ = clampToRange(down, 1, kMaxDown);
    zoom_ = Zoom::None;
}

void PreviewState::setLayout(int across, int down) {
    setAcross(across);
    setDown(down);
}

void PreviewState::setZoom(Zoom zoom) { zoom_ = zoom; }

void PreviewState::clickThumbnail(int k) {
    const int page = slotPage(k);
    if (page == 0) return;
    current_ = page;
    zoom_ = Zoom::PageWidth;
}

void PreviewState::clickZoomedPage() { zoom_ = Zoom::None; }

std::string PreviewState::zoomPopup() const {
    std::string popup;
    for (const ZoomInfo& z : kZooms) {
        if (!popup.empty()) popup += "|";
        popup += (z.zoom == zoom_ ? "+" : "-");
        popup += z.popup;
        if (z.zoom == Zoom::None) popup += "|-";
    }
    return popup;
}

std::optional<Zoom> PreviewState::zoomOfPopupItem(int item) {
    if (item < 1 || item > static_cast<int>(kZooms.size())) return std::nullopt;
    return kZooms[static_cast<std::size_t>(item - 1)].zoom;
}

}  // namespace framework
