// Scrolling: by a row, by a page, to the first or last page, and the thumb.
#include "framework/browse/browse_engine.h"

#include "storage/data_file.h"

#include <algorithm>
#include <cfloat>
#include <climits>

namespace framework::browse {

void BrowseEngine::scroll(ScrollEvent event) {
    if (closed_ || page_.empty()) return;
    moveBy(event);
    if (closed_) return;
    showPage();
    view_.highlightRow(static_cast<int>(state_.currentRow));
    postNewSelection();
}

void BrowseEngine::moveBy(ScrollEvent event) {
    state_.currentEvent = event;
    switch (event) {
        case ScrollEvent::RowUp:
        case ScrollEvent::RowDown:
            scrollOne();
            break;
        case ScrollEvent::PageUp:
        case ScrollEvent::PageDown:
            scrollPage();
            break;
        case ScrollEvent::FirstPage:
        case ScrollEvent::LastPage:
            scrollEnd();
            break;
    }
}

// Within the page the highlight moves; at its edge one record is read, which
// shifts the page by one.
void BrowseEngine::scrollOne() {
    const auto size = static_cast<long>(page_.size());
    if (state_.currentEvent == ScrollEvent::RowUp && state_.currentRow > 1) {
        --state_.currentRow;
        return;
    }
    if (state_.currentEvent == ScrollEvent::RowDown && state_.currentRow < size) {
        ++state_.currentRow;
        return;
    }
    state_.itemsToFill = 1;
    state_.fillDirection = state_.currentEvent == ScrollEvent::RowUp ? FillDirection::Backward
                                                                     : FillDirection::Forward;
    fill();
}

// A page's worth of records; what could not be read moves the highlight instead.
void BrowseEngine::scrollPage() {
    const bool up = state_.currentEvent == ScrollEvent::PageUp;
    state_.itemsToFill = std::max(1, view_.visibleRows());
    state_.fillDirection = up ? FillDirection::Backward : FillDirection::Forward;
    if (!fill()) return;
    if (state_.itemsToFill > 0) {
        const auto size = static_cast<long>(page_.size());
        if (up)
            state_.currentRow = std::max(1L, state_.currentRow - state_.itemsToFill);
        else
            state_.currentRow = std::min(size, state_.currentRow + state_.itemsToFill);
    }
}

void BrowseEngine::scrollEnd() {
    const bool top = state_.currentEvent == ScrollEvent::FirstPage;
    page_.clear();
    pageDirty_ = true;
    if (!fileView_->isOpen()) reopenView();
    fileView_->setToStart();
    state_.itemsToFill = std::max(1, view_.visibleRows());
    state_.fillDirection = top ? FillDirection::Forward : FillDirection::Backward;
    if (!fill()) return;
    const auto size = static_cast<long>(page_.size());
    state_.currentRow = size == 0 ? 0 : (top ? 1 : size);
}

void BrowseEngine::thumbReleased(int position) {
    if (closed_ || page_.empty()) return;
    state_.thumbPosition = std::clamp(position, 0, KeyDistribution::kEntries);
    if (position <= 1) {
        scroll(ScrollEvent::FirstPage);
    } else if (position >= KeyDistribution::kEntries) {
        scroll(ScrollEvent::LastPage);
    } else {
        locateOnDistribution(position);
    }
}

// The distribution's value goes into the key field; the key's later fields take
// their lowest values, so the locate lands on the first record with that value.
void BrowseEngine::locateOnDistribution(int position) {
    const int field = activeSetup().distributionField;
    if (distribution_.empty() || field < 0) return;
    distribution_.putValue(position, file_.record(), static_cast<std::size_t>(field));
    const storage::Record value = lowestAfter(file_.record(), field);
    locate(LocateMode::OnValue, &value);
}

storage::Record BrowseEngine::lowestAfter(const storage::Record& value, int field) const {
    storage::Record copy = value;
    const storage::KeyDef* key = activeSetup().key;
    if (!key) return copy;
    bool after = false;
    for (std::size_t component : key->components) {
        if (after) {
            const storage::FieldDef& def = copy.layout().fields()[component];
            switch (def.type) {
                case storage::FieldType::Short: copy.setInt(component, SHRT_MIN); break;
                case storage::FieldType::Long: copy.setInt(component, INT_MIN); break;
                case storage::FieldType::Real: copy.setReal(component, -DBL_MAX); break;
                case storage::FieldType::Decimal:
                    copy.setDecimalCents(component, -storage::kDecimalMaxCents);
                    break;
                case storage::FieldType::String:
                case storage::FieldType::CString: copy.setText(component, ""); break;
                default: copy.setInt(component, 0); break;
            }
        }
        if (static_cast<int>(component) == field) after = true;
    }
    return copy;
}

}  // namespace framework::browse
