// Report layouts, declared in C++: the page, its margins and font, and the bands
// that the report engine prints: a page header and footer on every page, group
// headers and footers around the records that share a group value, and one detail
// band per record. Bands hold items: fixed texts, fields shown through a display
// picture, the page number through a pattern picture, check boxes, pictures from
// files (a logo), lines and frames.
//
// Positions and sizes are millimetres. A band's items are placed relative to the
// band's top-left corner, which lies on the page's left margin. Texts are code
// page 1251. Values are read through functions (usually over a record buffer) at
// the moment the band prints.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace framework::report {

struct Box {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;
};

enum class Align { Auto, Left, Center, Right };  // Auto: numbers right, text left

struct Font {
    std::string family = "Arial Cyr";  // the layouts' font, mapped to an installed one
    double points = 10;
    bool bold = false;
    bool italic = false;
    bool underline = false;
};

using Value = std::variant<std::int64_t, double, std::string>;
using ValueGetter = std::function<Value()>;

struct Item {
    enum class Kind { Text, Field, PageNumber, CheckBox, Image, Line, Frame };

    Kind kind = Kind::Text;
    Box box;
    std::string text;     // Text: the text; CheckBox: the text beside the box
    std::string picture;  // Field, PageNumber
    ValueGetter value;    // Field
    std::function<bool()> checked;           // CheckBox
    std::function<std::string()> imageFile;  // Image: system path, read when the report opens
    std::optional<Font> font;                // the band's or the layout's otherwise
    Align align = Align::Auto;
    double lineWidth = 0.25;  // Line, Frame, the check box's square

    Item& withFont(const Font& f) {
        font = f;
        return *this;
    }
};

Item text(Box box, std::string cp1251, Align align = Align::Left);
Item field(Box box, std::string picture, ValueGetter value, Align align = Align::Auto);
// "pСтраница <#p": the page number through a pattern picture.
Item pageNumber(Box box, std::string picture, Align align = Align::Left);
Item checkBox(Box box, std::function<bool()> checked, std::string cp1251 = {});
// A picture from a file, scaled into the box keeping its proportions; an empty
// name or a file that cannot be read shows nothing.
Item image(Box box, std::function<std::string()> file);
Item line(Box box);  // from (x, y) to (x + width, y + height)
Item frame(Box box);

struct Band {
    double height = 0;
    std::vector<Item> items;
    std::optional<Font> font;

    bool empty() const { return height <= 0; }
};

// Records with the same key value form a group; a change of the value ends the
// group (its footer) and starts the next one (its header). Outer groups first.
struct Group {
    ValueGetter key;
    Band header;
    Band footer;
    // The header is printed again at the top of a page that the group continues
    // on (a department's heading over the rest of its staff).
    bool repeatHeader = false;
};

struct Layout {
    std::string name;
    double pageWidth = 210;   // A4 portrait
    double pageHeight = 297;
    double marginLeft = 15;
    double marginTop = 10;
    double marginRight = 10;
    double marginBottom = 10;
    Font font;
    Band pageHeader;
    Band pageFooter;
    Band detail;
    std::vector<Group> groups;
};

// The text an item shows: its fixed text, the field's value in its picture, or the
// page number in its pattern (code page 1251). Empty for the other kinds.
std::string itemText(const Item& item, int page);
// How the item's text lines up in its box.
Align effectiveAlign(const Item& item);

}  // namespace framework::report
