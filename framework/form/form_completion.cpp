// Completion: what OK (or a save-and-move button) does once the entries are
// accepted: write the new record, rewrite the changed one, or delete it, with the
// questions and messages of each failure.
#include "framework/form/form_ditto.h"
#include "framework/form/form_engine.h"
#include "framework/form/form_view.h"
#include "framework/referential_rules.h"
#include "framework/standard_messages.h"
#include "platform/user_services.h"
#include "storage/data_file.h"

namespace framework::form {

void FormEngine::startCompletion() {
    if (request_ == kRequestInsert || request_ == kRequestChange) {
        if (definition_.hooks.beforeFieldCheck) definition_.hooks.beforeFieldCheck(*this);
        if (const std::optional<int> rejected = view_.readEntries()) {
            vcr_ = 0;
            view_.rejectEntry(*rejected);
            return;
        }
        if (definition_.hooks.validate && !definition_.hooks.validate(*this)) {
            vcr_ = 0;
            return;
        }
    }
    complete();
}

void FormEngine::complete() {
    rememberDitto(file());
    switch (request_) {
        case kRequestInsert: completeInsert(); break;
        case kRequestChange: completeChange(); break;
        case kRequestDelete: completeDelete(); break;
        default: close(kResponseCompleted); break;
    }
}

void FormEngine::completeInsert() {
    storage::DataFile& f = file();
    int code;
    if (placeholder_) {
        // Rewrite the record reserved at opening with what the user entered.
        const storage::Record entered = record();
        code = f.reget(*placeholder_);
        record() = entered;
        if (code == storage::error::kNone) code = f.put();
    } else {
        f.clearCurrent();
        code = f.add();
    }
    if (code == storage::error::kNone) {
        if (definition_.hooks.completed) definition_.hooks.completed(*this);
        close(kResponseCompleted);
        return;
    }
    const storage::ErrorState error = f.lastError();
    if (error.code == storage::error::kDuplicateKey)
        reportDuplicate(error);
    else
        standardMessage(14, {}, error);
    stay();
}

// Names the first of the book's keys that the record duplicates.
void FormEngine::reportDuplicate(const storage::ErrorState& error) {
    for (const DuplicateKeyName& candidate : definition_.duplicateKeys) {
        const storage::KeyDef* key = file().layout().key(candidate.key);
        if (key && file().duplicates(*key)) {
            standardMessage(24, candidate.name);
            return;
        }
    }
    standardMessage(14, {}, error);
}

void FormEngine::completeChange() {
    view_.setWaitCursor(true);
    if (record() == savedCopy_) {
        // Nothing to write. A save-and-move press without a change is no completion.
        view_.setWaitCursor(false);
        close(vcr_ == 0 ? kResponseCompleted : kResponseCancelled);
        return;
    }
    for (;;) {
        const int result = underWaitCursor(
            [this] { return updateRecord(file(), savedCopy_, definition_.detail); });
        if (result == kUpdateDone) return finishWritten();
        view_.showRecord();  // the other station's values, or a linking field put back
        if (result == kUpdateChangedElsewhere) return stay();
        if (!retryAfter(16)) return;
    }
}

void FormEngine::completeDelete() {
    for (;;) {
        if (underWaitCursor([this] { return deleteRecord(file()); }) == 0) return finishWritten();
        if (!retryAfter(18)) return;
    }
}

// The variant of delete that some books use: confirm first, never show the window.
void FormEngine::deleteWithoutWindow() {
    if (standardMessage(32) != platform::kButtonOk) {
        close(kResponseCancelled);
        return;
    }
    rememberDitto(file());
    for (;;) {
        if (underWaitCursor([this] { return deleteRecord(file()); }) == 0) return finishWritten();
        if (standardMessage(18) != platform::kButtonYes) {
            close(kResponseCancelled);
            return;
        }
    }
}

int FormEngine::underWaitCursor(const std::function<int()>& write) {
    view_.setWaitCursor(true);
    const int result = write();
    view_.setWaitCursor(false);
    return result;
}

void FormEngine::finishWritten() {
    if (definition_.hooks.completed) definition_.hooks.completed(*this);
    close(kResponseCompleted);
}

bool FormEngine::retryAfter(int message) {
    const int answer = standardMessage(message);
    if (answer == platform::kButtonYes) return true;
    if (answer == platform::kButtonNo)
        close(kResponseCancelled);
    else
        stay();
    return false;
}

}  // namespace framework::form
