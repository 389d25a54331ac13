// Completion: what OK (or a save-and-move button) does once the entries are
// accepted: write the new record, rewrite the changed one, or delete it, with the
// questions and messages of each failure.
#include "framework/file_access.h"
#include "framework/form/form_ditto.h"
#include "framework/form/form_engine.h"
#include "framework/form/form_view.h"
#include "framework/referential_rules.h"
#include "framework/standard_messages.h"
#include "platform/user_services.h"
#include "storage/data_file.h"
#include "storage/journaled_write.h"

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
        code = journaled([&] {
            int rc = f.reget(*placeholder_);
            record() = entered;
            if (rc == storage::error::kNone) rc = f.put();
            return rc;
        });
    } else {
        f.clearCurrent();
        code = journaled([&f] { return f.add(); });
    }
    if (code == storage::error::kNone) {
        if (definition_.hooks.completed) definition_.hooks.completed(*this);
        close(kResponseCompleted);
        return;
    }
    // The file's own error, or the journal's when the journal refused the write.
    const storage::ErrorState error =
        f.errorCode() == storage::error::kNone && definition_.journal.file ? journalError() : f.lastError();
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
        // Nothing to write. A save-and-move press without a change is no completion;
        // a completed one still makes its journal entry.
        view_.setWaitCursor(false);
        if (vcr_ == 0 && journaled([] { return 0; }) != storage::error::kNone) {
            standardMessage(14, {}, journalError());
            return stay();
        }
        close(vcr_ == 0 ? kResponseCompleted : kResponseCancelled);
        return;
    }
    for (;;) {
        int result = kUpdateDone;
        const int written = underWaitCursor([this, &result] {
            return journaled([this, &result] {
                result = updateRecord(file(), savedCopy_, definition_.detail);
                return result == kUpdateDone ? 0 : storage::error::kDriverError;
            });
        });
        if (written != storage::error::kNone && result == kUpdateDone) {
            // The record was written but its journal entry was not.
            standardMessage(14, {}, journalError());
            return stay();
        }
        if (result == kUpdateDone) return finishWritten();
        view_.showRecord();  // the other station's values, or a linking field put back
        if (result == kUpdateChangedElsewhere) return stay();
        if (!retryAfter(16)) return;
    }
}

void FormEngine::completeDelete() {
    for (;;) {
        if (underWaitCursor([this] { return journaled([this] { return deleteRecord(file()); }); }) == 0)
            return finishWritten();
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
        if (underWaitCursor([this] { return journaled([this] { return deleteRecord(file()); }); }) == 0)
            return finishWritten();
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

int FormEngine::journaled(const std::function<int()>& write) {
    const FormJournal& journal = definition_.journal;
    if (!journal.file) return write();
    const std::optional<storage::Record> entry = journal.entry(request_, savedCopy_);
    if (!entry) return write();
    std::vector<storage::Record> details;
    if (journal.details.file) details = journal.details.records(request_, savedCopy_, *entry);
    std::vector<storage::DataFile*> journals = {journal.file};
    if (!details.empty()) journals.push_back(journal.details.file);
    // A journal that cannot be opened refuses the write it would record.
    for (std::size_t i = 0; i < journals.size(); ++i) {
        if (tryUseFile(*journals[i])) continue;
        for (std::size_t j = 0; j < i; ++j) releaseFile(*journals[j]);
        return journals[i]->errorCode() ? journals[i]->errorCode() : storage::error::kDriverError;
    }
    std::vector<storage::JournalEntry> entries = {{journal.file, &*entry, journal.add}};
    for (const storage::Record& detail : details)
        entries.push_back({journal.details.file, &detail, journal.details.add});
    const int code = storage::writeWithJournals(file(), write, entries);
    for (storage::DataFile* used : journals) releaseFile(*used);
    return code;
}

storage::ErrorState FormEngine::journalError() const {
    const FormJournal& journal = definition_.journal;
    if (journal.details.file && journal.details.file->errorCode() != storage::error::kNone &&
        journal.file->errorCode() == storage::error::kNone)
        return journal.details.file->lastError();
    return journal.file->lastError();
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
