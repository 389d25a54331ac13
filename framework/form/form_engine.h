// The update form engine: the cycle that every book's form runs to show one record
// of its file for insert, change or delete, write or delete it, and report the
// outcome to the calling list.
//
// The list leaves the record in the file's record buffer and the request in
// GlobalRequest; the form edits the buffer in place and leaves GlobalResponse (1
// completed, 2 cancelled) and VCRRequest (the save-and-move toolbar button that
// closed it, or 0). runForm() is the whole procedure; the engine is the state
// machine behind it, driven by the window through the methods below.
#pragma once

#include <functional>

#include "framework/form/form_definition.h"
#include "framework/form/form_toolbar.h"
#include "storage/errors.h"
#include "storage/record.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace storage {
class DataFile;
}

namespace framework::browse {
class BrowseEngine;
}

namespace framework::form {

class FormView;

// The caption suffixes.
inline constexpr const char* kCaptionNew = "  (New)";

class FormEngine {
public:
    FormEngine(const FormDefinition& definition, FormView& view);
    ~FormEngine();
    FormEngine(const FormEngine&) = delete;
    FormEngine& operator=(const FormEngine&) = delete;

    // Opening: takes the request, the file and the saved copy, numbers a new
    // record, opens the window, checks the rights, sets wallpaper, ditto key and
    // caption. False when the form ended already (refused, numbering failed, or a
    // delete carried out without the window); the response is then final.
    bool open();
    // The window's open event: toolbar, first display, focus on the first field.
    void windowOpened();

    // --- The user's actions -------------------------------------------------------
    void okPressed();
    void cancelPressed();
    // The close box, or a close posted by the window.
    void closeRequested();
    void toolbarPressed(int button);
    // The ditto key in an entry: recalls the previous value of the focused field.
    void dittoPressed();
    // The user accepted an entry.
    void entryAccepted(int entry);
    // A control of the book's own.
    void controlPressed(int control);
    // Focus regained or size changed: show the record again (and rebuild the lists
    // inside the form).
    void redisplay();
    // Another tab page was chosen: the lists inside the form refresh (a ranged one
    // starts again when its parent value moved).
    void tabChanged();
    // The window went away without a close request: closes cancelled, asking nothing.
    void abandon();

    // --- State for the window and the book's hooks --------------------------------------
    const FormDefinition& definition() const { return definition_; }
    FormView& view() { return view_; }
    storage::DataFile& file() { return *definition_.file; }
    storage::Record& record();
    const storage::Record& savedCopy() const { return savedCopy_; }
    int request() const { return request_; }
    int callingRequest() const { return callingRequest_; }
    int response() const { return response_; }
    int navigation() const { return vcr_; }
    bool closed() const { return closed_; }
    bool windowIsOpen() const { return windowOpen_; }
    bool okEnabled() const { return okEnabled_; }
    bool numberedInsert() const { return placeholder_.has_value(); }
    const std::string& caption() const { return caption_; }
    const FormToolbar& toolbar() const { return toolbar_; }
    // The list inside the form with this control number while the window is open
    // (the window forwards the list's own events to it); nullptr otherwise.
    browse::BrowseEngine* list(int control);

    // Puts focus on the first field and clears the navigation request: the form
    // stays open after a failed write.
    void stay();

private:
    void pressToolbar(int button);

    // Opening steps.
    bool refusedByRights();
    void applyWallpaper();
    std::string captionText() const;

    // Completion (form_completion.cpp).
    void startCompletion();
    void complete();
    void completeInsert();
    void completeChange();
    void completeDelete();
    // A write or delete under the wait cursor; its result.
    int underWaitCursor(const std::function<int()>& write);
    // The write and the form's journal entry as one write; the write alone for a
    // form without a journal. 0 on success.
    int journaled(const std::function<int()>& write);
    // The error of the journal (or of its details file) that refused a write.
    storage::ErrorState journalError() const;
    // The book's completion hook, then response 1 and close.
    void finishWritten();
    // The question after a failed write (message 16 or 18): true to try again; No
    // closes with response 2, Cancel keeps the form open.
    bool retryAfter(int message);
    void reportDuplicate(const storage::ErrorState& error);
    void deleteWithoutWindow();

    // Lists inside the form (form_lists.cpp).
    struct RunningList;
    void openLists();
    void refreshLists(bool force);
    void finishLists();
    bool toolbarToList(int button);
    // After every event of the window: a form whose toolbar belongs to its list
    // prepares it for the list again.
    void afterEvent();

    // Closing (form_closing.cpp).
    bool confirmCancel();
    void close(int response);
    void dropPlaceholder();

    const FormDefinition& definition_;
    FormView& view_;
    storage::Record savedCopy_;
    std::int32_t request_ = 0;
    std::int32_t callingRequest_ = 0;
    int response_ = 2;
    int vcr_ = 0;
    bool fileInUse_ = false;
    bool windowOpen_ = false;
    bool shown_ = false;  // the window's open event came
    bool closed_ = false;
    bool okEnabled_ = true;
    std::optional<std::string> placeholder_;  // position of the numbered record
    std::string caption_;
    FormToolbar toolbar_;
    std::vector<std::unique_ptr<RunningList>> lists_;
};

// The form procedure: opens the form, runs its window until it closes, and returns
// the response (also left in GlobalResponse).
int runForm(const FormDefinition& definition, FormView& view);

}  // namespace framework::form
