// A list window that shows nothing: a list run from the command line (an export)
// opens its file, asks its rights and reads its rows through the engine as on
// screen, on its first tab.
#pragma once

#include "framework/browse/browse_view.h"

namespace framework::browse {

class HeadlessView final : public BrowseView {
public:
    void openWindow(const ListWindowSetup&) override {}
    void closeWindow() override {}
    int visibleRows() const override { return 20; }
    void showRows(const std::vector<std::vector<std::string>>&) override {}
    int chosenRow() const override { return highlighted_; }
    void highlightRow(int row) override { highlighted_ = row; }
    void showButton(ListButton, bool) override {}
    void enableButton(ListButton, bool) override {}
    void showScrollBar(bool) override {}
    void setThumb(int) override {}
    void setWaitCursor(bool) override {}
    void focusList() override {}
    void postNewSelection() override {}
    int activeTab() const override { return 1; }
    void prepareToolbar(const std::vector<ToolbarButtonState>&) override {}
    void beep() override {}

private:
    int highlighted_ = 0;
};

}  // namespace framework::browse
