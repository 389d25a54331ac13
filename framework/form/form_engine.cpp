#include "framework/form/form_engine.h"

#include "framework/file_access.h"
#include "framework/form/form_ditto.h"
#include "framework/form/form_environment.h"
#include "framework/form/form_lists.h"
#include "framework/form/form_numbering.h"
#include "framework/form/form_view.h"
#include "framework/shared_state.h"
#include "framework/wallpaper.h"
#include "platform/cp1251.h"
#include "platform/user_services.h"
#include "storage/data_file.h"

namespace framework::form {

int FormDefinition::firstEntry() const {
    for (const FormField& field : fields)
        if (field.control != FieldControl::Display && field.control != FieldControl::Button &&
            field.control != FieldControl::Picture && field.control != FieldControl::Image)
            return field.entry;
    return 0;
}

const FormField* FormDefinition::fieldOfEntry(int entry) const {
    for (const FormField& field : fields)
        if (field.entry == entry) return &field;
    return nullptr;
}

FormEngine::FormEngine(const FormDefinition& definition, FormView& view)
    : definition_(definition), view_(view), savedCopy_(definition.file->record()) {}

FormEngine::~FormEngine() { abandon(); }

storage::Record& FormEngine::record() { return definition_.file->record(); }

bool FormEngine::open() {
    request_ = globalRequest();
    callingRequest_ = request_;
    globalRequest() = kRequestNone;
    globalResponse() = 0;
    response_ = kResponseCancelled;
    vcr_ = 0;

    // 1. The file, through its user count.
    useFile(file());
    fileInUse_ = true;
    if (request_ == kRequestInsert && definition_.hooks.prime) definition_.hooks.prime(*this);

    // 2. The saved copy.
    savedCopy_ = record();

    // The rights come before anything is written: before the number of a new
    // record is reserved and before a delete that shows no window.
    if (refusedByRights()) {
        close(kResponseCancelled);
        return false;
    }

    if (request_ == kRequestDelete && definition_.deletesWithoutWindow) {
        deleteWithoutWindow();
        return false;
    }

    // 3. A new record of a numbered book takes its number now.
    if (request_ == kRequestInsert && !definition_.numberedKey.empty()) {
        if (const storage::KeyDef* key = file().layout().key(definition_.numberedKey)) {
            placeholder_ = reserveNumber(file(), *key, savedCopy_, definition_.provisional,
                                         definition_.numberedAbove, definition_.numberedLimit);
            if (!placeholder_) {
                close(kResponseCancelled);
                return false;
            }
        }
    }

    // 4. The window, in its saved placement.
    const FormEnvironment environment = formEnvironment();
    view_.openWindow({&definition_, environment.iniFile, definition_.section,
                      definition_.keepsPlacement});
    windowOpen_ = true;

    // 5. A write ban leaves only Cancel.
    if (!okEnabled_) view_.setOkEnabled(false);

    // 6. Wallpaper; a delete form shown on its wallpaper can only be confirmed.
    if (definition_.showsWallpaper)
        view_.setWallpaper(chooseWallpaper(environment.wallpaper, environment.iniFile,
                                           definition_.section,
                                           formWallpaperRole(request_, definition_.secondWallpaper)));
    else
        view_.setWallpaper(std::nullopt);
    if (deleteFormIsReadOnly(environment.wallpaper, request_)) {
        view_.setControlsEnabled(false);
        view_.setOkEnabled(okEnabled_);  // a write ban still leaves only Cancel
    }

    // 7 to 9. Ditto key, caption, toolbar 2011 and the focus frame.
    view_.alertDittoKey(definition_.dittoKey);
    caption_ = captionText();
    view_.setCaption(caption_);
    toolbar_.set(view_, kToolDitto, true);
    view_.showFocusFrame();
    return true;
}

bool FormEngine::refusedByRights() {
    if (definition_.accessObject.empty()) return false;
    const int rights = rightsOf(definition_.accessObject);
    const RefusalTexts& texts = definition_.refusals;
    const std::string* refusal = nullptr;
    int bit = 0;
    if (rights & kForbidAccess)
        refusal = &texts.access, bit = kForbidAccess;
    else if (request_ == kRequestInsert && (rights & kForbidInsert))
        refusal = &texts.insert, bit = kForbidInsert;
    else if (request_ == kRequestChange && (rights & kForbidChange))
        refusal = &texts.change, bit = kForbidChange;
    else if (request_ == kRequestDelete && (rights & kForbidDelete))
        refusal = &texts.remove, bit = kForbidDelete;
    else if (request_ == kRequestDelete && definition_.deletesWithoutWindow && (rights & kForbidWrite))
        refusal = &texts.remove, bit = kForbidWrite;  // no window whose OK the write ban could disable
    if (refusal) {
        platform::messageBox(refusalText(*refusal, definition_.accessObject, bit), texts.caption,
                             platform::Icon::Information);
        return true;
    }
    if (rights & kForbidWrite) okEnabled_ = false;
    return false;
}

std::string FormEngine::captionText() const {
    const ActionTexts& actions = definition_.actions;
    auto named = [this](const std::string& action) {
        if (definition_.namingField.empty()) return action;
        const auto value = definition_.file->record().value(definition_.namingField);
        return action + "  (" + std::string(platform::clip(value.value_or(""))) + ")";
    };
    switch (request_) {
        case kRequestInsert: return actions.insert + kCaptionNew;
        case kRequestChange: return named(actions.change);
        case kRequestDelete: return named(actions.remove);
        default: return actions.change;
    }
}

void FormEngine::windowOpened() {
    if (closed_) return;
    shown_ = true;
    if (definition_.preparesToolbar) prepareToolbar(toolbar_, view_, request_);
    view_.showRecord();
    openLists();
    view_.focusEntry(definition_.firstEntry());
    if (definition_.hooks.opened) definition_.hooks.opened(*this);
    afterEvent();
}

void FormEngine::okPressed() {
    if (closed_ || !okEnabled_) return;
    vcr_ = 0;
    startCompletion();
    afterEvent();
}

void FormEngine::cancelPressed() {
    if (closed_) return;
    vcr_ = 0;
    closeRequested();
    afterEvent();
}

void FormEngine::toolbarPressed(int button) {
    if (closed_) return;
    pressToolbar(button);
    afterEvent();
}

void FormEngine::pressToolbar(int button) {
    if (definition_.hooks.toolbar && definition_.hooks.toolbar(*this, button)) return;
    if (toolbarToList(button)) return;
    if (button == kToolDitto) {
        if (toolbar_.enabled(kToolDitto)) dittoPressed();
        return;
    }
    // A form that leaves the toolbar alone answers only the previous-value button.
    if (!definition_.preparesToolbar) return;
    if (button == kToolHelp) {
        // The frame's help button stands for F1 in the form.
        if (!definition_.helpTopic.empty()) openHelp(definition_.helpTopic);
        return;
    }
    // The save-and-move buttons save as OK does; without OK nothing is saved.
    if (!isNavigationButton(button) || !toolbar_.enabled(button) || !okEnabled_) return;
    vcr_ = button;
    startCompletion();
}

void FormEngine::dittoPressed() {
    if (closed_) return;
    const FormField* field = definition_.fieldOfEntry(view_.focusedEntry());
    if (!field || field->field.empty() || field->control == FieldControl::Display ||
        field->control == FieldControl::Image)
        return;
    const int index = file().layout().fieldIndex(field->field);
    if (index < 0) return;
    if (recallDitto(file(), static_cast<std::size_t>(index))) view_.showRecord();
    afterEvent();
}

void FormEngine::entryAccepted(int entry) {
    if (closed_) return;
    if (definition_.hooks.accepted) {
        definition_.hooks.accepted(*this, entry);
        view_.showRecord();
    }
    afterEvent();
}

void FormEngine::controlPressed(int control) {
    if (closed_) return;
    if (definition_.hooks.control) definition_.hooks.control(*this, control);
    afterEvent();
}

void FormEngine::redisplay() {
    if (closed_ || !windowOpen_) return;
    view_.showRecord();
    refreshLists(true);
    afterEvent();
}

void FormEngine::abandon() {
    if (closed_ || !fileInUse_) return;
    vcr_ = 0;
    close(kResponseCancelled);
}

void FormEngine::stay() {
    vcr_ = 0;
    view_.focusEntry(definition_.firstEntry());
}

int runForm(const FormDefinition& definition, FormView& view) {
    FormEngine engine(definition, view);
    if (engine.open()) {
        view.run(engine);
        engine.abandon();  // a window that went away unasked closes cancelled
    }
    return engine.response();
}

}  // namespace framework::form
