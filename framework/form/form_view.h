// The form window as the form engine sees it. The toolkit's form window realises
// it: built from the book's FormDefinition, it shows the file's record buffer,
// reads its entries back into it, and forwards the user's actions to the engine
// (FormEngine::okPressed, cancelPressed, closeRequested, toolbarPressed,
// dittoPressed, entryAccepted, controlPressed, redisplay, tabChanged). An entry
// the user accepts is stored into the record buffer before entryAccepted.
// Lists inside the form (FormDefinition::lists) are shown through listView(); the
// window forwards their list events to FormEngine::list(control).
#pragma once

#include <optional>
#include <string>

namespace framework::browse {
class BrowseView;
}

namespace framework::form {

class FormEngine;
struct FormDefinition;

struct FormWindowOpening {
    const FormDefinition* definition = nullptr;
    std::string iniFile;   // ".\TARVO.INI"
    std::string section;   // "Price_u"
    bool keepsPlacement = true;  // restore (and later save) the placement from the section
};

class FormView {
public:
    virtual ~FormView() = default;

    // --- Window --------------------------------------------------------------------
    // Opens the window (not yet on screen) with its design size as minimum size and
    // restores its placement when it keeps one.
    virtual void openWindow(const FormWindowOpening& opening) = 0;
    // Puts the window on screen, calls engine.windowOpened() once, and runs the
    // window's event loop until the engine closes the window.
    virtual void run(FormEngine& engine) = 0;
    // Closes the window, saving its placement first when asked.
    virtual void closeWindow(bool savePlacement) = 0;
    virtual void setCaption(const std::string& caption) = 0;
    // The background picture; nothing clears it. With a picture, prompts, strings,
    // check boxes and groups become transparent.
    virtual void setWallpaper(const std::optional<std::string>& picture) = 0;
    // Alerts the ditto key (key code 734 or 1608) on every entry and check box.
    virtual void alertDittoKey(int keyCode) = 0;
    virtual void setWaitCursor(bool on) = 0;

    // --- Record --------------------------------------------------------------------
    // Shows every field from the record buffer.
    virtual void showRecord() = 0;
    // Reads every entry back into the record buffer, checking each against its
    // picture in tab order; stops at the first entry the picture refuses and returns
    // its control number (the caller then rejects it). This final check is not an
    // acceptance: it does not call FormEngine::entryAccepted.
    virtual std::optional<int> readEntries() = 0;
    // A refused entry: beep, show the field again and select it.
    virtual void rejectEntry(int entry) = 0;

    // --- Controls ------------------------------------------------------------------
    virtual void setOkEnabled(bool enabled) = 0;
    virtual void setCancelEnabled(bool enabled) = 0;
    // Every control that is not a prompt: entries, check boxes, buttons, OK, cancel.
    virtual void setControlsEnabled(bool enabled) = 0;
    virtual void focusEntry(int entry) = 0;
    // The entry, or the embedded list, that has focus (its control number); 0 when
    // none has.
    virtual int focusedEntry() const = 0;
    // The focus frame that encloses the selected control.
    virtual void showFocusFrame() = 0;

    // --- The frame's toolbar ---------------------------------------------------------
    // An empty tip leaves the button's tip as it is.
    virtual void setToolbarButton(int button, bool enabled, const std::string& tip = {}) = 0;

    // --- Lists inside the form ---------------------------------------------------------
    // The view of the embedded list with this control number, once the window is
    // open; nullptr when the window shows no such list. Its openWindow and
    // closeWindow are never called, and the toolbar goes through setToolbarButton.
    virtual browse::BrowseView* listView(int control) {
        (void)control;
        return nullptr;
    }
};

}  // namespace framework::form
