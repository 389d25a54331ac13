// The browse engine: one list that pages through a data file in the order of the
// active sort's key, keeping exactly the rows the list box shows.
//
// A list window creates the engine with the book's definition and itself as the
// view, calls open() and, when its open event arrives, windowOpened(); then it
// forwards its events (scrolling, keys, buttons, focus, size, tab changes, the
// frame's toolbar) until the engine closes it. Records go to the book's update
// form through GlobalRequest, GlobalResponse and VCRRequest; rights come from
// rightsOf(); messages and the popup menu go through the platform's services.
//
// The engine never loads the file: every read is a keyset page read from the
// position of a row it holds, and the page is rebuilt around a record after every
// change. See docs/framework.md, "Browse engine".
#pragma once

#include "framework/browse/browse_definition.h"
#include "framework/browse/browse_view.h"
#include "framework/browse/file_view.h"
#include "framework/browse/key_distribution.h"
#include "framework/browse/list_state.h"
#include "framework/browse/page_queue.h"
#include "platform/expression.h"

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace framework::browse {

enum class ListKey { Insert, Delete, CtrlEnter, DoubleClick };

class BrowseEngine {
public:
    BrowseEngine(BrowseDefinition definition, BrowseView& view);
    ~BrowseEngine();
    BrowseEngine(const BrowseEngine&) = delete;
    BrowseEngine& operator=(const BrowseEngine&) = delete;

    // --- The procedure ---------------------------------------------------------
    // Opening: takes the request globals (a window list), takes the file into use,
    // opens the window and asks the rights. False when the list ended at once
    // (access refused; GlobalResponse is 2).
    bool open();
    // The window's open event: toolbar, the first page, focus on the list.
    void windowOpened();
    bool isClosed() const { return closed_; }
    bool selectMode() const { return callingRequest_ == 4; }
    // A list inside a form ends with its form: releases the file, touches no window.
    void finish();

    // --- Window events -----------------------------------------------------------
    void gainFocus();   // force refresh: rebuilds around the highlighted record
    void resized();     // the same
    void tabChanged();  // another sort order
    void rejected();    // a rejected entry: beep
    // While the window validates all its controls at once, refreshes do nothing.
    void setAcceptingAll(bool on) { acceptingAll_ = on; }

    // --- List events -------------------------------------------------------------
    void scroll(ScrollEvent event);
    void thumbReleased(int position);  // 0..100
    void newSelection();               // the posted new-selection event
    void rightClick();                 // opens the popup menu through a new selection
    void key(ListKey key);
    void character(char typed);  // a printable key: the first-character locator

    // --- Buttons -----------------------------------------------------------------
    void insertButton();
    // Inserts a new record that starts as a copy of the highlighted one: `prepare`
    // clears what must not be copied (the code the form numbers anew), then the
    // form runs with the insert request. The list asks no rights for it (the
    // form's insert check applies). Does nothing while the list is empty.
    void copyButton(const std::function<void(storage::Record&)>& prepare);
    void changeButton();
    void deleteButton();
    void selectButton();
    void closeButton();  // also the window's close box
    void helpButton();
    // A button of the book's own: runs its action (definition().extraButtons).
    void extraButton(std::size_t index);
    // The frame's toolbar (2000..2012) while this list's window is the active one.
    void toolbar(int button);

    // --- For books and hosts -----------------------------------------------------
    void refresh();
    void forceRefresh();  // as on regaining focus
    // Fills the list again from the top of the active order (a filter's bound
    // local changed).
    void restart();
    // Reads the highlighted record again by its position and rebuilds its row
    // alone (its looked-up fields through rowRead); the page and the highlight
    // stay where they are. Nothing happens while the page is empty.
    void rereadHighlightedRow();
    // Re-reads the highlighted record into the buffer with change detection armed
    // (before handing it to anything else: a report, another list).
    void readHighlightedRecord();
    // Locates on the key value in the record buffer (a typed search text) and
    // shows the page from the first record at or after it.
    void locateOnValue();
    // A field of the highlighted row as the page holds it ("MOL:OTD_ID"); empty
    // while the page is empty.
    std::string highlighted(const std::string& field) const;
    // Prepares the frame's toolbar for this list (done by the list itself when its
    // window opens and after each toolbar press; a form that ties the toolbar to
    // a list of its own repeats it after every event).
    void prepareToolbar();

    // --- Inspection --------------------------------------------------------------
    const BrowseDefinition& definition() const { return def_; }
    const ListState& state() const { return state_; }
    const PageQueue& page() const { return page_; }
    const KeyDistribution& distribution() const { return distribution_; }
    // The range value of the active sort (empty without a range).
    std::string rangeValue() const;
    // The list's bound names (range values), for hooks that evaluate expressions.
    const platform::NameResolver& names() const { return names_; }
    // The formatted cells of the page, as shown.
    std::vector<std::vector<std::string>> cells() const;
    // Reads every row of the list as it shows them (the active order, range and
    // filter) from the start, through a view of its own: the page and the file's
    // buffer stay as they are; the look-ups of each row (rowRead) fill the other
    // files' buffers as for the page, so a forced refresh should follow. `visit`
    // returns false to stop. 0, or the file's error code.
    int forEachRow(const std::function<bool(const storage::Record& row)>& visit);

private:
    struct SortSetup {
        const storage::KeyDef* key = nullptr;
        int locatorField = -1;
        int distributionField = -1;  // the key's first field not fixed by the range
        int rangeField = -1;
        std::string rangeValue;
    };

    // Opening and closing (browse_engine.cpp).
    void applyButtons();
    void closeList();

    // The view (view_reset.cpp).
    void resetView();
    void reopenView();
    void showViewError(int code);
    void primeRange();
    const SortDefinition& activeSort() const;
    SortSetup& activeSetup();
    const SortSetup& activeSetup() const;

    // Reading (page_fill.cpp, page_rebuild.cpp, locate.cpp).
    bool fill();
    void rebuild();
    void locate(LocateMode mode, const storage::Record* value = nullptr);
    void setChangeDelete(bool enabled);

    // Scrolling (scrolling.cpp).
    void scrollOne();
    void scrollPage();
    void scrollEnd();
    void moveBy(ScrollEvent event);
    void locateOnDistribution(int position);
    storage::Record lowestAfter(const storage::Record& value, int field) const;

    // Refresh and selection (refresh.cpp).
    void postNewSelection();
    void takeChoice();
    void selectRow(long row);
    void updateScrollBar();
    void buildDistribution();
    void regetRow(long row);

    // Keys and the popup menu (list_keys.cpp).
    void locator(char typed);
    void popup();

    // The update cycle (update_cycle.cpp).
    void updateCycle(int request, const std::function<void(storage::Record&)>* copyPrepare = nullptr);
    bool refusedByRights(int request);
    bool moveForNavigation(int vcr);


    // Display (page_display.cpp).
    void setupQueue();
    void showPage();
    // The fields the list reads of each record (row_fields.cpp); empty = whole records.
    storage::FieldSet rowFieldSet() const;

    BrowseDefinition def_;
    BrowseView& view_;
    storage::DataFile& file_;
    ListState state_;
    PageQueue page_;
    KeyDistribution distribution_;
    std::vector<SortSetup> sorts_;

    platform::NameBindings bindings_;
    platform::ResolverChain names_;
    std::unique_ptr<FileView> fileView_;
    ViewSettings viewSettings_;
    storage::FieldSet rowFields_;
    bool viewErrorShown_ = false;

    int callingRequest_ = 0;
    int localRequest_ = 0;
    int response_ = 0;
    bool fileInUse_ = false;
    bool windowOpen_ = false;
    bool closed_ = false;
    bool acceptingAll_ = false;
    bool rightClickPending_ = false;
    bool pageDirty_ = true;
    bool toolbarPrepared_ = false;
    int rights_ = 0;
    // Enabled states of insert, change, delete, select (ListButton order); the
    // window's buttons start enabled, as designed, until the first page is built.
    std::array<bool, 4> enabled_{true, true, true, false};
};

}  // namespace framework::browse
