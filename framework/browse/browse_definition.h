// The declaration of one browse list: the file it pages through, its sort orders
// (each with its key, tab caption, first-character locator and range), its
// columns, the access object it asks about, its texts and the hooks a book needs.
// A book fills one of these and hands it to the browse engine; everything else
// about a list is the engine's.
#pragma once

#include "platform/cp1251.h"
#include "platform/expression.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace storage {
class DataFile;
class Record;
}  // namespace storage

namespace framework::browse {

class BrowseEngine;

// Where a cell's text or a header sits within its column, with an indent in the
// window's dialog units.
struct CellAlignment {
    enum class Side { Left, Centre, Right };
    Side side = Side::Left;
    int indent = 0;
};

struct ColumnDefinition {
    std::string field;    // "PRI:NAME"
    std::string header;   // code page 1251 ("Название")
    int width = 0;        // dialog units
    std::string picture;  // display picture ("@s24", "n-9.2b")
    CellAlignment data;
    CellAlignment head;
    // A field of another file whose record buffer the book's rowRead hook fills
    // for every row read (a looked-up name); nullptr = the list's own file.
    storage::DataFile* file = nullptr;
    // A flag column: this text when the field is not zero, blanks otherwise ("X").
    std::string flagMark;
};

// A list limited to the children of one parent record.
struct RangeDefinition {
    // The parent's key value now, as text (VAL:OBOZN of the Valut buffer).
    std::function<std::string()> parentValue;
    std::string childField;  // "KUR:VALUT": receives the range value before the key is set
    std::string name;        // the bound range value: "BRW1::Sort1:Reset:Val:Obozn"
    std::string filter;      // "UPPER(Kur:Valut) = UPPER(BRW1::Sort1:Reset:Val:Obozn)"
};

struct SortDefinition {
    std::string key;           // "VAL:OBOZN_KEY"
    std::string tabCaption;    // code page 1251; empty in a list with one sort
    std::string locatorField;  // first-character locator on this field; empty = none
    std::optional<RangeDefinition> range;
    std::string filter;  // a view filter of its own (without a range); empty = none
};

// The refusals of the rights check (message boxes with the information icon).
struct RefusalTexts {
    std::string caption = platform::ru(" Извините");
    std::string access = platform::ru("Доступ запрещен !");
    std::string insert = platform::ru("Добавленение запрещено");
    std::string change = platform::ru("Изменение запрещено");
    std::string remove = platform::ru("Удаление запрещено");
    std::string changeCaption;  // the change refusal's own caption; empty = `caption`
    // Taking the list into a spreadsheet is printing: the print ban refuses it.
    std::string print = platform::ru("Печать запрещена");
};

// The right-click menu. Items 1, 2, 3 press insert, change, delete; with
// `fourthSelects` item 4 presses the select button. An empty text: no menu.
struct PopupMenuTexts {
    std::string withRows;
    std::string withoutRows;
    bool fourthSelects = false;

