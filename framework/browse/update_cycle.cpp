// The update cycle: a record handed to the book's update form, the form called
// again for save-and-add and save-and-move, and the page rebuilt afterwards.
#include "framework/browse/browse_engine.h"

#include "framework/shared_state.h"
#include "platform/user_services.h"
#include "storage/data_file.h"

namespace framework::browse {

bool BrowseEngine::refusedByRights(int request) {
    if (def_.accessObject.empty() || !def_.reaskRights) return false;
    const int rights = static_cast<std::uint16_t>(rightsOf(def_.accessObject));
    const int bit = request == kRequestInsert   ? kForbidInsert
                    : request == kRequestChange ? kForbidChange
                                                : kForbidDelete;
    if (!(rights & bit)) return false;
    const std::string& text = request == kRequestInsert   ? def_.refusals.insert
                              : request == kRequestChange ? def_.refusals.change
                                                          : def_.refusals.remove;
    const std::string& caption = request == kRequestChange && !def_.refusals.changeCaption.empty()
                                     ? def_.refusals.changeCaption
                                     : def_.refusals.caption;
    platform::messageBox(refusalText(text, def_.accessObject, bit), caption, platform::Icon::Information);
    if (request == kRequestChange) view_.focusList();
    return true;
}

void BrowseEngine::updateCycle(int request,
                               const std::function<void(storage::Record&)>* copyPrepare) {
    if (closed_) return;
    readHighlightedRecord();
    localRequest_ = request;
    if (request == kRequestInsert) {
        // The new record starts empty (a ranged list's child field aside), or as
        // a copy of the highlighted record.
        file_.clearCurrent();
        if (copyPrepare) {
            (*copyPrepare)(file_.record());
        } else {
            file_.record().clear();
            primeRange();
        }
    }
    if (!copyPrepare && refusedByRights(request)) {
        localRequest_ = callingRequest_;
        return;
    }

    fileView_->close();
    int response = kResponseCancelled;
    for (;;) {
        globalRequest() = localRequest_;
        globalResponse() = kResponseCancelled;
        vcrRequest() = 0;
        if (def_.updateForm) def_.updateForm();
        response = globalResponse();
        int vcr = vcrRequest();
        if (vcr == kToolInsert) {
            // Save and add another: a change turns into an insert.
            if (localRequest_ == kRequestChange) localRequest_ = kRequestInsert;
            vcr = kToolNextRecord;
        }
        if (vcr == kToolNextRecord && localRequest_ == kRequestInsert) {
            file_.clearCurrent();
            file_.record().clear();
            primeRange();
            continue;
        }
        if (vcr == 0 || !moveForNavigation(vcr)) {
            if (closed_) return;
            resetView();
            break;
        }
    }

    if (request == kRequestDelete) {
        if (response == kResponseCompleted && state_.currentRow >= 1 &&
            state_.currentRow <= static_cast<long>(page_.size())) {
            page_.remove(static_cast<std::size_t>(state_.currentRow));
            pageDirty_ = true;
        }
        state_.refreshMode = RefreshMode::OnQueue;
        rebuild();
    } else if (response == kResponseCompleted) {
        locate(LocateMode::OnEdit);
    } else {
        state_.refreshMode = RefreshMode::OnQueue;
        rebuild();
    }
    if (closed_) return;
    buildDistribution();
    postNewSelection();
    view_.focusList();
    localRequest_ = callingRequest_;
    refresh();
}

// Save-and-move: back to the edited record, one step in the button's direction,
// and the record there handed to the next form. False when the request is not a
// navigation or there is nothing to move to.
bool BrowseEngine::moveForNavigation(int vcr) {
    ScrollEvent event;
    switch (vcr) {
        case kToolNextRecord: event = ScrollEvent::RowDown; break;
        case kToolPriorRecord: event = ScrollEvent::RowUp; break;
        case kToolNextPage: event = ScrollEvent::PageDown; break;
        case kToolPriorPage: event = ScrollEvent::PageUp; break;
        case kToolLastPage: event = ScrollEvent::LastPage; break;
        case kToolFirstPage: event = ScrollEvent::FirstPage; break;
        default: return false;
    }
    resetView();
    locate(LocateMode::OnEdit);
    if (closed_) return false;
    refresh();
    if (closed_ || page_.empty()) return false;
    moveBy(event);
    if (closed_ || page_.empty()) return false;
    view_.highlightRow(static_cast<int>(state_.currentRow));
    selectRow(state_.currentRow);
    regetRow(state_.currentRow);
    fileView_->close();
    return true;
}

}  // namespace framework::browse
