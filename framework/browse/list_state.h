// The state of one browse list, all of it reset when the list procedure starts.
#pragma once

#include <cstdint>
#include <string>

namespace framework::browse {

enum class FillDirection : std::uint8_t { Backward = 1, Forward = 2 };

// List events of scrolling.
enum class ScrollEvent : int {
    RowUp = 3,
    RowDown = 4,
    PageUp = 5,
    PageDown = 6,
    FirstPage = 7,
    LastPage = 8,
};

// How the next page rebuild positions itself.
enum class RefreshMode : std::uint8_t {
    None = 0,
    OnPosition = 1,  // around the record at the view's position
    OnQueue = 2,     // keep the page and the highlighted record
    OnTop = 3,       // from the start of the key
    OnBottom = 4,    // from the end of the key, backwards
};

enum class LocateMode : std::uint8_t {
    None = 0,
    OnPosition = 1,  // treated as OnEdit
    OnValue = 2,     // the key value in the record buffer
    OnEdit = 3,      // the record just edited (its key position)
};

struct ListState {
    long currentRow = 0;  // 1-based highlighted row; 0 when the page is empty
    long itemsToFill = 0;
    FillDirection fillDirection = FillDirection::Forward;
    ScrollEvent currentEvent = ScrollEvent::RowDown;
    RefreshMode refreshMode = RefreshMode::None;
    LocateMode locateMode = LocateMode::None;
    int sortOrder = 0;
    int previousSortOrder = 0;
    bool rangeChanged = false;
    // When false a fill only moves the view. It starts true: the first fill of a
    // list adds its rows.
    bool addRows = true;
    bool newSelectionPosted = false;
    bool forceRefresh = false;
    bool restartPending = false;  // the next refresh starts from the top
    std::string highlightedPosition;
    int thumbPosition = 0;
    std::string popupText;
};

}  // namespace framework::browse
