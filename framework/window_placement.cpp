#include "framework/window_placement.h"

#include "platform/ini_file.h"

#include <algorithm>
#include <climits>
#include <string>

namespace framework {
namespace {

int readNumber(std::string_view section, std::string_view key, std::string_view iniFile) {
    return iniNumber(platform::readIni(section, key, "", iniFile));
}

}  // namespace

int iniNumber(std::string_view value) {
    std::size_t i = 0;
    while (i < value.size() && (value[i] == ' ' || value[i] == '\t')) ++i;
    bool negative = false;
    if (i < value.size() && (value[i] == '-' || value[i] == '+')) {
        negative = value[i] == '-';
        ++i;
    }
    long long number = 0;
    for (; i < value.size() && value[i] >= '0' && value[i] <= '9'; ++i) {
        number = number * 10 + (value[i] - '0');
        if (number > INT_MAX) return 0;  // no window lies that far away
    }
    return static_cast<int>(negative ? -number : number);
}

WindowRect reachablePlacement(const WindowRect& saved, const WindowRect& minimum,
                              const WindowRect& area) {
    WindowRect rect = saved;
    rect.width = std::max(rect.width, minimum.width);
    rect.height = std::max(rect.height, minimum.height);
    if (area.width > 0 && area.height > 0) {
        // As much of the window as fits, and at least its top-left corner with the
        // title bar, stands inside the area.
        rect.x = std::max(area.x, std::min(rect.x, area.x + area.width - rect.width));
        rect.y = std::max(area.y, std::min(rect.y, area.y + area.height - rect.height));
    }
    return rect;
}

void restorePlacement(PlacementView& window, std::string_view iniFile, std::string_view section) {
    // A window that was never closed has no position: its design place stands,
    // and so does its design state.
    if (readNumber(section, kKeyXPosit, iniFile) == 0) return;

    if (!window.designedMaximized()) {
        const int x = readNumber(section, kKeyXPosit, iniFile);
        const int y = readNumber(section, kKeyYPosit, iniFile);
        if (x != 0 && y != 0) {
            if (window.resizable()) {
                const int width = readNumber(section, kKeyWidth, iniFile);
                const int height = readNumber(section, kKeyHeight, iniFile);
                if (width != 0 && height != 0)
                    window.setGeometry(reachablePlacement({x, y, width, height},
                                                          window.minimumSize(),
                                                          window.reachableArea()));
            } else {
                const WindowRect own = window.geometry();
                const WindowRect placed = reachablePlacement({x, y, own.width, own.height}, {},
                                                             window.reachableArea());
                window.setPosition(placed.x, placed.y);
            }
        }
    }

    // The normal size is in place first, so a window that reopens maximized
    // returns to it when the user restores it.
    window.setMaximized(platform::readIni(section, kKeyMaximize, "", iniFile) == "Yes");
}

bool savePlacement(PlacementView& window, std::string_view iniFile, std::string_view section) {
    const bool wasMaximized = window.maximized();
    window.setMaximized(false);
    if (window.minimized()) return false;

    const WindowRect rect = window.geometry();
    bool written = platform::writeIni(section, kKeyMaximize, wasMaximized ? "Yes" : "No", iniFile);
    written = platform::writeIni(section, kKeyXPosit, std::to_string(rect.x), iniFile) && written;
    written = platform::writeIni(section, kKeyYPosit, std::to_string(rect.y), iniFile) && written;
    written = platform::writeIni(section, kKeyWidth, std::to_string(rect.width), iniFile) && written;
    written = platform::writeIni(section, kKeyHeight, std::to_string(rect.height), iniFile) && written;
    return written;
}

}  // namespace framework
