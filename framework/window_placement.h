// Window placement: every list and form window remembers in its INI section where
// the user left it, how big it was and whether it was maximized. The section is
// named after the window's file with "_t" (list) or "_u" (form), e.g. "Price_t".
//
// Keys: "XPosit", "YPosit", "Width", "Height" (the normal-size window) and
// "Maximize" ("Yes" or "No"). The program writes them when a window closes and
// reads them right after it opens.
#pragma once

#include <string_view>

namespace framework {

// Position and size of a window or control, in the window system's units.
struct WindowRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    friend bool operator==(const WindowRect&, const WindowRect&) = default;
};

// What placement needs to know about, and do to, one window.
class PlacementView {
public:
    virtual ~PlacementView() = default;

    virtual bool designedMaximized() const = 0;  // the window's design opens it maximized
    virtual bool resizable() const = 0;          // the user may change its size
    virtual bool minimized() const = 0;
    virtual bool maximized() const = 0;

    // The window's position and size (of the normal-size window).
    virtual WindowRect geometry() const = 0;
    virtual void setPosition(int x, int y) = 0;            // keeps the size
    virtual void setGeometry(const WindowRect& rect) = 0;  // position and size
    // true maximizes; false returns the window to its normal size.
    virtual void setMaximized(bool maximized) = 0;

    // The least size the window's design needs (0 x 0: any size will do).
    virtual WindowRect minimumSize() const { return {}; }
    // The area in which the window can be reached, in the same coordinates as its
    // geometry; an empty rectangle when the window may stand anywhere.
    virtual WindowRect reachableArea() const { return {}; }
};

inline constexpr std::string_view kKeyXPosit = "XPosit";
inline constexpr std::string_view kKeyYPosit = "YPosit";
inline constexpr std::string_view kKeyWidth = "Width";
inline constexpr std::string_view kKeyHeight = "Height";
inline constexpr std::string_view kKeyMaximize = "Maximize";

// Called right after the window opens. A window whose section has no "XPosit"
// (or 0) stays where its design put it and keeps its design state. Otherwise a
// window not designed maximized moves to the saved position, and a resizable one
// also takes the saved size; a zero among the values needed leaves it unmoved.
// A size below the window's minimum grows to the minimum, and a window that
// would stand outside its reachable area is moved back inside it.
// Finally the window is maximized exactly when "Maximize" reads "Yes".
void restorePlacement(PlacementView& window, std::string_view iniFile, std::string_view section);

// Called just before the window closes. Notes whether it is maximized, returns it
// to its normal size and writes "Maximize", "XPosit", "YPosit", "Width" and
// "Height". A minimized window writes nothing, so the placement saved the time
// before stays. Returns false when nothing was written or a write failed.
bool savePlacement(PlacementView& window, std::string_view iniFile, std::string_view section);

// The saved rectangle made usable: at least the minimum size, and moved into the
// reachable area as far as it fits (its top-left corner stays inside in any case).
WindowRect reachablePlacement(const WindowRect& saved, const WindowRect& minimum,
                              const WindowRect& area);

// An INI value read as a number: optional blanks, an optional sign and the digits
// that follow; anything else (an empty or missing value, letters) counts as 0.
int iniNumber(std::string_view value);

}  // namespace framework
