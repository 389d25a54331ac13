// The declaration of one book's update form: the file it maintains, the access
// object it asks for, its texts, fields, keys and the few behaviours in which the
// forms differ, plus the hooks through which a book adds what is its own. The form
// engine (form_engine.h) runs every form from such a declaration.
#pragma once

#include "framework/browse/browse_definition.h"
#include "platform/cp1251.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace storage {
class DataFile;
class Record;
}

namespace framework::form {

class FormEngine;

// Key codes of the ditto key, alerted on every entry of a form.
inline constexpr int kDittoKeyCtrlQuote = 734;   // Ctrl+'
inline constexpr int kDittoKeyCtrlAltH = 1608;   // Ctrl+Alt+H

enum class FieldControl {
    Entry,    // a text entry read and shown through its picture
    Check,    // a check box: 1 when ticked, 0 when not
    Options,  // an option group storing the value of the chosen option
    Display,  // shown only, never read back (a run-time string)
    Button,   // a button of the book's own; its press goes to the `control` hook
    TextBox,  // a text entry of several lines (no picture beyond its length)
    Picture,  // an indicator picture ("check" or "cross" in `picture`), shown while `visible`
    DropList, // a drop-down list of `choices` (or else of `options`); the chosen row's value is stored
    Image,    // a picture area ("140x170" pixels in `picture`) drawing the file `shown`
              // names, scaled to fit; a missing or unreadable file leaves it empty
};

struct FormField {
    int entry = 0;          // control number of the entry (the book's numbering)
    std::string field;      // "PRI:ID"; empty for a display that is not a field
    std::string picture;    // "n2", "s24", "d5."; empty for check boxes and options
    std::string prompt;     // "Код цены:", or the check box's own text
    std::string tip;        // tool tip
    FieldControl control = FieldControl::Entry;
    std::vector<std::pair<std::string, std::string>> options;  // text, stored value (options, drop lists)
    std::string tab;        // the tab sheet page that holds it; empty without tabs
    int column = 0;         // 0 the page's left column, 1 its right column
    // A display that is no field of the record: the run-time text it shows.
    std::function<std::string()> shown;
    // A picture's visibility, asked whenever the record is shown; an entry it
    // hides leaves its prompt shown but disabled.
    std::function<bool()> visible;
    // A drop list's rows: the stored value and the text shown, asked when the
    // window is built.
    std::function<std::vector<std::pair<std::string, std::string>>()> choices;
    // The framed group (" Курсы ") that holds the consecutive fields naming it.
    std::string group;
    // Stands on the row of the field declared before it, to its right (a button
    // beside the entry it acts on).
    bool beside = false;
    // An entry whose text is never shown (a password): the window masks it.
    bool secret = false;
    // Whether the operator may edit the entry, asked when the window is built;
    // an entry that may not be edited is shown read-only. Unset: editable.
    std::function<bool()> editable;
};

// A unique key tested when an insert would duplicate a key, with the name the
// duplicate-key message gives it.
struct DuplicateKeyName {
    std::string key;   // "PRI:ID_KEY"
    std::string name;  // "Id"
};

// Refusals at opening: an OK box with the information icon.
struct RefusalTexts {
    std::string caption = platform::ru(" Извините");
    std::string access = platform::ru("Доступ запрещен ");
    std::string insert = platform::ru("Добавление запрещено ");
    std::string change = platform::ru("Изменение запрещено ");
    std::string remove = platform::ru("Удалениие запрещено ");
};

// Window captions by request; the engine appends "  (New)" or "  (<name>)".
struct ActionTexts {
    std::string insert;
    std::string change;
    std::string remove;
};

// An empty OK or cancel text leaves that button with its icon only.
struct ButtonTexts {
    std::string ok = platform::ru("Выход с записью");
    std::string okTip = platform::ru("Выход с записью изменений");
    std::string cancel = platform::ru("Отменить");
    std::string cancelTip;
    std::string help = platform::ru("Помощь");  // shown when the form has a help topic
    std::string helpTip;
};

// A list shown inside the form (the rates of a currency), run by the browse engine
// on a view that the form window supplies (FormView::listView). The form opens it
// with its window, rebuilds it whenever the window regains focus or is resized,
// refreshes it on a change of tab (a ranged list starts again when its parent
// value moved), and ends it when the form closes.
struct EmbeddedList {
    int control = 0;  // its control number: FormView::focusedEntry names it while it has focus
    std::string tab;  // the tab sheet page that holds it
    std::function<browse::BrowseDefinition()> definition;  // run as `embedded`
    // The frame's toolbar is the list's: prepared for it when the window opens and
    // after every event, and 2004 to 2010 and 2012 go to the list while it has focus.
    bool tiesToolbar = false;
    std::string group;  // the framed group that holds it (" Сотрудники "); empty = none
};

// What a book adds to the cycle. Every hook is optional.
struct FormHooks {
    // Insert only: fills the new record before the saved copy is taken and the
    // key is numbered.
    std::function<void(FormEngine&)> prime;
    // The window's open event, after the record is shown.
    std::function<void(FormEngine&)> opened;
    // OK for insert or change, before the entries are checked.
    std::function<void(FormEngine&)> beforeFieldCheck;
    // After the entries were read back; false keeps the form open (the hook tells
    // the user why).
    std::function<bool(FormEngine&)> validate;
    // After a successful write or delete, just before the form closes.
    std::function<void(FormEngine&)> completed;
    // The user accepted an entry (not during the final check of all entries).
    std::function<void(FormEngine&, int entry)> accepted;
    // A control of the book's own (a look-up button, a calculation button).
    std::function<void(FormEngine&, int control)> control;
    // A toolbar button; true when the book handled it (a form that ties the
    // toolbar to a list of its own).
    std::function<bool(FormEngine&, int button)> toolbar;
};

// A journal that every completed request writes to (the employees' change log):
// the form's write and its entry are one write (storage/journaled_write.h), also
// a completed change that altered nothing.
struct FormJournal {
    storage::DataFile* file = nullptr;  // nullptr: the form keeps no journal
    // The entry of a request (1 insert, 2 change, 3 delete), made from the form's
    // record just before it is written and the record as the form opened it;
    // none when the request leaves nothing to journal (the rights journal records
    // no change that altered nothing).
    std::function<std::optional<storage::Record>(int request, const storage::Record& before)> entry;
    // Adds an entry to the journal file: 0 or the error code.
    std::function<int(const storage::Record& entry)> add;

