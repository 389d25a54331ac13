// A list window of 20 rows that shows nothing, for benchmarks that drive the
// browse engine without a display: it keeps the highlighted row, the active tab
// and the posted new selection, which pump() delivers as the window would.
#pragma once

#include "framework/browse/browse_engine.h"
#include "framework/browse/browse_view.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace bench {

class QuietListView : public framework::browse::BrowseView {
public:
    static constexpr int kRows = 20;

    bool pending = false;
    int highlighted = 0;
    int tab = 1;

    void openWindow(const framework::browse::ListWindowSetup&) override {}
    void closeWindow() override {}
    int visibleRows() const override { return kRows; }
    void showRows(const std::vector<std::vector<std::string>>& rows) override {
        benchmark::DoNotOptimize(rows.data());
    }
    int chosenRow() const override { return highlighted; }
    void highlightRow(int row) override { highlighted = row; }
    void showButton(framework::browse::ListButton, bool) override {}
    void enableButton(framework::browse::ListButton, bool) override {}
    void showScrollBar(bool) override {}
    void setThumb(int) override {}
    void setWaitCursor(bool) override {}
    void focusList() override {}
    void postNewSelection() override { pending = true; }
    int activeTab() const override { return tab; }
    void prepareToolbar(const std::vector<framework::browse::ToolbarButtonState>&) override {}
    void beep() override {}

    // Delivers the posted new selections, as the window's event loop does.
    void pump(framework::browse::BrowseEngine& engine) {
        while (pending) {
            pending = false;
            engine.newSelection();
        }
    }
};

}  // namespace bench
