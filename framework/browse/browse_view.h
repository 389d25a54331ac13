// What the browse engine needs from a list window. The toolkit's list window
// realises it; tests use a fake. Texts are code page 1251; rows are 1-based.
#pragma once

#include "framework/wallpaper.h"

#include <string>
#include <vector>

namespace framework::browse {

enum class ListButton { Insert, Change, Delete, Select };

struct ToolbarButtonState {
    int button = 0;       // 2000..2012
    bool enabled = false;
    std::string tooltip;  // empty: leave the tooltip as it is
};

// How the window opens: its placement section and wallpaper.
struct ListWindowSetup {
    std::string iniSection;
    WallpaperRole wallpaper = WallpaperRole::List;
    bool selectMode = false;
    std::string wallpaperSection;  // where the "WallPaper" key is read; empty = iniSection
};

class BrowseView {
public:
    virtual ~BrowseView() = default;

    // Opens the window, restores its placement and applies the wallpaper; closing
    // saves the placement. Lists inside forms never call either.
    virtual void openWindow(const ListWindowSetup& setup) = 0;
    virtual void closeWindow() = 0;

    // Rows the list box shows at its present size (at least 1).
    virtual int visibleRows() const = 0;
    // The page, one vector of formatted cells per row, top row first.
    virtual void showRows(const std::vector<std::vector<std::string>>& rows) = 0;
    // The row the user has chosen (1-based; 0 when the list is empty).
    virtual int chosenRow() const = 0;
    virtual void highlightRow(int row) = 0;

    virtual void showButton(ListButton button, bool visible) = 0;
    virtual void enableButton(ListButton button, bool enabled) = 0;

    virtual void showScrollBar(bool visible) = 0;
    virtual void setThumb(int position) = 0;  // 0..100

    virtual void setWaitCursor(bool on) = 0;
    virtual void focusList() = 0;
    // Queues a new-selection event; the window answers it by calling the engine's
    // newSelection() once the current event is done.
    virtual void postNewSelection() = 0;
    virtual int activeTab() const = 0;  // 1-based; 1 for a list without tabs
    virtual void prepareToolbar(const std::vector<ToolbarButtonState>& buttons) = 0;
    virtual void beep() = 0;
};

}  // namespace framework::browse