    // Records of a second journal that belong to the entry (the fields an
    // employee's request altered), written in the same write.
    struct Details {
        storage::DataFile* file = nullptr;  // nullptr: none
        std::function<std::vector<storage::Record>(int request, const storage::Record& before,
                                                   const storage::Record& entry)>
            records;
        std::function<int(const storage::Record& record)> add;
    } details;
};

struct FormDefinition {
    storage::DataFile* file = nullptr;
    FormJournal journal;
    std::string accessObject;  // DOSTOBJ designation ("Price"); empty asks nothing
    RefusalTexts refusals;

    ActionTexts actions;
    std::string namingField;  // its clipped value closes the caption of change and delete
    ButtonTexts buttons;
    std::vector<FormField> fields;  // in tab order
    std::vector<EmbeddedList> lists;

    // Automatic numbering: the key whose last component the engine numbers
    // (within the leading components); empty when the user types the key.
    std::string numberedKey;
    // Values that only the record reserved by numbering holds until the form is
    // saved: a unique key besides the numbered one (a currency's designation) then
    // differs between the records that several stations hold reserved at once,
    // and a record left behind by a station that died is recognisable. The form
    // itself shows and saves the operator's values.
    std::function<void(storage::Record& reserved)> provisional;
    // The highest number still in use outside the file (an employee code that
    // change-log entries keep after the employee was deleted): numbering goes
    // above it as well, so such a number is never given to another record.
    // Nothing when it could not be read (it reported why): the form then numbers
    // nothing and closes.
    std::function<std::optional<std::int64_t>()> numberedAbove;
    // The highest number the form can show (999 for a three-digit code); 0: the
    // field's own range. Numbering never goes beyond it.
    std::int64_t numberedLimit = 0;
    // The unique keys tested, in order, when an insert would duplicate a key.
    std::vector<DuplicateKeyName> duplicateKeys;

    int dittoKey = kDittoKeyCtrlQuote;
    bool asksBeforeCancel = false;     // message 23 when the record was changed
    bool preparesToolbar = true;       // the save-and-move toolbar
    bool deletesWithoutWindow = false; // delete asks message 32 and shows no window
    bool keepsPlacement = true;        // false: the section serves the wallpaper only
    bool detail = true;                // passed to the update rule
    bool secondWallpaper = false;      // defaults to G:Form2 instead of G:Form1
    bool showsWallpaper = true;        // false: never a background picture

    std::string section;    // INI section, "Price_u"
    std::string helpTopic;  // "Sprav\Store.htm"; empty for none

    FormHooks hooks;

    // The first field of the tab order (0 when the form has none).
    int firstEntry() const;
    // The field of an entry control, or nullptr.
    const FormField* fieldOfEntry(int entry) const;
};

}  // namespace framework::form
