// Lists inside a form: the window's list view as the browse engine sees it inside
// the form, and what the form keeps of each running list.
#pragma once

#include "framework/browse/browse_engine.h"
#include "framework/browse/browse_view.h"
#include "framework/form/form_engine.h"
#include "framework/form/form_toolbar.h"

#include <memory>

namespace framework::form {

// The window's list view as the browse engine sees it inside a form: everything
// goes to the window's view, except the toolbar, which is the form's: a list that
// ties the toolbar sets it through the form, any other list leaves it alone.
class ListInForm : public browse::BrowseView {
public:
    ListInForm(browse::BrowseView& list, FormView& form, FormToolbar& toolbar, bool tiesToolbar)
        : list_(list), form_(form), toolbar_(toolbar), tiesToolbar_(tiesToolbar) {}

    void openWindow(const browse::ListWindowSetup&) override {}
    void closeWindow() override {}
    int visibleRows() const override { return list_.visibleRows(); }
    void showRows(const std::vector<std::vector<std::string>>& rows) override { list_.showRows(rows); }
    int chosenRow() const override { return list_.chosenRow(); }
    void highlightRow(int row) override { list_.highlightRow(row); }
    void showButton(browse::ListButton button, bool visible) override {
        list_.showButton(button, visible);
    }
    void enableButton(browse::ListButton button, bool enabled) override {
        list_.enableButton(button, enabled);
    }
    void showScrollBar(bool visible) override { list_.showScrollBar(visible); }
    void setThumb(int position) override { list_.setThumb(position); }
    void setWaitCursor(bool on) override { list_.setWaitCursor(on); }
    void focusList() override { list_.focusList(); }
    void postNewSelection() override { list_.postNewSelection(); }
    int activeTab() const override { return list_.activeTab(); }
    void prepareToolbar(const std::vector<browse::ToolbarButtonState>& buttons) override {
        if (!tiesToolbar_) return;
        for (const browse::ToolbarButtonState& state : buttons)
            toolbar_.set(form_, state.button, state.enabled, state.tooltip);
    }
    void beep() override { list_.beep(); }

private:
    browse::BrowseView& list_;
    FormView& form_;
    FormToolbar& toolbar_;
    bool tiesToolbar_;
};

struct FormEngine::RunningList {
    int control = 0;
    bool tiesToolbar = false;
    std::unique_ptr<ListInForm> view;
    std::unique_ptr<browse::BrowseEngine> engine;
};

}  // namespace framework::form
