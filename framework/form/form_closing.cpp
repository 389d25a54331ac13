// Closing a form: the question before a cancel (in the books that ask it), the
// removal of a numbered record that was never completed, and the release of what
// the form took when it opened.
#include "framework/file_access.h"
#include "framework/form/form_engine.h"
#include "framework/form/form_view.h"
#include "framework/shared_state.h"
#include "framework/standard_messages.h"
#include "platform/user_services.h"
#include "storage/data_file.h"

namespace framework::form {

void FormEngine::closeRequested() {
    if (closed_) return;
    if (!confirmCancel()) {
        view_.focusEntry(definition_.firstEntry());
        return;
    }
    close(kResponseCancelled);
}

// Message 23 when an insert or change would lose the user's changes.
bool FormEngine::confirmCancel() {
    if (!definition_.asksBeforeCancel) return true;
    if (request_ != kRequestInsert && request_ != kRequestChange) return true;
    if (record() == savedCopy_) return true;
    return standardMessage(23) == platform::kButtonYes;
}

void FormEngine::close(int response) {
    if (closed_) return;
    response_ = response;
    if (response_ != kResponseCompleted) dropPlaceholder();
    finishLists();
    if (fileInUse_) {
        releaseFile(file());
        fileInUse_ = false;
    }
    if (windowOpen_) {
        // A window refused before it was ever on screen has no placement to keep.
        view_.closeWindow(definition_.keepsPlacement && shown_);
        windowOpen_ = false;
    }
    closed_ = true;
    globalResponse() = response_;
    vcrRequest() = vcr_;
}

// Deletes the record that numbering added for an insert that was not completed.
// The buffer keeps what the user saw.
void FormEngine::dropPlaceholder() {
    if (!placeholder_) return;
    const storage::Record shown = record();
    if (file().reget(*placeholder_) == storage::error::kNone) file().remove();
    record() = shown;
    placeholder_.reset();
}

}  // namespace framework::form
