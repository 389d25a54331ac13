// The frame's toolbar while the list is the active window: prepared from the
// list's buttons, and its presses forwarded to the list.
#include "framework/browse/browse_engine.h"

#include "framework/shared_state.h"

namespace framework::browse {

void BrowseEngine::prepareToolbar() {
    auto enabled = [this](ListButton button, bool present) {
        return present && enabled_[static_cast<int>(button)];
    };
    std::vector<ToolbarButtonState> states{
        {kToolInsert, enabled(ListButton::Insert, def_.buttons.insert), "Insert a new Record"},
        {kToolChange, enabled(ListButton::Change, def_.buttons.change), {}},
        {kToolDelete, enabled(ListButton::Delete, def_.buttons.remove), {}},
        {kToolSelect, enabled(ListButton::Select, def_.buttons.select), {}},
        {kToolLastPage, true, "Go to the Last Page"},
        {kToolFirstPage, true, "Go to the First Page"},
        {kToolNextPage, true, "Go to the Next Page"},
        {kToolPriorPage, true, "Go to the Prior Page"},
        {kToolNextRecord, true, "Go to the Next Record"},
        {kToolPriorRecord, true, "Go to the Prior Record"},
        {kToolLocate, true, {}},
        {kToolDitto, false, {}},
    };
    view_.prepareToolbar(states);
    toolbarPrepared_ = true;
}

void BrowseEngine::toolbar(int button) {
    if (closed_) return;
    switch (button) {
        case kToolLastPage: scroll(ScrollEvent::LastPage); break;
        case kToolFirstPage: scroll(ScrollEvent::FirstPage); break;
        case kToolNextPage: scroll(ScrollEvent::PageDown); break;
        case kToolPriorPage: scroll(ScrollEvent::PageUp); break;
        case kToolNextRecord: scroll(ScrollEvent::RowDown); break;
        case kToolPriorRecord: scroll(ScrollEvent::RowUp); break;
        case kToolLocate: break;  // a locate request no list acts on
        case kToolHelp: helpButton(); break;
        case kToolInsert:
            if (def_.buttons.insert && enabled_[static_cast<int>(ListButton::Insert)])
                insertButton();
            break;
        case kToolChange:
            if (def_.buttons.change) changeButton();
            break;
        case kToolDelete:
            if (def_.buttons.remove) deleteButton();
            break;
        case kToolSelect:
            if (def_.buttons.select) selectButton();
            break;
        default: break;
    }
    if (!closed_) prepareToolbar();
}

}  // namespace framework::browse