    static PopupMenuTexts none() { return {}; }
    // "&Добавить|&Изменить|&Удалить", change and delete greyed while the page is empty.
    static PopupMenuTexts standard() {
        return {platform::ru("&Добавить|&Изменить|&Удалить"),
                platform::ru("&Добавить|~&Изменить|~&Удалить"), false};
    }
};

enum class ListWallpaper { Tabl1, Tabl2 };

// The buttons the list window has (its button map); a list embedded in a form
// may have none.
struct ListButtons {
    bool insert = true;
    bool change = true;
    bool remove = true;
    bool select = false;
};

// A button's caption and tool tip (code page 1251); an empty caption leaves the
// button with its icon only, an empty tip gives it none.
struct ButtonLabel {
    std::string text;
    std::string tip;
};

// The captions of the list's own buttons.
struct ListButtonLabels {
    ButtonLabel insert{platform::ru("Добавить")};
    ButtonLabel change{platform::ru("Изменить")};
    ButtonLabel remove{platform::ru("Удалить")};
    ButtonLabel select{platform::ru("Выбрать")};
    ButtonLabel close{platform::ru("Выход")};
    ButtonLabel help{platform::ru("Помощь")};
};

// A button of the book's own ("Печатать", "История курса"): the window shows it
// beside the list's buttons and calls BrowseEngine::extraButton with its index.
// The action decides what follows (a refresh, a re-read of the highlighted record).
struct ExtraButton {
    ButtonLabel label;
    std::function<void(BrowseEngine& list)> action;
    std::string icon;  // the book's picture for it ("Copy_rec.ico", "Print.ico"); empty = an arrow
    bool leading = false;  // stands before the list's own buttons instead of after them
};

// An entry above the list that edits a list local ("Обозначение таблицы" for
// loc:Tabl). The window shows `get()`; when the operator changes the text it
// calls `set` and forces a refresh, so a range on that local starts again.
// With `choices` the entry is a row of option buttons instead: choosing one calls
// `set` with its text, restarts the list from its top (BrowseEngine::restart)
// and moves the focus to the list.
struct ListEntry {
    std::string prompt;  // code page 1251
    int characters = 20;  // the longest text it takes
    std::function<std::string()> get;
    std::function<void(const std::string&)> set;
    std::vector<std::string> choices;  // code page 1251; empty = a text entry
};

// A control of the book's own above the list (a search entry, a check box with
// its name beside it, a button, a drop list), shown on every tab or on one tab
// only. The window shows `get()` for every control after each of its events;
// a completed entry, a ticked box, a pressed button or a chosen drop-list row
// calls `set` with the new text ("1"/"0" for a box, the row's value for a drop
// list, empty for a button). What follows (a refresh, a locate) is the hook's.
struct ListControl {
    enum class Kind { Entry, Check, Display, Button, DropList };
    Kind kind = Kind::Entry;
    ButtonLabel label;    // prompt, box or button text; tool tip
    int characters = 20;  // entry and display width, and the longest text an entry takes
    int tab = 0;          // 1-based tab that shows it; 0 = every tab
    std::function<std::string()> get;
    std::function<void(BrowseEngine& list, const std::string& text)> set;
    // A drop list's rows: stored value and shown text, asked when the window opens.
    std::function<std::vector<std::pair<std::string, std::string>>()> choices;
    // A slot left empty in a book's numbered controls: nothing to show or set.
    bool unused() const { return !get && !set && label.text.empty() && label.tip.empty(); }
};

struct BrowseDefinition {
    storage::DataFile& file;
    int listNumber = 1;  // BRW1 in a list window; BRW2, BRW9 for lists inside forms
    std::vector<SortDefinition> sorts;
    std::vector<ColumnDefinition> columns;
    // Fields copied into the page rows besides the columns (and the keys' fields).
    std::vector<std::string> carriedFields;
    // The fields of the list's own file that its hooks (rowRead, rowAccepted) read
    // from each row. A list reads only the fields it needs of its records: its own
    // columns, the carried fields, the sorts' keys, locators and ranges, the names
    // its filters read, and these; every other field is blank in its rows (the
    // whole record is read by position when a form or a book needs it). A list with
    // a row hook that declares nothing here reads whole records.
    std::optional<std::vector<std::string>> rowFields;
    // Names the hooks read now beyond rowFields (a saved filter's expression while
    // it is on), asked before each page is read; names of other files are ignored.
    std::function<std::vector<std::string>()> rowFieldsNow;

    std::string accessObject;  // DOSTOBJ designation; empty = the list asks nothing
    bool reaskRights = true;   // ask again before insert, change and delete
    RefusalTexts refusals;
    PopupMenuTexts popup;

    std::string title;       // window caption, code page 1251 (" Цены")
    std::string iniSection;  // "Price_t"
    // The section of its "WallPaper" key when it is not iniSection ("HistList_t").
    std::string wallpaperSection;
    std::string helpTopic;   // "Sprav\Price.htm"
    ListWallpaper wallpaper = ListWallpaper::Tabl1;
    ListButtons buttons;
    ListButtonLabels labels;
    std::vector<ExtraButton> extraButtons;
    // A line shown above the list (the parent a ranged list belongs to); empty = none.
    std::string heading;
    std::optional<ListEntry> entry;  // an editable local above the list
    std::vector<ListControl> controls;  // the book's own controls above the list
    // A list inside a form: it shares the form's window, does not take the request
    // globals, and neither opens nor closes a window of its own.
    bool embedded = false;

    // The book's update form; reads GlobalRequest, leaves GlobalResponse and VCRRequest.
    std::function<void()> updateForm;

    // Hooks.
    std::function<void(const storage::Record& row)> rowRead;  // each record read for the page
    std::function<void()> afterRefresh;                       // after every refresh
    // A row the view's filter let through; false passes over it as the filter
    // would (a saved filter evaluated by the book).
    std::function<bool(const storage::Record& row)> rowAccepted;
    // A forced refresh (the window regained focus, a book control asked for one)
    // is about to rebuild the page: what the book keeps from earlier reads (names
    // looked up per row) is to be read afresh.
    std::function<void()> forcedRefresh;
    // Another tab was chosen, before the list refreshes on it.
    std::function<void(BrowseEngine& list)> tabChanging;
    // A printable key typed in the list; true when the book took it (the
    // first-character locator then does nothing).
    std::function<bool(BrowseEngine& list, char typed)> typed;
    // The list shows personal data (the staff): its export says that the file
    // holds them in clear.
    bool personalData = false;
    // Further bound names for the filters (procedure locals, shared globals).
    const platform::NameResolver* names = nullptr;

    std::string prefix() const { return "BRW" + std::to_string(listNumber) + "::"; }
};

}  // namespace framework::browse
