#include "framework/form/form_toolbar.h"

#include "framework/form/form_view.h"

namespace framework::form {

bool isNavigationButton(int button) {
    return button == kToolInsert || (button >= kToolLastPage && button <= kToolPriorRecord);
}

void FormToolbar::set(FormView& view, int button, bool enabled, const std::string& tip) {
    if (button < kToolInsert || button > kToolHelp) return;
    enabled_[static_cast<std::size_t>(button - kToolInsert)] = enabled;
    view.setToolbarButton(button, enabled, tip);
}

bool FormToolbar::enabled(int button) const {
    if (button < kToolInsert || button > kToolHelp) return false;
    return enabled_[static_cast<std::size_t>(button - kToolInsert)];
}

void prepareToolbar(FormToolbar& toolbar, FormView& view, int request) {
    for (int button = kToolInsert; button <= kToolHelp; ++button) toolbar.set(view, button, false);
    toolbar.set(view, kToolDitto, true);
    switch (request) {
        case kRequestInsert:
            toolbar.set(view, kToolNextRecord, true, kTipSaveAndAddAnother);
            toolbar.set(view, kToolInsert, true, kTipSaveAndAddAnother);
            break;
        case kRequestChange:
            toolbar.set(view, kToolLastPage, true, kTipSaveAndLast);
            toolbar.set(view, kToolFirstPage, true, kTipSaveAndFirst);
            toolbar.set(view, kToolNextPage, true, kTipSavePageDown);
            toolbar.set(view, kToolPriorPage, true, kTipSavePageUp);
            toolbar.set(view, kToolNextRecord, true, kTipSaveAndNext);
            toolbar.set(view, kToolPriorRecord, true, kTipSaveAndPrevious);
            toolbar.set(view, kToolInsert, true, kTipSaveAndNew);
            break;
        default:
            break;
    }
}

}  // namespace framework::form
